// Linear, concentric and radial gradients.
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tests/bitmap/BitmapTestSupport.h"

namespace tmr::testing {
namespace {

constexpr int32_t kBlack = static_cast<int32_t>(0xFF000000u);
constexpr int32_t kWhiteC = -1;
constexpr int32_t kRed = static_cast<int32_t>(0xFFFF0000u);
constexpr int32_t kBlue = static_cast<int32_t>(0xFF0000FFu);
constexpr int32_t kHalfBlack = static_cast<int32_t>(0x80000000u);

class GradientTest : public BitmapTest {
 protected:
  static Pixel grey(int v) { return {v, v, v, 255}; }
  // Draws a linear gradient of the given orientation, or the radial one for "RADIAL".
  static void fill(const std::shared_ptr<tm_bitmapcreator>& bc, const std::vector<int32_t>& colours, const Rect& r,
                   const std::string& kind) {
    if (kind == "RADIAL") {
      bc->_fillradialgradient(colours, r);
    } else {
      bc->_fillgradient(colours, r, kind);
    }
  }
};

constexpr const char* kEveryFill[] = {"LEFT_RIGHT", "RIGHT_LEFT", "TOP_BOTTOM", "BOTTOM_TOP", "TL_BR",
                                      "BR_TL",      "TR_BL",      "BL_TR",      "RECTANGLE",  "RADIAL"};

TEST_F(GradientTest, HorizontalGradientsRunBetweenTheirEndColoursColumnByColumn) {
  struct Case {
    const char* orientation;
    bool whiteFirst;
  };
  for (const Case& c : {Case{"LEFT_RIGHT", false}, Case{"RIGHT_LEFT", true}}) {
    SCOPED_TRACE(c.orientation);
    auto bc = make(12, 3);
    bc->_fillgradient({kBlack, kWhiteC}, Rect(0, 0, 11, 2), c.orientation);
    for (int x = 0; x < 11; ++x) {
      const int up = static_cast<int>(x * 255.0 / 11);
      const int v = c.whiteFirst ? static_cast<int>(255 - x * 255.0 / 11) : up;
      EXPECT_EQ(px(bc, x, 0), grey(v)) << "column " << x;
      EXPECT_EQ(px(bc, x, 1), grey(v)) << "column " << x;
    }
    EXPECT_EQ(px(bc, 11, 0), kClear) << "the rectangle's right edge is exclusive";
    EXPECT_EQ(px(bc, 0, 2), kClear) << "the rectangle's bottom edge is exclusive";
  }
  auto bc = make(12, 3);
  EXPECT_EQ(bc->_getcolor(10, 0), 0);
  bc->_fillgradient({kBlack, kWhiteC}, Rect(0, 0, 11, 1), "LEFT_RIGHT");
  EXPECT_EQ(painted(bc), 0) << "a rectangle one pixel high draws nothing";
}

TEST_F(GradientTest, TranslucentColoursAreInterpolatedStraightThenPremultiplied) {
  // Each column's colour is the straight interpolation at the fraction the walk has reached
  // (1/50 added once per column), written as _setargb writes it.
  const int32_t from = static_cast<int32_t>(0x10FF8040u), to = static_cast<int32_t>(0xF0204080u);
  auto bc = make(50, 3);
  bc->_fillgradient({from, to}, Rect(0, 0, 50, 3), "LEFT_RIGHT");
  auto expected = make(50, 1);
  auto c1 = bc->_colortoargb(from, nullptr), c2 = bc->_colortoargb(to, nullptr);
  const float step = static_cast<float>(1 / 50.0);
  float f = 0;
  for (int x = 0; x < 50; ++x, f += step) {
    auto c = std::make_shared<_argbcolor>();
    c->a = static_cast<int>(static_cast<float>(c1->a) + f * static_cast<float>(c2->a - c1->a));
    c->r = static_cast<int>(static_cast<float>(c1->r) + f * static_cast<float>(c2->r - c1->r));
    c->g = static_cast<int>(static_cast<float>(c1->g) + f * static_cast<float>(c2->g - c1->g));
    c->b = static_cast<int>(static_cast<float>(c1->b) + f * static_cast<float>(c2->b - c1->b));
    expected->_setargb(x, 0, c);
    for (int y = 0; y < 3; ++y) EXPECT_EQ(px(bc, x, y), px(expected, x, 0)) << x << "," << y;
  }
  EXPECT_EQ(px(bc, 0, 0), (Pixel{16, 8, 4, 16}));
}

TEST_F(GradientTest, VerticalGradientGivesEveryRowOneColourStartingTransparent) {
  auto bc = make(4, 5);
  bc->_fillgradient({0, kRed}, Rect(0, 0, 4, 5), "TOP_BOTTOM");
  // Row y is at fraction y / 5: alpha trunc(y / 5 × 255), red the same, premultiplied.
  const std::array<Pixel, 5> rows{kClear, Pixel{10, 0, 0, 51}, Pixel{40, 0, 0, 102}, Pixel{91, 0, 0, 153},
                                  Pixel{163, 0, 0, 204}};
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(px(bc, x, y), rows[static_cast<size_t>(y)]) << x << "," << y;
}

TEST_F(GradientTest, ReversedOrientationsEqualTheForwardOnesWithTheColourListReversed) {
  struct Case {
    const char* reversed;
    const char* forward;
  };
  const std::vector<int32_t> colours{kRed, static_cast<int32_t>(0x8000FF00u), kBlue};
  const std::vector<int32_t> backwards{kBlue, static_cast<int32_t>(0x8000FF00u), kRed};
  for (const Case& c : {Case{"BOTTOM_TOP", "TOP_BOTTOM"}, Case{"RIGHT_LEFT", "LEFT_RIGHT"}, Case{"BR_TL", "TL_BR"},
                        Case{"BL_TR", "TR_BL"}}) {
    SCOPED_TRACE(c.reversed);
    auto a = make(23, 17), b = make(23, 17);
    a->_fillgradient(colours, Rect(1, 2, 22, 16), c.reversed);
    b->_fillgradient(backwards, Rect(1, 2, 22, 16), c.forward);
    EXPECT_EQ(bytes(a), bytes(b));
    EXPECT_EQ(painted(a), 21 * 14);
  }
}

TEST_F(GradientTest, DiagonalGradientStartsAtItsCornerAndMirrorsLeftToRight) {
  auto tl = make(20, 20);
  tl->_fillgradient({kBlack, kWhiteC}, Rect(0, 0, 20, 20), "TL_BR");
  EXPECT_EQ(px(tl, 0, 0), grey(0));
  EXPECT_GE(px(tl, 19, 19)[0], 230);
  // On a square the bands are perpendicular to the diagonal: pixel (x, y) matches (y, x), and
  // the colour grows along the diagonal.
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) EXPECT_NEAR(px(tl, x, y)[0], px(tl, y, x)[0], 1) << x << "," << y;
  for (int i = 1; i < 20; ++i) EXPECT_GT(px(tl, i, i)[0], px(tl, i - 1, i - 1)[0]);
  auto tr = make(20, 20);
  tr->_fillgradient({kBlack, kWhiteC}, Rect(0, 0, 20, 20), "TR_BL");
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) EXPECT_EQ(px(tr, x, y), px(tl, 19 - x, y)) << x << "," << y;
}

