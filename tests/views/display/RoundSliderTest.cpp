#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/core/Common.h"
#include "tests/views/display/CanvasViewsScreen.h"

namespace tmr {
namespace {

constexpr uint32_t kValue = 0xFF00AA00;     // the arc
constexpr uint32_t kNonValue = 0xFFB6B6B6;  // the rest of the ring
constexpr uint32_t kThumbBorder = 0xFF5B5B5B;

// A slider 300 × 300 at the screen's origin: its ring's middle line has radius 93 about
// (150, 150) and shows 4 points outside it (radius 93 to 97).
std::string Slider(int min, int max, int size = 300) {
  return R"({"name": "rs1", "type": "CustomView", "class": "tm_roundslider", "frame": [0, 0, )" + std::to_string(size) +
         ", " + std::to_string(size) + R"(], "text": "?", "props": {"Min": )" + std::to_string(min) + R"(, "Max": )" +
         std::to_string(max) + R"(, "ValueColor": "#FF00AA00"}})";
}

// The point at distance r from (150, 150) at the angle in degrees (0 at 3 o'clock, clockwise).
void Polar(double angle, double r, int& x, int& y) {
  x = static_cast<int>(std::lround(150 + r * Common::CosD(angle)));
  y = static_cast<int>(std::lround(150 + r * Common::SinD(angle)));
}

uint32_t RingAt(const Bitmap& b, double angle) {
  int x = 0, y = 0;
  Polar(angle, 95, x, y);
  return ArgbAt(b, x, y);
}

int CountColor(const Bitmap& b, int left, int right, uint32_t argb) {
  int n = 0;
  for (int y = 0; y < b.pixelHeight(); ++y)
    for (int x = left; x < right; ++x) n += ArgbAt(b, x, y) == argb;
  return n;
}

TEST(RoundSliderTest, MadeFromALayoutWithTheThumbAndTheRingsArea) {
  CanvasViewsScreen s(Slider(0, 100));
  auto& rs = *s.owner->rs1;
  EXPECT_EQ(rs.mbase.Tag().As<tm_roundslider>(), s.owner->rs1);
  ASSERT_TRUE(rs.thumb);
  EXPECT_EQ(rs.thumb->pixelWidth(), 171);
  EXPECT_EQ(rs.thumb->pixelHeight(), 196);
  EXPECT_EQ(rs.thumbsize, 49);
  EXPECT_EQ(rs.stroke, 8);
  EXPECT_EQ(rs.circlerect.Left, 57);
  EXPECT_EQ(rs.circlerect.Right, 243);
  EXPECT_EQ(rs.xlbl.Left(), 57);
  EXPECT_EQ(rs.xlbl.Width(), 186);
  EXPECT_EQ(rs.pnl.Width(), 300);
  EXPECT_EQ(rs.mbase.GetView(1), rs.pnl) << "the touch panel lies over the label";
  EXPECT_EQ(rs.xlbl.Text().str(), "75");
  // The thumb: a white disc in a grey ring with a grey triangle pointing down.
  EXPECT_EQ(ArgbAt(*rs.thumb, 88, 88), 0xFFFFFFFFu);
  EXPECT_EQ(ArgbAt(*rs.thumb, 88, 12), kThumbBorder);
  EXPECT_EQ(ArgbAt(*rs.thumb, 88, 185), kThumbBorder);
  EXPECT_EQ(ArgbAt(*rs.thumb, 2, 185) >> 24, 0u);
}

TEST(RoundSliderTest, Value75OfAHundredDrawsThreeQuartersFromTwelveOClock) {
  CanvasViewsScreen s(Slider(0, 100));
  auto pic = Shown(s.owner->rs1->mbase);
  ASSERT_TRUE(pic);
  s.picture("roundslider");
  // The arc runs clockwise from 12 (-90) to 9 o'clock (180); the rest of the ring is grey.
  for (double a : {-80.0, 0.0, 45.0, 90.0, 160.0}) EXPECT_EQ(RingAt(*pic, a), kValue) << a;
  for (double a : {-100.0, -135.0, -170.0}) EXPECT_EQ(RingAt(*pic, a), kNonValue) << a;
  // Inside the ring's middle line the fill colour covers the inner half of the stroke.
  int x = 0, y = 0;
  Polar(0, 91, x, y);
  EXPECT_EQ(ArgbAt(*pic, x, y), 0xFFFFFFFFu);
  // The thumb stands at 9 o'clock, left of the ring, and nowhere else.
  EXPECT_GT(CountColor(*pic, 0, 57, kThumbBorder), 50);
  EXPECT_EQ(CountColor(*pic, 243, 300, kThumbBorder), 0);
  s.owner->rs1->_setvalue(25);
  pic = Shown(s.owner->rs1->mbase);
  EXPECT_EQ(CountColor(*pic, 0, 57, kThumbBorder), 0);
  EXPECT_GT(CountColor(*pic, 243, 300, kThumbBorder), 50);
  EXPECT_EQ(RingAt(*pic, 45), kNonValue);
  EXPECT_EQ(RingAt(*pic, -45), kValue);
}

TEST(RoundSliderTest, ATouchOutsideTheRingChoosesByItsAngleAndReportsAtOnce) {
  struct Case {
    double x, y;
    int value;
  } cases[] = {
      {150, 40, 0},    // straight above the centre
      {260, 150, 25},  // to the right
      {150, 260, 50},  // below
      {40, 150, 75},   // to the left
      {149, 10, 0},    // a little left of 12 o'clock: the angle rounds to -90
      {148, 50, 99},   // further left: 359 degrees, the largest a touch gives
      {150, 56, 0},    // just outside the middle line (radius 94)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    CanvasViewsScreen s(Slider(0, 100));
    auto f = s.finger();
    f.pressAt(c.x, c.y);
    // At once, inside the touch handler: nothing posted has run yet.
    EXPECT_EQ(s.owner->rs1->_getvalue(), c.value);
    // 75 is the start value: choosing it again is no change.
    std::vector<std::string> expected;
    if (c.value != 75) expected.push_back("rs1:" + std::to_string(c.value));
    EXPECT_EQ(s.owner->events, expected);
    EXPECT_EQ(s.owner->rs1->xlbl.Text().str(), std::to_string(c.value));
    f.release();
    EXPECT_EQ(s.owner->events, expected) << "the same value on the way up raises nothing";
  }
}

TEST(RoundSliderTest, DownMoveAndUpAllChooseAndTouchesInsideChangeNothing) {
  CanvasViewsScreen s(Slider(0, 100));
  auto& rs = *s.owner->rs1;
  auto frames = [&] { return rs.mbase.native()->canvasInvalidations(); };
  auto f = s.finger();
  f.pressAt(150, 150);  // the centre: inside the ring
  f.moveTo(200, 150);
  EXPECT_EQ(rs._getvalue(), 75);
  int64_t before = frames();
  f.moveTo(250, 150);  // out to 3 o'clock
  f.moveTo(150, 255);  // round to 6 o'clock
  f.moveTo(150, 255);  // the same value again: redrawn, not reported
  f.moveTo(150, 150);  // back inside: nothing
  f.release();
  EXPECT_EQ(s.owner->events, (std::vector<std::string>{"rs1:25", "rs1:50"}));
  EXPECT_EQ(frames() - before, 3);
  EXPECT_EQ(rs._getvalue(), 50);
}

TEST(RoundSliderTest, SetValueKeepsToTheRangeAndRaisesNothing) {
  CanvasViewsScreen s(Slider(10, 60));
  auto& rs = *s.owner->rs1;
  EXPECT_EQ(rs._getvalue(), 75) << "the start value stands until it is set or touched";
  EXPECT_EQ(rs.xlbl.Text().str(), "75");
  struct Case {
    int in, out;
  } cases[] = {{30, 30}, {100, 60}, {-5, 10}, {60, 60}};
  for (const auto& c : cases) {
    rs._setvalue(c.in);
    EXPECT_EQ(rs._getvalue(), c.out);
    EXPECT_EQ(rs.xlbl.Text().str(), std::to_string(c.out));
  }
  EXPECT_TRUE(s.owner->events.empty());
  // Ranges that do not start at 0: 3 o'clock is a quarter of the way.
  auto f = s.finger();
  f.pressAt(260, 150);
  f.release();
  EXPECT_EQ(rs._getvalue(), 22);
}

// The start value 75 may lie far outside the range: its angle, many turns round, is worked out
// whole, and the thumb stands where that angle falls on the ring, turned to the centre.
TEST(RoundSliderTest, AStartValueFarOutsideTheRangeDrawsTheThumbWhereItsAngleFalls) {
  enum Where { kLeft, kTop, kBottom };
  struct Case {
    int min, max;
    Where thumb;
    uint32_t at45, atMinus135;  // the ring at these angles: the arc reaches a full turn on the far ones
  };
  const Case cases[] = {
      {0, 100, kLeft, kValue, kNonValue},                // 270 degrees
      {100, 200, kLeft, kNonValue, kValue},              // -90 degrees
      {10000000, 10000001, kTop, kValue, kValue},        // -3,599,973,000 degrees: whole turns
      {2147483646, 2147483647, kTop, kValue, kValue},    // whole turns
      {-2147483648, -2147483647, kTop, kValue, kValue},  // whole turns the other way
      {20000000, 20000002, kBottom, kValue, kValue},     // half a turn more than whole turns
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.min) + ".." + std::to_string(c.max));
    CanvasViewsScreen s(Slider(c.min, c.max));
    auto pic = Shown(s.owner->rs1->mbase);
    ASSERT_TRUE(pic);
    EXPECT_EQ(s.owner->rs1->xlbl.Text().str(), "75");
    // The thumb lies outside the ring (57..243) on one side only.
    EXPECT_EQ(CountColor(*pic, 0, 57, kThumbBorder) > 50, c.thumb == kLeft);
    EXPECT_EQ(CountColor(*pic, 243, 300, kThumbBorder), 0);
    int top = 0, bottom = 0;
    for (int y = 0; y < 57; ++y)
      for (int x = 100; x < 200; ++x) {
        top += ArgbAt(*pic, x, y) == kThumbBorder;
        bottom += ArgbAt(*pic, x, 299 - y) == kThumbBorder;
      }
    EXPECT_EQ(top > 50, c.thumb == kTop);
    EXPECT_EQ(bottom > 50, c.thumb == kBottom);
    // Its triangle points at the centre.
    if (c.thumb == kTop) {
      EXPECT_EQ(ArgbAt(*pic, 150, 50), kThumbBorder);
    } else if (c.thumb == kBottom) {
      EXPECT_EQ(ArgbAt(*pic, 150, 250), kThumbBorder);
    }
    EXPECT_EQ(RingAt(*pic, 45), c.at45);
    EXPECT_EQ(RingAt(*pic, -135), c.atMinus135);
  }
}

