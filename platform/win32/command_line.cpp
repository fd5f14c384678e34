#include "platform/win32/command_line.h"

#include "platform/wtext.h"

namespace win32 {

bool BuildCommandLine(const plat::WChar* path, const plat::WChar* params, plat::WChar* buffer, size_t capacity) {
  if (capacity == 0) return false;
  buffer[0] = 0;
  // A quote inside the path would end the quoted name early and pass the rest as parameters.
  if (path == nullptr || path[0] == 0) return false;
  for (const plat::WChar* p = path; *p != 0; ++p) {
    if (*p == u'"') return false;
  }
  bool fits = wtext::Copy(buffer, capacity, u"\"") && wtext::Append(buffer, capacity, path) &&
              wtext::Append(buffer, capacity, u"\"");
  if (fits && params != nullptr && params[0] != 0) {
    fits = wtext::Append(buffer, capacity, u" ") && wtext::Append(buffer, capacity, params);
  }
  if (!fits) buffer[0] = 0;
  return fits;
}

}  // namespace win32
