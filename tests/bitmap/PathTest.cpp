// Paths: building, preparation for filling, filling and stroking.
#include <cmath>
#include <limits>

#include "tests/bitmap/BitmapTestSupport.h"

namespace tmr::testing {
namespace {

using Map = std::vector<std::vector<int>>;

class PathTest : public BitmapTest {
 protected:
  std::shared_ptr<tm_bcpath> path(std::vector<std::pair<float, float>> pts) {
    auto p = std::make_shared<tm_bcpath>();
    p->_initialize(ba, pts[0].first, pts[0].second);
    for (size_t i = 1; i < pts.size(); ++i) p->_lineto(pts[i].first, pts[i].second);
    return p;
  }
  static std::vector<std::pair<float, float>> coords(const tm_bcpath& p) {
    std::vector<std::pair<float, float>> v;
    for (const auto& pt : p.points) v.emplace_back(pt->X, pt->Y);
    return v;
  }
  static Map box(int w, int h, int x0, int y0, int x1, int y1) {
    Map m(static_cast<size_t>(h), std::vector<int>(static_cast<size_t>(w), 0));
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) m[static_cast<size_t>(y)][static_cast<size_t>(x)] = 255;
    return m;
  }
  std::shared_ptr<tm_bitmapcreator> filled(int w, int h, const std::shared_ptr<tm_bcpath>& p) {
    auto bc = make(w, h);
    bc->_drawpath(p, -1, true, 0);
    return bc;
  }
};

TEST_F(PathTest, OnlyARepeatedSingleStartPointIsSkipped) {
  auto p = std::make_shared<tm_bcpath>();
  EXPECT_EQ(p->_initialize(ba, 10, 10), p);
  EXPECT_EQ(p->_lineto(10, 10), p);
  EXPECT_EQ(p->points.size(), 1u);
  p->_lineto(20, 10);
  p->_lineto(20, 10);
  EXPECT_EQ(p->points.size(), 3u);
  p->_prepareforfilling();
  EXPECT_TRUE(p->dataready);
  p->_removelastpoint();
  EXPECT_FALSE(p->dataready);
  p->_reset(1, 2);
  EXPECT_EQ(coords(*p), (std::vector<std::pair<float, float>>{{1, 2}}));
  p->_removelastpoint();
  p->_removelastpoint();  // an empty path stays empty
  EXPECT_TRUE(p->points.empty());
  p->_prepareforfilling();
  EXPECT_TRUE(p->points.empty());
}

TEST_F(PathTest, PreparationClosesThePathAndFindsItsOrientation) {
  auto cw = path({{0, 0}, {10, 0}, {10, 10}});
  cw->_prepareforfilling();
  EXPECT_EQ(coords(*cw), (std::vector<std::pair<float, float>>{{0, 0}, {10, 0}, {10, 10}, {0, 0}}));
  EXPECT_FALSE(cw->internalcounterclockwise);  // S = -100
  auto ccw = path({{0, 0}, {10, 10}, {10, 0}});
  ccw->_prepareforfilling();
  EXPECT_TRUE(ccw->internalcounterclockwise);
  // Prepared once: a second preparation adds nothing.
  ccw->_prepareforfilling();
  EXPECT_EQ(ccw->points.size(), 4u);
  // An already closed path gets no extra point.
  auto closed = path({{0, 0}, {5, 0}, {5, 5}, {0, 0}});
  closed->_prepareforfilling();
  EXPECT_EQ(closed->points.size(), 4u);
}

TEST_F(PathTest, BoundsSpanAllPoints) {
  auto p = path({{3, 4}, {-2, 9}, {7, 1}});
  Rect b = p->_findboundingrect();
  EXPECT_EQ(b.Left, -2);
  EXPECT_EQ(b.Top, 1);
  EXPECT_EQ(b.Right, 7);
  EXPECT_EQ(b.Bottom, 9);
}

TEST_F(PathTest, ChainsSplitTheOutlineWhereItTurnsBetweenUpAndDown) {
  // Counter-clockwise on screen: down the left side, along the bottom, up the right, back.
  auto p = path({{10, 10}, {10, 20}, {30, 20}, {30, 10}});
  p->_prepareforfilling();
  ASSERT_TRUE(p->internalcounterclockwise);
  const auto& ch = p->chains();
  ASSERT_EQ(ch.size(), 5u);
  EXPECT_EQ(ch[0], nullptr);
  EXPECT_EQ(ch[1], ch[2]) << "the bottom edge continues the descending chain";
  EXPECT_NE(ch[3], ch[2]);
  EXPECT_EQ(ch[1]->MinY, 10);
  EXPECT_EQ(ch[1]->MaxY, 20);
  EXPECT_EQ(ch[3]->MinY, 10);
  EXPECT_EQ(ch[3]->MaxY, 20);
  EXPECT_EQ(ch[4]->MinY, ch[4]->MaxY) << "the closing top edge is a chain of its own";
  EXPECT_EQ(p->points[1]->ColumnData, ch[1]);
}

TEST_F(PathTest, FilledRectanglePathCoversItsCornersWhicheverWayItIsListed) {
  const Map expected = box(40, 30, 10, 10, 30, 20);
  EXPECT_EQ(alphaMap(filled(40, 30, path({{10, 10}, {30, 10}, {30, 20}, {10, 20}}))), expected);
  EXPECT_EQ(alphaMap(filled(40, 30, path({{10, 10}, {10, 20}, {30, 20}, {30, 10}}))), expected);
  EXPECT_EQ(alphaMap(filled(40, 30, path({{30, 20}, {10, 20}, {10, 10}, {30, 10}, {30, 20}}))), expected);
}

TEST_F(PathTest, FilledPathsReachTheFirstAndLastRowsAndColumnsOfTheBitmap) {
  struct Case {
    std::vector<std::pair<float, float>> pts;
    int x0, y0, x1, y1;
  };
  for (const Case& c : std::vector<Case>{
           {{{5, 0}, {15, 0}, {15, 9}, {5, 9}}, 5, 0, 15, 9},        // top and bottom rows
           {{{5, -6}, {15, -6}, {15, 30}, {5, 30}}, 5, 0, 15, 9},    // beyond both
           {{{-10, 2}, {15, 2}, {15, 6}, {-10, 6}}, 0, 2, 15, 6},    // past the left side
           {{{4, 2}, {40, 2}, {40, 6}, {4, 6}}, 4, 2, 19, 6},        // past the right side
           {{{-5, -5}, {30, -5}, {30, 30}, {-5, 30}}, 0, 0, 19, 9},  // the whole bitmap
       }) {
    SCOPED_TRACE(::testing::PrintToString(c.pts));
    EXPECT_EQ(alphaMap(filled(20, 10, path(c.pts))), box(20, 10, c.x0, c.y0, c.x1, c.y1));
  }
}

TEST_F(PathTest, TriangleFillLiesWithinItsOutlineAndIsSymmetric) {
  auto bc = filled(41, 41, path({{20, 2}, {38, 38}, {2, 38}}));
  for (int y = 0; y < 41; ++y)
    for (int x = 0; x < 41; ++x) {
      EXPECT_EQ(alpha(bc, x, y) != 0, alpha(bc, 40 - x, y) != 0) << x << "," << y;
      if (y < 2 || y > 38) {
        EXPECT_EQ(alpha(bc, x, y), 0) << x << "," << y;
      }
    }
  // Deep inside, fully covered; well outside, untouched.
  EXPECT_EQ(alpha(bc, 20, 20), 255);
  EXPECT_EQ(alpha(bc, 20, 37), 255);
  EXPECT_EQ(alpha(bc, 5, 10), 0);
  // Each row is one run of pixels.
  for (int y = 3; y < 38; ++y) {
    int runs = 0;
    for (int x = 0; x < 41; ++x) runs += alpha(bc, x, y) != 0 && (x == 0 || alpha(bc, x - 1, y) == 0);
    EXPECT_EQ(runs, 1) << "row " << y;
  }
}

TEST_F(PathTest, HugeCoordinatesFillOnlyTheBitmap) {
  auto bc = filled(20, 20, path({{-1e9f, -1e9f}, {1e9f, -1e9f}, {1e9f, 1e9f}, {-1e9f, 1e9f}}));
  EXPECT_EQ(painted(bc), 400);
}

TEST_F(PathTest, AClonedPreparedPathFillsLikeItsSourceAndAppendsToItsOwnList) {
  auto src = path({{5, 5}, {25, 8}, {15, 25}});
  auto before = filled(30, 30, src);
  ASSERT_TRUE(src->dataready);
  auto clone = src->_clone();
  EXPECT_NE(clone, src);
  EXPECT_TRUE(clone->dataready);
  ASSERT_EQ(clone->points.size(), src->points.size());
  for (size_t i = 0; i < src->points.size(); ++i) EXPECT_EQ(clone->points[i], src->points[i]);
  EXPECT_EQ(bytes(filled(30, 30, clone)), bytes(before));
  EXPECT_EQ(clone->points.size(), src->points.size()) << "an already prepared clone is not closed again";

  clone->_lineto(2, 28);
  EXPECT_EQ(src->points.size(), 4u);
  EXPECT_EQ(clone->points.size(), 5u);
  // Filling the changed clone prepares it anew over the shared vertex records; the source,
  // still prepared, fills exactly as before.
  auto changed = filled(30, 30, clone);
  EXPECT_NE(bytes(changed), bytes(before));
  EXPECT_EQ(bytes(filled(30, 30, src)), bytes(before));
}

TEST_F(PathTest, FewerThanTwoPointsOrNonFinitePointsDrawNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  auto bc = make(20, 20);
  auto one = path({{5, 5}});
  auto bad = path({{5, 5}, {15, 5}, {nan, 15}});
  for (bool filledPath : {true, false}) {
    bc->_drawpath(one, -1, filledPath, 3);
    bc->_drawpath(bad, -1, filledPath, 3);
  }
  bc->_drawfullpath(one, bc->_createbrushfromcolor(-1));
  bc->_drawpath(nullptr, -1, true, 1);
  EXPECT_EQ(painted(bc), 0);
}

TEST_F(PathTest, StrokedSegmentIsTheThickLine) {
  auto line = make(30, 20);
  line->_drawline(3, 10, 27, 12, -1, 4);
  auto stroked = make(30, 20);
  stroked->_drawpath(path({{3, 10}, {27, 12}}), -1, false, 4);
  EXPECT_EQ(bytes(stroked), bytes(line));
}

TEST_F(PathTest, StrokedCornerIsFilledOnlyWhenConnectionsAreDrawn) {
  auto pts = std::vector<std::pair<float, float>>{{5, 5}, {20, 5}, {20, 25}};
  auto joined = make(30, 30);
  joined->_drawpath(path(pts), -1, false, 6);
  auto open = make(30, 30);
  auto p = path(pts);
  p->drawconnectionsegments = false;
  open->_drawpath(p, -1, false, 6);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x)
      if (alpha(open, x, y) == 255) {
        EXPECT_EQ(alpha(joined, x, y), 255) << x << "," << y;
      }
  // The joint bevels the outer corner, between the end of the first segment and the top of
  // the second; the square corner itself stays open.
  for (auto [x, y] : {std::pair{21, 3}, {22, 4}, {21, 4}}) {
    EXPECT_EQ(alpha(open, x, y), 0) << x << "," << y;
    EXPECT_EQ(alpha(joined, x, y), 255) << x << "," << y;
  }
  EXPECT_EQ(alpha(joined, 22, 2), 0);
  // Repeated points make no joint of their own.
  auto repeated = make(30, 30);
  repeated->_drawpath(path({{5, 5}, {20, 5}, {20, 5}, {20, 25}}), -1, false, 6);
  EXPECT_EQ(bytes(repeated), bytes(joined));
}

