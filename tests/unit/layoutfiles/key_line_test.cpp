// Key lines: the column fill rules with zero to three accent sets and with and without the ICQ
// group, the order of press levels and the key table's limit.
#include "layoutfiles/key_line.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>

#include "platform/sim/device.h"

namespace {

std::unique_ptr<KeyLayout> LayoutWithAccents(int accentSets) {
  auto layout = std::make_unique<KeyLayout>();
  ClearLayout(*layout);
  if (accentSets >= 1) layout->accentKeys.words[0] = 0x00C0;
  if (accentSets >= 2) layout->accent2Keys.words[0] = 0x01C0;
  if (accentSets >= 3) layout->accent3Keys.words[0] = 0x02C0;
  return layout;
}

// "c0001 c0002 ..." with n codes.
std::u16string Codes(int n) {
  std::u16string text = u"0041";
  for (int i = 1; i <= n; ++i) text += u" c000" + std::u16string(1, static_cast<char16_t>(u'0' + i));
  return text;
}

using Columns = std::array<uint16_t, kColumns>;

struct FillCase {
  int accentSets;
  int codes;
  Columns columns;      // the code number in each column, when the line reads
  const char* message;  // otherwise
};

TEST(ReadKeyLine, FillsEveryColumnFromTheCodesGiven) {
  const FillCase cases[] = {
      {0, 1, {1, 1, 1, 1, 1, 1, 1, 1}, nullptr},
      {0, 2, {1, 1, 1, 1, 2, 2, 2, 2}, nullptr},
      {0, 3, {}, "Too many code definitions"},
      {0, 0, {}, "Invalid <Normal> code definition"},
      {1, 1, {}, "Invalid <Accented> code definition"},
      {1, 2, {1, 2, 2, 2, 1, 2, 2, 2}, nullptr},
      {1, 3, {}, "Invalid <ICQ Accented> code definition"},
      {1, 4, {1, 2, 2, 2, 3, 4, 4, 4}, nullptr},
      {1, 5, {}, "Too many code definitions"},
      {2, 2, {}, "Invalid <Accented2> code definition"},
      {2, 3, {1, 2, 3, 3, 1, 2, 3, 3}, nullptr},
      {2, 5, {}, "Invalid <ICQ Accented2> code definition"},
      {2, 6, {1, 2, 3, 3, 4, 5, 6, 6}, nullptr},
      {3, 3, {}, "Invalid <Accented3> code definition"},
      {3, 4, {1, 2, 3, 4, 1, 2, 3, 4}, nullptr},
      {3, 7, {}, "Invalid <ICQ Accented3> code definition"},
      {3, 8, {1, 2, 3, 4, 5, 6, 7, 8}, nullptr},
      {3, 9, {}, "Too many code definitions"},
  };
  for (const FillCase& c : cases) {
    auto layout = LayoutWithAccents(c.accentSets);
    ReaderMessage message;
    const bool ok = ReadKeyLine(*layout, 0, Codes(c.codes).c_str(), message);
    const std::string where = std::to_string(c.accentSets) + " accent sets, " + std::to_string(c.codes) + " codes";
    if (c.message != nullptr) {
      EXPECT_FALSE(ok) << where;
      EXPECT_EQ(sim::ToUtf8(message), c.message) << where;
      EXPECT_EQ(layout->keyCount, 0) << where;
      continue;
    }
    ASSERT_TRUE(ok) << where << ": " << sim::ToUtf8(message);
    ASSERT_EQ(layout->keyCount, 1);
    const KeyDef& key = layout->keys[0];
    EXPECT_EQ(key.pressLevels, 1);
    for (int column = 0; column < kColumns; ++column) {
      EXPECT_EQ(key.kinds[0][column], Char) << where;
      EXPECT_EQ(key.values[0][column], c.columns[column]) << where << ", column " << column;
    }
  }
}

TEST(ReadKeyLine, NamesTheFirstBadCodeOfAnIcqGroup) {
  auto layout = LayoutWithAccents(0);
  ReaderMessage message;
  EXPECT_FALSE(ReadKeyLine(*layout, 0, u"0041 c0001 x0002", message));
  EXPECT_EQ(sim::ToUtf8(message), "Invalid <ICQ Normal> code definition");
}

TEST(ReadKeyLine, AddsPressLevelsInOrderToOneDefinitionPerScanWord) {
  auto layout = LayoutWithAccents(0);
  ReaderMessage message;
  ASSERT_TRUE(ReadKeyLine(*layout, 0, u"0041 c0061", message));
  ASSERT_TRUE(ReadKeyLine(*layout, 0, u"0141 c0041", message));
  ASSERT_TRUE(ReadKeyLine(*layout, 1, u"0041 k0251 e0120", message));
  EXPECT_EQ(layout->keyCount, 2);
  EXPECT_EQ(layout->keys[0].pressLevels, 2);
  EXPECT_EQ(layout->keys[0].kinds[1][ColNormal], Keystroke);
  EXPECT_EQ(layout->keys[0].values[1][ColNormal], 0x0251);
  EXPECT_EQ(layout->keys[0].kinds[1][ColIcqAccented3], Command);
  EXPECT_EQ(layout->keys[0].values[1][ColIcqAccented3], 0x0120);
  EXPECT_EQ(layout->keys[1].scanWord, 0x0141);
  EXPECT_EQ(layout->keys[1].pressLevels, 1);

  struct {
    int level;
    const char16_t* value;
    const char* message;
  } faults[] = {
      {1, u"0042 c0062", "Missing Key2 42 definition"},
      {0, u"0041 c0061", "Missing Key 41 definition"},
      {1, u"0041 c0061", "Missing Key2 41 definition"},
      {3, u"0141 c0061", "Missing Key4 141 definition"},
      {0, u"0100 c0061", "Invalid scan code in Key parameter"},
      {0, u"00411 c0061", "Invalid scan code in Key parameter"},
      {0, u"", "Invalid scan code in Key parameter"},
  };
  for (const auto& f : faults) {
    EXPECT_FALSE(ReadKeyLine(*layout, f.level, f.value, message)) << f.message;
    EXPECT_EQ(sim::ToUtf8(message), f.message);
  }
  EXPECT_EQ(layout->keyCount, 2);
  EXPECT_EQ(layout->keys[0].pressLevels, 2) << "a failed line leaves the definitions as they were";
}

TEST(ReadKeyLine, AllowsSixLevelsAnd200Keys) {
  auto layout = LayoutWithAccents(0);
  ReaderMessage message;
  for (int level = 0; level < kMaxPressLevels; ++level) {
    ASSERT_TRUE(ReadKeyLine(*layout, level, u"0031 c0031", message)) << level;
  }
  EXPECT_EQ(layout->keys[0].pressLevels, 6);
  EXPECT_FALSE(ReadKeyLine(*layout, 6, u"0031 c0031", message)) << "there is no seventh level";

  for (int key = 1; key < kMaxKeys; ++key) {  // 0101 .. 01C7
    char line[16];
    std::snprintf(line, sizeof line, "%04X c0061", 0x0100 + key);
    ASSERT_TRUE(ReadKeyLine(*layout, 0, sim::FromUtf8(line).c_str(), message)) << line;
  }
  ASSERT_EQ(layout->keyCount, kMaxKeys);
  EXPECT_TRUE(ReadKeyLine(*layout, 1, u"0141 c0061", message)) << "a new level of a known key still fits";
  EXPECT_FALSE(ReadKeyLine(*layout, 0, u"0020 c0061", message));
  EXPECT_EQ(sim::ToUtf8(message), "Too many keys defined");
  EXPECT_EQ(layout->keyCount, kMaxKeys);
}

}  // namespace
