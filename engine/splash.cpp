#include "engine/splash.h"

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
constexpr uint32_t kWsExTopmost = 0x8;
constexpr uint32_t kWsVisible = 0x10000000;
constexpr int kUseDefault = static_cast<int>(0x80000000u);
constexpr uint32_t kAboutMs = 5000;
constexpr uint32_t kAboutSliceMs = 100;
constexpr int kMessagesPerSlice = 10;
constexpr uint32_t kSliceSleepMs = 10;

// Each simulated program runs on a thread of its own; on the device this is one per process.
thread_local SplashWindow tSplash;

bool BigScreen() { return plat::GetScreenWidth() > kBigScreen; }

plat::Font SplashFont(int size) { return plat::CreateSystemFont(-size, BigScreen() ? kBold : 0); }

// Picks the largest font the text fits at, then sizes and centres the window around it.
void SizeSplash(plat::Window window) {
  SplashWindow& s = tSplash;
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
  plat::MoveWindow(window, (screenWidth - width) / 2, (plat::GetScreenHeight() - height) / 2, width, height, true);
}

void PaintSplash(plat::Window window) {
  const SplashWindow& s = tSplash;
  plat::Surface surface = plat::BeginPaint(window);
  plat::Rect r{};
  plat::GetClientRect(window, &r);
  plat::DrawFrame(surface, r);
  plat::DrawFrame(surface, plat::Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
  plat::DrawBitmap(surface, s.bitmap, r.left + (r.right - r.left - kBitmapWidth) / 2, kBitmapTop);
  plat::Font font = SplashFont(s.fontSize);
  plat::DrawText(surface, font, s.text,
                 plat::Rect{r.left + kTextMargin, r.top + kTextTop, r.right - kTextMargin, r.bottom - kTextMargin},
                 plat::kDtCenter | plat::kDtWordBreak, plat::kColorDefault, false);
  plat::DeleteFont(font);
  plat::EndPaint(window, surface);
}

}  // namespace

SplashWindow& CurrentSplash() { return tSplash; }

intptr_t SplashWindowProc(plat::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case plat::kWmCreate:
      SizeSplash(window);
      return 0;
    case plat::kWmPaint:
      PaintSplash(window);
      return 0;
    default:
      return plat::DefWindowProc(window, message, wParam, lParam);
  }
}

void ShowSplash() {
  SplashWindow& s = tSplash;
  s.busy = 1;
  wtext::Copy(s.text, kSplashTextLength, kProductText);
  s.bitmap = plat::LoadBitmap(kSplashBitmapId);
  plat::RegisterWindowClass(kSplashClass, SplashWindowProc);
  s.window = plat::CreateWindow(kWsExTopmost, kSplashClass, u"", kWsVisible, kUseDefault, kUseDefault, kUseDefault,
                                kUseDefault);
  plat::ShowWindow(s.window, plat::kSwShowNormal);
  plat::SetForegroundWindow(s.window);
  PumpSplash(10);
}

void PumpSplash(uint32_t ms) {
  const uint32_t start = plat::GetTickCount();
  while (plat::GetTickCount() - start < ms) {
    // Without a window there is nothing of ours to take: a filter of none would take every
    // window's messages, the quit message included.
    for (int i = 0; tSplash.window != nullptr && i < kMessagesPerSlice; ++i) {
      plat::Message message;
      if (!plat::PeekMessage(&message, tSplash.window, true)) break;
      plat::DispatchMessage(message);
    }
    plat::Sleep(kSliceSleepMs);
  }
}

void ShowAbout() {
  if (tSplash.busy) return;
  const uint32_t start = plat::GetTickCount();
  ShowSplash();
  while (plat::GetTickCount() - start < kAboutMs) PumpSplash(kAboutSliceMs);
  CloseSplash();
}

void CloseSplash() {
  SplashWindow& s = tSplash;
  plat::ShowWindow(s.window, plat::kSwHide);
  plat::DestroyWindow(s.window);
  s.window = nullptr;
  plat::UnregisterWindowClass(kSplashClass);
  plat::DeleteBitmap(s.bitmap);
  s.bitmap = nullptr;
  s.busy = 0;
}
