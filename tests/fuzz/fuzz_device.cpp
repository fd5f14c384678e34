#include "tests/fuzz/fuzz_device.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

FuzzDevice& TheFuzzDevice() {
  // Never destroyed: the exit handler below still needs it.
  static FuzzDevice* fuzz = [] {
    auto* f = new FuzzDevice;
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvin-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) FuzzFailure("mkdtemp failed");
    f->hostFolder = pattern;
    f->programFolder = pattern + "/Program Files/Tarvin";
    std::filesystem::create_directories(f->programFolder);
    sim::SimOptions options;
    options.hostFolder = f->hostFolder;
    options.driverPath = u"\\Program Files\\Tarvin\\Tarvin.exe";
    if (const char* cp = std::getenv("TARVIN_FUZZ_CODEPAGE")) options.codePage = static_cast<uint32_t>(std::atoi(cp));
    f->device = new sim::SimDevice(options);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(TheFuzzDevice().hostFolder, ec);
    });
    return f;
  }();
  return *fuzz;
}

void FuzzFailure(const std::string& what) {
  std::fprintf(stderr, "property broken: %s\n", what.c_str());
  std::abort();
}
