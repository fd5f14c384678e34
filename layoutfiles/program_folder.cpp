#include "layoutfiles/program_folder.h"

#include "platform/wtext.h"

bool GetProgramFolder(WChar* buffer, size_t capacity) {
  if (capacity == 0) return false;
  if (!plat::GetProgramPath(buffer, capacity)) {
    buffer[0] = 0;
    return false;
  }
  size_t cut = 0;
  for (size_t i = 0; buffer[i] != 0; ++i) {
    if (buffer[i] == u'\\') cut = i + 1;
  }
  buffer[cut] = 0;
  return cut != 0;
}

bool ProgramFolderPath(const WChar* fileName, WChar* buffer, size_t capacity) {
  if (!GetProgramFolder(buffer, capacity)) return false;
  if (!wtext::Append(buffer, capacity, fileName)) {
    buffer[0] = 0;
    return false;
  }
  return true;
}
