// The command line a desktop program is started with. Unlike the device, the desktop hands a
// program its own name as the first word of its command line, so the path goes first, in quotes.
// Kept free of <windows.h> so that the host can test it.
#pragma once

#include <cstddef>

#include "platform/platform.h"

namespace win32 {

// Writes "\"path\" params", or "\"path\"" when params is nullptr or empty. False (and an empty
// buffer) when the path is empty or holds a quote, or when the line and its terminator do not fit.
bool BuildCommandLine(const plat::WChar* path, const plat::WChar* params, plat::WChar* buffer, size_t capacity);

}  // namespace win32
