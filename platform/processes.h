// Programs starting programs, and the running program's own path.
#pragma once

#include "platform/base.h"

namespace plat {

constexpr uint32_t kWaitInfinite = 0xFFFFFFFF;
enum class WaitResult { Exited, TimedOut, Failed };

// Starts the program at `path` (a device path); params may be nullptr. nullptr when it cannot start.
Process StartProcess(const WChar* path, const WChar* params);
WaitResult WaitForProcess(Process process, uint32_t timeoutMs);
bool GetProcessExitCode(Process process, int* exitCode);
void CloseProcess(Process process);
// The running program's full path, e.g. "\Program Files\Tarvin\Tarvin.exe".
bool GetProgramPath(WChar* buffer, size_t capacity);

}  // namespace plat
