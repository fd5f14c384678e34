// The layout file reader: every fault message with its line, and what a good file turns into.
#include "layoutfiles/layout_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "layoutfiles/layout_error_box.h"
#include "tests/unit/layoutfiles/layout_invariants.h"
#include "tests/unit/layoutfiles/reader_fixture.h"

namespace {

const std::string kHead = "Layout T\r\nHint H\r\n";  // lines 1 and 2

std::string Repeat(const std::string& format, int count, int first = 0) {
  std::string out;
  for (int i = first; i < first + count; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, format.c_str(), i);
    out += line;
  }
  return out;
}

class LayoutReaderTest : public DeviceTest {
 protected:
  bool Read(const std::string& text, const char16_t* name = u"Test.TVL") {
    Put(sim::ToUtf8(name), text);
    return ReadLayoutFile(name, *layout, error);
  }
  // The box text the programs would show.
  std::string Shown() const {
    WChar text[kLayoutErrorTextLength];
    EXPECT_TRUE(FormatLayoutError(error, text, kLayoutErrorTextLength));
    return Utf8(text);
  }
  std::string Path(int exec) { return Utf8(ExecPath(layout->execs[exec])); }
  std::string Params(int exec) {
    const WChar* p = ExecParams(layout->execs[exec]);
    return p == nullptr ? "<none>" : Utf8(p);
  }
  LayoutError error;
};

struct FaultCase {
  std::string text;
  int line;
  const char* fault;
};

// The reader hands each fault back naming the file and the line, and shows nothing itself.
TEST_F(LayoutReaderTest, ReportsEachFaultWithFileAndLine) {
  const FaultCase cases[] = {
      {kHead + "FOO bar\r\n", 3, "Invalid keyword \"foo\""},
      {kHead + "Hardware\r\n", 3, "Invalid Hardware parameter value"},
      {kHead + "Hardware Psion\r\n", 3, "Invalid Hardware parameter value"},
      {kHead + "ShiftKey 0100\r\n", 3, "Invalid ShiftKey parameter"},
      {kHead + "CapslockKey 14\r\n", 3, "Invalid CapslockKey parameter"},
      {kHead + "CtrlKey 0011 x\r\n", 3, "Invalid CtrlKey parameter"},
      {kHead + "AltKey 00121\r\n", 3, "Invalid AltKey parameter"},
      {kHead + "WinKey 0000\r\n", 3, "Invalid WinKey parameter"},
      {kHead + "Key 0041 c0061\r\nAccentKey\r\n", 4, "AccentKey should be specified before any KeyX definition"},
      {kHead + "Key 0041 c0061\r\nAccentKey2\r\n", 4, "AccentKey2 should be specified before any KeyX definition"},
      {kHead + "Key 0041 c0061\r\nAccentKey3 00C0\r\n", 4, "AccentKey3 should be specified before any KeyX definition"},
      {kHead + "AccentKey 0100\r\n", 3, "Invalid AccentKey parameter"},
      {kHead + "AccentKey 00C0\r\nAccentKey2 zz\r\n", 4, "Invalid AccentKey2 parameter"},
      {kHead + "AccentKey 00C0\r\nAccentKey2 01C0\r\nAccentKey3 0200\r\n", 5, "Invalid AccentKey3 parameter"},
      {kHead + "AccentKey2 00C0\r\n", 3, "AccentKey is not defined!"},
      {kHead + "AccentKey\r\nAccentKey2 00C0\r\n", 4, "AccentKey is not defined!"},
      {kHead + "AccentKey 00C0\r\nAccentKey3 01C0\r\n", 4, "AccentKey2 is not defined!"},
      {kHead + "KeypressTimeout 12\r\n", 3, "Invalid KeypressTimeout parameter"},
      {kHead + "KeypressTimeout\r\n", 3, "Invalid KeypressTimeout parameter"},
      {kHead + Repeat("Exec %04X x.exe\r\n", 17), 19, "Too many Exec's defined"},
      {kHead + "Exec zz\r\n", 3, "Invalid Exec ID parameter"},
      {kHead + "Exec\r\n", 3, "Invalid Exec ID parameter"},
      {kHead + "Exec 0100 x.exe\r\n", 3, "Exec ID parameter should be in range 0000 .. 00FF "},
      {kHead + "Exec 0001 \"\\Windows\\x.exe\r\n", 3, "Closing qote missed"},
      {kHead + "Key 0100 c0061\r\n", 3, "Invalid scan code in Key parameter"},
      {kHead + "Key 00411 c0061\r\n", 3, "Invalid scan code in Key parameter"},
      {kHead + Repeat("Key %04X c0061\r\n", 201, 0x0101), 203, "Too many keys defined"},
      {kHead + "Key2 0041 c0061\r\n", 3, "Missing Key2 41 definition"},
      {kHead + "Key 0041 c0061\r\nKey 0041 c0062\r\n", 4, "Missing Key 41 definition"},
      {kHead + "Key 0141 c0061\r\nKey2 0141 c0061\r\nKey4 0141 c0061\r\n", 5, "Missing Key4 141 definition"},
      {kHead + "Key 0041 c0061c0062\r\n", 3, "Invalid <Normal> code definition"},
      {kHead + "AccentKey 00C0\r\nKey 0041 c0061 c0062 c0063\r\n", 4, "Invalid <ICQ Accented> code definition"},
      {kHead + "Key 0041 c0061 c0062 c0063\r\n", 3, "Too many code definitions"},
      {kHead + "Key 0041 e0100\r\n", 3, "Invalid <Normal> code definition"},
      {"", 1, "No valid layout name was found!"},
      {"; comments\r\n;only\r\n\r\n", 4, "No valid layout name was found!"},
      {"Layout\r\nHint H\r\n", 3, "No valid layout name was found!"},
      {"Layout T\r\n", 2, "No valid layout hint text was found!"},
      {kHead + "Key 0041 e0003\r\n", 4, "Exec ID 0003 not found"},
      {kHead + "Key 0041 c0061 e0003\r\nExec 0001 a.exe\r\n\r\n", 6, "Exec ID 0003 not found"},
      {kHead + "Key 0041 e0000", 3, "Exec ID 0000 not found"},
  };
  for (const FaultCase& c : cases) {
    device.ClearLog();
    EXPECT_FALSE(Read(c.text, u"Bad.TVL")) << c.fault;
    EXPECT_EQ(error.box, ReaderErrorBox) << c.fault;
    EXPECT_EQ(error.lineNumber, c.line) << c.fault;
    EXPECT_EQ(Utf8(error.fileName), "Bad.TVL") << c.fault;
    EXPECT_EQ(Utf8(error.text), c.fault);
    EXPECT_EQ(Shown(), "Bad.TVL(" + std::to_string(c.line) + "): " + c.fault);
    EXPECT_TRUE(Boxes().empty()) << c.fault;
  }
}

