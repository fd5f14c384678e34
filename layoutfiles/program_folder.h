// Where the programs, the layouts and the configuration file live: the running program's folder.
#pragma once

#include <cstddef>

#include "platform/platform.h"

using plat::WChar;

// Longest device path with its terminator.
constexpr size_t kMaxPathLength = 260;

// The folder of the running program with its trailing backslash ("\Program Files\Tarvin\"). False,
// with an empty buffer, when the program path has no folder or does not fit.
bool GetProgramFolder(WChar* buffer, size_t capacity);

template <size_t N>
bool GetProgramFolder(WChar (&buffer)[N]) {
  static_assert(N >= kMaxPathLength, "a program folder needs a full path buffer");
  return GetProgramFolder(buffer, N);
}

// The program folder followed by `fileName`; false, with an empty buffer, when it does not fit.
bool ProgramFolderPath(const WChar* fileName, WChar* buffer, size_t capacity);
