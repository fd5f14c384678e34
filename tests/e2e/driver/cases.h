// The end-to-end cases and the latency run of the driver.
#pragma once

#include <string>

namespace e2e {

// The file the driver's marker mode writes into the device folder when a layout's Exec line
// starts it: its command line, so that the case sees the parameters arrived.
inline constexpr wchar_t kExecMarkerFile[] = L"exec-marker.txt";

// False when there is no case of that name.
bool RunCase(const std::string& name);
void ListCases();

// Types `keys` mapped keys, one every `intervalMs`, and reports the latency from each injected
// press to its character in the edit box, and any character lost, doubled or reordered.
void RunLatency(int keys, int intervalMs);

}  // namespace e2e
