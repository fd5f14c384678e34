// Reports of user activity over Win32: the idle timer and the named activity events.
#include "platform/win32/internal.h"

namespace plat {

// The desktop's idle-timer reset: without ES_CONTINUOUS the call counts as one burst of activity,
// which keeps the display on and the machine from sleeping for another idle period.
void ResetIdleTimer() { ::SetThreadExecutionState(ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED); }

// Only an event that some other program created is set; we never create one, which would leave a
// signalled event behind that nobody waits on.
bool SetNamedEvent(const WChar* name) {
  if (name == nullptr) return false;
  HANDLE event = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, win32::W(name));
  if (event == nullptr) return false;
  const bool set = ::SetEvent(event) != 0;
  ::CloseHandle(event);
  return set;
}

}  // namespace plat
