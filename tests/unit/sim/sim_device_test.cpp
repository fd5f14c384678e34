// The simulated device: virtual time and scheduling, messages, hot keys, keyboard, files, code pages.
#include "platform/sim/device.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "tests/unit/support/test_windows.h"

#include "platform/platform.h"
#include "platform/wtext.h"
#include "tests/unit/support/temp_folder.h"

using sim::LogKind;
using sim::SimDevice;
using testing_support::TempFolder;

namespace {

sim::SimOptions Options(const TempFolder& folder, uint32_t codePage = 1252) {
  sim::SimOptions o;
  o.hostFolder = folder.path();
  o.codePage = codePage;
  return o;
}

SimDevice MakeDevice(const TempFolder& folder, uint32_t codePage = 1252) {
  return SimDevice(Options(folder, codePage));
}

std::vector<const sim::LogEntry*> Entries(const SimDevice& d, LogKind kind) {
  std::vector<const sim::LogEntry*> out;
  for (const auto& e : d.Log()) {
    if (e.kind == kind) out.push_back(&e);
  }
  return out;
}

// A program with one window that counts its timer ticks and hot keys, and quits on WM_CLOSE.
struct Counter {
  static inline int ticks = 0;
  static inline std::vector<uintptr_t> hotKeys;
  static intptr_t Proc(void*, plat::Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
    if (m == plat::kWmTimer) ++ticks;
    if (m == plat::kWmHotKey) hotKeys.push_back(wp);
    if (m == plat::kWmClose) plat::PostQuit(7);
    return plat::DefaultWindowProc(w, m, wp, lp);
  }
  static int Main() {
    plat::RegisterWindowClass(u"CounterClass", Proc);
    plat::Window w = testing_support::MakeWindow(u"CounterClass", u"Counter");
    plat::StartTimer(w, 1, 50);
    plat::AddHotKey(w, 0x0141, plat::kModShift, 'A');
    plat::Message m;
    while (plat::NextMessage(&m)) plat::DeliverMessage(m);
    return static_cast<int>(m.wParam);
  }
};

}  // namespace

TEST(SimScheduler, TimersFireOnVirtualTimeAndQuitEndsTheProgram) {
  TempFolder folder;
  SimDevice d = MakeDevice(folder);
  Counter::ticks = 0;
  d.InstallProgram(u"\\Counter.exe", Counter::Main);
  plat::Process p = d.Start(u"\\Counter.exe");
  ASSERT_NE(p, nullptr);
  d.RunFor(1000);
  EXPECT_EQ(Counter::ticks, 20);
  EXPECT_EQ(d.Now(), 1000u);
  plat::Window w = d.FindWindow(u"CounterClass", u"Counter");
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(plat::PostToWindow(w, plat::kWmClose, 0, 0));
  EXPECT_TRUE(d.RunUntilExit(p, 100));
  EXPECT_EQ(d.ExitCode(p), 7);
  EXPECT_EQ(d.FindWindow(u"CounterClass", u"Counter"), nullptr);
  EXPECT_TRUE(d.HotKeys().empty()) << "an ended program's hot keys are released";
}

TEST(SimScheduler, SleepAndProcessWaitsUseVirtualTime) {
  TempFolder folder;
  SimDevice d = MakeDevice(folder);
  d.InstallProgram(u"\\Sleeper.exe", [] {
    plat::SleepFor(300);
    return 5;
  });
  uint64_t waitedUntil = 0;
  plat::WaitResult first{}, second{};
  d.InstallProgram(u"\\Waiter.exe", [&] {
    plat::Process p = plat::StartProcess(u"\\Sleeper.exe", nullptr);
    first = plat::WaitForProcess(p, 100);
    second = plat::WaitForProcess(p, plat::kWaitInfinite);
    waitedUntil = SimDevice::Current().Now();
    int code = 0;
    plat::GetProcessExitCode(p, &code);
    return code;
  });
  plat::Process waiter = d.Start(u"\\Waiter.exe");
  ASSERT_TRUE(d.RunUntilExit(waiter, 10000));
  EXPECT_EQ(first, plat::WaitResult::TimedOut);
  EXPECT_EQ(second, plat::WaitResult::Exited);
  EXPECT_EQ(waitedUntil, 300u);
  EXPECT_EQ(d.ExitCode(waiter), 5);
  EXPECT_EQ(plat::StartProcess(u"\\Missing.exe", nullptr), nullptr);
}

