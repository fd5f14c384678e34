#include "engine/hint.h"

#include "engine/tray.h"
#include "platform/drawing.h"
#include "platform/windowing.h"
#include "platform/wtext.h"

namespace {
constexpr int kHintTicks = 20;  // one second of timer ticks
constexpr int kEdgeGap = 3;     // pixels between the popup and a screen edge
constexpr int kPadding = 4;     // popup size beyond the measured text, border included
constexpr int kBold = 700;

int PlaceOnAxis(int code, int size, int screen) {
  switch (code) {
    case 0: return kEdgeGap;
    case 1: return (screen - size) / 2;
    default: return screen - size - kEdgeGap;
  }
}
}  // namespace

plat::Font CreateHintFont(const MapperConfig& config) { return plat::CreateSystemFont(-config.hintFontSize, kBold); }

HintPosition ComputeHintPosition(uint16_t hintPos, int w, int h, int screenWidth, int screenHeight) {
  HintPosition p{PlaceOnAxis(hintPos & 0xFF, w, screenWidth), PlaceOnAxis(hintPos >> 8, h, screenHeight)};
  // A popup larger than the screen keeps its top-left corner on the screen and runs off the far side.
  if (p.x + w > screenWidth) p.x = screenWidth - w - kEdgeGap;
  if (p.x < kEdgeGap) p.x = kEdgeGap;
  if (p.y + h > screenHeight) p.y = screenHeight - h - kEdgeGap;
  if (p.y < kEdgeGap) p.y = kEdgeGap;
  return p;
}

void PlaceHint(EngineState& engine) {
  // One character more gives the popup a margin, and an empty hint still a size.
  WChar measured[kHintTextLength + 1];
  wtext::Copy(measured, kHintTextLength + 1, engine.hintText);
  wtext::Append(measured, kHintTextLength + 1, u"Q");
  int textWidth = 0, textHeight = 0;
  plat::Font font = CreateHintFont(*engine.config);
  plat::MeasureText(font, measured, plat::kDtCalcRect, &textWidth, &textHeight);
  plat::DeleteFont(font);

  const int w = textWidth + kPadding;
  const int h = textHeight + kPadding;
  const HintPosition p =
      ComputeHintPosition(engine.config->hintPos, w, h, plat::GetScreenWidth(), plat::GetScreenHeight());
  engine.hintX = p.x;
  engine.hintY = p.y;
  if (engine.window != nullptr) plat::PlaceWindow(engine.window, p.x, p.y, w, h, true);
}

void ShowHint(EngineState& engine, const WChar* text) {
  engine.hintCountdown = kHintTicks;
  wtext::Copy(engine.hintText, kHintTextLength, text);
  PlaceHint(engine);
  if (engine.config->hintMode == 0) {
    if (engine.window == nullptr) return;
    plat::SetWindowShown(engine.window, true);
    plat::BringToFront(engine.window);
    plat::InvalidateWindow(engine.window);
    return;
  }
  SetTrayIcon(engine, kNimDelete, nullptr);
  if (plat::Icon icon = RenderTrayIcon(engine)) SetTrayIcon(engine, kNimAdd, icon);
}

void PaintHint(EngineState& engine, plat::Window window) {
  plat::Surface surface = plat::StartPaint(window);
  plat::Rect client{};
  plat::GetClientArea(window, &client);
  plat::FillArea(surface, client, plat::kColorInfoBk);
  plat::Font font = CreateHintFont(*engine.config);
  plat::PaintText(surface, font, engine.hintText, client, plat::kDtCenter | plat::kDtVCenter, plat::kColorInfoText,
                  true);
  plat::DeleteFont(font);
  plat::FinishPaint(window, surface);
}

void AdvanceHintCountdown(EngineState& engine) {
  if (engine.hintCountdown > 0) {
    --engine.hintCountdown;
  } else if (engine.hintCountdown == 0) {
    // Hidden whatever the mode: a popup still up when a reload switched to tray mode would
    // otherwise stay on the screen for good. In tray mode the window is hidden already.
    if (engine.window != nullptr) plat::SetWindowShown(engine.window, false);
    engine.hintCountdown = -1;
  }
}
