// The configuration file: defaults, reading over current values, clamping, reset of a damaged
// file, the writer's bytes, switch keys, and a write that cannot leave a half-written file.
#include "layoutfiles/config_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "tests/unit/layoutfiles/reader_fixture.h"

namespace {

const std::string kDefaultFile =
    "; Tarvin Typist configuration file\r\n"
    "; Copyright (C) Tarvin Typist developers\r\n"
    "\r\n"
    "SwitchKey 0000\r\n"
    "Layout1 <Default layout>\r\n"
    "Layout2 <Unassigned>\r\n"
    "Layout3 <Unassigned>\r\n"
    "Layout4 <Unassigned>\r\n"
    "HintMode 0000\r\n"
    ";HintPos: 0 - top(left); 1 - center; 2 - bottom(right)\r\n"
    "HintPos 0202\r\n"
    "HintFontSize 000F\r\n"
    "DefaultHint English\r\n"
    "KeypressTimeOut 0258\r\n";

// Equal field by field; text fields up to their terminators.
bool Same(const MapperConfig& a, const MapperConfig& b) {
  for (int slot = 0; slot < kLayoutSlots; ++slot) {
    if (std::u16string(a.layoutFiles[slot]) != b.layoutFiles[slot]) return false;
  }
  return std::memcmp(a.switchKeys, b.switchKeys, sizeof a.switchKeys) == 0 && a.hintMode == b.hintMode &&
         a.hintPos == b.hintPos && a.hintFontSize == b.hintFontSize && a.keypressTimeout == b.keypressTimeout &&
         std::u16string(a.defaultHint) == b.defaultHint;
}

std::string Line(const std::string& file, const std::string& key) {
  const size_t start = file.find("\r\n" + key + " ");
  if (start == std::string::npos) return "<missing>";
  return file.substr(start + 2, file.find("\r\n", start + 2) - start - 2);
}

class ConfigTest : public DeviceTest {
 protected:
  explicit ConfigTest(uint32_t codePage = 1252) : DeviceTest(codePage) {
    SetConfigDefaults(config);
    SetConfigDefaults(defaults);
  }
  static void Set(WChar* field, const std::u16string& text) {
    ASSERT_LT(text.size(), kConfigTextLength);
    std::memset(field, 0, kConfigTextLength * sizeof(WChar));
    std::memcpy(field, text.c_str(), text.size() * sizeof(WChar));
  }
  void MakeFolder(const std::string& name) {
    std::filesystem::create_directories(folder.path() + "/Program Files/Tarvin/" + name);
  }

