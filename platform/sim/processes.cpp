// Programs of the simulated device: installing, starting, exiting and waiting.
#include "platform/sim/internal.h"
#include "platform/wtext.h"

namespace sim {

namespace internal {
std::u16string LowerKey(const std::u16string& s) {
  std::u16string out = s;
  for (auto& c : out) c = wtext::LowerUnit(c);
  return out;
}
}  // namespace internal

void SimDevice::InstallProgram(const std::u16string& path, ProgramEntry entry) {
  programs_[internal::LowerKey(path)] = std::move(entry);
}

plat::Process SimDevice::StartProc(const WChar* path, const WChar* params) {
  const std::u16string given = path != nullptr ? path : u"";
  // Like the device, a bare program name is looked for in the Windows folder.
  const std::u16string p = !given.empty() && given[0] != u'\\' ? u"\\Windows\\" + given : given;
  auto it = programs_.find(internal::LowerKey(p));
  LogEntry& e = AddLog(LogKind::Start);
  e.s1Offset = AddString(given, &e.s1Length);
  if (params != nullptr) {
    e.b = 1;
    e.s2Offset = AddString(params, &e.s2Length);
  }
  ProgramEntry entry;
  if (it != programs_.end()) {
    entry = it->second;
  } else if (FileExists(p.c_str())) {
    entry = [] { return 0; };  // a program file nobody installed an entry for: a stand-in that ends at once
  } else {
    return nullptr;
  }
  Proc& proc = NewProc(p, params, std::move(entry), true);
  log_.back().a = static_cast<uint32_t>(proc.pid);
  return internal::ToProcess(proc.pid);
}

plat::Process SimDevice::Start(const std::u16string& path, const WChar* params) {
  return StartProc(path.c_str(), params);
}

// nullptr for a program that has ended and been freed, as for one that never was.
SimDevice::Proc* SimDevice::ProcOf(plat::Process process) {
  int pid = internal::ProcessPid(process);
  return KnownPid(pid) ? procs_[pid].get() : nullptr;
}

const SimDevice::Proc* SimDevice::ProcOf(plat::Process process) const {
  int pid = internal::ProcessPid(process);
  return KnownPid(pid) ? procs_[pid].get() : nullptr;
}

bool SimDevice::Ended(int pid) const {
  if (!KnownPid(pid)) return false;
  const Proc* p = procs_[pid].get();
  return p == nullptr || p->state == Proc::State::Exited;
}

bool SimDevice::HasExited(plat::Process process) const { return Ended(internal::ProcessPid(process)); }

int SimDevice::ExitCode(plat::Process process) const {
  const int pid = internal::ProcessPid(process);
  return KnownPid(pid) ? exitCodes_[pid] : -1;
}

size_t SimDevice::ProgramsHoldingResources() const { return live_.size(); }

// The ended thread touches nothing of its record once it has handed the token on, and it cannot
// have the token back, so the join below waits only for the thread's own return.
void SimDevice::ReapEnded() {
  for (int pid : ended_) {
    Proc* p = procs_[pid].get();
    if (p->thread.joinable()) p->thread.join();
    std::erase(live_, p);
    procs_[pid].reset();
  }
  ended_.clear();
}

const std::u16string& SimDevice::ProgramPath() const { return internal::CurrentProc()->path; }

// What the platform does when a program ends: its windows go, and with them their hot keys and timers.
void SimDevice::FinishProc(Proc& p, int code) {
  p.exitCode = code;
  exitCodes_[p.pid] = code;
  for (size_t i = 0; i < windows_.size(); ++i) {
    if (windows_[i].owner == p.pid && !windows_[i].destroyed) DropWindow(internal::ToWindow(i));
  }
  p.timers.clear();
  p.queueCount = 0;
  LogEntry& e = AddLog(LogKind::Exit);
  e.pid = p.pid;
  e.a = static_cast<uint32_t>(p.pid);
  e.b = static_cast<uint32_t>(code);
  e.s1Offset = AddString(p.path, &e.s1Length);
}

}  // namespace sim
