#include <gtest/gtest.h>

#include <limits>

#include "platform/core/Runtime.h"
#include "platform/native/NativeObject.h"
#include "platform/views/ButtonWrapper.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/LongPressGestureRecognizer.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewSystem.h"
#include "tests/support/OwnerModule.h"

namespace tmr {
namespace {

// The module of the views under test: records clicks and recognizer actions.
class TouchProbe : public CallProbe {
 public:
  void _btn_click() { calls.push_back("btn click"); }
  void _pnl_click() { calls.push_back("pnl click"); }
  void _held_click() { calls.push_back("held click"); }
  void _held_longclick() { calls.push_back("held longclick"); }
  void action(Object rec) {
    calls.push_back("state " + NativeObject(rec).RunMethod("state").object().AsString().str());
  }
  const SubTable& subTable() const override {
    static const SubTable table{sub<&TouchProbe::_btn_click>("_btn_click"), sub<&TouchProbe::_pnl_click>("_pnl_click"),
                                sub<&TouchProbe::_held_click>("_held_click"),
                                sub<&TouchProbe::_held_longclick>("_held_longclick"), sub<&TouchProbe::action>("action:")};
    return table;
  }
};

struct TouchTest : ::testing::Test {
  Runtime rt;
  std::shared_ptr<TouchProbe> probe = std::make_shared<TouchProbe>();
  UiLayer ui;
  View root;
  TouchInput& touches = ViewSystem::of(rt).touches();
  void SetUp() override {
    probe->_initialize(rt);
    root = ui.CreatePanel(probe->bi, "");
    root.native()->setFrame(Frame{0, 0, 300, 300});
  }
  ButtonWrapper button(View parent, double l, double t) {
    ButtonWrapper b;
    b.Initialize(probe->bi, "btn", ButtonWrapper::STYLE_SYSTEM);
    parent.AddView(b, l, t, 100, 40);
    return b;
  }
  std::shared_ptr<GestureRecognizer> longPress(View v, double seconds) {
    auto rec = NativeObject::ClassByName(rt, "UILongPressGestureRecognizer")
                   .RunMethod("alloc")
                   .RunMethod("initWithTarget:action:", {Object(probe), Object("action:")});
    rec.RunMethod("setMinimumPressDuration:", {Object(seconds)});
    NativeObject(Object(v)).RunMethod("addGestureRecognizer:", {rec.object()});
    return rec.object().As<GestureRecognizer>();
  }
  void tap(double x, double y) {
    touches.down(root.native(), x, y);
    touches.up();
  }
};

TEST_F(TouchTest, TheTopMostTouchableViewTakesTheTouch) {
  View lower = ui.CreatePanel(probe->bi, "pnl");
  root.AddView(lower, 0, 0, 200, 200);
  View upper = ui.CreatePanel(probe->bi, "");
  root.AddView(upper, 50, 50, 100, 100);
  EXPECT_EQ(TouchInput::hitTest(root.native(), 60, 60), upper.native());
  EXPECT_EQ(TouchInput::hitTest(root.native(), 10, 10), lower.native());
  EXPECT_EQ(TouchInput::hitTest(root.native(), 250, 250), root.native());
  EXPECT_EQ(TouchInput::hitTest(root.native(), 400, 10), nullptr);
  upper.setVisible(false);
  EXPECT_EQ(TouchInput::hitTest(root.native(), 60, 60), lower.native());
  upper.setVisible(true);
  upper.setEnabled(false);
  EXPECT_EQ(TouchInput::hitTest(root.native(), 60, 60), lower.native());
}

TEST_F(TouchTest, HiddenOrDisabledViewsAndEverythingInsideThemRaiseNoClick) {
  View holder = ui.CreatePanel(probe->bi, "");
  root.AddView(holder, 0, 0, 200, 200);
  auto b = button(holder, 10, 10);
  tap(20, 20);
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"btn click"}));
  b.setEnabled(false);
  tap(20, 20);
  b.setEnabled(true);
  holder.setEnabled(false);
  tap(20, 20);
  holder.setEnabled(true);
  holder.setVisible(false);
  tap(20, 20);
  EXPECT_EQ(probe->calls.size(), 1u);
}

TEST_F(TouchTest, AClickNeedsTheFingerToLiftInsideTheViewThatWasTouched) {
  View pnl = ui.CreatePanel(probe->bi, "pnl");
  root.AddView(pnl, 0, 0, 100, 100);
  touches.down(root.native(), 50, 50);
  touches.move(150, 150);
  touches.up();
  EXPECT_TRUE(probe->calls.empty());
  touches.down(root.native(), 50, 50);
  pnl.setVisible(false);
  pnl.setVisible(true);
  touches.up();
  EXPECT_TRUE(probe->calls.empty()) << "hiding the view cancelled the touch";
  tap(50, 50);
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"pnl click"}));
}

