#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/FontLibrary.h"
#include "platform/views/Canvas.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewRenderer.h"
#include "platform/views/ViewSystem.h"
#include "tests/platform/core/TestModules.h"

namespace tmr {
namespace {

constexpr int32_t kRed = static_cast<int32_t>(0xFFFF0000);
constexpr int32_t kBlue = static_cast<int32_t>(0xFF0000FF);
constexpr int32_t kGreen = static_cast<int32_t>(0xFF00FF00);

struct Rgba {
  int r, g, b, a;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};

Rgba At(const Bitmap& bmp, int x, int y) {
  const uint8_t* p = &bmp.pixels()[(static_cast<size_t>(y) * bmp.pixelWidth() + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

bool IsColor(const Bitmap& bmp, int x, int y, int32_t argb) {
  auto c = static_cast<uint32_t>(argb);
  return At(bmp, x, y) == Rgba{int(c >> 16 & 0xFF), int(c >> 8 & 0xFF), int(c & 0xFF), int(c >> 24)};
}
bool IsClear(const Bitmap& bmp, int x, int y) { return At(bmp, x, y).a == 0; }

// The columns and rows that hold any ink: {left, top, right, bottom} inclusive, or all -1.
std::array<int, 4> InkBox(const Bitmap& bmp) {
  std::array<int, 4> box{-1, -1, -1, -1};
  for (int y = 0; y < bmp.pixelHeight(); ++y) {
    for (int x = 0; x < bmp.pixelWidth(); ++x) {
      if (At(bmp, x, y).a < 128) continue;
      if (box[0] < 0 || x < box[0]) box[0] = x;
      if (box[1] < 0) box[1] = y;
      box[2] = std::max(box[2], x);
      box[3] = y;
    }
  }
  return box;
}

struct CanvasTest : ::testing::Test {
  Runtime rt;
  std::shared_ptr<ProbeModule> mod = ProbeModule::Make(rt);
  UiLayer ui;
  View panel;
  Canvas cvs;
  void SetUp() override {
    panel = ui.CreatePanel(mod->bi, "");
    panel.native()->setFrame(Frame{0, 0, 100, 80});
    cvs.Initialize(panel);
  }
  std::shared_ptr<Bitmap> pic() { return cvs.CreateBitmap(); }
};

TEST_F(CanvasTest, StartsTransparentAtTheViewsSize) {
  Rect r = cvs.TargetRect();
  EXPECT_EQ(r.Left, 0);
  EXPECT_EQ(r.Top, 0);
  EXPECT_EQ(r.Width(), 100);
  EXPECT_EQ(r.Height(), 80);
  auto b = pic();
  ASSERT_EQ(b->pixelWidth(), 100);
  ASSERT_EQ(b->pixelHeight(), 80);
  EXPECT_EQ(InkBox(*b)[0], -1);
}

TEST_F(CanvasTest, RectanglesFilledAndOutlined) {
  cvs.DrawRect(Rect(10, 10, 30, 20), kRed, true, 0);
  cvs.DrawRect(Rect(50, 10, 90, 50), kBlue, false, 4);
  auto b = pic();
  EXPECT_TRUE(IsColor(*b, 10, 10, kRed));
  EXPECT_TRUE(IsColor(*b, 29, 19, kRed));
  EXPECT_TRUE(IsClear(*b, 30, 15));
  EXPECT_TRUE(IsClear(*b, 20, 20));
  // The outline is centred on the edge: 2 points each side of x = 50.
  EXPECT_TRUE(IsColor(*b, 48, 30, kBlue));
  EXPECT_TRUE(IsColor(*b, 51, 30, kBlue));
  EXPECT_TRUE(IsClear(*b, 53, 30));
  EXPECT_TRUE(IsClear(*b, 70, 30));
  // Clearing makes the pixels transparent again.
  cvs.ClearRect(Rect(0, 0, 20, 100));
  b = pic();
  EXPECT_TRUE(IsClear(*b, 15, 15));
  EXPECT_TRUE(IsColor(*b, 25, 15, kRed));
}

TEST_F(CanvasTest, ACircleIsADiscOrARingAndNothingWithoutARadius) {
  cvs.DrawCircle(30, 40, 20, kRed, true, 0);
  cvs.DrawCircle(75, 40, 15, kBlue, false, 4);
  auto b = pic();
  EXPECT_TRUE(IsColor(*b, 30, 40, kRed));
  EXPECT_TRUE(IsColor(*b, 30, 22, kRed));
  EXPECT_TRUE(IsClear(*b, 14, 24));  // outside the disc, inside its square
  EXPECT_TRUE(IsClear(*b, 75, 40));  // the ring's middle
  EXPECT_TRUE(IsColor(*b, 75, 25, kBlue));
  EXPECT_TRUE(IsColor(*b, 90, 40, kBlue));
  for (double radius : {0.0, -5.0}) {
    Canvas c;
    c.Initialize(panel);
    c.DrawCircle(50, 40, radius, kRed, true, 0);
    c.DrawCircle(50, 40, radius, kRed, false, 3);
    EXPECT_EQ(InkBox(*c.CreateBitmap())[0], -1) << radius;
  }
}

TEST_F(CanvasTest, LinesHaveTheirWidthAndFlatEnds) {
  cvs.DrawLine(10, 40, 90, 40, kGreen, 4);
  auto box = InkBox(*pic());
  EXPECT_EQ(box, (std::array<int, 4>{10, 38, 89, 41}));
  // A width under one point is a hairline.
  Canvas c;
  c.Initialize(panel);
  c.DrawLine(10, 20.5, 90, 20.5, kGreen, 0);
  EXPECT_EQ(InkBox(*c.CreateBitmap()), (std::array<int, 4>{10, 20, 89, 20}));
}

TEST_F(CanvasTest, PathsFilledOrStroked) {
  Path tri;
  tri.Initialize(10, 10);
  tri.LineTo(90, 10);
  tri.LineTo(10, 70);
  cvs.DrawPath(tri, kRed, true, 0);
  auto b = pic();
  EXPECT_TRUE(IsColor(*b, 20, 20, kRed));
  EXPECT_TRUE(IsClear(*b, 80, 60));  // beyond the hypotenuse
  cvs.ClearRect(cvs.TargetRect());
  cvs.DrawPath(tri, kRed, false, 2);
  b = pic();
  EXPECT_TRUE(IsClear(*b, 20, 20));
  EXPECT_TRUE(IsColor(*b, 40, 10, kRed));
  EXPECT_THROW(cvs.DrawPath(Path(), kRed, true, 0), RuntimeError);
}

// Angles: 0 at 3 o'clock, positive clockwise (y grows downwards).
TEST_F(CanvasTest, ClippingToAnArcWedge) {
  struct Case {
    double start, sweep;
    bool downRight, downLeft, upLeft, upRight;
  } cases[] = {
      {0, 90, true, false, false, false},   // clockwise from 3 to 6 o'clock
      {0, -90, false, false, false, true},  // counter-clockwise from 3 to 12 o'clock
      {90, 180, false, true, true, false},  // from 6 o'clock through 9 to 12
      {-90, 270, true, true, false, true},  // from 12 o'clock clockwise to 9
      {45, 360, true, true, true, true},    // a whole turn is the disc
      {10, -400, true, true, true, true},  {30, 0, false, false, false, false},  // no sweep encloses nothing
  };
  for (const auto& c : cases) {
    Canvas cv;
    cv.Initialize(panel);
    Path wedge;
    wedge.InitializeArc(50, 40, 30, c.start, c.sweep);
    cv.ClipPath(wedge);
    cv.DrawRect(cv.TargetRect(), kRed, true, 0);
    cv.RemoveClip();
    cv.DrawRect(Rect(0, 0, 3, 3), kBlue, true, 0);  // the clip is gone
    auto b = cv.CreateBitmap();
    std::string what = std::to_string(c.start) + " " + std::to_string(c.sweep);
    EXPECT_EQ(IsColor(*b, 60, 50, kRed), c.downRight) << what;
    EXPECT_EQ(IsColor(*b, 40, 50, kRed), c.downLeft) << what;
    EXPECT_EQ(IsColor(*b, 40, 30, kRed), c.upLeft) << what;
    EXPECT_EQ(IsColor(*b, 60, 30, kRed), c.upRight) << what;
    EXPECT_TRUE(IsClear(*b, 90, 40)) << what;  // beyond the radius
    EXPECT_TRUE(IsColor(*b, 1, 1, kBlue)) << what;
  }
}

TEST_F(CanvasTest, AStrokedArcDrawsItsOutline) {
  Path wedge;
  wedge.InitializeArc(50, 40, 30, 0, 90);
  cvs.DrawPath(wedge, kRed, false, 4);
  auto b = pic();
  EXPECT_TRUE(IsColor(*b, 50, 70, kRed));  // the arc's end at 6 o'clock
  EXPECT_TRUE(IsColor(*b, 71, 61, kRed));  // on the arc at 45 degrees
  EXPECT_TRUE(IsColor(*b, 65, 40, kRed));  // the edge from the centre to 3 o'clock
  EXPECT_TRUE(IsClear(*b, 60, 50));        // inside the wedge
  EXPECT_TRUE(IsClear(*b, 29, 19));        // on the circle but outside the sweep
}

TEST_F(CanvasTest, RoundedRectangleClampsItsRadius) {
  Path p;
  p.InitializeRoundedRect(Rect(10, 10, 50, 30), 100);  // a radius over half the height: 10
  cvs.DrawPath(p, kRed, true, 0);
  auto b = pic();
  EXPECT_TRUE(IsColor(*b, 30, 20, kRed));
  EXPECT_TRUE(IsColor(*b, 11, 20, kRed));  // the round end's middle
  EXPECT_TRUE(IsClear(*b, 11, 11));        // a cut corner
  EXPECT_TRUE(IsColor(*b, 30, 11, kRed));
}

TEST_F(CanvasTest, RotatedRectanglesAndBitmapsTurnClockwise) {
  cvs.DrawRectRotated(Rect(20, 35, 80, 45), kRed, true, 0, 90);  // 60 x 10 about (50, 40)
  auto box = InkBox(*pic());
  EXPECT_EQ(box, (std::array<int, 4>{45, 10, 54, 69}));

  // A picture red on its left half, blue on its right: a quarter turn clockwise puts red on top.
  std::vector<uint8_t> px;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) px.insert(px.end(), {uint8_t(x < 10 ? 255 : 0), 0, uint8_t(x < 10 ? 0 : 255), 255});
  auto bmp = Bitmap::FromPixels(20, 20, px);
  Canvas c;
  c.Initialize(panel);
  c.DrawBitmapRotated(bmp, Rect(20, 20, 60, 60), 90);
  auto b = c.CreateBitmap();
  EXPECT_TRUE(IsColor(*b, 40, 25, kRed));
  EXPECT_TRUE(IsColor(*b, 40, 55, kBlue));
  c.DrawBitmap(bmp, Rect(0, 0, 10, 5));  // stretched: the left half of 10 points is red
  b = c.CreateBitmap();
  EXPECT_TRUE(IsColor(*b, 1, 2, kRed));
  EXPECT_TRUE(IsColor(*b, 8, 2, kBlue));
  EXPECT_THROW(c.DrawBitmap(nullptr, Rect(0, 0, 1, 1)), RuntimeError);
}

TEST_F(CanvasTest, TextIsPlacedOnItsBaselineByItsAlignment) {
  Font font = ui.CreateDefaultFont(20);
  Rect m = cvs.MeasureText("MM", font);
  EXPECT_LT(m.Top, -10);          // capitals rise above the baseline
  EXPECT_NEAR(m.Bottom, 0, 0.5);  // and stand on it
  EXPECT_NEAR(m.Height(), -m.Top, 0.5);
  EXPECT_GT(m.Width(), 20);
  struct Case {
    const char* align;
    double expectedLeft;
  } cases[] = {{"LEFT", 50}, {"center", 50 - m.Width() / 2}, {"RIGHT", 50 - m.Width()}};
  for (const auto& c : cases) {
    Canvas cv;
    cv.Initialize(panel);
    cv.DrawText("MM", 50, 60, font, kRed, c.align);
    auto box = InkBox(*cv.CreateBitmap());
    EXPECT_NEAR(box[0], c.expectedLeft, 3) << c.align;
    EXPECT_NEAR(box[2], c.expectedLeft + m.Width(), 5) << c.align;  // less the side bearings
    EXPECT_NEAR(box[3], 59, 1) << c.align;                          // the ink ends on the baseline
    EXPECT_NEAR(box[1], 60 + m.Top, 1.5) << c.align;
  }
  EXPECT_THROW(cvs.DrawText("x", 0, 0, font, kRed, "MIDDLE"), RuntimeError);
  EXPECT_THROW(cvs.DrawText("x", 0, 0, Font(), kRed, "LEFT"), RuntimeError);
}

TEST_F(CanvasTest, MeasuredWidthsAddUpAndBlanksHaveNoInk) {
  Font font = ui.CreateDefaultFont(17);
  auto w = [&](const char* s) { return cvs.MeasureText(s, font).Width(); };
  EXPECT_NEAR(w("Hello world"), w("Hello") + w(" ") + w("world"), 1e-3);
  EXPECT_GT(w(" "), 0);
  Rect blank = cvs.MeasureText("  ", font);
  EXPECT_EQ(blank.Top, 0);
  EXPECT_EQ(blank.Height(), 0);
  EXPECT_EQ(cvs.MeasureText("", font).Width(), 0);
  // "g" hangs below the baseline.
  EXPECT_GT(cvs.MeasureText("g", font).Bottom, 2);
}

// Text on a canvas at every size code can give a font: a size past what the font engine works at
// measures as the text at the largest size it works at, scaled, and draws what shows of it; a
// size that cannot be drawn at measures 0 and draws nothing. Neither keeps what is drawn after it
// from drawing, and no size leaves the drawing library failing when the runtime ends.
TEST(CanvasTextSizeTest, EverySizeMeasuresLinearlyAndLeavesLaterDrawingAlone) {
  using F = std::numeric_limits<float>;
  const float k = static_cast<float>(FontLibrary::kLargestEngineSize);
  const float sizes[] = {17, k, std::nextafter(k, F::infinity()), 70000, 1e17f, 3.4e38f, F::infinity(), F::quiet_NaN()};
  const String blocks(u"\u2588\u2588");  // ink across the whole line
  struct Picture {
    Runtime rt;
    std::shared_ptr<ProbeModule> mod = ProbeModule::Make(rt);
    Canvas cvs;
    explicit Picture(const Font& font) {
      View panel = UiLayer().CreatePanel(mod->bi, "");
      panel.native()->setFrame(Frame{0, 0, 100, 80});
      cvs.Initialize(panel);
      cvs.DrawText(String(u"\u2588\u2588"), 10, 60, font, kBlue, "LEFT");
      cvs.DrawRect(Rect(80, 0, 100, 10), kRed, true, 0);
      cvs.DrawText(String(u"\u2588"), 0, 78, UiLayer().CreateDefaultFont(17), kGreen, "LEFT");
    }
  };
  auto font = [](float size) { return Font::Make(Font::kDefaultFamily, size); };

  // Drawn and ended in a process of its own: the drawing library aborts the process it fails in.
  for (float size : sizes) {
    EXPECT_EXIT(
        {
          { Picture p(font(size)); }
          std::exit(0);
        },
        ::testing::ExitedWithCode(0), "")
        << size;
  }
  if (::testing::Test::HasFailure()) return;

  for (float size : sizes) {
    Picture p(font(size));
    const double w = p.cvs.MeasureText(blocks, font(size)).Width();
    if (!std::isfinite(size)) {
      EXPECT_EQ(w, 0) << size;
    } else if (size > k && std::isfinite(w)) {  // a width past the largest float is infinite
      EXPECT_NEAR(w / (p.cvs.MeasureText(blocks, font(k)).Width() * (size / k)), 1, 1e-6) << size;
    } else {
      EXPECT_GT(w, 0) << size;
    }
    auto pic = p.cvs.CreateBitmap();
    EXPECT_TRUE(std::isfinite(size) ? IsColor(*pic, 15, 55, kBlue) : IsClear(*pic, 15, 55)) << size;
    EXPECT_TRUE(IsColor(*pic, 90, 5, kRed)) << size;
    EXPECT_TRUE(IsColor(*pic, 5, 70, kGreen)) << size;
  }
}

TEST_F(CanvasTest, IconFontGlyphsAndFallbackForLetters) {
  Font awesome = ui.CreateFontAwesome(20);
  // The heart is the icon font's; the letters it lacks come from the default font.
  Rect heart = cvs.MeasureText(String::FromCodePoint(0xF004), awesome);
  EXPECT_GT(heart.Width(), 10);
  EXPECT_LT(heart.Top, -10);
  EXPECT_NEAR(cvs.MeasureText("ab", awesome).Width(), cvs.MeasureText("ab", ui.CreateDefaultFont(20)).Width(), 1e-3);
  cvs.DrawText("ab", 10, 50, awesome, kRed, "LEFT");
  EXPECT_NE(InkBox(*pic())[0], -1);
}

TEST_F(CanvasTest, TheViewShowsThePictureOnceInvalidated) {
  View root = ui.CreatePanel(mod->bi, "");
  root.native()->setFrame(Frame{0, 0, 200, 100});
  root.setColor(UiLayer::Color_White);
  root.AddView(panel, 50, 10, 100, 80);
  cvs.DrawRect(Rect(0, 0, 20, 20), kRed, true, 0);
  auto shot = ViewRenderer(rt).render(*root.native(), 1);
  EXPECT_TRUE(IsColor(*shot, 55, 15, UiLayer::Color_White));
  EXPECT_EQ(panel.native()->canvasInvalidations(), 0);
  cvs.Invalidate();
  EXPECT_EQ(panel.native()->canvasInvalidations(), 1);
  shot = ViewRenderer(rt).render(*root.native(), 2);
  EXPECT_TRUE(IsColor(*shot, 2 * 55, 2 * 15, kRed));
  EXPECT_TRUE(IsColor(*shot, 2 * 75, 2 * 35, UiLayer::Color_White));
  // Children lie over the picture.
  LabelWrapper lbl;
  lbl.Initialize(mod->bi, "");
  lbl.setColor(kBlue);
  panel.AddView(lbl, 0, 0, 10, 10);
  shot = ViewRenderer(rt).render(*root.native(), 1);
  EXPECT_TRUE(IsColor(*shot, 52, 12, kBlue));
  EXPECT_TRUE(IsColor(*shot, 65, 25, kRed));
  // Drawing after the last Invalidate does not show until the next.
  cvs.ClearRect(cvs.TargetRect());
  shot = ViewRenderer(rt).render(*root.native(), 1);
  EXPECT_TRUE(IsColor(*shot, 65, 25, kRed));
}

TEST_F(CanvasTest, ResizeKeepsWhatWasDrawnAndBitmapsAreCopies) {
  cvs.DrawRect(Rect(0, 0, 100, 80), kRed, true, 0);
  auto before = pic();
  cvs.Resize(150.4, 40);
  Rect r = cvs.TargetRect();
  EXPECT_EQ(r.Width(), 150);
  EXPECT_EQ(r.Height(), 40);
  auto b = pic();
  EXPECT_TRUE(IsColor(*b, 99, 39, kRed));
  EXPECT_TRUE(IsClear(*b, 100, 10));
  EXPECT_TRUE(IsColor(*before, 50, 70, kRed));  // the earlier copy kept its size and pixels
  EXPECT_EQ(before->pixelHeight(), 80);
  cvs.Resize(0, -3);
  EXPECT_EQ(cvs.TargetRect().Width(), 0);
  EXPECT_EQ(pic()->pixelHeight(), 0);
  cvs.DrawCircle(1, 1, 5, kRed, true, 0);  // drawing on nothing is harmless
}

TEST_F(CanvasTest, ReleasedAndUninitialisedCanvasesFail) {
  Canvas empty;
  EXPECT_FALSE(empty.IsInitialized());
  EXPECT_THROW(empty.TargetRect(), RuntimeError);
  EXPECT_THROW(empty.Initialize(View()), RuntimeError);
  Canvas copy = cvs;
  cvs.Release();
  EXPECT_FALSE(copy.IsInitialized());
  EXPECT_THROW(copy.DrawRect(Rect(0, 0, 1, 1), kRed, true, 0), RuntimeError);
  EXPECT_THROW(cvs.Invalidate(), RuntimeError);
  cvs.Release();  // twice is harmless
  cvs.Initialize(panel);
  EXPECT_TRUE(copy.IsInitialized());  // copies share the canvas
}

TEST_F(CanvasTest, ACanvasOutlivesAPanelThatWasNeverShown) {
  Canvas c;
  {
    View p = ui.CreatePanel(mod->bi, "");
    p.native()->setFrame(Frame{0, 0, 2, 2});
    c.Initialize(p);
  }
  EXPECT_GT(c.MeasureText("abc", ui.CreateDefaultFont(12)).Width(), 10);
  c.DrawRect(c.TargetRect(), kRed, true, 0);
  c.Invalidate();
  EXPECT_TRUE(IsColor(*c.CreateBitmap(), 1, 1, kRed));
}

}  // namespace
}  // namespace tmr

namespace tmr {
namespace {

// A module may hold a canvas longer than the runtime's fonts live: the canvas keeps no font.
TEST(CanvasLifetimeTest, ACanvasThatDrewTextMayOutliveItsRuntime) {
  Canvas kept;
  {
    Runtime rt;
    auto mod = ProbeModule::Make(rt);
    View p = UiLayer().CreatePanel(mod->bi, "");
    p.native()->setFrame(Frame{0, 0, 50, 20});
    kept.Initialize(p);
    Font font = UiLayer().CreateDefaultFont(12);
    EXPECT_GT(kept.MeasureText("abc", font).Width(), 0);
    kept.DrawText("abc", 0, 15, font, kRed, "LEFT");
  }
  EXPECT_TRUE(kept.IsInitialized());
  EXPECT_EQ(kept.TargetRect().Width(), 50);
  kept.Release();
}

}  // namespace
}  // namespace tmr
