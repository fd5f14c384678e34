// Tarvin.exe: the engine is the whole program.
#include "engine/engine_main.h"
#include "platform/platform.h"

int plat::ProgramMain() { return EngineMain(); }
