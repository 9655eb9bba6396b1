#include <gtest/gtest.h>

#include <random>

#include "platform/core/RuntimeError.h"
#include "tests/listview/ListHarness.h"

namespace tmr {
namespace {

constexpr int32_t kRed = static_cast<int32_t>(0xFFFF0000);

TEST(ListItems, AppendedItemsLieOneAfterAnotherBetweenDividers) {
  for (const char* orientation : {"Vertical", "Horizontal"}) {
    SCOPED_TRACE(orientation);
    ListHarness h(ListOptions{.orientation = orientation});
    EXPECT_EQ(h.lv->_getscrollviewcontentsize(), 0);
    h.lv->_add(h.panel(50, kRed), Object("first"));
    EXPECT_EQ(h.lv->_finditemoffset(0), 2);
    EXPECT_EQ(h.lv->_getscrollviewcontentsize(), 54) << "the item and a divider on each side";
    h.add(2);
    EXPECT_EQ(h.offsets(), (std::vector<int>{2, 54, 106}));
    EXPECT_EQ(h.lv->_getscrollviewcontentsize(), 158);
    h.expectConsistent();
    // The wrapper takes the caller's colour; the caller's panel becomes transparent inside it.
    auto item = h.lv->_getrawlistitem(0);
    EXPECT_EQ(item->Panel.Color(), kRed);
    EXPECT_EQ(item->Color, kRed);
    EXPECT_EQ(h.lv->_getpanel(0).Color(), 0);
    EXPECT_EQ(h.lv->_getvalue(0).AsString(), String("first"));
    EXPECT_FALSE(item->IsInitialized) << "the list fills its items field by field";
    EXPECT_FALSE(item->Panel.native()->isAnimating()) << "an appended item is placed at once";
  }
}

TEST(ListItems, InsertingAtTheTopShiftsEveryItemAndGrowsTheNewOne) {
  ListHarness h;
  h.add(3);
  std::vector<View> old{h.wrapper(0), h.wrapper(1), h.wrapper(2)};
  h.lv->_insertat(0, h.panel(80), Object("new"));
  EXPECT_EQ(h.offsets(), (std::vector<int>{2, 84, 136, 188}));
  EXPECT_EQ(h.lv->_getscrollviewcontentsize(), 240);
  h.expectConsistent();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(old[i].Tag().AsInt(), i + 1);

  // The new item grows from 0 to 80 over the animation; the others glide down.
  View grown = h.wrapper(0);
  EXPECT_EQ(grown.native()->presentationFrame().height, 0);
  EXPECT_EQ(old[0].native()->presentationFrame().top, 2);
  h.wait(150);
  EXPECT_GT(grown.native()->presentationFrame().height, 20);
  EXPECT_LT(grown.native()->presentationFrame().height, 60);
  h.wait(150);
  EXPECT_EQ(grown.native()->presentationFrame().height, 80);
  EXPECT_EQ(old[0].native()->presentationFrame().top, 84);
}

TEST(ListItems, OnlyItemsThatCanBeSeenOrLieBeforeTheWindowAreAnimated) {
  ListHarness h;
  h.add(40);  // 52 points each: the 800-point window shows items 0 to 15
  struct Case {
    int scrollTo;
    int insertAt;
    std::vector<std::pair<int, bool>> animated;  // item index after the insertion, moving in view
  } cases[] = {
      {0, 0, {{1, true}, {15, true}, {16, true}, {17, false}, {40, false}}},
      {1040, 30, {{31, true}, {36, true}, {37, false}}},  // window 1040-1840: items 20-35
      {1040, 2, {{3, true}, {20, true}, {36, true}, {37, false}}},
  };
  for (const auto& c : cases) {
    ListHarness h2;
    h2.add(40);
    h2.lv->_setscrollviewoffset(c.scrollTo);
    h2.lv->_insertat(c.insertAt, h2.panel(50), Object("x"));
    for (auto [index, moving] : c.animated) {
      EXPECT_EQ(h2.wrapper(index).native()->isAnimating(), moving)
          << "scrolled to " << c.scrollTo << ", inserted at " << c.insertAt << ", item " << index;
    }
    h2.expectConsistent();
  }
}

TEST(ListItems, ResizingMovesTheLaterItemsByTheDifferenceAndKeepsTheItem) {
  ListHarness h;
  h.lv->_add(h.panel(50), Object("a"));
  h.lv->_add(h.panel(100, kRed), Object("b"));
  h.add(2);
  View callers = h.lv->_getpanel(1);
  double content = h.lv->_getscrollviewcontentsize();
  h.lv->_resizeitem(1, 60);
  EXPECT_EQ(h.offsets(), (std::vector<int>{2, 54, 116, 168}));
  EXPECT_EQ(h.lv->_getscrollviewcontentsize(), content - 40);
  h.expectConsistent();
  EXPECT_EQ(h.lv->_getpanel(1), callers) << "the caller's panel moves into the new wrapper";
  EXPECT_EQ(h.wrapper(1).Color(), kRed);
  EXPECT_EQ(h.lv->_getvalue(1).AsString(), String("b"));
  // The new wrapper shrinks from the old size.
  EXPECT_EQ(h.wrapper(1).native()->presentationFrame().height, 100);
  h.wait(300);
  EXPECT_EQ(h.wrapper(1).native()->presentationFrame().height, 60);
}

// An item of size 0 must stay an item: collapsing one and opening it again, or replacing it,
// must not add a divider each time.
TEST(ListItems, AnItemCollapsedToNothingComesBackToItsPlace) {
  struct Case {
    int index;
  } cases[] = {{0}, {1}, {3}};
  for (const auto& c : cases) {
    ListHarness h;
    h.add(4);
    auto before = h.offsets();
    double content = h.lv->_getscrollviewcontentsize();
    h.lv->_resizeitem(c.index, 0);
    h.expectConsistent();
    h.lv->_resizeitem(c.index, 0);
    h.lv->_replaceat(c.index, h.panel(0), 0, Object("empty"));
    h.expectConsistent();
    h.lv->_resizeitem(c.index, 50);
    EXPECT_EQ(h.offsets(), before) << "item " << c.index;
    EXPECT_EQ(h.lv->_getscrollviewcontentsize(), content) << "item " << c.index;
    h.expectConsistent();
  }
}

TEST(ListItems, RemovingMovesTheLaterItemsBackAtOnce) {
  ListHarness h;
  h.add(4);
  View last = h.wrapper(3);
  h.lv->_removeat(1);
  EXPECT_EQ(h.offsets(), (std::vector<int>{2, 54, 106}));
  EXPECT_EQ(h.lv->_getvalue(1).AsString(), String("v2"));
  EXPECT_FALSE(last.native()->isAnimating());
  h.expectConsistent();
  h.lv->_removeat(2);
  h.lv->_removeat(0);
  h.expectConsistent();
  EXPECT_EQ(h.lv->_getvalue(0).AsString(), String("v2"));
  h.lv->_refresh();
  h.lv->_removeat(0);
  EXPECT_EQ(h.lv->_getsize(), 0);
  EXPECT_EQ(h.lv->_getscrollviewcontentsize(), 0);
  EXPECT_EQ(h.lv->mfirstvisibleindex, -1);
  EXPECT_EQ(h.lv->mlastvisibleindex, 0x7FFFFFFF);
}

TEST(ListItems, ABadIndexChangesNothing) {
  ListHarness h;
  h.add(1);
  View p = h.panel(50, kRed);
  struct Case {
    const char* what;
    std::function<void()> call;
  } cases[] = {
      {"insert past the end", [&] { h.lv->_insertat(2, p, Object()); }},
      {"insert before the start", [&] { h.lv->_insertat(-1, p, Object()); }},
      {"replace past the end", [&] { h.lv->_replaceat(1, p, 50, Object()); }},
      {"remove another index than the only item's", [&] { h.lv->_removeat(7); }},
      {"resize past the end", [&] { h.lv->_resizeitem(1, 20); }},
  };
  for (const auto& c : cases) {
    EXPECT_THROW(c.call(), RuntimeError) << c.what;
    EXPECT_EQ(h.lv->_getsize(), 1) << c.what;
    EXPECT_EQ(p.Color(), kRed) << c.what << ": the caller's panel is untouched";
    EXPECT_FALSE(p.Parent().IsInitialized()) << c.what;
    h.expectConsistent();
  }
  ListHarness empty;
  empty.lv->_removeat(0);  // nothing to remove, nothing lost
  EXPECT_EQ(empty.lv->_getsize(), 0);
}

TEST(ListItems, TheItemAtAPositionIsFoundByBinarySearch) {
  ListHarness h;
  EXPECT_EQ(h.lv->_findindexfromoffset(0), -1);
  h.add(3);  // offsets 2, 54, 106
  struct Case {
    int position, index;
  } cases[] = {{53, 0}, {54, 1}, {-10, 0}, {0, 0}, {10000, 2}, {105, 1}, {106, 2}, {157, 2}};
  for (const auto& c : cases) EXPECT_EQ(h.lv->_findindexfromoffset(c.position), c.index) << c.position;

  // Against a scan, over lists of every length up to 40 with sizes from 0 to 70.
  std::mt19937 rng(7);
  for (int n = 1; n <= 40; ++n) {
    ListHarness r(ListOptions{.divider = n % 4});
    for (int i = 0; i < n; ++i) r.lv->_add(r.panel(static_cast<int>(rng() % 71)), Object(i));
    int end = static_cast<int>(r.lv->_getscrollviewcontentsize());
    for (int pos = -3; pos <= end + 3; ++pos) {
      int expected = 0;
      for (int i = 0; i < n; ++i) {
        if (r.lv->_finditemoffset(i) <= pos) expected = i;
      }
      // Items of size 0 share an offset with the next item: any of them is a right answer
      // as long as it starts at or before the position and the next one starts after it.
      int found = r.lv->_findindexfromoffset(pos);
      ASSERT_GE(found, 0);
      ASSERT_LT(found, n);
      if (found != expected) {
        EXPECT_EQ(r.lv->_finditemoffset(found), r.lv->_finditemoffset(expected)) << "n " << n << " pos " << pos;
      }
    }
  }
}

TEST(ListItems, JumpingToAnItemShowsItsLeadingDividerWithinTheContent) {
  ListHarness h;
  h.add(3);
  h.lv->_jumptoitem(2);
  EXPECT_EQ(h.lv->_getscrollviewoffset(), 0) << "a list shorter than the view does not scroll";
  h.add(37);  // 2082 points of content, 800 visible
  struct Case {
    int index;
    double offset;
  } cases[] = {{0, 2}, {10, 522}, {39, 1282}};
  for (const auto& c : cases) {
    h.lv->_jumptoitem(c.index);
    EXPECT_EQ(h.lv->_getscrollviewoffset(), c.offset) << c.index;
  }
  h.lv->_scrolltoitem(10);
  EXPECT_EQ(h.lv->_getscrollviewoffset(), 1282);
  h.wait(300);
  EXPECT_EQ(h.lv->_getscrollviewoffset(), 522);
}

TEST(ListItems, AViewIsTracedToTheItemThatHoldsIt) {
  ListHarness h;
  h.add(2);
  View inside = h.ui.CreatePanel(h.owner->bi, "");
  h.lv->_getpanel(1).AddView(inside, 0, 0, 5, 5);
  View deeper = h.ui.CreatePanel(h.owner->bi, "");
  inside.AddView(deeper, 0, 0, 1, 1);
  EXPECT_EQ(h.lv->_getitemfromview(deeper), 1);
  EXPECT_EQ(h.lv->_getitemfromview(h.lv->_getpanel(0)), 0);
  EXPECT_EQ(h.lv->_getitemfromview(h.screen), -1);
  EXPECT_EQ(h.lv->_getitemfromview(h.ui.CreatePanel(h.owner->bi, "")), -1);
}

TEST(ListItems, ANewSizeSpansEveryItemAcrossTheAxisAndKeepsOffsets) {
  for (const char* orientation : {"Vertical", "Horizontal"}) {
    SCOPED_TRACE(orientation);
    ListHarness h(ListOptions{.orientation = orientation});
    h.add(3);
    auto before = h.offsets();
    h.base.setWidth(300);
    h.base.setHeight(500);
    EXPECT_EQ(h.lv->sv.Width(), 300);
    EXPECT_EQ(h.lv->sv.Height(), 500);
    EXPECT_EQ(h.offsets(), before);
    h.expectConsistent();
    View callers = h.lv->_getpanel(2);
    if (h.lv->horizontal) {
      EXPECT_EQ(callers.Height(), 500);
    } else {
      EXPECT_EQ(callers.Width(), 300);
    }
  }
}

TEST(ListItems, ClearingRemovesEveryItemAndKeepsTheScrollOffset) {
  ListHarness h;
  h.add(30);
  h.lv->_setscrollviewoffset(300);
  h.lv->_clear();
  EXPECT_EQ(h.lv->_getsize(), 0);
  EXPECT_EQ(h.lv->_getscrollviewcontentsize(), 0);
  EXPECT_EQ(h.lv->_getscrollviewoffset(), 300);
  h.expectConsistent();
  h.add(2);
  h.expectConsistent();
}

TEST(ListItems, AReleasedListSaysSo) {
  ListHarness h;
  h.add(2);
  h.lv.reset();
  h.base.native()->setCustomView(nullptr);
  EXPECT_NE(std::find(h.log.begin(), h.log.end(), "Class (tm_customlistview) instance released."), h.log.end());
}

}  // namespace
}  // namespace tmr
