#include <gtest/gtest.h>

#include <functional>

#include "platform/core/Runtime.h"
#include "platform/driver/Finger.h"
#include "platform/views/ButtonWrapper.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/ScrollViewWrapper.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewSystem.h"
#include "tests/support/OwnerModule.h"

namespace tmr {
namespace {

// Records the touch events of the panels "pnl" and "outer" and the clicks of "pnl".
class TouchEventProbe : public CallProbe {
 public:
  std::function<void(int)> onTouch;
  void record(const std::string& who, int action, float x, float y) {
    calls.push_back(who + " " + std::to_string(action) + " " + NumberToString(x).str() + "," + NumberToString(y).str());
    if (onTouch) onTouch(action);
  }
  void _pnl_touch(int action, float x, float y) { record("pnl", action, x, y); }
  void _outer_touch(int action, float x, float y) { record("outer", action, x, y); }
  void _pnl_click() { calls.push_back("pnl click"); }
  const SubTable& subTable() const override {
    static const SubTable table{sub<&TouchEventProbe::_pnl_touch>("_pnl_touch:::"),
                                sub<&TouchEventProbe::_outer_touch>("_outer_touch:::"),
                                sub<&TouchEventProbe::_pnl_click>("_pnl_click")};
    return table;
  }
};

struct PanelTouchTest : ::testing::Test {
  Runtime rt;
  std::shared_ptr<TouchEventProbe> probe = std::make_shared<TouchEventProbe>();
  UiLayer ui;
  View root;
  View pnl;
  void SetUp() override {
    probe->_initialize(rt);
    root = ui.CreatePanel(probe->bi, "");
    root.native()->setFrame(Frame{0, 0, 300, 300});
    pnl = ui.CreatePanel(probe->bi, "pnl");
    root.AddView(pnl, 100, 50, 100, 60);
  }
  Finger finger() { return Finger(rt, root); }
};

TEST_F(PanelTouchTest, DownMovesAndUpInThePanelsCoordinatesThenTheClick) {
  Finger f = finger();
  f.pressAt(110, 60);
  f.moveTo(150, 80.5);
  f.moveTo(250, 20);  // outside the panel: the touch stays with it
  f.moveTo(120, 70);
  f.release();
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"pnl 0 10,10", "pnl 2 50,30.5", "pnl 2 150,-30", "pnl 2 20,20",
                                                    "pnl 1 20,20", "pnl click"}));
  EXPECT_EQ(UiLayer::TOUCH_ACTION_DOWN, 0);
  EXPECT_EQ(UiLayer::TOUCH_ACTION_UP, 1);
  EXPECT_EQ(UiLayer::TOUCH_ACTION_MOVE, 2);
  EXPECT_EQ(UiLayer::TOUCH_ACTION_CANCEL, 3);
}

TEST_F(PanelTouchTest, LiftingOutsideRaisesUpThereAndNoClick) {
  Finger f = finger();
  f.pressAt(150, 80);
  f.moveTo(10, 200);
  f.release();
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"pnl 0 50,30", "pnl 2 -90,150", "pnl 1 -90,150"}));
}

