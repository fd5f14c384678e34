// The popup hint: where it goes, how large it is, what it paints and when it hides.
#include <gtest/gtest.h>

#include <string>

#include "engine/hint.h"
#include "platform/sim/device.h"
#include "platform/wtext.h"
#include "tests/unit/engine/engine_harness.h"

using testing_support::EngineHarness;

namespace {

struct PlaceCase {
  uint16_t hintPos;
  int w, h;
  int x, y;
};

// Activates the configured slots again from the first, which shows the first slot's hint.
void ShowFirstHint(EngineHarness& h) {
  plat::PostToWindow(h.engine().window, MsgNextLayout, 0, 0);
  h.Run(10);
}

}  // namespace

TEST(PlaceHint, PositionCodesOnA240By320Screen) {
  const PlaceCase cases[] = {
      {0x0202, 40, 20, 197, 297},  // the default: 3 pixels from the bottom-right corner
      {0x0000, 40, 20, 3, 3},
      {0x0101, 40, 20, 100, 150},
      {0x0100, 40, 20, 3, 150},  // vertical code 1, horizontal code 0
      {0x0001, 41, 21, 99, 3},   // (240 - 41) / 2 truncates
      {0x0102, 40, 21, 197, 149},
      {0x0202, 300, 20, 3, 297},  // wider than the screen: far edge, then back to 3 from the left
      {0x0001, 300, 20, 3, 3},    // centred: negative, clamped the same way
      {0x0200, 40, 400, 3, 3},    // taller than the screen
      {0x0000, 234, 314, 3, 3},   // fills the screen but for the gaps
      {0x0202, 234, 314, 3, 3},
  };
  for (const PlaceCase& c : cases) {
    const HintPosition p = ComputeHintPosition(c.hintPos, c.w, c.h, 240, 320);
    EXPECT_EQ(p.x, c.x) << std::hex << c.hintPos << " " << std::dec << c.w << "x" << c.h;
    EXPECT_EQ(p.y, c.y) << std::hex << c.hintPos << " " << std::dec << c.w << "x" << c.h;
  }
}

TEST(PlaceHint, EveryCodeAboveOneMeansTheFarEdge) {
  for (int code = 2; code <= 255; ++code) {
    const HintPosition horizontal = ComputeHintPosition(static_cast<uint16_t>(code), 40, 20, 240, 320);
    const HintPosition vertical = ComputeHintPosition(static_cast<uint16_t>(code << 8), 40, 20, 240, 320);
    EXPECT_EQ(horizontal.x, 197) << code;
    EXPECT_EQ(horizontal.y, 3) << code;
    EXPECT_EQ(vertical.x, 3) << code;
    EXPECT_EQ(vertical.y, 297) << code;
  }
}

// The popup is the measured text plus one "Q" in the bold hint font, and 4 pixels more each way.
// Font size 15, bold: 10 pixels a character, lines 18 high.
TEST(PlaceHint, SizesAndMovesThePopupForTheHintText) {
  struct Case {
    std::u16string hint;
    uint16_t hintPos;
    int x, y, w, h;
  };
  const Case cases[] = {
      {u"English", 0x0202, 153, 295, 84, 22},  // (7 + 1) x 10 + 4 = 84
      {u"", 0x0202, 223, 295, 14, 22},         // the Q alone still gives a popup
      {u"English", 0x0101, 78, 149, 84, 22},
      {std::u16string(40, u'W'), 0x0202, 3, 295, 414, 22},  // wider than the screen: off the right edge
  };
  for (const Case& c : cases) {
    EngineHarness h;
    wtext::Copy(h.config().defaultHint, kConfigTextLength, c.hint.c_str());
    h.config().hintPos = c.hintPos;
    h.Start();
    ShowFirstHint(h);
    const auto* w = h.device().Win(h.engine().window);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->x, c.x) << c.hint.size();
    EXPECT_EQ(w->y, c.y) << c.hint.size();
    EXPECT_EQ(w->width, c.w) << c.hint.size();
    EXPECT_EQ(w->height, c.h) << c.hint.size();
    EXPECT_EQ(h.engine().hintX, c.x);
    EXPECT_EQ(h.engine().hintY, c.y);
  }
}

TEST(PlaceHint, UsesTheScreenSize) {
  EngineHarness h([](sim::SimOptions& o) {
    o.screenWidth = 480;
    o.screenHeight = 640;
  });
  h.Start();
  ShowFirstHint(h);
  const auto* w = h.device().Win(h.engine().window);
  EXPECT_EQ(w->x, 480 - 84 - 3);
  EXPECT_EQ(w->y, 640 - 22 - 3);
}

TEST(PopupHint, PaintsTheTextForOneSecondWithoutTakingTheFocus) {
  EngineHarness h;
  h.Start();
  const plat::Window document = h.device().Foreground();
  ShowFirstHint(h);
  const plat::Window popup = h.engine().window;
  EXPECT_TRUE(h.device().Win(popup)->visible);
  EXPECT_EQ(h.device().Foreground(), document) << "typing goes on into the user's window";

  const auto ops = h.device().LastPaint(popup);
  ASSERT_EQ(ops.size(), 2u);
  const plat::Rect client{0, 0, 82, 20};  // the 84 x 22 window inside its border
  EXPECT_EQ(ops[0].kind, sim::PaintOp::Kind::Fill);
  EXPECT_EQ(ops[0].color, plat::kColorInfoBk);
  EXPECT_EQ(ops[0].rect.right, client.right);
  EXPECT_EQ(ops[0].rect.bottom, client.bottom);
  const sim::PaintOp& text = ops[1];
  EXPECT_EQ(text.kind, sim::PaintOp::Kind::Text);
  EXPECT_EQ(text.text, u"English");
  EXPECT_EQ(text.color, plat::kColorInfoText);
  EXPECT_TRUE(text.transparent);
  EXPECT_EQ(text.flags, plat::kDtCenter | plat::kDtVCenter);
  EXPECT_EQ(text.charHeight, 15);
  EXPECT_EQ(text.weight, 700);
  EXPECT_GE(text.bounds.left, 0);
  EXPECT_LE(text.bounds.right, client.right) << "the text fits inside the popup";
  EXPECT_LE(text.bounds.bottom, client.bottom);

  h.Run(900);
  EXPECT_TRUE(h.device().Win(popup)->visible);
  h.Run(200);
  EXPECT_FALSE(h.device().Win(popup)->visible);
  EXPECT_EQ(h.engine().hintCountdown, -1);
}

TEST(PopupHint, ANewHintWhileShownRestartsTheSecond) {
  EngineHarness h;
  h.Start();
  ShowFirstHint(h);
  h.Run(700);
  ShowFirstHint(h);
  h.Run(700);
  EXPECT_TRUE(h.device().Win(h.engine().window)->visible) << "1.4 s after the first, 0.7 s after the second";
  h.Run(400);
  EXPECT_FALSE(h.device().Win(h.engine().window)->visible);
}

TEST(PopupHint, HidesEvenWhenTheModeTurnedToTrayWhileShown) {
  EngineHarness h;
  h.Start();
  ShowFirstHint(h);
  h.Run(500);
  h.config().hintMode = 1;  // as a configuration reload within the second would leave it
  ShowFirstHint(h);
  ASSERT_EQ(h.device().TrayIcons().size(), 1u);
  h.Run(1100);
  EXPECT_FALSE(h.device().Win(h.engine().window)->visible);
}
