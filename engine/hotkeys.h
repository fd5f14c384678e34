// The engine's hot keys: the configuration's switch keys and the active layout's keys and key sets,
// registered under their HotKeyIds and released again.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"

void RegisterKeySet(EngineState& engine, uint8_t base, const ScanWord* words);
void ReleaseKeySet(EngineState& engine, uint8_t base, const ScanWord* words);
// While the engine unloads the key table is not registered again; releasing always releases it.
void RegisterAllHotKeys(EngineState& engine);
void ReleaseAllHotKeys(EngineState& engine);
// Tick duty: the switch keys are taken again every 10 s, in case another program grabbed them.
void AdvanceSwitchKeyRefresh(EngineState& engine);
