// The platform interface on the simulated device: each call acts for the program that makes it.
#include "platform/platform.h"

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

}  // namespace sim::internal

namespace plat {

using sim::SimDevice;

namespace {
SimDevice& D() { return SimDevice::Current(); }
}  // namespace

uint32_t GetTickCount() { return D().TickCount(); }
void Sleep(uint32_t ms) { D().BlockSleep(ms); }

bool RegisterWindowClass(const WChar* className, WndProc proc) { return D().RegisterClass(className, proc); }
bool UnregisterWindowClass(const WChar* className) { return D().UnregisterClass(className); }

Window CreateWindow(uint32_t exStyle, const WChar* className, const WChar* title, uint32_t style, int x, int y,
                    int width, int height) {
  return D().CreateWindowRec(exStyle, className, title, style, x, y, width, height);
}

bool DestroyWindow(Window window) { return D().DestroyWindowRec(window); }
Window FindWindow(const WChar* className, const WChar* title) { return D().FindWindowRec(className, title); }

bool ShowWindow(Window window, int command) {
  auto* w = D().Win(window);
  if (w == nullptr) return false;
  bool was = w->visible;
  w->visible = command != kSwHide;
  if (w->visible) w->invalid = true;
  if (!w->visible) D().ForegroundGone(window);
  return was;
}

bool MoveWindow(Window window, int x, int y, int width, int height, bool repaint) {
  auto* w = D().Win(window);
  if (w == nullptr) return false;
  w->x = x;
  w->y = y;
  w->width = width;
  w->height = height;
  if (repaint) w->invalid = true;
  return true;
}

bool IsWindowVisible(Window window) {
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

bool PostMessage(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return D().Post(window, message, wParam, lParam);
}

void BroadcastSettingChange(uintptr_t wParam) { D().LogBroadcast(kWmSettingChange, wParam); }
void PostQuitMessage(int exitCode) { D().PostQuit(exitCode); }

bool GetMessage(Message* message) {
  SimDevice& d = D();
  while (!d.TakeMessage(message, nullptr, true)) d.BlockForMessage();
  return message->message != kWmQuit;
}

bool PeekMessage(Message* message, Window window, bool remove) { return D().TakeMessage(message, window, remove); }

intptr_t DispatchMessage(const Message& message) {
  auto* w = D().Win(message.window);
  if (w == nullptr || w->proc == nullptr || w->owner != D().CurrentPid()) return 0;
  return w->proc(message.window, message.message, message.wParam, message.lParam);
}

intptr_t DefWindowProc(Window window, uint32_t message, uintptr_t, intptr_t) {
  if (message == kWmPaint) ValidateWindow(window);
  if (message == kWmClose) DestroyWindow(window);
  return 0;
}

intptr_t SendMessage(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  auto* w = D().Win(window);
  if (w == nullptr || w->proc == nullptr || w->owner != D().CurrentPid()) return 0;
  return w->proc(window, message, wParam, lParam);
}

bool SetTimer(Window window, uintptr_t id, uint32_t periodMs) { return D().SetTimerRec(window, id, periodMs); }
bool KillTimer(Window window, uintptr_t id) { return D().KillTimerRec(window, id); }
Window GetForegroundWindow() { return D().Foreground(); }

// A window that is never activated (WS_EX_NOACTIVATE) comes to the front without taking the
// foreground and the keyboard focus from the window the user works in.
bool SetForegroundWindow(Window window) {
  constexpr uint32_t kWsExNoActivate = 0x08000000;
  auto* w = D().Win(window);
  if (w == nullptr) return false;
  if ((w->exStyle & kWsExNoActivate) == 0) D().SetForeground(window);
  return true;
}

bool GetClassName(Window window, WChar* buffer, size_t capacity) {
  auto* w = D().Win(window);
  if (w == nullptr || capacity == 0) return false;
  wtext::Copy(buffer, capacity, w->className.c_str());
  return true;
}

bool GetWindowText(Window window, WChar* buffer, size_t capacity) {
  auto* w = D().Win(window);
  if (w == nullptr || capacity == 0) return false;
  wtext::Copy(buffer, capacity, w->title.c_str());
  return true;
}

bool RegisterHotKey(Window window, int id, uint32_t modifiers, uint32_t keyCode) {
  return D().RegisterHotKey(window, id, modifiers, keyCode);
}
bool UnregisterHotKey(Window window, int id) { return D().UnregisterHotKey(window, id); }
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

bool GetProgramPath(WChar* buffer, size_t capacity) {
  return wtext::Copy(buffer, capacity, D().ProgramPath().c_str());
}

bool ReadFileBytes(const WChar* path, uint8_t* buffer, size_t capacity, size_t* bytesRead) {
  return D().ReadFile(path, buffer, capacity, bytesRead);
}
bool WriteFileBytes(const WChar* path, const uint8_t* data, size_t size) { return D().WriteFile(path, data, size); }
bool ReplaceFile(const WChar* from, const WChar* to) { return D().ReplaceFile(from, to); }
bool DeleteFile(const WChar* path) { return D().DeleteFile(path); }
bool FileExists(const WChar* path) { return D().FileExists(path); }

FindHandle FindFirstFile(const WChar* pattern, WChar* name, size_t capacity) {
  return D().FindFirst(pattern, name, capacity);
}
bool FindNextFile(FindHandle find, WChar* name, size_t capacity) { return D().FindNext(find, name, capacity); }
void FindClose(FindHandle find) { D().FindClose(find); }

bool AnsiToWide(const char* source, WChar* buffer, size_t capacity) {
  return D().AnsiToWide(source, buffer, capacity);
}
bool WideToAnsi(const WChar* source, char* buffer, size_t capacity) {
  return D().WideToAnsi(source, buffer, capacity);
}

int GetScreenDpiY() { return D().Options().dpiY; }

bool GetSystemFontPixels(uint32_t* pixels) {
  if (D().Options().systemFontPixels == 0) return false;
  *pixels = D().Options().systemFontPixels;
  return true;
}

int MessageBox(const WChar* text, const WChar* title, uint32_t flags) {
  return D().ShowMessageBox(text, title, flags);
}

}  // namespace plat
