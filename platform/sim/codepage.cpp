// ANSI code page conversion through iconv, and UTF-8 for host code.
#include "platform/sim/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace sim {

namespace {

constexpr WChar kReplacement = 0xFFFD;
const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);

}  // namespace

CodePageConverter::CodePageConverter(uint32_t codePage) {
  const std::string cp = "CP" + std::to_string(codePage);
  iconv_t toWide = iconv_open("UTF-16LE", cp.c_str());
  iconv_t toAnsi = iconv_open(cp.c_str(), "UTF-16LE");
  if (toWide == kNoDescriptor || toAnsi == kNoDescriptor) {
    if (toWide != kNoDescriptor) iconv_close(toWide);
    if (toAnsi != kNoDescriptor) iconv_close(toAnsi);
    throw std::invalid_argument("unknown code page " + std::to_string(codePage));
  }
  toWide_ = toWide;
  toAnsi_ = toAnsi;
}

CodePageConverter::~CodePageConverter() {
  iconv_close(static_cast<iconv_t>(toWide_));
  iconv_close(static_cast<iconv_t>(toAnsi_));
}

bool CodePageConverter::Known(uint32_t codePage) {
  try {
    CodePageConverter probe(codePage);
    return true;
  } catch (const std::invalid_argument&) {
    return false;
  }
}

// Bytes the code page does not define become U+FFFD, so a damaged file still reads.
bool CodePageConverter::AnsiToWide(const char* source, WChar* buffer, size_t capacity) {
  if (capacity == 0) return false;
  iconv_t cd = static_cast<iconv_t>(toWide_);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(source);
  size_t inLeft = std::strlen(source);
  char* out = reinterpret_cast<char*>(buffer);
  size_t outLeft = (capacity - 1) * sizeof(WChar);
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) break;
    if (errno == E2BIG || outLeft < sizeof(WChar)) {
      buffer[0] = 0;
      return false;
    }
    // EILSEQ or EINVAL: one byte that does not convert
    std::memcpy(out, &kReplacement, sizeof(WChar));
    out += sizeof(WChar);
    outLeft -= sizeof(WChar);
    ++in;
    --inLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  *reinterpret_cast<WChar*>(out) = 0;
  return true;
}

// Characters the code page lacks become '?', as the platform's default character.
bool CodePageConverter::WideToAnsi(const WChar* source, char* buffer, size_t capacity) {
  if (capacity == 0) return false;
  iconv_t cd = static_cast<iconv_t>(toAnsi_);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  size_t units = 0;
  while (source[units] != 0) ++units;
  char* in = reinterpret_cast<char*>(const_cast<WChar*>(source));
  size_t inLeft = units * sizeof(WChar);
  char* out = buffer;
  size_t outLeft = capacity - 1;
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) break;
    if (errno == E2BIG || outLeft == 0) {
      buffer[0] = 0;
      return false;
    }
    WChar c;
    std::memcpy(&c, in, sizeof c);
    size_t skip = sizeof(WChar);
    if (c >= 0xD800 && c <= 0xDBFF && inLeft >= 2 * sizeof(WChar)) skip *= 2;  // a whole pair
    *out++ = '?';
    --outLeft;
    in += skip;
    inLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  // flush the shift state of stateful code pages
  if (iconv(cd, nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1)) {
    buffer[0] = 0;
    return false;
  }
  *out = 0;
  return true;
}

std::string ToUtf8(const std::u16string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string FromUtf8(const std::string& s) {
  std::u16string out;
  size_t i = 0;
  while (i < s.size()) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    uint32_t c;
    size_t n;
    if (b < 0x80) {
      c = b;
      n = 1;
    } else if ((b & 0xE0) == 0xC0) {
      c = b & 0x1F;
      n = 2;
    } else if ((b & 0xF0) == 0xE0) {
      c = b & 0x0F;
      n = 3;
    } else if ((b & 0xF8) == 0xF0) {
      c = b & 0x07;
      n = 4;
    } else {
      out += static_cast<char16_t>(0xFFFD);
      ++i;
      continue;
    }
    bool ok = i + n <= s.size();
    for (size_t k = 1; ok && k < n; ++k) {
      unsigned char cb = static_cast<unsigned char>(s[i + k]);
      if ((cb & 0xC0) != 0x80) ok = false;
      c = (c << 6) | (cb & 0x3F);
    }
    static constexpr uint32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (!ok || c < kMin[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out += static_cast<char16_t>(0xFFFD);
      ++i;
      continue;
    }
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
    i += n;
  }
  return out;
}

}  // namespace sim
