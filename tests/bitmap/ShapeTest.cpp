// Rectangles, rounded rectangles, circles, rings, lines and arcs.
#include <cmath>
#include <limits>

#include "tests/bitmap/BitmapTestSupport.h"

namespace tmr::testing {
namespace {

using Map = std::vector<std::vector<int>>;

class ShapeTest : public BitmapTest {
 protected:
  std::shared_ptr<_bcbrush> white(const std::shared_ptr<tm_bitmapcreator>& bc) { return bc->_createbrushfromcolor(-1); }
  // The alpha map of a w × h bitmap where the rectangle x0..x1 × y0..y1 (inclusive) is 255.
  static Map box(int w, int h, int x0, int y0, int x1, int y1) {
    Map m(static_cast<size_t>(h), std::vector<int>(static_cast<size_t>(w), 0));
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) m[static_cast<size_t>(y)][static_cast<size_t>(x)] = 255;
    return m;
  }
  // Every painted pixel satisfies the predicate.
  template <class P>
  static bool allPainted(const std::shared_ptr<tm_bitmapcreator>& bc, P pred) {
    for (int y = 0; y < bc->mheight; ++y)
      for (int x = 0; x < bc->mwidth; ++x)
        if (alpha(bc, x, y) != 0 && !pred(x, y)) return false;
    return true;
  }
  static constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  static constexpr float kInf = std::numeric_limits<float>::infinity();
};

// --- Rectangles ------------------------------------------------------------------------------

TEST_F(ShapeTest, FilledRectangleCoversTruncatedColumnsWithColourAndPatternBrushes) {
  auto bc = make(12, 6);
  bc->_drawrect(Rect(2.7f, 1, 10.3f, 4), -1, true, 0);
  EXPECT_EQ(alphaMap(bc), box(12, 6, 2, 1, 9, 3));
  auto pat = make(3, 3);
  fill(pat, Pixel{1, 2, 3, 255});
  auto bc2 = make(12, 6);
  bc2->_drawrect2(Rect(2.7f, 1, 10.3f, 4), bc2->_createbrushfrombitmapcreator(pat), true, 0);
  EXPECT_EQ(alphaMap(bc2), box(12, 6, 2, 1, 9, 3));
}

TEST_F(ShapeTest, OutlinedRectangleKeepsItsStrokeInside) {
  auto bc = make(10, 10);
  bc->_drawrect(Rect(0, 0, 10, 10), -1, false, 2);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      bool stroke = y < 2 || y > 7 || x < 2 || x > 7;
      EXPECT_EQ(alpha(bc, x, y), stroke ? 255 : 0) << x << "," << y;
    }
}

TEST_F(ShapeTest, RectangleOverTheLeftEdgeShowsOnlyTheVisiblePartOfItsLeftStroke) {
  auto thin = make(20, 30);
  thin->_drawrect(Rect(-5, 0, 18, 30), -1, false, 3);
  auto thick = make(20, 30);
  thick->_drawrect(Rect(-5, 0, 18, 30), -1, false, 8);
  std::vector<int> thinRow, thickRow;
  for (int x = 0; x < 20; ++x) thinRow.push_back(alpha(thin, x, 15)), thickRow.push_back(alpha(thick, x, 15));
  EXPECT_EQ(thinRow, (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 0, 0}));
  EXPECT_EQ(thickRow,
            (std::vector<int>{255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 0, 0}));
}

TEST_F(ShapeTest, EmptyInvertedAndNonFiniteRectanglesDrawNothing) {
  auto bc = make(10, 10);
  for (bool filled : {true, false}) {
    for (Rect r : {Rect(6, 2, 2, 8), Rect(2, 8, 6, 2), Rect(3, 3, 3, 9), Rect(kNaN, 0, 5, 5), Rect(0, 0, kInf, 5),
                   Rect(-kInf, 0, 5, 5), Rect(10, 0, 20, 5), Rect(0, -9, 5, -1)}) {
      bc->_drawrect(r, -1, filled, 2);
      bc->_drawrectrounded(r, -1, filled, 2, 3);
    }
  }
  // Outlines with a negative stroke.
  bc->_drawrect(Rect(1, 1, 9, 9), -1, false, -2);
  bc->_drawrectrounded(Rect(1, 1, 9, 9), -1, false, -2, 3);
  EXPECT_EQ(painted(bc), 0);
}

