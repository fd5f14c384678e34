// Construction and teardown of the simulated device, its log, its code page, and what the driver
// inspects.
#include "platform/sim/device.h"

#include <cstdio>
#include <stdexcept>

#include "platform/sim/internal.h"
#include "platform/sim/ui_state.h"
#include "platform/wtext.h"

namespace sim {

namespace {
constexpr size_t kLogReserve = 1 << 16;
constexpr size_t kStringReserve = 1 << 20;
constexpr size_t kHotKeyReserve = 8192;
}  // namespace

SimDevice::SimDevice(SimOptions options) : options_(std::move(options)) {
  ui_ = std::make_shared<Ui>();
  if (options_.hostFolder.empty()) throw std::invalid_argument("SimDevice needs a host folder");
  codePage_ = std::make_unique<CodePageConverter>(options_.codePage);
  // Reserved up front so that the key path (posting, typing, logging) never allocates.
  log_.reserve(kLogReserve);
  strings_.reserve(kStringReserve);
  hotKeys_.reserve(kHotKeyReserve);
  windows_.reserve(256);
  live_.reserve(64);
  ended_.reserve(64);

  Proc& driver = NewProc(options_.driverPath, nullptr, nullptr, true);
  driver.state = Proc::State::Running;
  running_ = &driver;
  internal::Bind(this, &driver);
  foreignOwner_ = &NewProc(u"\\Windows\\Other programs", nullptr, nullptr, false);
  foreignOwner_->state = Proc::State::Exited;

  for (const char16_t* name : {u"BackLightChangeEvent", u"UserActiveEvent", u"TouchEvent"}) {
    namedEvents_[name] = true;
  }
  ShowForeignWindow(u"SimEdit", u"Document");
}

SimDevice::~SimDevice() {
  // Every program still running is unwound from the call it blocks in, one at a time.
  {
    std::unique_lock<std::mutex> lock(mutex_);
    terminating_ = true;
    Proc& driver = *procs_[0];
    ReapEnded();
    // A copy: the round changes as programs end.
    const std::vector<Proc*> live = live_;
    for (size_t i = 1; i < live.size(); ++i) {
      Proc& p = *live[i];
      if (p.state == Proc::State::New) {
        p.state = Proc::State::Exited;
      } else if (p.state == Proc::State::Blocked) {
        running_ = &p;
        p.cv.notify_one();
        driver.cv.wait(lock, [&] { return running_ == &driver; });
      }
    }
  }
  for (Proc* p : live_) {
    if (p->thread.joinable()) p->thread.join();
  }
  internal::Bind(nullptr, nullptr);
}

SimDevice& SimDevice::Current() {
  SimDevice* d = internal::CurrentDevice();
  if (d == nullptr) {
    std::fprintf(stderr, "platform call outside a simulated program\n");
    std::abort();
  }
  return *d;
}

int SimDevice::CurrentPid() const {
  Proc* p = internal::CurrentProc();
  return p != nullptr ? p->pid : 0;
}

int SimDevice::CurrentPidOrDriver() const { return CurrentPid(); }

SimDevice::Proc& SimDevice::NewProc(const std::u16string& path, const WChar* params, ProgramEntry entry,
                                    bool hasThread) {
  auto p = std::make_unique<Proc>();
  p->pid = static_cast<int>(procs_.size());
  p->path = path;
  if (params != nullptr) p->params = params;
  p->entry = std::move(entry);
  p->hasThread = hasThread;
  p->queue.resize(internal::kQueueCapacity);
  live_.push_back(p.get());
  exitCodes_.push_back(0);
  procs_.push_back(std::move(p));
  return *procs_.back();
}

uint32_t SimDevice::AddString(std::u16string_view s, uint32_t* length) {
  uint32_t offset = static_cast<uint32_t>(strings_.size());
  strings_.append(s);
  *length = static_cast<uint32_t>(s.size());
  return offset;
}

LogEntry& SimDevice::AddLog(LogKind kind) {
  log_.push_back(LogEntry{now_, kind, CurrentPidOrDriver(), 0, 0, 0, 0, 0, 0, 0});
  return log_.back();
}

void SimDevice::ClearLog() {
  log_.clear();
  strings_.clear();
}

void SimDevice::QueueMessageBoxAnswer(int answer, uint32_t afterMs) { answers_.push_back({answer, afterMs}); }

void SimDevice::SetNamedEventExists(const std::u16string& name, bool exists) { namedEvents_[name] = exists; }

// The box is logged as it opens, with the button it is going to return, so that the log reads in
// the order things appear on the screen.
int SimDevice::ShowMessageBox(const WChar* text, const WChar* title, uint32_t flags) {
  int answer = internal::DefaultButton(flags);
  int64_t openMs = -1;
  if (!answers_.empty()) {
    const ScriptedAnswer scripted = answers_.front();
    answers_.erase(answers_.begin());
    if (internal::HasButton(flags, scripted.button)) answer = scripted.button;
    openMs = scripted.afterMs;
  }
  LogEntry& e = AddLog(LogKind::MessageBox);
  e.a = flags;
  e.b = static_cast<uint32_t>(answer);
  e.c = openMs;
  e.s1Offset = AddString(title != nullptr ? title : u"", &e.s1Length);
  e.s2Offset = AddString(text != nullptr ? text : u"", &e.s2Length);
  if (openMs > 0) ModalWait(static_cast<uint32_t>(openMs));
  return answer;
}

void SimDevice::LogIdleReset() { AddLog(LogKind::IdleReset); }

bool SimDevice::SetNamedEvent(const WChar* name) {
  auto it = namedEvents_.find(std::u16string_view(name));
  if (it == namedEvents_.end() || !it->second) return false;
  LogEntry& e = AddLog(LogKind::EventSet);
  e.s1Offset = AddString(name, &e.s1Length);
  return true;
}

std::vector<HotKeyInfo> SimDevice::HotKeys() const { return hotKeys_; }

bool SimDevice::AnsiToWide(const char* source, WChar* buffer, size_t capacity) {
  return codePage_->AnsiToWide(source, buffer, capacity);
}

bool SimDevice::WideToAnsi(const WChar* source, char* buffer, size_t capacity) {
  return codePage_->WideToAnsi(source, buffer, capacity);
}

}  // namespace sim