TEST_F(GradientTest, MirroredGradientReachingPastTheBitmapShowsTheRightPartOfIt) {
  // The whole gradient on a wide bitmap, and the same rectangle shifted half out of a narrow one.
  auto whole = make(20, 10);
  whole->_fillgradient({kBlack, kWhiteC}, Rect(0, 0, 20, 10), "TR_BL");
  auto part = make(10, 10);
  part->_fillgradient({kBlack, kWhiteC}, Rect(-5, 0, 15, 10), "TR_BL");
  EXPECT_EQ(painted(part), 100);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_NEAR(px(part, x, y)[0], px(whole, x + 5, y)[0], 1) << x << "," << y;
}

TEST_F(GradientTest, ConcentricRectanglesPutTheFirstColourAtTheCentreAndTheLastOnTheOutline) {
  auto bc = make(5, 5);
  bc->_fillgradient({kRed, kBlue}, Rect(0, 0, 5, 5), "RECTANGLE");
  const Pixel red{255, 0, 0, 255}, blue{0, 0, 255, 255}, half{127, 0, 127, 255};
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) {
      const int ring = std::max(std::abs(x - 2), std::abs(y - 2));
      EXPECT_EQ(px(bc, x, y), ring == 0 ? red : ring == 1 ? half : blue) << x << "," << y;
    }
}

