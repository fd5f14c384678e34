#include "engine/translate.h"

#include "engine/hint.h"
#include "engine/hotkeys.h"
#include "engine/output.h"
#include "platform/wtext.h"

namespace {

constexpr uint8_t kLeft = 0x25;
constexpr uint8_t kDown = 0x28;
constexpr uint8_t kIndicator84 = 0x84;
constexpr uint8_t kIndicator83 = 0x83;

bool IsArrow(uint8_t code) { return code >= kLeft && code <= kDown; }

// The KeyDef that a HotKeyId's slot designates, or nullptr for the other slots.
const KeyDef* SlotKeyDef(const EngineState& engine, uint16_t id) {
  uint8_t slot = KeyCode(id);
  return slot < engine.layout->keyCount ? &engine.layout->keys[slot] : nullptr;
}

bool MatchesWords(uint16_t id, uint8_t base, const ScanWord* words) {
  for (int i = 0; i < kKeySetWords; ++i) {
    if (words[i] != 0 && KeyCode(id) == base + i && (id & kFlagMask) == (words[i] & kFlagMask)) return true;
  }
  return false;
}

// ICQ windows get the second group of columns. The buffers start as dashes so that a failed
// query cannot match.
bool ForegroundIsIcq() {
  constexpr size_t kNameLength = 31;
  WChar className[kNameLength] = u"----";
  WChar title[kNameLength] = u"---";
  plat::Window fg = plat::ForegroundWindow();
  if (fg != nullptr) {
    plat::GetWindowClassName(fg, className, kNameLength);
    plat::GetWindowTitle(fg, title, kNameLength);
  }
  return wtext::StartsWith(className, u"Afx:") && wtext::StartsWith(title, u"ICQ");
}

void ToggleAccent(EngineState& engine) {
  const KeyLayout& layout = *engine.layout;
  int& state = engine.translator.accentState;
  if (KeySetsEqual(layout.accentKeys, layout.accent3Keys)) {
    state = state >= 3 ? 0 : state + 1;
  } else if (KeySetsEqual(layout.accentKeys, layout.accent2Keys)) {
    state = state >= 2 ? 0 : state + 1;
  } else {
    state = state == 1 ? 0 : 1;
  }
}

// Modifiers the layout does not track itself follow the hot key that brought the key in.
void RefreshUntrackedModifiers(EngineState& engine, uint16_t id) {
  const KeyLayout& layout = *engine.layout;
  TranslatorState& t = engine.translator;
  if (!layout.internalShift) t.shiftOn = (id & kFlagShift) != 0;
  if (!layout.internalCapsLock) t.capsLockOn = plat::IsCapsLockOn();
  if (!layout.internalCtrl) t.ctrlOn = (id & kFlagCtrl) != 0;
  if (!layout.internalAlt) t.altOn = (id & kFlagAlt) != 0;
  if (!layout.internalWin) t.winOn = (id & kFlagWin) != 0;
}

void TranslateOrdinaryKey(EngineState& engine, uint16_t id, uint16_t pressIndex) {
  RefreshUntrackedModifiers(engine, id);
  KeyDefMatch match = FindKeyDef(engine, id);
  if (match.index < 0) {
    // Put the press back as it came. A slot that resolves to no key (the key table was emptied
    // by an unload) has no key code to send.
    if (KeyCode(match.word) != 0) {
      SendKeystroke(engine, static_cast<ScanWord>(KeyCode(match.word) | (id & 0xFF00)));
    }
    return;
  }
  const KeyDef& key = engine.layout->keys[match.index];
  int column = engine.translator.accentState + (ForegroundIsIcq() ? ColIcqNormal : 0);
  uint8_t kind = key.kinds[pressIndex][column];
  uint16_t value = key.values[pressIndex][column];
  switch (kind) {
    case Char:
      TypeCharacter(engine, value);
      ClearOneShotStates(engine);
      break;
    case Keystroke:
      SendKeystroke(engine, value);
      ClearOneShotStates(engine);
      break;
    case Command:
      RunCommand(engine, value);
      break;
    default:
      break;
  }
}

}  // namespace

uint32_t MultiPressTimeout(const EngineState& engine) {
  return engine.layout->keypressTimeout != 0 ? engine.layout->keypressTimeout : engine.config->keypressTimeout;
}

ScanWord InternalModifierMask(const KeyLayout& layout) {
  ScanWord mask = 0;
  if (!KeySetEmpty(layout.shiftKeys)) mask |= kFlagShift;
  if (!KeySetEmpty(layout.ctrlKeys)) mask |= kFlagCtrl;
  if (!KeySetEmpty(layout.altKeys)) mask |= kFlagAlt;
  if (!KeySetEmpty(layout.winKeys)) mask |= kFlagWin;
  return mask;
}

