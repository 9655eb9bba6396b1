#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "dialogs/tm_signaturetemplate.h"
#include "platform/dates/DateTime.h"
#include "platform/graphics/Bitmap.h"
#include "tests/dialogs/DialogHarness.h"

namespace tmr {
namespace {

constexpr int32_t kPositive = tm_dialog::DialogResponse_Positive;
constexpr int32_t kNegative = tm_dialog::DialogResponse_Negative;
constexpr int32_t kCancel = tm_dialog::DialogResponse_Cancel;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kBlack = 0xFF000000;

// The ARGB value of a pixel (premultiplied bytes R, G, B, A; exact for opaque pixels).
uint32_t PixelAt(const std::shared_ptr<Bitmap>& b, int x, int y) {
  const uint8_t* p = &b->pixels()[(static_cast<size_t>(y) * static_cast<size_t>(b->pixelWidth()) + x) * 4];
  return (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

// The pixels of a rectangle that are not white.
int Marked(const std::shared_ptr<Bitmap>& b, int left, int top, int right, int bottom) {
  int n = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) n += PixelAt(b, x, y) != kWhite;
  }
  return n;
}

struct SignatureHarness : DialogHarness {
  SignatureHarness() {
    rt.service<DateTime>().setTimeZone("UTC");
    t->_initialize(owner->bi);
  }
  std::shared_ptr<ResumableSub_dialogowner_Ask> show() {
    auto a = ask([this] { return dialog->_showtemplate(Object(t), Object("OK"), Object("No"), Object("Cancel")); });
    settle();
    return a;
  }
  // A point of the drawing panel on the screen.
  void at(double x, double y, double& sx, double& sy) {
    hand().centreOf(t->mbase, sx, sy);
    sx += x - t->mbase.Width() / 2;
    sy += y - t->mbase.Height() / 2;
  }
  std::shared_ptr<tm_signaturetemplate> t = std::make_shared<tm_signaturetemplate>();
};

TEST(SignatureTemplate, EveryShowingStartsWhite) {
  SignatureHarness h;
  EXPECT_EQ(h.t->mbase.Width(), 300);
  EXPECT_EQ(h.t->mbase.Height(), 200);
  h.t->cvs.DrawLine(0, 0, 300, 200, UiLayer::Color_Black, 4);
  auto a = h.show();
  auto pic = h.t->_getbitmap();
  ASSERT_EQ(pic->pixelWidth(), 300);
  ASSERT_EQ(pic->pixelHeight(), 200);
  EXPECT_EQ(Marked(pic, 0, 0, 300, 200), 0);
}

TEST(SignatureTemplate, AFingerDrawsStrokesOfTheStrokeWidth) {
  SignatureHarness h;
  auto a = h.show();
  Finger f = h.hand();
  double x, y;
  h.at(10, 10, x, y);
  f.pressAt(x, y);
  h.at(20, 10, x, y);
  f.moveTo(x, y);
  h.at(20, 30, x, y);
  f.moveTo(x, y);
  f.release();
  auto pic = h.t->_getbitmap();
  // Two segments two points wide: (10, 10)-(20, 10) covers rows 9 and 10, (20, 10)-(20, 30)
  // columns 19 and 20.
  for (int px = 11; px < 19; ++px) {
    EXPECT_EQ(PixelAt(pic, px, 9), kBlack) << px;
    EXPECT_EQ(PixelAt(pic, px, 10), kBlack) << px;
    EXPECT_EQ(PixelAt(pic, px, 8), kWhite) << px;
    EXPECT_EQ(PixelAt(pic, px, 11), kWhite) << px;
  }
  for (int py = 12; py < 29; ++py) {
    EXPECT_EQ(PixelAt(pic, 19, py), kBlack) << py;
    EXPECT_EQ(PixelAt(pic, 20, py), kBlack) << py;
    EXPECT_EQ(PixelAt(pic, 18, py), kWhite) << py;
    EXPECT_EQ(PixelAt(pic, 21, py), kWhite) << py;
  }
  EXPECT_EQ(Marked(pic, 0, 32, 300, 200), 0);
  EXPECT_EQ(Marked(pic, 23, 0, 300, 200), 0);

  // A new stroke starts where the finger goes down again; up and moves without touch draw
  // nothing.
  h.t->_mbase_touch(UiLayer::TOUCH_ACTION_DOWN, 100, 100);
  h.t->_mbase_touch(UiLayer::TOUCH_ACTION_UP, 150, 100);
  h.t->_mbase_touch(UiLayer::TOUCH_ACTION_MOVE_NOTOUCH, 150, 150);
  EXPECT_EQ(Marked(h.t->_getbitmap(), 40, 40, 300, 200), 0);
  h.t->_mbase_touch(UiLayer::TOUCH_ACTION_MOVE, 100, 120);
  pic = h.t->_getbitmap();
  EXPECT_EQ(PixelAt(pic, 100, 110), kBlack);
  EXPECT_EQ(Marked(pic, 23, 0, 98, 200), 0) << "nothing from the end of the first stroke";
  h.dialog->_close(kCancel);
  h.wait(200);
}

// A positive close stamps "date time" in the current formats near the bottom-left corner, in
// the text colour; other results, or stamping switched off, add nothing.
TEST(SignatureTemplate, APositiveCloseStampsTheDateAndTime) {
  struct Case {
    int32_t result;
    bool stamp;
    bool stamped;
  } cases[] = {{kPositive, true, true}, {kPositive, false, false}, {kNegative, true, false}, {kCancel, true, false}};
  for (const Case& c : cases) {
    SignatureHarness h;
    DateTime& dt = h.rt.service<DateTime>();
    dt.setDateFormat("yyyy-MM-dd");
    dt.setTimeFormat("HH:mm:ss");
    h.t->adddateandtime = c.stamp;
    auto a = h.show();
    h.wait(3723000);  // 1 hour, 2 minutes and 3 seconds
    Finger f = h.hand();
    f.tap(h.button(c.result));
    h.wait(200);
    ASSERT_TRUE(a->done);
    auto pic = h.t->_getbitmap();
    if (!c.stamped) {
      EXPECT_EQ(Marked(pic, 0, 0, 300, 200), 0) << c.result;
      continue;
    }
    // The same text drawn by hand on a white canvas of the same size, at x 2 on the baseline
    // whose "M" ends 2 above the bottom.
    View panel = h.ui.CreatePanel(h.owner->bi, "");
    panel.SetLayoutAnimated(0, 0, 0, 300, 200);
    Canvas expected;
    expected.Initialize(panel);
    expected.DrawRect(expected.TargetRect(), UiLayer::Color_White, true, 0);
    Font font = h.ui.CreateDefaultFont(14);
    Rect m = expected.MeasureText("M", font);
    int baseline = static_cast<int>(200 - m.Bottom - 2);
    expected.DrawText("2026-01-01 01:02:03", 2, baseline, font, static_cast<int32_t>(0xFFFF8800), "LEFT");
    auto want = expected.CreateBitmap();
    EXPECT_TRUE(std::equal(want->pixels().begin(), want->pixels().end(), pic->pixels().begin()));
    EXPECT_GT(Marked(pic, 2, 180, 200, 198), 100);
    EXPECT_EQ(Marked(pic, 0, 0, 300, 180), 0);
    EXPECT_EQ(Marked(pic, 0, 199, 300, 200), 0) << "the M ends 2 above the bottom (its edge may shade row 198)";
    // Some pixels are the text colour itself.
    bool orange = false;
    for (int y = 180; y < 198 && !orange; ++y) {
      for (int x = 2; x < 200 && !orange; ++x) orange = PixelAt(pic, x, y) == 0xFFFF8800u;
    }
    EXPECT_TRUE(orange);
  }
}

TEST(SignatureTemplate, ResizingGivesTheCanvasTheNewSize) {
  SignatureHarness h;
  h.t->_resize(400, 150);
  EXPECT_EQ(h.t->mbase.Width(), 400);
  EXPECT_EQ(h.t->mbase.Height(), 150);
  auto a = h.show();
  auto pic = h.t->_getbitmap();
  EXPECT_EQ(pic->pixelWidth(), 400);
  EXPECT_EQ(pic->pixelHeight(), 150);
  EXPECT_EQ(Marked(pic, 0, 0, 400, 150), 0) << "the whole new size is cleared";
  h.t->_mbase_touch(UiLayer::TOUCH_ACTION_DOWN, 390, 140);
  h.t->_mbase_touch(UiLayer::TOUCH_ACTION_MOVE, 399, 140);
  EXPECT_EQ(PixelAt(h.t->_getbitmap(), 395, 139), kBlack);
  h.dialog->_close(kPositive);
  h.wait(200);
  EXPECT_GT(Marked(h.t->_getbitmap(), 2, 125, 200, 148), 100) << "the stamp follows the new bottom";
}

}  // namespace
}  // namespace tmr
