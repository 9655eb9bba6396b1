#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/layout/LayoutError.h"
#include "tests/views/display/DisplayScreen.h"

namespace tmr {
namespace {

// A counter "ac1" at (10, 10) of the given size, its digits blue in a 40-point font.
std::string Counter(int w, int h, int digits, int duration = 500, const std::string& fade = "") {
  return R"({"name": "ac1", "type": "CustomView", "class": "tm_animatedcounter", "frame": [10, 10, )" +
         std::to_string(w) + ", " + std::to_string(h) +
         R"(], "textColor": "#FF0000FF", "font": {"family": "DEFAULT", "size": 40}, "props": {"Digits": )" +
         std::to_string(digits) + R"(, "Duration": )" + std::to_string(duration) +
         (fade.empty() ? "" : R"(, "FadeColor": ")" + fade + "\"") + "}}";
}

View Digit(const tm_animatedcounter& c, int i) { return c.partNamed("digit" + std::to_string(i)); }

std::vector<int> Digits(tm_animatedcounter& c) {
  std::vector<int> out;
  for (int i = 0; i < c.mvalue.Size(); ++i) out.push_back(c.mvalue.Get(i).AsInt());
  return out;
}

TEST(AnimatedCounterTest, DigitsFillTheViewFromTheRightWithStripsOfTenCells) {
  struct Case {
    int w, h, digits;
    std::vector<double> lefts;  // digit 0 (units) first
    int cellWidth;
  };
  const Case cases[] = {{150, 60, 3, {100, 50, 0}, 50}, {160, 60, 3, {107, 54, 1}, 53}, {45, 30, 1, {0}, 45}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + " wide, " + std::to_string(c.digits) + " digits");
    DisplayScreen s(Counter(c.w, c.h, c.digits));
    auto& ac = *s.owner->ac1;
    EXPECT_EQ(ac.mbase.Tag().As<tm_animatedcounter>(), s.owner->ac1);
    View inner = ac.partNamed("");
    EXPECT_EQ(inner.native()->frame(), (Frame{0, 0, static_cast<double>(c.w), static_cast<double>(c.h)}));
    EXPECT_TRUE(inner.native()->clipsToBounds()) << "the strips show only inside the view";
    EXPECT_EQ(inner.NumberOfViews(), c.digits + 1);
    EXPECT_EQ(inner.GetView(c.digits), ac.partNamed("fade")) << "the overlay lies on top";
    EXPECT_EQ(ac.xfadeiv.native()->frame(), inner.native()->frame());
    ASSERT_NE(ac.xfadeiv.GetBitmap(), nullptr);
    EXPECT_EQ(ac.xfadeiv.GetBitmap()->pixelWidth(), c.w);
    EXPECT_EQ(ac.xfadeiv.GetBitmap()->pixelHeight(), c.h);
    EXPECT_EQ(ac.digitheight, c.h);
    EXPECT_EQ(ac.digitwidth, c.cellWidth);
    for (int i = 0; i < c.digits; ++i) {
      EXPECT_EQ(Digit(ac, i).native()->frame(),
                (Frame{c.lefts[static_cast<size_t>(i)], 0, static_cast<double>(c.cellWidth), 10.0 * c.h}))
          << "digit " << i;
      auto strip = ImageViewWrapper::FromObject(Object(Digit(ac, i))).GetBitmap();
      ASSERT_NE(strip, nullptr);
      EXPECT_EQ(strip->pixelWidth(), c.cellWidth);
      EXPECT_EQ(strip->pixelHeight(), 10 * c.h);
    }
    EXPECT_EQ(ac._getvalue(), 0);
  }
}