bool MatchesKeySet(uint16_t id, uint8_t base, const KeySet& set) { return MatchesWords(id, base, set.words); }

bool MatchesKeySet(uint16_t id, uint8_t base, const ScanWord (&words)[kKeySetWords]) {
  return MatchesWords(id, base, words);
}

void ClearOneShotStates(EngineState& engine) {
  TranslatorState& t = engine.translator;
  t.shiftOn = 0;
  t.ctrlOn = 0;
  t.altOn = 0;
  t.winOn = 0;
  t.accentState = 0;
}

void ResetModifierStates(EngineState& engine) {
  ClearOneShotStates(engine);
  engine.translator.capsLockOn = 0;
}

// The winKeys slots resolve to nothing, so a Win-role key on the Win key code is toggled at once
// instead of being held like a Win key.
ScanWord ResolveHotKeyId(const EngineState& engine, uint16_t id) {
  const KeyLayout& layout = *engine.layout;
  const uint8_t a = KeyCode(id);
  if (a >= kSwitchKeysBase && a < kSwitchKeysBase + kSwitchKeys && engine.config->switchKeys[a - kSwitchKeysBase]) {
    return engine.config->switchKeys[a - kSwitchKeysBase];
  }
  if ((layout.hardware == Wizard || layout.hardware == Hermes) && a == kIndicator84Slot) return kIndicator84;
  if (layout.hardware == Hermes && a == kIndicator83Slot) return kIndicator83;
  const struct {
    uint8_t base;
    const KeySet& set;
  } sets[] = {{kShiftKeysBase, layout.shiftKeys},   {kCapsLockKeysBase, layout.capsLockKeys},
              {kCtrlKeysBase, layout.ctrlKeys},     {kAltKeysBase, layout.altKeys},
              {kAccentKeysBase, layout.accentKeys}, {kAccent2KeysBase, layout.accent2Keys},
              {kAccent3KeysBase, layout.accent3Keys}};
  for (const auto& s : sets) {
    if (a >= s.base && a < s.base + kKeySetWords && s.set.words[a - s.base] != 0) return s.set.words[a - s.base];
  }
  if (a < layout.keyCount) return layout.keys[a].scanWord;
  return 0;
}

KeyDefMatch FindKeyDef(const EngineState& engine, uint16_t id) {
  const KeyLayout& layout = *engine.layout;
  const TranslatorState& t = engine.translator;
  const ScanWord s = ResolveHotKeyId(engine, id);
  const bool shift = layout.internalShift ? t.shiftOn != 0 : (id & kFlagShift) != 0;
  const bool caps = layout.internalCapsLock ? t.capsLockOn != 0 : plat::IsCapsLockOn();
  const bool ctrl = layout.internalCtrl ? t.ctrlOn != 0 : (id & kFlagCtrl) != 0;
  const bool alt = layout.internalAlt ? t.altOn != 0 : (id & kFlagAlt) != 0;
  const bool win = layout.internalWin ? t.winOn != 0 : (id & kFlagWin) != 0;
  ScanWord w = static_cast<ScanWord>(s & ~InternalModifierMask(layout));
  if (shift != caps) {
    w |= kFlagShift;
  } else {
    w &= static_cast<ScanWord>(~kFlagShift);
  }
  if (ctrl) w |= kFlagCtrl;
  if (alt) w |= kFlagAlt;
  if (win) w |= kFlagWin;
  return {w, FindKeyIndex(layout, w)};
}

void OnHotKey(EngineState& engine, uint16_t id) {
  DrainKeyEvents(engine);
  TranslatorState& t = engine.translator;
  const uint16_t h = engine.layout->hardware;
  const bool quirky = h == Wizard || h == Hermes;
  const uint8_t e = KeyCode(ResolveHotKeyId(engine, id));
  const uint8_t f = KeyCode(ResolveHotKeyId(engine, t.heldId));
  const bool indicator = (h == Wizard && e == kIndicator84) || (h == Hermes && (e == kIndicator84 || e == kIndicator83));
  if (indicator && t.holdCountdown >= 0 && IsArrow(f)) {
    // The held arrow came from the joystick or wheel: it bypasses the layout.
    t.holdCountdown = -1;
    SendKeystroke(engine, f);
    return;
  }
  if ((quirky && IsArrow(e)) || e == plat::kVkLWin || e == plat::kVkRWin) {
    t.heldId = id;
    t.holdCountdown = 1;
    return;
  }
  t.holdCountdown = -1;
  EnqueueKeyEvent(engine, id);
}

void AdvanceHoldSlot(EngineState& engine) {
  TranslatorState& t = engine.translator;
  if (t.holdCountdown > 0) {
    --t.holdCountdown;
  } else if (t.holdCountdown == 0) {
    EnqueueKeyEvent(engine, t.heldId);
    t.holdCountdown = -1;
  }
}

