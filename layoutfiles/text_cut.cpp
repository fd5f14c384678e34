#include "layoutfiles/text_cut.h"

namespace {

bool IsHighSurrogate(WChar c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(WChar c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

size_t WholeCharacterLength(const WChar* text, size_t maxUnits) {
  size_t n = 0;
  while (n < maxUnits && text[n] != 0) ++n;
  // Cutting between the halves of a pair would leave a lone high surrogate at the end.
  if (n > 0 && text[n] != 0 && IsHighSurrogate(text[n - 1]) && IsLowSurrogate(text[n])) --n;
  return n;
}

bool CopyWholeCharacters(WChar* destination, size_t capacity, const WChar* source) {
  if (capacity == 0) return false;
  size_t n = WholeCharacterLength(source, capacity - 1);
  for (size_t i = 0; i < n; ++i) destination[i] = source[i];
  destination[n] = 0;
  return source[n] == 0;
}
