// The three sample layouts of the device cabinet read without error and say what they promise.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "layoutfiles/layout_reader.h"
#include "tests/unit/layoutfiles/layout_invariants.h"
#include "tests/unit/layoutfiles/reader_fixture.h"

namespace {

std::string Resource(const std::string& name) {
  std::ifstream in(std::string(TARVIN_RESOURCES_DIR) + "/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class SampleLayoutTest : public DeviceTest {
 protected:
  void ReadSample(const std::string& name) {
    const std::string bytes = Resource(name);
    ASSERT_FALSE(bytes.empty()) << name;
    for (unsigned char c : bytes) ASSERT_TRUE(c < 0x80) << name << " holds ASCII only";
    Put(name, bytes);
    LayoutError error;
    ASSERT_TRUE(ReadLayoutFile(sim::FromUtf8(name).c_str(), *layout, error)) << Utf8(error.text);
    EXPECT_EQ(BrokenLayoutInvariant(*layout), "") << name;
  }
  const KeyDef& Key(ScanWord word) {
    const int index = FindKeyIndex(*layout, word);
    EXPECT_GE(index, 0) << std::hex << word;
    return layout->keys[index < 0 ? 0 : index];
  }
  // The Windows-1251 byte of a character, as ICQ windows expect it.
  static uint16_t Cp1251Byte(WChar c) {
    if (c >= 0x0410 && c <= 0x044F) return static_cast<uint16_t>(c - 0x0410 + 0xC0);
    if (c == 0x0401) return 0xA8;
    if (c == 0x0451) return 0xB8;
    return 0;
  }
};

TEST_F(SampleLayoutTest, SimpleSampleUsesTwoExecLinesAndAFewKeys) {
  ReadSample("Simple Sample.TVL");
  EXPECT_EQ(layout->execCount, 2);
  EXPECT_GE(layout->keyCount, 3);
  EXPECT_FALSE(KeySetEmpty(layout->accentKeys));
  // Every keyword is named in a comment line.
  std::string comments;
  std::istringstream lines(Resource("Simple Sample.TVL"));
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(";", 0) == 0) comments += line + " ";
  }
  for (const char* keyword :
       {"Layout:", "Hint:", "Hardware:", "ShiftKey,", "CapslockKey,", "CtrlKey,", "AltKey,", "WinKey:", "AccentKey,",
        "AccentKey2,", "AccentKey3:", "KeypressTimeout:", "Exec:", "Key:", "Key2 .. Key6:"}) {
    EXPECT_NE(comments.find(std::string(" ") + keyword), std::string::npos) << keyword << " is explained";
  }
}

TEST_F(SampleLayoutTest, RussianDefaultMapsLettersWithIcqCodes) {
  ReadSample("Russian Default.TVL");
  EXPECT_TRUE(KeySetsEqual(layout->capsLockKeys, KeySet{{0x0014, 0x0114, 0, 0}}));
  EXPECT_EQ(layout->internalCapsLock, 1);
  EXPECT_EQ(Key(0x0141).values[0][ColNormal], 0x0424);
  EXPECT_EQ(Key(0x0041).values[0][ColNormal], 0x0444);
  int letters = 0;
  for (int k = 0; k < layout->keyCount; ++k) {
    const KeyDef& key = layout->keys[k];
    const WChar letter = key.values[0][ColNormal];
    if (Cp1251Byte(letter) == 0) continue;
    ++letters;
    EXPECT_EQ(key.kinds[0][ColIcqNormal], Char);
    EXPECT_EQ(key.values[0][ColIcqNormal], Cp1251Byte(letter)) << std::hex << key.scanWord;
    const ScanWord other = key.scanWord ^ kFlagShift;
    EXPECT_GE(FindKeyIndex(*layout, other), 0) << "both cases of " << std::hex << key.scanWord;
  }
  EXPECT_EQ(letters, 66) << "33 letters, small and capital";
}

TEST_F(SampleLayoutTest, RussianSmartphonePutsFourLettersOnEachDigitKey) {
  ReadSample("Russian, Default Smartphone.TVL");
  for (ScanWord digit = '2'; digit <= '9'; ++digit) {
    for (ScanWord word : {digit, static_cast<ScanWord>(digit | kFlagShift)}) {
      const KeyDef& key = Key(word);
      EXPECT_EQ(key.pressLevels, 4) << std::hex << word;
      for (int level = 0; level < 4; ++level) {
        const WChar letter = key.values[level][ColNormal];
        EXPECT_NE(Cp1251Byte(letter), 0) << std::hex << word << " level " << level;
        EXPECT_EQ(letter >= 0x0430, (word & kFlagShift) == 0) << "small letters without Shift";
      }
    }
  }
  EXPECT_EQ(Key('2').values[0][ColNormal], 0x0430);
  EXPECT_EQ(Key('9').values[3][ColNormal], 0x044F);
  int toggles = 0;
  for (int k = 0; k < layout->keyCount; ++k) {
    const KeyDef& key = layout->keys[k];
    if (key.kinds[0][ColNormal] == Command && key.values[0][ColNormal] == 0x0101 && key.pressLevels >= 2 &&
        key.kinds[1][ColNormal] == Command && key.values[1][ColNormal] == 0x0102) {
      ++toggles;
    }
  }
  EXPECT_EQ(toggles, 1) << "one key: Shift on its first press, CapsLock on its second";
  EXPECT_EQ(layout->internalShift, 1);
  EXPECT_EQ(layout->internalCapsLock, 1);
}

}  // namespace
