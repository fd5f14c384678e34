#include "engine/main_window.h"

#include "engine/activity.h"
#include "engine/hint.h"
#include "engine/hotkeys.h"
#include "engine/key_path.h"
#include "engine/switching.h"
#include "engine/tray.h"
#include "layoutfiles/config_file.h"
#include "platform/windowing.h"

namespace {

// The window is also the popup hint: framed, above everything, and never taking the focus from
// the window the user types in.
constexpr uint32_t kEngineWindowTraits =
    plat::kWindowTopmost | plat::kWindowNeverActivated | plat::kWindowNoAnimation | plat::kWindowBorder;

// The release pass also stops the switch-key refresh, so nothing takes the keys back until a
// reload or a switch.
void ReleaseKeys(EngineState& engine) {
  RemoveTrayIcon(engine);
  ReleaseAllHotKeys(engine);
}

// The new configuration is read before the switch releases the old hot keys, so the switch keys
// released are the new ones; a caller that changes them sends MsgReleaseKeys first.
void ReloadConfig(EngineState& engine) {
  RemoveTrayIcon(engine);
  ReadConfig(*engine.config);
  ResetModifierStates(engine.translator);
  engine.currentSlot = kLayoutSlots - 1;
  NextLayout(engine);
}

void RunTrayChoice(EngineState& engine, uint32_t choice) {
  switch (choice) {
    case IdAbout: ShowAbout(engine.splash); break;
    case IdUnload: plat::PostQuit(kExitUnloadedFromTray); break;
    case IdNextLayout: NextLayout(engine); break;
    case IdSettings: StartSettings(); break;
    default: break;
  }
}

}  // namespace

bool RegisterEngineClass() { return plat::RegisterWindowClass(kEngineClass, EngineWindowProc); }

plat::Window CreateEngineWindow(EngineState& engine) {
  plat::WindowSpec spec{};
  spec.className = kEngineClass;
  spec.title = kEngineTitle;
  spec.traits = kEngineWindowTraits;
  spec.context = &engine;
  engine.window = plat::NewWindow(spec);
  return engine.window;
}

void EngineTick(EngineState& engine) {
  const Translator translator = EngineTranslator(engine);
  AdvanceActivityCountdown(engine);
  AdvanceHoldSlot(translator);
  AdvanceHintCountdown(engine);
  AdvanceSwitchKeyRefresh(engine);
  if (engine.unloadCountdown > 0) {
    --engine.unloadCountdown;
  } else if (engine.unloadCountdown == 0) {
    engine.unloadCountdown = -1;
    plat::PostQuit(kExitUnloaded);
  }
  DrainKeyEvents(translator);
}

intptr_t EngineWindowProc(void* context, plat::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  EngineState* engine = static_cast<EngineState*>(context);
  if (engine == nullptr) return plat::DefaultWindowProc(window, message, wParam, lParam);
  engine->window = window;
  switch (message) {
    case plat::kWmPaint: PaintHint(*engine, window); break;
    case plat::kWmTimer:
      if (wParam != EngineTimer) break;
      EngineTick(*engine);
      return 0;
    case plat::kWmHotKey:
      ActivityStep(*engine);
      OnHotKey(EngineTranslator(*engine), static_cast<uint16_t>(wParam & 0xFFFF),
               ScanWordOfHotKey(static_cast<uint32_t>(lParam & 0xFFFF), static_cast<uint8_t>((lParam >> 16) & 0xFF)));
      return 0;
    case MsgNextLayout: NextLayout(*engine); return 0;
    case MsgReloadConfig: ReloadConfig(*engine); return 0;
    case MsgReleaseKeys: ReleaseKeys(*engine); return 0;
    case MsgTrayNotify:
      if (lParam == plat::kWmLButtonDown) RunTrayChoice(*engine, ShowTrayMenu(*engine));
      break;
    default: break;
  }
  return plat::DefaultWindowProc(window, message, wParam, lParam);
}

int RunEngineLoop(EngineState& engine) {
  plat::StartTimer(engine.window, EngineTimer, kEngineTimerPeriod);
  plat::Message message;
  while (plat::NextMessage(&message)) {
    plat::DeliverMessage(message);
  }
  return static_cast<int>(message.wParam);
}