TEST_F(ShapeTest, AStrokeWiderThanTheRectangleStaysInsideIt) {
  auto bc = make(20, 40);
  bc->_drawrect(Rect(2, 0, 6, 40), -1, false, 10);
  EXPECT_EQ(alphaMap(bc), box(20, 40, 2, 0, 5, 39));
  auto flat = make(20, 20);
  flat->_drawrect(Rect(0, 5, 20, 8), -1, false, 10);
  EXPECT_EQ(alphaMap(flat), box(20, 20, 0, 5, 19, 7));
}

TEST_F(ShapeTest, RectanglesClipToTheBitmap) {
  auto bc = make(8, 8);
  bc->_drawrect(Rect(-10, -10, 5, 5), -1, true, 0);
  EXPECT_EQ(alphaMap(bc), box(8, 8, 0, 0, 4, 4));
  auto all = make(8, 8);
  all->_drawrect(Rect(-1e9f, -1e9f, 1e9f, 1e9f), -1, true, 0);
  EXPECT_EQ(painted(all), 64);
  auto ring = make(8, 8);
  ring->_drawrect(Rect(-1e9f, 2, 1e9f, 6), -1, false, 1);
  EXPECT_EQ(alphaMap(ring), [&] {
    Map m = box(8, 8, 0, 2, 7, 2);
    m[5] = std::vector<int>(8, 255);
    return m;
  }());
}

TEST_F(ShapeTest, FillRectReplacesWithTheColour) {
  auto bc = make(4, 3);
  fill(bc, kWhite);
  bc->_fillrect(static_cast<int32_t>(0x80FF0000), bc->targetrect);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(px(bc, x, y), (Pixel{128, 0, 0, 128}));
}

// --- Rounded rectangles ------------------------------------------------------------------------

TEST_F(ShapeTest, FilledRoundedRectangleBandsAndCornerPixels) {
  auto bc = make(20, 10);
  auto brush = bc->_drawrectrounded(Rect(0, 0, 20, 10), -1, true, 0, 3);
  EXPECT_TRUE(brush->IsColorSource);
  std::vector<int> edge(20, 0), near(20, 255);
  for (int x = 2; x <= 17; ++x) edge[static_cast<size_t>(x)] = 255;
  // The corner pixels have coverage sqrt(3) - 1 = 0.7320508: 255 × 0.7320508 = 186.67.
  edge[1] = edge[18] = 186;
  near[0] = near[19] = 186;
  Map want(10, std::vector<int>(20, 255));
  want[0] = want[9] = edge;
  want[1] = want[8] = near;
  EXPECT_EQ(alphaMap(bc), want);
  EXPECT_EQ(px(bc, 1, 0), (Pixel{186, 186, 186, 186}));
}

TEST_F(ShapeTest, RoundedRectangleRadiusRules) {
  auto plain = make(30, 20), zero = make(30, 20);
  plain->_drawrect(Rect(3, 2, 25, 17), -1, false, 2);
  zero->_drawrectrounded(Rect(3, 2, 25, 17), -1, false, 2, 0);
  EXPECT_EQ(bytes(zero), bytes(plain));
  auto big = make(30, 20), half = make(30, 20);
  big->_drawrectrounded(Rect(3, 2, 25, 12), -1, true, 0, 100);
  half->_drawrectrounded(Rect(3, 2, 25, 12), -1, true, 0, 5);
  EXPECT_EQ(bytes(big), bytes(half));
  // A rectangle one pixel wide has no room for a corner: it is a plain rectangle.
  auto thin = make(5, 12);
  thin->_drawrectrounded(Rect(0, 0, 1, 10), -1, true, 0, 5);
  EXPECT_EQ(alphaMap(thin), box(5, 12, 0, 0, 0, 9));
}

TEST_F(ShapeTest, RoundedOutlineWithAStrokeWiderThanTheCornerKeepsItsHole) {
  auto bc = make(40, 20);
  bc->_drawrectrounded(Rect(0, 0, 40, 20), -1, false, 5, 3);
  for (int y = 5; y < 15; ++y)
    for (int x = 5; x < 35; ++x) ASSERT_EQ(alpha(bc, x, y), 0) << x << "," << y;
  for (int y = 0; y < 20; ++y)
    for (int x = 3; x < 37; ++x)
      if (y < 5 || y >= 15 || x < 5 || x >= 35) {
        ASSERT_EQ(alpha(bc, x, y), 255) << x << "," << y;
      }
  EXPECT_EQ(alpha(bc, 0, 10), 255);
  EXPECT_EQ(alpha(bc, 39, 10), 255);
  EXPECT_EQ(alpha(bc, 0, 0), 0);  // the outer corners stay round
}

