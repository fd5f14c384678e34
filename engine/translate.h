// Key translation: the core that turns hot key notifications into characters, keystrokes,
// commands and layout switches. It calls no platform function: what it needs to know of the device
// (the tick, Caps Lock, whether the foreground window is an ICQ window) it asks through KeyInputs,
// and every effect goes out through KeyOutputs, so it runs the same on a device and in a table test.
#pragma once

#include <cstdint>

#include "layoutfiles/model.h"

// One queued press.
struct KeyEvent {
  uint16_t hotKeyId;    // in the layout active now; slot kPassOnSlot when that layout does not catch it
  uint16_t pressIndex;  // further presses merged into it; the press level it is translated with
  uint32_t tick;        // tick count at the last press merged into it
  ScanWord word;        // the key combination pressed, which means the same in every layout
};

// An unused slot: a press that the layout active now does not catch goes back out unchanged.
constexpr uint8_t kPassOnSlot = 0xFF;

constexpr int kKeyQueueCapacity = 126;

struct TranslatorState {
  uint8_t shiftOn;
  uint8_t capsLockOn;
  uint8_t ctrlOn;
  uint8_t altOn;
  uint8_t winOn;
  int accentState;  // 0 none, 1..3: the output column before the ICQ offset
  KeyEvent queue[kKeyQueueCapacity];
  uint16_t queueCount;
  uint16_t currentId;
  uint16_t currentPressIndex;
  uint8_t draining;
  uint16_t heldId;    // the press kept back by the hold rule
  int holdCountdown;  // -1: nothing held
  ScanWord heldWord;  // the combination of the held press
  // Counts the layouts activated. A HotKeyId is an index into the tables of the layout that
  // registered it, so a press that arrived under another layout is looked up again by its word.
  uint16_t layoutGeneration;
  uint16_t heldGeneration;
  uint8_t unloading;  // after the unload: the key table's presses come to nothing
};

// What the core asks of the device, each when it needs it.
struct KeyInputs {
  uint32_t (*tick)(void* context);  // milliseconds, compared modulo 2^32
  bool (*capsLockOn)(void* context);
  bool (*foregroundIsIcq)(void* context);
};

// Every effect of a translation.
struct KeyOutputs {
  void (*typeCharacter)(void* context, WChar value);
  void (*sendKeystroke)(void* context, ScanWord word);
  void (*runProgram)(void* context, uint16_t execId);  // the layout's Exec line with this id
  void (*postAction)(void* context, uint16_t action);  // an action number for the button program
  void (*switchLayout)(void* context);                 // drops the queue: the presses belong to the old layout
  void (*unload)(void* context);
  void (*showPreview)(void* context, WChar value);  // the character a multi-press key would type now
};

// What one call of the core works on.
struct Translator {
  TranslatorState* state;
  const KeyLayout* layout;
  const MapperConfig* config;
  const KeyInputs* inputs;
  const KeyOutputs* outputs;
  void* context;  // handed to every input and output
};

struct KeyDefMatch {
  ScanWord word;  // the effective ScanWord looked up
  int index;      // index into the layout's keys, or -1
};

// Everything zero, nothing held.
void InitTranslatorState(TranslatorState& t);

// A hot key notification: earlier presses that are ready are translated, then the hold rule, then
// the press is queued.
void OnHotKey(const Translator& tr, uint16_t id);
// The same with the combination the notification says was pressed (0: not said). A notification
// that was already on its way when the layout changed names a combination the id no longer
// stands for: it is the same combination in the layout active now.
void OnHotKey(const Translator& tr, uint16_t id, ScanWord pressed);
// The hold slot's tick duty.
void AdvanceHoldSlot(const Translator& tr);
void EnqueueKeyEvent(const Translator& tr, uint16_t id);
// A press with its key combination, which arrived while layout `generation` was active.
void EnqueuePress(const Translator& tr, uint16_t id, ScanWord word, uint16_t generation);
bool TakeReadyEvent(const Translator& tr, KeyEvent* event);
// Translates every ready press, first in first out; a call from inside a translation (a nested
// loop of an output) returns at once.
void DrainKeyEvents(const Translator& tr);
bool TranslateNextEvent(const Translator& tr);
KeyDefMatch FindKeyDef(const Translator& tr, uint16_t id);
void ClearOneShotStates(TranslatorState& t);
// All five modifier states off and no accent: a layout switch or a configuration reload.
void ResetModifierStates(TranslatorState& t);
// Before another layout replaces the active one: the queue and the states start afresh, and
// presses that arrived under the old layout (the held one, one arriving while the switch runs)
// are looked up again by their key combination.
void BeginNewLayout(TranslatorState& t);
// The multi-press window in force now: the layout's own, else the configuration's.
uint32_t MultiPressTimeout(const KeyLayout& layout, const MapperConfig& config);
