// The desktop command line of a started program: its own quoted path first, then its parameters.
#include "platform/win32/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
  const char* what;
  const char16_t* path;
  const char16_t* params;
  bool ok;
  std::u16string line;
};

TEST(CommandLine, QuotesThePathAndAppendsTheParameters) {
  const std::vector<Case> cases = {
      {"no parameters", u"C:\\Program Files\\Tarvin\\TarvinSettings.exe", nullptr, true,
       u"\"C:\\Program Files\\Tarvin\\TarvinSettings.exe\""},
      {"parameters", u"\\Windows\\pword.exe", u"-new \"My Notes.txt\"", true,
       u"\"\\Windows\\pword.exe\" -new \"My Notes.txt\""},
      {"empty parameters are none", u"C:\\a.exe", u"", true, u"\"C:\\a.exe\""},
      {"a quote would end the name early", u"C:\\a\".exe", u"x", false, u""},
      {"empty path", u"", u"x", false, u""},
      {"no path", nullptr, nullptr, false, u""},
  };
  for (const Case& c : cases) {
    plat::WChar buffer[128] = {u'x', 0};
    EXPECT_EQ(win32::BuildCommandLine(c.path, c.params, buffer, 128), c.ok) << c.what;
    EXPECT_EQ(std::u16string(buffer), c.line) << c.what;
  }
}

TEST(CommandLine, ALineThatDoesNotFitIsRefusedWholeAndNothingPassesTheBuffer) {
  const std::u16string full = u"\"C:\\a.exe\" -x";
  for (size_t capacity = 1; capacity <= full.size() + 1; ++capacity) {
    std::vector<plat::WChar> buffer(capacity + 1, u'#');
    const bool ok = win32::BuildCommandLine(u"C:\\a.exe", u"-x", buffer.data(), capacity);
    EXPECT_EQ(ok, capacity == full.size() + 1) << capacity;
    EXPECT_EQ(std::u16string(buffer.data()), ok ? full : u"") << capacity;
    EXPECT_EQ(buffer[capacity], u'#') << capacity;
  }
  EXPECT_FALSE(win32::BuildCommandLine(u"C:\\a.exe", nullptr, nullptr, 0));
}

}  // namespace
