#include "layoutfiles/key_roles.h"

const ModifierRoleInfo kModifierRoles[kModifierRoleCount] = {
    {RoleShift, 208, &KeyLayout::shiftKeys, &KeyLayout::internalShift, kFlagShift, 0x0101, u"shiftkey",
     u"Invalid ShiftKey parameter"},
    {RoleCapsLock, 212, &KeyLayout::capsLockKeys, &KeyLayout::internalCapsLock, 0, 0x0102, u"capslockkey",
     u"Invalid CapslockKey parameter"},
    {RoleWin, 216, &KeyLayout::winKeys, &KeyLayout::internalWin, kFlagWin, 0x0105, u"winkey",
     u"Invalid WinKey parameter"},
    {RoleCtrl, 220, &KeyLayout::ctrlKeys, &KeyLayout::internalCtrl, kFlagCtrl, 0x0103, u"ctrlkey",
     u"Invalid CtrlKey parameter"},
    {RoleAlt, 224, &KeyLayout::altKeys, &KeyLayout::internalAlt, kFlagAlt, 0x0104, u"altkey",
     u"Invalid AltKey parameter"},
};

const AccentRoleInfo kAccentRoles[kAccentLevels] = {
    {1, 228, &KeyLayout::accentKeys},
    {2, 232, &KeyLayout::accent2Keys},
    {3, 236, &KeyLayout::accent3Keys},
};

ScanWord InternalModifierMask(const KeyLayout& layout) {
  ScanWord mask = 0;
  for (const ModifierRoleInfo& r : kModifierRoles) {
    if (!KeySetEmpty(layout.*r.keys)) mask |= r.flag;
  }
  return mask;
}

void SetInternalFlags(KeyLayout& layout) {
  for (const ModifierRoleInfo& r : kModifierRoles) {
    if (!KeySetEmpty(layout.*r.keys)) layout.*r.internal = 1;
  }
  for (int k = 0; k < layout.keyCount && k < kMaxKeys; ++k) {
    const KeyDef& key = layout.keys[k];
    for (int level = 0; level < kMaxPressLevels; ++level) {
      for (int column = 0; column < kColumns; ++column) {
        if (key.kinds[level][column] != Command) continue;
        const CommandInfo command = DescribeCommand(key.values[level][column]);
        if (command.kind == CommandKind::ToggleModifier) layout.*kModifierRoles[command.role].internal = 1;
      }
    }
  }
}

namespace {

struct BuiltInCommand {
  uint16_t code;
  CommandInfo info;
};

constexpr BuiltInCommand kBuiltInCommands[] = {
    {0x0101, {CommandKind::ToggleModifier, RoleShift, 0}}, {0x0102, {CommandKind::ToggleModifier, RoleCapsLock, 0}},
    {0x0103, {CommandKind::ToggleModifier, RoleCtrl, 0}},  {0x0104, {CommandKind::ToggleModifier, RoleAlt, 0}},
    {0x0105, {CommandKind::ToggleModifier, RoleWin, 0}},   {0x0110, {CommandKind::AccentOff, RoleShift, 0}},
    {0x0111, {CommandKind::ToggleAccent, RoleShift, 1}},   {0x0112, {CommandKind::ToggleAccent, RoleShift, 2}},
    {0x0113, {CommandKind::ToggleAccent, RoleShift, 3}},   {0x011F, {CommandKind::CycleAccent, RoleShift, 0}},
    {0x0120, {CommandKind::NextLayout, RoleShift, 0}},     {0x0121, {CommandKind::Unload, RoleShift, 0}},
};

}  // namespace

CommandInfo DescribeCommand(uint16_t code) {
  if (code <= kMaxExecId) return {CommandKind::Exec, RoleShift, 0};
  if (code >= kOrnitapFirstCommand && code <= kOrnitapLastCommand) return {CommandKind::Ornitap, RoleShift, 0};
  for (const BuiltInCommand& c : kBuiltInCommands) {
    if (c.code == code) return c.info;
  }
  return {CommandKind::None, RoleShift, 0};
}
