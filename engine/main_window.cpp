#include "engine/main_window.h"

#include "engine/activity.h"
#include "engine/hint.h"
#include "engine/hotkeys.h"
#include "engine/tray.h"
#include "engine/translate.h"
#include "layoutfiles/config_file.h"

namespace {

// One engine per program; the simulated device runs each program on its own thread.
thread_local EngineState* tEngine = nullptr;

constexpr uint32_t kExStyle = 0x0C000008;  // topmost, never activated, not animated
constexpr uint32_t kStyle = 0x00800000;    // thin border: the window is also the popup hint

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
  ResetModifierStates(engine);
  engine.currentSlot = kLayoutSlots - 1;
  NextLayout(engine);
}

}  // namespace

void BindEngine(EngineState* engine) { tEngine = engine; }

bool RegisterEngineClass() { return plat::RegisterWindowClass(kEngineClass, EngineWindowProc); }

// Bound before the window exists, since its procedure runs during creation already.
plat::Window CreateEngineWindow(EngineState& engine) {
  BindEngine(&engine);
  engine.window = plat::CreateWindow(kExStyle, kEngineClass, kEngineTitle, kStyle, 0, 0, 0, 0);
  return engine.window;
}

void EngineTick(EngineState& engine) {
  AdvanceActivityCountdown(engine);
  AdvanceHoldSlot(engine);
  AdvanceHintCountdown(engine);
  AdvanceSwitchKeyRefresh(engine);
  if (engine.unloadCountdown > 0) {
    --engine.unloadCountdown;
  } else if (engine.unloadCountdown == 0) {
    engine.unloadCountdown = -1;
    plat::PostQuitMessage(0);
  }
  DrainKeyEvents(engine);
}

intptr_t EngineWindowProc(plat::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  EngineState* engine = tEngine;
  if (engine == nullptr) return plat::DefWindowProc(window, message, wParam, lParam);
  engine->window = window;
  switch (message) {
    case plat::kWmPaint:
      PaintHint(*engine, window);
      break;
    case plat::kWmTimer:
      if (wParam != EngineTimer) break;
      EngineTick(*engine);
      return 0;
    case plat::kWmHotKey:
      ActivityStep(*engine);
      OnHotKey(*engine, static_cast<uint16_t>(wParam & 0xFFFF));
      return 0;
    case MsgNextLayout:
      NextLayout(*engine);
      return 0;
    case MsgReloadConfig:
      ReloadConfig(*engine);
      return 0;
    case MsgReleaseKeys:
      ReleaseKeys(*engine);
      return 0;
    case MsgTrayNotify:
      if (lParam == plat::kWmLButtonDown) ShowTrayMenu(*engine);
      break;
    default:
      break;
  }
  return plat::DefWindowProc(window, message, wParam, lParam);
}

int RunEngineLoop(EngineState& engine) {
  plat::SetTimer(engine.window, EngineTimer, kEngineTimerPeriod);
  plat::Message message;
  while (plat::GetMessage(&message)) {
    plat::DispatchMessage(message);
  }
  return static_cast<int>(message.wParam);
}
