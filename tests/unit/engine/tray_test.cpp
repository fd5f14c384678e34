// The hint in the tray: the icon's two letters, its tip, its replacement, and the menu behind it.
#include <gtest/gtest.h>

#include <string>

#include "engine/tray.h"
#include "platform/sim/device.h"
#include "platform/wtext.h"
#include "tests/unit/engine/engine_harness.h"

using testing_support::AddKey;
using testing_support::C;
using testing_support::EngineHarness;

namespace {

const std::u16string kSettingsPath = u"\\Program Files\\Tarvin\\TarvinSettings.exe";
const std::u16string kEnginePath = u"\\Program Files\\Tarvin\\Tarvin.exe";

void ShowFirstHint(EngineHarness& h) {
  plat::PostToWindow(h.engine().window, MsgNextLayout, 0, 0);
  h.Run(10);
}

void UseTray(EngineHarness& h, const std::u16string& hint) {
  h.config().hintMode = 1;
  wtext::Copy(h.config().defaultHint, kConfigTextLength, hint.c_str());
}

int Count(const sim::SimDevice& d, sim::LogKind kind) {
  int n = 0;
  for (const auto& e : d.Log()) n += e.kind == kind;
  return n;
}

const sim::LogEntry* Last(const sim::SimDevice& d, sim::LogKind kind) {
  const sim::LogEntry* found = nullptr;
  for (const auto& e : d.Log()) {
    if (e.kind == kind) found = &e;
  }
  return found;
}

}  // namespace

// The font model: a cell of t pixels holds characters of c pixels, c + c / 5 <= t, each c * 6 / 10
// wide. The two letters must be narrower than the icon and no higher.
TEST(TrayIcon, DrawsTheFirstTwoLettersInTheLargestFontThatFits) {
  struct Case {
    int iconSize;
    std::u16string hint;
    std::u16string drawn;  // empty: no font fits
    int charHeight;
  };
  const Case cases[] = {
      {16, u"English", u"En", 13},                        // cell 16: 2 x 8 = 16 is not below 16; cell 15 fits
      {32, u"Russian", u"Ru", 26},                        // cell 32: 2 x 16 = 32; cell 31: 2 x 15
      {8, u"Ukrainian", u"Uk", 6}, {16, u"R", u"R", 14},  // one letter fits the full cell
      {2, u"English", u"", 0},                            // nothing fits: a plain coloured square
  };
  for (const Case& c : cases) {
    EngineHarness h([&](sim::SimOptions& o) { o.smallIconSize = c.iconSize; });
    UseTray(h, c.hint);
    h.Start();
    ShowFirstHint(h);
    const auto icons = h.device().TrayIcons();
    ASSERT_EQ(icons.size(), 1u) << c.iconSize;
    const sim::TrayIconInfo& icon = icons[0];
    EXPECT_TRUE(icon.iconAlive);
    EXPECT_EQ(icon.iconSize, c.iconSize);
    EXPECT_EQ(icon.tip, c.hint);
    EXPECT_EQ(icon.callbackMessage, MsgTrayNotify);
    EXPECT_EQ(icon.id, kTrayIconId);
    ASSERT_GE(icon.iconPicture.size(), 1u);
    EXPECT_EQ(icon.iconPicture[0].kind, sim::PaintOp::Kind::Fill);
    EXPECT_EQ(icon.iconPicture[0].color, plat::kColorActiveCaption);
    if (c.drawn.empty()) {
      EXPECT_EQ(icon.iconPicture.size(), 1u) << "no text on a " << c.iconSize << " pixel icon";
      continue;
    }
    ASSERT_EQ(icon.iconPicture.size(), 2u) << c.iconSize;
    const sim::PaintOp& text = icon.iconPicture[1];
    EXPECT_EQ(text.text, c.drawn);
    EXPECT_EQ(text.charHeight, c.charHeight) << c.iconSize;
    EXPECT_EQ(text.flags, 0x25u);
    EXPECT_EQ(text.color, plat::kColorCaptionText);
    EXPECT_TRUE(text.transparent);
    EXPECT_EQ(text.rect.left, 1);
    EXPECT_EQ(text.rect.right, c.iconSize);
  }
}

TEST(TrayIcon, AnEmptyHintShowsTheProgramIcon) {
  EngineHarness h;
  UseTray(h, u"");
  h.Start();
  ShowFirstHint(h);
  const auto icons = h.device().TrayIcons();
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_TRUE(icons[0].iconAlive);
  EXPECT_EQ(icons[0].iconResource, kProgramIconId);
  EXPECT_EQ(icons[0].iconSize, 16);
  EXPECT_EQ(icons[0].tip, u"");
}

TEST(TrayIcon, TheTipHoldsTheFirst63Characters) {
  std::u16string hint;
  for (int i = 0; i < 70; ++i) hint.push_back(static_cast<char16_t>(u'A' + i % 26));
  EngineHarness h;
  UseTray(h, hint);
  h.Start();
  ShowFirstHint(h);
  const auto icons = h.device().TrayIcons();
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].tip, hint.substr(0, 63));
  EXPECT_EQ(h.device().LogText1(*Last(h.device(), sim::LogKind::TrayAdd)), hint.substr(0, 63));
}

TEST(TrayIcon, TipAndLettersNeverEndInHalfACharacter) {
  // 62 letters, then a character outside the basic plane, which needs two units.
  const std::u16string hint = std::u16string(62, u'x') + u"\U0001F600";
  EngineHarness h;
  UseTray(h, hint);
  h.Start();
  ShowFirstHint(h);
  const auto icons = h.device().TrayIcons();
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].tip, std::u16string(62, u'x'));

  EngineHarness pair;
  UseTray(pair, u"x\U0001F600");
  pair.Start();
  ShowFirstHint(pair);
  const auto* drawn = Last(pair.device(), sim::LogKind::TextDrawn);
  ASSERT_NE(drawn, nullptr);
  EXPECT_EQ(pair.device().LogText1(*drawn), u"x");
}

