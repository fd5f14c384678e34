// tarvin-check [--codepage CP] [--dump] FILE...
//
// Reads each layout file as the device would read it from its program folder: FILE's folder plays
// the program folder and its base name is the file name. Prints "<file>: ok: <layout name>" or the
// text of the message box the device would show. Exit status 0 when every file read, 1 when one
// did not, 2 for bad usage.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "layoutfiles/layout_reader.h"
#include "platform/sim/codepage.h"
#include "platform/sim/host_files.h"
#include "tools/common/code_page_option.h"
#include "tools/common/terminal_text.h"
#include "tools/tarvin-check/layout_dump.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage = "usage: tarvin-check [--codepage CP] [--dump] FILE...";

int Usage(const std::string& problem) {
  if (!problem.empty()) std::cerr << "tarvin-check: " << problem << "\n";
  std::cerr << kUsage << "\n";
  return 2;
}

using tools_common::ParseCodePage;

// The file's folder as the device's root, read by the device's file rules; the program folder is
// the root, so a layout file name is the whole device path after its backslash.
bool ReadFromFolder(void* context, const WChar* fileName, uint8_t* buffer, size_t capacity, size_t* bytesRead) {
  const std::string& folder = *static_cast<const std::string*>(context);
  return sim::ReadHostFile(sim::ResolveDevicePath(folder, u"\\" + std::u16string(fileName), false), buffer, capacity,
                           bytesRead);
}

bool Decode(void* context, const char* bytes, WChar* out, size_t capacity) {
  return static_cast<sim::CodePageConverter*>(context)->AnsiToWide(bytes, out, capacity);
}

bool CheckFile(const std::string& file, sim::CodePageConverter& codePage, bool dump) {
  const fs::path path(file);
  fs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code ec;
  const fs::path absolute = fs::absolute(folder, ec);
  std::string hostFolder = ec ? folder.string() : absolute.string();

  const std::u16string name = sim::FromUtf8(path.filename().string());
  auto layout = std::make_unique<KeyLayout>();
  auto error = std::make_unique<LayoutError>();
  if (ReadLayoutFileFrom(name.c_str(), LayoutFileSource{&ReadFromFolder, &hostFolder}, AnsiDecoder{&Decode, &codePage},
                         *layout, *error)) {
    std::cout << tools_common::EscapeControls(sim::ToUtf8(name))
              << ": ok: " << tools_common::EscapeControls(sim::ToUtf8(layout->name)) << "\n";
    if (dump) std::cout << DumpLayout(*layout);
    return true;
  }
  WChar shown[kLayoutErrorTextLength];
  FormatLayoutError(*error, shown, kLayoutErrorTextLength);
  std::cout << tools_common::EscapeControls(sim::ToUtf8(shown)) << "\n";
  return false;
}

}  // namespace
int main(int argc, char** argv) {
  uint32_t codePage = 1252;
  bool dump = false;
  std::vector<std::string> files;
  bool options = true;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && arg == "--dump") {
      dump = true;
    } else if (options && arg == "--codepage") {
      if (i + 1 >= argc) return Usage("--codepage needs a code page number");
      if (!ParseCodePage(argv[++i], codePage)) return Usage("not a code page number: " + std::string(argv[i]));
    } else if (options && arg.size() > 1 && arg[0] == '-') {
      return Usage("unknown option " + arg);
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) return Usage("");
  std::unique_ptr<sim::CodePageConverter> converter;
  try {
    converter = std::make_unique<sim::CodePageConverter>(codePage);
  } catch (const std::invalid_argument&) {
    return Usage("unknown code page " + std::to_string(codePage));
  }

  bool allRead = true;
  for (const std::string& file : files) {
    if (!CheckFile(file, *converter, dump)) allRead = false;
  }
  std::cout.flush();
  return allRead ? 0 : 1;
}
