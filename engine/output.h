// The output stage: characters to the focused window, synthesized keystrokes, programs started,
// actions posted to the button program.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"

void TypeCharacter(EngineState& engine, WChar value);
void SendKeystroke(EngineState& engine, ScanWord word);
// Starts the program of the layout's Exec line with this id; says so in a box when it cannot.
void RunExec(EngineState& engine, uint16_t id);
void PostToOrnitap(uint16_t action);