TEST_F(GradientTest, ConcentricRectangleTooSmallForRingsIsItsOutline) {
  // A 2 × 3 rectangle has no ring between centre and outline; the outline covers it.
  auto bc = make(4, 4);
  bc->_fillgradient({kRed, kBlue}, Rect(1, 1, 3, 4), "RECTANGLE");
  for (int y = 1; y < 4; ++y)
    for (int x = 1; x < 3; ++x) EXPECT_EQ(px(bc, x, y), (Pixel{0, 0, 255, 255})) << x << "," << y;
  EXPECT_EQ(painted(bc), 6);
}

TEST_F(GradientTest, ConcentricRectanglesAreTheirRingsPaintedFromTheCentreOut) {
  // The fill as defined: ring d = 0 .. Lp in the colour of the last segment holding it, its top
  // and bottom sides over the columns cx + e × fx and its left and right sides over the rows
  // cy + e × fy for |e| ≤ d, each ring over the ones before, then the outline in the last colour.
  // Rectangles of every shape, fractional, partly off every edge; none wholly off.
  std::mt19937 rng(33);
  std::uniform_int_distribution<int> quarter(-160, 260);
  const std::vector<int32_t> palette{kRed, static_cast<int32_t>(0xC000FF00u), kBlue, kWhiteC};
  for (int i = 0; i < 400; ++i) {
    float v[4];
    for (float& c : v) c = static_cast<float>(quarter(rng)) / 4;
    const Rect R(std::min(v[0], v[2]), std::min(v[1], v[3]), std::max(v[0], v[2]), std::max(v[1], v[3]));
    const std::vector<int32_t> colours(palette.begin(), palette.begin() + 2 + i % 3);
    auto actual = make(24, 16), expected = make(24, 16);
    actual->_fillgradient(colours, R, "RECTANGLE");
    const float W = R.Width(), H = R.Height();
    if (W > 1 && H > 1 && R.Left < 24 && R.Top < 16 && R.Right > 0 && R.Bottom > 0) {
      const auto n = static_cast<int64_t>(colours.size()) - 1, L = static_cast<int64_t>(std::max(W, H) / 2.0);
      const auto cx = static_cast<int64_t>(R.CenterX()), cy = static_cast<int64_t>(R.CenterY());
      const auto w = static_cast<int64_t>(W), h = static_cast<int64_t>(H);
      const int64_t Lp = (w % 2 == 0 || h % 2 == 0) ? L - 1 : L;
      const auto fx = static_cast<float>(std::min(static_cast<double>(w) / h, 1.0));
      const auto fy = static_cast<float>(std::min(static_cast<double>(h) / w, 1.0));
      const auto at = [](int64_t c, float d, float f) { return static_cast<int>(static_cast<float>(c) + d * f); };
      const auto paint = [&](int64_t x, int64_t y, int32_t from, int32_t to, float f) {
        auto c1 = expected->_colortoargb(from, nullptr), c2 = expected->_colortoargb(to, nullptr);
        auto c = std::make_shared<_argbcolor>();
        c->a = static_cast<int>(static_cast<float>(c1->a) + f * static_cast<float>(c2->a - c1->a));
        c->r = static_cast<int>(static_cast<float>(c1->r) + f * static_cast<float>(c2->r - c1->r));
        c->g = static_cast<int>(static_cast<float>(c1->g) + f * static_cast<float>(c2->g - c1->g));
        c->b = static_cast<int>(static_cast<float>(c1->b) + f * static_cast<float>(c2->b - c1->b));
        expected->_setargb(static_cast<int32_t>(x), static_cast<int32_t>(y), c);
      };
      for (int64_t k = 0; k < n; ++k) {
        const auto stop = static_cast<float>(static_cast<double>(k) / n * L);
        for (auto d = static_cast<int64_t>(static_cast<double>(k) / n * Lp);
             d <= static_cast<int64_t>(static_cast<double>(k + 1) / n * Lp); ++d) {
          const float f =
              Lp <= 0 ? 0 : static_cast<float>((static_cast<float>(d) - stop) / (static_cast<double>(Lp) / n));
          const auto fd = static_cast<float>(d);
          const int32_t k0 = colours[static_cast<size_t>(k)], k1 = colours[static_cast<size_t>(k + 1)];
          for (int64_t e = -d; e <= d; ++e) {
            for (float side : {-fd, fd}) {
              paint(at(cx, static_cast<float>(e), fx), at(cy, side, fy), k0, k1, f);
              paint(at(cx, side, fx), at(cy, static_cast<float>(e), fy), k0, k1, f);
            }
          }
        }
      }
      const auto l = static_cast<int>(R.Left), r = static_cast<int>(R.Right);
      const auto t = static_cast<int>(R.Top), b = static_cast<int>(R.Bottom);
      for (int x = l; x < r; ++x)
        for (int y : {t, b - 1}) paint(x, y, colours.back(), colours.back(), 0);
      for (int y = t; y < b; ++y)
        for (int x : {l, r - 1}) paint(x, y, colours.back(), colours.back(), 0);
    }
    EXPECT_EQ(bytes(actual), bytes(expected)) << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom;
  }
}