// --- Circles ---------------------------------------------------------------------------------

TEST_F(ShapeTest, FilledCircleEdgePixels) {
  auto bc = make(21, 21);
  bc->_drawcircle(10, 10, 5, -1, true, 0);
  struct Case {
    int x, y, a;
  } cases[] = {
      {14, 10, 255}, {15, 10, 0},  {6, 10, 255}, {5, 10, 0}, {14, 9, 222},  // sqrt(15) = 3.8729835: coverage 0.8729835
      {14, 8, 118},                                                         // sqrt(12) = 3.4641016
      {13, 7, 222},  // coverage 0.6457512 painted twice: 164, then 164 + k × 164
      {12, 6, 118},  {11, 6, 222}, {10, 6, 255}, {10, 5, 0}, {10, 14, 255}, {10, 15, 0}, {12, 14, 118}, {7, 13, 222},
  };
  for (auto k : cases) EXPECT_EQ(alpha(bc, k.x, k.y), k.a) << k.x << "," << k.y;
}

TEST_F(ShapeTest, StrokeAsWideAsTheRadiusDrawsADisc) {
  auto disc = make(30, 30), thick = make(30, 30), thicker = make(30, 30);
  disc->_drawcircle(15, 15, 9.6f, -1, true, 0);
  thick->_drawcircle(15, 15, 9.6f, -1, false, 10);
  thicker->_drawcircle(15, 15, 9.6f, -1, false, 40);
  EXPECT_EQ(bytes(thick), bytes(disc));
  EXPECT_EQ(bytes(thicker), bytes(disc));
}

TEST_F(ShapeTest, RingRowThroughTheCentre) {
  auto bc = make(41, 41);
  bc->_drawcircle(20, 20, 10, -1, false, 2);
  std::vector<int> row;
  for (int x = 9; x <= 31; ++x) row.push_back(alpha(bc, x, 20));
  std::vector<int> want(23, 0);
  for (int x : {11, 12, 28, 29}) want[static_cast<size_t>(x - 9)] = 255;
  EXPECT_EQ(row, want);
  EXPECT_EQ(alpha(bc, 20, 20), 0);
  EXPECT_EQ(alpha(bc, 20, 11), 255);
}

TEST_F(ShapeTest, CircleCentreIsRoundedHalfToEven) {
  auto a = make(20, 20), b = make(20, 20);
  a->_drawcircle(8.5f, 8.5f, 3.5f, -1, true, 0);  // centre 8, radius 4
  b->_drawcircle(8, 8, 4, -1, true, 0);
  EXPECT_EQ(bytes(a), bytes(b));
}

TEST_F(ShapeTest, CirclesClipAndHugeOnesCostNoMoreThanTheBitmap) {
  auto bc = make(50, 50);
  bc->_drawcircle(0, 0, 1e9f, -1, true, 0);
  EXPECT_EQ(painted(bc), 2500);
  auto ring = make(50, 50);
  ring->_drawcircle(25, 25, 3e9f, -1, false, 5);
  ring->_drawcircle(-1e30f, 4e30f, 2e30f, -1, false, 5);
  EXPECT_EQ(painted(ring), 0);
  auto edge = make(20, 20);
  edge->_drawcircle(0, 10, 6, -1, true, 0);
  EXPECT_EQ(alpha(edge, 0, 10), 255);
  EXPECT_EQ(alpha(edge, 5, 10), 255);
  EXPECT_EQ(alpha(edge, 7, 10), 0);
}

TEST_F(ShapeTest, NonFiniteOrNegativeCirclesAndOutlineStrokesDrawNothing) {
  auto bc = make(20, 20);
  bc->_drawcircle(kNaN, 5, 3, -1, true, 0);
  bc->_drawcircle(5, kInf, 3, -1, true, 0);
  bc->_drawcircle(5, 5, kNaN, -1, true, 0);
  bc->_drawcircle(5, 5, -4, -1, true, 0);
  bc->_drawcircle(10, 10, 5, -1, false, -3);
  bc->_drawarc(10, 10, 5, -1, false, -3, 0, 90);
  EXPECT_EQ(painted(bc), 0);
  bc->_drawcircle(10, 10, 5, -1, true, -3);  // a filled circle ignores its stroke
  EXPECT_GT(painted(bc), 50);
}

