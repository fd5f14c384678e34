// Any bytes as a configuration file. Parsing must not crash or overrun; what reads must write out
// and read back to the same file (no switch key lost on the way); and reading the file from the
// program folder always leaves a file there that reads.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "layoutfiles/config_file.h"
#include "layoutfiles/line_reader.h"
#include "tests/fuzz/fuzz_device.h"

namespace {

bool Terminated(const WChar* text) {
  for (size_t i = 0; i < kConfigTextLength; ++i) {
    if (text[i] == 0) return true;
  }
  return false;
}

void CheckFields(const MapperConfig& config) {
  for (const auto& slot : config.layoutFiles) {
    if (!Terminated(slot)) FuzzFailure("a layout slot beyond its bounds");
  }
  if (!Terminated(config.defaultHint)) FuzzFailure("the default hint beyond its bounds");
  if (config.keypressTimeout < kMinKeypressTimeout || config.keypressTimeout > kMaxKeypressTimeout) {
    FuzzFailure("keypressTimeout not clamped");
  }
}

std::vector<ScanWord> SetKeys(const MapperConfig& config) {
  std::vector<ScanWord> keys;
  for (ScanWord k : config.switchKeys) {
    if (k != 0) keys.push_back(k);
  }
  return keys;
}

std::string Format(const MapperConfig& config) {
  char text[kConfigTextBytes];
  size_t length = 0;
  if (!FormatConfigText(config, text, sizeof text, length)) FuzzFailure("the file does not fit its buffer");
  return std::string(text, length);
}

std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzDevice& fuzz = TheFuzzDevice();
  static std::vector<char> text(kTextBufferBytes);
  const size_t used = size < kMaxTextBytes ? size : kMaxTextBytes;
  std::memcpy(text.data(), data, used);
  std::memset(text.data() + used, 0, kTextBufferBytes - used);
  fuzz.device->ClearLog();

  MapperConfig config;
  SetConfigDefaults(config);
  if (ParseConfigText(text.data(), config)) {
    CheckFields(config);
    const std::string written = Format(config);
    std::string zeroTerminated = written;
    MapperConfig again;
    SetConfigDefaults(again);
    if (!ParseConfigText(zeroTerminated.c_str(), again)) FuzzFailure("the writer's file does not read");
    CheckFields(again);
    if (Format(again) != written) FuzzFailure("a written file reads back differently");
    if (SetKeys(again) != SetKeys(config)) FuzzFailure("a switch key lost in the file");
  }

  // The whole way through the program folder for some inputs; files are slow.
  if (size % 8 == 0) {
    const std::string cfg = fuzz.programFolder + "/Tarvin.cfg";
    {
      std::ofstream out(cfg, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    MapperConfig read;
    SetConfigDefaults(read);
    if (!ReadConfig(read)) FuzzFailure("ReadConfig failed in a writable folder");
    CheckFields(read);
    std::string now = ReadHostFile(cfg);
    MapperConfig check;
    SetConfigDefaults(check);
    if (!ParseConfigText(now.c_str(), check)) FuzzFailure("the file left behind does not read");
    if (std::filesystem::exists(fuzz.programFolder + "/Tarvin.cfg.tmp")) FuzzFailure("a temporary file stayed");
  }

  for (const sim::LogEntry& e : fuzz.device->Log()) {
    if (e.kind == sim::LogKind::MessageBox) FuzzFailure("the configuration showed a message");
  }
  return 0;
}
