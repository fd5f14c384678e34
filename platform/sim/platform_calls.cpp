// The platform interface on the simulated device: each call acts for the program that makes it.
#include "platform/platform.h"

#include <iterator>

#include "platform/sim/internal.h"
#include "platform/wtext.h"

namespace sim::internal {

int DefaultButton(uint32_t flags) {
  const uint32_t def = (flags >> 8) & 0xF;  // 0 first, 1 second, 2 third button
  switch (flags & 0xF) {
    case plat::kMbOkCancel: return def == 1 ? plat::kIdCancel : plat::kIdOk;
    case 2: return def == 0 ? 3 : (def == 1 ? 4 : 5);  // abort, retry, ignore
    case plat::kMbYesNoCancel: return def == 0 ? plat::kIdYes : (def == 1 ? plat::kIdNo : plat::kIdCancel);
    case plat::kMbYesNo: return def == 1 ? plat::kIdNo : plat::kIdYes;
    case 5: return def == 1 ? plat::kIdCancel : 4;  // retry, cancel
    default: return plat::kIdOk;
  }
}

bool HasButton(uint32_t flags, int button) {
  // The buttons of each kind of box, by the kind's number; kinds beyond these show OK alone.
  static constexpr int kButtons[][3] = {
      {plat::kIdOk, 0, 0},
      {plat::kIdOk, plat::kIdCancel, 0},
      {3, 4, 5},  // abort, retry, ignore
      {plat::kIdYes, plat::kIdNo, plat::kIdCancel},
      {plat::kIdYes, plat::kIdNo, 0},
      {4, plat::kIdCancel, 0},  // retry, cancel
  };
  const uint32_t kind = flags & 0xF;
  const int* row = kButtons[kind < std::size(kButtons) ? kind : 0];
  return button != 0 && (row[0] == button || row[1] == button || row[2] == button);
}

}  // namespace sim::internal

