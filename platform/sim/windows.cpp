// Windows, window classes, message queues, painting and timers of the simulated device.
#include "platform/sim/internal.h"
#include "platform/sim/ui_state.h"
#include "platform/wtext.h"

namespace sim {

namespace {
constexpr size_t kTextReserve = 1 << 16;
}  // namespace

bool SimDevice::RegisterClass(const WChar* name, plat::WndProc proc) {
  Proc& self = *internal::CurrentProc();
  for (auto& c : self.classes) {
    if (c.first == name) return false;
  }
  self.classes.emplace_back(name, proc);
  return true;
}

bool SimDevice::UnregisterClass(const WChar* name) {
  Proc& self = *internal::CurrentProc();
  return std::erase_if(self.classes, [&](const auto& c) { return c.first == name; }) > 0;
}

SimDevice::WindowRec* SimDevice::Win(plat::Window window) {
  size_t i = internal::WindowIndex(window);
  if (window == nullptr || i >= windows_.size() || windows_[i].destroyed) return nullptr;
  return &windows_[i];
}

const SimDevice::WindowRec* SimDevice::Win(plat::Window window) const {
  size_t i = internal::WindowIndex(window);
  if (window == nullptr || i >= windows_.size() || windows_[i].destroyed) return nullptr;
  return &windows_[i];
}

plat::Window SimDevice::CreateWindowRec(const plat::WindowSpec& spec) {
  Proc& self = *internal::CurrentProc();
  // A trait no backend knows is a mistake of the caller's, refused as the device refuses it.
  if (spec.className == nullptr || (spec.traits & ~plat::kAllWindowTraits) != 0) return nullptr;
  plat::WndProc proc = nullptr;
  for (auto& c : self.classes) {
    if (c.first == spec.className) proc = c.second;
  }
  if (proc == nullptr) return nullptr;
  // A child lives inside a window of its own program.
  if (spec.parent != nullptr) {
    const WindowRec* parent = Win(spec.parent);
    if (parent == nullptr || parent->owner != self.pid) return nullptr;
  }
  const bool visible = (spec.traits & plat::kWindowVisible) != 0;
  WindowRec rec{self.pid,    spec.className, spec.title != nullptr ? spec.title : u"",
                u"",         proc,           spec.context,
                spec.traits, spec.parent,    spec.controlId,
                spec.x,      spec.y,         spec.width,
                spec.height, visible,        visible,
                false};
  windows_.push_back(std::move(rec));
  plat::Window handle = internal::ToWindow(windows_.size() - 1);
  if (proc(spec.context, handle, plat::kWmCreate, 0, 0) == -1) {
    windows_[internal::WindowIndex(handle)].destroyed = true;
    return nullptr;
  }
  return handle;
}

plat::Window SimDevice::ChildWindowRec(plat::Window parent, int controlId) const {
  if (Win(parent) == nullptr) return nullptr;
  for (size_t i = 0; i < windows_.size(); ++i) {
    const WindowRec& w = windows_[i];
    if (!w.destroyed && w.parent == parent && w.controlId == controlId) return internal::ToWindow(i);
  }
  return nullptr;
}

intptr_t SimDevice::CallProc(plat::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const WindowRec* w = Win(window);
  if (w == nullptr || w->proc == nullptr || w->owner != CurrentPid()) return 0;
  return w->proc(w->context, window, message, wParam, lParam);
}

// Children go first, as the platform destroys them before their parent.
bool SimDevice::DestroyWindowRec(plat::Window window) {
  WindowRec* w = Win(window);
  if (w == nullptr || w->owner != CurrentPid()) return false;
  for (size_t i = 0; i < windows_.size(); ++i) {
    if (!windows_[i].destroyed && windows_[i].parent == window) DestroyWindowRec(internal::ToWindow(i));
  }
  CallProc(window, plat::kWmDestroy, 0, 0);
  if (Win(window) != nullptr) DropWindow(window);
  return true;
}

// A window going away, destroyed or with its program: its hot keys and timers go with it, and the
// window before it comes back to the front.
void SimDevice::DropWindow(plat::Window window) {
  WindowRec* w = Win(window);
  w->destroyed = true;
  w->visible = false;
  std::erase_if(hotKeys_, [&](const HotKeyInfo& h) { return h.owner == window; });
  std::erase_if(procs_[w->owner]->timers, [&](const Timer& t) { return t.window == window; });
  ForegroundGone(window);
}

plat::Window SimDevice::FindWindowRec(const WChar* cls, const WChar* title) const {
  for (size_t i = 0; i < windows_.size(); ++i) {
    const WindowRec& w = windows_[i];
    if (w.destroyed || w.parent != nullptr) continue;
    if (cls != nullptr && w.className != cls) continue;
    if (title != nullptr && w.title != title) continue;
    return internal::ToWindow(i);
  }
  return nullptr;
}

plat::Window SimDevice::FindWindow(const std::u16string& className, const std::u16string& title) const {
  return FindWindowRec(className.c_str(), title.c_str());
}

std::u16string SimDevice::WindowClass(plat::Window window) const {
  const WindowRec* w = Win(window);
  return w != nullptr ? w->className : u"";
}

std::u16string SimDevice::WindowTitle(plat::Window window) const {
  const WindowRec* w = Win(window);
  return w != nullptr ? w->title : u"";
}

bool SimDevice::Post(plat::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  WindowRec* w = Win(window);
  if (w == nullptr) return false;
  if (w->owner != CurrentPid()) {
    LogEntry& e = AddLog(LogKind::Post);
    e.a = message;
    e.b = static_cast<uint32_t>(wParam);
    e.c = lParam;
    e.s1Offset = AddString(w->className, &e.s1Length);
  }
  const Proc& owner = *procs_[w->owner];
  if (!owner.hasThread || owner.state == Proc::State::Exited) return true;  // nobody reads that queue
  return Enqueue({window, message, wParam, lParam});
}

// Appends to the queue of the window's program; false when the queue is full or nobody reads it.
bool SimDevice::Enqueue(const plat::Message& message) {
  Proc& owner = *procs_[Win(message.window)->owner];
  if (!owner.hasThread || owner.state == Proc::State::Exited || owner.queueCount == owner.queue.size()) return false;
  owner.queue[(owner.queueHead + owner.queueCount) % owner.queue.size()] = message;
  ++owner.queueCount;
  return true;
}

void SimDevice::PostQuit(int code) {
  Proc& self = *internal::CurrentProc();
  self.quitPosted = true;
  self.quitCode = code;
}

void SimDevice::LogBroadcast(uint32_t message, uintptr_t wParam) {
  LogEntry& e = AddLog(LogKind::Broadcast);
  e.a = message;
  e.b = static_cast<uint32_t>(wParam);
}

bool SimDevice::HasMessage(const Proc& p, bool countQuit) const {
  if (p.queueCount > 0 || (countQuit && p.quitPosted)) return true;
  for (const Timer& t : p.timers) {
    if (t.due <= now_) return true;
  }
  for (const WindowRec& w : windows_) {
    if (w.owner == p.pid && !w.destroyed && w.visible && w.invalid) return true;
  }
  return false;
}

// The platform's order: posted messages, then the quit request, then painting, then timers.
bool SimDevice::TakeMessage(plat::Message* out, plat::Window filter, bool remove, bool takeQuit) {
  Proc& self = *internal::CurrentProc();
  const size_t cap = self.queue.size();
  for (size_t k = 0; k < self.queueCount; ++k) {
    plat::Message& m = self.queue[(self.queueHead + k) % cap];
    if (filter != nullptr && m.window != filter) continue;
    *out = m;
    if (remove) {
      for (size_t j = k; j > 0; --j) {
        self.queue[(self.queueHead + j) % cap] = self.queue[(self.queueHead + j - 1) % cap];
      }
      self.queueHead = (self.queueHead + 1) % cap;
      --self.queueCount;
    }
    return true;
  }
  if (filter == nullptr && takeQuit && self.quitPosted) {
    *out = {nullptr, plat::kWmQuit, static_cast<uintptr_t>(self.quitCode), 0};
    if (remove) self.quitPosted = false;
    return true;
  }
  for (size_t i = 0; i < windows_.size(); ++i) {
    const WindowRec& w = windows_[i];
    plat::Window handle = internal::ToWindow(i);
    if (w.owner != self.pid || w.destroyed || !w.visible || !w.invalid) continue;
    if (filter != nullptr && handle != filter) continue;
    *out = {handle, plat::kWmPaint, 0, 0};
    return true;
  }
  Timer* due = nullptr;
  for (Timer& t : self.timers) {
    if (t.due > now_ || (filter != nullptr && t.window != filter)) continue;
    if (due == nullptr || t.due < due->due) due = &t;
  }
  if (due != nullptr) {
    *out = {due->window, plat::kWmTimer, due->id, 0};
    if (remove) {
      due->due += due->period;
      if (due->due <= now_) due->due = now_ + due->period;
    }
    return true;
  }
  return false;
}

bool SimDevice::SetTimerRec(plat::Window window, uintptr_t id, uint32_t period) {
  WindowRec* w = Win(window);
  if (w == nullptr || w->owner != CurrentPid()) return false;
  if (period == 0) period = 1;
  auto& timers = procs_[w->owner]->timers;
  for (Timer& t : timers) {
    if (t.window == window && t.id == id) {
      t.period = period;
      t.due = now_ + period;
      return true;
    }
  }
  timers.push_back({window, id, period, now_ + period});
  return true;
}

bool SimDevice::KillTimerRec(plat::Window window, uintptr_t id) {
  WindowRec* w = Win(window);
  if (w == nullptr) return false;
  return std::erase_if(procs_[w->owner]->timers, [&](const Timer& t) { return t.window == window && t.id == id; }) > 0;
}

plat::Window SimDevice::ShowForeignWindow(const std::u16string& className, const std::u16string& title) {
  WindowRec rec{foreignOwner_->pid,
                className,
                title,
                u"",
                nullptr,
                nullptr,
                plat::kWindowVisible,
                nullptr,
                0,
                0,
                0,
                240,
                320,
                true,
                false,
                false};
  rec.text.reserve(kTextReserve);
  windows_.push_back(std::move(rec));
  plat::Window handle = internal::ToWindow(windows_.size() - 1);
  foreground_ = handle;
  ui_->NoteForeground(handle);
  return handle;
}

void SimDevice::SetForeground(plat::Window window) {
  if (window != nullptr && Win(window) == nullptr) return;
  foreground_ = window;
  ui_->NoteForeground(window);
}

std::u16string SimDevice::FocusText() const {
  const WindowRec* w = Win(foreground_);
  return w != nullptr ? w->text : u"";
}

void SimDevice::ClearFocusText() {
  WindowRec* w = Win(foreground_);
  if (w != nullptr) w->text.clear();
}

}  // namespace sim
