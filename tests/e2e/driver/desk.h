// The user's desk for the end-to-end tests: a window with a focused edit box, a keyboard that
// injects real input, the engine's process and window within reach, and an eye on the message
// boxes that pop up. Everything runs on the driver's one thread; every wait pumps its messages, so
// the edit box keeps receiving what is typed into it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/messages.h"

namespace e2e {

// A key with its modifiers as layouts write it: low byte the virtual-key code, high byte 01 Shift,
// 02 Ctrl, 04 Alt, 08 Win.
using ScanWord = uint16_t;

constexpr DWORD kPatience = 5000;  // how long to wait for something that should happen (ms)
constexpr DWORD kSettle = 300;     // how long to watch for something that should not happen (ms)

// The engine's icon in the tray.
constexpr UINT kTrayIconId = 23456;

// The programs' shared names are UTF-16, as wchar_t is on Windows.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t must be a UTF-16 unit");
inline const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

struct SeenBox {
  std::wstring title;
  std::wstring text;
  HWND window;
};

// A key press as the edit box received it, with the modifiers down at that moment.
struct SeenKey {
  uint8_t key;
  bool shift, ctrl, alt;
};

struct SeenChar {
  wchar_t unit;
  double atMs;
};

double NowMs();
std::string Utf8(const std::wstring& text);
// Text for the log: as UTF-8 with its code units, e.g. "Фa" [0424 0061].
std::string Shown(const std::wstring& text);
std::wstring ProgramFolder();  // the driver's folder, which is the device folder, with a backslash

// Results of the checks; the driver's exit code is 1 once any failed.
void Pass(const char* format, ...);
void Fail(const char* format, ...);
void Note(const char* format, ...);
bool AnyFailed();

class Desk {
 public:
  bool Open();
  // The user taps the edit box: the driver's window comes to the front with the box focused.
  bool Focus();
  bool HasFocus() const;

  // Handles messages for `ms` milliseconds.
  void Pump(DWORD ms);
  // Pumps until `done` holds or `timeoutMs` ran out; returns `done`'s last answer.
  bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = kPatience);

  // Presses and releases one key with its modifiers, in one piece of injected input.
  void Press(ScanWord word);
  void PressAll(const std::vector<ScanWord>& words, DWORD gapMs);

  std::wstring Text() const;
  // Waits for the edit box to hold `expected`, then watches it for a moment: a text that turns up
  // late or twice is a failure too.
  bool ExpectText(const std::wstring& expected, const char* what);

  // True when no window holds the combination as a hot key (the driver can take it for a moment).
  bool HotKeyFree(ScanWord word);

  // Message boxes are answered with OK as soon as they appear; what they said waits here.
  std::vector<SeenBox>& Boxes() { return boxes_; }
  // Takes the oldest box seen, compares it and waits for it to close.
  bool ExpectBox(const std::wstring& title, const std::wstring& text);

  std::vector<SeenKey>& Keys() { return keys_; }
  std::vector<SeenChar>& Chars() { return chars_; }
  HWND Main() const { return main_; }

 private:
  void Record(const MSG& message);
  void WatchBoxes();

  HWND main_ = nullptr;
  HWND edit_ = nullptr;
  std::vector<SeenBox> boxes_;
  std::vector<HWND> answered_;
  std::vector<SeenKey> keys_;
  std::vector<SeenChar> chars_;
  double lastBoxWatch_ = 0;
};

// The engine as a process the driver started, and its window.
class Engine {
 public:
  explicit Engine(Desk& desk) : desk_(desk) {}
  ~Engine();
  bool Start();
  bool Running() const;
  HWND Window() const;
  bool WaitWindow();
  bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // Waits for the engine to end; false when it did not within the time.
  bool WaitExit(DWORD timeoutMs, DWORD* exitCode);
  // Ends an engine still running at the end of a case: the unload from another program, and
  // as a last resort termination (a failure).
  void Stop();
  // Another start of Tarvin.exe while this one runs; returns its exit code, or -1.
  long StartAgain();
  // The popup hint: visible now?
  bool HintVisible() const;
  // Waits for the popup hint to come up and go again.
  bool WaitHintShownAndGone();
  // The engine's icon in the tray exists (the shell accepts a change to it).
  bool TrayIconPresent() const;

 private:
  Desk& desk_;
  PROCESS_INFORMATION process_{};
  bool awaitedEnd_ = false;  // a case saw the engine end and checked how
};

// Every session ends with the engine unloaded (unless the case saw it end) and no message box
// left unexplained.
void EndSession(Desk& desk, Engine& engine);

// Starts a program of the device folder; the handle is the caller's.
bool StartProgram(const std::wstring& name, PROCESS_INFORMATION* process);

}  // namespace e2e
