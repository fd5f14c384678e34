// Hex words, key sets and output codes.
#include "layoutfiles/value_reader.h"

#include <gtest/gtest.h>

#include "platform/sim/device.h"

namespace {

struct HexCase {
  const char* text;
  bool ok;
  uint16_t word;
  const char* rest;
};

TEST(ReadHexWord, TakesExactlyFourDigitsAndHandsBackTheRestWithItsCase) {
  const HexCase cases[] = {
      {"0141", true, 0x0141, ""},
      {"  00ff  rest", true, 0x00FF, "rest"},
      {"AbCd", true, 0xABCD, ""},
      {"0001 \"\\Windows\\Notes.EXE\" HTTP://X/Y", true, 0x0001, "\"\\Windows\\Notes.EXE\" HTTP://X/Y"},
      {"1234g", true, 0x1234, "g"},
      {"0041,0042", true, 0x0041, ",0042"},
      {"12345", false, 0, nullptr},
      {"123", false, 0, nullptr},
      {"12g4", false, 0, nullptr},
      {"", false, 0, nullptr},
      {" \t ", false, 0, nullptr},
      {"x0041", false, 0, nullptr},
  };
  for (const HexCase& c : cases) {
    const std::u16string text = sim::FromUtf8(c.text);
    const WChar* p = text.c_str();
    uint16_t word = 0xEEEE;
    ASSERT_EQ(ReadHexWord(p, word), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(word, c.word) << c.text;
      EXPECT_EQ(sim::ToUtf8(p), c.rest) << c.text;
    } else {
      EXPECT_EQ(p, text.c_str()) << "a failed read leaves the text: " << c.text;
    }
  }
}

TEST(ReadKeySet, FillsLeadingSlotsWithUpToFourScanWords) {
  KeySet set = {{0x1111, 0x2222, 0x3333, 0x4444}};
  EXPECT_TRUE(ReadKeySet(u"", set));
  EXPECT_TRUE(KeySetsEqual(set, KeySet{{0x1111, 0x2222, 0x3333, 0x4444}})) << "no words leave the set";
  EXPECT_TRUE(ReadKeySet(u"0014 0114", set));
  EXPECT_TRUE(KeySetsEqual(set, KeySet{{0x0014, 0x0114, 0x3333, 0x4444}})) << "only leading slots are written";

  KeySet five = {};
  EXPECT_TRUE(ReadKeySet(u"0031 0032 0033 0034 0035", five));
  EXPECT_TRUE(KeySetsEqual(five, KeySet{{0x0031, 0x0032, 0x0033, 0x0034}}));

  for (const char16_t* bad : {u"0100", u"0041 0000", u"0041 zz", u"00411", u"41"}) {
    KeySet s = {};
    EXPECT_FALSE(ReadKeySet(bad, s)) << sim::ToUtf8(bad);
  }
}

struct CodeCase {
  const char* text;
  bool ok;
  uint8_t kind;
  uint16_t value;
};

TEST(ReadOutputCode, ReadsPrefixAndWordAndAllowsOnlyLayoutCommands) {
  const CodeCase cases[] = {
      {"c0444", true, Char, 0x0444},
      {"K0251", true, Keystroke, 0x0251},
      {"E0120", true, Command, 0x0120},
      {"c 007A", true, Char, 0x007A},
      {"cFFFF", true, Char, 0xFFFF},
      {"kFFFF", true, Keystroke, 0xFFFF},
      {"e0000", true, Command, 0x0000},
      {"e00FF", true, Command, 0x00FF},
      {"e0101", true, Command, 0x0101},
      {"e0105", true, Command, 0x0105},
      {"e0110", true, Command, 0x0110},
      {"e0113", true, Command, 0x0113},
      {"e011F", true, Command, 0x011F},
      {"e0121", true, Command, 0x0121},
      {"e0200", true, Command, 0x0200},
      {"e02FF", true, Command, 0x02FF},
      {"e0100", false, 0, 0},
      {"e0106", false, 0, 0},
      {"e0114", false, 0, 0},
      {"e011E", false, 0, 0},
      {"e0122", false, 0, 0},
      {"e0300", false, 0, 0},
      {"x0041", false, 0, 0},
      {"0041", false, 0, 0},
      {"", false, 0, 0},
      {"c004", false, 0, 0},
  };
  for (const CodeCase& c : cases) {
    const std::u16string text = sim::FromUtf8(c.text);
    const WChar* p = text.c_str();
    OutputKind kind = Command;
    uint16_t value = 0;
    ASSERT_EQ(ReadOutputCode(p, kind, value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(kind, c.kind) << c.text;
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(ReadOutputCode, TwoCodesWithoutABlankReadOnlyWhenTheSecondPrefixIsNoHexDigit) {
  const WChar* p = u"c0061k0062";
  OutputKind kind;
  uint16_t value;
  ASSERT_TRUE(ReadOutputCode(p, kind, value));
  ASSERT_TRUE(ReadOutputCode(p, kind, value));
  EXPECT_EQ(kind, Keystroke);
  EXPECT_EQ(value, 0x0062);
  for (const char16_t* glued : {u"c0061c0062", u"c0061e0062"}) {
    const WChar* q = glued;
    EXPECT_FALSE(ReadOutputCode(q, kind, value)) << sim::ToUtf8(glued);
  }
}

}  // namespace
