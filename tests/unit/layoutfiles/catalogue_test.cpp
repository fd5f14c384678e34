// The layout catalogue: which files of the program folder are listed, under which names.
#include "layoutfiles/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include "layoutfiles/config_file.h"

#include "tests/unit/layoutfiles/reader_fixture.h"

namespace {

class CatalogueTest : public DeviceTest {
 protected:
  explicit CatalogueTest(uint32_t codePage = 1252) : DeviceTest(codePage) {}
  std::vector<std::pair<std::string, std::string>> Entries() const {
    std::vector<std::pair<std::string, std::string>> out;
    for (int i = 0; i < catalogue->count; ++i) {
      out.emplace_back(Utf8(catalogue->entries[i].fileName), Utf8(catalogue->entries[i].layoutName));
    }
    return out;
  }
  std::unique_ptr<LayoutCatalogue> catalogue = std::make_unique<LayoutCatalogue>();
};

TEST_F(CatalogueTest, AnEmptyFolderGivesAnEmptyCatalogue) {
  std::memset(catalogue.get(), 0x5A, sizeof(LayoutCatalogue));
  EXPECT_TRUE(BuildLayoutCatalogue(*catalogue));
  EXPECT_EQ(catalogue->count, 0);
  EXPECT_EQ(catalogue->entries[0].fileName[0], 0) << "the catalogue is cleared";
}

TEST_F(CatalogueTest, ListsTheLayoutFilesThatReadAndShowsWhyOthersDoNot) {
  Put("A.TVL", "Layout Russian\r\nHint RU\r\n");
  Put("b.tvl", "Layout Russian\r\nHint R2\r\n");
  Put("C.TVL", "Layout No Hint\r\n\r\n");
  Put("D.TVL.bak", "Layout Backup\r\nHint B\r\n");
  Put("notes.txt", "Layout Notes\r\nHint N\r\n");
  Put("Tarvin.cfg", "Layout1 A.TVL\r\n");
  Put("E.TVL", "Layout E\r\nHint E\r\nBogus 1\r\n");
  EXPECT_TRUE(BuildLayoutCatalogue(*catalogue));
  EXPECT_EQ(Entries(), (std::vector<std::pair<std::string, std::string>>{{"A.TVL", "Russian"}, {"b.tvl", "Russian"}}));
  const std::vector<ShownBox> boxes = Boxes();
  ASSERT_EQ(boxes.size(), 2u) << "one box per faulty file, in listing order";
  EXPECT_EQ(boxes[0].text, "C.TVL(3): No valid layout hint text was found!");
  EXPECT_EQ(boxes[0].title, "Error reading layout");
  EXPECT_EQ(boxes[0].flags, 0x50010u);
  EXPECT_EQ(boxes[1].text, "E.TVL(3): Invalid keyword \"bogus\"");
}

TEST_F(CatalogueTest, RefusesAFileNameTooLongForALayoutWithAMessage) {
  const std::string longName = std::string(100, 'L') + ".TVL";
  Put(longName, "Layout Long\r\nHint L\r\n");
  Put("Short.TVL", "Layout Short\r\nHint S\r\n");
  EXPECT_TRUE(BuildLayoutCatalogue(*catalogue));
  EXPECT_EQ(Entries(), (std::vector<std::pair<std::string, std::string>>{{"Short.TVL", "Short"}}));
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text,
            "File name \"" + longName + "\" is too long: a layout file name has at most 62 characters");
  EXPECT_EQ(Boxes()[0].title, "Error");
  EXPECT_EQ(Boxes()[0].flags, plat::kMbOk);
}

