#include "layoutfiles/value_reader.h"

#include "layoutfiles/key_roles.h"

#include "layoutfiles/line_reader.h"

namespace {

int HexDigit(WChar c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

const WChar* SkipBlanks(const WChar* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

}  // namespace

bool ReadHexWord(const WChar*& text, uint16_t& word) {
  word = 0;
  const WChar* p = SkipBlanks(text);
  uint16_t w = 0;
  for (int i = 0; i < 4; ++i) {
    const int d = HexDigit(p[i]);  // stops at the terminator, which is no digit
    if (d < 0) return false;
    w = static_cast<uint16_t>((w << 4) | d);
  }
  if (HexDigit(p[4]) >= 0) return false;
  word = w;
  text = SkipBlanks(p + 4);
  return true;
}

bool ReadKeySet(const WChar* text, KeySet& set) {
  const WChar* p = SkipBlanks(text);
  for (int slot = 0; slot < kKeySetWords && *p != 0; ++slot) {
    uint16_t word;
    if (!ReadHexWord(p, word) || KeyCode(word) == 0) return false;
    set.words[slot] = word;
  }
  return true;
}

bool IsLayoutCommand(uint16_t id) { return DescribeCommand(id).kind != CommandKind::None; }

bool ReadOutputCode(const WChar*& text, OutputKind& kind, uint16_t& value) {
  const WChar* p = SkipBlanks(text);
  switch (*p) {
    case u'c':
    case u'C': kind = Char; break;
    case u'k':
    case u'K': kind = Keystroke; break;
    case u'e':
    case u'E': kind = Command; break;
    default: return false;
  }
  ++p;
  if (!ReadHexWord(p, value)) return false;
  if (kind == Command && !IsLayoutCommand(value)) return false;
  text = p;
  return true;
}