TEST(RoundSliderTest, AnEmptyRangeDrawsNoArcAndTouchesGiveItsValue) {
  CanvasViewsScreen s(Slider(10, 10));
  auto& rs = *s.owner->rs1;
  auto pic = Shown(rs.mbase);
  for (double a : {-45.0, 45.0, 135.0}) EXPECT_EQ(RingAt(*pic, a), kNonValue) << a;
  auto f = s.finger();
  f.pressAt(40, 150);
  f.release();
  EXPECT_EQ(rs._getvalue(), 10);
  EXPECT_EQ(s.owner->events, std::vector<std::string>{"rs1:10"});
}

TEST(RoundSliderTest, ColoursAndTheThumbCanChange) {
  CanvasViewsScreen s(Slider(0, 100));
  auto& rs = *s.owner->rs1;
  rs._setcirclecolor(static_cast<int32_t>(0xFF0000FF), static_cast<int32_t>(0xFFFFFF00));
  auto pic = Shown(rs.mbase);
  EXPECT_EQ(RingAt(*pic, -135), 0xFF0000FFu);
  EXPECT_EQ(ArgbAt(*pic, 150, 150), 0xFFFFFF00u);
  rs._setthumbcolor(static_cast<int32_t>(0xFFFF0000), static_cast<int32_t>(0xFF00FFFF));
  EXPECT_EQ(ArgbAt(*rs.thumb, 88, 88), 0xFF00FFFFu);
  EXPECT_EQ(ArgbAt(*rs.thumb, 88, 185), 0xFFFF0000u);
  pic = Shown(rs.mbase);
  EXPECT_GT(CountColor(*pic, 0, 57, 0xFFFF0000), 50);
  EXPECT_EQ(CountColor(*pic, 0, 300, kThumbBorder), 0);
}

TEST(RoundSliderTest, ResizingFollowsAndASmallSliderGivesTheLabelNoSize) {
  CanvasViewsScreen s(Slider(0, 100));
  auto& rs = *s.owner->rs1;
  rs.mbase.setWidth(200);
  rs.mbase.setHeight(200);
  EXPECT_EQ(rs.cvs.TargetRect().Width(), 200);
  EXPECT_EQ(rs.pnl.Width(), 200);
  EXPECT_EQ(rs.circlerect.Right, 143);
  EXPECT_EQ(rs.xlbl.Width(), 86);
  rs.mbase.setWidth(80);
  rs.mbase.setHeight(80);
  EXPECT_EQ(rs.xlbl.Width(), 0);
  EXPECT_EQ(rs.xlbl.Height(), 0);
  rs._setvalue(40);
  auto f = s.finger();
  f.pressAt(70, 40);
  f.release();
  EXPECT_EQ(rs.xlbl.Text().str(), std::to_string(rs._getvalue()));
}

}  // namespace
}  // namespace tmr