TEST(SimScheduler, TickCountWrapsModulo32Bits) {
  TempFolder folder;
  sim::SimOptions o;
  o.hostFolder = folder.path();
  o.startTick = 0xFFFFFFF0u;
  SimDevice d(o);
  uint32_t before = plat::TickCount();
  d.RunFor(32);
  EXPECT_EQ(before, 0xFFFFFFF0u);
  EXPECT_EQ(plat::TickCount(), 0x10u);
  EXPECT_EQ(static_cast<uint32_t>(plat::TickCount() - before), 32u);
}

TEST(SimScheduler, TeardownUnwindsProgramsBlockedForever) {
  TempFolder folder;
  auto d = std::make_unique<SimDevice>(Options(folder));
  d->InstallProgram(u"\\Counter.exe", Counter::Main);
  d->Start(u"\\Counter.exe");
  d->RunFor(10);
  d.reset();  // must return, not hang
  SUCCEED();
}

TEST(SimKeyboard, PressGoesToTheHotKeyOwnerElseToTheFocusedWindow) {
  TempFolder folder;
  SimDevice d = MakeDevice(folder);
  Counter::hotKeys.clear();
  d.InstallProgram(u"\\Counter.exe", Counter::Main);
  d.Start(u"\\Counter.exe");
  d.RunFor(1);
  d.Press(0x0141);  // Shift+A: registered
  d.Press(0x0041);  // A: not registered
  d.Press(0x0142);  // Shift+B
  d.Press(0x0243);  // Ctrl+C types nothing
  d.RunFor(1);
  EXPECT_EQ(Counter::hotKeys, std::vector<uintptr_t>{0x0141});
  EXPECT_EQ(d.FocusText(), u"aB");
  auto raw = Entries(d, LogKind::Raw);
  ASSERT_EQ(raw.size(), 3u);
  EXPECT_EQ(raw[0]->a, 0x0041u);
  d.SetCapsLock(true);
  d.Press(0x0044);
  EXPECT_EQ(d.FocusText(), u"aBD");
}

TEST(SimKeyboard, FirstRegistrationWinsAndTakeoverRemovesOtherOwners) {
  TempFolder folder;
  SimDevice d = MakeDevice(folder);
  d.InstallProgram(u"\\Shell.exe", [] {
    plat::RegisterWindowClass(u"Shell", testing_support::PlainProc);
    plat::Window w = testing_support::MakeWindow(u"Shell", u"Shell");
    plat::AddHotKey(w, 1, plat::kModControl, 'Q');
    plat::Message m;
    while (plat::NextMessage(&m)) plat::DeliverMessage(m);
    return 0;
  });
  d.Start(u"\\Shell.exe");
  d.RunFor(1);
  plat::RegisterWindowClass(u"Plain", testing_support::PlainProc);
  plat::Window b = testing_support::MakeWindow(u"Plain", u"B");
  EXPECT_FALSE(plat::AddHotKey(b, 2, plat::kModControl, 'Q'));
  EXPECT_TRUE(plat::AddHotKey(b, 3, 0, 'Q')) << "other modifiers are another pair";
  plat::TakeHotKey(plat::kModControl, 'Q');
  EXPECT_TRUE(plat::AddHotKey(b, 2, plat::kModControl, 'Q'));
  plat::TakeHotKey(plat::kModControl, 'Q');
  EXPECT_FALSE(plat::AddHotKey(b, 4, plat::kModControl, 'Q')) << "the caller's own registration stays";
  EXPECT_TRUE(plat::RemoveHotKey(b, 2));
  EXPECT_FALSE(plat::RemoveHotKey(b, 2));
}

