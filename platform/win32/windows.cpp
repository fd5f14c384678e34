// Windows, window classes and messages over Win32.
//
// Our window procedures are plain functions, not Win32 callbacks: every class we register gets one
// trampoline, which finds the program's procedure by the window's class atom and hands it the
// context the window was made with.
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

// Each window of our classes keeps its context in its extra bytes, and whether the context is
// there yet: a null context is a context too.
constexpr int kContextSlot = 0;
constexpr int kBoundSlot = sizeof(LONG_PTR);
constexpr int kWindowExtraBytes = 2 * sizeof(LONG_PTR);

struct TraitStyle {
  uint32_t trait;
  DWORD style;
  DWORD exStyle;
};
// The device's WS_EX_NOANIMATION (0x04000000) means something else on the desktop, which has no
// such animation to skip, so the trait sets nothing here.
constexpr TraitStyle kTraitStyles[] = {
    {plat::kWindowVisible, WS_VISIBLE, 0},    {plat::kWindowBorder, WS_BORDER, 0},
    {plat::kWindowTopmost, 0, WS_EX_TOPMOST}, {plat::kWindowNeverActivated, 0, WS_EX_NOACTIVATE},
    {plat::kWindowNoAnimation, 0, 0},
};

constexpr uint32_t KnownTraits() {
  uint32_t all = 0;
  for (const TraitStyle& t : kTraitStyles) all |= t.trait;
  return all;
}

int Place(int value) { return value == plat::kDefaultPlace ? CW_USEDEFAULT : value; }

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

// The context comes with the first message that can carry it, WM_NCCREATE; the few messages
// before it (WM_GETMINMAXINFO) have no context to give and get the default handling.
LRESULT CALLBACK Trampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(hwnd, kContextSlot, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    ::SetWindowLongPtrW(hwnd, kBoundSlot, 1);
  }
  const ATOM atom = static_cast<ATOM>(::GetClassLongPtrW(hwnd, GCW_ATOM));
  plat::WndProc proc = ProcOf(atom);
  if (proc == nullptr || ::GetWindowLongPtrW(hwnd, kBoundSlot) == 0) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  void* context = reinterpret_cast<void*>(::GetWindowLongPtrW(hwnd, kContextSlot));
  return proc(context, ToWindow(hwnd), message, wParam, lParam);
}

bool NeverActivated(HWND hwnd) { return (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_NOACTIVATE) != 0; }

