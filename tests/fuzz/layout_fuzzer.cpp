// Any bytes as a layout file: the reader must not crash or overrun, must show exactly one message
// when it refuses the text, and what it accepts must keep every rule of an accepted layout.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "layoutfiles/layout_reader.h"
#include "layoutfiles/line_reader.h"
#include "tests/fuzz/fuzz_device.h"
#include "tests/unit/layoutfiles/layout_invariants.h"

namespace {

bool Terminated(const WChar* text, size_t capacity) {
  for (size_t i = 0; i < capacity; ++i) {
    if (text[i] == 0) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzDevice& fuzz = TheFuzzDevice();
  static auto layout = std::make_unique<KeyLayout>();
  static std::vector<char> text(kTextBufferBytes);

  // As the file reader does: at most the buffer's worth, then zeros.
  const size_t used = size < kMaxTextBytes ? size : kMaxTextBytes;
  std::memcpy(text.data(), data, used);
  std::memset(text.data() + used, 0, kTextBufferBytes - used);

  fuzz.device->ClearLog();
  std::memset(layout.get(), 0xA5, sizeof(KeyLayout));  // the reader must clear what it fills
  const bool ok = ReadLayoutText(u"Fuzz.TVL", text.data(), *layout);

  size_t boxes = 0;
  for (const sim::LogEntry& e : fuzz.device->Log()) {
    if (e.kind == sim::LogKind::MessageBox) ++boxes;
  }
  if (boxes != (ok ? 0u : 1u)) FuzzFailure(ok ? "a message for an accepted layout" : "not exactly one message");
  if (!Terminated(layout->name, kLayoutNameLength) || !Terminated(layout->hint, kHintLength) ||
      !Terminated(layout->fileName, kFileNameLength) || layout->keyCount > kMaxKeys || layout->execCount > kMaxExecs) {
    FuzzFailure("a field beyond its bounds");
  }
  if (ok) {
    const std::string broken = BrokenLayoutInvariant(*layout);
    if (!broken.empty()) FuzzFailure(broken);
  }
  return 0;
}
