#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/layout/LayoutError.h"
#include "platform/views/HapticLog.h"
#include "platform/views/ViewSystem.h"
#include "tests/views/input/CanvasViewsHarness.h"

namespace tmr {
namespace {

// A breadcrumb bar across the screen at y 300, 40 high.
std::string Crumbs(const std::string& items, const std::string& colour = "#FF808080", bool haptic = false) {
  return R"({"name": "bb1", "type": "CustomView", "class": "tm_breadcrumb", "frame": [0, 300, 375, 40],
             "textColor": "#FF000000", "font": {"size": 14}, "props": {"CrumbColor": ")" +
         colour + R"(", "Items": ")" + items + R"(", "HapticFeedback": )" + (haptic ? "true" : "false") + "}}";
}

std::vector<std::string> Items(const tm_breadcrumb& bb) {
  std::vector<std::string> out;
  for (int i = 0; i < bb.mitems.Size(); ++i) out.push_back(bb.mitems.Get(i).AsString().str());
  return out;
}

// A point well inside crumb i's body, on the screen.
double CrumbX(const tm_breadcrumb& bb, int i) { return bb.rightpositions.Get(i).AsInt() - bb.offset - 2 - 5; }
constexpr double kY = 320;

std::shared_ptr<Bitmap> Shown(const tm_breadcrumb& bb) { return bb.mbase.native()->canvasPicture(); }

TEST(BreadcrumbTest, ItemsAreTheBarSeparatedPartsWithoutTrailingEmptyOnes) {
  using V = std::vector<std::string>;
  struct Case {
    std::string items;
    V parts;
  };
  const Case cases[] = {{"Home|Music|Rock", {"Home", "Music", "Rock"}},
                        {"A||B", {"A", "", "B"}},
                        {"A|", {"A"}},
                        {"|A", {"", "A"}},
                        {"", {""}},
                        {"|", {}}};
  for (const auto& c : cases) {
    CanvasViewsScreen s(Crumbs(c.items));
    auto& bb = *s.owner->bb1;
    EXPECT_EQ(Items(bb), c.parts) << c.items;
    EXPECT_EQ(bb.rightpositions.Size(), static_cast<int>(c.parts.size()));
  }
}

TEST(BreadcrumbTest, CrumbsAreLaidOutByTheirTextWidth) {
  CanvasViewsScreen s(Crumbs("Home|Music|Rock"));
  auto& bb = *s.owner->bb1;
  int x = 0;
  for (int i = 0; i < 3; ++i) {
    const int w = static_cast<int>(bb.cvs.MeasureText(bb.mitems.Get(i).AsString(), bb.fnt).Width() + 30);
    x += w + 12;
    EXPECT_EQ(bb.rightpositions.Get(i).AsInt(), x) << i;
  }
  EXPECT_EQ(bb.textcolor, static_cast<int32_t>(0xFF000000));
  EXPECT_EQ(bb.mbase.Tag().As<tm_breadcrumb>(), s.owner->bb1);
}

TEST(BreadcrumbTest, ReleasingOnTheCrumbUnderTheFingerReportsThePathAtOnce) {
  CanvasViewsScreen s(Crumbs("Home|Music|Rock"));
  auto& bb = *s.owner->bb1;
  struct Case {
    int down, up;
    std::vector<std::string> heard;
  };
  // The crumb under the finger follows it, so a finger dragged to another crumb clicks that one.
  const Case cases[] = {{1, 1, {"crumbs Home/Music"}},
                        {0, 0, {"crumbs Home"}},
                        {2, 2, {"crumbs Home/Music/Rock"}},
                        {0, 1, {"crumbs Home/Music"}}};
  for (const auto& c : cases) {
    s.owner->events.clear();
    s.finger->pressAt(CrumbX(bb, c.down), kY);
    EXPECT_EQ(bb.presseditem, c.down);
    s.finger->moveTo(CrumbX(bb, c.up), kY);
    EXPECT_EQ(bb.presseditem, c.up);
    s.finger->release();
    EXPECT_EQ(s.heard(), c.heard) << c.down << " -> " << c.up << " (heard before any later turn)";
    EXPECT_EQ(bb.presseditem, -1);
  }
  // A release reported on another crumb than the one the touch is on clicks nothing.
  s.owner->events.clear();
  const float y = 20;
  bb._touch_touch(UiLayer::TOUCH_ACTION_DOWN, static_cast<float>(CrumbX(bb, 0)), y);
  bb._touch_touch(UiLayer::TOUCH_ACTION_UP, static_cast<float>(CrumbX(bb, 1)), y);
  EXPECT_TRUE(s.heard().empty());
  EXPECT_EQ(bb.presseditem, -1);
  // So does a release off the bar.
  s.finger->pressAt(CrumbX(bb, 1), kY);
  s.finger->moveTo(CrumbX(bb, 1), kY + 100);
  s.finger->release();
  EXPECT_TRUE(s.heard().empty());
}

