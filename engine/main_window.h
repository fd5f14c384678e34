// The engine's one window: hot key notifications, the 50 ms tick, the private messages.
#pragma once

#include <cstdint>

#include "engine/engine_state.h"

bool RegisterEngineClass();
// The window carries the engine's state: its procedure finds it there with every message.
plat::Window CreateEngineWindow(EngineState& engine);
intptr_t EngineWindowProc(void* context, plat::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
void EngineTick(EngineState& engine);
// Starts the timer and runs the message loop; returns the quit message's exit code.
int RunEngineLoop(EngineState& engine);
