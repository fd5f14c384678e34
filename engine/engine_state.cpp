#include "engine/engine_state.h"

#include <cstring>

void InitEngineState(EngineState& engine, MapperConfig* config, KeyLayout* layout) {
  std::memset(&engine, 0, sizeof engine);
  engine.config = config;
  engine.layout = layout;
  engine.unloadCountdown = -1;
  engine.translator.holdCountdown = -1;
  engine.activityCountdown = -1;
}
