#include "tools/tarvin-sim/session.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "engine/engine_main.h"
#include "engine/engine_state.h"
#include "platform/platform.h"
#include "platform/wtext.h"
#include "tools/common/terminal_text.h"

namespace tarvin_sim {

const char16_t kEnginePath[] = u"\\Program Files\\Tarvin\\Tarvin.exe";

namespace {

uint32_t MenuId(TrayItem item) {
  switch (item) {
    case TrayItem::About: return IdAbout;
    case TrayItem::Next: return IdNextLayout;
    case TrayItem::Settings: return IdSettings;
    case TrayItem::Unload: return IdUnload;
    case TrayItem::None: break;
  }
  return 0;
}

// The word a log line gives a message box's button.
std::string ButtonWord(uint32_t button) {
  switch (button) {
    case plat::kIdOk: return "ok";
    case plat::kIdCancel: return "cancel";
    case 3: return "abort";
    case 4: return "retry";
    case 5: return "ignore";
    case plat::kIdYes: return "yes";
    case plat::kIdNo: return "no";
    default: return std::to_string(button);
  }
}

std::string Hex(uint32_t value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
  return buffer;
}

bool SamePath(const std::u16string& a, const std::u16string& b) { return wtext::EqualNoCase(a.c_str(), b.c_str()); }

sim::SimOptions DeviceOptions(const std::string& hostRoot, uint32_t codePage) {
  sim::SimOptions options;
  options.hostFolder = hostRoot;
  options.codePage = codePage;
  return options;
}

}  // namespace

// The text's other control characters are escaped as everywhere the tools print layout text.
std::string Quote(const std::u16string& text) {
  std::string out = "\"";
  for (char c : sim::ToUtf8(text)) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c; break;
    }
  }
  return tools_common::EscapeControls(out) + "\"";
}

Session::Session(const std::string& hostRoot, uint32_t codePage, std::ostream& out)
    : device_(DeviceOptions(hostRoot, codePage)), out_(out) {
  plat::Window document = device_.Foreground();
  windows_[{device_.WindowClass(document), device_.WindowTitle(document)}] = document;
  device_.InstallProgram(kEnginePath, [] { return EngineMain(); });
}

void Session::Play(const std::vector<Command>& commands) {
  device_.Start(kEnginePath);
  device_.RunFor(0);  // the engine starts up before the user does anything
  Flush();
  for (const Command& command : commands) {
    Run(command);
    // Everything due at this instant happens before the next line, so that, for instance, keys
    // released by a posted message are released when the next press comes.
    device_.RunFor(0);
    Flush();
  }
  device_.RunFor(kRunOutMs);
  Flush();
  out_ << device_.Now() << " text " << Quote(device_.FocusText()) << "\n";
  out_.flush();
}

void Session::Run(const Command& command) {
  switch (command.kind) {
    case CommandKind::Press: device_.Press(static_cast<uint16_t>(command.number)); break;
    case CommandKind::Wait: device_.RunFor(command.number); break;
    case CommandKind::Foreground: Foreground(command.className, command.title); break;
    case CommandKind::CapsLock: device_.SetCapsLock(command.on); break;
    case CommandKind::Post:
      if (plat::Window engine = EngineWindow()) {
        plat::PostToWindow(engine, command.number, command.wParam, 0);
      } else {
        Note(command, "no engine window to post to");
      }
      break;
    case CommandKind::Start: device_.Start(kEnginePath); break;
    case CommandKind::Ornitap: {
      // A window of its own that does not take the focus from the user's window.
      const std::pair<std::u16string, std::u16string> key{u"OrnitapWndClass", u"Ornitap Window"};
      if (windows_.count(key) == 0) {
        plat::Window focus = device_.Foreground();
        windows_[key] = device_.ShowForeignWindow(key.first, key.second);
        device_.SetForeground(focus);
      }
      break;
    }
    case CommandKind::Tray: TapTray(command); break;
    case CommandKind::HotKeys: ListHotKeys(); break;
    case CommandKind::Answer: device_.QueueMessageBoxAnswer(command.button, command.number); break;
  }
}

