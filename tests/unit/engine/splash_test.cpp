// The splash window: its size and place on different screens, its picture and text, and the about
// cycle with its five seconds and its refusal while the splash is up.
#include "common/splash.h"

#include <gtest/gtest.h>

#include "tests/unit/support/test_windows.h"

#include "platform/sim/device.h"
#include "tests/unit/support/temp_folder.h"

using testing_support::TempFolder;

namespace {

const std::u16string kProgram = u"\\Program Files\\Tarvin\\Tarvin.exe";

struct Device {
  explicit Device(int screenWidth = 240, int screenHeight = 320) {
    sim::SimOptions o;
    o.hostFolder = folder.path();
    o.screenWidth = screenWidth;
    o.screenHeight = screenHeight;
    device = std::make_unique<sim::SimDevice>(o);
  }
  plat::Window Splash() const { return device->FindWindow(kSplashClass, u""); }
  TempFolder folder;
  std::unique_ptr<sim::SimDevice> device;
};

}  // namespace

// The product text is three lines, the longest 28 characters. In the font model a character is
// size * 6 / 10 pixels wide (7 / 10 bold) and a line size + size / 5 high.
TEST(Splash, PicksTheLargestFontThatFitsAndCentresTheWindow) {
  struct Case {
    int screenWidth, screenHeight;
    int fontSize;
    bool bold;
    int x, y, width, height;
  };
  const Case cases[] = {
      {240, 320, 13, false, 12, 86, 216, 148},  // limit 196: 28 x 7 = 196 fits at 13
      {480, 640, 16, true, 76, 240, 328, 160},  // limit 412, bold: 28 x 11 = 308
      {320, 240, 16, false, 24, 40, 272, 160},  // 320 is not above 321: normal weight
      {322, 240, 14, true, 25, 44, 272, 151},   // limit 269, bold: 28 x 9 = 252 at 14
      {176, 220, 9, false, 3, 43, 170, 133},    // limit 150 at least; 140 wide text: 150 + 20
  };
  for (const Case& c : cases) {
    Device d(c.screenWidth, c.screenHeight);
    d.device->InstallProgram(kProgram, [] {
      SplashWindow s{};
      ShowSplash(s);
      PumpSplash(s, 100);
      CloseSplash(s);
      return 0;
    });
    d.device->Start(kProgram);
    d.device->RunFor(50);
    const auto* w = d.device->Win(d.Splash());
    ASSERT_NE(w, nullptr) << c.screenWidth;
    EXPECT_EQ(w->x, c.x) << c.screenWidth;
    EXPECT_EQ(w->y, c.y) << c.screenWidth;
    EXPECT_EQ(w->width, c.width) << c.screenWidth;
    EXPECT_EQ(w->height, c.height) << c.screenWidth;
    EXPECT_TRUE(w->visible);

    const auto ops = d.device->LastPaint(d.Splash());
    ASSERT_EQ(ops.size(), 4u) << c.screenWidth;
    EXPECT_EQ(ops[0].kind, sim::PaintOp::Kind::Frame);
    EXPECT_EQ(ops[0].rect.right, c.width);
    EXPECT_EQ(ops[1].kind, sim::PaintOp::Kind::Frame);
    EXPECT_EQ(ops[1].rect.left, 1);
    EXPECT_EQ(ops[1].rect.bottom, c.height - 1);
    const sim::PaintOp& picture = ops[2];
    EXPECT_EQ(picture.kind, sim::PaintOp::Kind::Bitmap);
    EXPECT_EQ(picture.resourceId, 1034);
    EXPECT_EQ(picture.rect.left, (c.width - 150) / 2) << "the picture is centred";
    EXPECT_EQ(picture.rect.top, 10);
    const sim::PaintOp& text = ops[3];
    EXPECT_EQ(text.kind, sim::PaintOp::Kind::Text);
    EXPECT_EQ(text.text, kProductText);
    EXPECT_EQ(text.charHeight, c.fontSize) << c.screenWidth;
    EXPECT_EQ(text.weight, c.bold ? 700 : 400) << c.screenWidth;
    EXPECT_EQ(text.flags, plat::kDtCenter | plat::kDtWordBreak);
    EXPECT_EQ(text.rect.top, 93);
    EXPECT_EQ(text.rect.right, c.width - 5);
    EXPECT_EQ(text.lines, u"Tarvin Typist v1.4\n(c) Tarvin Typist developers\ntarvin-typist.example")
        << "the text fits its lines without wrapping";
    EXPECT_LE(text.bounds.bottom, text.rect.bottom);

    d.device->RunFor(200);
    EXPECT_EQ(d.Splash(), nullptr);
    EXPECT_EQ(d.device->CountLiveObjects().bitmaps, 0);
    EXPECT_EQ(d.device->CountLiveObjects().fonts, 0);
  }
}

