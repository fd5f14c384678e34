#include "platform/wtext.h"

#include <gtest/gtest.h>

#include <string>

TEST(WText, FormatCoversTheProductsPlaceholders) {
  struct Case {
    std::u16string expected;
    bool ok;
    std::u16string got;
  };
  plat::WChar buf[64];
  std::vector<Case> cases;
  bool ok = wtext::Format(buf, 64, u"%s(%d): %s", u"Bad.TVL", 3, u"Invalid keyword \"foo\"");
  cases.push_back({u"Bad.TVL(3): Invalid keyword \"foo\"", true, buf});
  EXPECT_TRUE(ok);
  ok = wtext::Format(buf, 64, u"Missing %s %X definition", u"Key2", 0x41);
  cases.push_back({u"Missing Key2 41 definition", true, buf});
  ok = wtext::Format(buf, 64, u"Exec ID %04X not found|%04X|%x|%d|%u|%c|100%%", 3, 0xABCDE, 255, -12, 7u, 0x424);
  cases.push_back({u"Exec ID 0003 not found|ABCDE|ff|-12|7|\u0424|100%", true, buf});
  for (const auto& c : cases) EXPECT_EQ(c.got, c.expected);
}

TEST(WText, WritersNeverPassTheirCapacity) {
  plat::WChar buf[6] = {u'x', u'x', u'x', u'x', u'x', u'x'};
  EXPECT_FALSE(wtext::Format(buf, 5, u"%s", u"abcdef"));
  EXPECT_EQ(std::u16string(buf), u"abcd");
  EXPECT_EQ(buf[5], u'x');
  EXPECT_FALSE(wtext::Copy(buf, 3, u"abc"));
  EXPECT_EQ(std::u16string(buf), u"ab");
  EXPECT_TRUE(wtext::Copy(buf, 4, u"abc"));
  EXPECT_FALSE(wtext::Append(buf, 5, u"de"));
  EXPECT_EQ(std::u16string(buf), u"abcd");
  EXPECT_TRUE(wtext::CopyN(buf, 6, u"abcdef", 2));
  EXPECT_EQ(std::u16string(buf), u"ab");
}

TEST(WText, LowerAndCaselessCompare) {
  plat::WChar s[] = u"KeY2 \u0416\u00C9";
  wtext::Lower(s);
  EXPECT_EQ(std::u16string(s), u"key2 \u0436\u00E9");
  EXPECT_TRUE(wtext::EqualNoCase(u"CapslockKey", u"capslockkey"));
  EXPECT_FALSE(wtext::EqualNoCase(u"Key", u"Key2"));
  EXPECT_TRUE(wtext::StartsWith(u"Afx:1234", u"Afx:"));
  EXPECT_FALSE(wtext::StartsWith(u"Af", u"Afx:"));
}