TEST_F(GradientTest, OneColourFillsTheRectangleInBothGradients) {
  const Pixel pm{128, 0, 0, 128};  // 0x80FF0000 premultiplied
  auto linear = make(6, 6);
  linear->_fillgradient({static_cast<int32_t>(0x80FF0000u)}, Rect(1, 1, 4, 5), "TOP_BOTTOM");
  auto radial = make(6, 6);
  radial->_fillradialgradient({static_cast<int32_t>(0x80FF0000u)}, Rect(1, 1, 4, 5));
  for (auto* bc : {&linear, &radial}) {
    EXPECT_EQ(painted(*bc), 12);
    EXPECT_EQ(px(*bc, 1, 1), pm);
    EXPECT_EQ(px(*bc, 3, 4), pm);
  }
}

TEST_F(GradientTest, UnknownOrientationIsLoggedAndDrawsNothing) {
  for (const char* name : {"left_right", "DIAGONAL", ""}) {
    auto bc = make(8, 8);
    log.clear();
    bc->_fillgradient({kBlack, kWhiteC}, Rect(0, 0, 8, 8), name);
    EXPECT_EQ(log, std::vector<std::string>{std::string("Invalid orientation: ") + name});
    EXPECT_EQ(painted(bc), 0);
  }
}

TEST_F(GradientTest, EmptyColourListsAndNonFiniteRectanglesDrawNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  auto bc = make(8, 8);
  for (const char* o : {"LEFT_RIGHT", "RECTANGLE", "TL_BR"}) bc->_fillgradient({}, Rect(0, 0, 8, 8), o);
  bc->_fillradialgradient({}, Rect(0, 0, 8, 8));
  bc->_fillgradient({kBlack, kWhiteC}, Rect(0, nan, 8, 8), "LEFT_RIGHT");
  bc->_fillradialgradient({kBlack, kWhiteC}, Rect(0, 0, nan, 8));
  EXPECT_EQ(painted(bc), 0);
}

TEST_F(GradientTest, RadialGradientSpreadsFromTheCentreAndReachesTheLastEntryAtTheCorners) {
  // Half diagonal of 6 × 8 is exactly 5: the corners lie at distance 5, past the last of the
  // five table entries, and take that last one.
  auto bc = make(6, 8);
  bc->_fillradialgradient({kBlack, kWhiteC}, Rect(0, 0, 6, 8));
  EXPECT_EQ(px(bc, 3, 4), grey(0));
  EXPECT_EQ(px(bc, 3, 5), grey(51));   // distance 1: f = 1/5
  EXPECT_EQ(px(bc, 5, 7), grey(153));  // distance 3.6: f = 3/5
  EXPECT_EQ(px(bc, 0, 0), grey(204));  // distance 5: the entry of distance 4
  EXPECT_EQ(px(bc, 5, 0), grey(204));
  EXPECT_EQ(painted(bc), 48);
}

