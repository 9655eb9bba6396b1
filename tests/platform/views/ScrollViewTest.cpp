#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Bitmap.h"
#include "platform/views/ScrollViewWrapper.h"
#include "platform/views/TouchInput.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewRenderer.h"
#include "platform/views/ViewSystem.h"
#include "tests/support/OwnerModule.h"

namespace tmr {
namespace {

// The module of the views under test: records what it hears, in order.
class ScrollProbe : public CallProbe {
 public:
  void _sv_scrollchanged(int32_t x, int32_t y) {
    calls.push_back("scroll " + std::to_string(x) + "," + std::to_string(y));
  }
  void _item_click() { calls.push_back("item click"); }
  void _item_longclick() { calls.push_back("item longclick"); }
  void _plain_click() { calls.push_back("plain click"); }
  const SubTable& subTable() const override {
    static const SubTable table{
        sub<&ScrollProbe::_sv_scrollchanged>("_sv_scrollchanged::"), sub<&ScrollProbe::_item_click>("_item_click"),
        sub<&ScrollProbe::_item_longclick>("_item_longclick"), sub<&ScrollProbe::_plain_click>("_plain_click")};
    return table;
  }
};

constexpr int32_t kRed = static_cast<int32_t>(0xFFFF0000);
constexpr int32_t kBlue = static_cast<int32_t>(0xFF0000FF);
constexpr int32_t kGreen = static_cast<int32_t>(0xFF00FF00);

// A 200 x 300 scroll view at (50, 20) of a 300 x 400 screen, with 1000 points of content and
// an item 50 high at content y 500.
struct ScrollViewTest : ::testing::Test {
  Runtime rt;
  std::shared_ptr<ScrollProbe> probe = std::make_shared<ScrollProbe>();
  UiLayer ui;
  View root;
  ScrollViewWrapper sv;
  View item;
  TouchInput& touches = ViewSystem::of(rt).touches();