  MapperConfig config;
  MapperConfig defaults;
};

TEST_F(ConfigTest, WithoutAFileWritesTheDefaultsByteForByte) {
  EXPECT_TRUE(ReadConfig(config));
  EXPECT_EQ(Get("Tarvin.cfg"), kDefaultFile);
  EXPECT_TRUE(Same(config, defaults));
  EXPECT_EQ(Utf8(config.layoutFiles[0]), "<Default layout>");
  EXPECT_EQ(config.hintFontSize, 15) << "131 dpi";
  EXPECT_FALSE(Has("Tarvin.cfg.tmp"));
  EXPECT_TRUE(Boxes().empty());

  MapperConfig again;
  SetConfigDefaults(again);
  again.hintMode = 7;
  EXPECT_TRUE(ReadConfig(again));
  EXPECT_TRUE(Same(again, defaults)) << "the default file reads back as the defaults";
}

TEST(DefaultHintFontSize, IsANinthOfAnInchUnlessTheShellGivesASize) {
  const struct {
    int dpi;
    uint32_t shellPixels;
    uint16_t expected;
  } cases[] = {{96, 0, 11}, {131, 0, 15}, {192, 0, 21}, {0, 0, 0}, {96, 20, 20}, {192, 9, 9}};
  for (const auto& c : cases) {
    testing_support::TempFolder folder;
    sim::SimOptions options = ProgramFolderOptions(folder.path());
    options.dpiY = c.dpi;
    options.systemFontPixels = c.shellPixels;
    sim::SimDevice device(options);
    EXPECT_EQ(DefaultHintFontSize(), c.expected) << c.dpi << " dpi, shell " << c.shellPixels;
  }
}

TEST_F(ConfigTest, ClampsTheKeypressTimeoutOnReadingAndWriting) {
  const struct {
    const char* value;
    uint16_t expected;
  } cases[] = {{"0000", 100},  {"0063", 100},  {"0064", 100}, {"0258", 600},
               {"07D0", 2000}, {"07D1", 2000}, {"FFFF", 2000}};
  for (const auto& c : cases) {
    const std::string file = std::string("KeypressTimeOut ") + c.value + "\r\n";
    Put("Tarvin.cfg", file);
    EXPECT_TRUE(ReadConfig(config));
    EXPECT_EQ(config.keypressTimeout, c.expected) << c.value;
    EXPECT_EQ(Get("Tarvin.cfg"), file) << "a clamped value is no damage";
  }
  config.keypressTimeout = 50;
  ASSERT_TRUE(WriteConfig(config));
  EXPECT_EQ(config.keypressTimeout, 100) << "the record is clamped too";
  EXPECT_EQ(Line(Get("Tarvin.cfg"), "KeypressTimeOut"), "KeypressTimeOut 0064");
}

TEST_F(ConfigTest, ABadNumberResetsEverySettingAndRewritesTheFile) {
  for (const char* bad : {"HintPos 22", "HintMode", "HintMode zz", "HintFontSize 00100", "KeypressTimeOut 12x4"}) {
    Put("Tarvin.cfg", std::string("Layout1 Mine.TVL\r\nDefaultHint RU\r\n") + bad + "\r\nHintMode 0001\r\n");
    config.hintPos = 0x0101;
    EXPECT_TRUE(ReadConfig(config)) << bad;
    EXPECT_TRUE(Same(config, defaults)) << bad;
    EXPECT_EQ(Get("Tarvin.cfg"), kDefaultFile) << bad;
  }
  EXPECT_TRUE(Boxes().empty()) << "the configuration never shows a message";
}

TEST_F(ConfigTest, IgnoresUnknownKeysAndKeepsWhatTheFileDoesNotMention) {
  config.hintMode = 1;
  config.hintFontSize = 0x30;
  Set(config.layoutFiles[2], u"Kept.TVL");
  const std::string file =
      "; a hand-written file\r\nLayout5 Five.TVL\r\nColour Blue\r\n"
      "Layout2 Russian Default.TVL\r\nHintPos 0001 ; trailing words are ignored\r\n";
  Put("Tarvin.cfg", file);
  EXPECT_TRUE(ReadConfig(config));
  EXPECT_EQ(Utf8(config.layoutFiles[1]), "Russian Default.TVL");
  EXPECT_EQ(Utf8(config.layoutFiles[2]), "Kept.TVL");
  EXPECT_EQ(config.hintPos, 1);
  EXPECT_EQ(config.hintMode, 1);
  EXPECT_EQ(config.hintFontSize, 0x30);
  EXPECT_EQ(Get("Tarvin.cfg"), file) << "a readable file is left as it is";
}

TEST_F(ConfigTest, WritesAndReadsBackEverySetting) {
  config.switchKeys[0] = 0x0120;
  config.switchKeys[1] = 0x0220;
  Set(config.layoutFiles[0], u"<Default layout>");
  Set(config.layoutFiles[1], u"Russian, Default Smartphone.TVL");
  Set(config.layoutFiles[2], u"<Unload Typist>");
  Set(config.layoutFiles[3], std::u16string(126, u'n'));
  config.hintMode = 1;
  config.hintPos = 0x0100;
  config.hintFontSize = 0x20;
  config.keypressTimeout = 0x0400;
  Set(config.defaultHint, u"EN, US");
  ASSERT_TRUE(WriteConfig(config));
  const std::string file = Get("Tarvin.cfg");
  EXPECT_EQ(Line(file, "SwitchKey"), "SwitchKey 0120 0220");
  EXPECT_EQ(Line(file, "Layout2"), "Layout2 Russian, Default Smartphone.TVL");
  EXPECT_EQ(Line(file, "HintPos"), "HintPos 0100");
  EXPECT_EQ(Line(file, "DefaultHint"), "DefaultHint EN, US");

  MapperConfig read;
  SetConfigDefaults(read);
  EXPECT_TRUE(ReadConfig(read));
  EXPECT_TRUE(Same(read, config));
}

TEST_F(ConfigTest, CutsAHandWrittenSlotNameTo126Characters) {
  Put("Tarvin.cfg", "Layout1 " + std::string(200, 'x') + "\r\nLayout2 " + std::string(124, 'y') + "  \tz\r\n" +
                        "DefaultHint " + std::string(126, 'h') + "\r\n");
  EXPECT_TRUE(ReadConfig(config));
  EXPECT_EQ(Utf8(config.layoutFiles[0]), std::string(126, 'x'));
  EXPECT_EQ(Utf8(config.layoutFiles[1]), std::string(124, 'y')) << "no blanks at the cut, which a re-read would lose";
  EXPECT_EQ(Utf8(config.defaultHint), std::string(126, 'h'));
}

TEST_F(ConfigTest, SwitchKeysComeBackFromTheFileWhateverSlotsHoldThem) {
  const struct {
    ScanWord slots[kSwitchKeys];
    const char* line;
    ScanWord readBack[kSwitchKeys];
  } cases[] = {
      {{0, 0, 0, 0}, "SwitchKey 0000", {0, 0, 0, 0}},
      {{0x0120, 0x0220, 0, 0}, "SwitchKey 0120 0220", {0x0120, 0x0220, 0, 0}},
      {{0x0120, 0, 0x0330, 0}, "SwitchKey 0120 0330", {0x0120, 0x0330, 0, 0}},
      {{0, 0x0220, 0, 0}, "SwitchKey 0000 0220", {0, 0x0220, 0, 0}},
      {{0, 0, 0x0330, 0}, "SwitchKey 0000 0330", {0, 0x0330, 0, 0}},
      {{0, 0, 0x0330, 0x0440}, "SwitchKey 0000 0330 0440", {0, 0x0330, 0x0440, 0}},
      {{0x0110, 0x0220, 0x0330, 0x0440}, "SwitchKey 0110 0220 0330 0440", {0x0110, 0x0220, 0x0330, 0x0440}},
  };
  for (const auto& c : cases) {
    std::memcpy(config.switchKeys, c.slots, sizeof c.slots);
    ASSERT_TRUE(WriteConfig(config));
    EXPECT_EQ(Line(Get("Tarvin.cfg"), "SwitchKey"), c.line);
    MapperConfig read;
    SetConfigDefaults(read);
    ASSERT_TRUE(ReadConfig(read));
    for (int slot = 0; slot < kSwitchKeys; ++slot) EXPECT_EQ(read.switchKeys[slot], c.readBack[slot]) << c.line;
  }
}

TEST_F(ConfigTest, ASwitchKeyLineSetsAllFourSlots) {
  const struct {
    const char* line;
    ScanWord expected[kSwitchKeys];
  } cases[] = {
      {"SwitchKey 0120", {0x0120, 0, 0, 0}},  // a key removed in the settings is gone on the re-read
      {"SwitchKey 0120 zz 0330", {0x0120, 0, 0, 0}},
      {"SwitchKey 0120 0100 0330", {0x0120, 0, 0, 0}},
      {"SwitchKey", {0, 0, 0, 0}},
      {"SwitchKey 0120 0000 0330", {0x0120, 0, 0x0330, 0}},
      {"SwitchKey 0011 0012 0013 0014 0015", {0x0011, 0x0012, 0x0013, 0x0014}},
  };
  for (const auto& c : cases) {
    const ScanWord before[kSwitchKeys] = {0x0A41, 0x0A42, 0x0A43, 0x0A44};
    std::memcpy(config.switchKeys, before, sizeof before);
    config.hintMode = 3;
    Put("Tarvin.cfg", std::string(c.line) + "\r\nHintMode 0001\r\n");
    EXPECT_TRUE(ReadConfig(config));
    for (int slot = 0; slot < kSwitchKeys; ++slot) EXPECT_EQ(config.switchKeys[slot], c.expected[slot]) << c.line;
    EXPECT_EQ(config.hintMode, 1) << "a bad switch key word is no reason to reset: " << c.line;
  }
}

TEST_F(ConfigTest, AFailedWriteKeepsTheOldFileAndTheRecord) {
  Put("Tarvin.cfg", kDefaultFile);
  MakeFolder("Tarvin.cfg.tmp");  // the new file cannot be created
  config.keypressTimeout = 50;
  EXPECT_FALSE(WriteConfig(config));
  EXPECT_EQ(Get("Tarvin.cfg"), kDefaultFile);
  EXPECT_EQ(config.keypressTimeout, 50) << "the record keeps its values";
}

TEST_F(ConfigTest, AFileThatCannotBeReplacedIsReportedAndNoTemporaryFileStays) {
  MakeFolder("Tarvin.cfg");
  EXPECT_FALSE(WriteConfig(config));
  EXPECT_FALSE(Has("Tarvin.cfg.tmp"));
  EXPECT_FALSE(ReadConfig(config)) << "a folder of that name is no configuration";
  EXPECT_TRUE(Same(config, defaults));
}

// Only a missing file is replaced by defaults. One that is there but cannot be read holds the
// user's settings: it is left alone, and the program runs on what it has in memory.
TEST_F(ConfigTest, AFileThatCannotBeReadIsLeftAlone) {
  const std::string mine = "Layout1 Mine.TVL\r\nHintMode 0001\r\nKeypressTimeOut 0190\r\n";
  for (const auto access : {sim::SimDevice::FileAccess::ReadDenied, sim::SimDevice::FileAccess::HeldOpen}) {
    Put("Tarvin.cfg", mine);
    device.SetFileAccess(u"\\Program Files\\Tarvin\\Tarvin.cfg", access);
    SetConfigDefaults(config);
    EXPECT_FALSE(ReadConfig(config)) << "nothing was read";
    EXPECT_TRUE(Same(config, defaults)) << "the first read leaves the defaults";
    EXPECT_EQ(Get("Tarvin.cfg"), mine) << "the settings are still there";
    EXPECT_FALSE(Has("Tarvin.cfg.tmp"));

    device.SetFileAccess(u"\\Program Files\\Tarvin\\Tarvin.cfg", sim::SimDevice::FileAccess::Open);
    ASSERT_TRUE(ReadConfig(config));
    EXPECT_EQ(Utf8(config.layoutFiles[0]), "Mine.TVL") << "once readable, they come back";
    EXPECT_EQ(config.keypressTimeout, 400);

    device.SetFileAccess(u"\\Program Files\\Tarvin\\Tarvin.cfg", access);
    EXPECT_FALSE(ReadConfig(config));
    EXPECT_EQ(Utf8(config.layoutFiles[0]), "Mine.TVL") << "a re-read that fails keeps what was read before";
    EXPECT_EQ(config.hintMode, 1);
    device.SetFileAccess(u"\\Program Files\\Tarvin\\Tarvin.cfg", sim::SimDevice::FileAccess::Open);
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(ConfigTest, ALeftoverTemporaryFileIsNeitherReadNorKept) {
  Put("Tarvin.cfg", "HintMode 0001\r\n");
  Put("Tarvin.cfg.tmp", "; Tarvin Typist configuration file\r\nSwitchK");  // cut off by a power loss
  EXPECT_TRUE(ReadConfig(config));
  EXPECT_EQ(config.hintMode, 1);
  ASSERT_TRUE(WriteConfig(config));
  EXPECT_FALSE(Has("Tarvin.cfg.tmp"));
  EXPECT_EQ(Line(Get("Tarvin.cfg"), "HintMode"), "HintMode 0001");
}

TEST_F(ConfigTest, ALineBreakInATextCannotAddLinesToTheFile) {
  Set(config.defaultHint, u"EN\r\nHintPos 22");
  ASSERT_TRUE(WriteConfig(config));
  EXPECT_EQ(Line(Get("Tarvin.cfg"), "DefaultHint"), "DefaultHint EN  HintPos 22");
  config.hintMode = 5;
  ASSERT_TRUE(WriteConfig(config));
  MapperConfig read;
  SetConfigDefaults(read);
  EXPECT_TRUE(ReadConfig(read));
  EXPECT_EQ(read.hintMode, 5) << "no reset";
  EXPECT_EQ(Utf8(read.defaultHint), "EN  HintPos 22");
}

class CyrillicConfigTest : public ConfigTest {
 protected:
  CyrillicConfigTest() : ConfigTest(1251) {}
};

TEST_F(CyrillicConfigTest, StoresTextInTheDeviceCodePage) {
  Set(config.layoutFiles[0], u"\u0420\u0443\u0441\u0441\u043A\u0430\u044F.TVL");
  ASSERT_TRUE(WriteConfig(config));
  EXPECT_EQ(Line(Get("Tarvin.cfg"), "Layout1"), "Layout1 \xD0\xF3\xF1\xF1\xEA\xE0\xFF.TVL");
  MapperConfig read;
  SetConfigDefaults(read);
  EXPECT_TRUE(ReadConfig(read));
  EXPECT_TRUE(Same(read, config));
}

class DoubleByteConfigTest : public ConfigTest {
 protected:
  DoubleByteConfigTest() : ConfigTest(932) {}
};

TEST_F(DoubleByteConfigTest, ShortensATextThatWouldNotFitOneLineByWholeCharacters) {
  Set(config.layoutFiles[0], std::u16string(126, u'\u65E5'));  // two bytes each in code page 932
  ASSERT_TRUE(WriteConfig(config));
  const std::string line = Line(Get("Tarvin.cfg"), "Layout1");
  std::string expected = "Layout1 ";
  for (int i = 0; i < 121; ++i) expected += "\x93\xFA";  // 250 bytes: the most one line holds
  EXPECT_EQ(line, expected);
  MapperConfig read;
  SetConfigDefaults(read);
  EXPECT_TRUE(ReadConfig(read));
  EXPECT_EQ(std::u16string(read.layoutFiles[0]), std::u16string(121, u'\u65E5'));
  EXPECT_EQ(std::u16string(read.layoutFiles[1]), u"<Unassigned>") << "the next line is read as before";
}

}  // namespace
