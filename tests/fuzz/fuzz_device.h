// The simulated device the harnesses read on: made once per process, with its program folder in a
// fresh host folder. TARVIN_FUZZ_CODEPAGE picks the ANSI code page (1252 when unset).
#pragma once

#include <string>

#include "platform/sim/device.h"

struct FuzzDevice {
  std::string hostFolder;     // the device's root
  std::string programFolder;  // host path of "\Program Files\Tarvin"
  sim::SimDevice* device;
};

FuzzDevice& TheFuzzDevice();

// Stops the run with a message when a property of the readers does not hold.
[[noreturn]] void FuzzFailure(const std::string& what);
