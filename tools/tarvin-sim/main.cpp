// tarvin-sim [--folder DIR] [--codepage CP] [SCRIPT]
//
// Runs the real engine on a simulated handheld so that a layout author can try a layout without a
// device. See kUsage for the script and the log.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/common/code_page_option.h"
#include "tools/common/terminal_text.h"
#include "tools/tarvin-sim/script.h"
#include "tools/tarvin-sim/session.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage = R"(usage: tarvin-sim [--folder DIR] [--codepage CP] [SCRIPT]

Runs the Tarvin engine on a simulated handheld and plays SCRIPT, a file or - for standard input
(default: a demo that types Russian text). The log of what happens goes to standard output.

The device
  Its program folder \Program Files\Tarvin\ starts as a copy of DIR (default: a bundled folder
  with the sample layouts and a Tarvin.cfg that selects "Russian Default.TVL" as Layout1); DIR
  itself is never changed. CP is the device's ANSI code page, in which layout and configuration
  files are read (default 1252). A window of class "SimEdit", title "Document", is in front and
  has the keyboard focus. At time 0 the engine \Program Files\Tarvin\Tarvin.exe is started as the
  device's start-up starts it.
  Starting a path that names a file on the device (the files of DIR, and \Windows\notes.exe,
  \Windows\iexplore.exe, \Windows\fexplore.exe) runs a program that ends at once with code 0; a
  path without a file fails to start, and a bare name such as fexplore.exe is looked for in
  \Windows. A message box is dismissed with its default button at once, unless an answer line
  answers it.

