// The simulated device's font model, painting records, tray, menus and foreground window.
#include <gtest/gtest.h>

#include "tests/unit/support/test_windows.h"

#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/sim/device.h"
#include "tests/unit/support/temp_folder.h"

using sim::LogKind;
using sim::PaintOp;
using testing_support::TempFolder;

namespace {

struct Fixture {
  Fixture() {
    sim::SimOptions o;
    o.hostFolder = folder.path();
    device = std::make_unique<sim::SimDevice>(o);
    plat::RegisterWindowClass(u"Pad", [](void*, plat::Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
      return plat::DefaultWindowProc(w, m, wp, lp);
    });
  }
  // The driver paints one text into a fresh window and returns what was recorded.
  PaintOp Draw(const std::u16string& text, plat::Rect rect, uint32_t flags) {
    plat::Window w = testing_support::MakeWindow(u"Pad", u"Pad", 0, 0, 0, 200, 100);
    plat::Surface s = plat::StartPaint(w);
    plat::Font f = plat::CreateSystemFont(-10, 0);
    plat::PaintText(s, f, text.c_str(), rect, flags, plat::kColorDefault, false);
    plat::DeleteFont(f);
    plat::FinishPaint(w, s);
    auto ops = device->LastPaint(w);
    return ops.empty() ? PaintOp{} : ops.back();
  }
  TempFolder folder;
  std::unique_ptr<sim::SimDevice> device;
};

}  // namespace

TEST(SimFonts, MeasureByTheDocumentedModel) {
  struct Case {
    int height, weight;
    std::u16string text;
    uint32_t flags;
    int width, lineCount;  // lines of the font's line height
    int lineHeight;
  };
  const uint32_t calc = plat::kDtCalcRect;
  const uint32_t single = plat::kDtCalcRect | plat::kDtSingleLine;
  const Case cases[] = {
      {-15, 0, u"English", calc, 63, 1, 18},    // character height 15: 9 wide, 18 a line
      {-15, 700, u"English", calc, 70, 1, 18},  // bold: 10 wide
      {16, 0, u"En", single, 16, 1, 16},        // a 16 pixel cell: character height 14
      {0, 0, u"ab", calc, 14, 1, 14},           // the system font's own size, 12
      {-10, 0, u"ab\ncd", calc, 12, 2, 12},
      {-10, 0, u"a\r\nb", calc, 6, 2, 12},
      {-10, 0, u"a\n\rb", calc, 6, 2, 12},
      {-10, 0, u"a\n\nb", calc, 6, 3, 12},
      {-10, 0, u"a\r\n\rb", calc, 6, 3, 12},
      {-10, 0, u"abc\n", calc, 18, 2, 12},
      {-10, 0, u"", calc, 0, 0, 12},
      {-10, 0, u"ab\ncd", single, 24, 1, 12},                                  // breaks are no breaks on a single line
      {-10, 0, u"one two three four", calc | plat::kDtWordBreak, 108, 1, 12},  // no width to wrap at
  };
  TempFolder folder;
  sim::SimOptions o;
  o.hostFolder = folder.path();
  sim::SimDevice device(o);
  for (const Case& c : cases) {
    plat::Font f = plat::CreateSystemFont(c.height, c.weight);
    int w = -1, h = -1;
    ASSERT_TRUE(plat::MeasureText(f, c.text.c_str(), c.flags, &w, &h));
    plat::DeleteFont(f);
    EXPECT_EQ(w, c.width) << c.height << " " << c.text.size();
    EXPECT_EQ(h, c.lineCount * c.lineHeight) << c.height << " " << c.text.size();
  }
  int w = 0, h = 0;
  EXPECT_FALSE(plat::MeasureText(nullptr, u"a", 0, &w, &h)) << "no font";
  EXPECT_EQ(device.CountLiveObjects().fonts, 0);
}