// A listed file name goes into a layout slot of the configuration file, which has no escape: a
// name that would not read back from there (a comment sign, a line break, a blank at its start,
// a character of no ANSI code page) would keep the engine from starting. It is left out, saying
// which character.
TEST_F(CatalogueTest, LeavesOutFileNamesTheConfigurationCannotHold) {
  const struct {
    std::string name;
    std::string character;  // as the message shows it
  } refused[] = {
      {"Russian;Old.TVL", "\";\" (U+003B)"},
      {"\xD0\x96.TVL", "\"\xD0\x96\" (U+0416)"},  // no such letter in code page 1252
      {"Two\nLines.TVL", "U+000A"},
      {"Cr\rLf.TVL", "U+000D"},
      {" Lead.TVL", "\" \" (U+0020)"},
      {"\xF0\x9F\x98\x80.TVL", "\"\xF0\x9F\x98\x80\" (U+1F600)"},
  };
  const std::vector<std::string> listed = {"Caf\xC3\xA9.TVL", "Mid  Spaces.TVL", "Plain, Comma (1).TVL"};
  for (const auto& r : refused) Put(r.name, "Layout Refused\r\nHint R\r\n");
  for (const std::string& name : listed) Put(name, "Layout Listed\r\nHint L\r\n");
  EXPECT_TRUE(BuildLayoutCatalogue(*catalogue));

  std::vector<std::string> names;
  for (const auto& entry : Entries()) names.push_back(entry.first);
  std::vector<std::string> sorted = listed;
  std::sort(sorted.begin(), sorted.end());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, sorted);

  std::vector<std::string> shown;
  for (const ShownBox& box : Boxes()) {
    EXPECT_EQ(box.title, "Error") << box.text;
    EXPECT_EQ(box.flags, plat::kMbOk) << box.text;
    shown.push_back(box.text);
  }
  std::vector<std::string> expected;
  for (const auto& r : refused) {
    expected.push_back("Layout file \"" + r.name + "\" is left out: its name holds the character " + r.character +
                       ", which the configuration file cannot store");
  }
  std::sort(shown.begin(), shown.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(shown, expected);

  // What is listed does come back from the configuration file.
  for (int i = 0; i < catalogue->count; ++i) {
    MapperConfig config;
    SetConfigDefaults(config);
    std::memcpy(config.layoutFiles[1], catalogue->entries[i].fileName, sizeof config.layoutFiles[1]);
    ASSERT_TRUE(WriteConfig(config));
    MapperConfig read;
    SetConfigDefaults(read);
    ASSERT_TRUE(ReadConfig(read));
    EXPECT_EQ(std::u16string(read.layoutFiles[1]), std::u16string(catalogue->entries[i].fileName));
  }
}

class CyrillicCatalogueTest : public CatalogueTest {
 protected:
  CyrillicCatalogueTest() : CatalogueTest(1251) {}
};

TEST_F(CyrillicCatalogueTest, ListsNamesTheDeviceCodePageHolds) {
  Put("\xD0\xA0\xD1\x83\xD1\x81.TVL", "Layout Rus\r\nHint R\r\n");
  Put("Caf\xC3\xA9.TVL", "Layout Cafe\r\nHint C\r\n");  // no such letter in code page 1251
  EXPECT_TRUE(BuildLayoutCatalogue(*catalogue));
  EXPECT_EQ(Entries(), (std::vector<std::pair<std::string, std::string>>{{"\xD0\xA0\xD1\x83\xD1\x81.TVL", "Rus"}}));
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text,
            "Layout file \"Caf\xC3\xA9.TVL\" is left out: its name holds the character \"\xC3\xA9\" (U+00E9), which "
            "the configuration file cannot store");
}

TEST_F(CatalogueTest, LeavesOutAFileLongerThanTheReaderTakes) {
  const std::string head = "Layout Long\r\nHint L\r\n";
  Put("AtLimit.TVL", head + std::string(66558 - head.size(), ';'));
  Put("Over.TVL", head + std::string(66559 - head.size(), ';'));
  EXPECT_TRUE(BuildLayoutCatalogue(*catalogue));
  EXPECT_EQ(Entries(), (std::vector<std::pair<std::string, std::string>>{{"AtLimit.TVL", "Long"}}));
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text, "File \"Over.TVL\" is too long: a layout file has at most 66558 bytes");
  EXPECT_EQ(Boxes()[0].title, "Error");
}

TEST_F(CatalogueTest, StopsAt32LayoutsWithoutOverrun) {
  for (int i = 0; i < 40; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "L%02d.TVL", i);
    Put(name, "Layout Layout " + std::to_string(i) + "\r\nHint H\r\n");
  }
  EXPECT_TRUE(BuildLayoutCatalogue(*catalogue));
  ASSERT_EQ(catalogue->count, kMaxCatalogueEntries);
  EXPECT_EQ(Utf8(catalogue->entries[31].fileName), "L31.TVL");
  EXPECT_EQ(Utf8(catalogue->entries[31].layoutName), "Layout 31");
}

}  // namespace
