// Runs the engine's window, hot keys and message loop on a simulated device with a layout and a
// configuration built in memory, so translation is driven by the device's keyboard and clock.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "layoutfiles/model.h"
#include "platform/sim/device.h"
#include "tests/unit/support/temp_folder.h"

namespace testing_support {

struct Code {
  uint8_t kind;
  uint16_t value;
};
inline Code C(uint16_t v) { return {Char, v}; }
inline Code K(uint16_t v) { return {Keystroke, v}; }
inline Code E(uint16_t v) { return {Command, v}; }

// Adds (or extends) a KeyDef: one list of codes per press level: one code for all eight columns,
// two for the plain and the ICQ columns, or all eight.
void AddKey(KeyLayout& layout, ScanWord word, std::initializer_list<std::vector<Code>> levels);
void SetKeySet(KeySet& set, std::initializer_list<ScanWord> words);
void AddExec(KeyLayout& layout, uint16_t id, const std::u16string& path, const std::u16string& params);
// Sets the internal modifier flags as an accepted layout has them.
void FinishLayout(KeyLayout& layout);
void DefaultConfig(MapperConfig& config);

class EngineHarness {
 public:
  explicit EngineHarness(uint32_t startTick = 0);
  // A device with other options (screen size, metrics) than the defaults.
  explicit EngineHarness(const std::function<void(sim::SimOptions&)>& adjust);
  ~EngineHarness();
  KeyLayout& layout() { return *layout_; }
  MapperConfig& config() { return *config_; }
  EngineState& engine() { return engine_; }
  sim::SimDevice& device() { return *device_; }
  const TempFolder& folder() const { return folder_; }

  // Starts the engine program: window, hot keys of the layout, timer, message loop.
  void Start();
  void Press(ScanWord word) { device_->Press(word); }
  void Run(uint32_t ms) { device_->RunFor(ms); }
  std::u16string Text() const { return device_->FocusText(); }
  // Key transitions injected by the engine, as "+41" (down) and "-41" (up), in order.
  std::vector<std::string> Transitions() const;
  int HotKeyCount() const;

 private:
  TempFolder folder_;
  std::unique_ptr<sim::SimDevice> device_;
  std::unique_ptr<KeyLayout> layout_;
  std::unique_ptr<MapperConfig> config_;
  EngineState engine_;
};

}  // namespace testing_support
