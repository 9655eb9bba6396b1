#include <gtest/gtest.h>

#include <string>

#include "platform/views/HapticLog.h"
#include "platform/views/ViewSystem.h"
#include "tests/views/display/CanvasViewsScreen.h"

namespace tmr {
namespace {

constexpr uint32_t kFace = 0xFFFF0000;
constexpr uint32_t kSide = 0xFF0000FF;
constexpr uint32_t kDisabled = 0xFF999999;

// A button 100 × 40 at (50, 100) with side height 5 and corner radius 10.
std::string Button(const std::string& name, const std::string& extra = "") {
  return R"({"name": ")" + name +
         R"(", "type": "CustomView", "class": "tm_button3d", "frame": [50, 100, 100, 40], "text": "OK",
             "props": {"PrimaryColor": "#FFFF0000", "SecondaryColor": "#FF0000FF", "CornersRadius": 10)" +
         extra + "}}";
}

// The colours of the button's picture down its middle column at the rows given.
std::vector<uint32_t> Column(const tm_button3d& b, std::initializer_list<int> rows) {
  std::vector<uint32_t> out;
  auto pic = Shown(b.mbase);
  for (int y : rows) out.push_back(ArgbAt(*pic, 50, y));
  return out;
}

TEST(Button3dTest, RaisedTheSideShowsBelowTheFacePressedOnlyTheLoweredFace) {
  CanvasViewsScreen s(Button("b1"));
  auto& b = *s.owner->b1;
  EXPECT_EQ(b.mbase.Tag().As<tm_button3d>(), s.owner->b1);
  EXPECT_EQ(b.xlbl.Text().str(), "OK");
  EXPECT_EQ(b.xlbl.Width(), 100);
  EXPECT_EQ(b.partNamed("").Width(), 100);
  EXPECT_EQ(Column(b, {0, 34, 35, 39}), (std::vector<uint32_t>{kFace, kFace, kSide, kSide}));
  EXPECT_EQ(ArgbAt(*Shown(b.mbase), 0, 0), 0u) << "a rounded corner";
  EXPECT_EQ(b.xlbl.Top(), 0);
  auto f = s.finger();
  f.pressAt(100, 120);
  EXPECT_TRUE(b.pressed);
  EXPECT_EQ(Column(b, {0, 4, 5, 39}), (std::vector<uint32_t>{0, 0, kFace, kFace}));
  EXPECT_EQ(b.xlbl.Top(), 5);
  EXPECT_EQ(b.xlbl.Height(), 40) << "the label keeps its height";
  s.picture("button3d-pressed");
  f.release();
  EXPECT_EQ(Column(b, {0, 39}), (std::vector<uint32_t>{kFace, kSide}));
}

TEST(Button3dTest, EventsArriveOnTheNextTurn) {
  struct Case {
    std::vector<std::pair<double, double>> moves;  // after the finger goes down at (100, 120)
    std::vector<std::string> expected;
  } cases[] = {
      {{}, {"b1 down", "b1 up", "b1 click"}},
      {{{120, 130}}, {"b1 down", "b1 up", "b1 click"}},
      // Out of the button: up on the move, no second up and no click when lifting outside.
      {{{100, 160}}, {"b1 down", "b1 up"}},
      // Out and back in: down again, and the click.
      {{{100, 160}, {100, 120}}, {"b1 down", "b1 up", "b1 down", "b1 up", "b1 click"}},
      // The edges count as outside: x = W, x = 0, y = 0, y = H in the button's coordinates.
      {{{150, 120}}, {"b1 down", "b1 up"}},
      {{{50, 120}}, {"b1 down", "b1 up"}},
      {{{100, 100}}, {"b1 down", "b1 up"}},
      {{{100, 140}}, {"b1 down", "b1 up"}},
      {{{149, 139}}, {"b1 down", "b1 up", "b1 click"}},
  };
  for (const auto& c : cases) {
    CanvasViewsScreen s(Button("b1"));
    auto f = s.finger();
    f.pressAt(100, 120);
    for (auto [x, y] : c.moves) f.moveTo(x, y);
    f.release();
    EXPECT_TRUE(s.owner->events.empty()) << "nothing before the next turn";
    s.nextTurn();
    EXPECT_EQ(s.owner->events, c.expected) << c.moves.size();
    EXPECT_FALSE(s.owner->b1->pressed);
  }
}

TEST(Button3dTest, ACancelledTouchReleasesTheButtonWithoutAClick) {
  const std::pair<const char*, void (*)(CanvasViewsScreen&)> cancels[] = {
      {"hidden", [](CanvasViewsScreen& s) { s.owner->b1->mbase.setVisible(false); }},
      {"removed", [](CanvasViewsScreen& s) { s.owner->b1->mbase.RemoveViewFromParent(); }},
      {"the pointer lost", [](CanvasViewsScreen& s) { ViewSystem::of(s.rt).touches().cancel(); }},
  };
  for (const auto& [what, cancel] : cancels) {
    CanvasViewsScreen s(Button("b1"));
    auto f = s.finger();
    f.pressAt(100, 120);
    cancel(s);
    f.release();
    s.nextTurn();
    EXPECT_EQ(s.owner->events, (std::vector<std::string>{"b1 down", "b1 up"})) << what;
    EXPECT_FALSE(s.owner->b1->pressed) << what;
  }
}

TEST(Button3dTest, DownAndUpOnlyForACallbackThatHasThem) {
  CanvasViewsScreen s(Button("b2"));
  auto f = s.finger();
  f.pressAt(100, 120);
  f.moveTo(100, 170);
  f.moveTo(100, 120);
  f.release();
  s.nextTurn();
  EXPECT_EQ(s.owner->events, std::vector<std::string>{"b2 click"});
}

TEST(Button3dTest, ADisabledButtonIsFlatAndIgnoresTouchesAndEnablingRaisesNothing) {
  CanvasViewsScreen s(Button("b1", R"(, "ButtonEnabled": false)"));
  auto& b = *s.owner->b1;
  EXPECT_FALSE(b._getenabled());
  EXPECT_TRUE(b.pressed);
  EXPECT_EQ(Column(b, {2, 7, 39}), (std::vector<uint32_t>{0, kDisabled, kDisabled}));
  auto f = s.finger();
  f.pressAt(100, 120);
  f.release();
  b._setenabled(true);
  EXPECT_EQ(Column(b, {2, 37}), (std::vector<uint32_t>{kFace, kSide}));
  b._setenabled(false);
  EXPECT_EQ(Column(b, {2, 7}), (std::vector<uint32_t>{0, kDisabled}));
  s.nextTurn();
  EXPECT_TRUE(s.owner->events.empty());
  // Colours change at once; a custom disabled colour is used.
  CanvasViewsScreen s2(Button("b1", R"(, "DisabledColor": "#FF00FF00", "SideHeight": 10)"));
  auto& b2 = *s2.owner->b1;
  b2._setcolors(static_cast<int32_t>(0xFF112233), static_cast<int32_t>(0xFF445566));
  EXPECT_EQ(Column(b2, {2, 29, 30, 39}), (std::vector<uint32_t>{0xFF112233, 0xFF112233, 0xFF445566, 0xFF445566}));
  b2._setenabled(false);
  EXPECT_EQ(Column(b2, {9, 10, 39}), (std::vector<uint32_t>{0, 0xFF00FF00, 0xFF00FF00}));
}

TEST(Button3dTest, HapticTapBeforeTheClickWhenAskedFor) {
  for (bool haptic : {false, true}) {
    CanvasViewsScreen s(Button("b1", std::string(R"(, "HapticFeedback": )") + (haptic ? "true" : "false")));
    auto& log = s.rt.service<HapticLog>();
    log.clear();
    auto f = s.finger();
    f.pressAt(100, 120);
    f.moveTo(100, 170);
    f.release();  // outside: no click, no tap
    EXPECT_EQ(log.count("impactOccurred"), 0);
    f.pressAt(100, 120);
    f.release();
    EXPECT_EQ(log.count("impactOccurred"), haptic ? 1 : 0);
  }
}

TEST(Button3dTest, ResizingSizesTheLabelTheTouchPanelAndTheCanvas) {
  CanvasViewsScreen s(Button("b1"));
  auto& b = *s.owner->b1;
  b.mbase.setWidth(200);
  EXPECT_EQ(b.cvs.TargetRect().Width(), 200);
  EXPECT_EQ(b.xlbl.Width(), 200);
  EXPECT_EQ(b.partNamed("").Width(), 200);
  auto pic = Shown(b.mbase);
  EXPECT_EQ(ArgbAt(*pic, 190, 20), kFace);
  // A touch at the far right of the wider button clicks it.
  auto f = s.finger();
  f.pressAt(240, 120);
  f.release();
  s.nextTurn();
  EXPECT_EQ(s.owner->events.back(), "b1 click");
}

}  // namespace
}  // namespace tmr
