// The end-to-end cases: each starts the real Tarvin.exe from the device folder, plays the user at
// the keyboard and checks what arrives in the edit box. The device folder holds the layouts of
// tests/e2e/fixtures/layouts and the Tarvin.cfg the case's runner chose.
#include "tests/e2e/driver/cases.h"

#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/driver/desk.h"

namespace e2e {

namespace {

constexpr ScanWord kShiftA = 0x0141;
constexpr ScanWord kA = 0x0041;
constexpr ScanWord kB = 0x0042;
constexpr ScanWord kC = 0x0043;
constexpr ScanWord kD = 0x0044;
constexpr ScanWord kCapsLock = 0x0014;
constexpr ScanWord kOne = 0x0031;
constexpr ScanWord kTwo = 0x0032;

constexpr DWORD kQuickGap = 100;  // between presses of one key: well inside the layout's second

struct Step {
  std::vector<ScanWord> keys;
  std::wstring typed;  // what the keys add to the edit box
  const char* what;
};

// Types each step's keys and checks the text that results, step after step.
bool TypeSteps(Desk& desk, const std::vector<Step>& steps) {
  std::wstring expected = desk.Text();
  bool ok = true;
  for (const Step& step : steps) {
    desk.PressAll(step.keys, kQuickGap);
    expected += step.typed;
    ok = desk.ExpectText(expected, step.what) && ok;
  }
  return ok;
}

// The user's session: the desk comes up, the engine starts and shows its layout's hint, and the
// user taps into the edit box to type.
bool Begin(Desk& desk, Engine& engine, bool popupHint = true) {
  if (!desk.Open()) {
    Fail("the driver's window could not be created");
    return false;
  }
  if (!engine.Start() || !engine.WaitWindow()) return false;
  if (popupHint && !engine.WaitHintShownAndGone()) return false;
  if (!desk.Focus()) return false;
  return true;
}

// After a switch or a reload the user goes on typing where they were: the popup hint must not
// have taken the keyboard focus with it.
void CheckFocusKept(Desk& desk, const char* after) {
  if (desk.HasFocus()) {
    Pass("the edit box still has the keyboard focus after %s", after);
  } else {
    Fail("the edit box lost the keyboard focus after %s", after);
  }
}

// The shipped Russian layout: Shift+A gives capital ef, A small ef; its CapsLock key is kept by
// the engine and swaps the two.
void CaseShiftA(Desk& desk, Engine& engine) {
  if (!Begin(desk, engine)) return;
  TypeSteps(desk, {
                      {{kShiftA}, L"\u0424", "Shift+A types capital ef"},
                      {{kA}, L"\u0444", "A types small ef"},
                      {{kCapsLock}, L"", "CapsLock types nothing"},
                      {{kA}, L"\u0424", "A with the engine's CapsLock on types capital ef"},
                      {{kShiftA}, L"\u0444", "Shift+A with CapsLock on types small ef"},
                      {{kCapsLock}, L"", "CapsLock again types nothing"},
                      {{kA}, L"\u0444", "A with CapsLock off again types small ef"},
                  });
}

// D is a multi-press key of Lab.TVL: a, b, c for one, two, three presses within its second.
void CaseMultiPress(Desk& desk, Engine& engine) {
  if (!Begin(desk, engine)) return;
  // With the popup hint, a press of a multi-press key previews its character at once, while the
  // key waits for further presses.
  desk.Press(kD);
  if (desk.WaitUntil([&] { return engine.HintVisible() || !desk.Text().empty(); }) && desk.Text().empty()) {
    Pass("a popup hint comes up while D waits for further presses");
  } else {
    Fail("no popup hint came up while D waited for further presses");
  }
  desk.ExpectText(L"a", "D once types a");
  TypeSteps(desk, {
                      {{kD, kD}, L"b", "D twice types b"},
                      {{kD, kD, kD}, L"c", "D three times types c"},
                      {{kD, kD, kD, kD}, L"a", "D four times wraps round to a"},
                      {{kD, kA}, L"a\u0444", "A pressed while D waits comes out after it"},
                  });
  CheckFocusKept(desk, "the multi-press previews");
}

// B sends Shift+A as a keystroke, which the layout itself maps to capital ef: the engine must not
// catch its own keystroke. C sends Ctrl+A.
void CaseKeystroke(Desk& desk, Engine& engine) {
  if (!Begin(desk, engine)) return;
  TypeSteps(desk, {
                      {{kB}, L"A", "B's keystroke Shift+A types a plain A"},
                      {{kShiftA}, L"\u0424", "Shift+A is caught again after the keystroke"},
                  });

  desk.Keys().clear();
  desk.Press(kC);
  desk.WaitUntil([&] { return !desk.Keys().empty() && desk.Keys().back().key == 'A'; });
  desk.Pump(kSettle);
  int plainA = 0, ctrlA = 0;
  for (const SeenKey& key : desk.Keys()) {
    if (key.key != 'A') continue;
    (key.ctrl && !key.shift && !key.alt ? ctrlA : plainA) += 1;
  }
  if (ctrlA == 1 && plainA == 0) {
    Pass("C's keystroke reaches the edit box as one A with Ctrl held");
  } else {
    Fail("C's keystroke: the edit box saw %d A with Ctrl only and %d other A", ctrlA, plainA);
  }
  desk.ExpectText(L"A\u0424", "Ctrl+A types no character");
}

// Switching.cfg: Lab.TVL, then Greek.TVL, an unassigned slot and the default layout. Each further
// start of Tarvin.exe hands over to the running engine, which moves to its next layout.
void CaseSecondStart(Desk& desk, Engine& engine) {
  if (!Begin(desk, engine)) return;
  struct Switch {
    std::wstring typed;
    const char* what;
  };
  const Switch switches[] = {
      {L"\u03A6", "after the second start Shift+A types capital phi (Greek.TVL)"},
      {L"A", "after the third start Shift+A passes through (default layout)"},
      {L"\u0424", "after the fourth start Shift+A types capital ef again (Lab.TVL)"},
  };
  TypeSteps(desk, {{{kShiftA}, L"\u0424", "Shift+A types capital ef (Lab.TVL)"}});
  std::wstring expected = desk.Text();
  for (const Switch& step : switches) {
    const long code = engine.StartAgain();
    if (code == 0) {
      Pass("the further Tarvin.exe ended with exit code 0");
    } else {
      Fail("the further Tarvin.exe ended with exit code %ld, expected 0", code);
    }
    if (!engine.Running()) {
      Fail("the running engine ended");
      return;
    }
    if (!engine.WaitHintShownAndGone()) break;
    desk.Press(kShiftA);
    expected += step.typed;
    desk.ExpectText(expected, step.what);
  }
  CheckFocusKept(desk, "the switches");
}

// MsgReleaseKeys gives every key back to the system; MsgReloadConfig takes them again.
void CaseReleaseReload(Desk& desk, Engine& engine) {
  if (!Begin(desk, engine)) return;
  TypeSteps(desk, {{{kShiftA}, L"\u0424", "Shift+A types capital ef"}});

  engine.Post(MsgReleaseKeys);
  if (!desk.WaitUntil([&] { return desk.HotKeyFree(kShiftA) && desk.HotKeyFree(kD); })) {
    Fail("Shift+A and D are still held as hot keys after MsgReleaseKeys");
  }
  TypeSteps(desk, {
                      {{kShiftA}, L"A", "released: Shift+A types a plain A"},
                      {{kA}, L"a", "released: A types a plain a"},
                      {{kD, kD}, L"dd", "released: D twice types d twice"},
                  });

  engine.Post(MsgReloadConfig);
  if (engine.WaitHintShownAndGone()) {
    TypeSteps(desk, {
                        {{kShiftA}, L"\u0424", "reloaded: Shift+A types capital ef again"},
                        {{kD, kD}, L"b", "reloaded: D twice types b again"},
                    });
  }
  CheckFocusKept(desk, "the reload");
}

// Another program unloads the engine with WM_QUIT and wParam 3.
void CaseQuit(Desk& desk, Engine& engine) {
  if (!Begin(desk, engine)) return;
  TypeSteps(desk, {{{kShiftA}, L"\u0424", "Shift+A types capital ef"}});
  engine.Post(WM_QUIT, 3);
  DWORD code = 0;
  if (!engine.WaitExit(kPatience, &code)) {
    Fail("the engine did not end after WM_QUIT with wParam 3");
  } else if (code == 3) {
    Pass("the engine ended with exit code 3");
  } else {
    Fail("the engine ended with exit code %lu, expected 3", code);
  }
  if (engine.Window() != nullptr) Fail("the engine's window is still there");
  TypeSteps(desk, {{{kShiftA}, L"A", "after the unload Shift+A types a plain A"}});
}

// Tray.cfg: HintMode 1. The hint lives in a tray icon; the engine's window never shows and never
// takes the focus.
void CaseTray(Desk& desk, Engine& engine) {
  if (!Begin(desk, engine, false)) return;
  bool shown = false;
  auto watchWindow = [&](DWORD ms) {  // notes whether the engine's window showed meanwhile
    desk.WaitUntil(
        [&] {
          shown = shown || engine.HintVisible();
          return false;
        },
        ms);
  };
  if (desk.WaitUntil([&] { return engine.TrayIconPresent(); })) {
    Pass("the engine's tray icon is there after the start");
  } else {
    Fail("no tray icon of the engine after the start");
  }
  watchWindow(1500);  // longer than a popup hint would stay
  TypeSteps(desk, {{{kShiftA}, L"\u0424", "Shift+A types capital ef"}});

  engine.Post(MsgReleaseKeys);
  if (desk.WaitUntil([&] { return !engine.TrayIconPresent(); })) {
    Pass("MsgReleaseKeys removes the tray icon");
  } else {
    Fail("the tray icon is still there after MsgReleaseKeys");
  }
  engine.Post(MsgReloadConfig);
  if (desk.WaitUntil([&] { return engine.TrayIconPresent(); })) {
    Pass("MsgReloadConfig brings the tray icon back");
  } else {
    Fail("no tray icon after MsgReloadConfig");
  }
  TypeSteps(desk, {{{kShiftA}, L"\u0424", "after the reload Shift+A types capital ef"}});

  if (engine.StartAgain() != 0) Fail("the further Tarvin.exe did not end with exit code 0");
  watchWindow(1500);
  if (desk.WaitUntil([&] { return engine.TrayIconPresent(); })) {
    Pass("the tray icon is there after switching to the next layout");
  } else {
    Fail("no tray icon after switching to the next layout");
  }
  if (shown) {
    Fail("the engine's window showed in tray mode");
  } else {
    Pass("the engine's window never showed");
  }
  CheckFocusKept(desk, "the start, the reload and the switch");
}

// Lab.TVL's key 1 runs Exec 0001, this driver in its marker mode with the parameters
// "exec-marker hello world"; key 2 runs a program that is not there.
void CaseExec(Desk& desk, Engine& engine) {
  const std::wstring marker = ProgramFolder() + kExecMarkerFile;
  DeleteFileW(marker.c_str());
  if (!Begin(desk, engine)) return;

  desk.Press(kOne);
  if (desk.WaitUntil([&] { return GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; })) {
    char line[512] = {};
    if (FILE* file = _wfopen(marker.c_str(), L"rb")) {
      std::fread(line, 1, sizeof line - 1, file);
      std::fclose(file);
    }
    const std::string commandLine = line;
    if (commandLine.find("exec-marker hello world") != std::string::npos) {
      Pass("key 1 started the Exec program with its parameters: %s", commandLine.c_str());
    } else {
      Fail("the Exec program's command line lacks its parameters: %s", commandLine.c_str());
    }
  } else {
    Fail("key 1 did not start the Exec program (no marker file)");
  }

  desk.Press(kTwo);
  desk.ExpectBox(L"Error", L"Error executing \"\\Tarvin\\missing.exe\" -x");
  desk.Focus();  // the user taps back into the edit box after answering the box
  TypeSteps(desk, {{{kShiftA}, L"\u0424", "the engine goes on after the failed start: Shift+A types capital ef"}});
}

// Broken.TVL has a key without a key code on line 4: the reader says so, the engine cannot start
// and says that too, then ends.
void CaseStartFailure(Desk& desk, Engine& engine) {
  if (!desk.Open()) {
    Fail("the driver's window could not be created");
    return;
  }
  if (!engine.Start()) return;
  desk.ExpectBox(L"Error reading layout", L"Broken.TVL(4): Invalid scan code in Key parameter");
  desk.ExpectBox(L"Error", L"Error initializing Tarvin.\n\rPlease run Tarvin Settings");
  DWORD code = 0;
  if (engine.WaitExit(kPatience, &code)) {
    Pass("the engine ended after the failed start (exit code %lu)", code);
  } else {
    Fail("the engine did not end after the failed start");
  }
  if (engine.Window() != nullptr) Fail("the engine's window is still there");
}

struct Case {
  const char* name;
  void (*run)(Desk&, Engine&);
};

constexpr Case kCases[] = {
    {"shift_a", CaseShiftA},
    {"multipress", CaseMultiPress},
    {"keystroke", CaseKeystroke},
    {"second_start", CaseSecondStart},
    {"release_reload", CaseReleaseReload},
    {"quit", CaseQuit},
    {"tray", CaseTray},
    {"exec", CaseExec},
    {"start_failure", CaseStartFailure},
};

}  // namespace

bool RunCase(const std::string& name) {
  for (const Case& c : kCases) {
    if (name != c.name) continue;
    Desk desk;
    Engine engine(desk);
    c.run(desk, engine);
    EndSession(desk, engine);
    return true;
  }
  return false;
}

void ListCases() {
  for (const Case& c : kCases) std::printf("  %s\n", c.name);
}

}  // namespace e2e