TEST_F(PathTest, ColumnSwitchNudgesThePreviousColumnTowardsTheNextOne) {
  struct Case {
    float prevAtNeighbour, nextAtNeighbour;
    int y1, y2;
    float expected;
  };
  for (const Case& c : std::vector<Case>{
           {10, 30, 5, 9, 9.99f},   // next lies to the right: nudged left
           {30, 10, 5, 9, 10.01f},  // next lies to the left: nudged right
           {10, 10, 5, 9, 10},      // level: left alone
           {10, 30, 5, 1, 9.99f},   // the neighbour row is above when Y2 is above
           {10, 30, 0, -5, 10},     // the neighbour above row 0 is outside the columns
           {10, 30, 9, 20, 10},     // so is the one below the last row
       }) {
    auto bc = make(10, 10);
    auto p = bc->_createcolumn(0, 10), n = bc->_createcolumn(0, 10);
    for (int y = 0; y < 10; ++y) p->at(y) = 10;
    const int nb = c.y1 < c.y2 ? c.y1 + 1 : c.y1 - 1;
    if (nb >= 0 && nb < 10) {
      p->at(nb) = c.prevAtNeighbour;
      n->at(nb) = c.nextAtNeighbour;
    }
    bc->_columnswitchimpl(p, n, c.y1, c.y2);
    EXPECT_FLOAT_EQ(p->at(c.y1), c.expected) << c.y1 << " → " << c.y2;
  }
}

}  // namespace
}  // namespace tmr::testing