TEST_F(ShapeTest, RadiusZeroTraceWritesHalfWidthZeroAndPaintsTheCentre) {
  for (bool inner : {false, true}) {
    auto bc = make(5, 5);
    bc->_preparecolumns(1);
    auto col = bc->readycolumns[0];
    col->at(2) = 7;
    bc->_drawwucircle(2, 2, 0, true, inner, col, white(bc), 0, 0, 0, 0);
    EXPECT_EQ(col->at(2), 0);
    EXPECT_EQ(alpha(bc, 2, 2), 255);
    EXPECT_EQ(painted(bc), 1);
  }
}

// --- Lines -----------------------------------------------------------------------------------

TEST_F(ShapeTest, HorizontalLineOfStrokeTwoCoversThreeRows) {
  auto bc = make(12, 12);
  auto brush = bc->_drawline(0, 5, 10, 5, -1, 2);
  EXPECT_TRUE(brush->IsColorSource);
  EXPECT_EQ(alphaMap(bc), box(12, 12, 0, 4, 10, 6));
  auto one = make(12, 12);
  one->_drawline(0, 5, 10, 5, -1, 1);  // both bounding rows are included
  EXPECT_EQ(alphaMap(one), box(12, 12, 0, 4, 10, 6));
}

TEST_F(ShapeTest, LineCornersRunCounterClockwise) {
  auto bc = make(1, 1);
  std::array<float, 4> px{}, py{};
  ASSERT_TRUE(bc->_calclinepoints(0, 5, 10, 5, 2, px, py));
  EXPECT_EQ(px, (std::array<float, 4>{0, 0, 10, 10}));
  EXPECT_EQ(py, (std::array<float, 4>{4, 6, 6, 4}));
  EXPECT_LT(bc->_corientation(px, py, 0, 1, 2), 0);
  EXPECT_FALSE(bc->_calclinepoints(3, 3, 3, 3, 2, px, py));
  ASSERT_TRUE(bc->_calclinepoints(0, 0, 3, 4, 10, px, py));
  // a = atan2(4, 3); the offsets are 5 × sin a = 4 and 5 × cos a = 3.
  EXPECT_FLOAT_EQ(px[0], 4);
  EXPECT_FLOAT_EQ(py[0], -3);
}

TEST_F(ShapeTest, LinesInEveryDirectionFillTheirQuadrilateral) {
  for (auto [x1, y1, x2, y2] : std::vector<std::array<float, 4>>{
           {5, 5, 35, 20}, {35, 20, 5, 5}, {5, 20, 35, 5}, {35, 5, 5, 20}, {20, 2, 22, 38}, {22, 38, 20, 2}}) {
    auto bc = make(40, 40);
    bc->_drawline(x1, y1, x2, y2, -1, 4);
    int mx = static_cast<int>((x1 + x2) / 2), my = static_cast<int>((y1 + y2) / 2);
    EXPECT_EQ(alpha(bc, mx, my), 255) << x1 << "," << y1 << " -> " << x2 << "," << y2;
    EXPECT_GT(painted(bc), 80);
    EXPECT_LT(painted(bc), 260);
    EXPECT_EQ(alpha(bc, 0, 39), 0);
    EXPECT_EQ(alpha(bc, 39, 39), 0);
  }
}

TEST_F(ShapeTest, LinesClipAndNonFiniteLinesDrawNothing) {
  auto bc = make(30, 20);
  bc->_drawline(-1e9f, 10, 1e9f, 10, -1, 2);
  EXPECT_EQ(alphaMap(bc), box(30, 20, 0, 9, 29, 11));
  auto none = make(30, 20);
  none->_drawline(kNaN, 1, 5, 5, -1, 2);
  none->_drawline(1, 1, kInf, 5, -1, 2);
  none->_drawline(-50, -50, -10, -60, -1, 3);
  none->_drawline(5, 5, 5, 5, -1, 3);
  EXPECT_EQ(painted(none), 0);
}

// --- Arcs ------------------------------------------------------------------------------------

