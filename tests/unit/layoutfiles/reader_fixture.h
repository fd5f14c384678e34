// A simulated device whose program runs from "\Program Files\Tarvin\", where layouts and the
// configuration file live, with helpers to place files there and to read the message boxes shown.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "layoutfiles/model.h"
#include "platform/sim/device.h"
#include "tests/unit/support/temp_folder.h"

struct ShownBox {
  std::string title;
  std::string text;
  uint32_t flags;
};

inline sim::SimOptions ProgramFolderOptions(const std::string& hostFolder, uint32_t codePage = 1252) {
  sim::SimOptions options;
  options.hostFolder = hostFolder;
  options.codePage = codePage;
  options.driverPath = u"\\Program Files\\Tarvin\\Tarvin.exe";
  return options;
}

class DeviceTest : public ::testing::Test {
 protected:
  // The program runs from its folder, so the folder exists.
  explicit DeviceTest(uint32_t codePage = 1252) : device(ProgramFolderOptions(folder.path(), codePage)) {
    std::filesystem::create_directories(folder.path() + "/Program Files/Tarvin");
  }

  // Writes a file of the program folder.
  void Put(const std::string& name, const std::string& bytes) { folder.Write("Program Files/Tarvin/" + name, bytes); }
  std::string Get(const std::string& name) const { return folder.Read("Program Files/Tarvin/" + name); }
  bool Has(const std::string& name) const { return folder.Exists("Program Files/Tarvin/" + name); }

  std::vector<ShownBox> Boxes() const {
    std::vector<ShownBox> boxes;
    for (const sim::LogEntry& e : device.Log()) {
      if (e.kind == sim::LogKind::MessageBox) {
        boxes.push_back({sim::ToUtf8(device.LogText1(e)), sim::ToUtf8(device.LogText2(e)), e.a});
      }
    }
    return boxes;
  }

  testing_support::TempFolder folder;
  sim::SimDevice device;
  std::unique_ptr<KeyLayout> layout = std::make_unique<KeyLayout>();
};

inline std::string Utf8(const WChar* text) { return sim::ToUtf8(text); }
