// Key translation driven through the simulated device's keyboard and clock.
#include <gtest/gtest.h>

#include "engine/translate.h"
#include "tests/unit/engine/engine_harness.h"

using testing_support::AddKey;
using testing_support::C;
using testing_support::E;
using testing_support::EngineHarness;
using testing_support::K;
using testing_support::SetKeySet;

namespace {

// Key A with three press levels typing a, b, c.
void AddTripleA(KeyLayout& layout) { AddKey(layout, 0x0041, {{C('a')}, {C('b')}, {C('c')}}); }

}  // namespace

TEST(MultiPress, ReleasedOneTimeoutAfterTheLastPress) {
  EngineHarness h;
  AddTripleA(h.layout());
  h.Start();
  h.Press(0x0041);
  h.Run(599);
  EXPECT_EQ(h.Text(), u"") << "a multi-press key waits out its window";
  h.Run(1);
  EXPECT_EQ(h.Text(), u"a");

  h.Press(0x0041);
  h.Run(300);
  h.Press(0x0041);
  h.Run(599);
  EXPECT_EQ(h.Text(), u"a");
  h.Run(1);
  EXPECT_EQ(h.Text(), u"ab") << "two presses 300 ms apart count as two";
}

TEST(MultiPress, CountWrapsAfterTheLastLevel) {
  struct Case {
    int presses;
    std::u16string expected;
  };
  for (const Case& c : {Case{1, u"a"}, Case{2, u"b"}, Case{3, u"c"}, Case{4, u"a"}, Case{5, u"b"}}) {
    EngineHarness h;
    AddTripleA(h.layout());
    h.Start();
    for (int i = 0; i < c.presses; ++i) {
      h.Press(0x0041);
      h.Run(100);
    }
    h.Run(600);
    EXPECT_EQ(h.Text(), c.expected) << c.presses << " presses";
  }
}

TEST(MultiPress, PressesFurtherApartThanTheTimeoutAreSeparateEvents) {
  EngineHarness h;
  AddTripleA(h.layout());
  h.layout().keypressTimeout = 200;  // the layout's own window overrides the configuration's 600
  h.Start();
  h.Press(0x0041);
  h.Run(150);
  h.Press(0x0041);  // within 200: merged
  h.Run(250);
  h.Press(0x0041);  // 250 after the last press: a new event
  h.Run(400);
  EXPECT_EQ(h.Text(), u"ba");
}

TEST(MultiPress, TimeoutHoldsAcrossTheTickCountWrap) {
  EngineHarness h(0xFFFFFF00u);
  AddTripleA(h.layout());
  h.Start();
  h.Press(0x0041);
  h.Run(300);  // the tick count wraps here
  h.Press(0x0041);
  h.Run(550);
  EXPECT_EQ(h.Text(), u"");
  h.Run(100);
  EXPECT_EQ(h.Text(), u"b");
}

TEST(MultiPress, KeysBehindAWaitingKeyComeOutInOrderAfterIt) {
  EngineHarness h;
  AddTripleA(h.layout());
  AddKey(h.layout(), 0x0042, {{C('x')}});
  AddKey(h.layout(), 0x0043, {{C('y')}});
  h.Start();
  h.Press(0x0041);
  h.Run(10);
  h.Press(0x0042);
  h.Run(10);
  h.Press(0x0043);
  h.Run(500);
  EXPECT_EQ(h.Text(), u"") << "strictly first in, first out";
  h.Run(150);
  EXPECT_EQ(h.Text(), u"axy");
}

TEST(MultiPress, SingleLevelKeyRepeatedBehindAWaitingKeyCollapses) {
  EngineHarness h;
  AddTripleA(h.layout());
  AddKey(h.layout(), 0x0042, {{C('x')}});
  h.Start();
  h.Press(0x0041);
  h.Run(10);
  h.Press(0x0042);
  h.Run(10);
  h.Press(0x0042);
  h.Run(700);
  EXPECT_EQ(h.Text(), u"ax");
}

