// The text of the configuration file: its keys, as read and as written.
#include <cstring>

#include "layoutfiles/config_file.h"
#include "layoutfiles/line_reader.h"
#include "layoutfiles/text_cut.h"
#include "layoutfiles/value_reader.h"
#include "platform/wtext.h"

namespace {

constexpr const WChar* kLayoutKeys[kLayoutSlots] = {u"layout1", u"layout2", u"layout3", u"layout4"};

// The SwitchKey line describes all four slots. 0000 marks an empty slot (the writer starts with it
// when the first slot is empty), and the slots after the last readable word are empty, so that a
// switch key removed in the settings is gone on the next read.
void ReadSwitchKeys(const WChar* value, ScanWord (&keys)[kSwitchKeys]) {
  ScanWord read[kSwitchKeys] = {};
  const WChar* p = value;
  for (int slot = 0; slot < kSwitchKeys && *p != 0; ++slot) {
    uint16_t word;
    if (!ReadHexWord(p, word) || (word != 0 && KeyCode(word) == 0)) break;
    read[slot] = word;
  }
  for (int slot = 0; slot < kSwitchKeys; ++slot) keys[slot] = read[slot];
}

// A text value cut to its field. Blanks where the cut falls would be lost on the next read, so they
// go now and the file reads back as it was written.
void CopyText(WChar (&field)[kConfigTextLength], const WChar* value) {
  CopyWholeCharacters(field, kConfigTextLength, value);
  size_t n = wtext::Length(field);
  while (n > 0 && IsBlank(field[n - 1])) --n;
  field[n] = 0;
}

struct Writer {
  char* out;
  size_t capacity;
  size_t length;
  bool fits;

  void Put(const char* text) {
    const size_t n = std::strlen(text);
    if (!fits || length + n >= capacity) {
      fits = false;
      return;
    }
    std::memcpy(out + length, text, n);
    length += n;
    out[length] = 0;
  }

  void PutHex(uint16_t word) {
    static const char kDigits[] = "0123456789ABCDEF";
    const char text[] = {kDigits[(word >> 12) & 0xF], kDigits[(word >> 8) & 0xF], kDigits[(word >> 4) & 0xF],
                         kDigits[word & 0xF], 0};
    Put(text);
  }

  void PutLine(const char* key, uint16_t word) {
    Put(key);
    Put(" ");
    PutHex(word);
    Put("\r\n");
  }

  // "<key> <text>" in the ANSI code page. A line break in the text would end the line early, so it
  // is written as a blank; a text that would make the line longer than the reader takes in one
  // piece loses whole characters from its end.
  void PutTextLine(const char* key, const WChar* text) {
    WChar clean[kConfigTextLength];
    CopyWholeCharacters(clean, kConfigTextLength, text);
    for (WChar* c = clean; *c != 0; ++c) {
      if (*c == u'\r' || *c == u'\n') *c = u' ';
    }
    char ansi[kMaxLineBytes + 1];
    const size_t room = kMaxLineBytes - std::strlen(key) - 1;
    size_t units = wtext::Length(clean);
    while (!plat::WideToAnsi(clean, ansi, room + 1)) {
      if (units == 0) {
        ansi[0] = 0;
        break;
      }
      units = WholeCharacterLength(clean, units - 1);
      clean[units] = 0;
    }
    Put(key);
    Put(" ");
    Put(ansi);
    Put("\r\n");
  }
};

}  // namespace

bool ParseConfigText(const char* text, MapperConfig& config) {
  const char* position = text;
  int lineNumber = 1;
  WChar keyword[kKeywordLength];
  WChar value[kValueLength];
  while (ReadLayoutLine(position, lineNumber, keyword, value)) {
    const WChar* rest = value;
    bool known = false;
    for (int slot = 0; slot < kLayoutSlots; ++slot) {
      if (wtext::Equal(keyword, kLayoutKeys[slot])) {
        CopyText(config.layoutFiles[slot], value);
        known = true;
      }
    }
    if (known) continue;
    if (wtext::Equal(keyword, u"defaulthint")) {
      CopyText(config.defaultHint, value);
    } else if (wtext::Equal(keyword, u"switchkey")) {
      ReadSwitchKeys(value, config.switchKeys);
    } else if (wtext::Equal(keyword, u"hintmode")) {
      if (!ReadHexWord(rest, config.hintMode)) return false;
    } else if (wtext::Equal(keyword, u"hintpos")) {
      if (!ReadHexWord(rest, config.hintPos)) return false;
    } else if (wtext::Equal(keyword, u"hintfontsize")) {
      if (!ReadHexWord(rest, config.hintFontSize)) return false;
    } else if (wtext::Equal(keyword, u"keypresstimeout")) {
      if (!ReadHexWord(rest, config.keypressTimeout)) return false;
      config.keypressTimeout = ClampKeypressTimeout(config.keypressTimeout);
    }
  }
  return true;
}

int ConfigTextLoss(const WChar* text) {
  // Written and read back exactly as a layout slot is, so that the answer cannot drift from the
  // writer and the reader.
  char line[kMaxLineBytes + 16];
  Writer w{line, sizeof line, 0, true};
  line[0] = 0;
  w.PutTextLine("Layout1", text);
  WChar back[kConfigTextLength] = {};
  const char* position = line;
  int lineNumber = 1;
  WChar keyword[kKeywordLength];
  WChar value[kValueLength];
  if (w.fits && ReadLayoutLine(position, lineNumber, keyword, value)) CopyText(back, value);
  size_t i = 0;
  while (text[i] != 0 && text[i] == back[i]) ++i;
  if (text[i] == 0 && back[i] == 0) return -1;
  if (text[i] == 0) return i > 0 ? static_cast<int>(i - 1) : 0;  // more came back than was written
  return static_cast<int>(i);
}

bool FormatConfigText(const MapperConfig& config, char* out, size_t capacity, size_t& length) {
  Writer w{out, capacity, 0, capacity > 0};
  if (w.fits) out[0] = 0;
  w.Put("; Tarvin Typist configuration file\r\n");
  w.Put("; Copyright (C) Tarvin Typist developers\r\n");
  w.Put("\r\n");
  w.Put("SwitchKey ");
  w.PutHex(config.switchKeys[0]);
  for (int slot = 1; slot < kSwitchKeys; ++slot) {
    if (config.switchKeys[slot] == 0) continue;
    w.Put(" ");
    w.PutHex(config.switchKeys[slot]);
  }
  w.Put("\r\n");
  for (int slot = 0; slot < kLayoutSlots; ++slot) {
    const char key[] = {'L', 'a', 'y', 'o', 'u', 't', static_cast<char>('1' + slot), 0};
    w.PutTextLine(key, config.layoutFiles[slot]);
  }
  w.PutLine("HintMode", config.hintMode);
  w.Put(";HintPos: 0 - top(left); 1 - center; 2 - bottom(right)\r\n");
  w.PutLine("HintPos", config.hintPos);
  w.PutLine("HintFontSize", config.hintFontSize);
  w.PutTextLine("DefaultHint", config.defaultHint);
  w.PutLine("KeypressTimeOut", ClampKeypressTimeout(config.keypressTimeout));
  length = w.fits ? w.length : 0;
  return w.fits;
}
