// One run of the engine on a simulated handheld: the device, the script's actions, the log.
#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/sim/device.h"
#include "tools/tarvin-sim/script.h"

namespace tarvin_sim {

extern const char16_t kEnginePath[];  // where the device's start-up finds the engine

// How long the device runs on after the script's last line.
constexpr uint32_t kRunOutMs = 1000;

class Session {
 public:
  // `hostRoot` is the device's root folder, already holding its files.
  Session(const std::string& hostRoot, uint32_t codePage, std::ostream& out);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Starts the engine as the device's start-up does, plays the commands, runs the device on and
  // ends the log with the focused window's text.
  void Play(const std::vector<Command>& commands);

 private:
  void Run(const Command& command);
  void Foreground(const std::u16string& className, const std::u16string& title);
  void TapTray(const Command& command);
  void ListHotKeys();
  void Note(const Command& command, const std::string& text);
  // Writes the log entries made since the last call.
  void Flush();
  void Write(const sim::LogEntry& e);
  plat::Window EngineWindow() const;

  sim::SimDevice device_;
  std::ostream& out_;
  size_t printed_ = 0;
  std::map<std::pair<std::u16string, std::u16string>, plat::Window> windows_;
};

// A string as the log writes it: UTF-8 in double quotes, with \" \\ \r \n escapes.
std::string Quote(const std::u16string& text);

}  // namespace tarvin_sim
