#include "engine/engine_state.h"

#include <cstring>

void InitEngineState(EngineState& engine, MapperConfig* config, KeyLayout* layout) {
  std::memset(&engine, 0, sizeof engine);
  engine.config = config;
  engine.layout = layout;
  engine.unloadCountdown = -1;
  InitTranslatorState(engine.translator);
  engine.activityCountdown = -1;
}
