// Typing keeps the device awake: the engine reports user activity itself.
#pragma once

#include "engine/engine_state.h"

void SignalUserActivity();
// The activity step of each hot key: at most one report every 100 ticks.
void ActivityStep(EngineState& engine);
void AdvanceActivityCountdown(EngineState& engine);
