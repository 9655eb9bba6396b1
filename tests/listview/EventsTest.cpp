#include <gtest/gtest.h>

#include "listview/ResumableSub_customlistview_PanelClickHandler.h"
#include "platform/dates/DateTime.h"
#include "tests/listview/ListHarness.h"

namespace tmr {
namespace {

constexpr int32_t kWhite = static_cast<int32_t>(0xFFFFFFFF);
constexpr int32_t kGreen = static_cast<int32_t>(0xFF00C000);
constexpr auto kPressed = static_cast<int32_t>(0xFF3060C0);

int32_t Shown(const View& v) { return v.native()->presentationColor(); }

TEST(ListEvents, ATapFlashesTheItemAndRaisesItemClickAtOnce) {
  ListHarness h;
  h.add(3);
  h.settle();
  h.owner->heard.clear();
  View w = h.wrapper(1);
  h.hand().tap(w);
  ASSERT_EQ(h.heard(), (std::vector<std::string>{"click 1 v1"}));
  EXPECT_EQ(h.owner->heard[0].turn, h.turns) << "heard before the loop turned";
  // To the pressed colour in 50 ms ...
  EXPECT_EQ(Shown(w), kWhite);
  EXPECT_EQ(w.Color(), kPressed);
  h.wait(50);
  EXPECT_EQ(Shown(w), kPressed);
  // ... held until 200 ms after the handler returned, then back over 200 ms.
  h.wait(149);
  EXPECT_EQ(w.Color(), kPressed);
  h.wait(1);
  EXPECT_EQ(w.Color(), kWhite);
  EXPECT_EQ(Shown(w), kPressed);
  h.wait(100);
  EXPECT_NE(Shown(w), kPressed);
  EXPECT_NE(Shown(w), kWhite);
  h.wait(100);
  EXPECT_EQ(Shown(w), kWhite);
  EXPECT_EQ(h.heard().size(), 1u);
}

TEST(ListEvents, ATapOnATextItemsLabelIsATapOnTheItem) {
  ListHarness h;
  h.lv->_addtextitem(Object("first"), Object("a"));
  h.lv->_addtextitem(Object("second"), Object("b"));
  h.hand().tap(h.lv->_getpanel(1).GetView(0));
  EXPECT_EQ(h.heard(), (std::vector<std::string>{"click 1 b"}));
}

TEST(ListEvents, WhatATapShowsDependsOnThePressedColourNotOnTheHandler) {
  struct Case {
    const char* what;
    int64_t pressed;
    bool silent;
    bool heard;
    int32_t colourAfterTap;
  } cases[] = {
      {"a transparent pressed colour changes no colour", 0x00FF0000, false, true, kWhite},
      {"no click sub: the item still flashes", 0xFF3060C0, true, false, kPressed},
      {"any alpha flashes", 0x013060C0, false, true, 0x013060C0},
  };
  for (const auto& c : cases) {
    ListHarness h(ListOptions{.pressed = c.pressed, .silent = c.silent});
    h.add(2);
    h.settle();
    h.owner->heard.clear();
    h.hand().tap(h.wrapper(0));
    EXPECT_EQ(h.heard().size(), c.heard ? 1u : 0u) << c.what;
    EXPECT_EQ(h.wrapper(0).Color(), c.colourAfterTap) << c.what;
    h.wait(400);
    EXPECT_EQ(Shown(h.wrapper(0)), kWhite) << c.what;
    EXPECT_EQ(h.rt.loop().timerCount(), 0u) << c.what << ": the tap's coroutine has ended";
  }
}

TEST(ListEvents, AHandlerThatRecoloursTheItemChangesTheNextTapOnly) {
  ListHarness h;
  h.add(2);
  h.owner->onClick = [&](int32_t index) { h.lv->_getrawlistitem(index)->Color = kGreen; };
  auto rs = h.lv->_panelclickhandler(h.wrapper(1));
  EXPECT_EQ(rs->clr, kWhite) << "read before the handler ran";
  EXPECT_FALSE(rs->istransparentpressedcolor);
  h.wait(400);
  EXPECT_TRUE(rs->finished());
  EXPECT_EQ(h.wrapper(1).Color(), kWhite);
  h.hand().tap(h.wrapper(1));
  h.wait(400);
  EXPECT_EQ(h.wrapper(1).Color(), kGreen);
}

TEST(ListEvents, TwoQuickTapsEachRestoreTheColourTheyRead) {
  ListHarness h;
  h.add(2);
  h.settle();
  h.owner->heard.clear();
  View w = h.wrapper(0);
  h.hand().tap(w);
  h.wait(100);
  h.hand().tap(w);
  h.wait(150);  // the first tap fades back at 200, the second still holds the pressed colour
  EXPECT_TRUE(h.lv->isFlashing(w));
  h.wait(50);
  EXPECT_EQ(w.Color(), kWhite);
  EXPECT_FALSE(h.lv->isFlashing(w));
  h.wait(200);
  EXPECT_EQ(Shown(w), kWhite);
  EXPECT_EQ(h.heard(), (std::vector<std::string>{"click 0 v0", "click 0 v0"}));
}

TEST(ListEvents, AnItemGrownInsideItsClickKeepsItsOwnColour) {
  ListHarness h;
  h.add(3);
  h.owner->onClick = [&](int32_t index) { h.lv->_resizeitem(index, 120); };
  h.hand().tap(h.wrapper(1));
  h.wait(400);
  EXPECT_EQ(h.lv->_getrawlistitem(1)->Size, 120);
  EXPECT_EQ(h.wrapper(1).Color(), kWhite) << "not the pressed colour of the flash";
  EXPECT_EQ(Shown(h.wrapper(1)), kWhite);
  h.expectConsistent();
}

TEST(ListEvents, AHeldItemRaisesItemLongClickWithAHapticTap) {
  for (bool silent : {false, true}) {
    SCOPED_TRACE(silent ? "without the sub" : "with the sub");
    ListHarness h(ListOptions{.silent = silent});
    h.add(3);
    h.settle();
    h.owner->heard.clear();
    EXPECT_EQ(h.rt.service<HapticLog>().calls(), (std::vector<std::string>{"alloc", "initWithStyle: 0"}));
    h.hand().hold(h.wrapper(2), 600);
    EXPECT_EQ(h.heard(), silent ? std::vector<std::string>{} : std::vector<std::string>{"longclick 2 v2"})
        << "no click after a long click";
    EXPECT_EQ(h.hapticTaps(), silent ? 0 : 1);
    EXPECT_EQ(h.wrapper(2).Color(), kWhite) << "no flash";
  }
}

TEST(ListEvents, DraggingReportsScrollsAtOnceAndVisibleRangesOnTheNextTurn) {
  ListHarness h;
  h.add(40);  // 52 points each; the 800-point window shows items 0 to 15
  h.settle();
  h.owner->heard.clear();
  auto finger = h.hand();
  finger.press(h.wrapper(10));
  finger.moveBy(0, -60);
  EXPECT_EQ(h.heard(), (std::vector<std::string>{"scroll 60"}));
  h.turn();
  EXPECT_EQ(h.heard(), (std::vector<std::string>{"scroll 60", "range 1 16"}));
  EXPECT_EQ(h.owner->heard[1].turn, h.owner->heard[0].turn + 1);
  finger.moveBy(0, -61);
  h.settle();
  EXPECT_EQ(h.heard().back(), "scroll 61") << "the same items show: no range";
  finger.release();
  h.settle();
  EXPECT_EQ(h.heard().size(), 3u) << "a drag is no click";
  EXPECT_EQ(h.lv->_getfirstvisibleindex(), 1);
  EXPECT_EQ(h.lv->_getlastvisibleindex(), 16);
}

TEST(ListEvents, AFingerDraggingTheListScrollsItAsItMoves) {
  ListHarness h;
  h.add(40);
  h.settle();
  h.owner->heard.clear();
  int64_t start = h.rt.Now() - h.owner->start;
  h.hand().drag(h.wrapper(5), 0, -300, 300, 10);  // 30 points every 30 ms
  h.settle();
  std::vector<std::string> scrolls;
  for (const auto& e : h.owner->heard) {
    if (!e.what.starts_with("scroll")) continue;
    scrolls.push_back(e.what);
    int step = static_cast<int>(scrolls.size());
    EXPECT_EQ(e.what, "scroll " + std::to_string(30 * step));
    EXPECT_EQ(e.at, start + 30 * step) << e.what;
  }
  EXPECT_EQ(scrolls.size(), 10u);
  EXPECT_EQ(h.heard().back(), "range 5 21") << "offset 300: items 5 (262 to 312) to 21 (from 1094)";
  EXPECT_EQ(h.lv->_getscrollviewoffset(), 300);
}

TEST(ListEvents, ReachingTheEndRaisesReachEndOnTheNextTurnAtMostEvery100ms) {
  ListHarness h;
  h.add(40);  // content 2082, window 800: the end is reached from offset 1277
  h.settle();
  h.owner->heard.clear();
  struct Step {
    int64_t waitMs;
    int offset;
    bool reachEnd;
  } steps[] = {{0, 1276, false}, {0, 1277, true},   {0, 1282, false}, {100, 1278, false},
               {1, 1279, true},  {500, 600, false}, {0, 1281, true}};
  for (const auto& s : steps) {
    h.wait(s.waitMs);
    h.owner->heard.clear();
    h.lv->_setscrollviewoffset(s.offset);
    ASSERT_FALSE(h.heard().empty());
    EXPECT_EQ(h.heard().front(), "scroll " + std::to_string(s.offset));
    auto before = h.heard();
    EXPECT_EQ(std::count(before.begin(), before.end(), "reachend"), 0) << "not before the loop turns";
    h.settle();
    auto after = h.heard();
    EXPECT_EQ(std::count(after.begin(), after.end(), "reachend"), s.reachEnd ? 1 : 0) << s.offset;
  }
}

TEST(ListEvents, WithoutAReachEndSubTheEndIsNotTestedFor1000Days) {
  ListHarness h(ListOptions{.silent = true});
  h.add(40);
  h.lv->_setscrollviewoffset(1282);
  EXPECT_EQ(h.lv->lastreachendevent, h.rt.SteadyNow() + DateTime::TicksPerDay * 1000);
}

TEST(ListEvents, AddingItemsThatFitReportsEachRangeOnALaterTurn) {
  ListHarness h;
  h.add(3);
  EXPECT_TRUE(h.heard().empty());
  h.turn();
  EXPECT_EQ(h.heard(), (std::vector<std::string>{"range 0 0", "range 0 1", "range 0 2"}));
  for (const auto& e : h.owner->heard) EXPECT_EQ(e.turn, 1);
  h.add(20);  // the window fills at item 15; later items change nothing
  h.settle();
  EXPECT_EQ(h.heard().back(), "range 0 15");
  EXPECT_EQ(h.heard().size(), 16u);
  h.lv->_refresh();
  h.settle();
  EXPECT_EQ(h.heard().back(), "range 0 15") << "a refresh reports the range again";
  EXPECT_EQ(h.heard().size(), 17u);
}

TEST(ListEvents, AnEmptyListRaisesNothingWhenScrolled) {
  ListHarness h;
  h.lv->_setscrollviewoffset(40);
  h.settle();
  EXPECT_TRUE(h.heard().empty());
}

TEST(ListEvents, AHorizontalListScrollsAlongItsAxis) {
  ListHarness h(ListOptions{.orientation = "Horizontal"});
  h.add(20);  // 52 points each; the 400-point window shows items 0 to 7
  h.settle();
  h.owner->heard.clear();
  auto finger = h.hand();
  finger.press(h.wrapper(2));
  finger.moveBy(-110, 5);
  finger.release();
  h.settle();
  EXPECT_EQ(h.heard(), (std::vector<std::string>{"scroll 110", "range 2 9"}));
  EXPECT_EQ(h.lv->sv.ScrollViewOffsetY(), 0);
}

TEST(ListEvents, AnAnimatedScrollToAnItemReportsEveryFrame) {
  ListHarness h;
  h.add(40);
  h.settle();
  h.owner->heard.clear();
  h.lv->_scrolltoitem(20);  // offset 1042
  h.wait(300);
  auto heard = h.heard();
  ASSERT_FALSE(heard.empty());
  EXPECT_GT(std::count_if(heard.begin(), heard.end(), [](const std::string& s) { return s.starts_with("scroll"); }),
            10);
  EXPECT_EQ(h.lv->_getscrollviewoffset(), 1042);
  EXPECT_EQ(h.lv->mfirstvisibleindex, 20);
  EXPECT_EQ(h.lv->mlastvisibleindex, 35);
}

}  // namespace
}  // namespace tmr
