// The output stage: characters to the focused window, synthesized keystrokes, commands.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"

void TypeCharacter(EngineState& engine, WChar value);
void SendKeystroke(EngineState& engine, ScanWord word);
void RunCommand(EngineState& engine, uint16_t id);
