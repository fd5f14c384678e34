// What the check library (a DLL that links the backend) and the check program that loads it agree
// on: one export that makes a window of the library's own class, and what the library saw.
#pragma once

#include <cstdint>

#include "platform/win32/internal.h"

struct LibraryReport {
  void* createContext;   // the context the library's procedure received with kWmCreate
  void* destroyContext;  // ... and with kWmDestroy
  bool ownIcon;          // an icon that only the library carries was found
  bool programPicture;   // the program's splash picture was found (it must not be: not the library's)
};

// Registers the library's class and makes a window of it whose context is `report`.
using MakeLibraryWindowProc = HWND (*)(LibraryReport* report);
inline constexpr char kMakeLibraryWindow[] = "MakeLibraryWindow";

inline constexpr wchar_t kLibraryFile[] = L"tarvin-platform-check-library.dll";
inline constexpr char16_t kLibraryClass[] = u"TarvinCheckLibrary";
constexpr int kLibraryIconId = 2401;
constexpr int kProgramPictureId = 1034;
// Answered by the library's procedure with wParam * lParam.
constexpr uint32_t kLibraryMessage = 0x8002;
