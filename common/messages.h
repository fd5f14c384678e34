// What the programs of the product know of one another: window classes and titles, the messages
// they post, the engine's exit codes and the programs' file names. Plain constants with no other
// include, so that every program, and the end-to-end driver on the Windows side, uses these and no
// copies of them.
#pragma once

#include <cstdint>

// The engine's main window, which the other programs find and post to.
inline constexpr char16_t kEngineClass[] = u"TarvinWndClass";
inline constexpr char16_t kEngineTitle[] = u"Tarvin Window";

// Posted to the engine's window, with wParam 0 and lParam 0.
constexpr uint32_t MsgNextLayout = 3029;    // a second start of the engine: switch to the next layout
constexpr uint32_t MsgReloadConfig = 3030;  // read the configuration again and register the keys
constexpr uint32_t MsgReleaseKeys = 3031;   // give up every hot key until the next reload

// The quit message's wParam is the engine's exit code.
constexpr int kExitUnloaded = 0;           // the unload slot or the unload command
constexpr int kExitUnloadedFromTray = 1;   // the tray menu's unload
constexpr int kExitStartFailed = 2;        // start-up found no usable layout
constexpr int kExitUnloadedByProgram = 3;  // the settings utility or the setup hook library

// The companion button program, which the engine posts action numbers to.
inline constexpr char16_t kOrnitapClass[] = u"OrnitapWndClass";
inline constexpr char16_t kOrnitapTitle[] = u"Ornitap Window";
constexpr uint32_t MsgOrnitapAction = 3037;

// The programs' files in the program folder.
inline constexpr char16_t kEngineProgram[] = u"Tarvin.exe";
inline constexpr char16_t kSettingsProgram[] = u"TarvinSettings.exe";