TEST(MultiPress, KeyWithAndWithoutShiftMergeOnTheFirstPress) {
  EngineHarness h;
  AddTripleA(h.layout());
  AddKey(h.layout(), 0x0141, {{C('A')}, {C('B')}, {C('C')}});
  h.Start();
  h.Press(0x0041);
  h.Run(100);
  h.Press(0x0141);
  h.Run(700);
  EXPECT_EQ(h.Text(), u"b") << "one event on A's id, press index 1, through the 0041 definition";
}

TEST(MultiPress, MergedCountNeverPassesTheLevelsOfTheFirstKey) {
  EngineHarness h;
  AddTripleA(h.layout());
  AddKey(h.layout(), 0x0141, {{C('1')}, {C('2')}, {C('3')}, {C('4')}, {C('5')}, {C('6')}});
  h.Start();
  h.Press(0x0041);
  for (int i = 0; i < 3; ++i) {
    h.Run(100);
    h.Press(0x0141);
  }
  h.Run(700);
  EXPECT_EQ(h.Text(), u"a") << "four presses on a three-level key wrap to the first level";
}

TEST(MultiPress, CapsLockCountsAgainstTheDefinitionItLooksUp) {
  EngineHarness h;
  AddKey(h.layout(), 0x0041, {{C('a')}, {C('b')}});
  AddKey(h.layout(), 0x0141, {{C('A')}});  // one level: what A types with Caps Lock on
  h.Start();
  h.device().SetCapsLock(true);
  h.Press(0x0041);
  h.Run(100);
  h.Press(0x0041);
  h.Run(10);
  EXPECT_EQ(std::u16string(h.engine().hintText), u"A");
  h.Run(700);
  EXPECT_EQ(h.Text(), u"A") << "two presses wrap at the one level of Shift+A";
}

TEST(MultiPress, PreviewShowsTheCharacterOfTheCountSoFar) {
  EngineHarness h;
  AddTripleA(h.layout());
  h.Start();
  h.Press(0x0041);
  h.Run(10);
  EXPECT_EQ(std::u16string(h.engine().hintText), u"a");
  h.Press(0x0041);
  h.Run(10);
  EXPECT_EQ(std::u16string(h.engine().hintText), u"b");

  EngineHarness tray;
  AddTripleA(tray.layout());
  tray.config().hintMode = 1;
  tray.Start();
  tray.Press(0x0041);
  tray.Run(10);
  EXPECT_EQ(std::u16string(tray.engine().hintText), u"") << "no preview in tray mode";
}

TEST(Queue, FullQueueDropsFurtherPresses) {
  EngineHarness h;
  AddTripleA(h.layout());
  AddKey(h.layout(), 0x0042, {{C('x')}});
  AddKey(h.layout(), 0x0043, {{C('y')}});
  h.Start();
  h.Press(0x0041);  // waits at the head, holding everything behind it
  for (int i = 0; i < 130; ++i) h.Press(i % 2 == 0 ? 0x0042 : 0x0043);
  h.Run(700);
  std::u16string expected = u"a";
  for (int i = 0; i < kKeyQueueCapacity - 1; ++i) expected += (i % 2 == 0 ? u'x' : u'y');
  EXPECT_EQ(h.Text(), expected);
}

TEST(Modifiers, InternalShiftIsAOneShotLatch) {
  EngineHarness h;
  SetKeySet(h.layout().shiftKeys, {0x0070});  // F1 acts as Shift
  AddKey(h.layout(), 0x0041, {{C('a')}});
  AddKey(h.layout(), 0x0141, {{C('A')}});
  h.Start();
  h.Press(0x0070);
  h.Press(0x0041);
  h.Press(0x0041);
  h.Run(100);
  EXPECT_EQ(h.Text(), u"Aa");
  h.Press(0x0070);
  h.Press(0x0070);  // a second press before any output turns it off again
  h.Press(0x0041);
  h.Run(100);
  EXPECT_EQ(h.Text(), u"Aaa");
}

TEST(Modifiers, CapsLockInvertsShift) {
  for (bool tracked : {false, true}) {
    EngineHarness h;
    AddKey(h.layout(), 0x0041, {{C('a')}});
    AddKey(h.layout(), 0x0141, {{C('A')}});
    if (tracked) {
      SetKeySet(h.layout().capsLockKeys, {0x0014});
    }
    h.Start();
    if (tracked) {
      h.Press(0x0014);
    } else {
      h.device().SetCapsLock(true);
    }
    h.Press(0x0041);
    h.Press(0x0141);
    h.Press(0x0041);
    h.Run(100);
    EXPECT_EQ(h.Text(), u"AaA") << (tracked ? "engine's CapsLock" : "device's Caps Lock") << " stays on";
  }
}

