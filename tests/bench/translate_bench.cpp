// Cost of one hot key notification through translation and output, with a 200-key layout.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "engine/hotkeys.h"
#include "engine/main_window.h"
#include "engine/translate.h"
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

}  // namespace

BENCHMARK_MAIN();
