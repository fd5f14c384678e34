// Cost of one hot key notification through translation and output, with a 200-key layout: through
// the engine's window on the simulated device, and through the translation core alone.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "engine/hotkeys.h"
#include "engine/main_window.h"
#include "engine/translate.h"
#include "layoutfiles/hotkey_ids.h"
#include "platform/sim/device.h"
#include "platform/wtext.h"
#include "tests/unit/support/temp_folder.h"

namespace {

// 200 distinct single-press keys: A..Z under eight flag combinations, each typing a character.
void FillLayout(KeyLayout& layout) {
  std::memset(&layout, 0, sizeof layout);
  wtext::Copy(layout.name, kLayoutNameLength, u"Bench");
  wtext::Copy(layout.hint, kHintLength, u"B");
  for (int i = 0; i < kMaxKeys; ++i) {
    KeyDef& key = layout.keys[i];
    key.scanWord = static_cast<ScanWord>(((i / 26) << 8) | ('A' + i % 26));
    key.pressLevels = 1;
    for (int c = 0; c < kColumns; ++c) {
      key.kinds[0][c] = Char;
      key.values[0][c] = static_cast<uint16_t>(0x0410 + i % 32);
    }
  }
  layout.keyCount = kMaxKeys;
}

void FillConfig(MapperConfig& config) {
  std::memset(&config, 0, sizeof config);
  for (auto& slot : config.layoutFiles) wtext::Copy(slot, kConfigTextLength, kUnassignedSlot);
  config.keypressTimeout = 600;
  config.hintPos = 0x0202;
}

void BM_HotKeyThroughTranslation(benchmark::State& state) {
  testing_support::TempFolder folder;
  sim::SimOptions options;
  options.hostFolder = folder.path();
  sim::SimDevice device(options);
  auto layout = std::make_unique<KeyLayout>();
  auto config = std::make_unique<MapperConfig>();
  FillLayout(*layout);
  FillConfig(*config);
  EngineState engine;
  InitEngineState(engine, config.get(), layout.get());
  RegisterEngineClass();
  CreateEngineWindow(engine);
  RegisterAllHotKeys(engine);

  // The ids the notifications carry: flag bits of the word plus the key's slot.
  uint16_t ids[kMaxKeys];
  for (int i = 0; i < kMaxKeys; ++i) ids[i] = static_cast<uint16_t>((layout->keys[i].scanWord & kFlagMask) | i);

  int next = 0;
  int64_t sinceClear = 0;
  for (auto _ : state) {
    EngineWindowProc(&engine, engine.window, plat::kWmHotKey, ids[next], 0);
    EngineTick(engine);  // translates it and types the character
    next = next + 1 == kMaxKeys ? 0 : next + 1;
    if (++sinceClear == 30000) {
      state.PauseTiming();
      device.ClearLog();
      device.ClearFocusText();
      sinceClear = 0;
      state.ResumeTiming();
    }
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HotKeyThroughTranslation);

// The core with inputs that answer at once and outputs that only count, so what is measured is
// the translation itself.
struct CoreBench {
  uint32_t tick = 0;
  uint64_t typed = 0;
};
CoreBench& CB(void* context) { return *static_cast<CoreBench*>(context); }
const KeyInputs kCoreInputs = {[](void* c) { return CB(c).tick; }, [](void*) { return false; },
                               [](void*) { return false; }};
const KeyOutputs kCoreOutputs = {[](void* c, WChar) { ++CB(c).typed; },
                                 [](void*, ScanWord) {},
                                 [](void*, uint16_t) {},
                                 [](void*, uint16_t) {},
                                 [](void*) {},
                                 [](void*) {},
                                 [](void*, WChar) {}};

void BM_HotKeyThroughTheCore(benchmark::State& state) {
  auto layout = std::make_unique<KeyLayout>();
  auto config = std::make_unique<MapperConfig>();
  FillLayout(*layout);
  FillConfig(*config);
  TranslatorState translator;
  InitTranslatorState(translator);
  CoreBench bench;
  const Translator tr{&translator, layout.get(), config.get(), &kCoreInputs, &kCoreOutputs, &bench};
  uint16_t ids[kMaxKeys];
  for (int i = 0; i < kMaxKeys; ++i) ids[i] = MakeHotKeyId(layout->keys[i].scanWord, i);
  int next = 0;
  for (auto _ : state) {
    OnHotKey(tr, ids[next]);
    bench.tick += 50;
    DrainKeyEvents(tr);  // the tick translates it and types the character
    next = next + 1 == kMaxKeys ? 0 : next + 1;
  }
  if (bench.typed != static_cast<uint64_t>(state.iterations())) state.SkipWithError("a press was not typed");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HotKeyThroughTheCore);

}  // namespace

BENCHMARK_MAIN();
