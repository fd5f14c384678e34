// The platform interface of the device programs.
//
// Program code talks to the device only through these calls, named after what the caller relies on.
// Two backends implement them: platform/sim (a simulated handheld on the build host) and
// platform/win32 (the real thing). Strings are UTF-16 code units in fixed, terminated buffers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat {

using WChar = char16_t;

struct WindowTag;
using Window = WindowTag*;  // nullptr: no window
struct ProcessTag;
using Process = ProcessTag*;  // nullptr: no process
struct FindTag;
using FindHandle = FindTag*;
struct FontTag;
using Font = FontTag*;
struct SurfaceTag;
using Surface = SurfaceTag*;  // somewhere to draw: a window's client area or an icon canvas
struct IconTag;
using Icon = IconTag*;
struct BitmapTag;
using Bitmap = BitmapTag*;
struct MenuTag;
using Menu = MenuTag*;

struct Rect {
  int left, top, right, bottom;
};

using WndProc = intptr_t (*)(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);

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

// Hot key modifiers.
constexpr uint32_t kModAlt = 1;
constexpr uint32_t kModControl = 2;
constexpr uint32_t kModShift = 4;
constexpr uint32_t kModWin = 8;

// Virtual-key codes the programs name.
constexpr uint8_t kVkShift = 0x10;
constexpr uint8_t kVkControl = 0x11;
constexpr uint8_t kVkMenu = 0x12;  // Alt
constexpr uint8_t kVkCapital = 0x14;
constexpr uint8_t kVkLWin = 0x5B;
constexpr uint8_t kVkRWin = 0x5C;

// ShowWindow commands.
constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;
constexpr int kSwShow = 5;

// Message box flags and answers.
constexpr uint32_t kMbOk = 0x0;
constexpr uint32_t kMbOkCancel = 0x1;
constexpr uint32_t kMbYesNoCancel = 0x3;
constexpr uint32_t kMbYesNo = 0x4;
constexpr uint32_t kMbIconHand = 0x10;
constexpr uint32_t kMbIconQuestion = 0x20;
constexpr uint32_t kMbIconExclamation = 0x30;
constexpr uint32_t kMbDefButton2 = 0x100;
constexpr uint32_t kMbSetForeground = 0x10000;
constexpr uint32_t kMbTopmost = 0x40000;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// Process waits.
constexpr uint32_t kWaitInfinite = 0xFFFFFFFF;
enum class WaitResult { Exited, TimedOut, Failed };

// ---- program entry -----------------------------------------------------------------------------
// Each device program defines it. A backend whose platform starts programs by itself (Windows)
// calls it at start, and its result becomes the program's exit code.
int ProgramMain();

// ---- clock -------------------------------------------------------------------------------------
// Milliseconds since the device started; differences are taken modulo 2^32.
uint32_t GetTickCount();
// Blocks the calling program; other programs run meanwhile.
void Sleep(uint32_t ms);

// ---- windows and messages ----------------------------------------------------------------------
bool RegisterWindowClass(const WChar* className, WndProc proc);
bool UnregisterWindowClass(const WChar* className);
Window CreateWindow(uint32_t exStyle, const WChar* className, const WChar* title, uint32_t style, int x, int y,
                    int width, int height);
