#include "layoutfiles/line_reader.h"

#include "layoutfiles/text_cut.h"
#include "platform/wtext.h"

namespace {

// Converts bytes from the ANSI code page. Should the decoder refuse, bytes outside ASCII become
// U+FFFD, so that a line never comes back empty and passes for a comment.
void Widen(const AnsiDecoder& decoder, const char* bytes, WChar* out, size_t capacity) {
  if (decoder.decode(decoder.context, bytes, out, capacity)) return;
  size_t i = 0;
  for (; bytes[i] != 0 && i + 1 < capacity; ++i) {
    const uint8_t b = static_cast<uint8_t>(bytes[i]);
    out[i] = b < 0x80 ? static_cast<WChar>(b) : static_cast<WChar>(0xFFFD);
  }
  out[i] = 0;
}

}  // namespace

bool DeviceAnsiToWide(void*, const char* bytes, WChar* out, size_t capacity) {
  return plat::AnsiToWide(bytes, out, capacity);
}

bool ReadLayoutLine(const char*& position, int& lineNumber, WChar (&keyword)[kKeywordLength],
                    WChar (&value)[kValueLength], const AnsiDecoder& decoder) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(position);
  for (;;) {
    keyword[0] = 0;
    value[0] = 0;
    while (IsBlank(*p)) {
      if (*p == '\n') ++lineNumber;
      ++p;
    }
    if (*p == 0) {
      position = reinterpret_cast<const char*>(p);
      return false;
    }

    char line[kMaxLineBytes + 1];
    size_t stored = 0;
    bool inComment = false;
    while (*p != 0 && *p != '\r' && *p != '\n') {
      if (!inComment && *p == ';') inComment = true;
      if (!inComment) {
        if (stored == kMaxLineBytes) break;  // the rest is read as the next line
        line[stored++] = static_cast<char>(*p);
      }
      ++p;
    }
    while (stored > 0 && IsBlank(static_cast<uint8_t>(line[stored - 1]))) --stored;
    line[stored] = 0;
    if (stored == 0) continue;  // a comment line

    size_t keywordEnd = 0;
    while (keywordEnd < stored && !IsBlank(static_cast<uint8_t>(line[keywordEnd]))) ++keywordEnd;
    size_t valueStart = keywordEnd;
    if (keywordEnd < stored) {
      line[keywordEnd] = 0;
      valueStart = keywordEnd + 1;
      // Extra blanks before the value are layout, not part of a name.
      while (valueStart < stored && IsBlank(static_cast<uint8_t>(line[valueStart]))) ++valueStart;
    }

    // A keyword longer than its buffer matches no keyword; it is kept cut so that it can be named
    // in the message.
    WChar wide[kMaxLineBytes + 1];
    Widen(decoder, line, wide, kMaxLineBytes + 1);
    CopyWholeCharacters(keyword, kKeywordLength, wide);
    wtext::Lower(keyword);
    Widen(decoder, line + valueStart, value, kValueLength);

    position = reinterpret_cast<const char*>(p);
    return true;
  }
}
