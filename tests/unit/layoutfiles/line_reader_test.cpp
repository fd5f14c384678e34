// The line reader: comments, blank lines, line ends and numbers, the 250-byte rule, and keyword
// and value as they come back.
#include "layoutfiles/line_reader.h"

#include <gtest/gtest.h>

#include "tests/unit/layoutfiles/reader_fixture.h"

namespace {

struct Line {
  int number;
  std::string keyword;
  std::string value;
  bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& l) {
  return out << "{" << l.number << ", \"" << l.keyword << "\", \"" << l.value << "\"}";
}

class LineReaderTest : public DeviceTest {
 protected:
  std::vector<Line> ReadAll(const std::string& text, int* endLine = nullptr) {
    std::vector<Line> lines;
    const char* position = text.c_str();
    int number = 1;
    WChar keyword[kKeywordLength];
    WChar value[kValueLength];
    while (ReadLayoutLine(position, number, keyword, value)) {
      lines.push_back({number, Utf8(keyword), Utf8(value)});
      if (lines.size() > 1000) break;
    }
    if (endLine != nullptr) *endLine = number;
    return lines;
  }
};

struct LineCase {
  const char* name;
  std::string text;
  std::vector<Line> lines;
};

TEST_F(LineReaderTest, SplitsTextIntoKeywordLines) {
  const LineCase cases[] = {
      {"comments and blank lines are skipped",
       "; Russian layout\r\n\r\n   \t\r\nLayout Russian, Full-size Keyboard\r\nHint RU ; short\r\n",
       {{4, "layout", "Russian, Full-size Keyboard"}, {5, "hint", "RU"}}},
      {"keyword lower-cased, value keeps its case", "KEY 0041 C007A\n", {{1, "key", "0041 C007A"}}},
      {"LF alone ends a line; CR ends the text but not the line count",
       "a 1\nb 2\r\nc 3\rd 4\n",
       {{1, "a", "1"}, {2, "b", "2"}, {3, "c", "3"}, {3, "d", "4"}}},
      {"a semicolon inside quotes still starts a comment", "Exec 0001 \"\\a;b.exe\"\n", {{1, "exec", "0001 \"\\a"}}},
      {"blanks around the value go, blanks inside stay", "\tHint\t  \x01 x \t y \t\r\n", {{1, "hint", "x \t y"}}},
      {"a keyword alone has an empty value", "\n\nShiftKey", {{3, "shiftkey", ""}}},
      {"bytes above 0x7F are characters of the code page", "Layout \xC9t\xE9\n", {{1, "layout", "\xC3\x89t\xC3\xA9"}}},
      {"a file of comments only has no lines", "; one\n;two\n", {}},
  };
  for (const LineCase& c : cases) {
    EXPECT_EQ(ReadAll(c.text), c.lines) << c.name;
  }
}

TEST_F(LineReaderTest, CountsEveryLineFeedUpToTheEnd) {
  int end = 0;
  ReadAll("Layout x\n\n;c\n\n", &end);
  EXPECT_EQ(end, 5) << "one more than the number of LF bytes";
  ReadAll("", &end);
  EXPECT_EQ(end, 1);
}

TEST_F(LineReaderTest, ReadsALongLineAs250BytesAndTheRestWithTheSameNumber) {
  // 300 characters: "Layout " and 293 x.
  std::vector<Line> lines = ReadAll("Hint h\nLayout " + std::string(293, 'x') + "\r\nKey 0041 c0041\n");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], (Line{2, "layout", std::string(243, 'x')}));
  EXPECT_EQ(lines[2], (Line{2, std::string(50, 'x'), ""}));
  EXPECT_EQ(lines[3], (Line{3, "key", "0041 c0041"}));
}

TEST_F(LineReaderTest, CountsNeitherLeadingBlanksNorTheCommentTowardsThe250) {
  const std::string value(240, 'v');
  std::vector<Line> lines = ReadAll(std::string(20, ' ') + "Hint " + value + " ;" + std::string(100, 'c') + "\n");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].value, value);
}

TEST_F(LineReaderTest, KeepsAnOverlongKeywordCutButNeverEmpty) {
  std::vector<Line> lines = ReadAll(std::string(100, 'K') + " value\n");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].keyword, std::string(kKeywordLength - 1, 'k'));
  EXPECT_EQ(lines[0].value, "value");
}

// A decoder of the caller's stands in for the device's code page (the keyword is still lower-cased);
// should it refuse, the line still reads, with U+FFFD for every byte outside ASCII, so that it never
// passes for a comment.
TEST_F(LineReaderTest, ConvertsThroughTheDecoderItIsGiven) {
  struct Decoding {
    const char* name;
    AnsiDecoder decoder;
    Line line;
  };
  // 0xC9 as the Cyrillic capital Ef, where the device's code page 1252 reads E acute.
  auto ef = [](void*, const char* bytes, WChar* out, size_t capacity) {
    size_t i = 0;
    for (; bytes[i] != 0 && i + 1 < capacity; ++i) {
      out[i] = bytes[i] == '\xC9' ? u'\u0424' : static_cast<WChar>(static_cast<uint8_t>(bytes[i]));
    }
    out[i] = 0;
    return bytes[i] == 0;
  };
  auto refuse = [](void*, const char*, WChar* out, size_t) {
    out[0] = 0;
    return false;
  };
  const Decoding cases[] = {
      {"the device's code page", kDeviceAnsi, {1, "layout\xC3\xA9", "\xC3\x89t"}},
      {"the caller's decoder", {ef, nullptr}, {1, "layout\xD1\x84", "\xD0\xA4t"}},
      {"a decoder that refuses", {refuse, nullptr}, {1, "layout\xEF\xBF\xBD", "\xEF\xBF\xBDt"}},
  };
  for (const Decoding& c : cases) {
    const std::string text = "Layout\xC9 \xC9t\n";
    const char* position = text.c_str();
    int number = 1;
    WChar keyword[kKeywordLength];
    WChar value[kValueLength];
    ASSERT_TRUE(ReadLayoutLine(position, number, keyword, value, c.decoder)) << c.name;
    EXPECT_EQ((Line{number, Utf8(keyword), Utf8(value)}), c.line) << c.name;
  }
}

}  // namespace
