// The key path allocates nothing: every heap allocation in the process is counted while the engine
// handles a burst of presses of every kind of key.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/wtext.h"
#include "tests/unit/engine/engine_harness.h"

namespace {
std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};
}  // namespace

// Kept out of line so the compiler never pairs the malloc and free inside them with new and delete.
__attribute__((noinline)) void* operator new(std::size_t size) {
  if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
__attribute__((noinline)) void* operator new[](std::size_t size) { return operator new(size); }
__attribute__((noinline)) void operator delete(void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete[](void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

using testing_support::AddKey;
using testing_support::C;
using testing_support::E;
using testing_support::EngineHarness;
using testing_support::K;
using testing_support::SetKeySet;

TEST(KeyPath, HandlesKeysWithoutHeapAllocation) {
  EngineHarness h;
  KeyLayout& l = h.layout();
  l.hardware = Wizard;
  SetKeySet(l.shiftKeys, {0x0070});
  SetKeySet(l.accentKeys, {0x00DE});
  AddKey(l, 0x0041, {{C(0x0444), C(0x00F4)}, {C(0x0445), C(0x00F5)}});  // two levels: preview too
  AddKey(l, 0x0141, {{C(0x0424), C(0x00D4)}});
  AddKey(l, 0x0031, {{K(0x0251), K(0x0251)}});                          // Ctrl+Q keystroke
  AddKey(l, 0x0032, {{E(0x0201), E(0x0201)}});                          // Ornitap action
  AddKey(l, 0x0033, {{E(0x0111), E(0x0111)}});                          // accent command
  AddKey(l, 0x0026, {{C('U'), C('U')}});                                // held arrow
  AddKey(l, 0x0442, {{C('b'), C('b')}});                                // Alt+B: with Shift on, unmapped
  h.device().ShowForeignWindow(u"OrnitapWndClass", u"Ornitap Window");
  h.device().ShowForeignWindow(u"Afx:1", u"ICQ");
  h.Start();
  const ScanWord burst[] = {0x0041, 0x0041, 0x0141, 0x0070, 0x0041, 0x0031, 0x0032, 0x0033,
                            0x0041, 0x00DE, 0x0141, 0x0026, 0x0084, 0x0026, 0x0070, 0x0442};
  auto play = [&] {
    for (ScanWord w : burst) {
      h.Press(w);
      h.Run(30);
    }
    h.Run(1000);
  };
  play();  // first use of every path, outside the count
  const std::u16string first = h.Text();
  ASSERT_FALSE(first.empty());
  h.device().ClearFocusText();

  gAllocations = 0;
  gCounting = true;
  for (int round = 0; round < 20; ++round) play();
  gCounting = false;
  EXPECT_EQ(gAllocations.load(), 0);
  EXPECT_EQ(h.Text().size(), first.size() * 20) << "every round did the same work";
}

// A switch key in tray mode redraws the tray icon on every press.
TEST(KeyPath, SwitchesWithTheTrayHintWithoutHeapAllocation) {
  EngineHarness h;
  h.config().hintMode = 1;
  h.config().switchKeys[0] = 0x0070;
  wtext::Copy(h.config().defaultHint, kConfigTextLength, u"English keyboard");  // a tip beyond short strings
  h.Start();
  auto play = [&] {
    for (int i = 0; i < 5; ++i) {
      h.Press(0x0070);
      h.Run(100);
    }
  };
  play();
  ASSERT_EQ(h.device().TrayIcons().size(), 1u);

  gAllocations = 0;
  gCounting = true;
  for (int round = 0; round < 20; ++round) play();
  gCounting = false;
  EXPECT_EQ(gAllocations.load(), 0);
  EXPECT_EQ(h.device().TrayIcons().size(), 1u);
  int added = 0;
  for (const auto& e : h.device().Log()) added += e.kind == sim::LogKind::TrayAdd;
  EXPECT_EQ(added, 5 * 21) << "every press showed the hint again";
}
