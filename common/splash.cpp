#include "common/splash.h"

#include "platform/drawing.h"
#include "platform/windowing.h"
#include "platform/wtext.h"

const WChar kSplashClass[] = u"TarvinSplashWindow";
const WChar kProductText[] = u"Tarvin Typist v1.4\n\r(c) Tarvin Typist developers\n\rtarvin-typist.example";

namespace {

constexpr int kSplashBitmapId = 1034;
constexpr int kBitmapWidth = 150;
constexpr int kBitmapHeight = 78;
constexpr int kBitmapTop = 10;
constexpr int kTextTop = kBitmapTop + kBitmapHeight + 5;  // 93: the text starts below the picture
constexpr int kTextMargin = 5;
constexpr int kSideMargins = 20;
constexpr int kHeightBeyondText = 103;  // picture, gaps and frame
constexpr int kLargestFontSize = 16;
constexpr int kSmallestFontSize = 1;  // the text fits long before this on any real screen
constexpr int kBigScreen = 321;       // wider screens get bold text
constexpr int kBold = 700;
constexpr uint32_t kAboutMs = 5000;
constexpr uint32_t kAboutSliceMs = 100;
constexpr int kMessagesPerSlice = 10;
constexpr uint32_t kSliceSleepMs = 10;

bool BigScreen() { return plat::GetScreenWidth() > kBigScreen; }

plat::Font SplashFont(int size) { return plat::CreateSystemFont(-size, BigScreen() ? kBold : 0); }

// Picks the largest font the text fits at, then sizes and centres the window around it.
void SizeSplash(SplashWindow& s, plat::Window window) {
  const int screenWidth = plat::GetScreenWidth();
  int limit = screenWidth * 9 / 10 - 20;
  if (limit < kBitmapWidth) limit = kBitmapWidth;

  int textWidth = 0, textHeight = 0;
  for (int size = kLargestFontSize; size >= kSmallestFontSize; --size) {
    plat::Font font = SplashFont(size);
    int w = 0, h = 0;
    const bool measured = plat::MeasureText(font, s.text, plat::kDtCalcRect, &w, &h);
    plat::DeleteFont(font);
    if (!measured) continue;
    s.fontSize = size;
    textWidth = w;
    textHeight = h;
    if (w <= limit) break;
  }
  const int width = (textWidth > kBitmapWidth ? textWidth : kBitmapWidth) + kSideMargins;
  const int height = textHeight + kHeightBeyondText;
  plat::PlaceWindow(window, (screenWidth - width) / 2, (plat::GetScreenHeight() - height) / 2, width, height, true);
}

void PaintSplash(const SplashWindow& s, plat::Window window) {
  plat::Surface surface = plat::StartPaint(window);
  plat::Rect r{};
  plat::GetClientArea(window, &r);
  plat::DrawFrame(surface, r);
  plat::DrawFrame(surface, plat::Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
  plat::DrawPicture(surface, s.bitmap, r.left + (r.right - r.left - kBitmapWidth) / 2, kBitmapTop);
  plat::Font font = SplashFont(s.fontSize);
  plat::PaintText(surface, font, s.text,
                  plat::Rect{r.left + kTextMargin, r.top + kTextTop, r.right - kTextMargin, r.bottom - kTextMargin},
                  plat::kDtCenter | plat::kDtWordBreak, plat::kColorDefault, false);
  plat::DeleteFont(font);
  plat::FinishPaint(window, surface);
}

intptr_t SplashWindowProc(void* context, plat::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  SplashWindow* s = static_cast<SplashWindow*>(context);
  if (s == nullptr) return plat::DefaultWindowProc(window, message, wParam, lParam);
  switch (message) {
    case plat::kWmCreate: SizeSplash(*s, window); return 0;
    case plat::kWmPaint: PaintSplash(*s, window); return 0;
    default: return plat::DefaultWindowProc(window, message, wParam, lParam);
  }
}

}  // namespace

void ShowSplash(SplashWindow& s) {
  s.busy = 1;
  wtext::Copy(s.text, kSplashTextLength, kProductText);
  s.bitmap = plat::LoadPicture(kSplashBitmapId);
  plat::RegisterWindowClass(kSplashClass, SplashWindowProc);
  plat::WindowSpec spec{};
  spec.className = kSplashClass;
  spec.title = u"";
  spec.traits = plat::kWindowTopmost | plat::kWindowVisible;
  spec.x = spec.y = spec.width = spec.height = plat::kDefaultPlace;
  spec.context = &s;
  s.window = plat::NewWindow(spec);
  plat::SetWindowShown(s.window, true);
  plat::BringToFront(s.window);
  PumpSplash(s, 10);
}

void PumpSplash(SplashWindow& s, uint32_t ms) {
  const uint32_t start = plat::TickCount();
  while (plat::TickCount() - start < ms) {
    // Without a window there is nothing of ours to take: a filter of none would take every
    // window's messages, the quit message included.
    for (int i = 0; s.window != nullptr && i < kMessagesPerSlice; ++i) {
      plat::Message message;
      if (!plat::PollMessage(&message, s.window, true)) break;
      plat::DeliverMessage(message);
    }
    plat::SleepFor(kSliceSleepMs);
  }
}

void ShowAbout(SplashWindow& s) {
  if (s.busy) return;
  const uint32_t start = plat::TickCount();
  ShowSplash(s);
  while (plat::TickCount() - start < kAboutMs) PumpSplash(s, kAboutSliceMs);
  CloseSplash(s);
}

void CloseSplash(SplashWindow& s) {
  plat::SetWindowShown(s.window, false);
  plat::RemoveWindow(s.window);
  s.window = nullptr;
  plat::UnregisterWindowClass(kSplashClass);
  plat::FreePicture(s.bitmap);
  s.bitmap = nullptr;
  s.busy = 0;
}
