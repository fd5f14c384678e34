// The line reader shared by layout files and the configuration file: one call yields the next
// keyword line of a zero-terminated ANSI text.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

using plat::WChar;

// Files are read once into one buffer of this size; the last two bytes stay zero.
constexpr size_t kTextBufferBytes = 66560;
constexpr size_t kMaxTextBytes = 66558;
// A longer line is read as several lines with the same number.
constexpr size_t kMaxLineBytes = 250;
constexpr size_t kKeywordLength = 62;
constexpr size_t kValueLength = 256;

// Blanks are the bytes or units 0x01..0x20.
constexpr bool IsBlank(uint32_t c) { return c >= 0x01 && c <= 0x20; }

// Turns a zero-terminated byte string of the ANSI code page into wide text: false, when the result
// and its terminator do not fit `capacity`. Host tools bring their own code page.
struct AnsiDecoder {
  bool (*decode)(void* context, const char* bytes, WChar* out, size_t capacity);
  void* context;
};

// The running device's ANSI code page.
bool DeviceAnsiToWide(void* context, const char* bytes, WChar* out, size_t capacity);
inline constexpr AnsiDecoder kDeviceAnsi{&DeviceAnsiToWide, nullptr};

// Reads the next line that holds a keyword. The keyword comes back lower-cased, the value with its
// case and without surrounding blanks. Comments (from ';' on) and blank lines are skipped, and
// `lineNumber` counts every LF passed. False at the end of the text.
bool ReadLayoutLine(const char*& position, int& lineNumber, WChar (&keyword)[kKeywordLength],
                    WChar (&value)[kValueLength], const AnsiDecoder& decoder = kDeviceAnsi);
