// The entry point of a library that links the backend: the library's own module, not the
// program's, owns the resources and window classes the library asks for.
#include "platform/win32/internal.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) win32::SetInstance(instance);
  return TRUE;
}
