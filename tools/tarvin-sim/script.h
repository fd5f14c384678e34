// The scripts that tarvin-sim plays: one user action a line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarvin_sim {

enum class CommandKind { Press, Wait, Foreground, CapsLock, Post, Start, Ornitap, Tray, HotKeys, Answer };

// The tray menu items a script can pick; None taps the icon and picks nothing.
enum class TrayItem { About, Next, Settings, Unload, None };

struct Command {
  CommandKind kind;
  int line = 0;
  uint32_t number = 0;  // press: the key word; wait, answer: milliseconds; post: the message
  int button = 0;       // answer: the button (plat::kIdOk ...)
  uint32_t wParam = 0;  // post
  bool on = false;      // capslock
  TrayItem item = TrayItem::None;
  std::u16string className, title;  // foreground
};

struct ScriptError {
  int line = 0;
  std::string message;
};

// Reads the whole script before anything runs, so a bad line stops it before the device starts.
// False with `error` set at the first bad line.
bool ParseScript(const std::string& text, std::vector<Command>& commands, ScriptError& error);

}  // namespace tarvin_sim