TEST(BreadcrumbTest, ThePressedCrumbIsOutlinedAndTheFingerLeavingTheBarRemovesIt) {
  CanvasViewsScreen s(Crumbs("Home|Music|Rock"));
  auto& bb = *s.owner->bb1;
  const int x1 = bb.rightpositions.Get(0).AsInt();
  auto top = [&] { return ArgbAt(*Shown(bb), x1 + 10, 0); };  // the top edge of crumb 1
  EXPECT_EQ(top(), 0xFF666666u) << "crumb 1 is the shade";
  EXPECT_EQ(ArgbAt(*Shown(bb), 5, 5), 0xFF808080u) << "crumb 0 is the crumb colour";
  s.finger->pressAt(CrumbX(bb, 1), kY);
  EXPECT_EQ(top(), 0xFFFFFFFFu) << "outlined";
  const auto drawn = bb.mbase.native()->canvasInvalidations();
  s.finger->moveTo(CrumbX(bb, 1), 400);
  EXPECT_EQ(bb.presseditem, -1);
  EXPECT_EQ(top(), 0xFF666666u);
  s.finger->moveTo(CrumbX(bb, 1), 410);
  EXPECT_EQ(bb.mbase.native()->canvasInvalidations(), drawn + 1) << "redrawn once";
  s.finger->moveTo(CrumbX(bb, 1), kY);
  EXPECT_EQ(top(), 0xFFFFFFFFu) << "outlined again";
  s.finger->release();
  EXPECT_EQ(top(), 0xFF666666u);
  EXPECT_EQ(s.heard(), std::vector<std::string>{"crumbs Home/Music"});
}

TEST(BreadcrumbTest, ACancelledTouchReleasesTheCrumbWithoutAClick) {
  const std::pair<const char*, void (*)(CanvasViewsScreen&)> cancels[] = {
      {"hidden", [](CanvasViewsScreen& s) { s.owner->bb1->mbase.setVisible(false); }},
      {"disabled", [](CanvasViewsScreen& s) { s.owner->bb1->mbase.setEnabled(false); }},
      {"another touch", [](CanvasViewsScreen& s) { Finger(s.rt, s.screen).pressAt(10, 10); }},
      {"the pointer lost", [](CanvasViewsScreen& s) { ViewSystem::of(s.rt).touches().cancel(); }},
  };
  for (const auto& [what, cancel] : cancels) {
    CanvasViewsScreen s(Crumbs("Home|Music|Rock"));
    auto& bb = *s.owner->bb1;
    s.finger->pressAt(CrumbX(bb, 1), kY);
    cancel(s);
    s.finger->release();
    EXPECT_TRUE(s.heard().empty()) << what;
    EXPECT_EQ(bb.presseditem, -1) << what;
  }
}

