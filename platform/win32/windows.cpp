// Windows, window classes and messages over Win32.
//
// Our window procedures are plain functions, not Win32 callbacks: every class we register gets one
// trampoline, which finds the program's procedure by the window's class atom.
#include <cwchar>

#include "platform/win32/internal.h"

namespace win32 {

namespace {

// A program registers a handful of classes (main window, splash, dialogs).
constexpr int kMaxClasses = 16;

struct ClassEntry {
  ATOM atom;
  plat::WndProc proc;
};
ClassEntry gClasses[kMaxClasses];

// Bits that only the device knows (WS_EX_NOANIMATION); on the desktop they mean something else.
constexpr DWORD kDeviceOnlyExStyles = 0x04000000;

plat::WndProc ProcOf(ATOM atom) {
  for (const ClassEntry& c : gClasses) {
    if (c.atom == atom && atom != 0) return c.proc;
  }
  return nullptr;
}

// Entries whose class is gone (unregistered, or never ours) are freed.
void ForgetUnregisteredClasses() {
  for (ClassEntry& c : gClasses) {
    WNDCLASSW info;
    if (c.atom != 0 && !::GetClassInfoW(Instance(), MAKEINTATOM(c.atom), &info)) c = ClassEntry{};
  }
}

LRESULT CALLBACK Trampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const ATOM atom = static_cast<ATOM>(::GetClassLongPtrW(hwnd, GCW_ATOM));
  plat::WndProc proc = ProcOf(atom);
  if (proc == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  return proc(ToWindow(hwnd), message, wParam, lParam);
}

bool NeverActivated(HWND hwnd) {
  return (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_NOACTIVATE) != 0;
}

}  // namespace

}  // namespace win32

namespace plat {

using win32::Hwnd;
using win32::ToWindow;
using win32::W;

bool RegisterWindowClass(const WChar* className, WndProc proc) {
  if (className == nullptr || proc == nullptr) return false;
  win32::ForgetUnregisteredClasses();
  win32::ClassEntry* slot = nullptr;
  for (win32::ClassEntry& c : win32::gClasses) {
    if (c.atom == 0) {
      slot = &c;
      break;
    }
  }
  if (slot == nullptr) return false;

  WNDCLASSW wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = win32::Trampoline;
  wc.hInstance = win32::Instance();
  wc.hIcon = ::LoadIconW(win32::Instance(), MAKEINTRESOURCEW(105));
  // The device has no mouse pointer to speak of; on the desktop a window without one keeps
  // whatever shape the pointer last had.
  wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = W(className);
  const ATOM atom = ::RegisterClassW(&wc);
  if (atom == 0) return false;
  *slot = {atom, proc};
  return true;
}

bool UnregisterWindowClass(const WChar* className) {
  if (className == nullptr) return false;
  const bool done = ::UnregisterClassW(W(className), win32::Instance()) != 0;
  win32::ForgetUnregisteredClasses();
  return done;
}

// On the desktop a top-level window without WS_POPUP is an overlapped window and always gets a
// caption; the device draws none unless asked, so our top-level windows are popups.
Window CreateWindow(uint32_t exStyle, const WChar* className, const WChar* title, uint32_t style, int x, int y,
                    int width, int height) {
  if (className == nullptr) return nullptr;
  DWORD s = style;
  if ((s & WS_CHILD) == 0) s |= WS_POPUP;
  const DWORD ex = exStyle & ~win32::kDeviceOnlyExStyles;
  HWND hwnd = ::CreateWindowExW(ex, W(className), title != nullptr ? W(title) : L"", s, x, y, width, height, nullptr,
                                nullptr, win32::Instance(), nullptr);
  return ToWindow(hwnd);
}

bool DestroyWindow(Window window) { return window != nullptr && ::DestroyWindow(Hwnd(window)) != 0; }

// Win32 compares class names and titles without regard to case; ours are compared exactly.
Window FindWindow(const WChar* className, const WChar* title) {
  constexpr int kNameUnits = 257;   // class names are at most 256 units
  constexpr int kTitleUnits = 512;  // far beyond any title of ours
  HWND after = nullptr;
  for (;;) {
    HWND hwnd = ::FindWindowExW(nullptr, after, className != nullptr ? W(className) : nullptr,
                                title != nullptr ? W(title) : nullptr);
    if (hwnd == nullptr) return nullptr;
    after = hwnd;
    wchar_t found[kTitleUnits];
    if (className != nullptr &&
        (::GetClassNameW(hwnd, found, kNameUnits) == 0 || std::wcscmp(found, W(className)) != 0)) {
      continue;
    }
    if (title != nullptr) {
      // A title that fills the buffer might have been cut, so it cannot be compared.
      if (std::wcslen(W(title)) + 1 >= kTitleUnits) return nullptr;
      found[0] = 0;
      ::GetWindowTextW(hwnd, found, kTitleUnits);
      if (std::wcscmp(found, W(title)) != 0) continue;
    }
    return ToWindow(hwnd);
  }
}

// A window that is never activated (the popup hint) is shown without taking the keyboard focus
// from the window the user types in; Win32 would activate it on a plain show.
bool ShowWindow(Window window, int command) {
  if (window == nullptr) return false;
  HWND hwnd = Hwnd(window);
  int cmd = command;
  if (win32::NeverActivated(hwnd)) {
    if (cmd == SW_SHOWNORMAL) cmd = SW_SHOWNOACTIVATE;
    if (cmd == SW_SHOW) cmd = SW_SHOWNA;
  }
  return ::ShowWindow(hwnd, cmd) != 0;
}

bool MoveWindow(Window window, int x, int y, int width, int height, bool repaint) {
  return window != nullptr && ::MoveWindow(Hwnd(window), x, y, width, height, repaint ? TRUE : FALSE) != 0;
}

bool IsWindowVisible(Window window) { return window != nullptr && ::IsWindowVisible(Hwnd(window)) != 0; }

bool InvalidateWindow(Window window) {
  return window != nullptr && ::InvalidateRect(Hwnd(window), nullptr, TRUE) != 0;
}

void ValidateWindow(Window window) {
  if (window != nullptr) ::ValidateRect(Hwnd(window), nullptr);
}

bool PostMessage(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return window != nullptr && ::PostMessageW(Hwnd(window), message, wParam, lParam) != 0;
}

void BroadcastSettingChange(uintptr_t wParam) { ::PostMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, wParam, 0); }

void PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

bool GetMessage(Message* message) {
  MSG msg{};
  const BOOL result = ::GetMessageW(&msg, nullptr, 0, 0);
  if (result == -1) {
    // Only a bad window filter makes the queue fail, and we pass none; should it happen, the
    // program ends as if told to quit.
    *message = {nullptr, kWmQuit, 0, 0};
    return false;
  }
  *message = {ToWindow(msg.hwnd), msg.message, msg.wParam, msg.lParam};
  return result != 0;
}

bool PeekMessage(Message* message, Window window, bool remove) {
  MSG msg{};
  if (!::PeekMessageW(&msg, Hwnd(window), 0, 0, remove ? PM_REMOVE : PM_NOREMOVE)) return false;
  *message = {ToWindow(msg.hwnd), msg.message, msg.wParam, msg.lParam};
  return true;
}

// Key messages become character messages here, so that controls in our windows can be typed into.
intptr_t DispatchMessage(const Message& message) {
  MSG msg{};
  msg.hwnd = Hwnd(message.window);
  msg.message = message.message;
  msg.wParam = message.wParam;
  msg.lParam = message.lParam;
  msg.time = static_cast<DWORD>(::GetMessageTime());
  ::TranslateMessage(&msg);
  return ::DispatchMessageW(&msg);
}

intptr_t DefWindowProc(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return ::DefWindowProcW(Hwnd(window), message, wParam, lParam);
}

intptr_t SendMessage(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return window != nullptr ? ::SendMessageW(Hwnd(window), message, wParam, lParam) : 0;
}

bool SetTimer(Window window, uintptr_t id, uint32_t periodMs) {
  return ::SetTimer(Hwnd(window), id, periodMs, nullptr) != 0;
}

bool KillTimer(Window window, uintptr_t id) { return ::KillTimer(Hwnd(window), id) != 0; }

Window GetForegroundWindow() { return ToWindow(::GetForegroundWindow()); }

// A window that is never activated comes to the front without taking the foreground.
bool SetForegroundWindow(Window window) {
  if (window == nullptr) return false;
  HWND hwnd = Hwnd(window);
  if (win32::NeverActivated(hwnd)) {
    return ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) != 0;
  }
  return ::SetForegroundWindow(hwnd) != 0;
}

bool GetClassName(Window window, WChar* buffer, size_t capacity) {
  if (capacity == 0) return false;
  buffer[0] = 0;
  if (window == nullptr) return false;
  return ::GetClassNameW(Hwnd(window), W(buffer), win32::IntCapacity(capacity)) != 0;
}

bool GetWindowText(Window window, WChar* buffer, size_t capacity) {
  if (capacity == 0) return false;
  buffer[0] = 0;
  if (window == nullptr || !::IsWindow(Hwnd(window))) return false;
  ::GetWindowTextW(Hwnd(window), W(buffer), win32::IntCapacity(capacity));
  return true;
}

}  // namespace plat