void Session::Foreground(const std::u16string& className, const std::u16string& title) {
  auto it = windows_.find({className, title});
  if (it != windows_.end()) {
    device_.SetForeground(it->second);
  } else {
    windows_[{className, title}] = device_.ShowForeignWindow(className, title);
  }
}

// The menu that the tap opens takes the scripted choice.
void Session::TapTray(const Command& command) {
  plat::Window engine = EngineWindow();
  const std::vector<sim::TrayIconInfo> icons = device_.TrayIcons();
  for (size_t i = 0; i < icons.size(); ++i) {
    if (engine == nullptr || icons[i].window != engine) continue;
    // The engine handles the tap only once the script waits, so the choice can follow it.
    if (device_.TapTrayIcon(i)) {
      device_.QueueMenuChoice(MenuId(command.item));
    } else {
      Note(command, "the engine does not take the tap");
    }
    return;
  }
  Note(command, "no tray icon of the engine to tap");
}

void Session::ListHotKeys() {
  plat::Window engine = EngineWindow();
  std::vector<sim::HotKeyInfo> keys;
  for (const sim::HotKeyInfo& h : device_.HotKeys()) {
    if (engine != nullptr && h.owner == engine) keys.push_back(h);
  }
  std::stable_sort(keys.begin(), keys.end(),
                   [](const sim::HotKeyInfo& a, const sim::HotKeyInfo& b) { return a.id < b.id; });
  for (const sim::HotKeyInfo& h : keys) {
    out_ << device_.Now() << " hotkey " << Hex(static_cast<uint32_t>(h.id), 4) << " " << h.modifiers << " "
         << Hex(h.keyCode, 2) << "\n";
  }
}

void Session::Note(const Command& command, const std::string& text) {
  out_.flush();
  std::cerr << "tarvin-sim: line " << command.line << ": " << text << "\n";
}

plat::Window Session::EngineWindow() const { return device_.FindWindow(kEngineClass, kEngineTitle); }

void Session::Flush() {
  const auto& log = device_.Log();
  for (; printed_ < log.size(); ++printed_) Write(log[printed_]);
  out_.flush();
}

void Session::Write(const sim::LogEntry& e) {
  using sim::LogKind;
  std::string line;
  switch (e.kind) {
    case LogKind::Char: line = "char " + Hex(e.a, 4); break;
    case LogKind::KeyDown: line = "key " + Hex(e.a, 2) + " down"; break;
    case LogKind::KeyUp: line = "key " + Hex(e.a, 2) + " up"; break;
    case LogKind::Raw: line = "raw " + Hex(e.a, 4); break;
    case LogKind::Start:
      line = "start " + Quote(device_.LogText1(e));
      if (e.b != 0 && !device_.LogText2(e).empty()) line += " " + Quote(device_.LogText2(e));
      break;
    case LogKind::Exit:
      if (!SamePath(device_.LogText1(e), kEnginePath)) return;
      line = "exit " + std::to_string(static_cast<int32_t>(e.b));
      break;
    case LogKind::MessageBox:
      line = "msgbox " + Quote(device_.LogText1(e)) + " " + Quote(device_.LogText2(e));
      if (e.c >= 0) line += " -> " + ButtonWord(e.b);  // closed by an answer line
      break;
    case LogKind::Post:
      if (e.pid == 0) return;  // the script's own posts
      line = "post " + Quote(device_.LogText1(e)) + " " + std::to_string(e.a) + " " + std::to_string(e.b) + " " +
             std::to_string(e.c);
      break;
    case LogKind::IdleReset: line = "activity"; break;
    case LogKind::TextDrawn:
      if (device_.LogText2(e) != kEngineClass) return;
      line = "hint " + Quote(device_.LogText1(e));
      break;
    case LogKind::TrayAdd: line = "tray add " + Quote(device_.LogText1(e)); break;
    case LogKind::TrayDelete: line = "tray delete"; break;
    case LogKind::HotKey:
    case LogKind::Broadcast:
    case LogKind::EventSet:
    case LogKind::Menu: return;
  }
  out_ << e.time << " " << line << "\n";
}

}  // namespace tarvin_sim
