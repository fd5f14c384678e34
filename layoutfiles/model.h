// The in-memory layout and configuration records. Plain fixed-size structures with no owned heap
// memory: each program allocates them once and refills them in place.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

using plat::WChar;

// Key word: low byte the virtual-key code, high byte the flags below.
using ScanWord = uint16_t;
constexpr ScanWord kFlagShift = 0x0100;  // in a Key line: the Shift/CapsLock combination
constexpr ScanWord kFlagCtrl = 0x0200;
constexpr ScanWord kFlagAlt = 0x0400;
constexpr ScanWord kFlagWin = 0x0800;
constexpr ScanWord kFlagMask = 0x0F00;

constexpr uint8_t KeyCode(ScanWord word) { return static_cast<uint8_t>(word & 0xFF); }

// The platform's hot key modifiers for the flag bits of a word.
constexpr uint32_t HotKeyModifiers(ScanWord word) {
  return ((word & kFlagShift) ? plat::kModShift : 0) | ((word & kFlagCtrl) ? plat::kModControl : 0) |
         ((word & kFlagAlt) ? plat::kModAlt : 0) | ((word & kFlagWin) ? plat::kModWin : 0);
}

// The word of a combination given as the platform's hot key modifiers and a key code.
constexpr ScanWord ScanWordOfHotKey(uint32_t modifiers, uint8_t keyCode) {
  return static_cast<ScanWord>(
      ((modifiers & plat::kModShift) ? kFlagShift : 0) | ((modifiers & plat::kModControl) ? kFlagCtrl : 0) |
      ((modifiers & plat::kModAlt) ? kFlagAlt : 0) | ((modifiers & plat::kModWin) ? kFlagWin : 0) | keyCode);
}

enum HardwareKind : uint16_t { Generic = 0, Wizard = 1, Hermes = 2 };

enum OutputKind : uint8_t { Char = 0, Keystroke = 1, Command = 2 };

// Output columns: the accent state, plus 4 in ICQ windows.
enum OutputColumn : int {
  ColNormal = 0,
  ColAccented = 1,
  ColAccented2 = 2,
  ColAccented3 = 3,
  ColIcqNormal = 4,
  ColIcqAccented = 5,
  ColIcqAccented2 = 6,
  ColIcqAccented3 = 7,
};

constexpr int kMaxKeys = 200;
constexpr int kMaxPressLevels = 6;
constexpr int kColumns = 8;
constexpr int kMaxExecs = 16;
constexpr int kKeySetWords = 4;
constexpr uint16_t kMaxExecId = 0x00FF;

struct KeySet {
  ScanWord words[kKeySetWords];
};

struct KeyDef {
  ScanWord scanWord;
  uint16_t pressLevels;
  uint8_t kinds[kMaxPressLevels][kColumns];
  uint16_t values[kMaxPressLevels][kColumns];
};

// `path` and `params` are offsets into `text`, so the record stays valid wherever it is copied.
constexpr uint16_t kNoParams = 0xFFFF;
constexpr size_t kExecTextLength = 256;

struct ExecDef {
  uint16_t id;
  uint16_t path;
  uint16_t params;  // kNoParams when the line has none
  WChar text[kExecTextLength];
};

const WChar* ExecPath(const ExecDef& exec);
const WChar* ExecParams(const ExecDef& exec);  // nullptr when there are none

constexpr size_t kFileNameLength = 63;
constexpr size_t kLayoutNameLength = 127;
constexpr size_t kHintLength = 63;

struct KeyLayout {
  WChar fileName[kFileNameLength];
  WChar name[kLayoutNameLength];
  WChar hint[kHintLength];
  uint16_t hardware;  // HardwareKind
  uint8_t internalShift;
  uint8_t internalCapsLock;
  uint8_t internalCtrl;
  uint8_t internalAlt;
  uint8_t internalWin;
  KeySet shiftKeys;
  KeySet capsLockKeys;
  KeySet winKeys;
  KeySet ctrlKeys;
  KeySet altKeys;
  KeySet accentKeys;
  KeySet accent2Keys;
  KeySet accent3Keys;
  uint16_t keypressTimeout;  // ms; 0 = the configuration's
  uint16_t keyCount;
  uint16_t execCount;
  KeyDef keys[kMaxKeys];
  ExecDef execs[kMaxExecs];
};

// The window within which presses of one key count as a double, triple ... press, in ms: the
// configuration's and a layout's own are held to the same range.
constexpr uint16_t kMinKeypressTimeout = 100;
constexpr uint16_t kMaxKeypressTimeout = 2000;
constexpr uint16_t ClampKeypressTimeout(uint16_t ms) {
  return ms < kMinKeypressTimeout ? kMinKeypressTimeout : (ms > kMaxKeypressTimeout ? kMaxKeypressTimeout : ms);
}

constexpr int kLayoutSlots = 4;
constexpr int kSwitchKeys = 4;
constexpr size_t kConfigTextLength = 127;

struct MapperConfig {
  ScanWord switchKeys[kSwitchKeys];
  WChar layoutFiles[kLayoutSlots][kConfigTextLength];
  uint16_t hintMode;  // 0 popup, otherwise tray icon
  uint16_t hintPos;   // low byte horizontal, high byte vertical: 0 near, 1 centre, 2 far
  uint16_t hintFontSize;
  uint16_t keypressTimeout;  // ms, 100..2000
  WChar defaultHint[kConfigTextLength];
};

// Special layout slot values, compared exactly.
extern const WChar kDefaultLayoutSlot[];  // "<Default layout>"
extern const WChar kUnassignedSlot[];     // "<Unassigned>"
extern const WChar kUnloadSlot[];         // "<Unload Typist>"

// Clears the record and makes it the built-in default layout: no keys, every key passes through.
void InitDefaultLayout(KeyLayout& layout);
void ClearLayout(KeyLayout& layout);

bool KeySetEmpty(const KeySet& set);
bool KeySetsEqual(const KeySet& a, const KeySet& b);

// Index of the last of the first keyCount KeyDefs with exactly this word, or -1.
int FindKeyIndex(const KeyLayout& layout, ScanWord word);
// Index of the last of the first execCount ExecDefs with this id, or -1.
int FindExecIndex(const KeyLayout& layout, uint16_t id);