TEST(Modifiers, CapsLockKeyTurnsShiftOffEvenWhenTurningCapsLockOff) {
  EngineHarness h;
  SetKeySet(h.layout().shiftKeys, {0x0070});
  SetKeySet(h.layout().capsLockKeys, {0x0014});
  AddKey(h.layout(), 0x0041, {{C('a')}});
  AddKey(h.layout(), 0x0141, {{C('A')}});
  h.Start();
  h.Press(0x0014);  // CapsLock on
  h.Press(0x0070);  // Shift on: inverted back to lower case
  h.Press(0x0014);  // CapsLock off, and Shift off
  h.Press(0x0041);
  h.Run(100);
  EXPECT_EQ(h.Text(), u"a");
}

TEST(Modifiers, UnmappedKeyIsSentBackWithTheModifiersOfItsHotKey) {
  EngineHarness h;
  SetKeySet(h.layout().shiftKeys, {0x0070});
  AddKey(h.layout(), 0x0441, {{C('x')}});  // Alt+A
  h.Start();
  h.Press(0x0070);  // Shift on: Alt+A now looks up Alt+Shift+A, which is not defined
  h.Press(0x0441);
  h.Run(100);
  EXPECT_EQ(h.Text(), u"");
  EXPECT_EQ(h.Transitions(), (std::vector<std::string>{"+12", "+41", "-41", "-12"}))
      << "sent once: the engine did not catch its own keystroke";
  h.Press(0x0070);  // the re-send left Shift on; this turns it off
  h.Press(0x0441);
  h.Run(100);
  EXPECT_EQ(h.Text(), u"x");
}

TEST(Modifiers, UntrackedModifierFollowsTheHotKey) {
  EngineHarness h;
  SetKeySet(h.layout().ctrlKeys, {0x0071});  // Ctrl tracked by the engine
  AddKey(h.layout(), 0x0041, {{C('a')}});
  h.Start();
  h.Press(0x0071);
  h.Press(0x0041);  // Ctrl+A is not defined: A goes out as it came, without Ctrl
  h.Run(100);
  EXPECT_EQ(h.Transitions(), (std::vector<std::string>{"+41", "-41"}));
  EXPECT_EQ(h.Text(), u"a") << "the re-sent key reaches the focused window";
}

TEST(Accents, ThreeCycles) {
  struct Case {
    const char* name;
    bool second, third;           // accent2Keys / accent3Keys repeat accentKeys
    std::u16string afterPresses;  // the column after 1, 2, 3, 4 accent presses
  };
  const Case cases[] = {
      {"all three equal", true, true, u"1230"},
      {"first two equal", true, false, u"1201"},
      {"all different", false, false, u"1010"},
  };
  for (const Case& c : cases) {
    for (int presses = 1; presses <= 4; ++presses) {
      EngineHarness h;
      KeyLayout& l = h.layout();
      SetKeySet(l.accentKeys, {0x00DE});
      SetKeySet(l.accent2Keys, {c.second ? ScanWord{0x00DE} : ScanWord{0x00DD}});
      SetKeySet(l.accent3Keys, {c.third ? ScanWord{0x00DE} : ScanWord{0x00DC}});
      AddKey(l, 0x0041, {{C('0'), C('1'), C('2'), C('3'), C('0'), C('1'), C('2'), C('3')}});
      h.Start();
      for (int i = 0; i < presses; ++i) h.Press(0x00DE);
      h.Press(0x0041);
      h.Press(0x0041);
      h.Run(100);
      std::u16string expected{c.afterPresses[presses - 1], u'0'};
      EXPECT_EQ(h.Text(), expected) << c.name << ", " << presses << " presses; the accent is one-shot";
    }
  }
}

