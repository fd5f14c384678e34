// A simulated handheld: the backend behind platform.h on the build host.
//
// Each simulated program runs on its own thread, but exactly one thread runs at a time: the one
// holding the token. A program gives the token up only when it blocks (message loop, sleep, process
// wait); the token then goes to the lowest-numbered program that can go on, and when none can,
// virtual time jumps to the next timer or deadline. Runs are deterministic and nothing sleeps for
// real. The thread that creates the device is the driver (the test or tool playing the user); it is
// itself a program of the device, runs only when every other program is blocked, and gives them
// time with RunFor.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "platform/sim/codepage.h"

namespace sim {

using plat::WChar;
using ProgramEntry = std::function<int()>;

enum class LogKind {
  Char,        // a = UTF-16 unit typed into the focused window
  KeyDown,     // a = virtual-key code injected by a program
  KeyUp,       // a = virtual-key code injected by a program
  Raw,         // a = ScanWord of a user press that no hot key caught
  HotKey,      // a = ScanWord pressed, b = hot key id, c = pid of the owner
  Start,       // s1 = path, s2 = params (b = 1 when there are params); a = pid or 0 on failure
  Exit,        // a = pid, b = exit code, s1 = path
  MessageBox,  // s1 = title, s2 = text, a = flags, b = the button returned; c = how many ms the box
               //   stayed open when a scripted answer closed it, -1 when none did (the default button
               //   at once); logged when the box opens
  Post,        // s1 = class of the target window, a = message, b = wParam, c = lParam
  Broadcast,   // a = message, b = wParam
  IdleReset,   // the platform's idle timer was reset
  EventSet,    // s1 = event name
  TextDrawn,   // s1 = text, s2 = class of the window it was drawn into (empty on an icon)
  TrayAdd,     // s1 = tip
  TrayDelete,  //
  Menu,        // s1 = the items, one a line ("-" for a separator), a = the identifier chosen (0: none),
               //   b, c = the position asked for
};

struct LogEntry {
  uint64_t time;
  LogKind kind;
  int pid;  // the program that caused it (0 = driver)
  uint32_t a, b;
  int64_t c;
  uint32_t s1Offset, s1Length, s2Offset, s2Length;
};

struct HotKeyInfo {
  plat::Window owner;
  int id;
  uint32_t modifiers;
  uint32_t keyCode;
};

struct SimOptions {
  std::string hostFolder;  // the device's root folder on the host
  uint32_t codePage = 1252;
  uint32_t startTick = 0;      // GetTickCount at virtual time 0 (to test the 2^32 wrap)
  bool hotKeyTakeover = true;  // whether the take-from-any-owner call exists
  std::u16string driverPath = u"\\Program Files\\Tarvin\\Driver.exe";
  int dpiY = 131;
  uint32_t systemFontPixels = 0;  // 0: the optional shell library is absent
  // The screen and the shell's metrics (drawing.cpp describes the font model text is measured with).
  int screenWidth = 240;
  int screenHeight = 320;
  int smallIconSize = 16;  // the side of tray icons (SM_CXSMICON)
  int iconSize = 32;       // SM_CXICON
  int captionHeight = 20;  // SM_CYCAPTION
};

// ---- what drawing left behind, for the driver to inspect (drawing.cpp, shell.cpp) ---------------
struct PaintOp {
  enum class Kind { Fill, Text, Frame, Bitmap } kind;
  plat::Rect rect;       // Fill, Frame, Text: the rectangle given; Bitmap: where the picture landed
  int color;             // Fill: the system colour; Text: the text colour (plat::kColorDefault)
  uint32_t flags;        // Text: the layout flags
  bool transparent;      // Text: drawn without a background
  int charHeight;        // Text: the font's character height in pixels
  int weight;            // Text: the font's weight
  std::u16string text;   // Text: as given
  std::u16string lines;  // Text: as laid out, the lines joined with '\n'
  plat::Rect bounds;     // Text: where the text landed, before clipping to `rect`
  int resourceId;        // Bitmap
};

struct TrayIconInfo {
  plat::Window window;
  uint32_t id;
  uint32_t callbackMessage;
  std::u16string tip;
  bool iconAlive;    // false when the icon handed to the tray was destroyed since
  int iconResource;  // the resource the icon was loaded from; 0 when it was drawn
  int iconSize;
  std::vector<PaintOp> iconPicture;  // what was drawn on a drawn icon
};

// Objects the programs created and have not freed.
struct LiveObjects {
  int fonts, surfaces, icons, bitmaps, menus;
};

class SimDevice {
 public:
  explicit SimDevice(SimOptions options);
  ~SimDevice();
  SimDevice(const SimDevice&) = delete;
  SimDevice& operator=(const SimDevice&) = delete;