namespace plat {

using sim::SimDevice;

namespace {
SimDevice& D() { return SimDevice::Current(); }
}  // namespace

uint32_t TickCount() { return D().TickCount(); }
void SleepFor(uint32_t ms) { D().BlockSleep(ms); }

bool RegisterWindowClass(const WChar* className, WndProc proc) { return D().RegisterClass(className, proc); }
bool UnregisterWindowClass(const WChar* className) { return D().UnregisterClass(className); }

Window NewWindow(const WindowSpec& spec) { return D().CreateWindowRec(spec); }
Window ChildWindow(Window parent, int controlId) { return D().ChildWindowRec(parent, controlId); }

bool RemoveWindow(Window window) { return D().DestroyWindowRec(window); }
Window FindWindowByName(const WChar* className, const WChar* title) { return D().FindWindowRec(className, title); }

bool SetWindowShown(Window window, bool shown) {
  auto* w = D().Win(window);
  if (w == nullptr) return false;
  w->visible = shown;
  if (w->visible) w->invalid = true;
  if (!w->visible) D().ForegroundGone(window);
  return true;
}

bool PlaceWindow(Window window, int x, int y, int width, int height, bool repaint) {
  auto* w = D().Win(window);
  if (w == nullptr) return false;
  w->x = x;
  w->y = y;
  w->width = width;
  w->height = height;
  if (repaint) w->invalid = true;
  return true;
}

bool WindowShown(Window window) {
  auto* w = D().Win(window);
  return w != nullptr && w->visible;
}

bool InvalidateWindow(Window window) {
  auto* w = D().Win(window);
  if (w == nullptr) return false;
  w->invalid = true;
  return true;
}

void ValidateWindow(Window window) {
  auto* w = D().Win(window);
  if (w != nullptr) w->invalid = false;
}

bool PostToWindow(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return D().Post(window, message, wParam, lParam);
}

void BroadcastSettingChange(uintptr_t wParam) { D().LogBroadcast(kWmSettingChange, wParam); }
void PostQuit(int exitCode) { D().PostQuit(exitCode); }

bool NextMessage(Message* message) {
  SimDevice& d = D();
  while (!d.TakeMessage(message, nullptr, true)) d.BlockForMessage();
  return message->message != kWmQuit;
}

bool PollMessage(Message* message, Window window, bool remove) { return D().TakeMessage(message, window, remove); }

intptr_t DeliverMessage(const Message& message) {
  return D().CallProc(message.window, message.message, message.wParam, message.lParam);
}

intptr_t DefaultWindowProc(Window window, uint32_t message, uintptr_t, intptr_t) {
  if (message == kWmPaint) ValidateWindow(window);
  if (message == kWmClose) RemoveWindow(window);
  return 0;
}

intptr_t SendToWindow(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return D().CallProc(window, message, wParam, lParam);
}

bool StartTimer(Window window, uintptr_t id, uint32_t periodMs) { return D().SetTimerRec(window, id, periodMs); }
bool StopTimer(Window window, uintptr_t id) { return D().KillTimerRec(window, id); }
Window ForegroundWindow() { return D().Foreground(); }

// A window that is never activated comes to the front without taking the foreground and the
// keyboard focus from the window the user works in.
bool BringToFront(Window window) {
  auto* w = D().Win(window);
  if (w == nullptr) return false;
  if ((w->traits & kWindowNeverActivated) == 0) D().SetForeground(window);
  return true;
}

bool GetWindowClassName(Window window, WChar* buffer, size_t capacity) {
  auto* w = D().Win(window);
  if (w == nullptr || capacity == 0) return false;
  wtext::Copy(buffer, capacity, w->className.c_str());
  return true;
}

bool GetWindowTitle(Window window, WChar* buffer, size_t capacity) {
  auto* w = D().Win(window);
  if (w == nullptr || capacity == 0) return false;
  wtext::Copy(buffer, capacity, w->title.c_str());
  return true;
}

bool AddHotKey(Window window, int id, uint32_t modifiers, uint32_t keyCode) {
  return D().AddHotKey(window, id, modifiers, keyCode);
}
bool RemoveHotKey(Window window, int id) { return D().RemoveHotKey(window, id); }
bool OpenHotKeyTakeover() { return D().HotKeyTakeoverAvailable(); }

void TakeHotKey(uint32_t modifiers, uint32_t keyCode) {
  if (D().HotKeyTakeoverAvailable()) D().TakeHotKey(modifiers, keyCode);
}

void CloseHotKeyTakeover() {}

void SendCharacter(WChar unit) { D().InjectCharacter(unit); }
void SendKeyTransition(uint8_t keyCode, bool up) { D().InjectKeyTransition(keyCode, up); }
bool IsCapsLockOn() { return D().CapsLock(); }

void ResetIdleTimer() { D().LogIdleReset(); }
bool SetNamedEvent(const WChar* name) { return D().SetNamedEvent(name); }

Process StartProcess(const WChar* path, const WChar* params) { return D().StartProc(path, params); }

WaitResult WaitForProcess(Process process, uint32_t timeoutMs) {
  return D().BlockForExit(sim::internal::ProcessPid(process), timeoutMs);
}

bool GetProcessExitCode(Process process, int* exitCode) {
  if (!D().HasExited(process)) return false;
  *exitCode = D().ExitCode(process);
  return true;
}

void CloseProcess(Process) {}

bool GetProgramPath(WChar* buffer, size_t capacity) { return wtext::Copy(buffer, capacity, D().ProgramPath().c_str()); }

bool ReadFileBytes(const WChar* path, uint8_t* buffer, size_t capacity, size_t* bytesRead) {
  return D().ReadFile(path, buffer, capacity, bytesRead) == FileReadResult::Read;
}
FileReadResult TryReadFileBytes(const WChar* path, uint8_t* buffer, size_t capacity, size_t* bytesRead) {
  return D().ReadFile(path, buffer, capacity, bytesRead);
}
bool WriteFileBytes(const WChar* path, const uint8_t* data, size_t size) { return D().WriteFile(path, data, size); }
bool MoveFileOver(const WChar* from, const WChar* to) { return D().MoveFileOver(from, to); }
bool RemoveFile(const WChar* path) { return D().RemoveFile(path); }
bool FileExists(const WChar* path) { return D().FileExists(path); }

FileList OpenFileList(const WChar* pattern, WChar* name, size_t capacity) {
  return D().FindFirst(pattern, name, capacity);
}
bool NextListedFile(FileList find, WChar* name, size_t capacity) { return D().FindNext(find, name, capacity); }
void CloseFileList(FileList find) { D().CloseFileList(find); }

bool AnsiToWide(const char* source, WChar* buffer, size_t capacity) { return D().AnsiToWide(source, buffer, capacity); }
bool WideToAnsi(const WChar* source, char* buffer, size_t capacity) { return D().WideToAnsi(source, buffer, capacity); }

int GetScreenDpiY() { return D().Options().dpiY; }

bool GetSystemFontPixels(uint32_t* pixels) {
  if (D().Options().systemFontPixels == 0) return false;
  *pixels = D().Options().systemFontPixels;
  return true;
}

int ShowMessageBox(const WChar* text, const WChar* title, uint32_t flags) {
  return D().ShowMessageBox(text, title, flags);
}

}  // namespace plat