TEST(Splash, AboutStaysFiveSecondsAndCanBeShownAgain) {
  Device d;
  uint32_t first = 0, second = 0;
  d.device->InstallProgram(kProgram, [&] {
    SplashWindow s{};
    uint32_t t = plat::TickCount();
    ShowAbout(s);
    first = plat::TickCount() - t;
    t = plat::TickCount();
    ShowAbout(s);  // the class was unregistered and the splash closed: it shows again
    second = plat::TickCount() - t;
    return 0;
  });
  plat::Process p = d.device->Start(kProgram);
  d.device->RunFor(4990);
  EXPECT_NE(d.Splash(), nullptr);
  ASSERT_TRUE(d.device->RunUntilExit(p, 20000));
  EXPECT_GE(first, 5000u);
  EXPECT_LT(first, 5200u);
  EXPECT_GE(second, 5000u);
  EXPECT_EQ(d.device->CountLiveObjects().bitmaps, 0);
}

TEST(Splash, AboutIsIgnoredWhileTheSplashIsUp) {
  Device d;
  uint32_t elapsed = 1;
  int splashes = 0;
  d.device->InstallProgram(kProgram, [&] {
    SplashWindow s{};
    ShowSplash(s);
    const uint32_t t = plat::TickCount();
    ShowAbout(s);
    elapsed = plat::TickCount() - t;
    splashes = s.busy;
    CloseSplash(s);
    splashes += s.busy;
    return 0;
  });
  plat::Process p = d.device->Start(kProgram);
  ASSERT_TRUE(d.device->RunUntilExit(p, 1000));
  EXPECT_EQ(elapsed, 0u) << "the second request returned at once";
  EXPECT_EQ(splashes, 1) << "busy until closed";
}

// The about window pumps only its own messages. A splash window that could not be made must not
// take the program's other messages (its quit message among them) instead.
TEST(Splash, OtherWindowsMessagesWaitDuringAbout) {
  struct Case {
    bool splashCreated;
  };
  static bool sOwnDispatched;
  for (const Case& c : {Case{true}, Case{false}}) {
    Device d;
    bool waiting = false, quitKept = false;
    sOwnDispatched = false;
    d.device->InstallProgram(kProgram, [&] {
      SplashWindow s{};
      plat::RegisterWindowClass(u"Own", [](void*, plat::Window w, uint32_t m, uintptr_t wp, intptr_t lp) -> intptr_t {
        if (m == 5000) sOwnDispatched = true;
        return plat::DefaultWindowProc(w, m, wp, lp);
      });
      if (!c.splashCreated) {
        // The splash class is taken by a procedure that refuses to create windows.
        plat::RegisterWindowClass(kSplashClass, [](void*, plat::Window, uint32_t m, uintptr_t, intptr_t) -> intptr_t {
          return m == plat::kWmCreate ? -1 : 0;
        });
      }
      plat::Window own = testing_support::MakeWindow(u"Own", u"Own");
      plat::PostToWindow(own, 5000, 0, 0);
      plat::PostQuit(4);
      ShowAbout(s);
      plat::Message m;
      waiting = plat::PollMessage(&m, own, false) && m.message == 5000;
      quitKept = plat::PollMessage(&m, nullptr, true) && m.message == 5000 && plat::PollMessage(&m, nullptr, true) &&
                 m.message == plat::kWmQuit;
      return 0;
    });
    plat::Process p = d.device->Start(kProgram);
    ASSERT_TRUE(d.device->RunUntilExit(p, 10000));
    EXPECT_FALSE(sOwnDispatched) << c.splashCreated;
    EXPECT_TRUE(waiting) << c.splashCreated;
    EXPECT_TRUE(quitKept) << c.splashCreated;
  }
}