TEST(SimKeyboard, InjectedTransitionsAreCaughtByHotKeysLikeRealOnes) {
  TempFolder folder;
  SimDevice d = MakeDevice(folder);
  plat::RegisterWindowClass(u"Plain", testing_support::PlainProc);
  plat::Window w = testing_support::MakeWindow(u"Plain", u"A");
  plat::AddHotKey(w, 9, plat::kModControl, 'Q');
  d.SetForeground(d.FindWindow(u"SimEdit", u"Document"));
  plat::SendKeyTransition(plat::kVkControl, false);
  plat::SendKeyTransition('Q', false);
  plat::SendKeyTransition('Q', true);
  plat::SendKeyTransition(plat::kVkControl, true);
  plat::SendKeyTransition(plat::kVkShift, false);
  plat::SendKeyTransition('Q', false);
  plat::SendKeyTransition('Q', true);
  plat::SendKeyTransition(plat::kVkShift, true);
  plat::SendCharacter(0x0424);
  plat::Message m;
  ASSERT_TRUE(plat::PollMessage(&m, nullptr, true));
  EXPECT_EQ(m.message, plat::kWmHotKey);
  EXPECT_EQ(m.wParam, 9u);
  EXPECT_FALSE(plat::PollMessage(&m, nullptr, true));
  EXPECT_EQ(d.FocusText(), u"Q\u0424");
  EXPECT_EQ(Entries(d, LogKind::KeyDown).size(), 4u);
}

TEST(SimWindows, PostedMessagesKeepTheirOrderBeforePaintAndTimers) {
  TempFolder folder;
  SimDevice d = MakeDevice(folder);
  plat::RegisterWindowClass(u"Plain", testing_support::PlainProc);
  plat::Window w = testing_support::MakeWindow(u"Plain", u"A");
  plat::StartTimer(w, 4, 50);
  plat::SetWindowShown(w, true);
  d.RunFor(60);
  plat::PostToWindow(w, 3001, 1, 0);
  plat::PostToWindow(w, 3002, 2, 0);
  std::vector<uint32_t> seen;
  plat::Message m;
  while (plat::PollMessage(&m, nullptr, true)) {
    seen.push_back(m.message);
    plat::DeliverMessage(m);
  }
  EXPECT_EQ(seen, (std::vector<uint32_t>{3001, 3002, plat::kWmPaint, plat::kWmTimer}));
}

// Every message reaches the procedure with the context its window was made with, from the first
// one on; children are found by their control id and go before their parent does.
TEST(SimWindows, ContextReachesTheProcedureAndChildrenGoWithTheirParent) {
  struct Seen {
    std::vector<std::pair<int, uint32_t>> messages;  // (window's tag, message)
  };
  struct Tagged {
    Seen* seen;
    int tag;
  };
  TempFolder folder;
  SimDevice d = MakeDevice(folder);
  plat::RegisterWindowClass(u"Tagged", [](void* context, plat::Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
    auto* t = static_cast<Tagged*>(context);
    if (m == plat::kWmCreate || m == plat::kWmDestroy || m == 3001) t->seen->messages.push_back({t->tag, m});
    return plat::DefaultWindowProc(w, m, wp, lp);
  });
  Seen seen;
  Tagged parentTag{&seen, 1}, firstTag{&seen, 2}, secondTag{&seen, 3};
  plat::Window parent = testing_support::MakeWindow(u"Tagged", u"Parent", 0, 0, 0, 0, 0, &parentTag);
  auto child = [&](int id, Tagged* tag) {
    plat::WindowSpec spec{};
    spec.className = u"Tagged";
    spec.parent = parent;
    spec.controlId = id;
    spec.context = tag;
    return plat::NewWindow(spec);
  };
  plat::Window first = child(101, &firstTag);
  plat::Window second = child(102, &secondTag);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(plat::ChildWindow(parent, 102), second);
  EXPECT_EQ(plat::ChildWindow(parent, 103), nullptr);
  EXPECT_EQ(plat::FindWindowByName(u"Tagged", u""), nullptr) << "children are not top-level windows";
  EXPECT_EQ(testing_support::MakeWindow(u"Tagged", u"Odd", 1u << 30, 0, 0, 0, 0, &parentTag), nullptr)
      << "a trait no backend knows is refused";
  plat::PostToWindow(second, 3001, 0, 0);
  plat::Message m;
  while (plat::PollMessage(&m, nullptr, true)) plat::DeliverMessage(m);

  plat::RemoveWindow(parent);
  using P = std::pair<int, uint32_t>;
  EXPECT_EQ(seen.messages, (std::vector<P>{{1, plat::kWmCreate},
                                           {2, plat::kWmCreate},
                                           {3, plat::kWmCreate},
                                           {3, 3001},
                                           {2, plat::kWmDestroy},
                                           {3, plat::kWmDestroy},
                                           {1, plat::kWmDestroy}}));
  EXPECT_EQ(plat::ChildWindow(parent, 101), nullptr);
  EXPECT_FALSE(plat::PostToWindow(first, 3001, 0, 0)) << "the child went with its parent";
}

