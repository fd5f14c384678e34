#include "layoutfiles/config_file.h"

#include <cstdlib>
#include <cstring>

#include "layoutfiles/line_reader.h"
#include "layoutfiles/program_folder.h"
#include "platform/wtext.h"

const WChar kConfigFileName[] = u"Tarvin.cfg";
const WChar kConfigTempFileName[] = u"Tarvin.cfg.tmp";

uint16_t DefaultHintFontSize() {
  int dpi = plat::GetScreenDpiY();
  if (dpi < 0) dpi = 0;
  uint32_t pixels = static_cast<uint32_t>(dpi * (1.0 / 9.0) + 0.5);
  plat::GetSystemFontPixels(&pixels);
  return pixels > 0xFFFF ? 0xFFFF : static_cast<uint16_t>(pixels);
}

void SetConfigDefaults(MapperConfig& config) {
  std::memset(&config, 0, sizeof config);
  wtext::Copy(config.defaultHint, kConfigTextLength, u"English");
  wtext::Copy(config.layoutFiles[0], kConfigTextLength, kDefaultLayoutSlot);
  for (int slot = 1; slot < kLayoutSlots; ++slot) {
    wtext::Copy(config.layoutFiles[slot], kConfigTextLength, kUnassignedSlot);
  }
  config.keypressTimeout = 600;
  config.hintPos = 0x0202;
  config.hintFontSize = DefaultHintFontSize();
}

bool ReadConfig(MapperConfig& config) {
  // Without memory the file is not read, and certainly not replaced by defaults.
  char* buffer = static_cast<char*>(std::malloc(kTextBufferBytes));
  if (buffer == nullptr) return false;
  WChar path[kMaxPathLength];
  size_t bytesRead = 0;
  plat::FileReadResult result = plat::FileReadResult::Unreadable;
  if (ProgramFolderPath(kConfigFileName, path, kMaxPathLength)) {
    result = plat::TryReadFileBytes(path, reinterpret_cast<uint8_t*>(buffer), kMaxTextBytes, &bytesRead);
  }
  bool parsed = false;
  if (result == plat::FileReadResult::Read) {
    if (bytesRead > kMaxTextBytes) bytesRead = kMaxTextBytes;
    std::memset(buffer + bytesRead, 0, kTextBufferBytes - bytesRead);
    parsed = ParseConfigText(buffer, config);
  }
  std::free(buffer);
  if (parsed) return true;
  // A file that is there but cannot be read (denied, held open by another program) still holds
  // the user's settings: it is not replaced, and the record keeps what it has.
  if (result == plat::FileReadResult::Unreadable) return false;
  SetConfigDefaults(config);
  return WriteConfig(config);
}

bool WriteConfig(MapperConfig& config) {
  char text[kConfigTextBytes];
  size_t length = 0;
  WChar path[kMaxPathLength];
  WChar tempPath[kMaxPathLength];
  if (!FormatConfigText(config, text, sizeof text, length) ||
      !ProgramFolderPath(kConfigFileName, path, kMaxPathLength) ||
      !ProgramFolderPath(kConfigTempFileName, tempPath, kMaxPathLength)) {
    return false;
  }
  if (!plat::WriteFileBytes(tempPath, reinterpret_cast<const uint8_t*>(text), length) ||
      !plat::MoveFileOver(tempPath, path)) {
    plat::RemoveFile(tempPath);
    return false;
  }
  config.keypressTimeout = ClampKeypressTimeout(config.keypressTimeout);
  return true;
}
