#include "layoutfiles/layout_reader.h"

#include <cstdlib>
#include <cstring>

#include "layoutfiles/exec_line.h"
#include "layoutfiles/key_line.h"
#include "layoutfiles/key_roles.h"
#include "layoutfiles/line_reader.h"
#include "layoutfiles/program_folder.h"
#include "layoutfiles/text_cut.h"
#include "layoutfiles/value_reader.h"
#include "platform/wtext.h"

namespace {

// The plain sentence names the file as the caller passed it, so that it is formatted whole.
void SetPlainError(LayoutError& error, const WChar* format, const WChar* fileName) {
  error.box = PlainErrorBox;
  error.lineNumber = 0;
  CopyWholeCharacters(error.fileName, kLayoutErrorNameLength, fileName);
  wtext::Format(error.text, kLayoutErrorTextLength, format, fileName);
}

void SetReaderError(LayoutError& error, const WChar* fileName, int lineNumber, const WChar* message) {
  error.box = ReaderErrorBox;
  error.lineNumber = lineNumber;
  CopyWholeCharacters(error.fileName, kLayoutErrorNameLength, fileName);
  wtext::Copy(error.text, kLayoutErrorTextLength, message);
}

// A name that does not fit `fileName` is refused: a cut name would name another file.
bool FileNameFits(const WChar* fileName, LayoutError& error) {
  size_t n = 0;
  while (n < kFileNameLength && fileName[n] != 0) ++n;
  if (n < kFileNameLength) return true;
  SetPlainError(error, u"File name \"%s\" is too long: a layout file name has at most 62 characters", fileName);
  return false;
}

bool ReadProgramFolderFile(void*, const WChar* fileName, uint8_t* buffer, size_t capacity, size_t* bytesRead) {
  WChar path[kMaxPathLength + kFileNameLength];
  return ProgramFolderPath(fileName, path, sizeof path / sizeof path[0]) &&
         plat::ReadFileBytes(path, buffer, capacity, bytesRead);
}

constexpr LayoutFileSource kProgramFolder{&ReadProgramFolderFile, nullptr};

// Accent keys decide how many codes a Key line carries, so they must come before the first one.
struct AccentLine {
  const WChar* keyword;
  KeySet KeyLayout::*set;
  KeySet KeyLayout::*needs;  // the accent level below, or nullptr
  const WChar* tooLate;
  const WChar* invalid;
  const WChar* missing;
};

constexpr AccentLine kAccentLines[] = {
    {u"accentkey", &KeyLayout::accentKeys, nullptr, u"AccentKey should be specified before any KeyX definition",
     u"Invalid AccentKey parameter", nullptr},
    {u"accentkey2", &KeyLayout::accent2Keys, &KeyLayout::accentKeys,
     u"AccentKey2 should be specified before any KeyX definition", u"Invalid AccentKey2 parameter",
     u"AccentKey is not defined!"},
    {u"accentkey3", &KeyLayout::accent3Keys, &KeyLayout::accent2Keys,
     u"AccentKey3 should be specified before any KeyX definition", u"Invalid AccentKey3 parameter",
     u"AccentKey2 is not defined!"},
};

constexpr const WChar* kKeyKeywords[kMaxPressLevels] = {u"key", u"key2", u"key3", u"key4", u"key5", u"key6"};

void SetMessage(ReaderMessage& message, const WChar* text) { wtext::Copy(message, kReaderMessageLength, text); }

// Applies one keyword line to the layout; false with `message` set on a fault.
bool ReadLine(KeyLayout& layout, const WChar* keyword, const WChar* value, ReaderMessage& message) {
  if (wtext::Equal(keyword, u"layout")) {
    CopyWholeCharacters(layout.name, kLayoutNameLength, value);
    return true;
  }
  if (wtext::Equal(keyword, u"hint")) {
    CopyWholeCharacters(layout.hint, kHintLength, value);
    return true;
  }
  if (wtext::Equal(keyword, u"hardware")) {
    if (wtext::EqualNoCase(value, u"wizard")) {
      layout.hardware = Wizard;
    } else if (wtext::EqualNoCase(value, u"hermes")) {
      layout.hardware = Hermes;
    } else {
      SetMessage(message, u"Invalid Hardware parameter value");
      return false;
    }
    return true;
  }
  for (const ModifierRoleInfo& role : kModifierRoles) {
    if (!wtext::Equal(keyword, role.keyword)) continue;
    if (ReadKeySet(value, layout.*role.keys)) return true;
    SetMessage(message, role.invalidMessage);
    return false;
  }
  for (const AccentLine& line : kAccentLines) {
    if (!wtext::Equal(keyword, line.keyword)) continue;
    if (layout.keyCount > 0) {
      SetMessage(message, line.tooLate);
      return false;
    }
    if (!ReadKeySet(value, layout.*line.set)) {
      SetMessage(message, line.invalid);
      return false;
    }
    if (line.needs != nullptr && !KeySetEmpty(layout.*line.set) && KeySetEmpty(layout.*line.needs)) {
      SetMessage(message, line.missing);
      return false;
    }
    return true;
  }
  if (wtext::Equal(keyword, u"keypresstimeout")) {
    const WChar* text = value;
    if (!ReadHexWord(text, layout.keypressTimeout)) {
      SetMessage(message, u"Invalid KeypressTimeout parameter");
      return false;
    }
    // 0 leaves the configuration's window in force; any other is held to the same range as that.
    if (layout.keypressTimeout != 0) layout.keypressTimeout = ClampKeypressTimeout(layout.keypressTimeout);
    return true;
  }
  if (wtext::Equal(keyword, u"exec")) return ReadExecLine(layout, value, message);
  for (int level = 0; level < kMaxPressLevels; ++level) {
    if (wtext::Equal(keyword, kKeyKeywords[level])) return ReadKeyLine(layout, level, value, message);
  }
  wtext::Format(message, kReaderMessageLength, u"Invalid keyword \"%s\"", keyword);
  return false;
}

// Checks that need the whole file, and the internal modifier flags that follow from it.
bool FinishLayout(KeyLayout& layout, ReaderMessage& message) {
  if (layout.name[0] == 0) {
    SetMessage(message, u"No valid layout name was found!");
    return false;
  }
  if (layout.hint[0] == 0) {
    SetMessage(message, u"No valid layout hint text was found!");
    return false;
  }
  for (int k = 0; k < layout.keyCount && k < kMaxKeys; ++k) {
    const KeyDef& key = layout.keys[k];
    for (int column = 0; column < kColumns; ++column) {
      for (int level = 0; level < kMaxPressLevels; ++level) {
        const uint16_t id = key.values[level][column];
        if (key.kinds[level][column] == Command && id <= kMaxExecId && FindExecIndex(layout, id) < 0) {
          wtext::Format(message, kReaderMessageLength, u"Exec ID %04X not found", static_cast<unsigned>(id));
          return false;
        }
      }
    }
  }
  SetInternalFlags(layout);
  return true;
}

}  // namespace

