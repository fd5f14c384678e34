#include "engine/switching.h"

#include "engine/hint.h"
#include "engine/hotkeys.h"
#include "layoutfiles/layout_error_box.h"
#include "layoutfiles/layout_reader.h"
#include "platform/wtext.h"

namespace {
constexpr int kUnloadSlotTicks = 20;  // the hint shows for a second before the engine ends
}  // namespace

// Only the first assigned slot after the current one is tried; a failure stops the search there,
// so the next switch tries the same slot again.
bool NextLayout(EngineState& engine) {
  int slot = engine.currentSlot;
  for (int tries = 0; tries < kLayoutSlots; ++tries) {
    slot = slot >= kLayoutSlots - 1 ? 0 : slot + 1;
    if (!wtext::Equal(engine.config->layoutFiles[slot], kUnassignedSlot)) return ActivateSlot(engine, slot);
  }
  return false;
}

bool ActivateSlot(EngineState& engine, int slot) {
  const WChar* entry = engine.config->layoutFiles[slot];
  if (wtext::Equal(entry, kUnassignedSlot)) return false;
  BeginNewLayout(engine.translator);
  ReleaseAllHotKeys(engine);
  engine.translator.unloading = 0;
  if (wtext::Equal(entry, kUnloadSlot)) {
    ShowHint(engine, u"Unloading...");
    engine.unloadCountdown = kUnloadSlotTicks;
    engine.translator.unloading = 1;
    engine.currentSlot = slot;
    return true;
  }
  if (wtext::Equal(entry, kDefaultLayoutSlot)) {
    InitDefaultLayout(*engine.layout);
    ShowHint(engine, engine.config->defaultHint);
    RegisterAllHotKeys(engine);
    engine.currentSlot = slot;
    return true;
  }
  // A layout that fails to read stays active as far as it was read, so its keys still work;
  // the user is told what is wrong before its hot keys and hint come up.
  LayoutError error;
  const bool ok = ReadLayoutFile(entry, *engine.layout, error);
  if (!ok) ShowLayoutError(error);
  RegisterAllHotKeys(engine);
  ShowHint(engine, engine.layout->hint);
  if (ok) engine.currentSlot = slot;
  return ok;
}
