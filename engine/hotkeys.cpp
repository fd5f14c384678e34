#include "engine/hotkeys.h"

#include "layoutfiles/hotkey_ids.h"
#include "layoutfiles/key_roles.h"
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

// A second or third accent set equal to the first is the first's cycle, registered once.
bool AccentSetRepeatsFirst(const KeySet& set, const KeyLayout& layout) { return KeySetsEqual(set, layout.accentKeys); }

const KeySet& RoleKeys(const KeyLayout& layout, ModifierRole role) { return layout.*kModifierRoles[role].keys; }

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

void ReleaseAllHotKeys(EngineState& engine) {
  const KeyLayout& layout = *engine.layout;
  const ScanWord mask = InternalModifierMask(layout);
  engine.refreshCountdown = -1;
  ReleaseKeySet(engine, kAccentRoles[0].slotBase, layout.accentKeys.words);
  if (layout.hardware == Wizard || layout.hardware == Hermes) {
    plat::RemoveHotKey(engine.window, kIndicator84Slot);
  }
  if (layout.hardware == Hermes) plat::RemoveHotKey(engine.window, kIndicator83Slot);
  for (int level = 2; level <= kAccentLevels; ++level) {
    const AccentRoleInfo& r = kAccentRoles[level - 1];
    if (!AccentSetRepeatsFirst(layout.*r.keys, layout)) ReleaseKeySet(engine, r.slotBase, (layout.*r.keys).words);
  }
  for (int role = kModifierRoleCount - 1; role >= 0; --role) {
    const ModifierRoleInfo& r = kModifierRoles[role];
    ReleaseKeySet(engine, r.slotBase, RoleKeys(layout, r.role).words);
  }
  for (int i = layout.keyCount - 1; i >= 0; --i) {
    const ScanWord word = layout.keys[i].scanWord;
    if (SkippedWhileInjecting(engine, word)) continue;
    if (word != 0) plat::RemoveHotKey(engine.window, MakeHotKeyId(word, i));
    const ScanWord stripped = static_cast<ScanWord>(word & ~mask);
    if (mask != 0 && stripped != 0) plat::RemoveHotKey(engine.window, MakeHotKeyId(stripped, i));
  }
  ReleaseKeySet(engine, kSwitchKeysBase, engine.config->switchKeys);
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
