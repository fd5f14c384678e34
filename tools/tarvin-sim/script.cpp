#include "tools/tarvin-sim/script.h"

#include <cctype>

#include "platform/shell.h"
#include "platform/sim/device.h"

namespace tarvin_sim {

namespace {

struct Token {
  std::string text;
  bool quoted = false;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Splits a line into words and quoted strings. A word starting with # begins a comment.
bool Tokenize(const std::string& line, std::vector<Token>& tokens, std::string& problem) {
  size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    if (line[i] == '#') break;
    Token token;
    if (line[i] == '"') {
      token.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c != '\\') {
          token.text += c;
          continue;
        }
        if (i == line.size()) break;
        switch (line[i++]) {
          case '"': token.text += '"'; break;
          case '\\': token.text += '\\'; break;
          case 'r': token.text += '\r'; break;
          case 'n': token.text += '\n'; break;
          default: problem = std::string("unknown escape \\") + line[i - 1] + " in a quoted string"; return false;
        }
      }
      if (!closed) {
        problem = "a quoted string has no closing quote";
        return false;
      }
      if (i < line.size() && !IsBlank(line[i])) {
        problem = "a quoted string must be followed by a blank";
        return false;
      }
    } else {
      while (i < line.size() && !IsBlank(line[i])) token.text += line[i++];
    }
    tokens.push_back(std::move(token));
  }
  return true;
}

bool ParseWord(const Token& t, uint32_t& out) {
  if (t.quoted || t.text.size() != 4) return false;
  out = 0;
  for (char c : t.text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    const int digit = c <= '9' ? c - '0' : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
    out = out * 16 + static_cast<uint32_t>(digit);
  }
  return true;
}

bool ParseDecimal(const Token& t, uint32_t& out) {
  if (t.quoted || t.text.empty() || t.text.size() > 10) return false;
  uint64_t v = 0;
  for (char c : t.text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  if (v > UINT32_MAX) return false;
  out = static_cast<uint32_t>(v);
  return true;
}

bool ParseLine(const std::vector<Token>& t, Command& cmd, std::string& problem) {
  const std::string name = Lower(t[0].text);
  const size_t args = t.size() - 1;
  auto expectArgs = [&](size_t low, size_t high, const char* usage) {
    if (args >= low && args <= high) return true;
    problem = std::string("usage: ") + usage;
    return false;
  };
  if (t[0].quoted) {
    problem = "a line must start with a command";
    return false;
  }
  if (name == "press") {
    cmd.kind = CommandKind::Press;
    if (!expectArgs(1, 1, "press WORD")) return false;
    if (!ParseWord(t[1], cmd.number)) {
      problem = "press needs a key word of four hex digits, not \"" + t[1].text + "\"";
      return false;
    }
    if ((cmd.number & 0xFF) == 0) {
      problem = "press needs a key word with a key code (its low byte is 00)";
      return false;
    }
    return true;
  }
  if (name == "wait") {
    cmd.kind = CommandKind::Wait;
    if (!expectArgs(1, 1, "wait MS")) return false;
    if (!ParseDecimal(t[1], cmd.number)) {
      problem = "wait needs a decimal count of milliseconds, not \"" + t[1].text + "\"";
      return false;
    }
    return true;
  }
  if (name == "foreground") {
    cmd.kind = CommandKind::Foreground;
    if (!expectArgs(2, 2, "foreground \"CLASS\" \"TITLE\"")) return false;
    if (!t[1].quoted || !t[2].quoted) {
      problem = "foreground needs the class and the title in double quotes";
      return false;
    }
    cmd.className = sim::FromUtf8(t[1].text);
    cmd.title = sim::FromUtf8(t[2].text);
    return true;
  }
  if (name == "capslock") {
    cmd.kind = CommandKind::CapsLock;
    if (!expectArgs(1, 1, "capslock on|off")) return false;
    const std::string v = Lower(t[1].text);
    if (t[1].quoted || (v != "on" && v != "off")) {
      problem = "capslock needs on or off, not \"" + t[1].text + "\"";
      return false;
    }
    cmd.on = v == "on";
    return true;
  }
  if (name == "post") {
    cmd.kind = CommandKind::Post;
    if (!expectArgs(1, 2, "post MSG [WPARAM]")) return false;
    if (!ParseDecimal(t[1], cmd.number)) {
      problem = "post needs a decimal message number, not \"" + t[1].text + "\"";
      return false;
    }
    if (args == 2 && !ParseDecimal(t[2], cmd.wParam)) {
      problem = "post needs a decimal wParam, not \"" + t[2].text + "\"";
      return false;
    }
    return true;
  }
  if (name == "start" || name == "ornitap" || name == "hotkeys") {
    cmd.kind = name == "start" ? CommandKind::Start : name == "ornitap" ? CommandKind::Ornitap : CommandKind::HotKeys;
    if (args == 0) return true;
    problem = name + " takes no arguments";
    return false;
  }
  if (name == "tray") {
    cmd.kind = CommandKind::Tray;
    if (!expectArgs(1, 1, "tray about|next|settings|unload|none")) return false;
    const std::string v = Lower(t[1].text);
    const struct {
      const char* name;
      TrayItem item;
    } items[] = {{"about", TrayItem::About},
                 {"next", TrayItem::Next},
                 {"settings", TrayItem::Settings},
                 {"unload", TrayItem::Unload},
                 {"none", TrayItem::None}};
    for (const auto& i : items) {
      if (!t[1].quoted && v == i.name) {
        cmd.item = i.item;
        return true;
      }
    }
    problem = "tray needs about, next, settings, unload or none, not \"" + t[1].text + "\"";
    return false;
  }
  if (name == "answer") {
    cmd.kind = CommandKind::Answer;
    if (!expectArgs(1, 2, "answer ok|cancel|yes|no [MS]")) return false;
    const std::string v = Lower(t[1].text);
    const struct {
      const char* name;
      int button;
    } buttons[] = {{"ok", plat::kIdOk}, {"cancel", plat::kIdCancel}, {"yes", plat::kIdYes}, {"no", plat::kIdNo}};
    for (const auto& b : buttons) {
      if (!t[1].quoted && v == b.name) cmd.button = b.button;
    }
    if (cmd.button == 0) {
      problem = "answer needs ok, cancel, yes or no, not \"" + t[1].text + "\"";
      return false;
    }
    if (args == 2 && !ParseDecimal(t[2], cmd.number)) {
      problem = "answer needs a decimal count of milliseconds, not \"" + t[2].text + "\"";
      return false;
    }
    return true;
  }
  problem = "unknown command \"" + t[0].text + "\"";
  return false;
}

}  // namespace

bool ParseScript(const std::string& text, std::vector<Command>& commands, ScriptError& error) {
  commands.clear();
  int lineNumber = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    std::vector<Token> tokens;
    std::string problem;
    if (!Tokenize(line, tokens, problem)) {
      error = {lineNumber, problem};
      return false;
    }
    if (tokens.empty()) continue;
    Command cmd{};
    cmd.line = lineNumber;
    if (!ParseLine(tokens, cmd, problem)) {
      error = {lineNumber, problem};
      return false;
    }
    commands.push_back(std::move(cmd));
  }
  return true;
}

}  // namespace tarvin_sim