TEST(SimPainting, WrapsAndPlacesText) {
  struct Case {
    std::u16string text;
    plat::Rect rect;
    uint32_t flags;
    std::u16string lines;
    plat::Rect bounds;
  };
  const uint32_t wrapCentre = plat::kDtWordBreak | plat::kDtCenter;
  const Case cases[] = {
      // 100 pixels hold 16 characters of 6: the line breaks at the blank before "four".
      {u"one two three four", {0, 0, 100, 50}, wrapCentre, u"one two three\nfour", {11, 0, 89, 24}},
      // A word longer than the line stands alone and runs over both sides when centred.
      {u"abcdefghijklmnopqrstuvwxyz ok",
       {0, 0, 60, 50},
       wrapCentre,
       u"abcdefghijklmnopqrstuvwxyz\nok",
       {-48, 0, 108, 24}},
      {u"one\n\rtwo", {10, 20, 110, 70}, wrapCentre, u"one\ntwo", {51, 20, 69, 44}},
      // Vertical centring needs a single line, as on the device.
      {u"ab", {0, 0, 100, 50}, plat::kDtCenter | plat::kDtVCenter | plat::kDtSingleLine, u"ab", {44, 19, 56, 31}},
      {u"ab", {0, 0, 100, 50}, plat::kDtCenter | plat::kDtVCenter, u"ab", {44, 0, 56, 12}},
      {u"one two", {5, 5, 20, 50}, 0, u"one two", {5, 5, 47, 17}},  // no wrapping asked for
  };
  Fixture fx;
  for (const Case& c : cases) {
    const PaintOp op = fx.Draw(c.text, c.rect, c.flags);
    EXPECT_EQ(op.kind, PaintOp::Kind::Text);
    EXPECT_EQ(op.text, c.text);
    EXPECT_EQ(op.lines, c.lines);
    EXPECT_EQ(op.bounds.left, c.bounds.left) << c.text.size();
    EXPECT_EQ(op.bounds.top, c.bounds.top) << c.text.size();
    EXPECT_EQ(op.bounds.right, c.bounds.right) << c.text.size();
    EXPECT_EQ(op.bounds.bottom, c.bounds.bottom) << c.text.size();
  }
  const auto& last = fx.device->Log().back();
  EXPECT_EQ(last.kind, LogKind::TextDrawn);
  EXPECT_EQ(fx.device->LogText1(last), u"one two");
  EXPECT_EQ(fx.device->LogText2(last), u"Pad");
  EXPECT_EQ(fx.device->CountLiveObjects().surfaces, 0);
}

TEST(SimPainting, ABorderTakesAPixelOffEverySideOfTheClientArea) {
  Fixture fx;
  plat::Window framed = testing_support::MakeWindow(u"Pad", u"A", plat::kWindowBorder, 0, 0, 84, 22);
  plat::Window plain = testing_support::MakeWindow(u"Pad", u"B", 0, 0, 0, 84, 22);
  plat::Rect r{};
  ASSERT_TRUE(plat::GetClientArea(framed, &r));
  EXPECT_EQ(r.right, 82);
  EXPECT_EQ(r.bottom, 20);
  ASSERT_TRUE(plat::GetClientArea(plain, &r));
  EXPECT_EQ(r.right, 84);
  EXPECT_EQ(r.bottom, 22);
}