void EnqueueKeyEvent(EngineState& engine, uint16_t id) {
  TranslatorState& t = engine.translator;
  if (t.queueCount >= kKeyQueueCapacity) return;
  const uint32_t now = plat::TickCount();
  const KeyDef* key = SlotKeyDef(engine, id);
  bool merged = false;
  if (t.queueCount > 0) {
    KeyEvent& last = t.queue[t.queueCount - 1];
    const bool sameKey =
        last.hotKeyId == id || KeyCode(ResolveHotKeyId(engine, last.hotKeyId)) == KeyCode(ResolveHotKeyId(engine, id));
    if (sameKey && key != nullptr && key->pressLevels != 0 && now - last.tick < MultiPressTimeout(engine)) {
      // The count wraps at the levels of the definition the event is translated with, so the
      // press index never points past the levels that definition has.
      const KeyDef* own = SlotKeyDef(engine, last.hotKeyId);
      const uint16_t levels = own != nullptr && own->pressLevels != 0 ? own->pressLevels : key->pressLevels;
      ++last.pressIndex;
      if (last.pressIndex >= levels) last.pressIndex = 0;
      last.tick = now;
      merged = true;
    }
  }
  if (!merged) t.queue[t.queueCount++] = KeyEvent{id, 0, now};

  if (engine.config->hintMode == 0 && key != nullptr && key->pressLevels >= 2) {
    KeyDefMatch match = FindKeyDef(engine, id);
    if (match.index >= 0) {
      const KeyDef& k = engine.layout->keys[match.index];
      const int level = t.queue[t.queueCount - 1].pressIndex;
      const int column = t.accentState;
      if (level < kMaxPressLevels && k.kinds[level][column] == Char) {
        const WChar text[2] = {static_cast<WChar>(k.values[level][column]), 0};
        ShowHint(engine, text);
      }
    }
  }
}

bool TakeReadyEvent(EngineState& engine, KeyEvent* event) {
  TranslatorState& t = engine.translator;
  if (t.queueCount == 0) return false;
  const KeyEvent& head = t.queue[0];
  const KeyDef* key = SlotKeyDef(engine, head.hotKeyId);
  if (key != nullptr && key->pressLevels > 1 && plat::TickCount() - head.tick < MultiPressTimeout(engine)) {
    return false;  // strictly first in, first out: everything behind waits too
  }
  *event = head;
  for (int i = 1; i < t.queueCount; ++i) t.queue[i - 1] = t.queue[i];
  --t.queueCount;
  t.currentId = event->hotKeyId;
  t.currentPressIndex = event->pressIndex;
  return true;
}

void DrainKeyEvents(EngineState& engine) {
  TranslatorState& t = engine.translator;
  if (t.queueCount == 0 || t.draining) return;
  t.draining = 1;
  while (TranslateNextEvent(engine)) {
  }
  t.draining = 0;
}

bool TranslateNextEvent(EngineState& engine) {
  KeyEvent event;
  if (!TakeReadyEvent(engine, &event)) return false;
  const uint16_t n = event.hotKeyId;
  const KeyLayout& layout = *engine.layout;
  TranslatorState& t = engine.translator;
  if (MatchesKeySet(n, kSwitchKeysBase, engine.config->switchKeys)) {
    NextLayout(engine);  // drops the rest of the queue
  } else if (MatchesKeySet(n, kShiftKeysBase, layout.shiftKeys)) {
    t.shiftOn = !t.shiftOn;
  } else if (MatchesKeySet(n, kCapsLockKeysBase, layout.capsLockKeys)) {
    t.shiftOn = 0;
    t.capsLockOn = !t.capsLockOn;
  } else if (MatchesKeySet(n, kCtrlKeysBase, layout.ctrlKeys)) {
    t.ctrlOn = !t.ctrlOn;
  } else if (MatchesKeySet(n, kAltKeysBase, layout.altKeys)) {
    t.altOn = !t.altOn;
  } else if (MatchesKeySet(n, kWinKeysBase, layout.winKeys)) {
    t.winOn = !t.winOn;
  } else if (MatchesKeySet(n, kAccentKeysBase, layout.accentKeys)) {
    ToggleAccent(engine);
  } else if (MatchesKeySet(n, kAccent2KeysBase, layout.accent2Keys)) {
    t.accentState = t.accentState == 2 ? 0 : 2;
  } else if (MatchesKeySet(n, kAccent3KeysBase, layout.accent3Keys)) {
    t.accentState = t.accentState == 3 ? 0 : 3;
  } else {
    TranslateOrdinaryKey(engine, n, event.pressIndex < kMaxPressLevels ? event.pressIndex : 0);
  }
  return true;
}
