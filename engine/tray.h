// The engine's tray icon: the hint's first two letters drawn into it, the hint as its tip, and the
// menu a tap on it opens.
#pragma once

#include "engine/engine_state.h"

constexpr int kNimAdd = 0;
constexpr int kNimDelete = 2;
constexpr uint32_t kTrayIconId = 23456;
constexpr int kProgramIconId = 105;

// The icon for the current hint: the program icon for an empty hint, otherwise its first two
// characters in the largest font that fits. nullptr when no icon could be made.
plat::Icon RenderTrayIcon(EngineState& engine);
// Adds (kNimAdd) or deletes (kNimDelete) the tray icon. The icon handed over becomes the engine's
// last tray icon; the one before it is destroyed.
void SetTrayIcon(EngineState& engine, int operation, plat::Icon icon);
void RemoveTrayIcon(EngineState& engine);
// The tap on the tray icon: About, Next layout, Settings (when installed) and Unload. Returns the
// command chosen, 0 for none; the caller carries it out.
uint32_t ShowTrayMenu(EngineState& engine);
// Starts the settings utility from the program folder, when it is there.
void StartSettings();
