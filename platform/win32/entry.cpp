// The program's module: the Windows entry point, the module handle that resources and window
// classes belong to, and the system libraries looked up by name.
#include "platform/win32/internal.h"

namespace win32 {

namespace {
HINSTANCE gInstance = nullptr;
}  // namespace

// Before wWinMain has run (static initialisation) the module is asked for directly.
HINSTANCE Instance() { return gInstance != nullptr ? gInstance : ::GetModuleHandleW(nullptr); }

void SetInstance(HINSTANCE instance) { gInstance = instance; }

HMODULE LoadSystemLibrary(const wchar_t* name) {
  return ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace win32

// The device programs take no arguments.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  win32::SetInstance(instance);
  return plat::ProgramMain();
}