TEST(AnimatedCounterTest, AValueShowsItsLastDigitsWithLeadingZeros) {
  struct Case {
    int digits;
    int32_t value;
    std::vector<int> shown;  // units first
    int32_t held;
  };
  const Case cases[] = {
      {3, 47, {7, 4, 0}, 47},
      {3, 1234, {4, 3, 2}, 234},
      {3, 999, {9, 9, 9}, 999},
      {3, 1000, {0, 0, 0}, 0},
      {1, 8, {8}, 8},
      {10, INT_MAX, {7, 4, 6, 3, 8, 4, 7, 4, 1, 2}, INT_MAX},
      {12, 5, {5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 5},
      // A negative value has no digits to show: it shows (and holds) 0.
      {3, -5, {0, 0, 0}, 0},
      {3, INT_MIN, {0, 0, 0}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.value) + " on " + std::to_string(c.digits) + " digits");
    DisplayScreen s(Counter(24 * c.digits, 50, c.digits, 0));
    auto& ac = *s.owner->ac1;
    ac._setvalue(c.value);
    EXPECT_EQ(Digits(ac), c.shown);
    EXPECT_EQ(ac._getvalue(), c.held);
    for (int i = 0; i < c.digits; ++i) {
      EXPECT_EQ(Digit(ac, i).Top(), -50 * c.shown[static_cast<size_t>(i)]) << "digit " << i;
      EXPECT_EQ(ac._topfromvalue(i), -50 * c.shown[static_cast<size_t>(i)]);
    }
  }
}

TEST(AnimatedCounterTest, ADigitSlidesStraightToItsNewPlaceOverTheDuration) {
  DisplayScreen s(Counter(150, 60, 3, 500));
  auto& ac = *s.owner->ac1;
  View units = Digit(ac, 0);
  ac._setvalue(9);
  EXPECT_EQ(units.Top(), -540) << "the stored frame is the target at once";
  EXPECT_EQ(units.Left(), 100);
  EXPECT_EQ(units.Width(), 50);
  EXPECT_EQ(units.Height(), 600);
  EXPECT_EQ(Digit(ac, 1).Top(), 0);
  double last = units.native()->presentationFrame().top;
  EXPECT_EQ(last, 0);
  for (int t = 50; t <= 500; t += 50) {
    s.wait(50);
    double top = units.native()->presentationFrame().top;
    EXPECT_LT(top, last) << "moves up all the way, at " << t << " ms";
    EXPECT_GE(top, -540) << "never past the 9, at " << t << " ms";
    last = top;
  }
  EXPECT_EQ(last, -540);
  EXPECT_FALSE(units.native()->isAnimating());
  // Back down to 3: the strip slides down six cells, not round through 0.
  ac._setvalue(3);
  s.wait(250);
  double mid = units.native()->presentationFrame().top;
  EXPECT_GT(mid, -540);
  EXPECT_LT(mid, -180);
  s.wait(250);
  EXPECT_EQ(units.native()->presentationFrame().top, -180);
}

TEST(AnimatedCounterTest, AViewWithoutSizeOrWithoutDigitsDoesNotFail) {
  {
    DisplayScreen s(Counter(0, 0, 3));
    auto& ac = *s.owner->ac1;
    EXPECT_EQ(ac.digitwidth, 0);
    EXPECT_EQ(ImageViewWrapper::FromObject(Object(Digit(ac, 0))).GetBitmap(), nullptr) << "no strip of no size";
    ac._setvalue(42);
    EXPECT_EQ(Digit(ac, 0).native()->frame(), (Frame{0, 0, 1, 1})) << "animated to at least 1 x 1";
    EXPECT_EQ(ac._getvalue(), 42);
    ac.mbase.SetLayoutAnimated(0, 10, 10, 90, 30);
    EXPECT_EQ(Digit(ac, 1).native()->frame(), (Frame{30, -120, 30, 300})) << "laid out once it has a size";
  }
  // Two digits in a view one point wide: cells of no width.
  {
    DisplayScreen s(Counter(1, 40, 2));
    auto& ac = *s.owner->ac1;
    ac._setvalue(12);
    EXPECT_EQ(ac._getvalue(), 12);
    EXPECT_EQ(Digit(ac, 0).Width(), 1);
  }
  for (int digits : {0, -3}) {
    SCOPED_TRACE(digits);
    DisplayScreen s(Counter(100, 40, digits));
    auto& ac = *s.owner->ac1;
    EXPECT_EQ(ac.partNamed("").NumberOfViews(), 1) << "only the overlay";
    ac._setvalue(7);
    EXPECT_EQ(ac._getvalue(), 0);
    ac.mbase.SetLayoutAnimated(0, 0, 0, 50, 20);
    EXPECT_EQ(ac.xfadeiv.Width(), 50);
    EXPECT_FALSE(Digit(ac, 0).IsInitialized());
  }
}