TEST(BreadcrumbTest, ShadesAndOutlinesComeFromTheCrumbColour) {
  struct Case {
    std::string colour;
    uint32_t shade, outline;
  };
  for (const auto& c : {Case{"#FF808080", 0xFF666666, 0xFFFFFFFF}, Case{"#FF204060", 0xFF19334C, 0xFF4080C0}}) {
    CanvasViewsScreen s(Crumbs("A|B", c.colour));
    auto& bb = *s.owner->bb1;
    const int x1 = bb.rightpositions.Get(0).AsInt();
    EXPECT_EQ(ArgbAt(*Shown(bb), x1 + 10, 0), c.shade) << c.colour;
    s.finger->pressAt(CrumbX(bb, 1), kY);
    EXPECT_EQ(ArgbAt(*Shown(bb), x1 + 10, 0), c.outline) << c.colour;
  }
}

TEST(BreadcrumbTest, HitTestCoversGapsAndArrowsButNotBeyondTheLastCrumb) {
  CanvasViewsScreen s(Crumbs("Home|Music|Rock"));
  auto& bb = *s.owner->bb1;
  const int e0 = bb.rightpositions.Get(0).AsInt();
  const int e2 = bb.rightpositions.Get(2).AsInt();
  struct Case {
    int x, y, index;
  };
  const Case cases[] = {{-30, 10, 0},     {0, 10, 0},  {e0, 10, 0}, {e0 + 1, 10, 1}, {e2, 10, 2},
                        {e2 + 1, 10, -1}, {5, -1, -1}, {5, 40, 0},  {5, 41, -1}};
  for (const auto& c : cases) EXPECT_EQ(bb._finditem(c.x, c.y), c.index) << c.x << "," << c.y;
}

TEST(BreadcrumbTest, ItemsSetFromCodeAreTheCallersListAndAShrunkListClicksNothingPastItsEnd) {
  CanvasViewsScreen s(Crumbs("Home"));
  auto& bb = *s.owner->bb1;
  List items;
  items.Initialize();
  for (const char* t : {"A", "B", "C"}) items.Add(Object(t));
  bb._setitems(items);
  EXPECT_EQ(bb.rightpositions.Size(), 3);
  items.Add(Object("D"));
  EXPECT_EQ(Items(bb).size(), 4u) << "the bar keeps the caller's list";
  EXPECT_EQ(bb.rightpositions.Size(), 3) << "and shows the change at its next redraw";

  s.finger->pressAt(CrumbX(bb, 2), kY);
  items.RemoveAt(3);
  items.RemoveAt(2);
  items.RemoveAt(1);
  s.finger->release();
  EXPECT_TRUE(s.heard().empty());
  EXPECT_EQ(bb.rightpositions.Size(), 1);

  // An empty list shows the cleared bar.
  List none;
  none.Initialize();
  bb._setitems(none);
  auto pic = Shown(bb);
  int painted = 0;
  for (int y = 0; y < pic->pixelHeight(); ++y)
    for (int x = 0; x < pic->pixelWidth(); ++x) painted += ArgbAt(*pic, x, y) != 0;
  EXPECT_EQ(painted, 0);
  s.finger->pressAt(20, kY);
  s.finger->release();
  EXPECT_TRUE(s.heard().empty());
}

TEST(BreadcrumbTest, HapticTapOnlyWhenAskedFor) {
  for (bool haptic : {false, true}) {
    CanvasViewsScreen s(Crumbs("A|B", "#FF808080", haptic));
    auto& haptics = s.rt.service<HapticLog>();
    s.finger->pressAt(CrumbX(*s.owner->bb1, 0), kY);
    s.finger->release();
    EXPECT_EQ(haptics.count("impactOccurred"), haptic ? 1 : 0);
    EXPECT_EQ(s.heard(), std::vector<std::string>{"crumbs A"});
  }
}

TEST(BreadcrumbTest, ALayoutMustGiveTheColourAndTheItems) {
  for (const std::string props : {R"("Items": "A|B")", R"("CrumbColor": "#FF808080")"}) {
    EXPECT_THROW(CanvasViewsScreen s(R"({"name": "bb1", "type": "CustomView", "class": "tm_breadcrumb",
                                         "frame": [0, 0, 375, 40], "props": {)" +
                                     props + "}}"),
                 LayoutError)
        << props;
  }
}

}  // namespace
}  // namespace tmr
