// Every change to what a view shows moves the view system's count of changes (a window draws
// again only when it moved), and nothing else does.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/core/Runtime.h"
#include "platform/graphics/Bitmap.h"
#include "platform/views/ButtonObject.h"
#include "platform/views/ButtonWrapper.h"
#include "platform/views/ImageViewWrapper.h"
#include "platform/views/Keyboard.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/ScrollViewWrapper.h"
#include "platform/views/TextFieldWrapper.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewSystem.h"
#include "tests/support/OwnerModule.h"

namespace tmr {
namespace {

struct ScreenChangeTest : ::testing::Test {
  Runtime rt;
  std::shared_ptr<OwnerModule> owner = std::make_shared<OwnerModule>();
  ViewSystem& views = ViewSystem::of(rt);
  View root;
  LabelWrapper label;
  ButtonWrapper button;
  ImageViewWrapper image;
  ScrollViewWrapper scroll;
  TextFieldWrapper field;

  void SetUp() override {
    owner->_initialize(rt);
    root = UiLayer().CreatePanel(owner->bi, "");
    root.native()->setFrame(Frame{0, 0, 375, 667});
    label.Initialize(owner->bi, "");
    button.Initialize(owner->bi, "", ButtonObject::Style::System);
    image.Initialize(owner->bi, "");
    scroll.Initialize(owner->bi, "", 100, 1000);
    field.Initialize(owner->bi, "");
    root.AddView(label, 0, 0, 100, 20);
    root.AddView(button, 0, 20, 100, 20);
    root.AddView(image, 0, 40, 100, 20);
    root.AddView(scroll, 0, 60, 100, 100);
    root.AddView(field, 0, 200, 100, 20);
  }
};

TEST_F(ScreenChangeTest, EachChangeToWhatAViewShowsCounts) {
  const std::vector<std::pair<std::string, std::function<void()>>> changes = {
      {"text", [&] { label.setText("new"); }},
      {"text colour", [&] { label.setTextColor(static_cast<int32_t>(0xFFFF0000)); }},
      {"hidden", [&] { label.setVisible(false); }},
      {"disabled", [&] { button.setEnabled(false); }},
      {"background", [&] { root.setColor(static_cast<int32_t>(0xFF00FF00)); }},
      {"frame", [&] { label.native()->setFrame(Frame{5, 5, 50, 20}); }},
      {"pressed", [&] { static_cast<ButtonObject*>(button.native().get())->setHighlighted(true); }},
      {"picture", [&] { image.SetBitmap(Bitmap::Create(4, 4)); }},
      {"scrolled", [&] { scroll.ScrollTo(0, 50, false); }},
      {"typed", [&] {
         field.native()->click();
         Keyboard::of(rt).type("a");
       }},
      {"removed", [&] { label.native()->removeFromParent(); }},
      {"brought to front", [&] { image.native()->bringToFront(); }},
      {"added", [&] { root.AddView(label, 0, 0, 10, 10); }},
      {"emptied", [&] { root.RemoveAllViews(); }},
  };
  for (const auto& [what, change] : changes) {
    SCOPED_TRACE(what);
    uint64_t before = views.generation();
    change();
    EXPECT_GT(views.generation(), before);
  }
  // Time passing and work that changes no view do not count.
  uint64_t before = views.generation();
  rt.loop().post([] {});
  rt.loop().runUntilIdle();
  EXPECT_EQ(views.generation(), before);
}

TEST_F(ScreenChangeTest, AnAnimationKeepsTheScreenMovingUntilItEnds) {
  int64_t now = rt.loop().now();
  label.SetLayoutAnimated(300, 10, 10, 100, 20);
  EXPECT_EQ(views.animationsEnd(), now + 300);
  root.SetColorAnimated(500, 0, static_cast<int32_t>(0xFFFFFFFF));
  EXPECT_EQ(views.animationsEnd(), now + 500);
  label.SetLayoutAnimated(100, 0, 0, 100, 20);  // a shorter one later does not cut the longer one short
  EXPECT_EQ(views.animationsEnd(), now + 500);
}

// An animation runs for its time on the loop's steady clock: the system's time set back (or
// forth) neither keeps the screen drawing for as long as the jump nor cuts the animation short.
TEST(ScreenAnimationTest, AnAnimationLastsItsTimeWhenTheSystemTimeIsSet) {
  constexpr int64_t kHour = 3'600'000;
  for (int64_t jump : {-kHour, kHour}) {
    int64_t wall = MainLoop::kVirtualEpoch, steady = 1'000;
    Runtime rt(MainLoop::RealTime{[&] { return wall; }, [&] { return steady; }});
    auto owner = std::make_shared<OwnerModule>();
    owner->_initialize(rt);
    ViewSystem& views = ViewSystem::of(rt);
    LabelWrapper label;
    label.Initialize(owner->bi, "");
    label.SetLayoutAnimated(300, 10, 10, 100, 20);
    wall += jump;
    steady += 150;
    EXPECT_TRUE(label.native()->isAnimating()) << "jump " << jump;
    EXPECT_EQ(views.animationsEnd(), 1'300) << "jump " << jump;
    steady += 150;
    EXPECT_FALSE(label.native()->isAnimating()) << "jump " << jump;
  }
}

}  // namespace
}  // namespace tmr