  // ---- what the driver does ------------------------------------------------------------------
  // Makes `entry` the program started by that device path (compared without regard to case).
  // Starting a path without an entry that names an existing file runs a stand-in that exits 0 at
  // once; a path with neither fails to start.
  void InstallProgram(const std::u16string& path, ProgramEntry entry);
  plat::Process Start(const std::u16string& path, const WChar* params = nullptr);
  // Lets the programs run for `ms` milliseconds of device time.
  void RunFor(uint32_t ms);
  // Runs until the program has exited or `maxMs` have passed; true when it exited.
  bool RunUntilExit(plat::Process process, uint32_t maxMs);
  bool HasExited(plat::Process process) const;
  int ExitCode(plat::Process process) const;
  // Programs whose record, message queue and thread are still held: those not yet ended, the
  // driver, and the owner of other programs' windows. An ended program keeps only its exit code.
  size_t ProgramsHoldingResources() const;

  // The user presses and releases a key combination (flag bits held as modifiers around the key).
  void Press(uint16_t scanWord);
  void SetCapsLock(bool on);
  // A window of another program becomes the foreground window and takes the keyboard focus.
  // SetForeground(nullptr) leaves the device without a foreground window.
  plat::Window ShowForeignWindow(const std::u16string& className, const std::u16string& title);
  void SetForeground(plat::Window window);
  std::u16string FocusText() const;
  void ClearFocusText();
  // Answers for the next message boxes, in order, each given `afterMs` of device time after its box
  // opens; the program's windows go on receiving their messages meanwhile. Without an answer, or
  // with one after 0 ms, the box closes at once. An answer that is not a button of the box is one
  // the user cannot press: the box then closes with its default button, at the same time.
  void QueueMessageBoxAnswer(int answer, uint32_t afterMs = 0);
  void SetNamedEventExists(const std::u16string& name, bool exists);
  // The identifiers the next popup menus return, in order, each chosen `afterMs` after its menu
  // opens; without one, nothing is chosen (0) at once, and an identifier that is not an item of
  // the menu chooses nothing, as a tap beside the menu does.
  void QueueMenuChoice(uint32_t id, uint32_t afterMs = 0);
  // The user taps the tray icon (the `index`th, oldest first): its window gets the callback message
  // with WM_LBUTTONDOWN. False when there is no such icon.
  bool TapTrayIcon(size_t index = 0);
  // What the last finished paint of `window` drew, in order.
  std::vector<PaintOp> LastPaint(plat::Window window) const;
  std::vector<TrayIconInfo> TrayIcons() const;
  LiveObjects CountLiveObjects() const;

  uint64_t Now() const { return now_; }
  uint32_t TickCount() const { return static_cast<uint32_t>(options_.startTick + now_); }
  const SimOptions& Options() const { return options_; }

  const std::vector<LogEntry>& Log() const { return log_; }
  std::u16string LogText1(const LogEntry& e) const { return strings_.substr(e.s1Offset, e.s1Length); }
  std::u16string LogText2(const LogEntry& e) const { return strings_.substr(e.s2Offset, e.s2Length); }
  void ClearLog();
  std::vector<HotKeyInfo> HotKeys() const;
  std::u16string WindowClass(plat::Window window) const;
  std::u16string WindowTitle(plat::Window window) const;
  plat::Window FindWindow(const std::u16string& className, const std::u16string& title) const;
  // The host path that a device path maps to; empty when the device path is not acceptable.
  std::string HostPath(const std::u16string& devicePath) const;
  // What keeps the programs from a file of the device (files.cpp). ReadDenied: its access rights
  // forbid reading it, while its folder still lets it be replaced or removed (the mark goes with
  // it). HeldOpen: another program holds it open without sharing: it can be neither read, written,
  // replaced nor removed. Open lifts either.
  enum class FileAccess { Open, ReadDenied, HeldOpen };
  void SetFileAccess(const std::u16string& devicePath, FileAccess access);