TEST(Accents, SeparateAccentKeysSetTheirOwnStateAndTheFirstGoesToOneFromThem) {
  EngineHarness h;
  KeyLayout& l = h.layout();
  SetKeySet(l.accentKeys, {0x00DE});
  SetKeySet(l.accent2Keys, {0x00DD});
  SetKeySet(l.accent3Keys, {0x00DC});
  AddKey(l, 0x0041, {{C('0'), C('1'), C('2'), C('3'), C('0'), C('1'), C('2'), C('3')}});
  h.Start();
  for (ScanWord accent : {0x00DD, 0x00DC}) {
    h.Press(accent);
    h.Press(0x0041);
    h.Press(accent);
    h.Press(0x00DE);  // from 2 or 3 the first accent key goes to 1
    h.Press(0x0041);
  }
  h.Press(0x00DD);
  h.Press(0x00DD);  // pressed twice: off again
  h.Press(0x0041);
  h.Run(100);
  EXPECT_EQ(h.Text(), u"21310");
}

TEST(Accents, BuiltInCommandsKeepTheStateUntilTheNextCharacter) {
  EngineHarness h;
  AddKey(h.layout(), 0x0031, {{E(0x0111)}});
  AddKey(h.layout(), 0x0032, {{E(0x011F)}});
  AddKey(h.layout(), 0x0041, {{C('0'), C('1'), C('2'), C('3'), C('0'), C('1'), C('2'), C('3')}});
  h.Start();
  h.Press(0x0031);
  h.Press(0x0041);  // 1
  h.Press(0x0031);
  h.Press(0x0031);
  h.Press(0x0041);  // e0111 twice: off
  for (int i = 0; i < 3; ++i) h.Press(0x0032);
  h.Press(0x0041);  // stepped to 3
  h.Run(100);
  EXPECT_EQ(h.Text(), u"103");
}

TEST(Icq, ForegroundWindowSelectsTheColumns) {
  struct Case {
    std::u16string className, title;
    char16_t expected;
  };
  const Case cases[] = {
      {u"Afx:400000:8", u"ICQ Lite", u'I'},
      {u"Afx:", u"ICQ", u'I'},
      {u"Afx:400000:8", u"Icq Lite", u'n'},  // the prefixes are case-sensitive
      {u"afx:400000:8", u"ICQ Lite", u'n'},
      {u"Afx", u"ICQ", u'n'},
      {u"Edit", u"ICQ", u'n'},
  };
  for (const Case& c : cases) {
    EngineHarness h;
    AddKey(h.layout(), 0x0041, {{C('n'), C('n'), C('n'), C('n'), C('I'), C('I'), C('I'), C('I')}});
    h.Start();
    h.device().ShowForeignWindow(c.className, c.title);
    h.Press(0x0041);
    h.Run(100);
    EXPECT_EQ(h.Text(), std::u16string(1, c.expected)) << sim::ToUtf8(c.className) << " / " << sim::ToUtf8(c.title);
  }
}

TEST(Icq, NoForegroundWindowUsesThePlainColumns) {
  EngineHarness h;
  AddKey(h.layout(), 0x0041, {{C('n'), C('n'), C('n'), C('n'), C('I'), C('I'), C('I'), C('I')}});
  h.Start();
  h.device().SetForeground(nullptr);
  h.Press(0x0041);
  h.Run(100);
  ASSERT_EQ(h.device().Log().back().kind, sim::LogKind::Char);
  EXPECT_EQ(h.device().Log().back().a, u'n');
}

TEST(Hold, JoystickArrowFollowedByTheIndicatorGoesOutAsAPlainArrow) {
  for (uint16_t hardware : {uint16_t{Wizard}, uint16_t{Hermes}}) {
    for (ScanWord indicator : {ScanWord{0x0084}, ScanWord{0x0083}}) {
      if (hardware == Wizard && indicator == 0x0083) continue;
      EngineHarness h;
      h.layout().hardware = hardware;
      AddKey(h.layout(), 0x0026, {{C('U')}});
      h.Start();
      h.Press(0x0026);
      h.Run(20);
      h.Press(indicator);
      h.Run(200);
      EXPECT_EQ(h.Text(), u"") << "hardware " << hardware << ", indicator " << indicator;
      EXPECT_EQ(h.Transitions(), (std::vector<std::string>{"+26", "-26"}));
    }
  }
}