TEST(TrayIcon, EachHintReplacesTheIconAndReleasingKeysRemovesIt) {
  EngineHarness h;
  UseTray(h, u"English");
  h.Start();
  ShowFirstHint(h);
  ShowFirstHint(h);
  ShowFirstHint(h);
  EXPECT_EQ(Count(h.device(), sim::LogKind::TrayAdd), 3);
  EXPECT_EQ(Count(h.device(), sim::LogKind::TrayDelete), 2) << "the first hint found no icon to delete";
  const auto icons = h.device().TrayIcons();
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_TRUE(icons[0].iconAlive) << "the icon in the tray is the one kept";
  EXPECT_EQ(h.device().CountLiveObjects().icons, 1) << "replaced icons are destroyed";
  EXPECT_EQ(h.device().CountLiveObjects().fonts, 0);
  EXPECT_EQ(h.device().CountLiveObjects().surfaces, 0);

  plat::PostToWindow(h.engine().window, MsgReleaseKeys, 0, 0);
  h.Run(10);
  EXPECT_TRUE(h.device().TrayIcons().empty());
  EXPECT_EQ(h.device().CountLiveObjects().icons, 0);
  EXPECT_FALSE(h.device().Win(h.engine().window)->visible) << "tray mode never shows the popup";
}

TEST(TrayMenu, OffersSettingsOnlyWhenTheProgramIsInstalled) {
  for (bool installed : {false, true}) {
    EngineHarness h;
    UseTray(h, u"English");
    if (installed) h.folder().Write("Program Files/Tarvin/TarvinSettings.exe", "MZ");
    h.Start();
    ShowFirstHint(h);
    ASSERT_TRUE(h.device().TapTrayIcon());
    h.Run(10);
    const sim::LogEntry* menu = Last(h.device(), sim::LogKind::Menu);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(h.device().LogText1(*menu),
              installed ? u"About\nNext layout\n-\nSettings\nUnload Tarvin" : u"About\nNext layout\n-\nUnload Tarvin");
    EXPECT_EQ(menu->b, 240u - 32u) << "screen width less the icon size";
    EXPECT_EQ(menu->c, 320 - 20) << "screen height less the caption";
    EXPECT_EQ(menu->a, 0u) << "nothing was chosen";
    EXPECT_EQ(h.device().CountLiveObjects().menus, 0);
  }
}

TEST(TrayMenu, CarriesOutTheChoice) {
  struct Case {
    uint32_t choice;
    bool installed;
    bool settingsStarted;
    int exitCode;  // -1: still running
    int hintsAfter;
  };
  const Case cases[] = {
      {IdUnload, true, false, 1, 1},       {IdSettings, true, true, -1, 1},
      {IdSettings, false, false, -1, 1},  // not offered, so not chosen
      {IdNextLayout, false, false, -1, 2}, {0, true, false, -1, 1},
  };
  for (const Case& c : cases) {
    EngineHarness h;
    UseTray(h, u"English");
    if (c.installed) h.folder().Write("Program Files/Tarvin/TarvinSettings.exe", "MZ");
    h.Start();
    ShowFirstHint(h);
    h.device().QueueMenuChoice(c.choice);
    h.device().TapTrayIcon();
    h.Run(100);

    bool started = false;
    int exitCode = -1;
    for (const auto& e : h.device().Log()) {
      if (e.kind == sim::LogKind::Start && h.device().LogText1(e) == kSettingsPath) started = e.b == 0;
      if (e.kind == sim::LogKind::Exit && h.device().LogText1(e) == kEnginePath) exitCode = static_cast<int>(e.b);
    }
    EXPECT_EQ(started, c.settingsStarted) << c.choice;
    EXPECT_EQ(exitCode, c.exitCode) << c.choice;
    EXPECT_EQ(Count(h.device(), sim::LogKind::TrayAdd), c.hintsAfter) << c.choice;
  }
}

// The engine pumps only the about window for five seconds; a key pressed meanwhile waits and is
// typed afterwards into the window the user was working in.
TEST(TrayMenu, AboutShowsTheSplashForFiveSecondsAndKeysWait) {
  EngineHarness h;
  AddKey(h.layout(), 0x0041, {{C(u'\u0444')}});
  h.Start();
  const plat::Window document = h.device().Foreground();
  h.device().QueueMenuChoice(IdAbout);
  plat::PostToWindow(h.engine().window, MsgTrayNotify, kTrayIconId, plat::kWmLButtonDown);
  h.Run(10);
  const plat::Window splash = h.device().FindWindow(u"TarvinSplashWindow", u"");
  ASSERT_NE(splash, nullptr);
  EXPECT_EQ(h.device().Foreground(), splash);

  h.Run(1000);
  h.Press(0x0041);
  h.Run(3900);
  EXPECT_NE(h.device().FindWindow(u"TarvinSplashWindow", u""), nullptr);
  EXPECT_EQ(h.device().FocusText(), u"");
  h.Run(200);
  EXPECT_EQ(h.device().FindWindow(u"TarvinSplashWindow", u""), nullptr);
  EXPECT_EQ(h.device().Foreground(), document);
  EXPECT_EQ(h.device().FocusText(), u"\u0444");
  EXPECT_EQ(h.device().CountLiveObjects().bitmaps, 0);
}
