// Message boxes and popup menus block their program while its windows go on receiving timers, hot
// keys, posted messages and paints, until the scripted answer closes them.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/device.h"
#include "tests/unit/support/temp_folder.h"
#include "tests/unit/support/test_windows.h"

using sim::LogKind;
using sim::SimDevice;
using testing_support::TempFolder;

namespace {

constexpr uint32_t kQuitRequest = plat::kWmUser + 1;  // the probe's window asks its program to quit
constexpr uint32_t kMenuOne = 10, kMenuTwo = 20;

// A program whose window notes what reaches it and when. Its main opens a box or a menu first and
// then runs its own loop.
struct Probe {
  bool useMenu = false;
  std::vector<std::pair<uint64_t, uint32_t>> seen;  // (device time, message)
  size_t seenWhileOpen = 0;
  int result = -1;  // the button, or the menu item
  uint64_t closedAt = UINT64_MAX;
  plat::Window window = nullptr;

  static intptr_t Proc(void* context, plat::Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
    auto* probe = static_cast<Probe*>(context);
    if (probe != nullptr && (m == plat::kWmPaint || m == plat::kWmTimer || m == plat::kWmHotKey || m == kQuitRequest)) {
      probe->seen.push_back({SimDevice::Current().Now(), m});
    }
    if (m == kQuitRequest) plat::PostQuit(9);
    return plat::DefaultWindowProc(w, m, wp, lp);
  }

  int Main() {
    plat::RegisterWindowClass(u"ProbeClass", Proc);
    window = testing_support::MakeWindow(u"ProbeClass", u"Probe", plat::kWindowVisible, 0, 0, 0, 0, this);
    plat::StartTimer(window, 1, 100);
    plat::AddHotKey(window, 5, plat::kModShift, 'A');
    if (useMenu) {
      plat::Menu menu = plat::NewPopupMenu();
      plat::AppendMenuItem(menu, kMenuOne, u"One");
      plat::AppendMenuItem(menu, kMenuTwo, u"Two");
      result = static_cast<int>(plat::ShowPopupMenu(menu, plat::MenuAnchor::TopLeft, 0, 0, window));
      plat::FreeMenu(menu);
    } else {
      result = plat::ShowMessageBox(u"Text", u"Title", plat::kMbOkCancel);
    }
    closedAt = SimDevice::Current().Now();
    seenWhileOpen = seen.size();
    plat::Message m;
    while (plat::NextMessage(&m)) plat::DeliverMessage(m);
    return static_cast<int>(m.wParam);
  }
};

sim::SimOptions Options(const TempFolder& folder) {
  sim::SimOptions o;
  o.hostFolder = folder.path();
  return o;
}

const sim::LogEntry* Last(const SimDevice& d, LogKind kind) {
  const sim::LogEntry* last = nullptr;
  for (const auto& e : d.Log()) {
    if (e.kind == kind) last = &e;
  }
  return last;
}

using Seen = std::vector<std::pair<uint64_t, uint32_t>>;

}  // namespace

TEST(SimModal, AnOpenBoxLeavesTheProgramsWindowsAndOtherProgramsRunning) {
  TempFolder folder;
  SimDevice d(Options(folder));
  Probe probe;
  d.InstallProgram(u"\\Probe.exe", [&] { return probe.Main(); });
  d.InstallProgram(u"\\Other.exe", [] {
    plat::SleepFor(200);
    return 4;
  });
  d.QueueMessageBoxAnswer(plat::kIdCancel, 350);
  plat::Process p = d.Start(u"\\Probe.exe");
  plat::Process other = d.Start(u"\\Other.exe");
  d.RunFor(120);
  ASSERT_NE(probe.window, nullptr);
  d.Press(0x0141);                                       // a hot key of the probe's window
  plat::PostToWindow(probe.window, kQuitRequest, 0, 0);  // its procedure posts the quit
  d.RunFor(100);
  EXPECT_TRUE(d.HasExited(other)) << "another program ran while the box was open";
  EXPECT_FALSE(d.HasExited(p)) << "the quit waits for the program's own loop";
  ASSERT_TRUE(d.RunUntilExit(p, 1000));

  EXPECT_EQ(probe.result, plat::kIdCancel);
  EXPECT_EQ(probe.closedAt, 350u);
  const Seen whileOpen = {{0, plat::kWmPaint}, {100, plat::kWmTimer}, {120, plat::kWmHotKey},
                          {120, kQuitRequest}, {200, plat::kWmTimer}, {300, plat::kWmTimer}};
  EXPECT_EQ(probe.seen, whileOpen);
  EXPECT_EQ(probe.seenWhileOpen, whileOpen.size());
  EXPECT_EQ(d.ExitCode(p), 9) << "the quit posted inside the box ended the program afterwards";
  const sim::LogEntry* exit = Last(d, LogKind::Exit);
  ASSERT_NE(exit, nullptr);
  EXPECT_EQ(exit->time, 350u);
  const sim::LogEntry* box = Last(d, LogKind::MessageBox);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->time, 0u) << "logged as it opened";
  EXPECT_EQ(box->b, static_cast<uint32_t>(plat::kIdCancel));
  EXPECT_EQ(box->c, 350);
}

