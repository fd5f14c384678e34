// The splash window: the product picture and text, centred and topmost. The engine shows it as its
// about window; the settings utility also shows it while it starts. Each program keeps its own
// SplashWindow record and hands it to every call.
#pragma once

#include <cstdint>

#include "platform/base.h"

using plat::WChar;

constexpr int kSplashTextLength = 256;

// One per program.
struct SplashWindow {
  plat::Picture bitmap;
  plat::Window window;  // nullptr while there is none
  uint8_t busy;         // from ShowSplash until CloseSplash
  WChar text[kSplashTextLength];
  int fontSize;  // character height chosen when the window was created
};

extern const WChar kSplashClass[];  // "TarvinSplashWindow"
extern const WChar kProductText[];

// Creates and shows the window, then returns; it stays until CloseSplash.
void ShowSplash(SplashWindow& splash);
void CloseSplash(SplashWindow& splash);
// Dispatches the splash window's own messages for `ms` milliseconds; other windows' messages wait.
void PumpSplash(SplashWindow& splash, uint32_t ms);
// The splash for at least five seconds, then gone. Does nothing while the splash is shown.
void ShowAbout(SplashWindow& splash);
