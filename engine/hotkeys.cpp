#include "engine/hotkeys.h"

#include "engine/hint.h"
#include "engine/translate.h"
#include "layoutfiles/layout_error_box.h"
#include "layoutfiles/layout_reader.h"
#include "platform/wtext.h"

namespace {

constexpr int kRefreshTicks = 200;
constexpr uintptr_t kSettingChangeHotKeys = 228;

int HotKeyId(ScanWord word, int slot) { return (word & kFlagMask) | slot; }

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

bool AccentSetRepeatsFirst(const KeySet& set, const KeyLayout& layout) {
  return KeySetsEqual(set, layout.accentKeys);
}

}  // namespace

void RegisterKeySet(EngineState& engine, uint8_t base, const ScanWord* words) {
  for (int i = 0; i < kKeySetWords; ++i) RegisterWord(engine, words[i], HotKeyId(words[i], base + i));
}

void ReleaseKeySet(EngineState& engine, uint8_t base, const ScanWord* words) {
  for (int i = 0; i < kKeySetWords; ++i) {
    if (words[i] != 0) plat::RemoveHotKey(engine.window, HotKeyId(words[i], base + i));
  }
}

// Where two roles claim one combination the first registration wins, so this order decides:
// switch keys, then layout keys, then the modifier roles, the indicators, the accent keys.
void RegisterAllHotKeys(EngineState& engine) {
  const KeyLayout& layout = *engine.layout;
  const ScanWord mask = InternalModifierMask(layout);
  RegisterKeySet(engine, kSwitchKeysBase, engine.config->switchKeys);
  for (int i = 0; i < layout.keyCount; ++i) {
    const ScanWord word = layout.keys[i].scanWord;
    if (SkippedWhileInjecting(engine, word)) continue;
    RegisterWord(engine, word, HotKeyId(word, i));
    // Also the word without the modifiers the engine tracks itself, so that the key is caught
    // while only the engine's own modifier state is on.
    const ScanWord stripped = static_cast<ScanWord>(word & ~mask);
    if (mask != 0 && stripped != 0) RegisterWord(engine, stripped, HotKeyId(stripped, i));
  }
  RegisterKeySet(engine, kShiftKeysBase, layout.shiftKeys.words);
  RegisterKeySet(engine, kCapsLockKeysBase, layout.capsLockKeys.words);
  RegisterKeySet(engine, kWinKeysBase, layout.winKeys.words);
  RegisterKeySet(engine, kCtrlKeysBase, layout.ctrlKeys.words);
  RegisterKeySet(engine, kAltKeysBase, layout.altKeys.words);
  if (!AccentSetRepeatsFirst(layout.accent2Keys, layout)) {
    RegisterKeySet(engine, kAccent2KeysBase, layout.accent2Keys.words);
  }
  if (!AccentSetRepeatsFirst(layout.accent3Keys, layout)) {
    RegisterKeySet(engine, kAccent3KeysBase, layout.accent3Keys.words);
  }
  if (layout.hardware == Wizard || layout.hardware == Hermes) {
    plat::TakeHotKey(0, 0x84);
    plat::AddHotKey(engine.window, kIndicator84Slot, 0, 0x84);
  }
  if (layout.hardware == Hermes) {
    plat::TakeHotKey(0, 0x83);
    plat::AddHotKey(engine.window, kIndicator83Slot, 0, 0x83);
  }
  RegisterKeySet(engine, kAccentKeysBase, layout.accentKeys.words);
  engine.refreshCountdown = kRefreshTicks;
  plat::BroadcastSettingChange(kSettingChangeHotKeys);
}

void ReleaseAllHotKeys(EngineState& engine) {
  const KeyLayout& layout = *engine.layout;
  const ScanWord mask = InternalModifierMask(layout);
  engine.refreshCountdown = -1;
  ReleaseKeySet(engine, kAccentKeysBase, layout.accentKeys.words);
  if (layout.hardware == Wizard || layout.hardware == Hermes) {
    plat::RemoveHotKey(engine.window, kIndicator84Slot);
  }
  if (layout.hardware == Hermes) plat::RemoveHotKey(engine.window, kIndicator83Slot);
  if (!AccentSetRepeatsFirst(layout.accent2Keys, layout)) {
    ReleaseKeySet(engine, kAccent2KeysBase, layout.accent2Keys.words);
  }
  if (!AccentSetRepeatsFirst(layout.accent3Keys, layout)) {
    ReleaseKeySet(engine, kAccent3KeysBase, layout.accent3Keys.words);
  }
  ReleaseKeySet(engine, kAltKeysBase, layout.altKeys.words);
  ReleaseKeySet(engine, kCtrlKeysBase, layout.ctrlKeys.words);
  ReleaseKeySet(engine, kWinKeysBase, layout.winKeys.words);
  ReleaseKeySet(engine, kCapsLockKeysBase, layout.capsLockKeys.words);
  ReleaseKeySet(engine, kShiftKeysBase, layout.shiftKeys.words);
  for (int i = layout.keyCount - 1; i >= 0; --i) {
    const ScanWord word = layout.keys[i].scanWord;
    if (SkippedWhileInjecting(engine, word)) continue;
    if (word != 0) plat::RemoveHotKey(engine.window, HotKeyId(word, i));
    const ScanWord stripped = static_cast<ScanWord>(word & ~mask);
    if (mask != 0 && stripped != 0) plat::RemoveHotKey(engine.window, HotKeyId(stripped, i));
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

// Only the first assigned slot after the current one is tried; a failure stops the search there,
// so the next switch tries the same slot again.
bool NextLayout(EngineState& engine) {
  int slot = engine.currentSlot;
  for (int tries = 0; tries < kLayoutSlots; ++tries) {
    slot = slot >= kLayoutSlots - 1 ? 0 : slot + 1;
    if (!wtext::Equal(engine.config->layoutFiles[slot], kUnassignedSlot)) return ActivateSlot(engine, slot);
  }
  return false;
}

bool ActivateSlot(EngineState& engine, int slot) {
  const WChar* entry = engine.config->layoutFiles[slot];
  if (wtext::Equal(entry, kUnassignedSlot)) return false;
  engine.translator.queueCount = 0;  // pending presses belong to the old layout
  ResetModifierStates(engine);
  ReleaseAllHotKeys(engine);
  if (wtext::Equal(entry, kUnloadSlot)) {
    ShowHint(engine, u"Unloading...");
    engine.unloadCountdown = 20;
    engine.layout->keyCount = 0;
    engine.currentSlot = slot;
    return true;
  }
  if (wtext::Equal(entry, kDefaultLayoutSlot)) {
    InitDefaultLayout(*engine.layout);
    ShowHint(engine, engine.config->defaultHint);
    RegisterAllHotKeys(engine);
    engine.currentSlot = slot;
    return true;
  }
  // A layout that fails to read stays active as far as it was read, so its keys still work;
  // the user is told what is wrong before its hot keys and hint come up.
  LayoutError error;
  const bool ok = ReadLayoutFile(entry, *engine.layout, error);
  if (!ok) ShowLayoutError(error);
  RegisterAllHotKeys(engine);
  ShowHint(engine, engine.layout->hint);
  if (ok) engine.currentSlot = slot;
  return ok;
}
