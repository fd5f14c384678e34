#include "engine/engine_main.h"

#include <cstdlib>

#include "engine/hint.h"
#include "engine/hotkeys.h"
#include "engine/main_window.h"
#include "engine/switching.h"
#include "engine/tray.h"
#include "layoutfiles/config_file.h"

namespace {

// The engine's two records, freed however the program ends: by its own shutdown, by a failed
// start, or when a simulated device is torn down under a running engine.
struct EngineRecords {
  EngineState& engine;
  ~EngineRecords() {
    std::free(engine.layout);
    std::free(engine.config);
    engine.layout = nullptr;
    engine.config = nullptr;
  }
};

void Shutdown(EngineState& engine) {
  ReleaseAllHotKeys(engine);
  RemoveTrayIcon(engine);
  std::free(engine.layout);
  std::free(engine.config);
  engine.layout = nullptr;
  engine.config = nullptr;
  if (engine.takeoverOpen) plat::CloseHotKeyTakeover();
}

}  // namespace

int EngineMain() {
  EngineState engine;
  InitEngineState(engine, nullptr, nullptr);
  engine.activityCountdown = 100;

  // A second start hands over to the running engine: it switches to its next layout.
  if (plat::Window running = plat::FindWindowByName(kEngineClass, kEngineTitle)) {
    plat::PostToWindow(running, MsgNextLayout, 0, 0);
    return 0;
  }
  engine.takeoverOpen = plat::OpenHotKeyTakeover();
  RegisterEngineClass();

  // One allocation each for the whole run; a reload or a switch refills them in place.
  EngineRecords records{engine};
  engine.config = static_cast<MapperConfig*>(std::calloc(1, sizeof(MapperConfig)));
  engine.layout = static_cast<KeyLayout*>(std::calloc(1, sizeof(KeyLayout)));
  if (engine.config == nullptr || engine.layout == nullptr) return kExitStartFailed;
  SetConfigDefaults(*engine.config);
  engine.hintCountdown = -1;
  engine.hintX = -1;
  engine.hintY = -1;
  PlaceHint(engine);
  ReadConfig(*engine.config);
  CreateEngineWindow(engine);

  engine.currentSlot = kLayoutSlots - 1;  // the search starts at the first slot
  if (!NextLayout(engine)) {
    plat::ShowMessageBox(u"Error initializing Tarvin.\n\rPlease run Tarvin Settings", u"Error", plat::kMbIconHand);
    Shutdown(engine);
    return kExitStartFailed;
  }
  PlaceHint(engine);
  const int code = RunEngineLoop(engine);
  Shutdown(engine);
  return code;
}
