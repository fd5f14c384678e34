// The roles a key can play besides typing, each described once: the modifier roles and accent
// levels a layout assigns through its key sets, and the built-in commands of its Key lines.
#pragma once

#include <cstdint>

#include "layoutfiles/model.h"

// The modifier roles, in the order of their HotKeyId slots.
enum ModifierRole : uint8_t { RoleShift, RoleCapsLock, RoleWin, RoleCtrl, RoleAlt, kModifierRoleCount };

struct ModifierRoleInfo {
  ModifierRole role;
  uint8_t slotBase;              // HotKeyId slot of the set's first word
  KeySet KeyLayout::*keys;       // the layout's keys for the role
  uint8_t KeyLayout::*internal;  // set when the layout tracks the modifier itself
  ScanWord flag;                 // the ScanWord flag of the modifier; 0 for Caps Lock, which has none
  uint16_t toggleCommand;        // the built-in command that toggles it
  const WChar* keyword;          // the layout file's keyword, lower case
  const WChar* invalidMessage;   // the reader's message for a bad value
};

extern const ModifierRoleInfo kModifierRoles[kModifierRoleCount];  // indexed by ModifierRole

// The accent levels 1 to 3; each level's set must follow the one before it.
constexpr int kAccentLevels = 3;
struct AccentRoleInfo {
  int level;
  uint8_t slotBase;
  KeySet KeyLayout::*keys;
};
extern const AccentRoleInfo kAccentRoles[kAccentLevels];  // level 1 first

// Sets each internal modifier flag when its modifier KeySet is not empty or some key uses the
// built-in command that toggles it.
void SetInternalFlags(KeyLayout& layout);

// The flags of the modifiers that the layout tracks itself (a key set of the role is not empty):
// the engine strips them from a key's word and adds its own state instead.
ScanWord InternalModifierMask(const KeyLayout& layout);

// What a command code of a Key line does.
enum class CommandKind : uint8_t {
  None,            // not a command a layout may use
  Exec,            // start the program of the layout's Exec line with this id
  Ornitap,         // post the action number to the companion button program
  ToggleModifier,  // `role`: the modifier state flips
  AccentOff,       // no accent
  ToggleAccent,    // `level`: that accent state, or none when it is on already
  CycleAccent,     // the next accent state, none after the third
  NextLayout,      // switch to the next layout
  Unload,          // end the engine
};

struct CommandInfo {
  CommandKind kind;
  ModifierRole role;  // ToggleModifier
  int level;          // ToggleAccent
};

constexpr uint16_t kOrnitapFirstCommand = 0x0200;
constexpr uint16_t kOrnitapLastCommand = 0x02FF;

// The meaning of a command code; kind None for a code no layout may use.
CommandInfo DescribeCommand(uint16_t code);
// The action number posted for an Ornitap command.
constexpr uint16_t OrnitapAction(uint16_t code) { return static_cast<uint16_t>(code - kOrnitapFirstCommand); }
