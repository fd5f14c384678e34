// The engine's HotKeyIds: the flag bits of the registered ScanWord plus a slot number. Slots below
// 200 are indexes into the layout's key table; the modifier roles and accent levels have four slots
// each from their base (key_roles.h), the configuration's switch keys four from 240, and the two
// indicator keys of the Wizard and Hermes keyboards two fixed slots.
#pragma once

#include <cstdint>

#include "layoutfiles/model.h"

constexpr uint8_t kSwitchKeysBase = 240;
constexpr uint8_t kIndicator84Slot = 241;
constexpr uint8_t kIndicator83Slot = 242;
// The key codes of the indicator keys.
constexpr uint8_t kIndicator84 = 0x84;
constexpr uint8_t kIndicator83 = 0x83;

constexpr uint16_t MakeHotKeyId(ScanWord word, int slot) {
  return static_cast<uint16_t>((word & kFlagMask) | (slot & 0xFF));
}
constexpr uint8_t HotKeySlot(uint16_t id) { return static_cast<uint8_t>(id & 0xFF); }

// Whether `id` is the HotKeyId of one of the words of a set registered from `base`.
bool MatchesKeySet(uint16_t id, uint8_t base, const ScanWord (&words)[kKeySetWords]);
bool MatchesKeySet(uint16_t id, uint8_t base, const KeySet& set);

// The ScanWord that a HotKeyId was registered for, or 0. `keyTableOff` makes the key table's
// slots resolve to nothing, as while the engine unloads. The Win role's slots resolve to 0, so a
// Win-role key on the Win key code is toggled at once instead of being held like a Win key.
ScanWord ResolveHotKeyId(const KeyLayout& layout, const MapperConfig& config, uint16_t id, bool keyTableOff);

// The key combination the user pressed to get `id`: its flags and the key code it was registered
// with (the Win role's slots included), or 0 when the id names nothing in this layout. Unlike a
// HotKeyId it means the same in every layout.
ScanWord PressedWord(const KeyLayout& layout, const MapperConfig& config, uint16_t id, bool keyTableOff);

// Every hot key of a layout and configuration, in the order of registration: switch keys, key
// table (each key's word, then its word without the internally tracked modifiers), modifier roles,
// second and third accent sets unless they repeat the first, indicators, first accent set. Where
// two claim one combination the first registration wins, so this order decides a key's role.
// `visit` returns true to stop; the result says whether it did.
struct HotKeyEntry {
  ScanWord word;
  uint16_t id;
  bool keyTable;  // an entry of the key table, not of a key set
};
bool VisitHotKeys(const KeyLayout& layout, const MapperConfig& config, bool keyTableOff,
                  bool (*visit)(void* context, const HotKeyEntry& entry), void* context);

// The HotKeyId under which this layout catches `word`, as the first registration wins; false when
// the layout does not catch it.
bool FindHotKeyId(const KeyLayout& layout, const MapperConfig& config, ScanWord word, bool keyTableOff, uint16_t* id);
