// Key translation: hot key notifications in, characters, keystrokes and commands out.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"

// HotKeyId slot numbers of the modifier roles and switch keys.
constexpr uint8_t kShiftKeysBase = 208;
constexpr uint8_t kCapsLockKeysBase = 212;
constexpr uint8_t kWinKeysBase = 216;
constexpr uint8_t kCtrlKeysBase = 220;
constexpr uint8_t kAltKeysBase = 224;
constexpr uint8_t kAccentKeysBase = 228;
constexpr uint8_t kAccent2KeysBase = 232;
constexpr uint8_t kAccent3KeysBase = 236;
constexpr uint8_t kSwitchKeysBase = 240;
constexpr uint8_t kIndicator84Slot = 241;
constexpr uint8_t kIndicator83Slot = 242;

struct KeyDefMatch {
  ScanWord word;  // the effective ScanWord looked up
  int index;      // index into the layout's keys, or -1
};

void OnHotKey(EngineState& engine, uint16_t id);
// The hold slot's tick duty.
void AdvanceHoldSlot(EngineState& engine);
void EnqueueKeyEvent(EngineState& engine, uint16_t id);
bool TakeReadyEvent(EngineState& engine, KeyEvent* event);
void DrainKeyEvents(EngineState& engine);
bool TranslateNextEvent(EngineState& engine);
ScanWord ResolveHotKeyId(const EngineState& engine, uint16_t id);
KeyDefMatch FindKeyDef(const EngineState& engine, uint16_t id);
ScanWord InternalModifierMask(const KeyLayout& layout);
bool MatchesKeySet(uint16_t id, uint8_t base, const KeySet& set);
bool MatchesKeySet(uint16_t id, uint8_t base, const ScanWord (&words)[kKeySetWords]);
void ClearOneShotStates(EngineState& engine);
// All five modifier states off and no accent: a layout switch or a configuration reload.
void ResetModifierStates(EngineState& engine);
// The multi-press window in force now: the layout's own, else the configuration's.
uint32_t MultiPressTimeout(const EngineState& engine);
