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

#include "layoutfiles/layout_error_box.h"
#include "layoutfiles/layout_reader.h"
#include "platform/sim/device.h"
#include "tools/tarvin-check/layout_dump.h"
#include "tools/common/code_page_option.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage = "usage: tarvin-check [--codepage CP] [--dump] FILE...";

int Usage(const std::string& problem) {
  if (!problem.empty()) std::cerr << "tarvin-check: " << problem << "\n";
  std::cerr << kUsage << "\n";
  return 2;
}

using tools_common::ParseCodePage;

bool CodePageKnown(uint32_t codePage) {
  try {
    sim::SimOptions options;
    options.hostFolder = ".";
    options.codePage = codePage;
    sim::SimDevice probe(options);
    return true;
  } catch (const std::invalid_argument&) {
    return false;
  }
}

// One file on a device of its own, whose program folder is the file's folder.
bool CheckFile(const std::string& file, uint32_t codePage, bool dump) {
  const fs::path path(file);
  fs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code ec;
  const fs::path absolute = fs::absolute(folder, ec);

  sim::SimOptions options;
  options.hostFolder = ec ? folder.string() : absolute.string();
  options.codePage = codePage;
  options.driverPath = u"\\Tarvin.exe";
  sim::SimDevice device(options);

  const std::u16string name = sim::FromUtf8(path.filename().string());
  auto layout = std::make_unique<KeyLayout>();
  LayoutError error;
  if (ReadLayoutFile(name.c_str(), *layout, error)) {
    std::cout << sim::ToUtf8(name) << ": ok: " << sim::ToUtf8(layout->name) << "\n";
    if (dump) std::cout << DumpLayout(*layout);
    return true;
  }
  ShowLayoutError(error);
  std::string shown;
  for (const sim::LogEntry& entry : device.Log()) {
    if (entry.kind == sim::LogKind::MessageBox) shown = sim::ToUtf8(device.LogText2(entry));
  }
  std::cout << (shown.empty() ? sim::ToUtf8(name) + ": not read" : shown) << "\n";
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
  if (!CodePageKnown(codePage)) return Usage("unknown code page " + std::to_string(codePage));

  bool allRead = true;
  for (const std::string& file : files) {
    if (!CheckFile(file, codePage, dump)) allRead = false;
  }
  std::cout.flush();
  return allRead ? 0 : 1;
}
