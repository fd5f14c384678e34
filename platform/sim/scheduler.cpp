// The token that lets exactly one simulated program run at a time, and virtual time.
#include <cstdio>
#include <cstdlib>

#include "platform/sim/internal.h"

namespace sim {

namespace internal {
namespace {
thread_local SimDevice* tDevice = nullptr;
thread_local SimDevice::Proc* tProc = nullptr;
}  // namespace

void Bind(SimDevice* device, SimDevice::Proc* proc) {
  tDevice = device;
  tProc = proc;
}
SimDevice* CurrentDevice() { return tDevice; }
SimDevice::Proc* CurrentProc() { return tProc; }
}  // namespace internal

using State = SimDevice::Proc::State;
using Wait = SimDevice::Proc::Wait;

bool SimDevice::Ready(const Proc& p) const {
  switch (p.state) {
    case State::New: return true;
    case State::Blocked: break;
    default: return false;
  }
  if (terminating_) return true;
  switch (p.wait) {
    case Wait::Sleep:
    case Wait::Time: return now_ >= p.deadline;
    case Wait::Message: return HasMessage(p);
    case Wait::Modal: return now_ >= p.deadline || HasMessage(p, false);
    case Wait::ProcessExit: return Ended(p.waitPid) || now_ >= p.deadline;
    case Wait::None: return true;
  }
  return false;
}

uint64_t SimDevice::NextEvent(const Proc& p) const {
  if (p.state != State::Blocked) return UINT64_MAX;
  switch (p.wait) {
    case Wait::Sleep:
    case Wait::Time:
    case Wait::ProcessExit: return p.deadline;
    case Wait::Message:
    case Wait::Modal: {
      uint64_t t = p.wait == Wait::Modal ? p.deadline : UINT64_MAX;
      for (const Timer& timer : p.timers) t = std::min(t, timer.due);
      return t;
    }
    case Wait::None: return now_;
  }
  return UINT64_MAX;
}

// Hands the token on until `self` may go on. The lowest-numbered ready program runs first and the
// driver last, so everything that can happen at one instant happens before the driver looks.
void SimDevice::Schedule(std::unique_lock<std::mutex>& lock, Proc& self) {
  for (;;) {
    Proc* next = nullptr;
    for (size_t i = 1; i < live_.size() && next == nullptr; ++i) {
      if (Ready(*live_[i])) next = live_[i];
    }
    if (next == nullptr && Ready(*live_[0])) next = live_[0];
    if (next == &self) return;
    if (next != nullptr) {
      running_ = next;
      if (next->state == State::New) {
        next->state = State::Blocked;
        next->wait = Wait::None;
        next->thread = std::thread(ThreadMain, this, next);
      } else {
        next->cv.notify_one();
      }
      if (self.state == State::Exited) return;
      self.cv.wait(lock, [&] { return running_ == &self; });
      if (terminating_) return;
      continue;
    }
    uint64_t t = UINT64_MAX;
    for (const Proc* p : live_) t = std::min(t, NextEvent(*p));
    if (t == UINT64_MAX) {
      std::fprintf(stderr, "simulated device: every program waits forever\n");
      std::abort();
    }
    if (t > now_) now_ = t;
  }
}

void SimDevice::Block(Proc& self) {
  std::unique_lock<std::mutex> lock(mutex_);
  self.state = State::Blocked;
  Schedule(lock, self);
  ReapEnded();
  self.state = State::Running;
  self.wait = Wait::None;
  if (terminating_ && self.pid != 0) throw internal::Terminated{};
}

void SimDevice::ThreadMain(SimDevice* device, Proc* p) {
  {
    std::unique_lock<std::mutex> lock(device->mutex_);
    p->cv.wait(lock, [&] { return device->running_ == p; });
    device->ReapEnded();
    p->state = State::Running;
  }
  internal::Bind(device, p);
  int code = 0;
  try {
    if (!device->terminating_ && p->entry) code = p->entry();
  } catch (const internal::Terminated&) {
    code = -1;
  }
  device->FinishProc(*p, code);
  std::unique_lock<std::mutex> lock(device->mutex_);
  p->state = State::Exited;
  // Its remaining memory goes now; the record itself once the next holder of the token joins it.
  p->queue = {};
  p->timers = {};
  p->classes = {};
  p->entry = nullptr;
  if (!device->terminating_) device->ended_.push_back(p->pid);
  if (device->terminating_) {
    device->running_ = device->procs_[0].get();
    device->procs_[0]->cv.notify_one();  // the driver, never freed
    return;
  }
  device->Schedule(lock, *p);
}

void SimDevice::BlockSleep(uint32_t ms) {
  Proc& self = *internal::CurrentProc();
  self.wait = Wait::Sleep;
  self.deadline = now_ + ms;
  Block(self);
}

void SimDevice::BlockForMessage() {
  Proc& self = *internal::CurrentProc();
  self.wait = Wait::Message;
  Block(self);
}

// The box closes at the deadline even when a message is due at that very instant: that message is
// left for the program's own loop, so a box answered at once never delivers anything.
void SimDevice::ModalWait(uint32_t ms) {
  Proc& self = *internal::CurrentProc();
  const uint64_t until = now_ + ms;
  plat::Message m;
  while (now_ < until) {
    if (TakeMessage(&m, nullptr, true, false)) {
      CallProc(m.window, m.message, m.wParam, m.lParam);
      continue;
    }
    self.wait = Wait::Modal;
    self.deadline = until;
    Block(self);
  }
}

plat::WaitResult SimDevice::BlockForExit(int pid, uint32_t timeoutMs) {
  if (!KnownPid(pid)) return plat::WaitResult::Failed;
  Proc& self = *internal::CurrentProc();
  if (!Ended(pid)) {
    self.wait = Wait::ProcessExit;
    self.waitPid = pid;
    self.deadline = timeoutMs == plat::kWaitInfinite ? UINT64_MAX : now_ + timeoutMs;
    Block(self);
  }
  return Ended(pid) ? plat::WaitResult::Exited : plat::WaitResult::TimedOut;
}

void SimDevice::RunFor(uint32_t ms) {
  Proc& driver = *procs_[0];
  driver.wait = Wait::Time;
  driver.deadline = now_ + ms;
  Block(driver);
}

bool SimDevice::RunUntilExit(plat::Process process, uint32_t maxMs) {
  int pid = internal::ProcessPid(process);
  if (!KnownPid(pid)) return false;
  Proc& driver = *procs_[0];
  driver.wait = Wait::ProcessExit;
  driver.waitPid = pid;
  driver.deadline = now_ + maxMs;
  Block(driver);
  return Ended(pid);
}

}  // namespace sim