bool OfThisProgram(HWND hwnd) {
  DWORD process = 0;
  return ::GetWindowThreadProcessId(hwnd, &process) != 0 && process == ::GetCurrentProcessId();
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
  wc.cbWndExtra = win32::kWindowExtraBytes;
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
// caption; the device draws none unless asked, so our top-level windows are popups. A child lives
// inside a window of its own program and carries its control id where Win32 keeps it.
Window NewWindow(const WindowSpec& spec) {
  if (spec.className == nullptr || (spec.traits & ~win32::KnownTraits()) != 0) return nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  for (const win32::TraitStyle& t : win32::kTraitStyles) {
    if ((spec.traits & t.trait) != 0) {
      style |= t.style;
      exStyle |= t.exStyle;
    }
  }
  HWND parent = Hwnd(spec.parent);
  HMENU id = nullptr;
  if (parent != nullptr) {
    if (!::IsWindow(parent) || !win32::OfThisProgram(parent)) return nullptr;
    style |= WS_CHILD;
    id = reinterpret_cast<HMENU>(static_cast<intptr_t>(spec.controlId));
  } else {
    style |= WS_POPUP;
  }
  HWND hwnd = ::CreateWindowExW(exStyle, W(spec.className), spec.title != nullptr ? W(spec.title) : L"", style,
                                win32::Place(spec.x), win32::Place(spec.y), win32::Place(spec.width),
                                win32::Place(spec.height), parent, id, win32::Instance(), spec.context);
  return ToWindow(hwnd);
}

// Win32 destroys the children first, each with its own WM_DESTROY.
bool RemoveWindow(Window window) { return window != nullptr && ::DestroyWindow(Hwnd(window)) != 0; }

Window ChildWindow(Window parent, int controlId) {
  if (parent == nullptr) return nullptr;
  return ToWindow(::GetDlgItem(Hwnd(parent), controlId));
}

// Win32 compares class names and titles without regard to case; ours are compared exactly.
Window FindWindowByName(const WChar* className, const WChar* title) {
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
// from the window the user types in; Win32 would activate it on a plain show. Win32 answers with
// the window's former visibility, which is no failure.
bool SetWindowShown(Window window, bool shown) {
  if (window == nullptr || !::IsWindow(Hwnd(window))) return false;
  HWND hwnd = Hwnd(window);
  int command = SW_HIDE;
  if (shown) command = win32::NeverActivated(hwnd) ? SW_SHOWNA : SW_SHOWNORMAL;
  ::ShowWindow(hwnd, command);
  return true;
}

bool PlaceWindow(Window window, int x, int y, int width, int height, bool repaint) {
  return window != nullptr && ::MoveWindow(Hwnd(window), x, y, width, height, repaint ? TRUE : FALSE) != 0;
}

bool WindowShown(Window window) { return window != nullptr && ::IsWindowVisible(Hwnd(window)) != 0; }

bool InvalidateWindow(Window window) { return window != nullptr && ::InvalidateRect(Hwnd(window), nullptr, TRUE) != 0; }

void ValidateWindow(Window window) {
  if (window != nullptr) ::ValidateRect(Hwnd(window), nullptr);
}

bool PostToWindow(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return window != nullptr && ::PostMessageW(Hwnd(window), message, wParam, lParam) != 0;
}

void BroadcastSettingChange(uintptr_t wParam) { ::PostMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, wParam, 0); }

void PostQuit(int exitCode) { ::PostQuitMessage(exitCode); }

bool NextMessage(Message* message) {
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

bool PollMessage(Message* message, Window window, bool remove) {
  MSG msg{};
  if (!::PeekMessageW(&msg, Hwnd(window), 0, 0, remove ? PM_REMOVE : PM_NOREMOVE)) return false;
  *message = {ToWindow(msg.hwnd), msg.message, msg.wParam, msg.lParam};
  return true;
}

// Key messages become character messages here, so that controls in our windows can be typed into.
intptr_t DeliverMessage(const Message& message) {
  MSG msg{};
  msg.hwnd = Hwnd(message.window);
  msg.message = message.message;
  msg.wParam = message.wParam;
  msg.lParam = message.lParam;
  msg.time = static_cast<DWORD>(::GetMessageTime());
  ::TranslateMessage(&msg);
  return ::DispatchMessageW(&msg);
}

intptr_t DefaultWindowProc(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return ::DefWindowProcW(Hwnd(window), message, wParam, lParam);
}

intptr_t SendToWindow(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return window != nullptr ? ::SendMessageW(Hwnd(window), message, wParam, lParam) : 0;
}

// Without a window Win32 would start a timer of the thread under a number of its own choosing,
// which no window procedure ever sees.
bool StartTimer(Window window, uintptr_t id, uint32_t periodMs) {
  return window != nullptr && ::SetTimer(Hwnd(window), id, periodMs, nullptr) != 0;
}

bool StopTimer(Window window, uintptr_t id) { return window != nullptr && ::KillTimer(Hwnd(window), id) != 0; }

Window ForegroundWindow() { return ToWindow(::GetForegroundWindow()); }

// A window that is never activated comes to the front without taking the foreground.
bool BringToFront(Window window) {
  if (window == nullptr) return false;
  HWND hwnd = Hwnd(window);
  if (win32::NeverActivated(hwnd)) {
    return ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) != 0;
  }
  return ::SetForegroundWindow(hwnd) != 0;
}

bool GetWindowClassName(Window window, WChar* buffer, size_t capacity) {
  if (capacity == 0) return false;
  buffer[0] = 0;
  if (window == nullptr) return false;
  return ::GetClassNameW(Hwnd(window), W(buffer), win32::IntCapacity(capacity)) != 0;
}

bool GetWindowTitle(Window window, WChar* buffer, size_t capacity) {
  if (capacity == 0) return false;
  buffer[0] = 0;
  if (window == nullptr || !::IsWindow(Hwnd(window))) return false;
  ::GetWindowTextW(Hwnd(window), W(buffer), win32::IntCapacity(capacity));
  return true;
}

}  // namespace plat
