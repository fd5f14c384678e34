// The key path allocates nothing: every heap allocation in the process, on any thread, is counted
// while the engine handles a burst of presses of every kind of key. Device code allocates with
// malloc and calloc as well as new, so the C allocator is replaced too (glibc lets a program
// define it and forwards its own internal calls there) and handed on to glibc's.
#include <gtest/gtest.h>

#include <malloc.h>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <new>
#include <thread>

#include "platform/wtext.h"
#include "tests/unit/engine/engine_harness.h"

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* p);
}

namespace {
std::atomic<bool> gCounting{false};
std::atomic<long> gAllocations{0};

void Note() {
  if (gCounting.load(std::memory_order_relaxed)) gAllocations.fetch_add(1, std::memory_order_relaxed);
}

bool IsPowerOfTwo(std::size_t n) { return n != 0 && (n & (n - 1)) == 0; }

void* NewBlock(std::size_t size) {
  Note();
  if (void* p = __libc_malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

void* NewAlignedBlock(std::size_t size, std::align_val_t alignment) {
  Note();
  if (void* p = __libc_memalign(static_cast<std::size_t>(alignment), size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
}  // namespace

extern "C" {
void* malloc(std::size_t size) noexcept {
  Note();
  return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) noexcept {
  Note();
  return __libc_calloc(count, size);
}
void* realloc(void* p, std::size_t size) noexcept {
  Note();
  return __libc_realloc(p, size);
}
void free(void* p) noexcept { __libc_free(p); }
// The aligned forms too, so that no way into the heap goes around the count.
void* memalign(std::size_t alignment, std::size_t size) noexcept {
  Note();
  return __libc_memalign(alignment, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
  Note();
  if (!IsPowerOfTwo(alignment)) {
    errno = EINVAL;
    return nullptr;
  }
  return __libc_memalign(alignment, size);
}
int posix_memalign(void** out, std::size_t alignment, std::size_t size) noexcept {
  Note();
  if (!IsPowerOfTwo(alignment) || alignment % sizeof(void*) != 0) return EINVAL;
  void* p = __libc_memalign(alignment, size);
  if (p == nullptr) return ENOMEM;
  *out = p;
  return 0;
}
}

// Kept out of line so the compiler never pairs the allocation and release inside them with new and
// delete. Each counts once: they go to glibc directly, not through the counted malloc above.
__attribute__((noinline)) void* operator new(std::size_t size) { return NewBlock(size); }
__attribute__((noinline)) void* operator new[](std::size_t size) { return NewBlock(size); }
__attribute__((noinline)) void* operator new(std::size_t size, std::align_val_t a) { return NewAlignedBlock(size, a); }
__attribute__((noinline)) void* operator new[](std::size_t size, std::align_val_t a) {
  return NewAlignedBlock(size, a);
}
__attribute__((noinline)) void operator delete(void* p) noexcept { __libc_free(p); }
__attribute__((noinline)) void operator delete[](void* p) noexcept { __libc_free(p); }
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept { __libc_free(p); }
__attribute__((noinline)) void operator delete[](void* p, std::size_t) noexcept { __libc_free(p); }
__attribute__((noinline)) void operator delete(void* p, std::align_val_t) noexcept { __libc_free(p); }
__attribute__((noinline)) void operator delete[](void* p, std::align_val_t) noexcept { __libc_free(p); }
__attribute__((noinline)) void operator delete(void* p, std::size_t, std::align_val_t) noexcept { __libc_free(p); }
__attribute__((noinline)) void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { __libc_free(p); }

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
  AddKey(l, 0x0031, {{K(0x0251), K(0x0251)}});  // Ctrl+Q keystroke
  AddKey(l, 0x0032, {{E(0x0201), E(0x0201)}});  // Ornitap action
  AddKey(l, 0x0033, {{E(0x0111), E(0x0111)}});  // accent command
  AddKey(l, 0x0026, {{C('U'), C('U')}});        // held arrow
  AddKey(l, 0x0442, {{C('b'), C('b')}});        // Alt+B: with Shift on, unmapped
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

namespace {
// Escapes through a volatile store, so the compiler cannot drop an allocation it sees unused.
void* volatile gSink = nullptr;

// Counts the allocations `allocate` makes, on this thread or on one started before the count.
long CountDuring(void* (*allocate)(), bool onOtherThread, void*& made) {
  if (!onOtherThread) {
    gAllocations = 0;
    gCounting = true;
    made = allocate();
    gSink = made;
    gCounting = false;
    return gAllocations.load();
  }
  std::atomic<int> stage{0};  // 1: thread running, 2: count started, 3: allocated
  std::thread worker([&] {
    stage = 1;
    while (stage.load() != 2) std::this_thread::yield();
    made = allocate();
    gSink = made;
    stage = 3;
  });
  while (stage.load() != 1) std::this_thread::yield();
  gAllocations = 0;
  gCounting = true;
  stage = 2;
  while (stage.load() != 3) std::this_thread::yield();
  gCounting = false;
  worker.join();
  return gAllocations.load();
}

void Free(void* p) { std::free(p); }
void DeleteInt(void* p) { delete static_cast<int*>(p); }
void DeleteChars(void* p) { delete[] static_cast<char*>(p); }
void DeleteAligned(void* p) { ::operator delete (p, std::align_val_t{64}); }
}  // namespace

// The tests above prove nothing unless each way into the heap is seen.
TEST(KeyPath, CountsEveryWayToAllocate) {
  struct Case {
    const char* name;
    void* (*allocate)();
    void (*release)(void*);
    long expected;
    bool onOtherThread;
  };
  const Case cases[] = {
      {"malloc", [] { return std::malloc(24); }, Free, 1, false},
      {"calloc", [] { return std::calloc(3, 8); }, Free, 1, false},
      {"realloc of nothing", [] { return std::realloc(nullptr, 24); }, Free, 1, false},
      {"malloc, then realloc to grow", [] { return std::realloc(std::malloc(16), 4096); }, Free, 2, false},
      {"new", [] { return static_cast<void*>(new int(7)); }, DeleteInt, 1, false},
      {"new[]", [] { return static_cast<void*>(new char[40]); }, DeleteChars, 1, false},
      {"aligned new", [] { return ::operator new (8, std::align_val_t{64}); }, DeleteAligned, 1, false},
      {"aligned_alloc", [] { return std::aligned_alloc(64, 64); }, Free, 1, false},
      {"posix_memalign",
       [] {
         void* p = nullptr;
         return posix_memalign(&p, 64, 64) == 0 ? p : nullptr;
       },
       Free, 1, false},
      {"malloc on another thread", [] { return std::malloc(24); }, Free, 1, true},
      {"new on another thread", [] { return static_cast<void*>(new int(7)); }, DeleteInt, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    void* made = nullptr;
    EXPECT_EQ(CountDuring(c.allocate, c.onOtherThread, made), c.expected);
    ASSERT_NE(made, nullptr);
    c.release(made);
  }
}