TEST(SimMessageBox, DefaultButtonOrScriptedAnswerIsLogged) {
  TempFolder folder;
  SimDevice d = MakeDevice(folder);
  EXPECT_EQ(plat::ShowMessageBox(u"Sure?", u"Q", plat::kMbYesNo), plat::kIdYes);
  EXPECT_EQ(plat::ShowMessageBox(u"Sure?", u"Q", plat::kMbYesNo | plat::kMbDefButton2), plat::kIdNo);
  d.QueueMessageBoxAnswer(plat::kIdCancel);
  EXPECT_EQ(plat::ShowMessageBox(u"Text", u"Title", plat::kMbOkCancel), plat::kIdCancel);
  auto boxes = Entries(d, LogKind::MessageBox);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(d.LogText1(*boxes[2]), u"Title");
  EXPECT_EQ(d.LogText2(*boxes[2]), u"Text");
}

TEST(SimFiles, DevicePathsResolveWithoutRegardToCaseInsideTheFolder) {
  TempFolder folder;
  folder.Write("Program Files/Tarvin/Tarvin.cfg", "abc");
  SimDevice d = MakeDevice(folder);
  uint8_t buf[16];
  size_t n = 0;
  ASSERT_TRUE(plat::ReadFileBytes(u"\\program files\\TARVIN\\tarvin.CFG", buf, sizeof buf, &n));
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), n), "abc");
  ASSERT_TRUE(plat::ReadFileBytes(u"\\Program Files\\Tarvin\\Tarvin.cfg", buf, 2, &n));
  EXPECT_EQ(n, 2u) << "reads stop at the capacity";

  const char16_t* hostile[] = {u"Program Files\\Tarvin\\Tarvin.cfg",
                               u"\\Program Files\\..\\..\\etc\\passwd",
                               u"\\Program Files\\Tarvin\\..\\Tarvin\\Tarvin.cfg",
                               u"\\a/b",
                               u"\\C:\\x",
                               u"\\Program Files\\\\Tarvin.cfg",
                               u""};
  for (const char16_t* path : hostile) {
    EXPECT_FALSE(plat::ReadFileBytes(path, buf, sizeof buf, &n)) << sim::ToUtf8(path);
    EXPECT_FALSE(plat::WriteFileBytes(path, buf, 1)) << sim::ToUtf8(path);
  }
}