TEST(SimTray, IconsAreAddedOnceAndTapsReachTheirWindow) {
  Fixture fx;
  static uintptr_t sTapId;
  static intptr_t sTapMouse;
  sTapId = 0;
  sTapMouse = 0;
  fx.device->InstallProgram(u"\\Tray.exe", [] {
    plat::RegisterWindowClass(u"TrayOwner",
                              [](void*, plat::Window w, uint32_t m, uintptr_t wp, intptr_t lp) -> intptr_t {
                                if (m == 4000) {
                                  sTapId = wp;
                                  sTapMouse = lp;
                                  plat::PostQuit(0);
                                }
                                return plat::DefaultWindowProc(w, m, wp, lp);
                              });
    plat::Window w = testing_support::MakeWindow(u"TrayOwner", u"T");
    plat::Icon icon = plat::LoadProgramIcon(105, 16);
    const bool added = plat::AddTrayIcon(w, 7, 4000, icon, u"tip");
    const bool again = plat::AddTrayIcon(w, 7, 4000, icon, u"tip");
    plat::Message m;
    while (plat::NextMessage(&m)) plat::DeliverMessage(m);
    const bool deleted = plat::DeleteTrayIcon(w, 7);
    const bool deletedAgain = plat::DeleteTrayIcon(w, 7);
    plat::FreeIcon(icon);
    return added && !again && deleted && !deletedAgain ? 0 : 1;
  });
  plat::Process p = fx.device->Start(u"\\Tray.exe");
  fx.device->RunFor(10);
  ASSERT_EQ(fx.device->TrayIcons().size(), 1u);
  EXPECT_EQ(fx.device->TrayIcons()[0].tip, u"tip");
  EXPECT_FALSE(fx.device->TapTrayIcon(1));
  ASSERT_TRUE(fx.device->TapTrayIcon());
  ASSERT_TRUE(fx.device->RunUntilExit(p, 100));
  EXPECT_EQ(fx.device->ExitCode(p), 0);
  EXPECT_EQ(sTapId, 7u);
  EXPECT_EQ(sTapMouse, plat::kWmLButtonDown);
  int adds = 0, deletes = 0;
  for (const auto& e : fx.device->Log()) {
    adds += e.kind == LogKind::TrayAdd;
    deletes += e.kind == LogKind::TrayDelete;
  }
  EXPECT_EQ(adds, 1);
  EXPECT_EQ(deletes, 1);
  EXPECT_EQ(fx.device->CountLiveObjects().icons, 0);
}

TEST(SimMenus, ScriptedChoicesAreTakenInOrderAndOnlyWhenOffered) {
  Fixture fx;
  fx.device->QueueMenuChoice(20);
  fx.device->QueueMenuChoice(99);  // not an item: a tap beside the menu
  uint32_t chosen[3];
  for (uint32_t& c : chosen) {
    plat::Menu m = plat::NewPopupMenu();
    plat::AppendMenuItem(m, 10, u"Ten");
    plat::AppendMenuSeparator(m);
    plat::AppendMenuItem(m, 20, u"Twenty");
    c = plat::ShowPopupMenu(m, plat::MenuAnchor::TopLeft, 5, 6, nullptr);
    plat::FreeMenu(m);
  }
  EXPECT_EQ(chosen[0], 20u);
  EXPECT_EQ(chosen[1], 0u);
  EXPECT_EQ(chosen[2], 0u) << "nothing queued";
  const auto& last = fx.device->Log().back();
  EXPECT_EQ(last.kind, LogKind::Menu);
  EXPECT_EQ(fx.device->LogText1(last), u"Ten\n-\nTwenty");
  EXPECT_EQ(fx.device->CountLiveObjects().menus, 0);
}

TEST(SimForeground, ANeverActivatedWindowLeavesTheFocusAndAClosedOneGivesItBack) {
  Fixture fx;
  const plat::Window document = fx.device->Foreground();
  plat::Window popup = testing_support::MakeWindow(u"Pad", u"Popup", plat::kWindowNeverActivated, 0, 0, 10, 10);
  plat::SetWindowShown(popup, true);
  EXPECT_TRUE(plat::BringToFront(popup));
  EXPECT_EQ(fx.device->Foreground(), document);

  plat::Window dialog = testing_support::MakeWindow(u"Pad", u"Dialog", plat::kWindowVisible, 0, 0, 10, 10);
  plat::BringToFront(dialog);
  EXPECT_EQ(fx.device->Foreground(), dialog);
  plat::RemoveWindow(dialog);
  EXPECT_EQ(fx.device->Foreground(), document);
}
