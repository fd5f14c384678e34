// Hot keys, the keyboard and the user's activity.
#pragma once

#include "platform/base.h"

namespace plat {

// Hot key modifiers.
constexpr uint32_t kModAlt = 1;
constexpr uint32_t kModControl = 2;
constexpr uint32_t kModShift = 4;
constexpr uint32_t kModWin = 8;

// Virtual-key codes the programs name.
constexpr uint8_t kVkShift = 0x10;
constexpr uint8_t kVkControl = 0x11;
constexpr uint8_t kVkMenu = 0x12;  // Alt
constexpr uint8_t kVkCapital = 0x14;
constexpr uint8_t kVkLWin = 0x5B;
constexpr uint8_t kVkRWin = 0x5C;

// The first registration of a modifiers+key pair wins; a registered pair reaches `window` as
// kWmHotKey with `id` in wParam and no longer reaches other programs.
bool AddHotKey(Window window, int id, uint32_t modifiers, uint32_t keyCode);
bool RemoveHotKey(Window window, int id);
// The call that takes a pair from whichever other program holds it. Opening looks it up; when the
// platform lacks it, TakeHotKey does nothing.
bool OpenHotKeyTakeover();
void TakeHotKey(uint32_t modifiers, uint32_t keyCode);
void CloseHotKeyTakeover();

// One UTF-16 unit arrives as typed text at the window with the keyboard focus.
void SendCharacter(WChar unit);
// One key transition enters the input stream like a real key.
void SendKeyTransition(uint8_t keyCode, bool up);
bool IsCapsLockOn();

void ResetIdleTimer();
// Sets the named event when it exists; false when it does not.
bool SetNamedEvent(const WChar* name);

}  // namespace plat
