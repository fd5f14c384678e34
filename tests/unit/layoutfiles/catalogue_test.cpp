// The layout catalogue: which files of the program folder are listed, under which names.
#include "layoutfiles/catalogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "tests/unit/layoutfiles/reader_fixture.h"

namespace {

class CatalogueTest : public DeviceTest {
 protected:
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
