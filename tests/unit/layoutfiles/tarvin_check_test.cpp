// tarvin-check, run as a program: its lines, its dump and its exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/unit/support/temp_folder.h"

namespace {

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class TarvinCheckTest : public ::testing::Test {
 protected:
  ToolRun Check(const std::vector<std::string>& args) {
    std::string command = Quote(TARVIN_CHECK_PATH);
    for (const std::string& a : args) command += " " + Quote(a);
    command += " 2>" + Quote(folder.path() + "/stderr.txt");
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
      ADD_FAILURE() << "cannot run " << command;
      return {-1, "", ""};
    }
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = folder.Read("stderr.txt");
    return run;
  }
  std::string In(const std::string& name) const { return folder.path() + "/" + name; }

  testing_support::TempFolder folder;
};

TEST_F(TarvinCheckTest, ReadsTheSampleLayouts) {
  const std::string dir = TARVIN_RESOURCES_DIR;
  const ToolRun run =
      Check({dir + "/Simple Sample.TVL", dir + "/Russian Default.TVL", dir + "/Russian, Default Smartphone.TVL"});
  EXPECT_EQ(run.out,
            "Simple Sample.TVL: ok: Simple Sample\n"
            "Russian Default.TVL: ok: Russian, Full-size Keyboard\n"
            "Russian, Default Smartphone.TVL: ok: Russian, Smartphone Keypad\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
}

TEST_F(TarvinCheckTest, PrintsTheDevicesMessageForFilesThatDoNotRead) {
  folder.Write("Bad.TVL", "Layout B\r\nHint B\r\nfoo bar\r\n");
  folder.Write("Good.TVL", "Layout Good\r\nHint G\r\n");
  folder.Write("NoHint.TVL", "Layout N\n");
  const ToolRun run = Check({In("Bad.TVL"), In("Good.TVL"), In("Missing.TVL"), In("NoHint.TVL")});
  EXPECT_EQ(run.out,
            "Bad.TVL(3): Invalid keyword \"foo\"\n"
            "Good.TVL: ok: Good\n"
            "Error opening file \"Missing.TVL\" for reading\n"
            "NoHint.TVL(2): No valid layout hint text was found!\n");
  EXPECT_EQ(run.status, 1);
}

// The device's rules, not the host's: its code page in the message, its byte limit, its refusal of
// long names, its file names without regard to case, and no reading of anything but a file.
TEST_F(TarvinCheckTest, ReadsEachFileByTheDevicesRules) {
  const std::string head = "Layout T\r\nHint H\r\n";
  const std::string full = head + std::string(66558 - head.size() - 1, ';') + "\n";  // the device reads this much
  const std::string longName = std::string(59, 'n') + ".TVL";
  folder.Write("Ru.TVL", head + "\xCA\xEB\xE0\xE2\xE8\xF8\xE0 0041\r\n");
  folder.Write("Full.TVL", full);
  folder.Write("Over.TVL", full + "K");
  folder.Write(longName, head);
  folder.Write("Mixed.TvL", head);
  std::filesystem::create_directories(In("Folder.TVL"));
  const struct {
    std::vector<std::string> args;
    std::string out;
    int status;
  } cases[] = {
      {{"--codepage", "1251", In("Ru.TVL")},
       "Ru.TVL(3): Invalid keyword \"\xD0\xBA\xD0\xBB\xD0\xB0\xD0\xB2\xD0\xB8\xD1\x88\xD0\xB0\"\n",
       1},
      {{In("Full.TVL")}, "Full.TVL: ok: T\n", 0},
      {{In("Over.TVL")}, "File \"Over.TVL\" is too long: a layout file has at most 66558 bytes\n", 1},
      {{In(longName)}, "File name \"" + longName + "\" is too long: a layout file name has at most 62 characters\n", 1},
      {{In("MIXED.tvl")}, "MIXED.tvl: ok: T\n", 0},
      {{In("Folder.TVL")}, "Error opening file \"Folder.TVL\" for reading\n", 1},
      {{In("Wild*.TVL")}, "Error opening file \"Wild*.TVL\" for reading\n", 1},
      {{folder.path() + "/no-such-folder/Ru.TVL"}, "Error opening file \"Ru.TVL\" for reading\n", 1},
  };
  for (const auto& c : cases) {
    const ToolRun run = Check(c.args);
    EXPECT_EQ(run.out, c.out) << c.args.back();
    EXPECT_EQ(run.status, c.status) << c.args.back();
    EXPECT_EQ(run.err, "") << c.args.back();
  }
}

// Layout text never drives the terminal: its control characters are escaped in the names, hints,
// paths, file names and messages printed; other text, non-ASCII included, stays as it is.
TEST_F(TarvinCheckTest, EscapesControlCharactersOfLayoutText) {
  folder.Write("Red.TVL",
               "Layout R\x1B[31mE\x07"
               "D \xE9\r\nHint H\x1B]0:x\x07"
               "i\x7F\r\nExec 0001 a\x7F.exe\r\n");
  folder.Write("Bad.TVL", "Layout B\r\nHint B\r\nfoo\x7F\x1B[2J 0041\r\n");
  const ToolRun run = Check({"--dump", In("Red.TVL"), In("Bad.TVL"), In("No\x1B[2J\x07.TVL")});
  const std::string out = run.out;
  EXPECT_EQ(out.substr(0, out.find("hardware:")),
            "Red.TVL: ok: R\\u001B[31mE\\u0007D \xC3\xA9\n"
            "name: R\\u001B[31mE\\u0007D \xC3\xA9\n"
            "hint: H\\u001B]0:x\\u0007i\\u007F\n");
  const std::string tail = out.substr(out.find("exec "));
  EXPECT_EQ(tail,
            "exec 0001 path \"a\\u007F.exe\" params none\n"
            "Bad.TVL(3): Invalid keyword \"foo\\u007F\"\n"
            "Error opening file \"No\\u001B[2J\\u0007.TVL\" for reading\n");
  for (char c : out) EXPECT_FALSE((c >= 0 && c < 0x20 && c != '\n') || c == 0x7F) << static_cast<int>(c);
}

TEST_F(TarvinCheckTest, DumpsTheLayoutOfEachFileThatReads) {
  folder.Write("Dump.TVL",
               "Layout D\r\nHint Dee\r\nHardware Wizard\r\nShiftKey 0010 0110\r\nAccentKey 00C0\r\n"
               "KeypressTimeout 01F4\r\n"
               "Key 0041 c0061 c00E1\r\nKey2 0041 k0241 e0001 c0062 c0063\r\n"
               "Exec 0001 \"\\Windows\\My \\\"App\\\".exe\"\r\nExec 00FF x.exe Say \"Hi\"\r\n");
  folder.Write("Bad.TVL", "Layout\r\n");
  const ToolRun run = Check({"--dump", In("Dump.TVL"), In("Bad.TVL")});
  EXPECT_EQ(run.out,
            "Dump.TVL: ok: D\n"
            "name: D\n"
            "hint: Dee\n"
            "hardware: 1\n"
            "internal: shift=1 capslock=0 ctrl=0 alt=0 win=0\n"
            "shiftKeys: 0010 0110 0000 0000\n"
            "capsLockKeys: 0000 0000 0000 0000\n"
            "winKeys: 0000 0000 0000 0000\n"
            "ctrlKeys: 0000 0000 0000 0000\n"
            "altKeys: 0000 0000 0000 0000\n"
            "accentKeys: 00C0 0000 0000 0000\n"
            "accent2Keys: 0000 0000 0000 0000\n"
            "accent3Keys: 0000 0000 0000 0000\n"
            "keypressTimeout: 01F4\n"
            "key 0041 levels 2\n"
            "  0: c0061 c00E1 c00E1 c00E1 c0061 c00E1 c00E1 c00E1\n"
            "  1: k0241 e0001 e0001 e0001 c0062 c0063 c0063 c0063\n"
            "exec 0001 path \"\\\\Windows\\\\My \\\\\" params \"App\\\\\\\".exe\\\"\"\n"
            "exec 00FF path \"x.exe\" params \"Say \\\"Hi\\\"\"\n"
            "Bad.TVL(2): No valid layout name was found!\n");
  EXPECT_EQ(run.status, 1);
}

TEST_F(TarvinCheckTest, ReadsInTheCodePageGivenAndPrintsUtf8) {
  folder.Write("Ru.TVL", "Layout \xD0\xF3\xF1\r\nHint \xD0\xD3\r\n");
  EXPECT_EQ(Check({"--codepage", "1251", In("Ru.TVL")}).out, "Ru.TVL: ok: \xD0\xA0\xD1\x83\xD1\x81\n");
  EXPECT_EQ(Check({In("Ru.TVL")}).out, "Ru.TVL: ok: \xC3\x90\xC3\xB3\xC3\xB1\n") << "1252 by default";
}

TEST_F(TarvinCheckTest, RefusesBadUsageWithStatus2) {
  folder.Write("Good.TVL", "Layout Good\r\nHint G\r\n");
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--dump"},
      {"--verbose", In("Good.TVL")},
      {In("Good.TVL"), "--codepage"},
      {"--codepage", "abc", In("Good.TVL")},
      {"--codepage", "77777", In("Good.TVL")},
  };
  for (const auto& args : cases) {
    const ToolRun run = Check(args);
    const std::string shown = args.empty() ? "(none)" : args[0];
    EXPECT_EQ(run.status, 2) << shown;
    EXPECT_EQ(run.out, "") << shown;
    EXPECT_NE(run.err.find("usage: tarvin-check [--codepage CP] [--dump] FILE..."), std::string::npos) << shown;
  }
  EXPECT_EQ(Check({"--", In("Good.TVL")}).status, 0);
}

}  // namespace
