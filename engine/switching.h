// Switching between the configuration's four layout slots: a layout file, the built-in default
// layout, or the unload slot.
#pragma once

#include "engine/engine_state.h"

// Activates the first assigned slot after the current one.
bool NextLayout(EngineState& engine);
bool ActivateSlot(EngineState& engine, int slot);