bool DestroyWindow(Window window);
// Exact match of class name and title, over every program's windows.
Window FindWindow(const WChar* className, const WChar* title);
bool ShowWindow(Window window, int command);
bool MoveWindow(Window window, int x, int y, int width, int height, bool repaint);
bool IsWindowVisible(Window window);
// Marks the whole window for repainting; a WM_PAINT follows when the owner's queue is empty.
bool InvalidateWindow(Window window);
// Ends a WM_PAINT: the window counts as painted.
void ValidateWindow(Window window);
// Posted messages arrive in order on the receiver's message loop.
bool PostMessage(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// The platform's settings-change broadcast (WM_SETTINGCHANGE); posted, not answered.
void BroadcastSettingChange(uintptr_t wParam);
void PostQuitMessage(int exitCode);
// Blocks until a message for this program arrives. Returns false for the quit message, whose
// wParam is then the exit code in *message.
bool GetMessage(Message* message);
// Takes a message without blocking; `window` filters by window when not nullptr.
bool PeekMessage(Message* message, Window window, bool remove);
intptr_t DispatchMessage(const Message& message);
intptr_t DefWindowProc(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Calls the window procedure of one of this program's windows directly.
intptr_t SendMessage(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
bool SetTimer(Window window, uintptr_t id, uint32_t periodMs);
bool KillTimer(Window window, uintptr_t id);
Window GetForegroundWindow();
bool SetForegroundWindow(Window window);
// Fill `buffer` with at most capacity-1 units and a terminator; false when the window is gone.
bool GetClassName(Window window, WChar* buffer, size_t capacity);
bool GetWindowText(Window window, WChar* buffer, size_t capacity);

// ---- hot keys ----------------------------------------------------------------------------------
// The first registration of a modifiers+key pair wins; a registered pair reaches `window` as
// WM_HOTKEY with `id` in wParam and no longer reaches other programs.
bool RegisterHotKey(Window window, int id, uint32_t modifiers, uint32_t keyCode);
bool UnregisterHotKey(Window window, int id);
// The call that takes a pair from whichever other program holds it. Opening looks it up; when the
// platform lacks it, TakeHotKey does nothing.
bool OpenHotKeyTakeover();
void TakeHotKey(uint32_t modifiers, uint32_t keyCode);
void CloseHotKeyTakeover();

// ---- input -------------------------------------------------------------------------------------
// One UTF-16 unit arrives as typed text at the window with the keyboard focus.
void SendCharacter(WChar unit);
// One key transition enters the input stream like a real key.
void SendKeyTransition(uint8_t keyCode, bool up);
bool IsCapsLockOn();

// ---- activity ----------------------------------------------------------------------------------
void ResetIdleTimer();
// Sets the named event when it exists; false when it does not.
bool SetNamedEvent(const WChar* name);

// ---- processes ---------------------------------------------------------------------------------
// Starts the program at `path` (a device path); params may be nullptr. nullptr when it cannot start.
Process StartProcess(const WChar* path, const WChar* params);
WaitResult WaitForProcess(Process process, uint32_t timeoutMs);
bool GetProcessExitCode(Process process, int* exitCode);
void CloseProcess(Process process);
// The running program's full path, e.g. "\Program Files\Tarvin\Tarvin.exe".
bool GetProgramPath(WChar* buffer, size_t capacity);

// ---- files -------------------------------------------------------------------------------------
// Reads at most `capacity` bytes of an existing file. False when it cannot be opened.
bool ReadFileBytes(const WChar* path, uint8_t* buffer, size_t capacity, size_t* bytesRead);
// Creates or replaces the file with exactly these bytes.
bool WriteFileBytes(const WChar* path, const uint8_t* data, size_t size);
// Replaces `to` by `from` in one step (neither a half-written nor a missing `to` can be seen).
bool ReplaceFile(const WChar* from, const WChar* to);
bool DeleteFile(const WChar* path);
bool FileExists(const WChar* path);
// Lists the files matching a pattern such as "\Program Files\Tarvin\*.TVL" (wildcards in the last
// part only). Each call yields a file name without its folder.
FindHandle FindFirstFile(const WChar* pattern, WChar* name, size_t capacity);
bool FindNextFile(FindHandle find, WChar* name, size_t capacity);
void FindClose(FindHandle find);

// ---- text --------------------------------------------------------------------------------------
// Zero-terminated ANSI-code-page bytes to UTF-16; false when the result and its terminator do not
// fit in `capacity` units (the buffer then holds an empty string).
bool AnsiToWide(const char* source, WChar* buffer, size_t capacity);
// UTF-16 to the ANSI code page, unmappable characters as the default character. False when the
// result and its terminator do not fit in `capacity` bytes (the buffer then holds an empty string).
bool WideToAnsi(const WChar* source, char* buffer, size_t capacity);

// ---- screen ------------------------------------------------------------------------------------
// Vertical pixels per logical inch of the screen.
int GetScreenDpiY();
// The shell's system font height in pixels, where the optional shell library provides it; false
// when it does not (then `pixels` is left as it was).
bool GetSystemFontPixels(uint32_t* pixels);

// ---- metrics -----------------------------------------------------------------------------------
constexpr int kSmCxScreen = 0;
constexpr int kSmCyScreen = 1;
constexpr int kSmCyCaption = 4;
constexpr int kSmCxIcon = 11;
constexpr int kSmCxSmIcon = 49;
int GetSystemMetrics(int index);
// The screen's size in pixels.
int GetScreenWidth();
int GetScreenHeight();

// ---- drawing -----------------------------------------------------------------------------------
// System colours by index.
constexpr int kColorActiveCaption = 2;
constexpr int kColorCaptionText = 9;
constexpr int kColorInfoText = 23;
constexpr int kColorInfoBk = 24;
constexpr int kColorDefault = -1;  // the surface's default text colour

// Text layout flags.
constexpr uint32_t kDtCenter = 0x1;
constexpr uint32_t kDtVCenter = 0x4;
constexpr uint32_t kDtWordBreak = 0x10;
constexpr uint32_t kDtSingleLine = 0x20;
constexpr uint32_t kDtCalcRect = 0x400;

// The system font with another height (negative: character height; positive: cell height; 0: the
// default height) and weight (0 keeps the system font's; 700 is bold).
Font CreateSystemFont(int height, int weight);
void DeleteFont(Font font);
// The size `text` needs when drawn with `flags`, measured from an empty rectangle.
bool MeasureText(Font font, const WChar* text, uint32_t flags, int* width, int* height);

bool GetClientRect(Window window, Rect* rect);
// Painting of a window, between the start and the end of its WM_PAINT; ending validates it.
Surface BeginPaint(Window window);
void EndPaint(Window window, Surface surface);
void FillRect(Surface surface, const Rect& rect, int sysColor);
void DrawText(Surface surface, Font font, const WChar* text, const Rect& rect, uint32_t flags, int textSysColor,
              bool transparent);
// An unfilled rectangle in the default pen.
void DrawFrame(Surface surface, const Rect& rect);
void DrawBitmap(Surface surface, Bitmap bitmap, int x, int y);

// ---- resources and icons -----------------------------------------------------------------------
Bitmap LoadBitmap(int resourceId);
void DeleteBitmap(Bitmap bitmap);
Icon LoadIcon(int resourceId, int size);
// A size x size canvas that becomes an icon.
Surface CreateIconSurface(int size);
// Makes the canvas an icon and frees the canvas; nullptr when it cannot.
Icon IconFromSurface(Surface surface);
void DestroyIcon(Icon icon);

// ---- tray --------------------------------------------------------------------------------------
// An icon in the system tray with a tip; taps come back as `callbackMessage` with the mouse message
// in lParam.
bool AddTrayIcon(Window window, uint32_t id, uint32_t callbackMessage, Icon icon, const WChar* tip);
bool DeleteTrayIcon(Window window, uint32_t id);

// ---- menus -------------------------------------------------------------------------------------
Menu CreatePopupMenu();
bool AppendMenuItem(Menu menu, uint32_t id, const WChar* text);
bool AppendMenuSeparator(Menu menu);
// Modal: returns the identifier chosen, 0 when nothing was.
uint32_t TrackPopupMenu(Menu menu, uint32_t flags, int x, int y, Window owner);
void DestroyMenu(Menu menu);

// ---- user messages -----------------------------------------------------------------------------
// A modal message box with no owner; returns the button chosen (kIdOk ...).
int MessageBox(const WChar* text, const WChar* title, uint32_t flags);

}  // namespace plat
