#include "tests/unit/engine/engine_harness.h"

#include <cstdio>
#include <cstring>

#include "engine/hotkeys.h"
#include "engine/main_window.h"
#include "layoutfiles/key_roles.h"
#include "platform/wtext.h"

namespace testing_support {

void AddKey(KeyLayout& layout, ScanWord word, std::initializer_list<std::vector<Code>> levels) {
  int index = FindKeyIndex(layout, word);
  if (index < 0) {
    index = layout.keyCount++;
    std::memset(&layout.keys[index], 0, sizeof(KeyDef));
    layout.keys[index].scanWord = word;
  }
  KeyDef& key = layout.keys[index];
  for (const auto& codes : levels) {
    const int level = key.pressLevels++;
    for (int column = 0; column < kColumns; ++column) {
      const Code& code = codes.size() == 1   ? codes[0]
                         : codes.size() == 2 ? codes[column < ColIcqNormal ? 0 : 1]
                                             : codes.at(column);
      key.kinds[level][column] = code.kind;
      key.values[level][column] = code.value;
    }
  }
}

void SetKeySet(KeySet& set, std::initializer_list<ScanWord> words) {
  set = KeySet{};
  int i = 0;
  for (ScanWord w : words) set.words[i++] = w;
}

void AddExec(KeyLayout& layout, uint16_t id, const std::u16string& path, const std::u16string& params) {
  ExecDef& exec = layout.execs[layout.execCount++];
  std::memset(&exec, 0, sizeof exec);
  exec.id = id;
  std::u16string text = path + u'\0' + params;
  wtext::CopyN(exec.text, kExecTextLength, text.c_str(), path.size());
  exec.path = 0;
  if (params.empty()) {
    exec.params = kNoParams;
  } else {
    exec.params = static_cast<uint16_t>(path.size() + 1);
    wtext::Copy(exec.text + exec.params, kExecTextLength - exec.params, params.c_str());
  }
}

void FinishLayout(KeyLayout& layout) {
  SetInternalFlags(layout);
  if (layout.name[0] == 0) wtext::Copy(layout.name, kLayoutNameLength, u"Test");
  if (layout.hint[0] == 0) wtext::Copy(layout.hint, kHintLength, u"TS");
}

void DefaultConfig(MapperConfig& config) {
  std::memset(&config, 0, sizeof config);
  wtext::Copy(config.layoutFiles[0], kConfigTextLength, kDefaultLayoutSlot);
  for (int i = 1; i < kLayoutSlots; ++i) wtext::Copy(config.layoutFiles[i], kConfigTextLength, kUnassignedSlot);
  config.hintPos = 0x0202;
  config.hintFontSize = 15;
  config.keypressTimeout = 600;
  wtext::Copy(config.defaultHint, kConfigTextLength, u"English");
}

EngineHarness::EngineHarness(uint32_t startTick)
    : EngineHarness([startTick](sim::SimOptions& options) { options.startTick = startTick; }) {}

EngineHarness::EngineHarness(const std::function<void(sim::SimOptions&)>& adjust)
    : layout_(std::make_unique<KeyLayout>()), config_(std::make_unique<MapperConfig>()) {
  sim::SimOptions options;
  options.hostFolder = folder_.path();
  adjust(options);
  device_ = std::make_unique<sim::SimDevice>(options);
  std::memset(layout_.get(), 0, sizeof(KeyLayout));
  DefaultConfig(*config_);
  InitEngineState(engine_, config_.get(), layout_.get());
}

EngineHarness::~EngineHarness() { device_.reset(); }

void EngineHarness::Start() {
  FinishLayout(*layout_);
  device_->InstallProgram(u"\\Program Files\\Tarvin\\Tarvin.exe", [this] {
    RegisterEngineClass();
    CreateEngineWindow(engine_);
    RegisterAllHotKeys(engine_);
    return RunEngineLoop(engine_);
  });
  device_->Start(u"\\Program Files\\Tarvin\\Tarvin.exe");
  device_->RunFor(0);
  device_->ClearLog();
}

std::vector<std::string> EngineHarness::Transitions() const {
  std::vector<std::string> out;
  for (const auto& e : device_->Log()) {
    if (e.kind != sim::LogKind::KeyDown && e.kind != sim::LogKind::KeyUp) continue;
    char buf[8];
    std::snprintf(buf, sizeof buf, "%c%02X", e.kind == sim::LogKind::KeyDown ? '+' : '-', e.a);
    out.push_back(buf);
  }
  return out;
}

int EngineHarness::HotKeyCount() const { return static_cast<int>(device_->HotKeys().size()); }

}  // namespace testing_support
