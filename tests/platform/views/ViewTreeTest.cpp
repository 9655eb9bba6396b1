#include <gtest/gtest.h>

#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/ButtonWrapper.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewSystem.h"
#include "tests/platform/core/TestModules.h"

namespace tmr {
namespace {

// A module that hears its base panel's size changes.
class ResizeProbe : public ClassModule {
 public:
  void _initialize(Runtime& rt) { initializeClassModule(rt); }
  std::vector<std::pair<double, double>> sizes;
  void _base_resize(double w, double h) { sizes.emplace_back(w, h); }
  std::string_view className() const override { return "tm_resizeprobe"; }
  const SubTable& subTable() const override {
    static const SubTable table{sub<&ResizeProbe::_base_resize>("_base_resize::")};
    return table;
  }
};

// A module that holds a view.
class HolderModule : public ClassModule {
 public:
  void _initialize(Runtime& rt) { initializeClassModule(rt); }
  View held;
  std::string_view className() const override { return "tm_holder"; }
  const SubTable& subTable() const override {
    static const SubTable table;
    return table;
  }
};

struct ViewTreeTest : ::testing::Test {
  Runtime rt;
  std::shared_ptr<ProbeModule> mod = ProbeModule::Make(rt);
  UiLayer ui;
  View panel(std::string_view ev = "") { return ui.CreatePanel(mod->bi, ev); }
};

TEST_F(ViewTreeTest, ChildrenKeepTheirOrderAndMoveWhenAddedElsewhere) {
  View a = panel(), b = panel(), c = panel(), d = panel();
  a.AddView(b, 0, 0, 10, 10);
  a.AddView(c, 5, 5, 10, 10);
  EXPECT_EQ(a.NumberOfViews(), 2);
  EXPECT_EQ(a.GetView(1), c);
  EXPECT_EQ(c.Parent(), a);
  d.AddView(b, 1, 2, 3, 4);
  EXPECT_EQ(a.NumberOfViews(), 1);
  EXPECT_EQ(b.Parent(), d);
  EXPECT_EQ(b.Left(), 1);
  a.AddView(d, 0, 0, 50, 50);
  EXPECT_EQ(a.GetAllViewsRecursive(), (std::vector<View>{c, d, b}));
  c.BringToFront();
  EXPECT_EQ(a.GetView(1), c);
  EXPECT_THROW(b.AddView(a, 0, 0, 1, 1), RuntimeError) << "a view cannot go inside itself";
  try {
    a.GetView(2);
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_STREQ(e.what(), "Out of bounds. Index=2 Length=2");
  }
  b.RemoveViewFromParent();
  EXPECT_FALSE(b.Parent().IsInitialized());
}

// Removals at the front, the back and the middle mixed with moves to the front, then a clear:
// the right child goes each time, the others keep their order, and the ones gone have no parent.
TEST_F(ViewTreeTest, RemovingAndClearingChildrenKeepsTheRestInOrder) {
  View parent = panel(), elsewhere = panel();
  std::vector<View> model;
  for (int i = 0; i < 60; ++i) {
    model.push_back(panel());
    parent.AddView(model.back(), 0, i, 10, 1);
  }
  for (int step = 0; step < 40; ++step) {
    size_t at = step % 4 == 0 ? 0 : step % 4 == 1 ? model.size() - 1 : (step * 7) % model.size();
    View v = model[at];
    model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
    if (step % 5 == 4) {
      v.BringToFront();
      model.push_back(v);
    } else {
      v.RemoveViewFromParent();
      EXPECT_FALSE(v.Parent().IsInitialized());
    }
    ASSERT_EQ(parent.NumberOfViews(), static_cast<int>(model.size()));
    for (size_t i = 0; i < model.size(); ++i) ASSERT_EQ(parent.GetView(static_cast<int>(i)), model[i]) << step;
  }
  parent.RemoveAllViews();
  EXPECT_EQ(parent.NumberOfViews(), 0);
  for (auto& v : model) EXPECT_FALSE(v.Parent().IsInitialized());
  elsewhere.AddView(model.front(), 0, 0, 1, 1);
  EXPECT_EQ(model.front().Parent(), elsewhere) << "a cleared child can be added again";
}

TEST_F(ViewTreeTest, AnimatedLayoutStoresTheTargetAtOnceAndThePictureFollowsTheClock) {
  View v = panel();
  v.SetLayoutAnimated(0, 0, 0, 100, 100);
  v.SetLayoutAnimated(200, 100, 50, 200, 100);
  EXPECT_EQ(v.Left(), 100);
  EXPECT_EQ(v.Width(), 200);
  EXPECT_EQ(v.native()->presentationFrame(), (Frame{0, 0, 100, 100}));
  rt.loop().advance(100);
  Frame mid = v.native()->presentationFrame();
  EXPECT_DOUBLE_EQ(mid.left, 50);
  EXPECT_DOUBLE_EQ(mid.width, 150);
  rt.loop().advance(100);
  EXPECT_EQ(v.native()->presentationFrame(), (Frame{100, 50, 200, 100}));
  EXPECT_FALSE(v.native()->isAnimating());
}

TEST_F(ViewTreeTest, ABasePanelReportsOnlyRealSizeChangesToItsCustomView) {
  auto probe = std::make_shared<ResizeProbe>();
  probe->_initialize(rt);
  View base = panel();
  base.SetLayoutAnimated(0, 0, 0, 10, 10);
  base.native()->setCustomView(probe);
  base.setLeft(30);
  base.SetLayoutAnimated(300, 5, 5, 10, 10);
  base.setWidth(40);
  base.SetLayoutAnimated(300, 0, 0, 40, 20);
  EXPECT_EQ(probe->sizes, (std::vector<std::pair<double, double>>{{40, 10}, {40, 20}}));
}

TEST_F(ViewTreeTest, StateIsStoredAndReadBack) {
  LabelWrapper l;
  l.Initialize(mod->bi, "lbl");
  l.setEnabled(false);
  l.setVisible(false);
  l.setTag(Object("static"));
  l.SetTextAlignment("top", "RIGHT");
  l.setText("hi");
  l.setTextColor(UiLayer::Color_White);
  EXPECT_FALSE(l.Enabled());
  EXPECT_FALSE(l.Visible());
  EXPECT_EQ(l.Tag(), Object("static"));
  EXPECT_EQ(l.native()->textAlignment(), (TextAlignment{VerticalAlignment::Top, HorizontalAlignment::Right}));
  EXPECT_EQ(l.Text().str(), "hi");
  EXPECT_EQ(l.TextColor(), UiLayer::Color_White);
  l.setFont(Font());
  EXPECT_TRUE(l.Font().IsInitialized()) << "an uninitialised font leaves the label's font";
  EXPECT_THROW(l.SetTextAlignment("MIDDLE", "LEFT"), RuntimeError);
}

TEST_F(ViewTreeTest, MisuseFailsWithTheRuntimesErrors) {
  View none;
  try {
    none.Width();
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_STREQ(e.what(), "Object not initialized (View)");
  }
  try {
    panel().setText("x");
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_STREQ(e.what(), "Text is not supported by Panel");
  }
  EXPECT_THROW(panel().LoadLayout("x", mod->bi), RuntimeError) << "no layout loader installed";
}

TEST_F(ViewTreeTest, TypedWrappersOnlyTakeTheirKind) {
  ButtonWrapper b;
  b.Initialize(mod->bi, "btn", ButtonWrapper::STYLE_SYSTEM);
  EXPECT_TRUE(ButtonWrapper::FromObject(Object(b)).IsInitialized());
  EXPECT_FALSE(LabelWrapper::FromObject(Object(b)).IsInitialized());
  EXPECT_FALSE(ButtonWrapper::FromObject(Object(panel())).IsInitialized());
  EXPECT_EQ(View::FromObject(Object(b)), b);
}

TEST_F(ViewTreeTest, TagCyclesEndWithTheViewSystem) {
  std::vector<std::string> log;
  {
    Runtime inner;
    inner.setLogSink([&](std::string_view l) { log.emplace_back(l); });
    auto owner = std::make_shared<HolderModule>();
    owner->_initialize(inner);
    owner->held = ui.CreatePanel(owner->bi, "");
    owner->held.setTag(Object(owner));  // the panel holds the module that holds it
    owner.reset();
    EXPECT_TRUE(log.empty());
  }
  EXPECT_EQ(log, (std::vector<std::string>{"Class (tm_holder) instance released."}));
}

}  // namespace
}  // namespace tmr
