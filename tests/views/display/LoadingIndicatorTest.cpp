#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/layout/LayoutError.h"
#include "tests/views/display/CanvasViewsScreen.h"

namespace tmr {
namespace {

constexpr uint32_t kRed = 0xFFFF0000;

std::string Indicator(const std::string& style, int duration, int size = 100) {
  return R"({"name": "li1", "type": "CustomView", "class": "tm_loadingindicator", "frame": [10, 10, )" +
         std::to_string(size) + ", " + std::to_string(size) +
         R"(], "props": {"Color": "#FFFF0000", "IndicatorStyle": ")" + style + R"(", "Duration": )" +
         std::to_string(duration) + "}}";
}

// The picture a drawing sub makes at progress p on the indicator's canvas (the loop stopped).
std::shared_ptr<Bitmap> Drawn(tm_loadingindicator& li, void (tm_loadingindicator::*draw)(float), float p) {
  li._hide();
  li.cvs.ClearRect(li.cvs.TargetRect());
  (li.*draw)(p);
  return li.cvs.CreateBitmap();
}

bool Inked(const Bitmap& b, int x, int y) { return (ArgbAt(b, x, y) >> 24) > 128; }

TEST(LoadingIndicatorTest, TheStyleTextNamesTheDrawingSubInAnyCaseWithoutBlanks) {
  struct Case {
    const char* style;
    void (tm_loadingindicator::*draw)(float);
  } cases[] = {
      {"Arc 1", &tm_loadingindicator::_draw_arc1},
      {"arc2", &tm_loadingindicator::_draw_arc2},
      {"Five Lines 1", &tm_loadingindicator::_draw_fivelines1},
      {"PACMAN", &tm_loadingindicator::_draw_pacman},
      {"Single Circle", &tm_loadingindicator::_draw_singlecircle},
      {"Three Circles 1", &tm_loadingindicator::_draw_threecircles1},
      {"threecircles1", &tm_loadingindicator::_draw_threecircles1},
      {" Three  Circles 2 ", &tm_loadingindicator::_draw_threecircles2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    CanvasViewsScreen s(Indicator(c.style, 1000));
    auto& li = *s.owner->li1;
    s.wait(250);  // frames every 10 ms: the last one drawn at progress 0.25
    auto shown = Shown(li.mbase);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(SamePicture(*shown, *Drawn(li, c.draw, 0.25f)));
    int inked = 0;
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 100; ++x) inked += Inked(*shown, x, y);
    EXPECT_GT(inked, 50);
  }
}

TEST(LoadingIndicatorTest, AStyleThatNamesNoSubDrawsNothingAndTheLoopGoesOn) {
  CanvasViewsScreen s(Indicator("Spinner", 1000));
  auto& li = *s.owner->li1;
  EXPECT_EQ(li.drawingsubname.str(), "Draw_Spinner");
  s.wait(100);
  auto shown = Shown(li.mbase);
  ASSERT_TRUE(shown);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_EQ(ArgbAt(*shown, x, y), 0u);
  EXPECT_GE(li.mbase.native()->canvasInvalidations(), 10);
  EXPECT_TRUE(s.log.empty());
}

// Arc wedges of radius 45 about (50, 50): which quarters hold ink after the time shown, with
// a cycle of 1000 ms.
TEST(LoadingIndicatorTest, TheProgressComesFromTheClockAndTheArcsFollowIt) {
  struct Case {
    const char* style;
    int64_t ms;
    bool upRight, downRight, downLeft, upLeft;
  } cases[] = {
      {"Arc 1", 250, true, true, false, false},    // 180 degrees clockwise from 12 o'clock
      {"Arc 1", 2500, true, true, true, true},     // 0.5: the full disc
      {"Arc 1", 2750, false, false, true, true},   // eaten clockwise: 180 degrees left of 12
      {"Arc 1", 2875, false, false, false, true},  // 90 degrees back from 12 o'clock
      {"Arc 2", 250, true, true, false, false},
      {"Arc 2", 2750, true, true, false, false},  // the end edge turns back: 180 clockwise
      {"Arc 2", 2875, true, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.style) + " at " + std::to_string(c.ms));
    CanvasViewsScreen s(Indicator(c.style, 1000));
    s.wait(c.ms);
    auto shown = Shown(s.owner->li1->mbase);
    EXPECT_EQ(Inked(*shown, 65, 35), c.upRight);
    EXPECT_EQ(Inked(*shown, 65, 65), c.downRight);
    EXPECT_EQ(Inked(*shown, 35, 65), c.downLeft);
    EXPECT_EQ(Inked(*shown, 35, 35), c.upLeft);
    EXPECT_FALSE(Inked(*shown, 97, 50)) << "outside the radius";
  }
}

TEST(LoadingIndicatorTest, TheOtherStylesAtKnownProgress) {
  CanvasViewsScreen s(Indicator("PacMan", 1000));
  auto& li = *s.owner->li1;
  struct Point {
    int x, y;
    bool inked;
  };
  struct Case {
    const char* what;
    void (tm_loadingindicator::*draw)(float);
    float p;
    std::vector<Point> points;
  } cases[] = {
      // Body about (45, 50) of radius 45; the dot (radius 5) starts at x = 95.
      {"pacman closed", &tm_loadingindicator::_draw_pacman, 0, {{75, 50, true}, {20, 50, true}, {95, 50, true}}},
      {"pacman open",
       &tm_loadingindicator::_draw_pacman,
       0.5f,
       {{65, 50, false}, {75, 50, true}, {20, 50, true}, {45, 20, true}}},  // the dot is at x 75 now
      {"pacman closing", &tm_loadingindicator::_draw_pacman, 0.999f, {{75, 50, true}}},
      // Line i at x = 19 i + 2, half-length 10 + 25 + 25 sin(-30 i) about y 50.
      {"five lines",
       &tm_loadingindicator::_draw_fivelines1,
       0,
       {{2, 16, true}, {2, 13, false}, {21, 29, true}, {21, 26, false}, {11, 50, false}}},
      // Dots 7 in radius, 25 from the centre: the first at 6 o'clock.
      {"three circles 1",
       &tm_loadingindicator::_draw_threecircles1,
       0,
       {{50, 75, true}, {50, 50, false}, {71, 38, true}}},
      // s = 9: dots at x 14, 46 and 78.
      {"three circles 2",
       &tm_loadingindicator::_draw_threecircles2,
       0,
       {{14, 50, true}, {30, 50, false}, {46, 50, true}}},
      {"single circle empty", &tm_loadingindicator::_draw_singlecircle, 0, {{50, 50, false}}},
  };
  for (const auto& c : cases) {
    auto b = Drawn(li, c.draw, c.p);
    for (const auto& pt : c.points) EXPECT_EQ(Inked(*b, pt.x, pt.y), pt.inked) << c.what << " " << pt.x << "," << pt.y;
  }
  // Three layers of alpha 127 at p = 0.5: 1 - (1 - 127/255)^3 of the colour.
  auto b = Drawn(li, &tm_loadingindicator::_draw_singlecircle, 0.5f);
  double expected = 255 * (1 - std::pow(1 - 127 / 255.0, 3));
  EXPECT_NEAR(static_cast<double>(ArgbAt(*b, 50, 50) >> 24), expected, 2);
  EXPECT_EQ(ArgbAt(*b, 50, 78) >> 24, 0u) << "beyond radius 25";
}

TEST(LoadingIndicatorTest, SetAlphaReplacesTheTopByte) {
  CanvasViewsScreen s(Indicator("Arc 1", 1000));
  auto& li = *s.owner->li1;
  struct Case {
    uint32_t color;
    int alpha;
    uint32_t expected;
  } cases[] = {{0xFF123456, 128, 0x80123456},
               {0x00ABCDEF, 255, 0xFFABCDEF},
               {0xFFFFFFFF, 0, 0x00FFFFFF},
               {0x7F000001, 55, 0x37000001}};
  for (const auto& c : cases)
    EXPECT_EQ(static_cast<uint32_t>(li._setalpha(static_cast<int32_t>(c.color), c.alpha)), c.expected);
}

TEST(LoadingIndicatorTest, HidingStopsTheLoopAndShowingOrResizingLeavesExactlyOne) {
  CanvasViewsScreen s(Indicator("Arc 1", 1000));
  auto& li = *s.owner->li1;
  auto frames = [&] { return li.mbase.native()->canvasInvalidations(); };
  auto framesIn100ms = [&] {
    int64_t before = frames();
    s.wait(100);
    return frames() - before;
  };
  EXPECT_EQ(framesIn100ms(), 10);
  li._hide();
  EXPECT_FALSE(li.mbase.Visible());
  EXPECT_EQ(framesIn100ms(), 0);
  li._show();
  li._show();
  EXPECT_TRUE(li.mbase.Visible());
  EXPECT_EQ(framesIn100ms(), 10);
  li.mbase.setWidth(60);  // raises the base panel's resize
  EXPECT_EQ(li.cvs.TargetRect().Width(), 60);
  EXPECT_EQ(framesIn100ms(), 10);
  li._hide();
  li._show();
  li._hide();
  EXPECT_EQ(framesIn100ms(), 0);
}

TEST(LoadingIndicatorTest, ACycleOfNoLengthShowsTheFirstPictureStill) {
  for (int duration : {0, -100}) {
    CanvasViewsScreen s(Indicator("PacMan", duration));
    auto& li = *s.owner->li1;
    s.wait(30);
    auto first = Shown(li.mbase);
    s.wait(470);
    EXPECT_TRUE(SamePicture(*first, *Shown(li.mbase)));
    EXPECT_TRUE(SamePicture(*first, *Drawn(li, &tm_loadingindicator::_draw_pacman, 0)));
  }
}

TEST(LoadingIndicatorTest, TinyIndicatorsDrawNothingWhereTheirRadiusIsGone) {
  for (const char* style :
       {"Arc 1", "Arc 2", "Five Lines 1", "PacMan", "Single Circle", "Three Circles 1", "Three Circles 2"}) {
    CanvasViewsScreen s(Indicator(style, 1000, 8));
    EXPECT_NO_THROW(s.wait(500)) << style;
    EXPECT_EQ(s.owner->li1->cvs.TargetRect().Width(), 8);
  }
  CanvasViewsScreen s(Indicator("Arc 1", 1000, 8));
  s.wait(250);
  auto shown = Shown(s.owner->li1->mbase);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(ArgbAt(*shown, x, y), 0u);
}

TEST(LoadingIndicatorTest, TheBasePanelLeadsToTheIndicatorAndALayoutMustGiveEveryProperty) {
  CanvasViewsScreen s(Indicator("Arc 1", 1000));
  EXPECT_EQ(s.owner->li1->mbase.Tag().As<tm_loadingindicator>(), s.owner->li1);
  EXPECT_EQ(s.owner->li1->clr, static_cast<int32_t>(kRed));
  EXPECT_THROW(CanvasViewsScreen(R"({"name": "li1", "type": "CustomView", "class": "tm_loadingindicator",
                                     "frame": [0, 0, 50, 50], "props": {"Color": "#FFFF0000", "IndicatorStyle": "Arc 1"}})"),
               LayoutError);
  // On the screen: the indicator's picture over the white background.
  s.wait(250);
  auto pic = s.picture("loadingindicator");
  EXPECT_EQ(ArgbAt(*pic, 10 + 75, 10 + 52), kRed);
  EXPECT_EQ(ArgbAt(*pic, 10 + 25, 10 + 48), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace tmr
