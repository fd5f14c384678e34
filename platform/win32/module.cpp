// The module the backend lives in, which resources and window classes belong to, and the system
// libraries looked up by name.
#include "platform/win32/internal.h"

// The linker's name for the start of the module this code is linked into, program or library.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace win32 {

namespace {
HINSTANCE gInstance = nullptr;
}  // namespace

// Before the entry point has run (static initialisation) the module is the one holding this code;
// asking for the process's module would name the program from inside a library.
HINSTANCE Instance() { return gInstance != nullptr ? gInstance : reinterpret_cast<HINSTANCE>(&__ImageBase); }

void SetInstance(HINSTANCE instance) { gInstance = instance; }

HMODULE LoadSystemLibrary(const wchar_t* name) { return ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32); }

}  // namespace win32
