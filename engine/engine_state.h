// The engine's process-wide state: one record, allocated once at start, alive for the whole run.
#pragma once

#include <cstdint>

#include "common/messages.h"
#include "common/splash.h"
#include "engine/translate.h"
#include "layoutfiles/model.h"
#include "platform/base.h"

constexpr int kHintTextLength = 256;

struct EngineState {
  plat::Window window;
  MapperConfig* config;
  KeyLayout* layout;
  bool takeoverOpen;  // the take-from-any-owner hot key call was found
  int currentSlot;
  WChar hintText[kHintTextLength];
  int unloadCountdown;
  int hintCountdown;
  int hintX;
  int hintY;
  plat::Icon lastTrayIcon;  // the icon last handed to the tray, or none
  int refreshCountdown;
  int activityCountdown;
  TranslatorState translator;
  ScanWord injectingWord;  // the keystroke being synthesized, 0 when none
  SplashWindow splash;     // the about window
};

// Everything zero, but the countdowns that start idle.
void InitEngineState(EngineState& engine, MapperConfig* config, KeyLayout* layout);

// The tray menu's commands and the tray icon's callback message, the engine's own.
constexpr uint32_t IdAbout = 3027;
constexpr uint32_t IdUnload = 3028;
constexpr uint32_t IdNextLayout = 3029;
constexpr uint32_t IdSettings = 3032;
constexpr uint32_t MsgTrayNotify = 3033;
constexpr uintptr_t EngineTimer = 1234;
constexpr uint32_t kEngineTimerPeriod = 50;
