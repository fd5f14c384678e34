// The passes that register and release every hot key of the layout and configuration.
#include <gtest/gtest.h>

#include "tests/unit/support/test_windows.h"

#include <algorithm>
#include <tuple>

#include "engine/hotkeys.h"
#include "tests/unit/engine/engine_harness.h"

using testing_support::AddKey;
using testing_support::C;
using testing_support::EngineHarness;
using testing_support::SetKeySet;

namespace {

using Reg = std::tuple<int, uint32_t, uint32_t>;  // id, modifiers, key code

std::vector<Reg> Registered(EngineHarness& h) {
  std::vector<Reg> out;
  for (const auto& k : h.device().HotKeys()) out.emplace_back(k.id, k.modifiers, k.keyCode);
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

TEST(HotKeys, EveryRoleIsRegisteredUnderItsIdAndReleasedAgain) {
  EngineHarness h;
  KeyLayout& l = h.layout();
  h.config().switchKeys[0] = 0x0870;  // Win+F1
  l.hardware = Hermes;
  SetKeySet(l.shiftKeys, {0x0110});
  SetKeySet(l.capsLockKeys, {0x0014, 0x0114});
  SetKeySet(l.accentKeys, {0x00DE});
  SetKeySet(l.accent2Keys, {0x00DE});  // repeats accentKeys: not registered again
  SetKeySet(l.accent3Keys, {0x00DC});
  AddKey(l, 0x0041, {{C('a')}});
  AddKey(l, 0x0141, {{C('A')}});
  AddKey(l, 0x0242, {{C('b')}});
  h.Start();
  const std::vector<Reg> expected = {
      {0x0000, 0, 0x41},                                 // key 0
      {0x0101, 4, 0x41},                                 // key 1, Shift+A; its stripped word A is taken by key 0
      {0x0202, 2, 0x42},                                 // key 2, Ctrl+B (Ctrl is not tracked: nothing stripped)
      {0x0100 | 208, 4, 0x10},                           // shift key
      {212, 0, 0x14},          {0x0100 | 213, 4, 0x14},  // caps lock keys
      {228, 0, 0xDE},                                    // accent
      {236, 0, 0xDC},                                    // accent3
      {0x0800 | 240, 8, 0x70},                           // switch key
      {241, 0, 0x84},          {242, 0, 0x83},           // Hermes indicators
  };
  std::vector<Reg> sorted = expected;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(Registered(h), sorted);
  EXPECT_EQ(h.engine().refreshCountdown, 200);

  h.device().InstallProgram(u"\\Poster.exe", [] {
    plat::PostToWindow(plat::FindWindowByName(kEngineClass, kEngineTitle), MsgReleaseKeys, 0, 0);
    return 0;
  });
  h.device().Start(u"\\Poster.exe");
  h.Run(10);
  EXPECT_TRUE(Registered(h).empty());
  EXPECT_EQ(h.engine().refreshCountdown, -1);
  int broadcasts = 0;
  for (const auto& e : h.device().Log()) broadcasts += e.kind == sim::LogKind::Broadcast && e.b == 228;
  EXPECT_EQ(broadcasts, 1);
}

TEST(HotKeys, StrippedWordCatchesTheKeyWhileOnlyTheEngineHoldsShift) {
  EngineHarness h;
  SetKeySet(h.layout().shiftKeys, {0x0110});
  AddKey(h.layout(), 0x0141, {{C('A')}});
  h.Start();
  EXPECT_EQ(Registered(h), (std::vector<Reg>{{0x0000, 0, 0x41}, {0x0100, 4, 0x41}, {0x0100 | 208, 4, 0x10}}));
  h.Press(0x0110);
  h.Press(0x0041);
  h.Run(100);
  EXPECT_EQ(h.Text(), u"A");
}

TEST(HotKeys, RoleThatRegistersFirstKeepsACombination) {
  EngineHarness h;
  SetKeySet(h.layout().shiftKeys, {0x0041});  // also a layout key: the key table registers first
  AddKey(h.layout(), 0x0041, {{C('a')}});
  h.Start();
  h.Press(0x0041);
  h.Run(100);
  EXPECT_EQ(h.Text(), u"a");
}

TEST(HotKeys, SwitchKeysAreTakenAgainEveryTenSeconds) {
  EngineHarness h;
  h.config().switchKeys[0] = 0x0170;
  h.Start();
  // Another program grabs the switch key after the engine let it go for a moment.
  h.device().InstallProgram(u"\\Grabber.exe", [] {
    plat::RegisterWindowClass(u"Grab", testing_support::PlainProc);
    plat::Window w = testing_support::MakeWindow(u"Grab", u"Grab");
    plat::TakeHotKey(plat::kModShift, 0x70);
    plat::AddHotKey(w, 1, plat::kModShift, 0x70);
    plat::Message m;
    while (plat::NextMessage(&m)) plat::DeliverMessage(m);
    return 0;
  });
  h.device().Start(u"\\Grabber.exe");
  h.Run(9000);
  auto owner = [&] {
    for (const auto& k : h.device().HotKeys()) {
      if (k.keyCode == 0x70) return h.device().WindowClass(k.owner);
    }
    return std::u16string();
  };
  EXPECT_EQ(owner(), u"Grab");
  h.Run(1100);
  EXPECT_EQ(owner(), u"TarvinWndClass");
}