The script
  One command a line. Blank lines are ignored, and # starts a comment (at the start of a line or
  after a blank). WORD is four hex digits; MS, MSG and WPARAM are decimal. After each command,
  everything that is due at that moment of device time happens before the next command.

    press WORD                 the user presses and releases that key combination: the flag bits
                               of its high byte held as Shift (01), Ctrl (02), Alt (04), Win (08)
                               around the key of its low byte
    wait MS                    MS milliseconds of device time pass
    foreground "CLASS" "TITLE" a window of another program with that class and title becomes the
                               foreground window and takes the keyboard focus (the same window
                               again, with its text, when one was named before)
    capslock on|off            the device's Caps Lock state
    post MSG [WPARAM]          another program posts message MSG with WPARAM (default 0) and
                               lParam 0 to the engine's window
    start                      the engine program is started again
    ornitap                    a window of class "OrnitapWndClass", title "Ornitap Window", exists
                               from now on (it does not take the focus)
    tray about|next|settings|unload|none
                               the user taps the engine's tray icon and picks that menu item
                               (none: the menu closes without a choice)
    hotkeys                    log the hot keys that the engine's window holds now
    answer ok|cancel|yes|no [MS]
                               the next message box (of any program) is answered with that button
                               MS milliseconds of device time after it opens (default 0); until
                               then the box's program goes on handling its timers, hot keys and
                               messages, but its own work waits for the box. A box without that
                               button (the engine's boxes have OK alone) is answered with its
                               default button at the same time. Answers are used in order; one
                               left over at the end does nothing

  Quoted strings take the escapes \" \\ \r \n. A bad line stops the script before the device
  starts, with a message naming the line.
  After the last line the device runs 1000 ms more.

The log
  One event a line: the device time in milliseconds, a blank, then one of

    char XXXX                          one UTF-16 unit typed into the focused window
    key XX down | key XX up            a key transition that a program injected (virtual-key code)
    raw WORD                           a press that no hot key caught, reaching the focused window
    start "PATH" ["PARAMS"]            a program started (the parameters only when there are any);
                                       a start that fails shows in what the starter does next
    hint "TEXT"                        the engine drew TEXT into its own window: the popup hint
                                       became visible with that text (not logged in tray mode,
                                       where the hint is the tray icon's picture and tip)
    tray add "TIP" | tray delete       the engine's tray icon added with its tip, or removed
    msgbox "TITLE" "TEXT" [-> BUTTON]  a message box, logged when it opens; dismissed at once, or
                                       with -> BUTTON when an answer line closed it: the button
                                       it returned (ok, cancel, yes, no, abort, retry, ignore)
    post "CLASS" MSG WPARAM LPARAM     a message that a program posted to another program's window
                                       (the script's own posts are not logged)
    activity                           the engine reported user activity to the device
    hotkey XXXX MODS XX                (after hotkeys) hot key id, modifiers in decimal (1 Alt,
                                       2 Ctrl, 4 Shift, 8 Win), key code; in order of id
    exit CODE                          an engine program ended with that exit code

  The last line is text "...": the text of the focused window. Strings are UTF-8 in double quotes,
  with ", \, CR and LF written as \", \\, \r and \n.

Exit status: 0 when the script ran, 2 for bad usage or a bad script line.
)";

int Usage(const std::string& problem) {
  std::cerr << "tarvin-sim: " << problem << "\n"
            << "usage: tarvin-sim [--folder DIR] [--codepage CP] [SCRIPT]   (--help for more)\n";
  return 2;
}

using tools_common::ParseCodePage;

// The bundled folder and demo sit beside the build's bin folder, found from the program's own
// place so that the current directory does not matter.
fs::path SharedFolder() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return self.parent_path().parent_path() / "share" / "tarvin-sim";
}

bool ReadAll(std::istream& in, std::string& text) {
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return !in.bad();
}

// The device's root on the host, removed when the run ends.
class DeviceRoot {
 public:
  DeviceRoot() {
    std::string pattern = (fs::temp_directory_path() / "tarvin-sim-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~DeviceRoot() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  DeviceRoot(const DeviceRoot&) = delete;
  DeviceRoot& operator=(const DeviceRoot&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The program folder as a copy of `folder`, and the few programs every handheld has.
bool FillDevice(const fs::path& root, const fs::path& folder, std::string& problem) {
  std::error_code ec;
  const fs::path programFolder = root / "Program Files" / "Tarvin";
  fs::create_directories(programFolder, ec);
  if (!ec) fs::copy(folder, programFolder, fs::copy_options::recursive, ec);
  if (ec) {
    problem = "cannot copy " + folder.string() + ": " + ec.message();
    return false;
  }
  fs::create_directories(root / "Windows", ec);
  for (const char* name : {"notes.exe", "iexplore.exe", "fexplore.exe"}) {
    std::ofstream(root / "Windows" / name);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folderArg, scriptArg;
  bool haveFolder = false, haveScript = false;
  uint32_t codePage = 1252;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--folder" || arg == "--codepage") {
      if (i + 1 >= argc) return Usage(arg + " needs a value");
      const std::string value = argv[++i];
      if (arg == "--folder") {
        folderArg = value;
        haveFolder = true;
      } else if (!ParseCodePage(value, codePage)) {
        return Usage("bad code page \"" + value + "\"");
      }
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-') return Usage("unknown option " + arg);
    if (haveScript) return Usage("more than one script");
    scriptArg = arg;
    haveScript = true;
  }

  const fs::path shared = SharedFolder();
  const fs::path folder = haveFolder ? fs::path(folderArg) : shared / "device";
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    if (haveFolder) return Usage(folderArg + ": not a folder");
    std::cerr << "tarvin-sim: the bundled device folder is missing (" << folder.string() << ")\n";
    return 1;
  }

  std::string scriptName, text;
  if (haveScript && scriptArg == "-") {
    scriptName = "standard input";
    if (!ReadAll(std::cin, text)) return Usage("cannot read standard input");
  } else {
    scriptName = haveScript ? scriptArg : (shared / "demo.sim").string();
    std::ifstream in(scriptName, std::ios::binary);
    if (!in || fs::is_directory(scriptName, ec) || !ReadAll(in, text)) {
      if (haveScript) return Usage("cannot read " + scriptName);
      std::cerr << "tarvin-sim: the bundled demo script is missing (" << scriptName << ")\n";
      return 1;
    }
  }

  std::vector<tarvin_sim::Command> commands;
  tarvin_sim::ScriptError error;
  if (!tarvin_sim::ParseScript(text, commands, error)) {
    std::cerr << "tarvin-sim: " << scriptName << ":" << error.line << ": "
              << tools_common::EscapeControls(error.message) << "\n";
    return 2;
  }

  DeviceRoot root;
  std::string problem;
  if (root.path().empty()) {
    std::cerr << "tarvin-sim: cannot make a folder for the device\n";
    return 1;
  }
  if (!FillDevice(root.path(), folder, problem)) {
    std::cerr << "tarvin-sim: " << problem << "\n";
    return 1;
  }
  std::unique_ptr<tarvin_sim::Session> session;
  try {
    session = std::make_unique<tarvin_sim::Session>(root.path(), codePage, std::cout);
  } catch (const std::invalid_argument&) {
    return Usage("unknown code page " + std::to_string(codePage));
  }
  session->Play(commands);
  return 0;
}
