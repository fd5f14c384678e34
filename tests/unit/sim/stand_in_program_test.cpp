// Starting a program file that no test installed: a stand-in runs and ends at once; without a file
// the start fails, so callers see the failure a device would give them.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/sim/device.h"
#include "tests/unit/support/temp_folder.h"

using sim::LogKind;
using sim::SimDevice;
using testing_support::TempFolder;

namespace {

sim::SimOptions Options(const TempFolder& folder) {
  sim::SimOptions o;
  o.hostFolder = folder.path();
  return o;
}

std::vector<int> StartPids(const SimDevice& d) {
  std::vector<int> pids;
  for (const auto& e : d.Log()) {
    if (e.kind == LogKind::Start) pids.push_back(static_cast<int>(e.a));
  }
  return pids;
}

}  // namespace

TEST(SimStandIn, AnExistingFileStartsAProgramThatExitsWithZero) {
  TempFolder folder;
  folder.Write("Windows/notes.exe", "");
  SimDevice d(Options(folder));
  plat::Process p = d.Start(u"\\Windows\\notes.exe", u"memo.txt");
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(d.RunUntilExit(p, 10));
  EXPECT_EQ(d.ExitCode(p), 0);
  EXPECT_EQ(d.Now(), 0u);  // it ends at once
  ASSERT_EQ(StartPids(d).size(), 1u);
  EXPECT_NE(StartPids(d)[0], 0);
}

TEST(SimStandIn, PathsThatNameNoFileFailToStart) {
  TempFolder folder;
  folder.Write("Windows/notes.exe", "");
  SimDevice d(Options(folder));
  const std::u16string paths[] = {
      u"\\Windows\\missing.exe",  // no such file
      u"\\Windows",               // a folder is not a program
      u"missing.exe",             // a bare name is looked for in \\Windows only
      u"",
  };
  for (const auto& path : paths) {
    SCOPED_TRACE(std::string(path.begin(), path.end()));
    EXPECT_EQ(d.Start(path), nullptr);
  }
  // Each attempt is still logged, as a start that got no process.
  EXPECT_EQ(StartPids(d), std::vector<int>(4, 0));
}

TEST(SimStandIn, ABareProgramNameIsFoundInTheWindowsFolder) {
  TempFolder folder;
  folder.Write("Windows/fexplore.exe", "");
  folder.Write("fexplore.exe", "");
  SimDevice d(Options(folder));
  int ran = 0;
  d.InstallProgram(u"\\Windows\\fexplore.exe", [&] {
    ++ran;
    return 4;
  });
  plat::Process p = d.Start(u"fexplore.exe");
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(d.RunUntilExit(p, 10));
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(d.ExitCode(p), 4);
  const auto& start = d.Log().front();
  EXPECT_EQ(d.LogText1(start), u"fexplore.exe") << "the log keeps the path as the caller gave it";
}

TEST(SimStandIn, TheFileIsFoundWithoutRegardToCase) {
  TempFolder folder;
  folder.Write("Windows/Notes.EXE", "");
  SimDevice d(Options(folder));
  plat::Process p = d.Start(u"\\WINDOWS\\notes.exe");
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(d.RunUntilExit(p, 10));
}

TEST(SimStandIn, AnInstalledProgramWinsOverItsFile) {
  TempFolder folder;
  folder.Write("Program Files/Tarvin/Tool.exe", "");
  SimDevice d(Options(folder));
  d.InstallProgram(u"\\Program Files\\Tarvin\\Tool.exe", [] {
    plat::SleepFor(30);
    return 5;
  });
  plat::Process p = d.Start(u"\\Program Files\\Tarvin\\Tool.exe");
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(d.RunUntilExit(p, 100));
  EXPECT_EQ(d.ExitCode(p), 5);
  EXPECT_EQ(d.Now(), 30u);
}

TEST(SimStandIn, AProgramStartedFromAProgramSeesTheSameFiles) {
  TempFolder folder;
  folder.Write("Windows/calc.exe", "");
  SimDevice d(Options(folder));
  static bool started;
  static bool failed;
  started = failed = false;
  d.InstallProgram(u"\\Launcher.exe", [] {
    plat::Process p = plat::StartProcess(u"\\Windows\\calc.exe", nullptr);
    started = p != nullptr && plat::WaitForProcess(p, 1000) == plat::WaitResult::Exited;
    failed = plat::StartProcess(u"\\Windows\\pword.exe", nullptr) == nullptr;
    return 0;
  });
  EXPECT_TRUE(d.RunUntilExit(d.Start(u"\\Launcher.exe"), 1000));
  EXPECT_TRUE(started);
  EXPECT_TRUE(failed);
}
