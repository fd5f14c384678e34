#include "layoutfiles/model.h"

#include <cstring>

#include "platform/wtext.h"

const WChar kDefaultLayoutSlot[] = u"<Default layout>";
const WChar kUnassignedSlot[] = u"<Unassigned>";
const WChar kUnloadSlot[] = u"<Unload Typist>";

const WChar* ExecPath(const ExecDef& exec) { return exec.text + exec.path; }

const WChar* ExecParams(const ExecDef& exec) { return exec.params == kNoParams ? nullptr : exec.text + exec.params; }

void ClearLayout(KeyLayout& layout) { std::memset(&layout, 0, sizeof layout); }

void InitDefaultLayout(KeyLayout& layout) {
  ClearLayout(layout);
  wtext::Copy(layout.fileName, kFileNameLength, kDefaultLayoutSlot);
  wtext::Copy(layout.name, kLayoutNameLength, u"Default Layout");
  wtext::Copy(layout.hint, kHintLength, u"Default");
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