bool ReadLayoutText(const WChar* fileName, const char* text, KeyLayout& layout, LayoutError& error,
                    const AnsiDecoder& decoder) {
  ClearLayoutError(error);
  ClearLayout(layout);
  if (!FileNameFits(fileName, error)) return false;
  wtext::Copy(layout.fileName, kFileNameLength, fileName);

  const char* position = text;
  int lineNumber = 1;
  WChar keyword[kKeywordLength];
  WChar value[kValueLength];
  ReaderMessage message;
  while (ReadLayoutLine(position, lineNumber, keyword, value, decoder)) {
    if (!ReadLine(layout, keyword, value, message)) {
      SetReaderError(error, fileName, lineNumber, message);
      return false;
    }
  }
  if (!FinishLayout(layout, message)) {
    SetReaderError(error, fileName, lineNumber, message);
    return false;
  }
  return true;
}

bool ReadLayoutFileFrom(const WChar* fileName, const LayoutFileSource& source, const AnsiDecoder& decoder,
                        KeyLayout& layout, LayoutError& error) {
  ClearLayoutError(error);
  ClearLayout(layout);
  if (!FileNameFits(fileName, error)) return false;
  wtext::Copy(layout.fileName, kFileNameLength, fileName);

  // One byte more than the text may hold tells a file at the limit from a longer one, which is
  // refused: cut, it would read as valid without the keys past the cut.
  static_assert(kMaxTextBytes + 1 < kTextBufferBytes, "room for the probe byte and the terminator");
  static_assert(kMaxTextBytes == 66558, "the message below names the limit");
  char* buffer = static_cast<char*>(std::malloc(kTextBufferBytes));
  size_t bytesRead = 0;
  if (buffer == nullptr ||
      !source.read(source.context, fileName, reinterpret_cast<uint8_t*>(buffer), kMaxTextBytes + 1, &bytesRead)) {
    std::free(buffer);
    SetPlainError(error, u"Error opening file \"%s\" for reading", fileName);
    return false;
  }
  if (bytesRead > kMaxTextBytes) {
    std::free(buffer);
    SetPlainError(error, u"File \"%s\" is too long: a layout file has at most 66558 bytes", fileName);
    return false;
  }
  std::memset(buffer + bytesRead, 0, kTextBufferBytes - bytesRead);
  const bool ok = ReadLayoutText(fileName, buffer, layout, error, decoder);
  std::free(buffer);
  return ok;
}

bool ReadLayoutFile(const WChar* fileName, KeyLayout& layout, LayoutError& error) {
  return ReadLayoutFileFrom(fileName, kProgramFolder, kDeviceAnsi, layout, error);
}
