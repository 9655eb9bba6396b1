// The anti-aliased edge pixel painter, the edge tracers' columns and the point routines.
#include <limits>

#include "tests/bitmap/BitmapTestSupport.h"

namespace tmr::testing {
namespace {

class EdgeTest : public BitmapTest {};

TEST_F(EdgeTest, CoverageThresholds) {
  auto bc = make(6, 1);
  auto white = bc->_createbrushfromcolor(-1);
  bc->_drawantialiasborder(0, 0, 0.05f, white, true);
  bc->_drawantialiasborder(1, 0, 0.95f, white, true);
  bc->_drawantialiasborder(2, 0, 0.5f, white, true);
  bc->_drawantialiasborder(3, 0, 0.9f, white, true);  // 0.9f is below the double 0.9: partial
  bc->_drawantialiasborder(4, 0, 0.1f, white, true);  // 0.1f is above the double 0.1
  bc->_drawantialiasborder(5, 0, std::numeric_limits<float>::quiet_NaN(), white, true);
  EXPECT_EQ(px(bc, 0, 0), kClear);
  EXPECT_EQ(px(bc, 1, 0), kWhite);
  EXPECT_EQ(px(bc, 2, 0), (Pixel{127, 127, 127, 127}));
  EXPECT_EQ(px(bc, 3, 0), (Pixel{229, 229, 229, 229}));
  EXPECT_EQ(px(bc, 4, 0), (Pixel{25, 25, 25, 25}));
  EXPECT_EQ(px(bc, 5, 0), kClear);
}

TEST_F(EdgeTest, PartialPixelsBlendOverWhatIsBeneathUnlessTheBrushSaysOtherwise) {
  auto bc = make(2, 1);
  fill(bc, Pixel{255, 0, 0, 255});
  auto white = bc->_createbrushfromcolor(-1);
  bc->_drawantialiasborder(0, 0, 0.5f, white, false);
  // 127 + k × D with k = float(1 - 127/255.0)
  EXPECT_EQ(px(bc, 0, 0), (Pixel{255, 127, 127, 255}));
  white->BlendBorders = false;
  bc->_drawantialiasborder(1, 0, 0.5f, white, false);
  EXPECT_EQ(px(bc, 1, 0), (Pixel{127, 127, 127, 127}));
}

TEST_F(EdgeTest, PatternBrushEdgesTakeThePatternPixelAtTheOffsets) {
  auto bc = make(5, 5);
  auto pat = make(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) put(pat, x, y, Pixel{40 * x + 20, 100 * y + 50, 0, 200});
  auto brush = bc->_createbrushfrombitmapcreator(pat);
  brush->SrcOffsetX = 1;
  brush->SrcOffsetY = -1;
  bc->_drawantialiasborder(4, 2, 0.5f, brush, true);  // pattern (3 mod 3, 3 mod 2) = (0, 1)
  EXPECT_EQ(px(bc, 4, 2), (Pixel{10, 75, 0, 100}));
  bc->_drawantialiasborder(0, 0, 1.0f, brush, true);  // pattern (-1 mod 3, 1 mod 2) = (2, 1)
  EXPECT_EQ(px(bc, 0, 0), (Pixel{100, 150, 0, 200}));
  brush->BlendBorders = false;
  fill(bc, kWhite);
  bc->_drawantialiasborder(1, 1, 0.5f, brush, true);  // pattern (0, 0), scaled and written
  EXPECT_EQ(px(bc, 1, 1), (Pixel{10, 25, 0, 100}));
}

TEST_F(EdgeTest, EdgePixelsOutsideTheBitmapAreIgnoredEvenWhenNotChecked) {
  auto bc = make(3, 3);
  auto white = bc->_createbrushfromcolor(-1);
  for (auto [x, y] : std::vector<std::pair<int, int>>{{-1, 1}, {3, 1}, {1, -1}, {1, 3}}) {
    bc->_drawantialiasborder(x, y, 1.0f, white, false);
    bc->_drawantialiasborder(x, y, 0.5f, white, true);
  }
  EXPECT_EQ(painted(bc), 0);
}

TEST_F(EdgeTest, SteepLeftEdgeWritesItsColumnAndPaintsPartialPixels) {
  auto bc = make(10, 10);
  bc->_preparecolumns(2);
  auto left = bc->readycolumns[0], right = bc->readycolumns[1];
  auto white = bc->_createbrushfromcolor(-1);
  // From (2.5, 1) to (4.5, 9): one step per row, x grows by 0.25 per row.
  bc->_drawwuline(2.5f, 1, 4.5f, 9, false, true, left, right, white, true);
  for (int y = 1; y <= 9; ++y) {
    float p = 2.5f + 0.25f * static_cast<float>(y - 1);
    EXPECT_FLOAT_EQ(left->at(y), p) << y;
    int ip = static_cast<int>(p);
    float cov = 1 - (p - static_cast<float>(ip));
    EXPECT_EQ(alpha(bc, ip, y), static_cast<int>(255 * cov)) << y;
  }
  EXPECT_FLOAT_EQ(right->at(5), 0);
}

TEST_F(EdgeTest, ArcColumnsStayEmptyOutsideTheArc) {
  auto bc = make(30, 30);
  bc->_preparecolumns(2);
  auto left = bc->readycolumns[0], right = bc->readycolumns[1];
  for (auto& v : left->Values) v = -5;
  for (auto& v : right->Values) v = -5;
  bc->_drawwuarc(15, 15, 8, false, false, left, right, bc->_createbrushfromcolor(-1), 0, 90);
  for (int y = 0; y < 30; ++y) {
    EXPECT_EQ(left->at(y), -5) << y;
    if (y < 15 || y > 23) {
      EXPECT_EQ(right->at(y), -5) << y;
    }
  }
  EXPECT_EQ(right->at(15), 23);
  EXPECT_EQ(right->at(23), 15);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      if (alpha(bc, x, y) != 0) {
        EXPECT_TRUE(x >= 15 && y >= 15) << x << "," << y;
      }
}

TEST_F(EdgeTest, OrientationOfThreePoints) {
  auto bc = make(1, 1);
  std::vector<float> xs{0, 1, 0, 2}, ys{0, 0, 1, 2};
  EXPECT_EQ(bc->_corientation(xs, ys, 0, 1, 2), 1);
  EXPECT_EQ(bc->_corientation(xs, ys, 0, 2, 1), -1);
  std::vector<float> lx{0, 1, 2}, ly{0, 1, 2};
  EXPECT_EQ(bc->_corientation(lx, ly, 0, 1, 2), 0);
  EXPECT_FLOAT_EQ(bc->_crossproductz(xs, ys, 1, 3), 2);
}

TEST_F(EdgeTest, SortingPutsFourCornersInCounterClockwiseScreenOrder) {
  auto bc = make(1, 1);
  const std::array<std::array<float, 2>, 4> square{{{0, 0}, {0, 10}, {10, 10}, {10, 0}}};
  std::array<int, 4> idx{0, 1, 2, 3};
  int orders = 0;
  do {
    std::vector<float> xs, ys;
    for (int i : idx) xs.push_back(square[static_cast<size_t>(i)][0]), ys.push_back(square[static_cast<size_t>(i)][1]);
    bc->_sortpoints(xs, ys);
    EXPECT_LT(bc->_corientation(xs, ys, 0, 1, 2), 0);
    EXPECT_LT(bc->_corientation(xs, ys, 0, 2, 3), 0);
    ++orders;
  } while (std::next_permutation(idx.begin(), idx.end()));
  EXPECT_EQ(orders, 24);
}

TEST_F(EdgeTest, ClippingIsNeededNearTheBorder) {
  auto bc = make(100, 100);
  auto check = [&](float x, float y) {
    std::vector<float> xs{50, x}, ys{50, y};
    return bc->_shouldcheckbounds(xs, ys);
  };
  EXPECT_FALSE(check(1, 1));
  EXPECT_FALSE(check(98.9f, 50));
  EXPECT_TRUE(check(0.5f, 50));
  EXPECT_TRUE(check(99, 50));
  EXPECT_TRUE(check(50, 99));
  EXPECT_TRUE(check(50, 0.99f));
}

TEST_F(EdgeTest, ColumnsAndThePool) {
  auto bc = make(4, 6);
  auto col = bc->_createcolumn(2, 5);
  EXPECT_TRUE(col->IsInitialized);
  EXPECT_EQ(col->Values, (std::vector<float>{0, 0, 0}));
  EXPECT_EQ(bc->_createcolumn(5, 2)->Values.size(), 0u);
  bc->_preparecolumns(3);
  ASSERT_EQ(bc->readycolumns.size(), 3u);
  auto first = bc->readycolumns[0];
  bc->_preparecolumns(2);
  EXPECT_EQ(bc->readycolumns.size(), 3u);
  EXPECT_EQ(bc->readycolumns[0], first);
  EXPECT_EQ(first->StartY, 0);
  EXPECT_EQ(first->EndY, 6);
}

TEST_F(EdgeTest, LogPointsWritesOneLine) {
  auto bc = make(1, 1);
  std::vector<float> xs{1.26f, 20}, ys{3, 4.5f};
  bc->_logpoints(String("quad"), xs, ys);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "quad,  0: 1.3x3,  1: 20x4.5");
}

}  // namespace
}  // namespace tmr::testing
