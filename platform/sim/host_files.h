// The simulated device's file system rules over a host folder, usable without a device: host tools
// read files by the same rules as a simulated program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sim {

// The host path of a device path ("\a\b") under `hostFolder`, each part matched without regard to
// case. Empty when the path is not clean (relative, empty parts, ".", "..", reserved characters) or
// a part does not exist; with `forCreate` the last part may be missing.
std::string ResolveDevicePath(const std::string& hostFolder, const std::u16string& devicePath, bool forCreate);

// Reads at most `capacity` bytes of a regular host file; false when it is none or cannot be opened.
bool ReadHostFile(const std::string& hostPath, uint8_t* buffer, size_t capacity, size_t* read);

}  // namespace sim
