#include "tools/tarvin-check/layout_dump.h"

#include <cstdio>

#include "platform/sim/codepage.h"
#include "tools/common/terminal_text.h"

namespace {

std::string Hex(uint16_t word) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(word));
  return text;
}

std::string Utf8(const WChar* text, size_t capacity) {
  size_t n = 0;
  while (n < capacity && text[n] != 0) ++n;
  return sim::ToUtf8(std::u16string(text, n));
}

// Layout text as printed, with its control characters escaped for the terminal.
std::string Shown(const WChar* text, size_t capacity) { return tools_common::EscapeControls(Utf8(text, capacity)); }

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return tools_common::EscapeControls(out) + "\"";
}

std::string KeySetLine(const char* label, const KeySet& set) {
  std::string line = label;
  line += ":";
  for (ScanWord word : set.words) line += " " + Hex(word);
  return line + "\n";
}

char KindPrefix(uint8_t kind) {
  switch (kind) {
    case Char: return 'c';
    case Keystroke: return 'k';
    case Command: return 'e';
    default: return '?';
  }
}

}  // namespace

std::string DumpLayout(const KeyLayout& layout) {
  std::string out;
  out += "name: " + Shown(layout.name, kLayoutNameLength) + "\n";
  out += "hint: " + Shown(layout.hint, kHintLength) + "\n";
  out += "hardware: " + std::to_string(layout.hardware) + "\n";
  out += "internal: shift=" + std::to_string(layout.internalShift) +
         " capslock=" + std::to_string(layout.internalCapsLock) + " ctrl=" + std::to_string(layout.internalCtrl) +
         " alt=" + std::to_string(layout.internalAlt) + " win=" + std::to_string(layout.internalWin) + "\n";
  out += KeySetLine("shiftKeys", layout.shiftKeys);
  out += KeySetLine("capsLockKeys", layout.capsLockKeys);
  out += KeySetLine("winKeys", layout.winKeys);
  out += KeySetLine("ctrlKeys", layout.ctrlKeys);
  out += KeySetLine("altKeys", layout.altKeys);
  out += KeySetLine("accentKeys", layout.accentKeys);
  out += KeySetLine("accent2Keys", layout.accent2Keys);
  out += KeySetLine("accent3Keys", layout.accent3Keys);
  out += "keypressTimeout: " + Hex(layout.keypressTimeout) + "\n";
  for (int k = 0; k < layout.keyCount && k < kMaxKeys; ++k) {
    const KeyDef& key = layout.keys[k];
    out += "key " + Hex(key.scanWord) + " levels " + std::to_string(key.pressLevels) + "\n";
    for (int level = 0; level < key.pressLevels && level < kMaxPressLevels; ++level) {
      out += "  " + std::to_string(level) + ":";
      for (int column = 0; column < kColumns; ++column) {
        out += ' ';
        out += KindPrefix(key.kinds[level][column]);
        out += Hex(key.values[level][column]);
      }
      out += "\n";
    }
  }
  for (int e = 0; e < layout.execCount && e < kMaxExecs; ++e) {
    const ExecDef& exec = layout.execs[e];
    out += "exec " + Hex(exec.id) + " path " + Quoted(Utf8(ExecPath(exec), kExecTextLength - exec.path));
    const WChar* params = exec.params < kExecTextLength ? ExecParams(exec) : nullptr;
    out += params != nullptr ? " params " + Quoted(Utf8(params, kExecTextLength - exec.params)) : " params none";
    out += "\n";
  }
  return out;
}