TEST(AnimatedCounterTest, ALayoutMustGiveDigitsAndDurationAndMayLeaveOutTheFade) {
  for (const char* missing : {"Digits", "Duration"}) {
    std::string props = std::string(missing) == "Digits" ? R"("Duration": 100)" : R"("Digits": 2)";
    try {
      DisplayScreen s(R"({"name": "ac1", "type": "CustomView", "class": "tm_animatedcounter",
                          "frame": [0, 0, 50, 20], "props": {)" +
                      props + "}}");
      ADD_FAILURE() << "a layout without " << missing << " loaded";
    } catch (const LayoutError& e) {
      EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
  }
  DisplayScreen s(Counter(100, 50, 2));
  auto top = s.owner->ac1->fade;
  // White at the very top of the overlay.
  EXPECT_EQ(PixelAt(*top, 100, 0), 0xFFFFFFFFu);
}

// Digits is a count of views the counter makes: past the limit the layout is refused, naming
// the view and the key, before any is made.
TEST(AnimatedCounterTest, ALayoutMayNotAskForMoreDigitsThanTheLimit) {
  DisplayScreen most(Counter(100, 50, LayoutRegistry::Property::kMaxCount));
  EXPECT_EQ(most.owner->ac1->imageviews.Size(), LayoutRegistry::Property::kMaxCount);
  for (int digits : {LayoutRegistry::Property::kMaxCount + 1, 20000}) {
    try {
      DisplayScreen s(Counter(100, 50, digits));
      ADD_FAILURE() << digits << " digits loaded";
    } catch (const LayoutError& e) {
      EXPECT_EQ(std::string(e.what()), "screen.layout: view ac1: key \"Digits\": must be at most 1000");
    }
  }
}

// The overlay fades from the colour at the top and at the bottom to clear in the middle third.
TEST(AnimatedCounterTest, TheOverlayFadesFromTheColourAtBothEdgesToClearInTheMiddle) {
  DisplayScreen s(Counter(100, 50, 2));
  auto fade = s.owner->ac1->_createfadebitmap(static_cast<int32_t>(0xFFFF0000));
  ASSERT_EQ(fade->pixelWidth(), 200);
  ASSERT_EQ(fade->pixelHeight(), 50);
  auto alpha = [&](int y) { return static_cast<int>(PixelAt(*fade, 100, y) >> 24); };
  EXPECT_EQ(PixelAt(*fade, 0, 0), 0xFFFF0000u);
  // The bottom third starts a third of a pixel into row 33, so its last row is not quite solid.
  EXPECT_GE(alpha(49), 0xF0);
  EXPECT_EQ(PixelAt(*fade, 199, 49), PixelAt(*fade, 0, 49));
  for (int y = 1; y < 16; ++y) EXPECT_LT(alpha(y), alpha(y - 1)) << "row " << y;
  for (int y = 17; y <= 33; ++y) EXPECT_EQ(alpha(y), 0) << "row " << y;
  for (int y = 35; y < 50; ++y) EXPECT_GT(alpha(y), alpha(y - 1)) << "row " << y;
  // Half-way down the top third: about half covered, and only red (premultiplied: red = alpha).
  uint32_t p = PixelAt(*fade, 100, 8);
  EXPECT_NEAR(static_cast<int>(p >> 24), 128, 16);
  EXPECT_EQ((p >> 16) & 0xFF, p >> 24);
  EXPECT_EQ(p & 0xFFFF, 0u);
}

TEST(AnimatedCounterTest, EachCellOfTheStripHoldsItsGlyphCentredInTheLabelsColour) {
  DisplayScreen s(Counter(150, 60, 3));
  auto strip = ImageViewWrapper::FromObject(Object(Digit(*s.owner->ac1, 0))).GetBitmap();
  ASSERT_NE(strip, nullptr);
  std::vector<std::vector<uint32_t>> cells;
  for (int n = 0; n < 10; ++n) {
    SCOPED_TRACE("glyph " + std::to_string(n));
    int first = -1, last = -1, top = -1, bottom = -1;
    std::vector<uint32_t> cell;
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 50; ++x) {
        uint32_t p = PixelAt(*strip, x, n * 60 + y);
        cell.push_back(p);
        if ((p >> 24) < 0x80) continue;
        EXPECT_EQ(p & 0xFFFF00u, 0u) << "blue ink only";
        if (first < 0 || x < first) first = x;
        last = std::max(last, x);
        if (top < 0) top = y;
        bottom = y;
      }
    }
    ASSERT_GE(first, 0) << "the glyph is drawn";
    EXPECT_NEAR((first + last) / 2.0, 25, 2) << "centred across the cell";
    EXPECT_NEAR((top + bottom) / 2.0, 30, 3) << "centred down the cell";
    cells.push_back(cell);
  }
  for (int a = 0; a < 10; ++a) {
    for (int b = a + 1; b < 10; ++b) EXPECT_NE(cells[a], cells[b]) << a << " and " << b << " look alike";
  }
}

