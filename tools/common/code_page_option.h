// The --codepage option of the host tools: a code page number, as the device's settings hold it.
#pragma once

#include <cstdint>
#include <string>

namespace tools_common {

// A decimal number of at most five digits, not 0.
inline bool ParseCodePage(const std::string& text, uint32_t& codePage) {
  if (text.empty() || text.size() > 5) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  codePage = static_cast<uint32_t>(std::stoul(text));
  return codePage != 0;
}

}  // namespace tools_common