// A file that cannot be read, or whose name does not fit a layout, gets a plain sentence naming it.
TEST_F(LayoutReaderTest, RefusesFilesItCannotReadWithAPlainMessage) {
  const std::string fits = std::string(58, 'n') + ".TVL";  // 62 characters
  const std::string tooLong = std::string(59, 'n') + ".TVL";
  const std::string listed = std::string(255, 'L');  // as long as a host file name may be
  Put(fits, kHead);
  Put(tooLong, kHead);
  std::filesystem::create_directories(folder.path() + "/Program Files/Tarvin/Folder.TVL");
  const struct {
    std::string name;
    std::string shown;
  } cases[] = {
      {"Missing.TVL", "Error opening file \"Missing.TVL\" for reading"},
      {"Folder.TVL", "Error opening file \"Folder.TVL\" for reading"},
      {"", "Error opening file \"\" for reading"},
      {tooLong, "File name \"" + tooLong + "\" is too long: a layout file name has at most 62 characters"},
      {listed, "File name \"" + listed + "\" is too long: a layout file name has at most 62 characters"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(ReadLayoutFile(sim::FromUtf8(c.name).c_str(), *layout, error)) << c.name;
    EXPECT_EQ(error.box, PlainErrorBox) << c.name;
    EXPECT_EQ(error.lineNumber, 0) << c.name;
    EXPECT_EQ(Utf8(error.fileName), c.name);
    EXPECT_EQ(Utf8(error.text), c.shown);
    EXPECT_EQ(Shown(), c.shown);
    EXPECT_EQ(layout->name[0], 0) << c.name;
    EXPECT_EQ(Utf8(layout->fileName), c.name.size() <= 62 ? c.name : "") << "a name too long is not cut";
  }
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(ReadLayoutFile(sim::FromUtf8(fits).c_str(), *layout, error));
  EXPECT_EQ(error.box, NoLayoutError) << "a read that succeeds clears an earlier error";
  EXPECT_EQ(error.fileName[0], 0);
  EXPECT_EQ(Utf8(layout->fileName), fits);
}

// The programs show the reader's message in the box of its kind.
TEST_F(LayoutReaderTest, ShowsTheMessageInTheBoxOfItsKind) {
  Put("Bad.TVL", kHead + "foo\r\n");
  Put("Good.TVL", kHead);
  const struct {
    const char16_t* name;
    size_t boxes;
    const char* title;
    const char* text;
    uint32_t flags;
  } cases[] = {
      {u"Bad.TVL", 1, "Error reading layout", "Bad.TVL(3): Invalid keyword \"foo\"", 0x50010u},
      {u"Missing.TVL", 1, "Error", "Error opening file \"Missing.TVL\" for reading", plat::kMbOk},
      {u"Good.TVL", 0, "", "", 0},
  };
  for (const auto& c : cases) {
    device.ClearLog();
    const bool ok = ReadLayoutFile(c.name, *layout, error);
    EXPECT_EQ(ok, c.boxes == 0) << Utf8(c.name);
    ShowLayoutError(error);
    const std::vector<ShownBox> boxes = Boxes();
    ASSERT_EQ(boxes.size(), c.boxes) << Utf8(c.name);
    if (c.boxes == 0) continue;
    EXPECT_EQ(boxes[0].title, c.title);
    EXPECT_EQ(boxes[0].text, c.text);
    EXPECT_EQ(boxes[0].flags, c.flags);
  }
}

TEST_F(LayoutReaderTest, ReadsTheShortRussianLayout) {
  ASSERT_TRUE(
      Read("; Russian layout for a 101-key keyboard\r\n"
           "Layout Russian, Full-size Keyboard\r\n"
           "Hint RU ; shown while active\r\n"
           "CapslockKey 0014 0114\r\n"
           "AccentKey\r\n"
           "Key 0141 c0424 c00D4 ; Shift+A\r\n"
           "Key 0041 c0444 c00F4 ; A\r\n"
           "Exec 0002 \"\\Windows\\notes.exe\"\r\n"
           "Key 0233 e0002 ; Ctrl+3 runs command 2\r\n"));
  EXPECT_EQ(error.box, NoLayoutError);
  EXPECT_EQ(BrokenLayoutInvariant(*layout), "");
  EXPECT_EQ(Utf8(layout->fileName), "Test.TVL");
  EXPECT_EQ(Utf8(layout->name), "Russian, Full-size Keyboard");
  EXPECT_EQ(Utf8(layout->hint), "RU");
  EXPECT_EQ(layout->hardware, Generic);
  EXPECT_TRUE(KeySetsEqual(layout->capsLockKeys, KeySet{{0x0014, 0x0114, 0, 0}}));
  EXPECT_TRUE(KeySetEmpty(layout->accentKeys));
  EXPECT_EQ(layout->internalCapsLock, 1);
  EXPECT_EQ(layout->internalShift + layout->internalCtrl + layout->internalAlt + layout->internalWin, 0);
  ASSERT_EQ(layout->keyCount, 3);
  const KeyDef& shiftA = layout->keys[0];
  EXPECT_EQ(shiftA.scanWord, 0x0141);
  EXPECT_EQ(shiftA.values[0][ColAccented3], 0x0424);
  EXPECT_EQ(shiftA.values[0][ColIcqNormal], 0x00D4);
  EXPECT_EQ(shiftA.values[0][ColIcqAccented3], 0x00D4);
  EXPECT_EQ(layout->keys[2].kinds[0][ColNormal], Command);
  ASSERT_EQ(layout->execCount, 1);
  EXPECT_EQ(layout->execs[0].id, 2);
  EXPECT_EQ(Path(0), "\\Windows\\notes.exe");
  EXPECT_EQ(Params(0), "<none>");
}

TEST_F(LayoutReaderTest, ReadsKeywordsAndPrefixesInAnyCase) {
  ASSERT_TRUE(Read("LAYOUT T\r\nhInT H\r\nACCENTKEY 00C0\r\nKEY 0041 C007A E0110\r\nkey2 0041 k0251 K0251\r\n"));
  auto upper = std::make_unique<KeyLayout>();
  std::memcpy(upper.get(), layout.get(), sizeof(KeyLayout));
  ASSERT_TRUE(Read("Layout T\nHint H\nAccentKey 00C0\nKey 0041 c 007A e0110\nKey2 0041 k0251 k0251\n"));
  EXPECT_EQ(std::memcmp(upper.get(), layout.get(), sizeof(KeyLayout)), 0);
}

TEST_F(LayoutReaderTest, SetsInternalFlagsFromCommandsAndKeySets) {
  struct {
    std::string lines;
    uint8_t KeyLayout::*flag;
  } cases[] = {
      {"Key 0041 e0101\r\n", &KeyLayout::internalShift},
      {"Key 0041 e0102\r\n", &KeyLayout::internalCapsLock},
      {"Key 0041 e0103\r\n", &KeyLayout::internalCtrl},
      {"Key 0041 e0104\r\n", &KeyLayout::internalAlt},
      {"Key 0041 e0105\r\n", &KeyLayout::internalWin},
      {"ShiftKey 0010\r\n", &KeyLayout::internalShift},
      {"CapslockKey 0014\r\n", &KeyLayout::internalCapsLock},
      {"CtrlKey 0011\r\n", &KeyLayout::internalCtrl},
      {"AltKey 0012\r\n", &KeyLayout::internalAlt},
      {"WinKey 005B\r\n", &KeyLayout::internalWin},
      {"Key 0041 c0061\r\nKey2 0041 c0062 e0104\r\n", &KeyLayout::internalAlt},
  };
  uint8_t KeyLayout::*all[] = {&KeyLayout::internalShift, &KeyLayout::internalCapsLock, &KeyLayout::internalCtrl,
                               &KeyLayout::internalAlt, &KeyLayout::internalWin};
  for (const auto& c : cases) {
    ASSERT_TRUE(Read(kHead + c.lines)) << c.lines;
    for (auto flag : all) EXPECT_EQ((*layout).*flag, flag == c.flag ? 1 : 0) << c.lines;
    EXPECT_EQ(BrokenLayoutInvariant(*layout), "") << c.lines;
  }
}

TEST_F(LayoutReaderTest, SplitsExecLinesIntoPathAndParametersKeepingTheirCase) {
  ASSERT_TRUE(Read(kHead + "Exec 0001 fexplore.exe\r\n"
                           "Exec 0002 \"\\Program Files\\My App\\App.exe\" -open File.TXT\r\n"
                           "Exec 0003 \"\\Windows\\iexplore.exe\" HTTP://Example.com/Path?Q=A\r\n"
                           "Exec 0004 \"\"\r\n"
                           "Exec 0005\r\n"
                           "Exec 0006 app.exe \t a  b \t \r\n"
                           "Exec 00FF \"x.exe\"tail\r\n"
                           "Exec 0001 second.exe\r\n"
                           "Key 0041 e0001 ; an Exec ID may be used before its line\r\n"
                           "Exec 0007 after.exe\r\n"
                           "Key 0042 e0007\r\n"));
  ASSERT_EQ(layout->execCount, 9);
  const struct {
    uint16_t id;
    const char* path;
    const char* params;
  } expected[] = {
      {0x01, "fexplore.exe", "<none>"},
      {0x02, "\\Program Files\\My App\\App.exe", "-open File.TXT"},
      {0x03, "\\Windows\\iexplore.exe", "HTTP://Example.com/Path?Q=A"},
      {0x04, "", "<none>"},
      {0x05, "", "<none>"},
      {0x06, "app.exe", "a  b"},
      {0xFF, "x.exe", "tail"},
      {0x01, "second.exe", "<none>"},
  };
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(layout->execs[i].id, expected[i].id) << i;
    EXPECT_EQ(Path(i), expected[i].path) << i;
    EXPECT_EQ(Params(i), expected[i].params) << i;
  }
  EXPECT_EQ(BrokenLayoutInvariant(*layout), "");
}