TEST_F(PanelTouchTest, TheTouchBelongsToTheNearestViewThatTakesIt) {
  // A label and a panel without events inside a touch panel pass their touches to it; a touch
  // panel inside another keeps them for itself; a button or a panel that raises clicks takes
  // the touch, and the touch panel around it hears nothing.
  View outer = ui.CreatePanel(probe->bi, "outer");
  root.AddView(outer, 0, 150, 300, 150);
  LabelWrapper lbl;
  lbl.Initialize(probe->bi, "");
  pnl.AddView(lbl, 50, 30, 40, 20);
  View plain = ui.CreatePanel(probe->bi, "");
  outer.AddView(plain, 10, 10, 50, 50);
  View inner = ui.CreatePanel(probe->bi, "pnl");
  outer.AddView(inner, 200, 100, 50, 40);
  View clicking = ui.CreatePanel(probe->bi, "clicking");
  outer.AddView(clicking, 100, 10, 50, 50);
  ButtonWrapper btn;
  btn.Initialize(probe->bi, "btn", ButtonWrapper::STYLE_SYSTEM);
  outer.AddView(btn, 100, 100, 60, 30);
  struct Case {
    double x, y;
    std::string expected;  // the first call heard, "" for none
  } cases[] = {
      {160, 90, "pnl 0 60,40"},    // on the label
      {30, 180, "outer 0 30,30"},  // on the panel without events
      {5, 155, "outer 0 5,5"},     // on outer itself
      {210, 260, "pnl 0 10,10"},   // on the inner touch panel
      {120, 180, ""},              // on the panel that raises clicks
      {120, 260, ""},              // on the button
  };
  for (const auto& c : cases) {
    probe->calls.clear();
    Finger f = finger();
    f.pressAt(c.x, c.y);
    EXPECT_EQ(probe->calls.empty() ? "" : probe->calls.front(), c.expected) << c.x << "," << c.y;
    f.release();
  }
}

TEST_F(PanelTouchTest, APanelWithoutAHandlerOrEventNameRaisesNone) {
  View silent = ui.CreatePanel(probe->bi, "");
  root.AddView(silent, 0, 200, 100, 100);
  Finger f = finger();
  f.pressAt(50, 250);
  f.moveTo(60, 260);
  f.release();
  EXPECT_TRUE(probe->calls.empty());
}

TEST_F(PanelTouchTest, ACancelledTouchEndsWithCancelAndNoClick) {
  // Hidden while touched: the touch is cancelled and the panel hears it end where it last was.
  Finger f = finger();
  f.pressAt(120, 60);
  f.moveTo(130, 65);
  pnl.setVisible(false);
  f.moveTo(140, 70);
  f.release();
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"pnl 0 20,10", "pnl 2 30,15", "pnl 3 30,15"}));
  // The window loses the pointer.
  pnl.setVisible(true);
  probe->calls.clear();
  f.pressAt(120, 60);
  ViewSystem::of(rt).touches().cancel();
  f.release();
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"pnl 0 20,10", "pnl 3 20,10"}));
  // Taken out of the tree while touched.
  probe->calls.clear();
  f.pressAt(120, 60);
  pnl.RemoveViewFromParent();
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"pnl 0 20,10", "pnl 3 20,10"}));
}

TEST_F(PanelTouchTest, AHandlerThatEndsTheTouchOnDownHearsNoMore) {
  probe->onTouch = [this](int action) {
    if (action == UiLayer::TOUCH_ACTION_DOWN) pnl.setEnabled(false);
  };
  Finger f = finger();
  f.pressAt(120, 60);
  f.moveTo(130, 65);
  f.release();
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"pnl 0 20,10", "pnl 3 20,10"}));
}

TEST_F(PanelTouchTest, AScrollViewThatTakesTheTouchEndsItForThePanelInside) {
  ScrollViewWrapper sv;
  sv.Initialize(probe->bi, "sv", 100, 1000);
  root.AddView(sv, 0, 150, 100, 150);
  View item = ui.CreatePanel(probe->bi, "pnl");
  sv.ScrollViewInnerPanel().AddView(item, 0, 0, 100, 50);
  Finger f = finger();
  f.pressAt(50, 160);
  f.moveTo(50, 158);
  f.moveTo(50, 130);  // beyond the slop: the scroll view drags its content
  f.moveTo(50, 120);
  f.release();
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"pnl 0 50,10", "pnl 2 50,8", "pnl 3 50,-20"}));
}

TEST_F(PanelTouchTest, ANewTouchEndsTheOldOne) {
  auto& touches = ViewSystem::of(rt).touches();
  touches.down(root.native(), 110, 60);
  touches.down(root.native(), 120, 70);
  touches.up();
  EXPECT_EQ(probe->calls,
            (std::vector<std::string>{"pnl 0 10,10", "pnl 3 10,10", "pnl 0 20,20", "pnl 1 20,20", "pnl click"}));
}

}  // namespace
}  // namespace tmr