TEST_F(ShapeTest, FullSweepsDrawTheCircle) {
  auto circle = make(40, 40);
  circle->_drawcircle(20, 20, 12, -1, false, 3);
  for (float sweep : {360.0f, -400.0f, 720.0f}) {
    auto arc = make(40, 40);
    arc->_drawarc(20, 20, 12, -1, false, 3, 33, sweep);
    EXPECT_EQ(bytes(arc), bytes(circle)) << sweep;
  }
}

TEST_F(ShapeTest, QuarterArcTouchesOnlyItsQuarter) {
  auto bc = make(41, 41);
  bc->_drawarc(20, 20, 10, -1, true, 0, 0, 90);
  EXPECT_TRUE(allPainted(bc, [](int x, int y) { return x >= 20 && y >= 20; }));
  EXPECT_EQ(alpha(bc, 23, 23), 255);
  EXPECT_EQ(alpha(bc, 20, 25), 255);
  EXPECT_EQ(alpha(bc, 25, 20), 255);
  EXPECT_GT(painted(bc), 60);
  bc->_preparecolumns(4);
  for (int y = 10; y < 20; ++y) EXPECT_LT(bc->readycolumns[3]->at(y), -1) << y;  // no edge above the centre
}

TEST_F(ShapeTest, HalfArcThroughZeroDegreesIsTheRightHalf) {
  auto bc = make(41, 41);
  bc->_drawarc(20, 20, 10, -1, true, 0, -90, 180);
  EXPECT_TRUE(allPainted(bc, [](int x, int) { return x >= 20; }));
  for (auto [x, y] : std::vector<std::pair<int, int>>{{25, 15}, {25, 25}, {28, 20}, {21, 12}, {21, 28}})
    EXPECT_EQ(alpha(bc, x, y), 255) << x << "," << y;
  auto same = make(41, 41);
  same->_drawarc(20, 20, 10, -1, true, 0, 270, 180);
  EXPECT_EQ(bytes(same), bytes(bc));
}

TEST_F(ShapeTest, NegativeSweepDrawsTheSameArcBackwards) {
  auto fwd = make(41, 41), back = make(41, 41);
  fwd->_drawarc(20, 20, 10, -1, false, 3, 30, 100);
  back->_drawarc(20, 20, 10, -1, false, 3, 130, -100);
  EXPECT_EQ(bytes(back), bytes(fwd));
  EXPECT_GT(painted(fwd), 30);
}

TEST_F(ShapeTest, ArcsThatWrapJustPastAFullTurnEnd) {
  for (float start : {0.1f, 0.3f, 0.4f, 0.8f, 1.3f, 45.7f, 127.9f, 359.9f}) {
    for (float sweep : {359.8f, 359.9f, 359.99f, -359.8f}) {
      auto bc = make(30, 30);
      bc->_drawarc(15, 15, 10, -1, true, 0, start, sweep);
      EXPECT_GT(painted(bc), 250) << start << " " << sweep;
    }
  }
}

TEST_F(ShapeTest, ArcsReachingTheLeftBorderFillColumnZero) {
  auto bc = make(40, 40);
  bc->_drawarc(2, 20, 10, -1, true, 0, 90, 180);
  for (int y : {15, 18, 20, 22, 25}) EXPECT_EQ(alpha(bc, 0, y), 255) << y;
  EXPECT_TRUE(allPainted(bc, [](int x, int) { return x <= 2; }));
  auto ring = make(40, 40);
  ring->_drawarc(8, 20, 10, -1, false, 4, 100, 160);
  EXPECT_EQ(alpha(ring, 0, 20), 255);
  EXPECT_EQ(alpha(ring, 1, 20), 255);
  EXPECT_EQ(alpha(ring, 3, 20), 0);
}

TEST_F(ShapeTest, ArcsWithNothingToDrawAndHugeArcs) {
  auto bc = make(30, 30);
  bc->_drawarc(15, 15, 10, -1, true, 0, 40, 0);
  bc->_drawarc(15, 15, 10, -1, true, 0, kNaN, 90);
  bc->_drawarc(15, 15, 10, -1, true, 0, 0, kInf);
  bc->_drawarc(-100, 15, 10, -1, true, 0, 0, 90);
  EXPECT_EQ(painted(bc), 0);
  bc->_drawarc(0, 0, 2e9f, -1, true, 0, 0, 90);
  EXPECT_EQ(painted(bc), 900);
}

}  // namespace
}  // namespace tmr::testing