TEST_F(TouchTest, LongPressWithNoDurationBeginsAtTouchDownAndEndsWithTheTouch) {
  View area = ui.CreatePanel(probe->bi, "");
  root.AddView(area, 0, 0, 100, 100);
  LabelWrapper glyph;
  glyph.Initialize(probe->bi, "");
  area.AddView(glyph, 0, 0, 100, 100);
  auto rec = longPress(area, 0);
  touches.down(root.native(), 50, 50);
  EXPECT_EQ(rec->view(), area.native());
  touches.move(55, 50);
  touches.up();
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"state 1", "state 2", "state 3"}));
}

TEST_F(TouchTest, DisablingOrRemovingAViewDuringATouchCancelsItsRecognizers) {
  View area = ui.CreatePanel(probe->bi, "");
  root.AddView(area, 0, 0, 100, 100);
  longPress(area, 0);
  touches.down(root.native(), 50, 50);
  area.setEnabled(false);
  touches.up();
  area.setEnabled(true);
  touches.down(root.native(), 50, 50);
  area.RemoveViewFromParent();
  touches.up();
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"state 1", "state 4", "state 1", "state 4"}));
}

TEST_F(TouchTest, LongPressWaitsForItsDurationOnTheClockAndFailsSilentlyWhenLiftedBefore) {
  View area = ui.CreatePanel(probe->bi, "");
  root.AddView(area, 0, 0, 100, 100);
  longPress(area, 0.5);
  touches.down(root.native(), 50, 50);
  rt.loop().advance(499);
  touches.up();
  rt.loop().advance(1000);
  EXPECT_TRUE(probe->calls.empty());
  touches.down(root.native(), 50, 50);
  rt.loop().advance(500);
  touches.up();
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"state 1", "state 3"}));
}

TEST_F(TouchTest, ARecognizedGestureTakesTheClickFromTheView) {
  View pnl = ui.CreatePanel(probe->bi, "pnl");
  root.AddView(pnl, 0, 0, 100, 100);
  longPress(pnl, 0);
  tap(50, 50);
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"state 1", "state 3"}));
}

TEST_F(TouchTest, AHeldPressIsTheRecognizersOrTheViewsButNeverBoth) {
  constexpr double kNone = -1;  // no recognizer on the view
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Scene {
    const char* name;
    const char* event;  // "pnl" clicks, "held" clicks and long clicks
    double duration;
    int64_t disableAtMs;  // -1: stays enabled
    int64_t holdMs;
    std::vector<std::string> expected;
  } scenes[] = {
      {"duration 0", "pnl", 0, -1, 600, {"state 1", "state 3"}},
      {"lifted before the duration", "pnl", 0.5, -1, 499, {"pnl click"}},
      {"recognized by its timer", "pnl", 0.5, -1, 600, {"state 1", "state 3"}},
      {"recognized before the view's long click", "held", 0.3, -1, 600, {"state 1", "state 3"}},
      {"recognized with the view's long click due", "held", 0.5, -1, 600, {"state 1", "state 3"}},
      {"no recognizer: the view's own long click", "held", kNone, -1, 600, {"held longclick"}},
      {"no recognizer: a click however long it is held", "pnl", kNone, -1, 600, {"pnl click"}},
      {"a duration past the clock's end", "pnl", 1e16, -1, 1'000'000'000'000, {"pnl click"}},
      {"a far longer one", "pnl", 1e20, -1, 1, {"pnl click"}},
      {"an endless one", "held", inf, -1, 600, {"held longclick"}},
      {"NaN: never held that long", "pnl", nan, -1, 1'000'000'000'000, {"pnl click"}},
      {"disabled while pending", "pnl", 0.5, 100, 1000, {"pnl click"}},
      {"disabled once recognized", "pnl", 0.5, 700, 1000, {"state 1", "state 4"}},
  };
  for (const auto& s : scenes) {
    SCOPED_TRACE(s.name);
    probe->calls.clear();
    View pnl = ui.CreatePanel(probe->bi, s.event);
    root.AddView(pnl, 0, 0, 100, 100);
    std::shared_ptr<GestureRecognizer> rec;
    if (s.duration != kNone) rec = longPress(pnl, s.duration);
    touches.down(root.native(), 50, 50);
    if (s.disableAtMs >= 0) {
      rt.loop().advance(s.disableAtMs);
      NativeObject(Object(rec)).RunMethod("setEnabled:", {Object(false)});
      rt.loop().advance(s.holdMs - s.disableAtMs);
    } else {
      rt.loop().advance(s.holdMs);
    }
    touches.up();
    EXPECT_EQ(probe->calls, s.expected);
    pnl.RemoveViewFromParent();
  }
}

TEST_F(TouchTest, ButtonsShowThemselvesPressedWhileTouched) {
  auto b = button(root, 0, 0);
  touches.down(root.native(), 10, 10);
  EXPECT_TRUE(b.button().highlighted());
  touches.up();
  EXPECT_FALSE(b.button().highlighted());
}

}  // namespace
}  // namespace tmr
