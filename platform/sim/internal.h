// Pieces the simulated device's files share among themselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/device.h"

namespace sim {

// One folder listing in progress.
struct SimDevice::Find {
  std::vector<std::u16string> names;
  size_t next = 0;
  bool open = true;
};

}  // namespace sim

namespace sim::internal {

// Platform queues are bounded; a post to a full queue fails.
constexpr size_t kQueueCapacity = 10000;

// Thrown from a blocking call when the device is torn down, to unwind the program's thread.
struct Terminated {};

void Bind(SimDevice* device, SimDevice::Proc* proc);
SimDevice* CurrentDevice();
SimDevice::Proc* CurrentProc();

int DefaultButton(uint32_t flags);
// Whether a box with these flags has that button.
bool HasButton(uint32_t flags, int button);
std::u16string LowerKey(const std::u16string& s);

inline plat::Window ToWindow(size_t index) { return reinterpret_cast<plat::Window>(index + 1); }
inline size_t WindowIndex(plat::Window w) { return reinterpret_cast<uintptr_t>(w) - 1; }
inline plat::Process ToProcess(int pid) { return reinterpret_cast<plat::Process>(static_cast<uintptr_t>(pid)); }
inline int ProcessPid(plat::Process p) { return static_cast<int>(reinterpret_cast<uintptr_t>(p)); }

}  // namespace sim::internal
