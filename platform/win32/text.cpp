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

namespace {

// Code pages converted by an algorithm rather than a table (UTF-8, GB 18030, the ISO-2022 and ISCII
// families) take no best-fit flag: Windows refuses the call. They have no best fit to avoid anyway.
bool TakesNoBestFitFlag(UINT codePage) {
  switch (codePage) {
    case 42:
    case 50220:
    case 50221:
    case 50222:
    case 50225:
    case 50227:
    case 50229:
    case 52936:
    case 54936:
    case 65000:
    case 65001: return true;
    default: return codePage >= 57002 && codePage <= 57011;
  }
}

int ToCodePage(UINT codePage, DWORD flags, const WChar* source, char* buffer, int capacity) {
  return ::WideCharToMultiByte(codePage, flags, W(source), -1, buffer, capacity, nullptr, nullptr);
}

}  // namespace

bool CodePageToWide(UINT codePage, const char* source, WChar* buffer, size_t capacity) {
  if (capacity == 0) return false;
  buffer[0] = 0;
  if (source == nullptr) return false;
  // The length -1 converts the terminator too; a result that does not fit fails as a whole.
  if (::MultiByteToWideChar(codePage, 0, source, -1, W(buffer), IntCapacity(capacity)) == 0) {
    buffer[0] = 0;
    return false;
  }
  return true;
}

bool WideToCodePage(UINT codePage, const WChar* source, char* buffer, size_t capacity) {
  if (capacity == 0) return false;
  buffer[0] = 0;
  if (source == nullptr) return false;
  // A code page missing from the list above is still caught by the refusal it answers with.
  DWORD flags = TakesNoBestFitFlag(codePage) ? 0 : WC_NO_BEST_FIT_CHARS;
  int needed = ToCodePage(codePage, flags, source, nullptr, 0);
  if (needed <= 0 && flags != 0 && ::GetLastError() == ERROR_INVALID_FLAGS) {
    flags = 0;
    needed = ToCodePage(codePage, flags, source, nullptr, 0);
  }
  if (needed <= 0 || static_cast<size_t>(needed) > capacity) return false;
  if (ToCodePage(codePage, flags, source, buffer, needed) != needed) {
    buffer[0] = 0;
    return false;
  }
  return true;
}

}  // namespace win32

namespace plat {

// Bytes the code page does not define come out as the platform's replacement character.
bool AnsiToWide(const char* source, WChar* buffer, size_t capacity) {
  return win32::CodePageToWide(CP_ACP, source, buffer, capacity);
}

// Characters the code page lacks become its default character, never a look-alike: a character
// written out must read back as itself or visibly not at all. The size is asked first, so that a
// result that does not fit is refused whole rather than cut inside a multi-byte character.
bool WideToAnsi(const WChar* source, char* buffer, size_t capacity) {
  return win32::WideToCodePage(::GetACP(), source, buffer, capacity);
}

}  // namespace plat