TEST_F(LayoutReaderTest, ReadsTheValuesOfEveryOtherKeyword) {
  ASSERT_TRUE(
      Read("Layout First\r\nLayout    \xC9t\xE9 fran\xE7"
           "ais\xA0\xE8\r\nHint H\r\n"
           "Hardware HERMES\r\n"
           "ShiftKey 0010 0110 0210\r\nShiftKey 00A0\r\n"
           "CapslockKey 0031 0032 0033 0034 0035\r\n"
           "AccentKey 00C0 01C0\r\nAccentKey2 00C0 01C0\r\n"));
  EXPECT_EQ(Utf8(layout->name),
            "\xC3\x89t\xC3\xA9 fran\xC3\xA7"
            "ais\xC2\xA0\xC3\xA8")
      << "a later Layout line wins; extra blanks before the value go; letters at both ends stay";
  EXPECT_EQ(layout->hardware, Hermes);
  EXPECT_TRUE(KeySetsEqual(layout->shiftKeys, KeySet{{0x00A0, 0x0110, 0x0210, 0}}));
  EXPECT_TRUE(KeySetsEqual(layout->capsLockKeys, KeySet{{0x0031, 0x0032, 0x0033, 0x0034}}));
  EXPECT_TRUE(KeySetsEqual(layout->accentKeys, layout->accent2Keys)) << "AccentKey2 may repeat AccentKey";

  ASSERT_TRUE(
      Read("Layout " + std::string(200, 'n') + "\r\nHint " + std::string(100, 'h') + "\r\nHardware wizard\r\n"));
  EXPECT_EQ(Utf8(layout->name), std::string(126, 'n'));
  EXPECT_EQ(Utf8(layout->hint), std::string(62, 'h'));
  EXPECT_EQ(layout->hardware, Wizard);
  EXPECT_EQ(layout->keyCount, 0);
  EXPECT_EQ(BrokenLayoutInvariant(*layout), "");
}