TEST(Hold, ArrowAloneIsTranslatedAfterTwoTicks) {
  EngineHarness h;
  h.layout().hardware = Wizard;
  AddKey(h.layout(), 0x0026, {{C('U')}});
  h.Start();
  h.Run(10);
  h.Press(0x0026);  // at 10: ticks at 50 and 100
  h.Run(80);
  EXPECT_EQ(h.Text(), u"");
  h.Run(10);
  EXPECT_EQ(h.Text(), u"U");
}

TEST(Hold, ArrowsAreNotHeldOnGenericLayouts) {
  EngineHarness h;
  AddKey(h.layout(), 0x0026, {{C('U')}});
  h.Start();
  h.Press(0x0026);
  h.Run(50);
  EXPECT_EQ(h.Text(), u"U");
}

TEST(Hold, WinCodedPressIsLostWhenAnotherKeyFollowsWithinTheHold) {
  EngineHarness h;
  AddKey(h.layout(), 0x005B, {{C('w')}});
  AddKey(h.layout(), 0x0041, {{C('a')}});
  h.Start();
  h.Press(0x005B);
  h.Run(20);
  h.Press(0x0041);
  h.Run(200);
  EXPECT_EQ(h.Text(), u"a");
  h.Press(0x005B);
  h.Run(200);
  EXPECT_EQ(h.Text(), u"aw") << "alone, it is translated after the hold";
}

TEST(Switching, SwitchKeyDropsTheEventsQueuedBehindIt) {
  EngineHarness h;
  h.config().switchKeys[0] = 0x0170;
  AddTripleA(h.layout());
  AddKey(h.layout(), 0x0042, {{C('x')}});
  h.Start();
  h.Press(0x0041);
  h.Press(0x0170);
  h.Press(0x0042);
  h.Run(700);
  EXPECT_EQ(h.Text(), u"a");
  EXPECT_EQ(std::u16string(h.engine().layout->name), u"Default Layout") << "the only slot was activated again";
  EXPECT_EQ(h.engine().translator.queueCount, 0);
  h.Press(0x0042);
  h.Run(100);
  EXPECT_EQ(h.Text(), u"ab") << "the default layout passes keys through";
}

TEST(Switching, SwitchKeyThatIsAlsoALayoutKeyActsAsSwitchKey) {
  EngineHarness h;
  h.config().switchKeys[0] = 0x0042;
  AddKey(h.layout(), 0x0042, {{C('x')}});
  h.Start();
  h.Press(0x0042);
  h.Run(100);
  EXPECT_EQ(h.Text(), u"");
  EXPECT_EQ(std::u16string(h.engine().hintText), u"English");
}

TEST(Output, KeystrokeCodesPressTheirModifiersAroundTheKey) {
  struct Case {
    ScanWord code;
    std::vector<std::string> transitions;
  };
  const Case cases[] = {
      {0x0251, {"+11", "+51", "-51", "-11"}},
      {0x0741, {"+11", "+12", "+10", "+41", "-41", "-10", "-12", "-11"}},
      {0x085B, {"+5B", "+5B", "-5B", "-5B"}},
  };
  for (const Case& c : cases) {
    EngineHarness h;
    AddKey(h.layout(), 0x0031, {{K(c.code)}});
    h.Start();
    h.Press(0x0031);
    h.Run(100);
    EXPECT_EQ(h.Transitions(), c.transitions) << std::hex << c.code;
  }
}

TEST(Output, KeystrokeOnAMappedKeyCodeIsNotCaughtAgain) {
  EngineHarness h;
  AddKey(h.layout(), 0x0031, {{K(0x0041)}});
  AddKey(h.layout(), 0x0041, {{C('x')}});
  h.Start();
  const int registered = h.HotKeyCount();
  h.Press(0x0031);
  h.Run(100);
  EXPECT_EQ(h.Text(), u"a") << "the synthesized A reached the window, not the layout";
  EXPECT_EQ(h.HotKeyCount(), registered) << "every hot key is back";
}

