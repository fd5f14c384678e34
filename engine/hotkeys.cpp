#include "engine/hotkeys.h"

#include "layoutfiles/hotkey_ids.h"
#include "platform/input.h"
#include "platform/windowing.h"

namespace {

constexpr int kRefreshTicks = 200;
constexpr uintptr_t kSettingChangeHotKeys = 228;

// Another owner of the combination (such as the shell's button bindings) is removed first.
void RegisterWord(EngineState& engine, ScanWord word, int id) {
  if (word == 0) return;
  plat::TakeHotKey(HotKeyModifiers(word), KeyCode(word));
  plat::AddHotKey(engine.window, id, HotKeyModifiers(word), KeyCode(word));
}

// While a keystroke is synthesized only the key-table entries of its key code are touched.
bool SkippedWhileInjecting(const EngineState& engine, ScanWord word) {
  return engine.injectingWord != 0 && KeyCode(word) != KeyCode(engine.injectingWord);
}

}  // namespace

void RegisterKeySet(EngineState& engine, uint8_t base, const ScanWord* words) {
  for (int i = 0; i < kKeySetWords; ++i) RegisterWord(engine, words[i], MakeHotKeyId(words[i], base + i));
}

void ReleaseKeySet(EngineState& engine, uint8_t base, const ScanWord* words) {
  for (int i = 0; i < kKeySetWords; ++i) {
    if (words[i] != 0) plat::RemoveHotKey(engine.window, MakeHotKeyId(words[i], base + i));
  }
}

// Where two roles claim one combination the first registration wins, so the order of the visit
// decides which role a key gets.
void RegisterAllHotKeys(EngineState& engine) {
  VisitHotKeys(
      *engine.layout, *engine.config, engine.translator.unloading != 0,
      [](void* context, const HotKeyEntry& e) {
        EngineState& engine = *static_cast<EngineState*>(context);
        if (!e.keyTable || !SkippedWhileInjecting(engine, e.word)) RegisterWord(engine, e.word, e.id);
        return false;
      },
      &engine);
  engine.refreshCountdown = kRefreshTicks;
  plat::BroadcastSettingChange(kSettingChangeHotKeys);
}

// Every registration of the visit, the key table's included even while the engine unloads, so
// that nothing it ever registered stays behind.
void ReleaseAllHotKeys(EngineState& engine) {
  engine.refreshCountdown = -1;
  VisitHotKeys(
      *engine.layout, *engine.config, false,
      [](void* context, const HotKeyEntry& e) {
        EngineState& engine = *static_cast<EngineState*>(context);
        if (!e.keyTable || !SkippedWhileInjecting(engine, e.word)) plat::RemoveHotKey(engine.window, e.id);
        return false;
      },
      &engine);
  plat::BroadcastSettingChange(kSettingChangeHotKeys);
}

void AdvanceSwitchKeyRefresh(EngineState& engine) {
  if (engine.refreshCountdown > 0) {
    --engine.refreshCountdown;
  } else if (engine.refreshCountdown == 0) {
    ReleaseKeySet(engine, kSwitchKeysBase, engine.config->switchKeys);
    RegisterKeySet(engine, kSwitchKeysBase, engine.config->switchKeys);
    engine.refreshCountdown = kRefreshTicks;
  }
}