// A layout's own window between presses is held to the configuration's range, so that no layout
// can stall its multi-press keys for a minute; 0 still hands the choice to the configuration.
TEST_F(LayoutReaderTest, ClampsItsOwnKeypressTimeoutAsTheConfigurationDoes) {
  const struct {
    const char* value;
    uint16_t expected;
  } cases[] = {{"0000", 0},   {"0001", 100},  {"0063", 100},  {"0064", 100},
               {"0190", 400}, {"07D0", 2000}, {"07D1", 2000}, {"FFFF", 2000}};
  for (const auto& c : cases) {
    ASSERT_TRUE(Read(kHead + "KeypressTimeout " + c.value + "\r\n")) << c.value;
    EXPECT_EQ(layout->keypressTimeout, c.expected) << c.value;
    EXPECT_EQ(BrokenLayoutInvariant(*layout), "") << c.value;
  }
}

TEST_F(LayoutReaderTest, ReadsOnlyTheTextBeforeAZeroByte) {
  EXPECT_TRUE(Read(kHead + std::string(1, '\0') + "garbage\r\n"));
}

// A file the buffer cannot hold whole is refused: cut, it would read as valid without the keys
// beyond the cut.
TEST_F(LayoutReaderTest, RefusesAFileLongerThanTheBufferHolds) {
  const std::string keyAtEnd = "Key 0041 c0061\r\n";
  const std::string full = kHead + std::string(66558 - kHead.size() - keyAtEnd.size() - 1, ';') + "\n" + keyAtEnd;
  ASSERT_EQ(full.size(), 66558u);
  ASSERT_TRUE(Read(full)) << Shown();
  EXPECT_EQ(layout->keyCount, 1) << "the last line of a file at the limit is read";

  const std::string tooLong = "File \"Test.TVL\" is too long: a layout file has at most 66558 bytes";
  for (const std::string& text : {full + ";", full + std::string(5000, ';')}) {
    EXPECT_FALSE(Read(text)) << text.size();
    EXPECT_EQ(error.box, PlainErrorBox) << text.size();
    EXPECT_EQ(Shown(), tooLong) << text.size();
  }
  ShowLayoutError(error);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].title, "Error");
  EXPECT_EQ(Boxes()[0].text, tooLong);
}

TEST_F(LayoutReaderTest, KeepsTheLinesBeforeAFaultAndReadsNoFurther) {
  EXPECT_FALSE(Read("Layout T\r\nKey 0041 c0061\r\nBad\r\nHint H\r\n"));
  EXPECT_EQ(Utf8(layout->name), "T");
  EXPECT_EQ(layout->keyCount, 1);
  EXPECT_EQ(layout->hint[0], 0);
  EXPECT_EQ(Shown(), "Test.TVL(3): Invalid keyword \"bad\"");
}

TEST_F(LayoutReaderTest, AcceptsTheLimitsThemselves) {
  std::string text = kHead + Repeat("Exec %04X a.exe\r\n", 16, 0xF0) + Repeat("Key %04X e00F0\r\n", 200, 0x0101);
  for (int level = 2; level <= 6; ++level) text += "Key" + std::to_string(level) + " 0141 c0061\r\n";
  ASSERT_TRUE(Read(text));
  EXPECT_EQ(layout->execCount, 16);
  EXPECT_EQ(layout->keyCount, 200);
  EXPECT_EQ(layout->keys[0x40].pressLevels, 6);
  EXPECT_EQ(BrokenLayoutInvariant(*layout), "");
}

}  // namespace