// Keys pressed between the command and the quit have no definition and no key code left to send;
// they are dropped rather than sent as key code 0.
TEST(Commands, UnloadSwallowsTheKeyTableAndQuitsOnTheThirdTick) {
  EngineHarness h;
  AddKey(h.layout(), 0x0031, {{E(0x0121)}});
  AddKey(h.layout(), 0x0041, {{C('x')}});
  h.Start();
  h.Run(10);
  h.Press(0x0031);
  h.Run(45);  // the command runs on the tick at 50
  h.Press(0x0041);
  h.Run(200);
  EXPECT_EQ(h.Text(), u"");
  EXPECT_TRUE(h.Transitions().empty());
  ASSERT_FALSE(h.device().Log().empty());
  const auto& exit = h.device().Log().back();
  EXPECT_EQ(exit.kind, sim::LogKind::Exit);
  EXPECT_EQ(exit.b, 0u);
  EXPECT_EQ(exit.time, 200u) << "quit on the third tick after the command";
}

// Another program asking for the keys while the engine winds down gets every one of them, the key
// table's included, and the engine still ends on time.
TEST(Commands, ReleasePassAfterTheUnloadCommandReleasesEveryKey) {
  EngineHarness h;
  AddKey(h.layout(), 0x0031, {{E(0x0121)}});
  AddKey(h.layout(), 0x0041, {{C('x')}});
  AddKey(h.layout(), 0x0142, {{C('y')}});
  h.Start();
  ASSERT_EQ(h.HotKeyCount(), 3);
  h.Press(0x0031);
  h.Run(50);  // the command runs on this tick
  plat::PostToWindow(h.engine().window, MsgReleaseKeys, 0, 0);
  h.Run(0);
  EXPECT_EQ(h.HotKeyCount(), 0);
  h.Press(0x0041);
  h.Run(0);
  EXPECT_EQ(h.Text(), u"a") << "the released key reaches the window untouched";
  h.Run(200);
  EXPECT_EQ(h.device().FindWindow(kEngineClass, kEngineTitle), nullptr) << "the engine ended";
}

TEST(Commands, ExecStartsTheLastMatchingProgramOrReportsTheFailure) {
  EngineHarness h;
  int started = 0;
  h.device().InstallProgram(u"\\Windows\\notes.exe", [&] {
    ++started;
    return 0;
  });
  AddKey(h.layout(), 0x0031, {{E(0x0002)}});
  AddKey(h.layout(), 0x0032, {{E(0x0003)}});
  AddKey(h.layout(), 0x0033, {{E(0x0004)}});
  testing_support::AddExec(h.layout(), 2, u"\\Windows\\missing.exe", u"");
  testing_support::AddExec(h.layout(), 2, u"\\Windows\\notes.exe", u"");
  testing_support::AddExec(h.layout(), 3, u"\\Program Files\\App.exe", u"-x file");
  h.Start();
  h.Press(0x0031);
  h.Press(0x0032);
  h.Press(0x0033);  // no Exec line with this id: nothing happens
  h.Run(100);
  EXPECT_EQ(started, 1);
  std::vector<std::u16string> boxes;
  for (const auto& e : h.device().Log()) {
    if (e.kind == sim::LogKind::MessageBox) {
      boxes.push_back(h.device().LogText1(e) + u"|" + h.device().LogText2(e));
      EXPECT_EQ(e.a, 0x50010u);
    }
  }
  EXPECT_EQ(boxes, std::vector<std::u16string>{u"Error|Error executing \"\\Program Files\\App.exe\" -x file"});
}

TEST(Commands, OrnitapActionIsPostedWhenItsWindowExists) {
  EngineHarness h;
  AddKey(h.layout(), 0x0031, {{E(0x0201)}});
  h.Start();
  h.Press(0x0031);
  h.Run(100);
  h.device().ShowForeignWindow(u"OrnitapWndClass", u"Ornitap Window");
  h.Press(0x0031);
  h.Run(100);
  int posts = 0;
  for (const auto& e : h.device().Log()) {
    if (e.kind != sim::LogKind::Post) continue;
    ++posts;
    EXPECT_EQ(h.device().LogText1(e), u"OrnitapWndClass");
    EXPECT_EQ(e.a, 3037u);
    EXPECT_EQ(e.b, 1u);
    EXPECT_EQ(e.c, 0);
  }
  EXPECT_EQ(posts, 1) << "dropped silently while Ornitap is not running";
}
