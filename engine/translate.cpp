#include "engine/translate.h"

#include <cstring>

#include "layoutfiles/hotkey_ids.h"
#include "layoutfiles/key_roles.h"

namespace {

constexpr uint8_t kLeft = 0x25;
constexpr uint8_t kDown = 0x28;
constexpr uint8_t kLWin = 0x5B;
constexpr uint8_t kRWin = 0x5C;

bool IsArrow(uint8_t code) { return code >= kLeft && code <= kDown; }

uint8_t TranslatorState::*const kRoleState[kModifierRoleCount] = {&TranslatorState::shiftOn,
                                                                  &TranslatorState::capsLockOn, &TranslatorState::winOn,
                                                                  &TranslatorState::ctrlOn, &TranslatorState::altOn};

uint32_t Now(const Translator& tr) { return tr.inputs->tick(tr.context); }

ScanWord Resolve(const Translator& tr, uint16_t id) {
  return ResolveHotKeyId(*tr.layout, *tr.config, id, tr.state->unloading != 0);
}

ScanWord Pressed(const Translator& tr, uint16_t id) {
  return PressedWord(*tr.layout, *tr.config, id, tr.state->unloading != 0);
}

// The id of a combination in the layout active now, or the pass-on slot when it catches none.
uint16_t IdInLayoutNow(const Translator& tr, ScanWord word) {
  uint16_t id = 0;
  if (!FindHotKeyId(*tr.layout, *tr.config, word, tr.state->unloading != 0, &id)) id = MakeHotKeyId(word, kPassOnSlot);
  return id;
}

// A press level a definition does not have is its first: what a single press of it gives.
int LevelOf(const KeyDef& key, int pressIndex) {
  return pressIndex < key.pressLevels && pressIndex < kMaxPressLevels ? pressIndex : 0;
}

// The KeyDef that a HotKeyId's slot designates, or nullptr for the other slots.
const KeyDef* SlotKeyDef(const Translator& tr, uint16_t id) {
  const uint8_t slot = HotKeySlot(id);
  return slot < tr.layout->keyCount && !tr.state->unloading ? &tr.layout->keys[slot] : nullptr;
}

// Caps Lock turns Shift off first, by either way of toggling it.
void ToggleModifier(TranslatorState& t, ModifierRole role) {
  if (role == RoleCapsLock) t.shiftOn = 0;
  uint8_t& on = t.*kRoleState[role];
  on = !on;
}

void ToggleAccent(const Translator& tr) {
  const KeyLayout& layout = *tr.layout;
  int& state = tr.state->accentState;
  if (KeySetsEqual(layout.accentKeys, layout.accent3Keys)) {
    state = state >= 3 ? 0 : state + 1;
  } else if (KeySetsEqual(layout.accentKeys, layout.accent2Keys)) {
    state = state >= 2 ? 0 : state + 1;
  } else {
    state = state == 1 ? 0 : 1;
  }
}

void SetAccentLevel(TranslatorState& t, int level) { t.accentState = t.accentState == level ? 0 : level; }

// The built-in commands change only their own state, so an accent or modifier command followed by
// a character applies to that character.
void RunCommand(const Translator& tr, uint16_t code) {
  TranslatorState& t = *tr.state;
  const CommandInfo command = DescribeCommand(code);
  switch (command.kind) {
    case CommandKind::Exec:
      tr.outputs->runProgram(tr.context, code);
      ClearOneShotStates(t);
      break;
    case CommandKind::Ornitap:
      tr.outputs->postAction(tr.context, OrnitapAction(code));
      ClearOneShotStates(t);
      break;
    case CommandKind::ToggleModifier: ToggleModifier(t, command.role); break;
    case CommandKind::AccentOff: t.accentState = 0; break;
    case CommandKind::ToggleAccent: SetAccentLevel(t, command.level); break;
    case CommandKind::CycleAccent: t.accentState = t.accentState >= 3 ? 0 : t.accentState + 1; break;
    case CommandKind::NextLayout: tr.outputs->switchLayout(tr.context); break;
    case CommandKind::Unload:
      t.unloading = 1;
      tr.outputs->unload(tr.context);
      break;
    case CommandKind::None: break;
  }
}

// Modifiers the layout does not track itself follow the hot key that brought the key in.
void RefreshUntrackedModifiers(const Translator& tr, uint16_t id) {
  const KeyLayout& layout = *tr.layout;
  TranslatorState& t = *tr.state;
  for (const ModifierRoleInfo& r : kModifierRoles) {
    if (layout.*r.internal) continue;
    t.*kRoleState[r.role] = r.role == RoleCapsLock ? tr.inputs->capsLockOn(tr.context) : (id & r.flag) != 0;
  }
}

void TranslateOrdinaryKey(const Translator& tr, const KeyEvent& event) {
  const uint16_t id = event.hotKeyId;
  RefreshUntrackedModifiers(tr, id);
  if (HotKeySlot(id) == kPassOnSlot) {
    tr.outputs->sendKeystroke(tr.context, event.word);
    return;
  }
  const KeyDefMatch match = FindKeyDef(tr, id);
  if (match.index < 0) {
    // Put the press back as it came. A slot that resolves to no key (the key table is off while
    // the engine unloads) has no key code to send.
    if (KeyCode(match.word) != 0) {
      tr.outputs->sendKeystroke(tr.context, static_cast<ScanWord>(KeyCode(match.word) | (id & 0xFF00)));
    }
    return;
  }
  const KeyDef& key = tr.layout->keys[match.index];
  const int column = tr.state->accentState + (tr.inputs->foregroundIsIcq(tr.context) ? ColIcqNormal : 0);
  const int level = LevelOf(key, event.pressIndex);
  const uint8_t kind = key.kinds[level][column];
  const uint16_t value = key.values[level][column];
  switch (kind) {
    case Char:
      tr.outputs->typeCharacter(tr.context, value);
      ClearOneShotStates(*tr.state);
      break;
    case Keystroke:
      tr.outputs->sendKeystroke(tr.context, value);
      ClearOneShotStates(*tr.state);
      break;
    case Command: RunCommand(tr, value); break;
    default: break;
  }
}

// The preview shows what the waiting event would type now: its own first press looked up with
// the states of now, at the level it has counted.
void ShowPreview(const Translator& tr, const KeyDef& key) {
  if (tr.config->hintMode != 0 || key.pressLevels < 2) return;
  const TranslatorState& t = *tr.state;
  const KeyEvent& last = t.queue[t.queueCount - 1];
  if (HotKeySlot(last.hotKeyId) == kPassOnSlot) return;
  const KeyDefMatch match = FindKeyDef(tr, last.hotKeyId);
  if (match.index < 0) return;
  const KeyDef& k = tr.layout->keys[match.index];
  const int level = LevelOf(k, last.pressIndex);
  const int column = t.accentState;
  if (k.kinds[level][column] == Char) {
    tr.outputs->showPreview(tr.context, static_cast<WChar>(k.values[level][column]));
  }
}

}  // namespace

