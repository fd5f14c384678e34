#include "layoutfiles/model.h"

#include <cstring>

#include "platform/wtext.h"

const WChar kDefaultLayoutSlot[] = u"<Default layout>";
const WChar kUnassignedSlot[] = u"<Unassigned>";
const WChar kUnloadSlot[] = u"<Unload Typist>";

const WChar* ExecPath(const ExecDef& exec) { return exec.text + exec.path; }

const WChar* ExecParams(const ExecDef& exec) {
  return exec.params == kNoParams ? nullptr : exec.text + exec.params;
}

void ClearLayout(KeyLayout& layout) { std::memset(&layout, 0, sizeof layout); }

void InitDefaultLayout(KeyLayout& layout) {
  ClearLayout(layout);
  wtext::Copy(layout.fileName, kFileNameLength, kDefaultLayoutSlot);
  wtext::Copy(layout.name, kLayoutNameLength, u"Default Layout");
  wtext::Copy(layout.hint, kHintLength, u"Default");
}

void SetInternalFlags(KeyLayout& layout) {
  uint8_t* const flags[] = {&layout.internalShift, &layout.internalCapsLock, &layout.internalCtrl,
                            &layout.internalAlt, &layout.internalWin};
  const KeySet* const sets[] = {&layout.shiftKeys, &layout.capsLockKeys, &layout.ctrlKeys, &layout.altKeys,
                                &layout.winKeys};
  for (int m = 0; m < 5; ++m) {
    if (!KeySetEmpty(*sets[m])) *flags[m] = 1;
  }
  for (int k = 0; k < layout.keyCount && k < kMaxKeys; ++k) {
    const KeyDef& key = layout.keys[k];
    for (int level = 0; level < kMaxPressLevels; ++level) {
      for (int column = 0; column < kColumns; ++column) {
        const uint16_t v = key.values[level][column];
        if (key.kinds[level][column] == Command && v >= 0x0101 && v <= 0x0105) *flags[v - 0x0101] = 1;
      }
    }
  }
}

bool KeySetEmpty(const KeySet& set) {
  for (ScanWord w : set.words) {
    if (w != 0) return false;
  }
  return true;
}

bool KeySetsEqual(const KeySet& a, const KeySet& b) {
  for (int i = 0; i < kKeySetWords; ++i) {
    if (a.words[i] != b.words[i]) return false;
  }
  return true;
}

int FindKeyIndex(const KeyLayout& layout, ScanWord word) {
  int found = -1;
  for (int i = 0; i < layout.keyCount && i < kMaxKeys; ++i) {
    if (layout.keys[i].scanWord == word) found = i;
  }
  return found;
}

int FindExecIndex(const KeyLayout& layout, uint16_t id) {
  int found = -1;
  for (int i = 0; i < layout.execCount && i < kMaxExecs; ++i) {
    if (layout.execs[i].id == id) found = i;
  }
  return found;
}