// Without an answer, or with one at once, nothing is delivered and no time passes; an answer the
// box has no button for closes it with its default button when it is given. A message due at the
// instant the box closes is left for the program's own loop.
TEST(SimModal, BoxAnswersAndWhenTheyCome) {
  struct Case {
    const char* name;
    bool queued;
    int button;
    uint32_t afterMs;
    int returned;
    uint64_t closedAt;
    int64_t logged;  // the log entry's c
    size_t seenWhileOpen;
  };
  const Case cases[] = {
      {"none", false, 0, 0, plat::kIdOk, 0, -1, 0},
      {"at once", true, plat::kIdCancel, 0, plat::kIdCancel, 0, 0, 0},
      {"not a button", true, plat::kIdYes, 200, plat::kIdOk, 200, 200, 2},  // paint, timer at 100
      {"between timers", true, plat::kIdOk, 150, plat::kIdOk, 150, 150, 2},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    SimDevice d(Options(folder));
    Probe probe;
    d.InstallProgram(u"\\Probe.exe", [&] { return probe.Main(); });
    if (c.queued) d.QueueMessageBoxAnswer(c.button, c.afterMs);
    d.Start(u"\\Probe.exe");
    d.RunFor(500);
    EXPECT_EQ(probe.result, c.returned) << c.name;
    EXPECT_EQ(probe.closedAt, c.closedAt) << c.name;
    EXPECT_EQ(probe.seenWhileOpen, c.seenWhileOpen) << c.name;
    EXPECT_EQ(probe.seen.size(), 6u) << c.name << ": paint and five timers by 500 ms, inside the box or after";
    const sim::LogEntry* box = Last(d, LogKind::MessageBox);
    ASSERT_NE(box, nullptr) << c.name;
    EXPECT_EQ(box->b, static_cast<uint32_t>(c.returned)) << c.name;
    EXPECT_EQ(box->c, c.logged) << c.name;
  }
}

TEST(SimModal, AMenuWithADelayedChoiceIsModalToo) {
  struct Case {
    const char* name;
    bool queued;
    uint32_t id;
    uint32_t afterMs;
    int returned;
    uint64_t closedAt;
    Seen whileOpen;
  };
  const Case cases[] = {
      {"none", false, 0, 0, 0, 0, {}},
      {"an item",
       true,
       kMenuTwo,
       250,
       kMenuTwo,
       250,
       {{0, plat::kWmPaint}, {100, plat::kWmTimer}, {120, plat::kWmHotKey}, {200, plat::kWmTimer}}},
      {"beside the menu", true, 99, 110, 0, 110, {{0, plat::kWmPaint}, {100, plat::kWmTimer}}},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    SimDevice d(Options(folder));
    Probe probe;
    probe.useMenu = true;
    d.InstallProgram(u"\\Probe.exe", [&] { return probe.Main(); });
    if (c.queued) d.QueueMenuChoice(c.id, c.afterMs);
    d.Start(u"\\Probe.exe");
    d.RunFor(120);
    d.Press(0x0141);
    d.RunFor(300);
    EXPECT_EQ(probe.result, c.returned) << c.name;
    EXPECT_EQ(probe.closedAt, c.closedAt) << c.name;
    EXPECT_EQ(Seen(probe.seen.begin(), probe.seen.begin() + static_cast<long>(probe.seenWhileOpen)), c.whileOpen)
        << c.name;
    const sim::LogEntry* menu = Last(d, LogKind::Menu);
    ASSERT_NE(menu, nullptr) << c.name;
    EXPECT_EQ(menu->a, static_cast<uint32_t>(c.returned)) << c.name;
  }
}

// A box whose program's window opens another box: the inner one takes the next answer and closes
// first, and the outer one still closes when its own answer is due.
TEST(SimModal, BoxesOpenedInsideABoxTakeTheNextAnswers) {
  TempFolder folder;
  SimDevice d(Options(folder));
  std::vector<std::pair<uint64_t, int>> closed;  // (time, button)
  struct Nested {
    std::vector<std::pair<uint64_t, int>>* closed;
  } nested{&closed};
  d.InstallProgram(u"\\Nested.exe", [&] {
    plat::RegisterWindowClass(u"Nested", [](void* context, plat::Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
      if (m == plat::kWmTimer) {
        plat::StopTimer(w, 1);
        const int button = plat::ShowMessageBox(u"Inner", u"Inner", plat::kMbYesNo);
        static_cast<Nested*>(context)->closed->push_back({SimDevice::Current().Now(), button});
      }
      return plat::DefaultWindowProc(w, m, wp, lp);
    });
    plat::Window w = testing_support::MakeWindow(u"Nested", u"Nested", 0, 0, 0, 0, 0, &nested);
    plat::StartTimer(w, 1, 50);
    const int button = plat::ShowMessageBox(u"Outer", u"Outer", plat::kMbOkCancel);
    closed.push_back({SimDevice::Current().Now(), button});
    return 0;
  });
  d.QueueMessageBoxAnswer(plat::kIdCancel, 300);
  d.QueueMessageBoxAnswer(plat::kIdNo, 100);
  plat::Process p = d.Start(u"\\Nested.exe");
  ASSERT_TRUE(d.RunUntilExit(p, 1000));
  using Closed = std::vector<std::pair<uint64_t, int>>;
  EXPECT_EQ(closed, (Closed{{150, plat::kIdNo}, {300, plat::kIdCancel}}));
}

TEST(SimModal, TeardownUnwindsAProgramInsideABox) {
  TempFolder folder;
  auto d = std::make_unique<SimDevice>(Options(folder));
  Probe probe;
  d->InstallProgram(u"\\Probe.exe", [&] { return probe.Main(); });
  d->QueueMessageBoxAnswer(plat::kIdOk, 1000000);
  d->Start(u"\\Probe.exe");
  d->RunFor(250);
  EXPECT_EQ(probe.closedAt, UINT64_MAX);
  d.reset();  // must return, not hang
  EXPECT_EQ(probe.closedAt, UINT64_MAX) << "the box never returned";
}