void InitTranslatorState(TranslatorState& t) {
  std::memset(&t, 0, sizeof t);
  t.holdCountdown = -1;
}

uint32_t MultiPressTimeout(const KeyLayout& layout, const MapperConfig& config) {
  return layout.keypressTimeout != 0 ? layout.keypressTimeout : config.keypressTimeout;
}

void ClearOneShotStates(TranslatorState& t) {
  t.shiftOn = 0;
  t.ctrlOn = 0;
  t.altOn = 0;
  t.winOn = 0;
  t.accentState = 0;
}

void ResetModifierStates(TranslatorState& t) {
  ClearOneShotStates(t);
  t.capsLockOn = 0;
}

void BeginNewLayout(TranslatorState& t) {
  t.queueCount = 0;
  ResetModifierStates(t);
  ++t.layoutGeneration;
}

KeyDefMatch FindKeyDef(const Translator& tr, uint16_t id) {
  const KeyLayout& layout = *tr.layout;
  const TranslatorState& t = *tr.state;
  const ScanWord s = Resolve(tr, id);
  ScanWord w = static_cast<ScanWord>(s & ~InternalModifierMask(layout));
  bool shift = false, caps = false;
  for (const ModifierRoleInfo& r : kModifierRoles) {
    const bool on = layout.*r.internal       ? t.*kRoleState[r.role] != 0
                    : r.role == RoleCapsLock ? tr.inputs->capsLockOn(tr.context)
                                             : (id & r.flag) != 0;
    if (r.role == RoleShift) {
      shift = on;
    } else if (r.role == RoleCapsLock) {
      caps = on;
    } else if (on) {
      w |= r.flag;
    }
  }
  // Shift and Caps Lock together type the plain key.
  if (shift != caps) {
    w |= kFlagShift;
  } else {
    w &= static_cast<ScanWord>(~kFlagShift);
  }
  // While the engine unloads no key is looked up: the press comes to nothing or passes on.
  return {w, t.unloading ? -1 : FindKeyIndex(layout, w)};
}

void OnHotKey(const Translator& tr, uint16_t id) { OnHotKey(tr, id, 0); }

void OnHotKey(const Translator& tr, uint16_t id, ScanWord pressed) {
  TranslatorState& t = *tr.state;
  // The id belongs to the layout active as it arrives; the drain may switch to another one.
  const uint16_t generation = t.layoutGeneration;
  ScanWord word = Pressed(tr, id);
  // While the engine unloads the key table stands for nothing, so nothing is looked up again.
  if (pressed != 0 && word != pressed && !t.unloading) {
    word = pressed;
    id = IdInLayoutNow(tr, word);
  }
  const uint8_t e = KeyCode(Resolve(tr, id));
  DrainKeyEvents(tr);
  const uint16_t h = tr.layout->hardware;
  const bool quirky = h == Wizard || h == Hermes;
  const uint8_t f = KeyCode(t.heldWord);
  const bool indicator =
      (h == Wizard && e == kIndicator84) || (h == Hermes && (e == kIndicator84 || e == kIndicator83));
  if (indicator && t.holdCountdown >= 0 && IsArrow(f)) {
    // The held arrow came from the joystick or wheel: it bypasses the layout.
    t.holdCountdown = -1;
    tr.outputs->sendKeystroke(tr.context, f);
    return;
  }
  if ((quirky && IsArrow(e)) || e == kLWin || e == kRWin) {
    t.heldId = id;
    t.heldWord = word;
    t.heldGeneration = generation;
    t.holdCountdown = 1;
    return;
  }
  t.holdCountdown = -1;
  EnqueuePress(tr, id, word, generation);
}