TEST(SimFiles, WriteReplaceDeleteAndList) {
  TempFolder folder;
  folder.Write("Program Files/Tarvin/b.tvl", "x");
  folder.Write("Program Files/Tarvin/A.TVL", "x");
  folder.Write("Program Files/Tarvin/notes.txt", "x");
  SimDevice d = MakeDevice(folder);
  const uint8_t data[] = {'n', 'e', 'w'};
  ASSERT_TRUE(plat::WriteFileBytes(u"\\Program Files\\Tarvin\\Tarvin.tmp", data, 3));
  ASSERT_TRUE(plat::MoveFileOver(u"\\Program Files\\Tarvin\\Tarvin.tmp", u"\\Program Files\\Tarvin\\Tarvin.cfg"));
  EXPECT_EQ(folder.Read("Program Files/Tarvin/Tarvin.cfg"), "new");
  EXPECT_FALSE(plat::FileExists(u"\\Program Files\\Tarvin\\Tarvin.tmp"));
  EXPECT_FALSE(plat::WriteFileBytes(u"\\No Such Folder\\x.txt", data, 3));

  plat::WChar name[260];
  std::vector<std::u16string> names;
  plat::FileList f = plat::OpenFileList(u"\\Program Files\\Tarvin\\*.TVL", name, 260);
  ASSERT_NE(f, nullptr);
  do names.push_back(name);
  while (plat::NextListedFile(f, name, 260));
  plat::CloseFileList(f);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"A.TVL", u"b.tvl"}));
  EXPECT_EQ(plat::OpenFileList(u"\\Program Files\\Tarvin\\*.xyz", name, 260), nullptr);
  EXPECT_TRUE(plat::RemoveFile(u"\\Program Files\\Tarvin\\b.tvl"));
  EXPECT_FALSE(plat::FileExists(u"\\Program Files\\Tarvin\\B.TVL"));
}

// A read says why it found nothing: no file, or one that is there but cannot be read. A file held
// open by another program refuses every change too; one whose rights deny reading can still be
// replaced, and the new file is readable.
TEST(SimFiles, ReadsTellAMissingFileFromOneThatCannotBeRead) {
  TempFolder folder;
  folder.Write("Program Files/Tarvin/Tarvin.cfg", "old");
  folder.Write("Program Files/Tarvin/new.tmp", "new");
  std::filesystem::create_directories(folder.path() + "/Program Files/Tarvin/Folder.cfg");
  SimDevice d = MakeDevice(folder);
  using plat::FileReadResult;
  using Access = SimDevice::FileAccess;
  const char16_t* cfg = u"\\Program Files\\Tarvin\\tarvin.CFG";
  uint8_t buf[16];
  size_t n = 99;
  const struct {
    const char16_t* path;
    FileReadResult expected;
  } cases[] = {
      {cfg, FileReadResult::Read},
      {u"\\Program Files\\Tarvin\\None.cfg", FileReadResult::Missing},
      {u"\\No Such Folder\\Tarvin.cfg", FileReadResult::Missing},
      {u"\\Program Files\\Tarvin\\Folder.cfg", FileReadResult::Unreadable},
      {u"\\Program Files\\..\\Tarvin.cfg", FileReadResult::Unreadable},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(plat::TryReadFileBytes(c.path, buf, sizeof buf, &n), c.expected) << sim::ToUtf8(c.path);
  }

  for (const Access access : {Access::ReadDenied, Access::HeldOpen}) {
    d.SetFileAccess(u"\\Program Files\\Tarvin\\Tarvin.cfg", access);
    EXPECT_EQ(plat::TryReadFileBytes(cfg, buf, sizeof buf, &n), FileReadResult::Unreadable);
    EXPECT_EQ(n, 0u);
    EXPECT_FALSE(plat::ReadFileBytes(cfg, buf, sizeof buf, &n));
    EXPECT_TRUE(plat::FileExists(cfg)) << "it is still there";
  }
  const uint8_t data[] = {'x'};
  EXPECT_FALSE(plat::WriteFileBytes(cfg, data, 1)) << "held open";
  EXPECT_FALSE(plat::MoveFileOver(u"\\Program Files\\Tarvin\\new.tmp", cfg));
  EXPECT_FALSE(plat::RemoveFile(cfg));
  EXPECT_EQ(folder.Read("Program Files/Tarvin/Tarvin.cfg"), "old");

  d.SetFileAccess(cfg, Access::ReadDenied);
  ASSERT_TRUE(plat::MoveFileOver(u"\\Program Files\\Tarvin\\new.tmp", cfg)) << "its folder lets it be replaced";
  ASSERT_EQ(plat::TryReadFileBytes(cfg, buf, sizeof buf, &n), FileReadResult::Read) << "the new file is readable";
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), n), "new");
}

