// Processes and the clock over Win32.
#include "platform/win32/command_line.h"
#include "platform/win32/internal.h"

namespace plat {

using win32::W;

uint32_t TickCount() { return ::GetTickCount(); }

void SleepFor(uint32_t ms) { ::Sleep(ms); }

Process StartProcess(const WChar* path, const WChar* params) {
  constexpr size_t kMaxCommandLine = 32768;   // the longest command line Win32 accepts
  static WChar commandLine[kMaxCommandLine];  // CreateProcessW may write into it
  if (!win32::BuildCommandLine(path, params, commandLine, kMaxCommandLine)) return nullptr;

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  // The program is named by its path alone: no search along PATH, as on the device.
  if (!::CreateProcessW(W(path), W(commandLine), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return nullptr;
  }
  ::CloseHandle(info.hThread);
  return reinterpret_cast<Process>(info.hProcess);
}

WaitResult WaitForProcess(Process process, uint32_t timeoutMs) {
  if (process == nullptr) return WaitResult::Failed;
  switch (::WaitForSingleObject(reinterpret_cast<HANDLE>(process), timeoutMs)) {
    case WAIT_OBJECT_0: return WaitResult::Exited;
    case WAIT_TIMEOUT: return WaitResult::TimedOut;
    default: return WaitResult::Failed;
  }
}

// Only an ended process has an exit code; STILL_ACTIVE is also a code a program may exit with, so
// the process itself is asked whether it has ended.
bool GetProcessExitCode(Process process, int* exitCode) {
  if (process == nullptr) return false;
  HANDLE handle = reinterpret_cast<HANDLE>(process);
  DWORD code = 0;
  if (::WaitForSingleObject(handle, 0) != WAIT_OBJECT_0 || !::GetExitCodeProcess(handle, &code)) return false;
  *exitCode = static_cast<int>(code);
  return true;
}

void CloseProcess(Process process) {
  if (process != nullptr) ::CloseHandle(reinterpret_cast<HANDLE>(process));
}

bool GetProgramPath(WChar* buffer, size_t capacity) {
  if (capacity == 0) return false;
  const DWORD size = win32::DwordCapacity(capacity);
  const DWORD length = ::GetModuleFileNameW(nullptr, W(buffer), size);
  // A path that fills the buffer was cut (and older systems leave it unterminated).
  if (length == 0 || length >= size) {
    buffer[0] = 0;
    return false;
  }
  return true;
}

}  // namespace plat
