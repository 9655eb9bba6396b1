#include <gtest/gtest.h>

#include <string>

#include "platform/core/RuntimeError.h"
#include "tests/views/input/InputViewsHarness.h"

namespace tmr {
namespace {

using Texts = std::vector<std::string>;

const char* kCombos = R"(
  {"name": "cb1", "type": "CustomView", "class": "tm_combobox", "frame": [20, 100, 200, 40],
   "font": {"family": "DEFAULT", "size": 21, "bold": true}},
  {"name": "cbquiet", "type": "CustomView", "class": "tm_combobox", "frame": [20, 160, 200, 40]})";

List Items(std::initializer_list<const char*> texts) {
  List l;
  l.Initialize();
  for (const char* t : texts) l.Add(Object(t));
  return l;
}

struct ComboBoxTest : ::testing::Test {
  InputViewsHarness h{kCombos};
  tm_combobox& cb = *h.owner->cb1;
  std::string shown() const { return cb.mbtn.Text().str(); }
  void open() { h.tap(cb.partNamed("")); }
  // Opens the sheet and taps the button with that title (the first one, top to bottom).
  void choose(const std::string& title) {
    open();
    auto buttons = h.sheetButtons();
    auto it = std::find(buttons.begin(), buttons.end(), title);
    ASSERT_NE(it, buttons.end()) << title << " is not on the sheet";
    h.pick(static_cast<size_t>(it - buttons.begin()));
  }
};

TEST_F(ComboBoxTest, MadeFromALayoutAsASystemButtonInTheTemplateLabelsFont) {
  EXPECT_EQ(cb.mbase.Tag().As<tm_combobox>(), h.owner->cb1);
  EXPECT_EQ(cb.mbase.GetView(0), cb.mbtn);
  EXPECT_EQ(cb.mbtn.Width(), 200);
  EXPECT_EQ(cb.mbtn.Height(), 40);
  EXPECT_EQ(cb.mbtn.Font().Size(), 21);
  EXPECT_TRUE(cb.mbtn.Font().bold());
  EXPECT_EQ(cb._getselectedindex(), 0);
  EXPECT_EQ(cb.lastselectedindex, -1);
  cb.mbase.SetLayoutAnimated(0, 20, 100, 240, 50);
  EXPECT_EQ(cb.mbtn.Width(), 240) << "the button follows the base panel";
  EXPECT_EQ(cb.mbtn.Height(), 50);
}

TEST_F(ComboBoxTest, ItemsAreACopyTheFirstIsSelectedAndTheQueriesAnswer) {
  List items = Items({"Apple", "Banana", "Cherry"});
  cb._setitems(items);
  items.Add(Object("Durian"));
  EXPECT_EQ(cb._getsize(), 3) << "the combo box keeps its own copy";
  EXPECT_EQ(cb._getselectedindex(), 0);
  EXPECT_EQ(cb._getselecteditem(), String("Apple"));
  EXPECT_EQ(shown(), "Apple");
  EXPECT_EQ(cb._getitem(2), String("Cherry"));
  EXPECT_EQ(cb._indexof(Object("Banana")), 1);
  EXPECT_EQ(cb._indexof(Object("Durian")), -1);
  cb._setselectedindex(2);
  EXPECT_EQ(shown(), "Cherry");
  cb._setselectedindex(-1);
  EXPECT_EQ(shown(), "");
  EXPECT_EQ(cb._getselecteditem(), String(""));
  h.wait(1000);
  EXPECT_TRUE(h.heard().empty()) << "setting items and selection raises nothing";
}

TEST_F(ComboBoxTest, AnIndexBeyondTheItemsIsAnErrorThatChangesNothing) {
  cb._setitems(Items({"Apple", "Banana"}));
  cb._setselectedindex(1);
  EXPECT_THROW(cb._setselectedindex(2), RuntimeError);
  EXPECT_THROW(cb._getitem(5), RuntimeError);
  EXPECT_EQ(cb._getselectedindex(), 1);
  EXPECT_EQ(cb._getselecteditem(), String("Banana"));
  EXPECT_EQ(shown(), "Banana");
}

TEST_F(ComboBoxTest, EmptyItemsSelectNothingAndLeaveTheButtonsText) {
  cb._setitems(Items({"Apple"}));
  cb._setitems(Items({}));
  EXPECT_EQ(cb._getselectedindex(), -1);
  EXPECT_EQ(cb._getselecteditem(), String(""));
  EXPECT_EQ(cb._getsize(), 0);
  EXPECT_EQ(shown(), "Apple");
}

TEST_F(ComboBoxTest, ATapShowsEveryItemAndCancelOverTheWholeScreen) {
  cb._setitems(Items({"Apple", "Banana", "Cherry"}));
  open();
  auto sheet = h.sheet();
  ASSERT_TRUE(sheet);
  EXPECT_EQ(h.sheetButtons(), (Texts{"Apple", "Banana", "Cherry", "Cancel"}));
  EXPECT_EQ(sheet->title(), String(""));
  EXPECT_EQ(sheet->frame().width, ViewSystem::kScreenWidth) << "not squeezed into the 200 × 40 combo box";
  EXPECT_EQ(sheet->frame().height, ViewSystem::kScreenHeight);
  EXPECT_EQ(h.tap(cb.partNamed("")), sheet) << "the sheet takes every touch while it is up";
}

TEST_F(ComboBoxTest, PickingReportsTheIndexAtOnceEvenWhenItWasSelectedAlready) {
  cb._setitems(Items({"Apple", "Banana", "Cherry"}));
  struct Step {
    const char* pick;
    Texts heard;
    const char* shown;
  };
  const Step steps[] = {
      {"Banana", {"cb1:1"}, "Banana"},
      {"Banana", {"cb1:1", "cb1:1"}, "Banana"},
      {"Cancel", {"cb1:1", "cb1:1"}, "Banana"},
      {"Apple", {"cb1:1", "cb1:1", "cb1:0"}, "Apple"},
  };
  for (const auto& s : steps) {
    choose(s.pick);
    EXPECT_FALSE(h.sheet()) << "the sheet goes after " << s.pick;
    EXPECT_EQ(h.heard(), s.heard) << "without a turn of the loop, after " << s.pick;
    EXPECT_EQ(shown(), s.shown);
  }
  EXPECT_EQ(cb._getselectedindex(), 0);
}

TEST_F(ComboBoxTest, TheCancelTitleDecidesWhatCounts) {
  struct Case {
    const char* cancel;
    std::initializer_list<const char*> items;
    size_t button;  // tapped, top to bottom
    Texts sheet;
    Texts heard;
    int selected;
  };
  const Case cases[] = {
      // An item with the cancel button's title acts as cancel.
      {"Cancel", {"Cancel", "Other"}, 0, {"Cancel", "Other", "Cancel"}, {}, 0},
      // Without a cancel button every button is an item.
      {"", {"Cancel", "Other"}, 0, {"Cancel", "Other"}, {"cb1:0"}, 0},
      {"", {"One", "Two"}, 1, {"One", "Two"}, {"cb1:1"}, 1},
      {"Close", {"One", "Two"}, 2, {"One", "Two", "Close"}, {}, 0},
  };
  for (const auto& c : cases) {
    InputViewsHarness hc(kCombos);
    auto& box = *hc.owner->cb1;
    box.cancelbutton = c.cancel;
    List items;
    items.Initialize();
    for (const char* t : c.items) items.Add(Object(t));
    box._setitems(items);
    hc.tap(box.partNamed(""));
    EXPECT_EQ(hc.sheetButtons(), c.sheet) << "cancel \"" << c.cancel << "\"";
    hc.pick(c.button);
    EXPECT_EQ(hc.heard(), c.heard) << "cancel \"" << c.cancel << "\", button " << c.button;
    EXPECT_EQ(box._getselectedindex(), c.selected);
  }
}

TEST_F(ComboBoxTest, ItemsThatAreNotTextsArePickedByTheTextTheSheetShows) {
  List items;
  items.Initialize();
  items.Add(Object(10));
  items.Add(Object(2.5));
  items.Add(Object(true));
  cb._setitems(items);
  EXPECT_EQ(shown(), "10");
  open();
  EXPECT_EQ(h.sheetButtons(), (Texts{"10", "2.5", "true", "Cancel"}));
  h.pick(1);
  h.tap(cb.partNamed(""));
  h.pick(2);
  EXPECT_EQ(h.heard(), (Texts{"cb1:1", "cb1:2"}));
  EXPECT_EQ(cb._getselecteditem(), String("true"));
}

TEST_F(ComboBoxTest, ATextThatMatchesNoItemSelectsNothingAndReportsNothing) {
  cb._setitems(Items({"Apple", "Banana"}));
  open();
  cb._setitems(Items({"Kiwi"}));  // the items change while the sheet is up
  h.pick(1);                      // "Banana", no longer an item
  EXPECT_EQ(cb._getselectedindex(), -1);
  EXPECT_EQ(shown(), "");
  EXPECT_TRUE(h.heard().empty());
}

TEST_F(ComboBoxTest, ATapBeforeAnyItemsShowsOnlyCancel) {
  EXPECT_EQ(cb._getsize(), 0);
  open();
  EXPECT_EQ(h.sheetButtons(), (Texts{"Cancel"}));
  h.pick(0);
  EXPECT_FALSE(h.sheet());
  EXPECT_TRUE(h.heard().empty());
}

// Fresh from the layout, or after a cancelled sheet, a combo box without items still reads index
// 0: its item is "", not an error. A tap shows only a sheet that something on it can close.
TEST_F(ComboBoxTest, WithoutItemsTheItemIsEmptyAndATapNeverLocksTheScreen) {
  struct Case {
    const char* what;
    const char* cancel;
    bool cancelledFirst;
    Texts sheet;  // none: no sheet at all
  };
  const Case cases[] = {
      {"fresh", "Cancel", false, {"Cancel"}},
      {"after a cancelled sheet", "Cancel", true, {"Cancel"}},
      {"fresh, without a cancel button", "", false, {}},
      {"after a cancelled sheet, then without a cancel button", "", true, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    InputViewsHarness hc(kCombos);
    auto& box = *hc.owner->cb1;
    if (c.cancelledFirst) {
      hc.tap(box.partNamed(""));
      hc.pick(0);
    }
    box.cancelbutton = c.cancel;
    EXPECT_EQ(box._getselectedindex(), 0);
    EXPECT_EQ(box._getselecteditem(), String(""));
    hc.tap(box.partNamed(""));
    EXPECT_EQ(hc.sheetButtons(), c.sheet);
    if (!c.sheet.empty()) hc.pick(0);
    EXPECT_FALSE(hc.sheet());
    // The screen still takes touches: the other combo box opens and picks.
    auto& other = *hc.owner->cbquiet;
    other._setitems(Items({"Apple", "Banana"}));
    hc.tap(other.partNamed(""));
    hc.pick(1);
    EXPECT_EQ(other._getselecteditem(), String("Banana"));
    EXPECT_EQ(box._getselectedindex(), 0);
    EXPECT_TRUE(hc.heard().empty());
  }
}

TEST_F(ComboBoxTest, ACallbackWithoutTheSubHearsNothingButThePickSelects) {
  auto& quiet = *h.owner->cbquiet;
  quiet._setitems(Items({"Apple", "Banana"}));
  h.tap(quiet.partNamed(""));
  h.pick(1);
  h.wait(1000);
  EXPECT_EQ(quiet._getselectedindex(), 1);
  EXPECT_TRUE(h.heard().empty());
}

TEST_F(ComboBoxTest, WithADelayOnlyTheLastOfQuickPicksIsReportedWithItsIndex) {
  cb._setitems(Items({"Apple", "Banana", "Cherry"}));
  cb.delaybeforechangeevent = 300;
  const int64_t t0 = h.now();
  choose("Banana");
  h.wait(100);
  choose("Cherry");
  h.wait(299);
  EXPECT_TRUE(h.heard().empty()) << "the first report gave way, the second still waits";
  h.wait(1);
  EXPECT_EQ(h.owner->events, (std::vector<HeardEvent>{{"cb1:2", t0 + 400}}));
  h.wait(1000);
  EXPECT_EQ(h.heard(), (Texts{"cb1:2"}));

  // A single pick, and a report of the selection that was already reported, which goes nowhere.
  choose("Apple");
  h.wait(300);
  EXPECT_EQ(h.heard(), (Texts{"cb1:2", "cb1:0"}));
  cb._raiseevent();
  h.wait(1000);
  EXPECT_EQ(h.heard(), (Texts{"cb1:2", "cb1:0"}));
}

TEST(ComboBoxReleaseTest, AnInstanceSaysWhenItIsReleased) {
  InputViewsHarness h("");
  {
    auto cb = std::make_shared<tm_combobox>();
    cb->_initialize(h.owner->bi, Object(h.owner), "x");
  }
  EXPECT_EQ(h.log, (Texts{"Class (tm_combobox) instance released."}));
}

}  // namespace
}  // namespace tmr
