// The translation core wired to the engine: its questions answered by the device, its effects
// carried out by the output stage, the switching and the hint.
#pragma once

#include "engine/engine_state.h"
#include "engine/translate.h"

Translator EngineTranslator(EngineState& engine);