TEST(AnimatedCounterTest, TheScreenShowsTheDigitsBetweenTheFadedEdges) {
  DisplayScreen s(Counter(150, 60, 3, 300, "#FFFF0000"));
  auto& ac = *s.owner->ac1;
  ac._setvalue(47);
  s.wait(300);
  auto pic = s.picture("counter");
  auto strip = ImageViewWrapper::FromObject(Object(Digit(ac, 0))).GetBitmap();
  // The middle third of each cell shows the strip's glyph for its digit, over the white screen.
  const int shown[] = {7, 4, 0};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE("digit " + std::to_string(i));
    const int left = 10 + 100 - 50 * i;
    int worst = 0;
    for (int y = 21; y < 39; ++y) {
      for (int x = 0; x < 50; ++x) {
        uint32_t src = PixelAt(*strip, x, shown[i] * 60 + y);
        uint32_t out = PixelAt(*pic, left + x, 10 + y);
        int a = static_cast<int>(src >> 24);
        for (int shift : {0, 8, 16}) {
          int expected = static_cast<int>((src >> shift) & 0xFF) + (255 - a);
          worst = std::max(worst, std::abs(expected - static_cast<int>((out >> shift) & 0xFF)));
        }
      }
    }
    EXPECT_LE(worst, 2);
  }
  // The fade colour covers the top and bottom edges and leaves nothing outside the view.
  auto reddish = [](uint32_t p) { return ((p >> 16) & 0xFF) == 0xFF && ((p >> 8) & 0xFF) < 0x10 && (p & 0xFF) < 0x10; };
  EXPECT_EQ(PixelAt(*pic, 10 + 75, 10), 0xFFFF0000u);
  EXPECT_TRUE(reddish(PixelAt(*pic, 10 + 75, 10 + 59))) << std::hex << PixelAt(*pic, 10 + 75, 10 + 59);
  EXPECT_EQ(PixelAt(*pic, 10 + 75, 10 + 61), 0xFFFFFFFFu) << "the strips below the cell are cut off";
  EXPECT_EQ(PixelAt(*pic, 10 + 75, 200), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace tmr
