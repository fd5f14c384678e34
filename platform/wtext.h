// Bounded UTF-16 string helpers shared by every program and backend. Every writer takes the
// capacity of its buffer in units (terminator included), never writes past it, always terminates,
// and reports truncation by returning false.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace wtext {

using plat::WChar;

size_t Length(const WChar* s);
// Copies src; false (with the cut copy kept) when it does not fit.
bool Copy(WChar* dst, size_t capacity, const WChar* src);
// Copies at most maxUnits units of src.
bool CopyN(WChar* dst, size_t capacity, const WChar* src, size_t maxUnits);
bool Append(WChar* dst, size_t capacity, const WChar* src);
bool Equal(const WChar* a, const WChar* b);
bool StartsWith(const WChar* s, const WChar* prefix);
// Lower-cases in place: ASCII, Latin-1 and the basic Cyrillic letters.
void Lower(WChar* s);
WChar LowerUnit(WChar c);
bool EqualNoCase(const WChar* a, const WChar* b);

// printf-style formatting into a bounded buffer. Supports %s (const WChar*), %c (a unit passed as
// int), %d and %u (int / unsigned), %X and %x with an optional zero-padded width (%04X), and %%.
// False when the result was cut.
bool Format(WChar* dst, size_t capacity, const WChar* format, ...);
bool FormatV(WChar* dst, size_t capacity, const WChar* format, va_list args);

}  // namespace wtext
