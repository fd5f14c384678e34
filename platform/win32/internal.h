// Pieces the Win32 backend's files share. This folder is the only place that sees <windows.h>.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <climits>

#include "platform/platform.h"

namespace win32 {

using plat::WChar;

// Our UTF-16 units and wchar_t are the same 16-bit code units on Windows.
static_assert(sizeof(wchar_t) == sizeof(WChar), "wchar_t must be a UTF-16 unit");

inline const wchar_t* W(const WChar* s) { return reinterpret_cast<const wchar_t*>(s); }
inline wchar_t* W(WChar* s) { return reinterpret_cast<wchar_t*>(s); }

inline HWND Hwnd(plat::Window w) { return reinterpret_cast<HWND>(w); }
inline plat::Window ToWindow(HWND h) { return reinterpret_cast<plat::Window>(h); }

// Win32 counts buffers in int; ours may be larger than it can say.
inline int IntCapacity(size_t capacity) { return capacity > INT_MAX ? INT_MAX : static_cast<int>(capacity); }
inline DWORD DwordCapacity(size_t capacity) { return capacity > MAXDWORD ? MAXDWORD : static_cast<DWORD>(capacity); }

// Copies a Win32 string into a terminated buffer of `capacity` units; false when it was cut.
bool CopyOut(WChar* buffer, size_t capacity, const wchar_t* source);

// Text in a given code page, as AnsiToWide and WideToAnsi convert it in the system's one; every
// code page Windows converts works, including those that refuse the best-fit flag.
bool CodePageToWide(UINT codePage, const char* source, WChar* buffer, size_t capacity);
bool WideToCodePage(UINT codePage, const WChar* source, char* buffer, size_t capacity);

// A system library by name, from the system folder only: a library of that name dropped beside
// the program must not run inside it. nullptr when the system lacks it.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The module the backend is linked into, the program's or a library's: its resources and window
// classes belong to it. The module's entry point records it.
HINSTANCE Instance();
void SetInstance(HINSTANCE instance);

}  // namespace win32