  void SetUp() override {
    probe->_initialize(rt);
    root = ui.CreatePanel(probe->bi, "");
    root.native()->setFrame(Frame{0, 0, 300, 400});
    sv.Initialize(probe->bi, "sv", 200, 1000);
    root.AddView(sv, 50, 20, 200, 300);
    item = ui.CreatePanel(probe->bi, "item");
    sv.ScrollViewInnerPanel().AddView(item, 0, 500, 200, 50);
  }
  std::vector<std::string> scrolls() const {
    std::vector<std::string> out;
    for (const auto& c : probe->calls) {
      if (c.rfind("scroll", 0) == 0) out.push_back(c);
    }
    return out;
  }
  // A finger that goes down at (x, y), moves by (dx, dy) in steps of 5 points, and lifts.
  void drag(double x, double y, double dx, double dy) {
    touches.down(root.native(), x, y);
    int steps = 20;
    for (int i = 1; i <= steps; ++i) touches.move(x + dx * i / steps, y + dy * i / steps);
    touches.up();
  }
};

TEST_F(ScrollViewTest, TheInnerPanelFollowsTheContentSize) {
  View inner = sv.ScrollViewInnerPanel();
  EXPECT_EQ(inner.Parent(), static_cast<View>(sv));
  EXPECT_EQ(inner.Height(), 1000);
  sv.setScrollViewContentHeight(640);
  sv.setScrollViewContentWidth(150);
  EXPECT_EQ(sv.ScrollViewContentHeight(), 640);
  EXPECT_EQ(inner.Height(), 640);
  EXPECT_EQ(inner.Width(), 150);
  EXPECT_THROW(root.ScrollViewOffsetY(), RuntimeError) << "a panel is not a scroll view";
}

TEST_F(ScrollViewTest, TheOffsetMovesTheContentForTouchesAndFrames) {
  EXPECT_NE(TouchInput::hitTest(root.native(), 150, 40), item.native());
  sv.setScrollViewOffsetY(490);
  EXPECT_EQ(TouchInput::hitTest(root.native(), 150, 40), item.native()) << "content y 510 shows at screen y 40";
  Frame f;
  ASSERT_TRUE(TouchInput::frameIn(*item.native(), *root.native(), f));
  EXPECT_EQ(f, (Frame{50, 30, 200, 50}));
  // Content scrolled out of the view cannot be touched: the view clips it.
  sv.setScrollViewOffsetY(200);
  EXPECT_NE(TouchInput::hitTest(root.native(), 150, 335), item.native()) << "below the scroll view";
}

TEST_F(ScrollViewTest, SettingTheOffsetRaisesScrollChangedOnlyWhenItMoves) {
  sv.setScrollViewOffsetY(120.7);
  sv.setScrollViewOffsetY(120.7);
  sv.setScrollViewOffsetX(3);
  EXPECT_EQ(scrolls(), (std::vector<std::string>{"scroll 0,120", "scroll 3,120"}));
  EXPECT_EQ(sv.ScrollViewOffsetY(), 120.7);
  // Shrinking the content leaves the offset where it is.
  sv.setScrollViewContentHeight(100);
  EXPECT_EQ(sv.ScrollViewOffsetY(), 120.7);
  EXPECT_EQ(scrolls().size(), 2u);
}

TEST_F(ScrollViewTest, AnAnimatedScrollMovesFrameByFrameAndEndsOnItsTarget) {
  sv.ScrollTo(0, 300, true);
  EXPECT_EQ(sv.ScrollViewOffsetY(), 0) << "nothing moves before the first frame";
  rt.loop().advance(150);
  double half = sv.ScrollViewOffsetY();
  EXPECT_GT(half, 100);
  EXPECT_LT(half, 200);
  rt.loop().advance(150);
  EXPECT_EQ(sv.ScrollViewOffsetY(), 300);
  auto s = scrolls();
  ASSERT_GE(s.size(), 15u) << "one event per frame";
  EXPECT_EQ(s.back(), "scroll 0,300");
  EXPECT_FALSE(sv.scrollView().isScrollAnimating());
  rt.loop().advance(100);
  EXPECT_EQ(scrolls().size(), s.size()) << "no frame after the end";

  // Setting the offset stops an animated scroll where it is.
  sv.ScrollTo(0, 0, true);
  rt.loop().advance(100);
  sv.setScrollViewOffsetY(250);
  rt.loop().advance(400);
  EXPECT_EQ(sv.ScrollViewOffsetY(), 250);
}

TEST_F(ScrollViewTest, DraggingScrollsWithTheFingerWithinTheContentAndTakesTheTouch) {
  sv.setScrollViewOffsetY(450);  // the item shows at screen y 70 to 120
  probe->calls.clear();
  drag(150, 95, 0, -100);
  EXPECT_EQ(sv.ScrollViewOffsetY(), 550);
  EXPECT_EQ(scrolls().back(), "scroll 0,550");
  EXPECT_EQ(std::count(probe->calls.begin(), probe->calls.end(), "item click"), 0)
      << "a drag is no tap, even when the finger lifts over the item";

  struct Case {
    double dy;
    double offset;
  } cases[] = {{-2000, 700}, {5000, 0}};  // the content's end is 1000 - 300
  for (const auto& c : cases) {
    drag(150, 150, 0, c.dy);
    EXPECT_EQ(sv.ScrollViewOffsetY(), c.offset) << c.dy;
  }
  probe->calls.clear();
  drag(150, 150, 0, 50);
  EXPECT_TRUE(scrolls().empty()) << "already at the top: nothing moves";
}

TEST_F(ScrollViewTest, ADragBringsAnOffsetSetOutOfRangeBackWithinTheContent) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double from;
    std::vector<double> fingerYs;  // the finger goes down at y 150 and moves through these
    double offset;
    std::vector<std::string> expected;
  } cases[] = {
      {nan, {100}, 50, {"scroll 0,50"}},
      {nan, {180, 200}, 0, {"scroll 0,0"}},  // from NaN to 0 is a change, once
      {inf, {100, 90}, 700, {"scroll 0,700"}},
      {-inf, {180, 200}, 0, {"scroll 0,0"}},
      {5000, {100}, 700, {"scroll 0,700"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.from);
    sv.setScrollViewOffsetY(c.from);
    probe->calls.clear();
    touches.down(root.native(), 150, 150);
    for (double y : c.fingerYs) touches.move(150, y);
    touches.up();
    EXPECT_EQ(sv.ScrollViewOffsetY(), c.offset);
    EXPECT_EQ(sv.ScrollViewOffsetX(), 0);
    EXPECT_EQ(scrolls(), c.expected);
  }
}

TEST_F(ScrollViewTest, ContentThatFitsDoesNotScrollAndATapStillClicks) {
  sv.setScrollViewContentHeight(300);
  item.setTop(100);
  drag(150, 160, 0, -30);  // the item shows at screen y 120 to 170
  EXPECT_EQ(sv.ScrollViewOffsetY(), 0);
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"item click"})) << "the finger lifted inside the item";
}

