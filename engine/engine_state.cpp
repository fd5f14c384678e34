#include "engine/engine_state.h"

#include <cstring>

const WChar kEngineClass[] = u"TarvinWndClass";
const WChar kEngineTitle[] = u"Tarvin Window";

void InitEngineState(EngineState& engine, MapperConfig* config, KeyLayout* layout) {
  std::memset(&engine, 0, sizeof engine);
  engine.config = config;
  engine.layout = layout;
  engine.unloadCountdown = -1;
  engine.translator.holdCountdown = -1;
  engine.activityCountdown = -1;
}
