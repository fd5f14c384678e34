// ANSI code page conversion as the simulated device does it, usable without a device: host tools
// read layout files with exactly the device's conversion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace sim {

using plat::WChar;

// One ANSI code page through iconv. Not for use by two threads at once.
class CodePageConverter {
 public:
  // Throws std::invalid_argument("unknown code page N") when iconv does not know "CPN".
  explicit CodePageConverter(uint32_t codePage);
  ~CodePageConverter();
  CodePageConverter(const CodePageConverter&) = delete;
  CodePageConverter& operator=(const CodePageConverter&) = delete;

  // Whether a converter for this code page can be made.
  static bool Known(uint32_t codePage);

  // A zero-terminated byte string into `buffer`; false, with an empty buffer, when the result and
  // its terminator do not fit. Bytes the code page does not define become U+FFFD.
  bool AnsiToWide(const char* source, WChar* buffer, size_t capacity);
  // The reverse; characters the code page lacks become '?', the platform's default character.
  bool WideToAnsi(const WChar* source, char* buffer, size_t capacity);

 private:
  void* toWide_;  // iconv descriptors
  void* toAnsi_;
};

// UTF-8 <-> UTF-16 for host code (paths, tools). Invalid input becomes U+FFFD.
std::string ToUtf8(const std::u16string& s);
std::u16string FromUtf8(const std::string& s);

}  // namespace sim
