// Any bytes as a layout file: the reader must not crash or overrun, must hand back a message (and
// show none itself) exactly when it refuses the text, and what it accepts must keep every rule of
// an accepted layout.
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

// The line numbers a message may name: 1 to one past the last LF of the text.
int LastLine(const char* text) {
  int line = 1;
  for (; *text != 0; ++text) {
    if (*text == '\n') ++line;
  }
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzDevice& fuzz = TheFuzzDevice();
  static auto layout = std::make_unique<KeyLayout>();
  static std::vector<char> text(kTextBufferBytes);

  // The text as the file reader hands it on: at most the buffer's worth, then zeros. A longer file
  // it refuses whole; here the text reader still gets the first part of such an input.
  const size_t used = size < kMaxTextBytes ? size : kMaxTextBytes;
  std::memcpy(text.data(), data, used);
  std::memset(text.data() + used, 0, kTextBufferBytes - used);

  fuzz.device->ClearLog();
  std::memset(layout.get(), 0xA5, sizeof(KeyLayout));  // the reader must clear what it fills
  static LayoutError error;
  std::memset(&error, 0xA5, sizeof error);
  const bool ok = ReadLayoutText(u"Fuzz.TVL", text.data(), *layout, error);

  for (const sim::LogEntry& e : fuzz.device->Log()) {
    if (e.kind == sim::LogKind::MessageBox) FuzzFailure("the reader showed a message itself");
  }
  if (ok && error.box != NoLayoutError) FuzzFailure("a message for an accepted layout");
  if (!ok && error.box != ReaderErrorBox) FuzzFailure("no line message for a refused layout");
  if (!Terminated(error.fileName, kLayoutErrorNameLength) || !Terminated(error.text, kLayoutErrorTextLength)) {
    FuzzFailure("a message field beyond its bounds");
  }
  if (!ok) {
    WChar shown[kLayoutErrorTextLength];
    if (!FormatLayoutError(error, shown, kLayoutErrorTextLength) || error.text[0] == 0) {
      FuzzFailure("a message cut or empty");
    }
    if (error.lineNumber < 1 || error.lineNumber > LastLine(text.data())) FuzzFailure("a line beyond the text");
  }
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
