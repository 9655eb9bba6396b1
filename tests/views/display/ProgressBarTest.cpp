#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "bitmap/DrawingBatchQueue.h"
#include "platform/graphics/Bitmap.h"
#include "platform/layout/FieldTable.h"
#include "tests/support/LayoutScreen.h"
#include "views/display/tm_progressbar.h"

namespace tmr {
namespace {

constexpr uint32_t kProgress = 0xFF406080;  // the stripes: 0xFF6090C0
constexpr uint32_t kStripe = 0xFF6090C0;
constexpr uint32_t kEmpty = 0xFFFFFFFF;

class BarOwner : public OwnerModule {
 public:
  const FieldTable& fieldTable() const override {
    static const FieldTable table{field<&BarOwner::pb1>("pb1")};
    return table;
  }
  std::shared_ptr<tm_progressbar> pb1;
};

// A screen holding one progress bar "pb1" of the given frame and designer properties; drawing
// batches run at once and deliver their picture on the next turn.
struct BarScreen : LayoutScreen<BarOwner> {
  explicit BarScreen(int w, int h, const std::string& props = R"("ProgressColor": "#FF406080", "CornerRadius": 0)",
                     const std::string& extra = "")
      : LayoutScreen(R"({"name": "pb1", "type": "CustomView", "class": "tm_progressbar", "frame": [10, 10, )" +
                         std::to_string(w) + ", " + std::to_string(h) + "]" + extra +
                         R"(, "text": "busy", "props": {)" + props + "}}",
                     LayoutScreenSetup().withPrepare([](Runtime& rt) {
                       rt.service<DrawingBatchQueue>().setMode(DrawingBatchQueue::Mode::Inline);
                     })) {}
  tm_progressbar& bar() { return *owner->pb1; }
  std::shared_ptr<Bitmap> shown() { return bar().miv.GetBitmap(); }
};

uint32_t Argb(const Bitmap& b, int x, int y) { return ArgbAt(b, x, y); }

bool Striped(uint32_t c) { return c == kProgress || c == kStripe; }

// How far the striped part reaches along the bar's middle line: its length from the start.
int FilledLength(const Bitmap& b, bool vertical) {
  const int n = vertical ? b.pixelHeight() : b.pixelWidth();
  int filled = 0;
  for (int i = 0; i < n; ++i) {
    uint32_t c = vertical ? Argb(b, b.pixelWidth() / 2, i) : Argb(b, i, b.pixelHeight() / 2);
    if (Striped(c)) filled = i + 1;
  }
  return filled;
}

TEST(ProgressBarTest, OrientationBufferAndFillDirectionFollowTheShape) {
  struct Case {
    int w, h;
    bool vertical;
  };
  for (const Case& c : {Case{200, 20, false}, Case{20, 200, true}, Case{50, 50, false}}) {
    SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
    BarScreen s(c.w, c.h, R"("Value": 30, "ProgressColor": "#FF406080", "CornerRadius": 0)");
    auto& pb = s.bar();
    EXPECT_EQ(pb.vertical, c.vertical);
    EXPECT_EQ(pb.bc->mwidth, c.w);
    EXPECT_EQ(pb.bc->mheight, c.h);
    EXPECT_EQ(pb.mbase.Tag().As<tm_progressbar>(), s.owner->pb1);
    // The image view and then the designer label on top, both over the whole bar.
    ASSERT_EQ(pb.mbase.NumberOfViews(), 2);
    EXPECT_EQ(pb.mbase.GetView(0), pb.miv);
    EXPECT_EQ(pb.mbase.GetView(1).Text().str(), "busy");
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(pb.mbase.GetView(i).Width(), c.w);
      EXPECT_EQ(pb.mbase.GetView(i).Height(), c.h);
    }
    EXPECT_EQ(pb._getvalue(), 30);
    s.wait(1);
    auto frame = s.shown();
    ASSERT_TRUE(frame);
    const int length = c.vertical ? c.h : c.w;
    EXPECT_EQ(FilledLength(*frame, c.vertical), std::lrint(0.3 * length));
    // The striped part starts at the top (vertical) or the left; the rest is the empty colour.
    EXPECT_TRUE(Striped(Argb(*frame, 0, 0)));
    EXPECT_EQ(Argb(*frame, frame->pixelWidth() - 1, frame->pixelHeight() - 1), kEmpty);
  }
}

TEST(ProgressBarTest, FirstPictureBeforeAnyFrame) {
  // Value 100 shows the solid progress colour with corners of 15, anything else the empty colour.
  for (int value : {100, 40}) {
    BarScreen s(200, 40, R"("Value": )" + std::to_string(value) + R"(, "ProgressColor": "#FF406080")");
    ASSERT_TRUE(s.shown());
    EXPECT_EQ(s.bar().cornerradius, 15);
    EXPECT_EQ(Argb(*s.shown(), 100, 20), value == 100 ? kProgress : kEmpty);
    EXPECT_EQ(Argb(*s.shown(), 0, 0), 0u) << "the rounded corner stays transparent";
  }
}

TEST(ProgressBarTest, ValuesAreLimitedToTheRange) {
  BarScreen s(200, 20);
  auto& pb = s.bar();
  struct Case {
    int in, stored;
  };
  for (const Case& c : {Case{-5, 0}, Case{250, 100}, Case{0, 0}, Case{100, 100}, Case{57, 57}}) {
    pb._setvalue(c.in);
    EXPECT_EQ(pb._getvalue(), c.stored);
    pb._setvaluenoanimation(c.in);
    EXPECT_EQ(pb._getvalue(), c.stored);
    EXPECT_EQ(pb.currentvalue, static_cast<float>(c.stored));
  }
}

TEST(ProgressBarTest, TheBarGlidesAtItsSpeedAndSmallStepsShowAtOnce) {
  BarScreen s(200, 20, R"("Value": 0, "ProgressColor": "#FF406080", "CornerRadius": 0)");
  auto& pb = s.bar();
  s.wait(100);
  EXPECT_EQ(FilledLength(*s.shown(), false), 0);
  pb._setvalue(100);
  const int64_t start = s.rt.Now();
  int64_t reached = 0;
  float previous = 0;
  while (s.rt.Now() - start < 3000) {
    s.wait(10);
    EXPECT_GE(pb.currentvalue, previous) << "the bar moves only towards the target";
    previous = pb.currentvalue;
    if (FilledLength(*s.shown(), false) == 200) {
      reached = s.rt.Now() - start;
      break;
    }
  }
  // 100 units at 60 a second: about 1.7 s, give or take a frame.
  EXPECT_GE(reached, 1640);
  EXPECT_LE(reached, 1740);

  // Going down glides too; a step of one shows on the next frame.
  pb._setvalue(50);
  s.wait(100);
  EXPECT_GT(pb.currentvalue, 90);
  EXPECT_LT(pb.currentvalue, 96);
  pb._setvaluenoanimation(50);
  s.wait(31);
  EXPECT_EQ(FilledLength(*s.shown(), false), 100);
  pb._setvalue(51);
  s.wait(31);
  EXPECT_EQ(pb.currentvalue, 51);
  EXPECT_EQ(FilledLength(*s.shown(), false), 102);
}

TEST(ProgressBarTest, SpeedsThatNeverArriveShowTheTargetAtOnce) {
  for (float speed : {0.0f, -60.0f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()}) {
    SCOPED_TRACE(speed);
    BarScreen s(200, 20, R"("Value": 10, "ProgressColor": "#FF406080", "CornerRadius": 0)");
    auto& pb = s.bar();
    pb.valuechangepersecond = speed;
    pb._setvalue(80);
    s.wait(31);
    EXPECT_EQ(pb.currentvalue, 80);
    s.wait(31);
    EXPECT_EQ(FilledLength(*s.shown(), false), 160);
  }
}

TEST(ProgressBarTest, HalfAPixelRoundsToEven) {
  struct Case {
    int w, value, filled;
  };
  for (const Case& c : {Case{101, 50, 50}, Case{103, 50, 52}, Case{200, 33, 66}}) {
    BarScreen s(c.w, 20,
                R"("Value": )" + std::to_string(c.value) + R"(, "ProgressColor": "#FF406080", "CornerRadius": 0)");
    s.wait(1);
    EXPECT_EQ(FilledLength(*s.shown(), false), c.filled) << c.w << " wide at " << c.value;
  }
}

TEST(ProgressBarTest, AFullBarIsAllStripesWithItsCorners) {
  BarScreen s(200, 40, R"("Value": 100, "ProgressColor": "#FF406080", "CornerRadius": 10)");
  s.wait(1);
  const Bitmap& b = *s.shown();
  int empty = 0, striped = 0, stripe = 0;
  for (int y = 0; y < b.pixelHeight(); ++y) {
    for (int x = 0; x < b.pixelWidth(); ++x) {
      empty += Argb(b, x, y) == kEmpty;
      striped += Striped(Argb(b, x, y));
      stripe += Argb(b, x, y) == kStripe;
    }
  }
  EXPECT_EQ(empty, 0);
  EXPECT_GT(striped, 200 * 40 * 9 / 10);
  EXPECT_GT(stripe, 200 * 40 / 10) << "the lighter stripes are there";
  EXPECT_EQ(Argb(b, 0, 0), 0u) << "rounded corners";
}

TEST(ProgressBarTest, TheStripesMoveThreePixelsAFrame) {
  for (bool vertical : {false, true}) {
    SCOPED_TRACE(vertical ? "vertical" : "horizontal");
    BarScreen s(vertical ? 30 : 300, vertical ? 300 : 30,
                R"("Value": 100, "ProgressColor": "#FF406080", "CornerRadius": 0)");
    s.wait(1);
    auto before = s.shown();
    s.wait(30);
    auto after = s.shown();
    ASSERT_NE(before, after) << "a new frame";
    int compared = 0;
    for (int i = 10; i < 280; ++i) {
      for (int j = 0; j < 30; ++j) {
        const int x = vertical ? j : i, y = vertical ? i : j;
        const int px = vertical ? j : i - 3, py = vertical ? i - 3 : j;
        ASSERT_EQ(Argb(*after, x, y), Argb(*before, px, py)) << x << "," << y;
        ++compared;
      }
    }
    EXPECT_GT(compared, 0);
  }
}

TEST(ProgressBarTest, HidingStopsTheLoopAndShowingAgainRunsExactlyOne) {
  BarScreen s(200, 20);
  auto& pb = s.bar();
  s.wait(1);
  auto offset = [&] { return pb.busybrush->SrcOffsetX; };
  // One loop: a frame about every 30 ms.
  int o = offset();
  s.wait(300);
  const int oneLoop = offset() - o;
  EXPECT_GE(oneLoop, 27);
  EXPECT_LE(oneLoop, 33);

  pb._setvisible(false);
  EXPECT_FALSE(pb._getvisible());
  s.wait(40);
  auto last = s.shown();
  o = offset();
  s.wait(300);
  EXPECT_EQ(offset(), o) << "a hidden bar draws nothing";
  EXPECT_EQ(s.shown(), last) << "the last frame stays";

  pb._setvisible(true);
  pb._setvisible(false);
  pb._setvisible(true);
  pb._setvisible(true);
  EXPECT_TRUE(pb._getvisible());
  s.wait(1);
  o = offset();
  s.wait(300);
  EXPECT_GE(offset() - o, 27);
  EXPECT_LE(offset() - o, 33) << "only one loop draws";
}

TEST(ProgressBarTest, ABarMadeHiddenDrawsNoFramesUntilShown) {
  BarScreen s(200, 20, R"("Value": 40, "ProgressColor": "#FF406080", "CornerRadius": 0)", R"(, "visible": false)");
  auto& pb = s.bar();
  EXPECT_FALSE(pb._getvisible());
  auto first = s.shown();
  s.wait(300);
  EXPECT_EQ(s.shown(), first) << "only the first picture";
  EXPECT_EQ(pb.busybrush->SrcOffsetX, 0);
  pb._setvisible(true);
  s.wait(100);
  EXPECT_NE(s.shown(), first);
  EXPECT_EQ(FilledLength(*s.shown(), false), 80);
}

TEST(ProgressBarTest, ALoopStartedWhileABatchIsDrawingWaitsForIt) {
  BarScreen s(200, 20);
  auto& pb = s.bar();
  s.wait(1);
  ASSERT_FALSE(pb.batchinflight);
  pb._setvisible(true);  // a new loop's batch has started: its picture arrives on the next turn
  ASSERT_TRUE(pb.batchinflight);
  const int o = pb.busybrush->SrcOffsetX;
  pb._setvisible(true);
  EXPECT_EQ(pb.busybrush->SrcOffsetX, o) << "the new loop leaves the brush alone until the batch has delivered";
  s.rt.loop().runOneTurn();
  EXPECT_EQ(pb.busybrush->SrcOffsetX, o + 3) << "then draws its own frame";
  EXPECT_TRUE(pb.batchinflight);
}

TEST(ProgressBarTest, AResizeDuringABatchDrawsIntoANewBuffer) {
  BarScreen s(200, 20);
  auto& pb = s.bar();
  s.wait(1);
  pb._setvisible(true);
  ASSERT_TRUE(pb.batchinflight);
  auto drawing = pb.bc;
  pb.mbase.SetLayoutAnimated(0, 10, 10, 120, 30);
  EXPECT_NE(pb.bc, drawing) << "the batch keeps its buffer";
  EXPECT_EQ(drawing->mwidth, 200);
  EXPECT_EQ(pb.bc->mwidth, 120);
  EXPECT_EQ(pb.bc->mheight, 30);
  s.wait(1);
  EXPECT_EQ(s.shown()->pixelWidth(), 120) << "the old batch's picture is not shown";
  s.wait(100);
  EXPECT_EQ(s.shown()->pixelWidth(), 120);
  EXPECT_EQ(FilledLength(*s.shown(), false), 120);

  // Without a batch in flight the buffer is kept and made again at the new size.
  s.wait(30);
  s.rt.loop().runOneTurn();
  pb._setvisible(false);
  s.wait(100);
  ASSERT_FALSE(pb.batchinflight);
  auto kept = pb.bc;
  pb.mbase.SetLayoutAnimated(0, 10, 10, 150, 30);
  EXPECT_EQ(pb.bc, kept);
  EXPECT_EQ(pb.bc->mwidth, 150);
}

TEST(ProgressBarTest, OnTheBackgroundWorkerRestartsAndResizesNeverShareABuffer) {
  BarScreen s(200, 20);
  auto& pb = s.bar();
  auto& queue = s.rt.service<DrawingBatchQueue>();
  queue.setMode(DrawingBatchQueue::Mode::Worker);
  for (int i = 0; i < 60; ++i) {
    if (i % 3 == 0) pb.mbase.SetLayoutAnimated(0, 10, 10, 100 + 7 * i, 10 + i % 20);
    if (i % 4 == 1) pb._setvisible(true);
    if (i % 11 == 5) pb._setvisible(false);
    pb._setvalue(i * 7 % 101);
    s.wait(31);
  }
  pb._setvisible(true);
  queue.waitIdle();
  s.wait(1);
  queue.waitIdle();
  s.wait(1);
  queue.setMode(DrawingBatchQueue::Mode::Inline);
  pb._setvaluenoanimation(50);
  s.wait(200);
  queue.waitIdle();
  s.wait(1);
  EXPECT_EQ(s.shown()->pixelWidth(), pb.bc->mwidth);
  EXPECT_EQ(FilledLength(*s.shown(), false), std::lrint(pb.bc->mwidth / 2.0));
}

// Smaller than a pixel, empty or resized to a negative size at run time: no pixels to draw.
TEST(ProgressBarTest, ABarWithoutPixelsDrawsNothingAndKeepsGliding) {
  struct Case {
    double w, h;
    int32_t pixelsW, pixelsH;
  };
  const Case cases[] = {{0.5, 20, 0, 20}, {0, 0, 0, 0}, {-5, 10, 0, 10}, {10, -5, 10, 0}, {-5, -5, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
    BarScreen s(200, 20, R"("Value": 0, "ProgressColor": "#FF406080", "CornerRadius": 0)");
    auto& pb = s.bar();
    s.wait(40);
    pb.mbase.SetLayoutAnimated(0, 10, 10, c.w, c.h);
    EXPECT_EQ(pb.bc->mwidth, c.pixelsW);
    EXPECT_EQ(pb.bc->mheight, c.pixelsH);
    pb._setvalue(100);
    s.wait(3000);
    EXPECT_EQ(pb.currentvalue, 100);
    EXPECT_FALSE(pb.batchinflight);
    pb.mbase.SetLayoutAnimated(0, 10, 10, 100, 20);
    s.wait(40);
    EXPECT_EQ(FilledLength(*s.shown(), false), 100) << "a later size with pixels draws as usual";
  }
}

TEST(ProgressBarTest, AMissingProgressColourIsTransparent) {
  BarScreen s(200, 20, R"("Value": 100)");
  s.wait(1);
  EXPECT_EQ(s.bar().backgroundcolor, 0);
  EXPECT_EQ(Argb(*s.shown(), 100, 10), 0u);
}

}  // namespace
}  // namespace tmr
