// Text from layouts and windows as the host tools print it. A control character (C0, DEL, C1) in a
// layout name, a hint or a window's text would move the cursor, recolour or retitle the user's
// terminal, so each is printed as \u00NN; all other text, non-ASCII included, stays as it is.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tools_common {

inline void AppendControlEscape(std::string& out, unsigned code) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\u%04X", code);
  out += escape;
}

// `utf8` is UTF-8; a C1 character is the two bytes C2 80..C2 9F there.
inline std::string EscapeControls(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x20 || byte == 0x7F) {
      AppendControlEscape(out, byte);
    } else if (byte == 0xC2 && i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xE0) == 0x80) {
      AppendControlEscape(out, static_cast<unsigned char>(utf8[i + 1]));
      ++i;
    } else {
      out += utf8[i];
    }
  }
  return out;
}

}  // namespace tools_common
