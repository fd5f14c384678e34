// The engine's hot keys and the switching between the configuration's four layout slots.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"

void RegisterKeySet(EngineState& engine, uint8_t base, const ScanWord* words);
void ReleaseKeySet(EngineState& engine, uint8_t base, const ScanWord* words);
void RegisterAllHotKeys(EngineState& engine);
void ReleaseAllHotKeys(EngineState& engine);
// Tick duty: the switch keys are taken again every 10 s, in case another program grabbed them.
void AdvanceSwitchKeyRefresh(EngineState& engine);
bool NextLayout(EngineState& engine);
bool ActivateSlot(EngineState& engine, int slot);