  // ---- what the platform calls reach (always on the thread holding the token) ------------------
  static SimDevice& Current();
  int CurrentPid() const;

  struct Timer {
    plat::Window window;
    uintptr_t id;
    uint32_t period;
    uint64_t due;
  };
  struct Proc;
  struct WindowRec {
    int owner;
    std::u16string className, title, text;
    plat::WndProc proc;
    void* context;        // handed to `proc` with every message
    uint32_t traits;      // plat::WindowTrait bits
    plat::Window parent;  // nullptr for a top-level window
    int controlId;
    int x, y, width, height;
    bool visible, invalid, destroyed;
  };

  // scheduler
  void BlockSleep(uint32_t ms);
  void BlockForMessage();
  // A modal box or menu: `ms` of device time pass while the calling program's windows receive
  // what its own loop would hand them, except the quit request, which waits for that loop.
  void ModalWait(uint32_t ms);
  plat::WaitResult BlockForExit(int pid, uint32_t timeoutMs);
  // windows and messages
  bool RegisterClass(const WChar* name, plat::WndProc proc);
  bool UnregisterClass(const WChar* name);
  plat::Window CreateWindowRec(const plat::WindowSpec& spec);
  plat::Window ChildWindowRec(plat::Window parent, int controlId) const;
  // Calls the window's procedure with its context; 0 when the window is gone or not the caller's.
  intptr_t CallProc(plat::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
  bool DestroyWindowRec(plat::Window window);
  WindowRec* Win(plat::Window window);
  const WindowRec* Win(plat::Window window) const;
  plat::Window FindWindowRec(const WChar* cls, const WChar* title) const;
  bool Post(plat::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam);
  void PostQuit(int code);
  // `takeQuit` false leaves a quit request where it is and looks past it.
  bool TakeMessage(plat::Message* out, plat::Window filter, bool remove, bool takeQuit = true);
  bool SetTimerRec(plat::Window window, uintptr_t id, uint32_t period);
  bool KillTimerRec(plat::Window window, uintptr_t id);
  plat::Window Foreground() const { return foreground_; }
  void LogBroadcast(uint32_t message, uintptr_t wParam);
  // hot keys and input
  bool AddHotKey(plat::Window window, int id, uint32_t modifiers, uint32_t keyCode);
  bool RemoveHotKey(plat::Window window, int id);
  void TakeHotKey(uint32_t modifiers, uint32_t keyCode);
  void InjectCharacter(WChar unit);
  void InjectKeyTransition(uint8_t keyCode, bool up);
  bool CapsLock() const { return capsLock_; }
  // processes
  plat::Process StartProc(const WChar* path, const WChar* params);
  Proc* ProcOf(plat::Process process);
  const Proc* ProcOf(plat::Process process) const;
  const std::u16string& ProgramPath() const;
  // files
  plat::FileReadResult ReadFile(const WChar* path, uint8_t* buffer, size_t capacity, size_t* read);
  bool WriteFile(const WChar* path, const uint8_t* data, size_t size);
  bool MoveFileOver(const WChar* from, const WChar* to);
  bool RemoveFile(const WChar* path);
  bool FileExists(const WChar* path);
  plat::FileList FindFirst(const WChar* pattern, WChar* name, size_t capacity);
  bool FindNext(plat::FileList find, WChar* name, size_t capacity);
  void CloseFileList(plat::FileList find);
  // text
  bool AnsiToWide(const char* source, WChar* buffer, size_t capacity);
  bool WideToAnsi(const WChar* source, char* buffer, size_t capacity);
  // user messages and activity
  int ShowMessageBox(const WChar* text, const WChar* title, uint32_t flags);
  void LogIdleReset();
  bool SetNamedEvent(const WChar* name);
  bool HotKeyTakeoverAvailable() const { return options_.hotKeyTakeover; }
  // drawing, icons, tray and menus
  struct Ui;
  Ui& UiState() { return *ui_; }
  const Ui& UiState() const { return *ui_; }
  LogEntry& LogEvent(LogKind kind, std::u16string_view s1, std::u16string_view s2 = {});
  // The foreground window is going (hidden or destroyed): the one before it comes back.
  void ForegroundGone(plat::Window window);

  struct Proc {
    int pid = 0;
    std::u16string path, params;
    ProgramEntry entry;
    std::thread thread;
    enum class State { New, Running, Blocked, Exited } state = State::New;
    // Modal: a message other than the quit request, or the deadline, whichever comes first.
    enum class Wait { None, Sleep, Message, Modal, ProcessExit, Time } wait = Wait::None;
    uint64_t deadline = 0;
    int waitPid = 0;
    std::condition_variable cv;
    int exitCode = 0;
    bool hasThread = true;  // stand-ins that only own windows have none
    // message queue: a fixed ring, as the platform's queues are bounded
    std::vector<plat::Message> queue;
    size_t queueHead = 0, queueCount = 0;
    bool quitPosted = false;
    int quitCode = 0;
    std::vector<Timer> timers;
    std::vector<std::pair<std::u16string, plat::WndProc>> classes;
  };

 private:
  void Schedule(std::unique_lock<std::mutex>& lock, Proc& self);
  bool Ready(const Proc& p) const;
  uint64_t NextEvent(const Proc& p) const;
  void Block(Proc& self);
  static void ThreadMain(SimDevice* device, Proc* p);
  void FinishProc(Proc& p, int code);
  // Joins the threads of programs that have ended and frees their records; called by whichever
  // thread holds the token next, once the ended thread has handed it on.
  void ReapEnded();
  bool Ended(int pid) const;
  bool KnownPid(int pid) const { return pid > 0 && pid < static_cast<int>(exitCodes_.size()); }
  bool HasMessage(const Proc& p, bool countQuit = true) const;
  void DropWindow(plat::Window window);
  bool Enqueue(const plat::Message& message);
  Proc& NewProc(const std::u16string& path, const WChar* params, ProgramEntry entry, bool hasThread);
  const HotKeyInfo* CatchHotKey(uint32_t modifiers, uint8_t keyCode);
  void TypeIntoFocus(uint8_t keyCode, bool shift);
  uint32_t AddString(std::u16string_view s, uint32_t* length);
  LogEntry& AddLog(LogKind kind);
  std::string ResolveHost(const std::u16string& devicePath, bool forCreate) const;
  int CurrentPidOrDriver() const;

  SimOptions options_;
  uint64_t now_ = 0;
  std::mutex mutex_;
  Proc* running_ = nullptr;
  bool terminating_ = false;
  // index = pid; 0 is the driver. An ended program's record is freed (null here) and only its exit
  // code stays, so that its handle still answers and pids are never reused.
  std::vector<std::unique_ptr<Proc>> procs_;
  std::vector<int> exitCodes_;      // index = pid
  std::vector<Proc*> live_;         // records still held, in pid order: the scheduler's round
  std::vector<int> ended_;          // ended programs whose thread is not joined yet
  std::vector<WindowRec> windows_;  // handle = index + 1
  plat::Window foreground_ = nullptr;
  std::vector<HotKeyInfo> hotKeys_;
  bool capsLock_ = false;
  bool keyDown_[256] = {};
  std::map<std::u16string, ProgramEntry> programs_;
  struct ScriptedAnswer {
    int button;
    uint32_t afterMs;
  };
  std::vector<ScriptedAnswer> answers_;
  std::map<std::u16string, bool, std::less<>> namedEvents_;  // looked up on the key path: no temporaries
  std::vector<LogEntry> log_;
  std::u16string strings_;
  std::unique_ptr<CodePageConverter> codePage_;
  struct Find;
  std::vector<std::unique_ptr<Find>> finds_;
  std::map<std::string, FileAccess> fileAccess_;  // by host path; files without an entry are Open
  FileAccess AccessOf(const std::string& hostPath) const;
  Proc* foreignOwner_ = nullptr;
  std::shared_ptr<Ui> ui_;
};

}  // namespace sim
