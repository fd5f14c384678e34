#include "layoutfiles/hotkey_ids.h"

#include "layoutfiles/key_roles.h"

bool MatchesKeySet(uint16_t id, uint8_t base, const ScanWord (&words)[kKeySetWords]) {
  const uint8_t slot = HotKeySlot(id);
  if (slot < base || slot >= base + kKeySetWords) return false;
  const ScanWord w = words[slot - base];
  return w != 0 && (id & kFlagMask) == (w & kFlagMask);
}

bool MatchesKeySet(uint16_t id, uint8_t base, const KeySet& set) { return MatchesKeySet(id, base, set.words); }

namespace {

ScanWord WordInSet(uint8_t slot, uint8_t base, const KeySet& set) {
  return slot >= base && slot < base + kKeySetWords ? set.words[slot - base] : 0;
}

}  // namespace

ScanWord ResolveHotKeyId(const KeyLayout& layout, const MapperConfig& config, uint16_t id, bool keyTableOff) {
  const uint8_t a = HotKeySlot(id);
  if (a >= kSwitchKeysBase && a < kSwitchKeysBase + kSwitchKeys && config.switchKeys[a - kSwitchKeysBase]) {
    return config.switchKeys[a - kSwitchKeysBase];
  }
  if ((layout.hardware == Wizard || layout.hardware == Hermes) && a == kIndicator84Slot) return kIndicator84;
  if (layout.hardware == Hermes && a == kIndicator83Slot) return kIndicator83;
  for (const ModifierRoleInfo& r : kModifierRoles) {
    if (r.role == RoleWin) continue;
    if (const ScanWord w = WordInSet(a, r.slotBase, layout.*r.keys)) return w;
  }
  for (const AccentRoleInfo& r : kAccentRoles) {
    if (const ScanWord w = WordInSet(a, r.slotBase, layout.*r.keys)) return w;
  }
  if (a < layout.keyCount && !keyTableOff) return layout.keys[a].scanWord;
  return 0;
}

ScanWord PressedWord(const KeyLayout& layout, const MapperConfig& config, uint16_t id, bool keyTableOff) {
  ScanWord word = ResolveHotKeyId(layout, config, id, keyTableOff);
  const ModifierRoleInfo& win = kModifierRoles[RoleWin];
  if (word == 0) word = WordInSet(HotKeySlot(id), win.slotBase, layout.*win.keys);
  if (KeyCode(word) == 0) return 0;
  return static_cast<ScanWord>((id & kFlagMask) | KeyCode(word));
}

namespace {

bool VisitSet(const KeySet& set, uint8_t base, bool (*visit)(void*, const HotKeyEntry&), void* context) {
  for (int i = 0; i < kKeySetWords; ++i) {
    const ScanWord w = set.words[i];
    if (w != 0 && visit(context, {w, MakeHotKeyId(w, base + i), false})) return true;
  }
  return false;
}

}  // namespace

bool VisitHotKeys(const KeyLayout& layout, const MapperConfig& config, bool keyTableOff,
                  bool (*visit)(void* context, const HotKeyEntry& entry), void* context) {
  for (int i = 0; i < kSwitchKeys; ++i) {
    const ScanWord w = config.switchKeys[i];
    if (w != 0 && visit(context, {w, MakeHotKeyId(w, kSwitchKeysBase + i), false})) return true;
  }
  const ScanWord mask = InternalModifierMask(layout);
  for (int i = 0; i < layout.keyCount && i < kMaxKeys && !keyTableOff; ++i) {
    const ScanWord w = layout.keys[i].scanWord;
    if (w != 0 && visit(context, {w, MakeHotKeyId(w, i), true})) return true;
    // Also without the modifiers the engine tracks itself, so that the key is caught while only
    // the engine's own modifier state is on.
    const ScanWord stripped = static_cast<ScanWord>(w & ~mask);
    if (mask != 0 && stripped != 0 && visit(context, {stripped, MakeHotKeyId(stripped, i), true})) return true;
  }
  for (const ModifierRoleInfo& r : kModifierRoles) {
    if (VisitSet(layout.*r.keys, r.slotBase, visit, context)) return true;
  }
  for (int level = 2; level <= kAccentLevels; ++level) {
    const AccentRoleInfo& r = kAccentRoles[level - 1];
    if (!KeySetsEqual(layout.*r.keys, layout.accentKeys) && VisitSet(layout.*r.keys, r.slotBase, visit, context)) {
      return true;
    }
  }
  if ((layout.hardware == Wizard || layout.hardware == Hermes) &&
      visit(context, {kIndicator84, kIndicator84Slot, false})) {
    return true;
  }
  if (layout.hardware == Hermes && visit(context, {kIndicator83, kIndicator83Slot, false})) return true;
  return VisitSet(layout.accentKeys, kAccentRoles[0].slotBase, visit, context);
}

bool FindHotKeyId(const KeyLayout& layout, const MapperConfig& config, ScanWord word, bool keyTableOff, uint16_t* id) {
  struct Search {
    ScanWord combination;  // what a registration is told: flags and key code
    uint16_t id;
  } search{static_cast<ScanWord>(word & (kFlagMask | 0xFF)), 0};
  const bool found = VisitHotKeys(
      layout, config, keyTableOff,
      [](void* context, const HotKeyEntry& e) {
        Search& s = *static_cast<Search*>(context);
        if ((e.word & (kFlagMask | 0xFF)) != s.combination) return false;
        s.id = e.id;
        return true;
      },
      &search);
  if (found) *id = search.id;
  return found;
}