TEST_F(GradientTest, FillsOffTheBitmapPaintNothingAndHugeOnesPaintTheirVisiblePart) {
  const float big = 3e38f;
  struct Case {
    int w, h;
    Rect r;
    int visible;           // pixels of the bitmap inside the rectangle: none, or all that the
    std::string covering;  // fills named here paint (the others' arithmetic gives out that far)
  };
  const std::vector<Case> cases{
      // Wholly left, right, above and below the bitmap. The concentric rings of those ending at
      // 0 would reach column or row 0, their centre's truncation being toward zero.
      {24, 16, Rect(-5, 0, -1, 10), 0, ""},
      {24, 16, Rect(-4.25f, -1.5f, -0.5f, 14.25f), 0, ""},
      {24, 16, Rect(-2.9f, 0, 0, 10), 0, ""},
      {10, 10, Rect(-100, -100, -10, 100), 0, ""},
      {24, 16, Rect(-big, -1e9f, 0, 1e9f), 0, ""},
      {24, 16, Rect(24, 2, 40, 12), 0, ""},
      {24, 16, Rect(30.5f, -1e30f, big, 1e30f), 0, ""},
      {24, 16, Rect(3, -9, 20, -1), 0, ""},
      {24, 16, Rect(-2.9f, -2.9f, 10, 0), 0, ""},
      {24, 16, Rect(-1e9f, -big, 1e9f, -0.25f), 0, ""},
      {24, 16, Rect(2.5f, 16, 21.5f, 30), 0, ""},
      {24, 16, Rect(-1e9f, 16.5f, 1e9f, big), 0, ""},
      // Reaching absurdly far past the bitmap.
      {24, 16, Rect(7, -1e9f, 15, 1e38f), 8 * 16, "RADIAL TOP_BOTTOM"},
      {3, 100, Rect(-2.75f, 18, 6.25f, 1e38f), 3 * 82, "RADIAL"},
      {5, 1, Rect(3.75f, -1e9f, 4.75f, 18.75f), 1, "RADIAL"},
      {24, 16, Rect(-1, 0, 3e9f, 25), 24 * 16, "RADIAL LEFT_RIGHT"},
      {24, 16, Rect(-big, -big, big, big), 24 * 16, "RADIAL"},
  };
  for (const Case& c : cases) {
    for (const std::string kind : kEveryFill) {
      SCOPED_TRACE(::testing::Message() << kind << " on " << c.w << "x" << c.h << " over " << c.r.Left << ", "
                                        << c.r.Top << ", " << c.r.Right << ", " << c.r.Bottom);
      auto bc = make(c.w, c.h);
      log.clear();
      // A translucent colour: far fractions take its alpha past 255, which must stay defined.
      fill(bc, {kHalfBlack, kWhiteC}, c.r, kind);
      if (c.visible == 0 || (" " + c.covering + " ").find(" " + kind + " ") != std::string::npos) {
        EXPECT_EQ(painted(bc), c.visible);
      }
      EXPECT_EQ(log, std::vector<std::string>{});
    }
  }
}

TEST_F(GradientTest, HugeRectanglesCostOnlyTheirVisiblePart) {
  // Unclipped, these would walk a million rings or a billion pixels per row.
  auto bc = make(10, 10);
  bc->_fillgradient({kRed, kBlue}, Rect(-1e6f, -1e6f, 1e6f + 10, 1e6f + 10), "RECTANGLE");
  EXPECT_EQ(px(bc, 5, 5), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(painted(bc), 100);
  auto radial = make(10, 10);
  radial->_fillradialgradient({kRed, kBlue}, Rect(-1e9f, -1e9f, 1e9f, 1e9f));
  EXPECT_EQ(px(radial, 0, 0), (Pixel{255, 0, 0, 255}));
  auto diagonal = make(10, 10);
  diagonal->_fillgradient({kRed, kBlue}, Rect(-1e7f, -1e7f, 1e7f, 1e7f), "BL_TR");
  EXPECT_EQ(painted(diagonal), 100);
}

}  // namespace
}  // namespace tmr::testing
