// Text in the ANSI code page and UTF-16 over Win32.
#include "platform/win32/internal.h"

namespace win32 {

bool CopyOut(WChar* buffer, size_t capacity, const wchar_t* source) {
  if (capacity == 0) return false;
  size_t i = 0;
  for (; source[i] != 0 && i + 1 < capacity; ++i) buffer[i] = static_cast<WChar>(source[i]);
  buffer[i] = 0;
  return source[i] == 0;
}

}  // namespace win32

namespace plat {

using win32::W;

// Bytes the code page does not define come out as the platform's replacement character.
bool AnsiToWide(const char* source, WChar* buffer, size_t capacity) {
  if (capacity == 0) return false;
  buffer[0] = 0;
  if (source == nullptr) return false;
  // The length -1 converts the terminator too; a result that does not fit fails as a whole.
  if (::MultiByteToWideChar(CP_ACP, 0, source, -1, W(buffer), win32::IntCapacity(capacity)) == 0) {
    buffer[0] = 0;
    return false;
  }
  return true;
}

// Characters the code page lacks become its default character, never a look-alike: a character
// written out must read back as itself or visibly not at all. The size is asked first, so that a
// result that does not fit is refused whole rather than cut inside a multi-byte character.
bool WideToAnsi(const WChar* source, char* buffer, size_t capacity) {
  if (capacity == 0) return false;
  buffer[0] = 0;
  if (source == nullptr) return false;
  const int needed = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, W(source), -1, nullptr, 0, nullptr, nullptr);
  if (needed <= 0 || static_cast<size_t>(needed) > capacity) return false;
  if (::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, W(source), -1, buffer, needed, nullptr, nullptr) != needed) {
    buffer[0] = 0;
    return false;
  }
  return true;
}

}  // namespace plat