TEST_F(ScrollViewTest, AHeldItemRaisesLongClickInsteadOfClick) {
  sv.setScrollViewOffsetY(450);
  View plain = ui.CreatePanel(probe->bi, "plain");
  root.AddView(plain, 0, 350, 300, 50);
  struct Case {
    const char* name;
    double x, y;
    int64_t holdMs;
    double moveBy;
    std::vector<std::string> expected;
  } cases[] = {
      {"held 500 ms", 150, 95, 500, 0, {"item longclick"}},
      {"held 499 ms", 150, 95, 499, 0, {"item click"}},
      {"moved away before 500 ms", 150, 95, 1000, 15, {"scroll 0,435"}},
      {"a view without a longclick handler clicks however long it is held", 150, 375, 2000, 0, {"plain click"}},
  };
  for (const auto& c : cases) {
    probe->calls.clear();
    sv.setScrollViewOffsetY(450);
    probe->calls.clear();
    touches.down(root.native(), c.x, c.y);
    if (c.moveBy != 0) touches.move(c.x, c.y + c.moveBy);
    rt.loop().advance(c.holdMs);
    touches.up();
    EXPECT_EQ(probe->calls, c.expected) << c.name;
  }
}

TEST_F(ScrollViewTest, AColourAnimationStoresItsTargetAtOnceWhileThePictureChanges) {
  item.SetColorAnimated(100, kRed, kBlue);
  EXPECT_EQ(item.Color(), kBlue);
  EXPECT_EQ(item.native()->presentationColor(), kRed);
  rt.loop().advance(50);
  auto mid = static_cast<uint32_t>(item.native()->presentationColor());
  EXPECT_GT(mid & 0xFF, 0x40u);
  EXPECT_GT((mid >> 16) & 0xFF, 0x40u);
  rt.loop().advance(50);
  EXPECT_EQ(item.native()->presentationColor(), kBlue);
  item.SetColorAnimated(100, kRed, kBlue);
  item.setColor(kGreen);
  EXPECT_EQ(item.native()->presentationColor(), kGreen) << "setting a colour ends the animation";
}

TEST_F(ScrollViewTest, TheScreenShowsTheContentMovedByTheOffsetAndClipped) {
  item.setColor(kRed);
  View tall = ui.CreatePanel(probe->bi, "");
  sv.ScrollViewInnerPanel().AddView(tall, 0, 0, 20, 1000);
  tall.setColor(kGreen);
  sv.setScrollViewOffsetY(490);
  auto pic = ViewRenderer(rt).render(*root.native(), 1);
  auto at = [&](int x, int y) {
    const uint8_t* p = &pic->pixels()[(static_cast<size_t>(y) * pic->pixelWidth() + x) * 4];
    return (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
  };
  EXPECT_EQ(at(150, 45), 0xFFFF0000u) << "content y 515";
  EXPECT_NE(at(150, 25), 0xFFFF0000u) << "content y 495, above the item";
  EXPECT_EQ(at(55, 300), 0xFF00FF00u);
  EXPECT_NE(at(55, 330), 0xFF00FF00u) << "below the scroll view the content is clipped";
}

}  // namespace
}  // namespace tmr
