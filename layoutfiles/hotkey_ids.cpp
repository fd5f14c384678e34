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
