// The hint that tells the user which layout is active: a one-second popup (the engine's window
// itself) or a text drawn into the tray icon.
#pragma once

#include "engine/engine_state.h"

void ShowHint(EngineState& engine, const WChar* text);
// Sizes the popup for the hint text and places it by the configuration's position codes.
void PlaceHint(EngineState& engine);
// Paints the popup: the WM_PAINT of the engine's window.
void PaintHint(EngineState& engine, plat::Window window);
// Tick duty: the popup hides one second after it was shown.
void AdvanceHintCountdown(EngineState& engine);

// The font of the popup, for measuring and painting alike.
plat::Font CreateHintFont(const MapperConfig& config);

struct HintPosition {
  int x;
  int y;
};
// Where a popup of w x h pixels goes on a W x H screen for the position codes of `hintPos` (low
// byte horizontal, high byte vertical: 0 near edge, 1 centre, anything else far edge).
HintPosition ComputeHintPosition(uint16_t hintPos, int w, int h, int screenWidth, int screenHeight);
