// The translation core alone, with no device: a table of (layout, notifications and ticks at given
// times) -> the effects it sends out, as one line.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/translate.h"
#include "layoutfiles/hotkey_ids.h"
#include "layoutfiles/key_roles.h"
#include "tests/unit/engine/engine_harness.h"

using testing_support::AddKey;
using testing_support::C;
using testing_support::Code;
using testing_support::E;
using testing_support::K;
using testing_support::SetKeySet;

namespace {

// Stands in for the device and the engine: answers the core's questions and writes down its effects.
struct Bench {
  uint32_t tick = 0;
  bool capsLock = false;
  bool icq = false;
  std::string effects;
  // What a switch activates, when a case has one: the engine's switch replaces the layout in place.
  std::function<void(KeyLayout&)> nextLayout;
  KeyLayout* layout = nullptr;
  TranslatorState* state = nullptr;
  void SwitchLayout() {
    effects += "switch ";
    if (!nextLayout) return;
    BeginNewLayout(*state);
    std::memset(layout, 0, sizeof *layout);
    nextLayout(*layout);
    SetInternalFlags(*layout);
  }
  void Note(const char* what, unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%04X ", what, value);
    effects += text;
  }
};

Bench& B(void* context) { return *static_cast<Bench*>(context); }

const KeyInputs kInputs = {
    [](void* c) { return B(c).tick; },
    [](void* c) { return B(c).capsLock; },
    [](void* c) { return B(c).icq; },
};
const KeyOutputs kOutputs = {
    [](void* c, WChar v) { B(c).Note("c", v); },
    [](void* c, ScanWord w) { B(c).Note("k", w); },
    [](void* c, uint16_t id) { B(c).Note("x", id); },
    [](void* c, uint16_t action) { B(c).Note("o", action); },
    [](void* c) { B(c).SwitchLayout(); },
    [](void* c) { B(c).effects += "unload "; },
    [](void* c, WChar v) { B(c).Note("p", v); },
};

constexpr uint16_t kTick = 0xFFFF;    // not a notification: the 50 ms tick's duties
constexpr uint16_t kSwitch = 0xFFFE;  // not a notification: another program asks for the next layout
constexpr uint16_t kCapsOn = 0xFFFD;  // not a notification: the device's Caps Lock goes on

struct Step {
  uint32_t at;
  uint16_t id;           // a HotKeyId, or kTick
  ScanWord pressed = 0;  // the combination the notification names, when it names one
};

struct Case {
  const char* name;
  std::function<void(KeyLayout&, MapperConfig&, Bench&)> setUp;
  std::vector<Step> steps;
  std::string expected;
};

// Slot i of the key table, with the flags of its word: what the hot key of key i carries.
uint16_t Key(const KeyLayout& l, int i) { return MakeHotKeyId(l.keys[i].scanWord, i); }

std::string Play(const Case& c) {
  auto layout = std::make_unique<KeyLayout>();
  auto config = std::make_unique<MapperConfig>();
  testing_support::DefaultConfig(*config);
  config->hintMode = 1;  // no preview unless a case asks for it
  Bench bench;
  c.setUp(*layout, *config, bench);
  SetInternalFlags(*layout);
  TranslatorState state;
  InitTranslatorState(state);
  const Translator tr{&state, layout.get(), config.get(), &kInputs, &kOutputs, &bench};
  bench.layout = layout.get();
  bench.state = &state;
  for (const Step& s : c.steps) {
    bench.tick = s.at;
    if (s.id == kSwitch) {
      bench.SwitchLayout();
    } else if (s.id == kCapsOn) {
      bench.capsLock = true;
    } else if (s.id == kTick) {
      AdvanceHoldSlot(tr);
      DrainKeyEvents(tr);
    } else {
      OnHotKey(tr, s.id, s.pressed);
    }
  }
  return bench.effects;
}

// Ticks every 50 ms over [from, to].
std::vector<Step> Ticks(uint32_t from, uint32_t to) {
  std::vector<Step> out;
  for (uint32_t t = from; t <= to; t += 50) out.push_back({t, kTick});
  return out;
}

std::vector<Step> Join(std::initializer_list<std::vector<Step>> parts) {
  std::vector<Step> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// Key 0: A types a/b/c by presses (ICQ: A/B/C); key 1: Shift+A types Ф; key 2: 1 sends Ctrl+Q;
// key 3: 2 runs Exec 5; key 4: 3 posts Ornitap action 7; key 5: 4 is the accent command; key 6:
// 5 unloads; key 7: 6 switches layout; key 8: the Win key types w; key 9: B with accents.
void Lab(KeyLayout& l, MapperConfig&, Bench&) {
  AddKey(l, 0x0041, {{C('a'), C('A')}, {C('b'), C('B')}, {C('c'), C('C')}});
  AddKey(l, 0x0141, {{C(0x0424)}});
  AddKey(l, 0x0031, {{K(0x0251)}});
  AddKey(l, 0x0032, {{E(0x0005)}});
  AddKey(l, 0x0033, {{E(0x0207)}});
  AddKey(l, 0x0034, {{E(0x0111)}});
  AddKey(l, 0x0035, {{E(0x0121)}});
  AddKey(l, 0x0036, {{E(0x0120)}});
  AddKey(l, 0x005B, {{C('w')}});
  AddKey(l, 0x0042, {{C('b'), C(0x00E1), C('2'), C('3'), C('B'), C('5'), C('6'), C('7')}});
}

}  // namespace

TEST(TranslationCore, TableOfCases) {
  KeyLayout lab;
  {
    MapperConfig unused;
    Bench unusedBench;
    std::memset(&lab, 0, sizeof lab);
    Lab(lab, unused, unusedBench);
  }
  const uint16_t a = Key(lab, 0), shiftA = Key(lab, 1), ctrlQ = Key(lab, 2), exec = Key(lab, 3), ornitap = Key(lab, 4),
                 accent = Key(lab, 5), unload = Key(lab, 6), next = Key(lab, 7), win = Key(lab, 8), b = Key(lab, 9);
  const uint16_t ctrlA = static_cast<uint16_t>(a | kFlagCtrl);
  const Case cases[] = {
      {"a multi-press key waits out its window, then types its first level", Lab, Join({{{0, a}}, Ticks(50, 650)}),
       "c0061 "},
      {"two quick presses type the second level", Lab, Join({{{0, a}, {300, a}}, Ticks(350, 950)}), "c0062 "},
      {"presses further apart than the window count alone", Lab,
       Join({{{0, a}}, Ticks(50, 600), {{650, a}}, Ticks(700, 1300)}), "c0061 c0061 "},
      {"the count wraps after the last level", Lab, Join({{{0, a}, {100, a}, {200, a}, {300, a}}, Ticks(350, 950)}),
       "c0061 "},
      {"a single-level key is ready at the next tick", Lab, {{0, shiftA}, {50, kTick}}, "c0424 "},
      {"keys behind a waiting key come out after it, in order", Lab,
       Join({{{0, a}, {10, ctrlQ}, {20, ornitap}}, Ticks(50, 650)}), "c0061 k0251 o0007 "},
      {"the same key with Shift merges into the waiting press", Lab, Join({{{0, a}, {10, shiftA}}, Ticks(50, 650)}),
       "c0062 "},
      {"ICQ windows get the second group of columns",
       [](KeyLayout& l, MapperConfig& c, Bench& d) {
         Lab(l, c, d);
         d.icq = true;
       },
       Join({{{0, a}}, Ticks(50, 650)}), "c0041 "},
      {"Caps Lock inverts Shift: B is looked up as Shift+B, Shift+A as A",
       [](KeyLayout& l, MapperConfig& c, Bench& d) {
         Lab(l, c, d);
         d.capsLock = true;
       },
       {{0, b}, {50, kTick}, {60, shiftA}, {100, kTick}},
       "k0042 c0061 "},
      {"an unmapped combination goes back out with the modifiers of its hot key", Lab,
       Join({{{0, ctrlA}}, Ticks(50, 650)}), "k0241 "},
      {"keystrokes, programs and button actions",
       Lab,
       {{0, ctrlQ}, {10, exec}, {20, ornitap}, {50, kTick}},
       "k0251 x0005 o0007 "},
      {"the accent command applies to the next character only",
       Lab,
       {{0, accent}, {10, b}, {20, b}, {50, kTick}},
       "c00E1 c0062 "},
      {"the layout switch command", Lab, {{0, next}, {50, kTick}}, "switch "},
      {"after the unload command the key table's presses come to nothing",
       Lab,
       {{0, unload}, {50, kTick}, {60, shiftA}, {100, kTick}},
       "unload "},
      {"a Win-coded press is held for a tick, then translated",
       Lab,
       {{0, win}, {50, kTick}, {100, kTick}, {150, kTick}},
       "c0077 "},
      {"a switch key switches and drops what is queued behind it",
       [](KeyLayout& l, MapperConfig& c, Bench& d) {
         Lab(l, c, d);
         c.switchKeys[0] = 0x0070;
       },
       {{0, MakeHotKeyId(0x0070, kSwitchKeysBase)}, {10, shiftA}, {50, kTick}},
       "switch c0424 "},
      {"an internal Shift key latches Shift for one character",
       [](KeyLayout& l, MapperConfig& c, Bench& d) {
         Lab(l, c, d);
         SetKeySet(l.shiftKeys, {0x0070});
       },
       Join({{{0, MakeHotKeyId(0x0070, kModifierRoles[RoleShift].slotBase)}, {10, a}},
             Ticks(50, 650),
             {{700, a}},
             Ticks(750, 1350)}),
       "c0424 c0061 "},
      {"the preview shows the character of the count so far",
       [](KeyLayout& l, MapperConfig& c, Bench& d) {
         Lab(l, c, d);
         c.hintMode = 0;
       },
       Join({{{0, a}, {100, a}}, Ticks(150, 750)}), "p0061 p0062 c0062 "},
  };
  for (const Case& c : cases) EXPECT_EQ(Play(c), c.expected) << c.name;
}

namespace {

// Three layouts with A, B and the Win key in different slots of their key tables, so that a
// HotKeyId of one names another key, or none, in the others. F2 switches.
constexpr ScanWord kF2 = 0x0071;
void One(KeyLayout& l) {
  AddKey(l, 0x0041, {{C('1')}});
  AddKey(l, 0x0042, {{C('2')}});
  AddKey(l, 0x005B, {{C('3')}});
  SetKeySet(l.shiftKeys, {0x0010});
}
void Two(KeyLayout& l) {
  AddKey(l, 0x0042, {{C('b')}});
  AddKey(l, 0x005B, {{C('w')}});
  AddKey(l, 0x0041, {{C('a')}, {C('x')}});
}
void Short(KeyLayout& l) { AddKey(l, 0x0043, {{C('c')}}); }

std::function<void(KeyLayout&, MapperConfig&, Bench&)> OneThen(void (*next)(KeyLayout&)) {
  return [next](KeyLayout& l, MapperConfig& c, Bench& b) {
    One(l);
    c.switchKeys[0] = kF2;
    b.nextLayout = next;
  };
}

}  // namespace

TEST(TranslationCore, PressesThatArriveUnderTheOldLayoutAreTheSameKeysInTheNew) {
  const uint16_t sw = MakeHotKeyId(kF2, kSwitchKeysBase);
  const uint16_t a = MakeHotKeyId(0x0041, 0), b = MakeHotKeyId(0x0042, 1), win = MakeHotKeyId(0x005B, 2);
  const uint16_t shiftKey = MakeHotKeyId(0x0010, kModifierRoles[RoleShift].slotBase);
  const uint16_t aInTwo = MakeHotKeyId(0x0041, 2);
  const Case cases[] = {
      {"A pressed while the switch waits in the queue is the new layout's A", OneThen(Two),
       Join({{{0, sw}, {0, a}}, Ticks(50, 650)}), "switch c0061 "},
      {"and counts on with the presses of A that follow the switch", OneThen(Two),
       Join({{{0, sw}, {0, a}, {100, aInTwo}}, Ticks(150, 750)}), "switch c0078 "},
      {"a key the new layout does not map passes on, whatever its old slot is there",
       OneThen(Short),
       {{0, sw}, {0, a}, {50, kTick}},
       "switch k0041 "},
      {"a key whose old slot the new layout does not have passes on",
       OneThen(Short),
       {{0, sw}, {0, b}, {50, kTick}},
       "switch k0042 "},
      {"a modifier key the new layout does not have passes on",
       OneThen(Short),
       {{0, sw}, {0, shiftKey}, {50, kTick}},
       "switch k0010 "},
      {"a Win key held across a switch by message is the new layout's Win key", OneThen(Two),
       Join({{{0, win}, {10, kSwitch}}, Ticks(50, 150)}), "switch c0077 "},
      {"and passes on where the new layout does not map it", OneThen(Short),
       Join({{{0, win}, {10, kSwitch}}, Ticks(50, 150)}), "switch k005B "},
      {"a notification of A already on its way when another program switched is the new layout's A", OneThen(Two),
       Join({{{0, kSwitch}, {10, a, 0x0041}}, Ticks(50, 650)}), "switch c0061 "},
      {"one the new layout does not map passes on",
       OneThen(Short),
       {{0, kSwitch}, {10, b, 0x0042}, {50, kTick}},
       "switch k0042 "},
      {"a notification that names its own combination is translated as ever",
       OneThen(Two),
       {{0, b, 0x0042}, {50, kTick}},
       "c0032 "},
  };
  for (const Case& c : cases) EXPECT_EQ(Play(c), c.expected) << c.name;
}

namespace {

// A and Shift+A with the given press levels (one character each); previews on.
std::function<void(KeyLayout&, MapperConfig&, Bench&)> Levels(std::vector<Code> plain, std::vector<Code> shifted,
                                                              bool capsLock, bool internalShift = false) {
  return [=](KeyLayout& l, MapperConfig& c, Bench& b) {
    for (const Code& code : plain) AddKey(l, 0x0041, {{code}});
    for (const Code& code : shifted) AddKey(l, 0x0141, {{code}});
    if (internalShift) SetKeySet(l.shiftKeys, {0x0070});
    c.hintMode = 0;
    b.capsLock = capsLock;
  };
}

}  // namespace

// Presses are counted against the definition they will be translated through, which Caps Lock or
// the engine's Shift may make the other one of A and Shift+A; no press may ever read a level that
// definition lacks.
TEST(TranslationCore, PressLevelsAreThoseOfTheDefinitionTranslatedThrough) {
  // AddKey appends a level each time it is called for a word that is defined already.
  const uint16_t a = MakeHotKeyId(0x0041, 0), shiftA = MakeHotKeyId(0x0141, 1);
  const uint16_t shiftKey = MakeHotKeyId(0x0070, kModifierRoles[RoleShift].slotBase);
  const Case cases[] = {
      {"Caps Lock off: two presses of two-level A", Levels({C('a'), C('b')}, {C('A')}, false),
       Join({{{0, a}, {100, a}}, Ticks(150, 750)}), "p0061 p0062 c0062 "},
      {"Caps Lock on: two presses count against the one-level Shift+A", Levels({C('a'), C('b')}, {C('A')}, true),
       Join({{{0, a}, {100, a}}, Ticks(150, 750)}), "p0041 p0041 c0041 "},
      {"Caps Lock on: three presses reach the third level of a three-level Shift+A",
       Levels({C('a'), C('b')}, {C('A'), C('B'), C('C')}, true), Join({{{0, a}, {100, a}, {200, a}}, Ticks(250, 850)}),
       "p0041 p0042 p0043 c0043 "},
      {"Caps Lock on: Shift+A types the plain A, one press at a time",
       Levels({C('a'), C('b')}, {C('A')}, true),
       {{0, shiftA}, {50, kTick}, {100, shiftA}, {150, kTick}},
       "c0061 c0061 "},
      {"the engine's Shift: two presses count against the one-level Shift+A",
       Levels({C('a'), C('b')}, {C('A')}, false, true), Join({{{0, shiftKey}, {10, a}, {100, a}}, Ticks(150, 750)}),
       "p0041 p0041 c0041 "},
      {"a level the definition found at translation lacks is its first",
       Levels({C('a'), C('b'), C('c')}, {C('A')}, false),
       Join({{{0, a}, {100, a}, {200, a}, {250, kCapsOn}}, Ticks(300, 850)}), "p0061 p0062 p0063 c0041 "},
  };
  for (const Case& c : cases) EXPECT_EQ(Play(c), c.expected) << c.name;
}
