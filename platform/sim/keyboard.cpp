// The hot key table and the keyboard of the simulated device: a press goes to the hot key owner,
// or else to the focused window, whose text follows a small edit-box model.
#include "platform/sim/internal.h"

namespace sim {

namespace {

uint32_t ModifiersOf(uint16_t scanWord) {
  uint32_t m = 0;
  if (scanWord & 0x0100) m |= plat::kModShift;
  if (scanWord & 0x0200) m |= plat::kModControl;
  if (scanWord & 0x0400) m |= plat::kModAlt;
  if (scanWord & 0x0800) m |= plat::kModWin;
  return m;
}

bool IsModifierKey(uint8_t vk) {
  return vk == 0x10 || vk == 0x11 || vk == 0x12 || vk == 0x5B || vk == 0x5C || (vk >= 0xA0 && vk <= 0xA5);
}

// The character an unmodified edit box makes of a key, or 0.
WChar CharOfKey(uint8_t vk, bool shift, bool capsLock) {
  if (vk >= 'A' && vk <= 'Z') return static_cast<WChar>((shift != capsLock) ? vk : vk + 0x20);
  if (vk >= '0' && vk <= '9') return shift ? u")!@#$%^&*("[vk - '0'] : static_cast<WChar>(vk);
  switch (vk) {
    case 0x20: return u' ';
    case 0x0D: return u'\r';
    case 0x09: return u'\t';
    case 0x08: return 0x08;
    default: return 0;
  }
}

}  // namespace

bool SimDevice::AddHotKey(plat::Window window, int id, uint32_t modifiers, uint32_t keyCode) {
  if (Win(window) == nullptr) return false;
  for (const HotKeyInfo& h : hotKeys_) {
    if (h.modifiers == modifiers && h.keyCode == keyCode) return false;
  }
  hotKeys_.push_back({window, id, modifiers, keyCode});
  return true;
}

bool SimDevice::RemoveHotKey(plat::Window window, int id) {
  for (auto it = hotKeys_.begin(); it != hotKeys_.end(); ++it) {
    if (it->owner == window && it->id == id) {
      hotKeys_.erase(it);
      return true;
    }
  }
  return false;
}

// Takes the pair from other programs only: the caller's own registrations stay, so the first of
// its roles to register a pair keeps it.
void SimDevice::TakeHotKey(uint32_t modifiers, uint32_t keyCode) {
  const int caller = CurrentPid();
  std::erase_if(hotKeys_, [&](const HotKeyInfo& h) {
    return h.modifiers == modifiers && h.keyCode == keyCode && Win(h.owner)->owner != caller;
  });
}

void SimDevice::SetCapsLock(bool on) { capsLock_ = on; }

void SimDevice::TypeIntoFocus(uint8_t keyCode, bool shift) {
  if (keyCode == 0x14) {
    capsLock_ = !capsLock_;
    return;
  }
  WindowRec* w = Win(foreground_);
  WChar c = CharOfKey(keyCode, shift, capsLock_);
  if (w == nullptr || c == 0) return;
  if (c == 0x08) {
    if (!w->text.empty()) w->text.pop_back();
  } else {
    w->text.push_back(c);
  }
}

// Posts WM_HOTKEY to the owner of the pair, if any; returns the registration that caught the key.
const HotKeyInfo* SimDevice::CatchHotKey(uint32_t mods, uint8_t vk) {
  for (const HotKeyInfo& h : hotKeys_) {
    if (h.modifiers != mods || h.keyCode != vk) continue;
    Enqueue({h.owner, plat::kWmHotKey, static_cast<uintptr_t>(h.id), static_cast<intptr_t>(mods | (vk << 16))});
    return &h;
  }
  return nullptr;
}

void SimDevice::Press(uint16_t scanWord) {
  uint8_t vk = static_cast<uint8_t>(scanWord & 0xFF);
  if (const HotKeyInfo* h = CatchHotKey(ModifiersOf(scanWord), vk)) {
    LogEntry& e = AddLog(LogKind::HotKey);
    e.a = scanWord;
    e.b = static_cast<uint32_t>(h->id);
    e.c = Win(h->owner)->owner;
    return;
  }
  LogEntry& e = AddLog(LogKind::Raw);
  e.a = scanWord;
  if ((scanWord & 0x0E00) == 0) TypeIntoFocus(vk, (scanWord & 0x0100) != 0);
}

void SimDevice::InjectCharacter(WChar unit) {
  LogEntry& e = AddLog(LogKind::Char);
  e.a = unit;
  WindowRec* w = Win(foreground_);
  if (w == nullptr) return;
  if (unit == 0x08) {
    if (!w->text.empty()) w->text.pop_back();
  } else {
    w->text.push_back(unit);
  }
}

// Injected transitions are seen by the hot key table like real ones: a program that synthesizes a
// key it has registered catches its own keystroke.
void SimDevice::InjectKeyTransition(uint8_t keyCode, bool up) {
  AddLog(up ? LogKind::KeyUp : LogKind::KeyDown).a = keyCode;
  if (up) {
    keyDown_[keyCode] = false;
    return;
  }
  uint32_t mods = 0;
  if (keyDown_[0x10] || keyDown_[0xA0] || keyDown_[0xA1]) mods |= plat::kModShift;
  if (keyDown_[0x11] || keyDown_[0xA2] || keyDown_[0xA3]) mods |= plat::kModControl;
  if (keyDown_[0x12] || keyDown_[0xA4] || keyDown_[0xA5]) mods |= plat::kModAlt;
  if (keyDown_[0x5B] || keyDown_[0x5C]) mods |= plat::kModWin;
  keyDown_[keyCode] = true;
  if (CatchHotKey(mods, keyCode) != nullptr) return;
  if (IsModifierKey(keyCode)) return;
  if ((mods & (plat::kModControl | plat::kModAlt | plat::kModWin)) == 0) {
    TypeIntoFocus(keyCode, (mods & plat::kModShift) != 0);
  }
}

}  // namespace sim
