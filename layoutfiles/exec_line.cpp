#include "layoutfiles/exec_line.h"

#include "layoutfiles/line_reader.h"
#include "layoutfiles/text_cut.h"
#include "layoutfiles/value_reader.h"
#include "platform/wtext.h"

bool ReadExecLine(KeyLayout& layout, const WChar* value, ReaderMessage& message) {
  message[0] = 0;
  if (layout.execCount >= kMaxExecs) {
    wtext::Copy(message, kReaderMessageLength, u"Too many Exec's defined");
    return false;
  }
  const WChar* rest = value;
  uint16_t id;
  if (!ReadHexWord(rest, id)) {
    wtext::Copy(message, kReaderMessageLength, u"Invalid Exec ID parameter");
    return false;
  }
  if (id > kMaxExecId) {
    wtext::Copy(message, kReaderMessageLength, u"Exec ID parameter should be in range 0000 .. 00FF ");
    return false;
  }

  ExecDef exec = {};
  exec.id = id;
  exec.params = kNoParams;
  // A line's value always fits; should it not, the text is cut whole rather than overrun.
  CopyWholeCharacters(exec.text, kExecTextLength, rest);
  WChar* text = exec.text;

  size_t end;  // where the path ends
  if (text[0] == u'"') {
    exec.path = 1;
    end = 1;
    while (text[end] != 0 && text[end] != u'"') ++end;
    if (text[end] == 0) {
      wtext::Copy(message, kReaderMessageLength, u"Closing qote missed");
      return false;
    }
  } else {
    exec.path = 0;
    end = 0;
    while (text[end] != 0 && !IsBlank(text[end])) ++end;
  }
  if (text[end] != 0) {
    text[end] = 0;
    size_t params = end + 1;
    while (IsBlank(text[params])) ++params;
    if (text[params] != 0) {
      size_t last = wtext::Length(text + params) + params;
      while (last > params && IsBlank(text[last - 1])) --last;
      text[last] = 0;
      exec.params = static_cast<uint16_t>(params);
    }
  }

  layout.execs[layout.execCount] = exec;
  ++layout.execCount;
  return true;
}
