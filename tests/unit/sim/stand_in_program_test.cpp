// Starting a program file that no test installed: a stand-in runs and ends at once; without a file
// the start fails, so callers see the failure a device would give them.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/device.h"
#include "tests/unit/support/temp_folder.h"
#include "tests/unit/support/test_windows.h"

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

// An ended program holds nothing but its exit code: thousands of programs coming and going, each
// with a window, a timer and a class of its own, leave no threads, records or queues behind, while
// a program still running keeps its queue and every handle still answers with its own exit code.
TEST(SimStandIn, EndedProgramsHoldNothingButTheirExitCode) {
  TempFolder folder;
  folder.Write("Windows/notes.exe", "");
  SimDevice d(Options(folder));
  static int runs;
  static int received;
  runs = received = 0;
  constexpr uint32_t kCount = 0x8001, kStop = 0x8002;
  d.InstallProgram(u"\\Windows\\resident.exe", [] {
    plat::RegisterWindowClass(u"Resident",
                              [](void*, plat::Window w, uint32_t m, uintptr_t wp, intptr_t lp) -> intptr_t {
                                if (m == kCount) ++received;
                                if (m == kStop) plat::PostQuit(static_cast<int>(wp));
                                return plat::DefaultWindowProc(w, m, wp, lp);
                              });
    testing_support::MakeWindow(u"Resident", u"Resident");
    plat::Message m;
    while (plat::NextMessage(&m)) plat::DeliverMessage(m);
    return static_cast<int>(m.wParam);
  });
  d.InstallProgram(u"\\Windows\\worker.exe", [] {
    plat::RegisterWindowClass(u"Worker", testing_support::PlainProc);
    plat::StartTimer(testing_support::MakeWindow(u"Worker", u"Worker"), 1, 5);
    plat::SleepFor(1);
    return ++runs % 250;
  });
  const plat::Process resident = d.Start(u"\\Windows\\resident.exe");
  d.RunFor(0);
  const size_t held = d.ProgramsHoldingResources();  // the driver, other programs' windows, the resident
  ASSERT_EQ(held, 3u);

  std::vector<plat::Process> ended;
  for (int i = 0; i < 2000; ++i) {
    const plat::Process p = d.Start(i % 2 == 0 ? u"\\Windows\\worker.exe" : u"\\Windows\\notes.exe");
    ASSERT_TRUE(d.RunUntilExit(p, 100)) << i;
    ended.push_back(p);
    ASSERT_TRUE(plat::PostToWindow(d.FindWindow(u"Resident", u"Resident"), kCount, 0, 0));
    ASSERT_LE(d.ProgramsHoldingResources(), held + 1) << i;
  }
  d.RunFor(10);
  EXPECT_EQ(d.ProgramsHoldingResources(), held);
  EXPECT_EQ(received, 2000);

  std::vector<int> pids = StartPids(d);
  std::sort(pids.begin(), pids.end());
  EXPECT_EQ(std::adjacent_find(pids.begin(), pids.end()), pids.end()) << "a pid was given twice";
  for (int i = 0; i < 2000; ++i) {
    int code = -1;
    EXPECT_TRUE(plat::GetProcessExitCode(ended[i], &code)) << i;
    EXPECT_EQ(code, i % 2 == 0 ? (i / 2 + 1) % 250 : 0) << i;
    EXPECT_EQ(plat::WaitForProcess(ended[i], 0), plat::WaitResult::Exited) << i;
  }

  ASSERT_TRUE(plat::PostToWindow(d.FindWindow(u"Resident", u"Resident"), kStop, 7, 0));
  EXPECT_TRUE(d.RunUntilExit(resident, 100));
  EXPECT_EQ(d.ExitCode(resident), 7);
  EXPECT_EQ(d.ProgramsHoldingResources(), held - 1);
}
