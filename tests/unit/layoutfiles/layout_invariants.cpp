#include "tests/unit/layoutfiles/layout_invariants.h"

#include <cstdio>

namespace {

bool Terminated(const WChar* text, size_t capacity) {
  for (size_t i = 0; i < capacity; ++i) {
    if (text[i] == 0) return true;
  }
  return false;
}

bool CommandAllowed(uint16_t id) {
  return id <= 0x00FF || (id >= 0x0101 && id <= 0x0105) || (id >= 0x0110 && id <= 0x0113) ||
         (id >= 0x011F && id <= 0x0121) || (id >= 0x0200 && id <= 0x02FF);
}

bool KeySetWordsValid(const KeySet& set) {
  bool gap = false;
  for (ScanWord word : set.words) {
    if (word == 0) {
      gap = true;
    } else if (gap || KeyCode(word) == 0) {
      return false;  // filled from the first slot, every word with a key code
    }
  }
  return true;
}

std::string Hex(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "%04X", value);
  return text;
}

}  // namespace

std::string BrokenLayoutInvariant(const KeyLayout& layout) {
  if (!Terminated(layout.fileName, kFileNameLength) || !Terminated(layout.name, kLayoutNameLength) ||
      !Terminated(layout.hint, kHintLength)) {
    return "a text field is not terminated";
  }
  if (layout.name[0] == 0) return "empty name";
  if (layout.hint[0] == 0) return "empty hint";
  if (layout.hardware > Hermes) return "hardware out of range";
  if (layout.keyCount > kMaxKeys) return "keyCount above 200";
  if (layout.execCount > kMaxExecs) return "execCount above 16";
  if (layout.keypressTimeout != 0 &&
      (layout.keypressTimeout < kMinKeypressTimeout || layout.keypressTimeout > kMaxKeypressTimeout)) {
    return "keypressTimeout outside 100..2000";
  }

  const KeySet* sets[] = {&layout.shiftKeys, &layout.capsLockKeys, &layout.winKeys,     &layout.ctrlKeys,
                          &layout.altKeys,   &layout.accentKeys,   &layout.accent2Keys, &layout.accent3Keys};
  for (const KeySet* set : sets) {
    if (!KeySetWordsValid(*set)) return "a key set holds a word without key code or a gap";
  }
  if (!KeySetEmpty(layout.accent3Keys) && KeySetEmpty(layout.accent2Keys)) return "accent3 without accent2";
  if (!KeySetEmpty(layout.accent2Keys) && KeySetEmpty(layout.accentKeys)) return "accent2 without accent";

  for (int e = 0; e < layout.execCount; ++e) {
    const ExecDef& exec = layout.execs[e];
    if (exec.id > kMaxExecId) return "exec id above 00FF";
    if (exec.path >= kExecTextLength) return "exec path outside its text";
    if (exec.params != kNoParams && (exec.params >= kExecTextLength || exec.params <= exec.path)) {
      return "exec params outside its text";
    }
    if (!Terminated(exec.text, kExecTextLength)) return "exec text not terminated";
  }

  bool usesCommand[6] = {};
  for (int k = 0; k < layout.keyCount; ++k) {
    const KeyDef& key = layout.keys[k];
    if (KeyCode(key.scanWord) == 0) return "key " + Hex(key.scanWord) + " without key code";
    for (int other = 0; other < k; ++other) {
      if (layout.keys[other].scanWord == key.scanWord) return "key " + Hex(key.scanWord) + " defined twice";
    }
    if (key.pressLevels < 1 || key.pressLevels > kMaxPressLevels) return "key " + Hex(key.scanWord) + " levels";
    for (int level = 0; level < kMaxPressLevels; ++level) {
      for (int column = 0; column < kColumns; ++column) {
        const uint8_t kind = key.kinds[level][column];
        const uint16_t value = key.values[level][column];
        if (level >= key.pressLevels) {
          if (kind != 0 || value != 0) return "key " + Hex(key.scanWord) + " has data above its levels";
          continue;
        }
        if (kind > Command) return "unknown output kind";
        if (kind != Command) continue;
        if (!CommandAllowed(value)) return "command " + Hex(value) + " not allowed";
        if (value <= kMaxExecId && FindExecIndex(layout, value) < 0) return "command " + Hex(value) + " has no Exec";
        if (value >= 0x0101 && value <= 0x0105) usesCommand[value - 0x0100] = true;
      }
    }
  }

  const struct {
    uint8_t flag;
    const KeySet& set;
    int command;
    const char* what;
  } flags[] = {{layout.internalShift, layout.shiftKeys, 1, "internalShift"},
               {layout.internalCapsLock, layout.capsLockKeys, 2, "internalCapsLock"},
               {layout.internalCtrl, layout.ctrlKeys, 3, "internalCtrl"},
               {layout.internalAlt, layout.altKeys, 4, "internalAlt"},
               {layout.internalWin, layout.winKeys, 5, "internalWin"}};
  for (const auto& f : flags) {
    const bool expected = !KeySetEmpty(f.set) || usesCommand[f.command];
    if (f.flag != (expected ? 1 : 0)) return std::string(f.what) + " does not follow its keys and commands";
  }
  return "";
}