void AdvanceHoldSlot(const Translator& tr) {
  TranslatorState& t = *tr.state;
  if (t.holdCountdown > 0) {
    --t.holdCountdown;
  } else if (t.holdCountdown == 0) {
    EnqueuePress(tr, t.heldId, t.heldWord, t.heldGeneration);
    t.holdCountdown = -1;
  }
}

void EnqueueKeyEvent(const Translator& tr, uint16_t id) {
  EnqueuePress(tr, id, Pressed(tr, id), tr.state->layoutGeneration);
}

void EnqueuePress(const Translator& tr, uint16_t id, ScanWord word, uint16_t generation) {
  TranslatorState& t = *tr.state;
  if (t.queueCount >= kKeyQueueCapacity) return;
  if (generation != t.layoutGeneration) {
    // Registered by a layout that is gone: the same combination in the layout active now, or
    // passed on as any key this layout does not catch.
    if (word == 0) return;
    id = IdInLayoutNow(tr, word);
  }
  const uint32_t now = Now(tr);
  const KeyDef* key = SlotKeyDef(tr, id);
  bool merged = false;
  if (t.queueCount > 0) {
    KeyEvent& last = t.queue[t.queueCount - 1];
    const bool sameKey = last.hotKeyId == id || KeyCode(Resolve(tr, last.hotKeyId)) == KeyCode(Resolve(tr, id));
    if (sameKey && key != nullptr && key->pressLevels != 0 &&
        now - last.tick < MultiPressTimeout(*tr.layout, *tr.config)) {
      // The count wraps at the levels of the definition the event will be translated through:
      // the one its first press finds with the states of now, which need not be its slot's own
      // (Caps Lock or the engine's Shift may pick the shifted definition).
      const KeyDefMatch target = FindKeyDef(tr, last.hotKeyId);
      const KeyDef* own = SlotKeyDef(tr, last.hotKeyId);
      const KeyDef& counted = target.index >= 0 ? tr.layout->keys[target.index] : own != nullptr ? *own : *key;
      const uint16_t levels = counted.pressLevels;
      ++last.pressIndex;
      if (last.pressIndex >= levels) last.pressIndex = 0;
      last.tick = now;
      merged = true;
    }
  }
  if (!merged) t.queue[t.queueCount++] = KeyEvent{id, 0, now, word};
  if (key != nullptr) ShowPreview(tr, *key);
}

bool TakeReadyEvent(const Translator& tr, KeyEvent* event) {
  TranslatorState& t = *tr.state;
  if (t.queueCount == 0) return false;
  const KeyEvent& head = t.queue[0];
  const KeyDef* key = SlotKeyDef(tr, head.hotKeyId);
  if (key != nullptr && key->pressLevels > 1 && Now(tr) - head.tick < MultiPressTimeout(*tr.layout, *tr.config)) {
    return false;  // strictly first in, first out: everything behind waits too
  }
  *event = head;
  for (int i = 1; i < t.queueCount; ++i) t.queue[i - 1] = t.queue[i];
  --t.queueCount;
  t.currentId = event->hotKeyId;
  t.currentPressIndex = event->pressIndex;
  return true;
}

void DrainKeyEvents(const Translator& tr) {
  TranslatorState& t = *tr.state;
  if (t.queueCount == 0 || t.draining) return;
  t.draining = 1;
  while (TranslateNextEvent(tr)) {
  }
  t.draining = 0;
}

bool TranslateNextEvent(const Translator& tr) {
  KeyEvent event;
  if (!TakeReadyEvent(tr, &event)) return false;
  const uint16_t n = event.hotKeyId;
  const KeyLayout& layout = *tr.layout;
  TranslatorState& t = *tr.state;
  if (MatchesKeySet(n, kSwitchKeysBase, tr.config->switchKeys)) {
    tr.outputs->switchLayout(tr.context);
    return true;
  }
  for (const ModifierRoleInfo& r : kModifierRoles) {
    if (!MatchesKeySet(n, r.slotBase, layout.*r.keys)) continue;
    ToggleModifier(t, r.role);
    return true;
  }
  for (const AccentRoleInfo& r : kAccentRoles) {
    if (!MatchesKeySet(n, r.slotBase, layout.*r.keys)) continue;
    if (r.level == 1) {
      ToggleAccent(tr);
    } else {
      SetAccentLevel(t, r.level);
    }
    return true;
  }
  TranslateOrdinaryKey(tr, event);
  return true;
}
