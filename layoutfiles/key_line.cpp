#include "layoutfiles/key_line.h"

#include "layoutfiles/value_reader.h"
#include "platform/wtext.h"

namespace {

struct Level {
  uint8_t kinds[kColumns];
  uint16_t values[kColumns];
};

// One code of the line: read into `column`, then copied into the columns that fall back on it.
struct FillStep {
  int column;
  int copies[kColumns - 1];
  int copyCount;
  const WChar* message;
};

constexpr FillStep kNormal = {
    ColNormal,
    {ColAccented, ColAccented2, ColAccented3, ColIcqNormal, ColIcqAccented, ColIcqAccented2, ColIcqAccented3},
    7,
    u"Invalid <Normal> code definition"};
constexpr FillStep kAccented = {ColAccented,
                                {ColAccented2, ColAccented3, ColIcqAccented, ColIcqAccented2, ColIcqAccented3},
                                5,
                                u"Invalid <Accented> code definition"};
constexpr FillStep kAccented2 = {
    ColAccented2, {ColAccented3, ColIcqAccented2, ColIcqAccented3}, 3, u"Invalid <Accented2> code definition"};
constexpr FillStep kAccented3 = {ColAccented3, {ColIcqAccented3}, 1, u"Invalid <Accented3> code definition"};
constexpr FillStep kIcqNormal = {
    ColIcqNormal, {ColIcqAccented, ColIcqAccented2, ColIcqAccented3}, 3, u"Invalid <ICQ Normal> code definition"};
constexpr FillStep kIcqAccented = {
    ColIcqAccented, {ColIcqAccented2, ColIcqAccented3}, 2, u"Invalid <ICQ Accented> code definition"};
constexpr FillStep kIcqAccented2 = {ColIcqAccented2, {ColIcqAccented3}, 1, u"Invalid <ICQ Accented2> code definition"};
constexpr FillStep kIcqAccented3 = {ColIcqAccented3, {}, 0, u"Invalid <ICQ Accented3> code definition"};

bool ReadStep(const FillStep& step, const WChar*& text, Level& level, ReaderMessage& message) {
  OutputKind kind;
  uint16_t value;
  if (!ReadOutputCode(text, kind, value)) {
    wtext::Copy(message, kReaderMessageLength, step.message);
    return false;
  }
  level.kinds[step.column] = kind;
  level.values[step.column] = value;
  for (int i = 0; i < step.copyCount; ++i) {
    level.kinds[step.copies[i]] = kind;
    level.values[step.copies[i]] = value;
  }
  return true;
}

}  // namespace

bool ReadKeyLine(KeyLayout& layout, int pressLevel, const WChar* value, ReaderMessage& message) {
  message[0] = 0;
  if (pressLevel < 0 || pressLevel >= kMaxPressLevels) {
    wtext::Copy(message, kReaderMessageLength, u"Invalid press level");
    return false;
  }
  const WChar* text = value;
  uint16_t scanWord;
  if (!ReadHexWord(text, scanWord) || KeyCode(scanWord) == 0) {
    wtext::Copy(message, kReaderMessageLength, u"Invalid scan code in Key parameter");
    return false;
  }

  int index = FindKeyIndex(layout, scanWord);
  const bool isNew = index < 0;
  if (isNew) {
    if (layout.keyCount >= kMaxKeys) {
      wtext::Copy(message, kReaderMessageLength, u"Too many keys defined");
      return false;
    }
    index = layout.keyCount;
  }
  const int definedLevels = isNew ? 0 : layout.keys[index].pressLevels;
  if (definedLevels != pressLevel) {
    WChar keyword[8];
    if (pressLevel == 0) {
      wtext::Copy(keyword, 8, u"Key");
    } else {
      wtext::Format(keyword, 8, u"Key%d", pressLevel + 1);
    }
    wtext::Format(message, kReaderMessageLength, u"Missing %s %X definition", keyword, static_cast<unsigned>(scanWord));
    return false;
  }

  const bool a1 = !KeySetEmpty(layout.accentKeys);
  const bool a2 = !KeySetEmpty(layout.accent2Keys);
  const bool a3 = !KeySetEmpty(layout.accent3Keys);
  Level level = {};
  if (!ReadStep(kNormal, text, level, message)) return false;
  if (a1 && !ReadStep(kAccented, text, level, message)) return false;
  if (a2 && !ReadStep(kAccented2, text, level, message)) return false;
  if (a3 && !ReadStep(kAccented3, text, level, message)) return false;
  if (*text != 0) {
    if (!ReadStep(kIcqNormal, text, level, message)) return false;
    if (a1 && !ReadStep(kIcqAccented, text, level, message)) return false;
    if (a2 && !ReadStep(kIcqAccented2, text, level, message)) return false;
    if (a3 && !ReadStep(kIcqAccented3, text, level, message)) return false;
  }
  if (*text != 0) {
    wtext::Copy(message, kReaderMessageLength, u"Too many code definitions");
    return false;
  }

  KeyDef& key = layout.keys[index];
  if (isNew) {
    key = KeyDef{};
    key.scanWord = scanWord;
    ++layout.keyCount;
  }
  for (int c = 0; c < kColumns; ++c) {
    key.kinds[pressLevel][c] = level.kinds[c];
    key.values[pressLevel][c] = level.values[c];
  }
  ++key.pressLevels;
  return true;
}
