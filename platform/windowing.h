// Windows, their messages and timers.
#pragma once

#include <climits>

#include "platform/base.h"

namespace plat {

// Every message reaches the procedure of the window's class together with the context the window
// was made with, so a program keeps its state where the window can find it, never in globals.
using WndProc = intptr_t (*)(void* context, Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);

struct Message {
  Window window;
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};

// Window messages whose numbers the programs share with the platform.
constexpr uint32_t kWmCreate = 1;
constexpr uint32_t kWmDestroy = 2;
constexpr uint32_t kWmPaint = 15;
constexpr uint32_t kWmClose = 16;
constexpr uint32_t kWmQuit = 18;
constexpr uint32_t kWmSettingChange = 26;
constexpr uint32_t kWmCommand = 273;
constexpr uint32_t kWmTimer = 275;
constexpr uint32_t kWmLButtonDown = 513;
constexpr uint32_t kWmHotKey = 786;
// The first number a program may give its own messages.
constexpr uint32_t kWmUser = 1024;

// What a window is like, in the programs' terms; each backend spells it its own way.
enum WindowTrait : uint32_t {
  kWindowVisible = 1u << 0,         // shown as soon as it exists
  kWindowBorder = 1u << 1,          // a thin frame around the client area
  kWindowTopmost = 1u << 2,         // above every window that is not topmost
  kWindowNeverActivated = 1u << 3,  // comes to the front without taking the foreground or the focus
  kWindowNoAnimation = 1u << 4,     // appears without the shell's animation, where it has one
};
constexpr uint32_t kAllWindowTraits =
    kWindowVisible | kWindowBorder | kWindowTopmost | kWindowNeverActivated | kWindowNoAnimation;

// A position or size that the platform chooses.
constexpr int kDefaultPlace = INT_MIN;

struct WindowSpec {
  const WChar* className;
  const WChar* title;  // nullptr: none
  uint32_t traits;     // WindowTrait bits
  int x, y, width, height;
  Window parent;  // nullptr: a window of its own; otherwise a child inside `parent`
  int controlId;  // a child's number within its parent
  void* context;  // handed to the window procedure with every message
};

bool RegisterWindowClass(const WChar* className, WndProc proc);
bool UnregisterWindowClass(const WChar* className);
// Makes the window; its procedure receives kWmCreate before this returns. nullptr when it cannot.
Window NewWindow(const WindowSpec& spec);
// Destroys the window and its children.
bool RemoveWindow(Window window);
// The child of `parent` with this control id, or nullptr.
Window ChildWindow(Window parent, int controlId);
// Exact match of class name and title over every program's top-level windows; nullptr matches any.
Window FindWindowByName(const WChar* className, const WChar* title);
// Shows or hides; false when the window is gone.
bool SetWindowShown(Window window, bool shown);
bool PlaceWindow(Window window, int x, int y, int width, int height, bool repaint);
bool WindowShown(Window window);
// Marks the whole window for repainting; a kWmPaint follows when the owner's queue is empty.
bool InvalidateWindow(Window window);
// Ends a kWmPaint: the window counts as painted.
void ValidateWindow(Window window);
// Posted messages arrive in order on the receiver's message loop.
bool PostToWindow(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// The platform's settings-change broadcast (kWmSettingChange); posted, not answered.
void BroadcastSettingChange(uintptr_t wParam);
void PostQuit(int exitCode);
// Blocks until a message for this program arrives. Returns false for the quit message, whose
// wParam is then the exit code in *message.
bool NextMessage(Message* message);
// Takes a message without blocking; `window` filters by window when not nullptr.
bool PollMessage(Message* message, Window window, bool remove);
intptr_t DeliverMessage(const Message& message);
// What a window does with a message its procedure leaves alone.
intptr_t DefaultWindowProc(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Calls the window procedure of one of this program's windows directly.
intptr_t SendToWindow(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// kWmTimer with `id` every `periodMs`; starting a running timer again restarts it.
bool StartTimer(Window window, uintptr_t id, uint32_t periodMs);
bool StopTimer(Window window, uintptr_t id);
Window ForegroundWindow();
bool BringToFront(Window window);
// Fill `buffer` with at most capacity-1 units and a terminator; false when the window is gone.
bool GetWindowClassName(Window window, WChar* buffer, size_t capacity);
bool GetWindowTitle(Window window, WChar* buffer, size_t capacity);

}  // namespace plat