TEST(SimCodePage, ConvertsThroughTheDeviceCodePage) {
  TempFolder folder;
  {
    SimDevice d = MakeDevice(folder, 1251);
    plat::WChar w[8];
    ASSERT_TRUE(plat::AnsiToWide("\xD4\xF4", w, 8));
    EXPECT_EQ(std::u16string(w), u"\u0424\u0444");
    char a[8];
    ASSERT_TRUE(plat::WideToAnsi(u"\u0424x\u00E9", a, 8));
    EXPECT_EQ(std::string(a), "\xD4x?") << "characters the code page lacks become the default character";
  }
  SimDevice d = MakeDevice(folder, 1252);
  plat::WChar w[4];
  EXPECT_FALSE(plat::AnsiToWide("abcd", w, 4)) << "no room for the terminator";
  EXPECT_EQ(w[0], 0);
  ASSERT_TRUE(plat::AnsiToWide("a\x81\xE9", w, 4));
  EXPECT_EQ(std::u16string(w), u"a\uFFFD\u00E9");
  char a[4];
  EXPECT_FALSE(plat::WideToAnsi(u"abcd", a, 4));
  EXPECT_EQ(a[0], 0);
}

// Host tools convert without a device; they must get exactly what a simulated program gets.
TEST(SimCodePage, AConverterWithoutADeviceConvertsAsTheDevice) {
  TempFolder folder;
  const char* bytes[] = {"", "plain", "\xD4\xF4\xC0", "a\x81\x98\xE9", "\x82\xA0\x83", "\xFF\xFE\x80"};
  const std::u16string wide[] = {u"", u"\u0424x\u00E9", u"\U0001F600", u"\xD83D", u"\u30A2\u0410"};
  for (uint32_t codePage : {1251u, 1252u, 1253u, 932u}) {
    sim::CodePageConverter converter(codePage);
    SimDevice d = MakeDevice(folder, codePage);
    for (const char* b : bytes) {
      for (size_t capacity : {size_t{1}, size_t{3}, size_t{16}}) {
        plat::WChar mine[16], device[16];
        const bool ok = converter.AnsiToWide(b, mine, capacity);
        EXPECT_EQ(ok, plat::AnsiToWide(b, device, capacity)) << codePage << " " << b << " " << capacity;
        if (ok) {
          EXPECT_EQ(std::u16string(mine), std::u16string(device)) << codePage << " " << b;
        }
      }
    }
    for (const std::u16string& w : wide) {
      for (size_t capacity : {size_t{1}, size_t{3}, size_t{16}}) {
        char mine[16], device[16];
        const bool ok = converter.WideToAnsi(w.c_str(), mine, capacity);
        EXPECT_EQ(ok, plat::WideToAnsi(w.c_str(), device, capacity)) << codePage << " " << capacity;
        if (ok) {
          EXPECT_EQ(std::string(mine), std::string(device)) << codePage;
        }
      }
    }
  }
  plat::WChar w[4];
  ASSERT_TRUE(sim::CodePageConverter(1252).AnsiToWide("a\x81\xE9", w, 4));
  EXPECT_EQ(std::u16string(w), u"a\uFFFD\u00E9");
}

TEST(SimCodePage, RefusesAnUnknownCodePageWithOrWithoutADevice) {
  TempFolder folder;
  EXPECT_TRUE(sim::CodePageConverter::Known(1251));
  EXPECT_FALSE(sim::CodePageConverter::Known(99999));
  try {
    sim::CodePageConverter converter(99999);
    ADD_FAILURE() << "no converter for an unknown code page";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "unknown code page 99999");
  }
  EXPECT_THROW(MakeDevice(folder, 99999), std::invalid_argument);
}
