#include "layoutfiles/layout_error.h"

#include <cstring>

#include "platform/wtext.h"

void ClearLayoutError(LayoutError& error) { std::memset(&error, 0, sizeof error); }

bool FormatLayoutError(const LayoutError& error, WChar* text, size_t capacity) {
  if (capacity == 0) return false;
  switch (error.box) {
    case ReaderErrorBox:
      return wtext::Format(text, capacity, u"%s(%d): %s", error.fileName, static_cast<int>(error.lineNumber),
                           error.text);
    case PlainErrorBox: return wtext::Copy(text, capacity, error.text);
    default: text[0] = 0; return true;
  }
}
