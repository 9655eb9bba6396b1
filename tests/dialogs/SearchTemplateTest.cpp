#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "dialogs/tm_searchtemplate.h"
#include "listview/_clvitem.h"
#include "listview/tm_customlistview.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/Keyboard.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/RichText.h"
#include "platform/views/TextFieldWrapper.h"
#include "tests/dialogs/DialogHarness.h"
#include "views/input/tm_floattextfield.h"

namespace tmr {
namespace {

constexpr int32_t kPositive = tm_dialog::DialogResponse_Positive;
constexpr int32_t kRow = static_cast<int32_t>(0xFF555555);
constexpr int32_t kFirstRow = static_cast<int32_t>(0x7E008EFF);
constexpr int32_t kMatch = static_cast<int32_t>(0xFFFD5C5C);

List Items(const std::vector<std::string>& texts) {
  List l;
  l.Initialize();
  for (const auto& s : texts) l.Add(Object(s));
  return l;
}

std::vector<std::string> Texts(const Object& list) {
  std::vector<std::string> out;
  List l = list.AsList();
  if (!l.IsInitialized()) return out;
  for (const Object& o : l) out.push_back(o.AsString().str());
  return out;
}

struct SearchHarness : DialogHarness {
  explicit SearchHarness(std::vector<std::string> items = {"Apple", "Pineapple", "apple pie", "Banana", "aa"}) {
    t->_initialize(owner->bi);
    index = t->_setitems(Items(items));
  }
  std::shared_ptr<ResumableSub_dialogowner_Ask> shown() {
    auto a = ask([this] { return dialog->_showtemplate(Object(t), Object(""), Object(""), Object("Cancel")); });
    wait(20);
    return a;
  }
  tm_customlistview& list() { return *t->customlistview1; }
  std::vector<std::string> rows() {
    std::vector<std::string> out;
    for (int i = 0; i < list()._getsize(); ++i) out.push_back(list()._getvalue(i).AsString().str());
    return out;
  }
  int32_t rowColor(int i) { return list()._getrawlistitem(i)->Panel.Color(); }
  // The runs of a row's label: text, and "*" in front of the runs in the highlight colour.
  std::vector<std::string> runs(int i) {
    std::vector<std::string> out;
    auto rich = LabelWrapper::FromObject(Object(list()._getpanel(i).GetView(0))).AttributedText();
    if (!rich) return out;
    for (const auto& r : rich->runs()) {
      if (r.text.Length() == 0) continue;
      out.push_back((r.color == kMatch ? "*" : "") + r.text.str());
    }
    return out;
  }
  std::shared_ptr<tm_searchtemplate> t = std::make_shared<tm_searchtemplate>();
  List index;
};

TEST(SearchTemplate, IndexesEveryLowerCasePieceOnceUnderPrefixOrSubstring) {
  SearchHarness h;
  const struct {
    const char* key;
    std::vector<std::string> prefix, substring;
  } cases[] = {
      {"app", {"Apple", "apple pie"}, {"Pineapple"}},
      {"appl", {"Apple", "apple pie"}, {"Pineapple"}},
      {"a", {"Apple", "apple pie", "aa"}, {"Pineapple", "Banana"}},  // aa once, under its prefix
      {"aa", {"aa"}, {}},
      {"p", {"Pineapple"}, {"Apple", "apple pie"}},  // Pineapple's later p's stay under its prefix
      {"e p", {}, {"apple pie"}},
      {"apple", {}, {}},  // longer than max_limit
      {"nana", {}, {"Banana"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(Texts(h.t->prefixlist.Get(Object(c.key))), c.prefix);
    EXPECT_EQ(Texts(h.t->substringlist.Get(Object(c.key))), c.substring);
  }
  EXPECT_TRUE(h.logged("Index time: 0 ms (5 Items)"));
  ASSERT_EQ(h.index.Size(), 3);
  EXPECT_EQ(h.index.Get(0).AsMap().Get(Object("app")), h.t->prefixlist.Get(Object("app")));
  EXPECT_EQ(Texts(h.index.Get(2)), Texts(Object(h.t->allitems)));
}

TEST(SearchTemplate, ShowListsEveryItemUnmarkedAndFocusesTheSearchField) {
  SearchHarness h;
  auto ask = h.shown();
  EXPECT_TRUE(h.dialog->putattop);
  EXPECT_EQ(h.rows(), (std::vector<std::string>{"Apple", "Pineapple", "apple pie", "Banana", "aa"}));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(h.rowColor(i), kRow) << i;
  EXPECT_EQ(h.runs(0), (std::vector<std::string>{"Apple"}));
  EXPECT_TRUE(TextFieldWrapper::FromObject(h.t->searchfield->_gettextfield()).Focused());
  EXPECT_EQ(h.t->mbase.Color(), UiLayer::Color_Transparent);
  EXPECT_EQ(h.t->lastterm.str(), "");
}

TEST(SearchTemplate, TypingListsPrefixMatchesFirstWithTheMatchHighlighted) {
  SearchHarness h;
  auto ask = h.shown();
  h.type("APP");
  EXPECT_EQ(h.rows(), (std::vector<std::string>{"Apple", "apple pie", "Pineapple"}));
  EXPECT_EQ(h.runs(0), (std::vector<std::string>{"*App", "le"}));
  EXPECT_EQ(h.runs(1), (std::vector<std::string>{"*app", "le pie"}));
  EXPECT_EQ(h.runs(2), (std::vector<std::string>{"Pine", "*app", "le"}));
  EXPECT_EQ(h.rowColor(0), kFirstRow) << "Return would pick it";
  EXPECT_EQ(h.rowColor(1), kRow);
  EXPECT_EQ(h.rowColor(2), kRow);
  h.type("le p");
  EXPECT_EQ(h.rows(), (std::vector<std::string>{"apple pie"})) << "looked up by appl, filtered by the whole term";
  h.type("x");
  EXPECT_TRUE(h.rows().empty());
}

TEST(SearchTemplate, AnItemIsListedOnceEvenWhenItMatchesTwice) {
  SearchHarness h;
  auto ask = h.shown();
  h.type("a");
  EXPECT_EQ(h.rows(), (std::vector<std::string>{"Apple", "apple pie", "aa", "Pineapple", "Banana"}));
}

TEST(SearchTemplate, ReturnAndTapsChooseAnItem) {
  struct Case {
    const char* name;
    bool unlisted;
    const char* typed;
    int tap;  // the row tapped, or -1 for Return
    bool closes;
    const char* chosen;
  };
  const std::vector<Case> cases = {
      {"Return picks the first row", false, "pie", -1, true, "apple pie"},
      {"Return without a term does nothing", false, "", -1, false, ""},
      {"Return without a match does nothing", false, "zz", -1, false, ""},
      {"a tap picks its row", false, "ap", 2, true, "Pineapple"},
      {"unlisted text is taken as typed", true, "Zz", -1, true, "Zz"},
      {"unlisted text also when it matches", true, "Ban", -1, true, "Ban"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SearchHarness h;
    h.t->allowunlistedtext = c.unlisted;
    auto ask = h.shown();
    if (*c.typed) h.type(c.typed);
    if (c.unlisted && h.list()._getsize() > 0) {
      EXPECT_EQ(h.rowColor(0), kRow);
    }
    if (c.tap < 0) {
      h.keys().enter();
    } else {
      h.hand().tap(h.list()._getrawlistitem(c.tap)->Panel);
    }
    h.wait(500);
    EXPECT_EQ(ask->done, c.closes);
    if (c.closes) {
      EXPECT_EQ(ask->result, kPositive);
    }
    EXPECT_EQ(h.t->selecteditem.str(), c.chosen);
  }
}

TEST(SearchTemplate, AFillerRowDoesNotChoose) {
  SearchHarness h;
  auto ask = h.shown();
  h.t->_customlistview1_itemclick(7, Object(""));
  h.wait(200);
  EXPECT_FALSE(ask->done);
  EXPECT_EQ(h.t->selecteditem.str(), "");
}

TEST(SearchTemplate, AtMostTheCapIsListedAndPrefixMatchesComeFirst) {
  std::vector<std::string> items;
  for (int i = 0; i < 30; ++i) items.push_back("x item " + std::to_string(i));
  for (int i = 0; i < 120; ++i) items.push_back("item " + std::to_string(i));
  SearchHarness h(items);
  auto ask = h.shown();
  EXPECT_EQ(h.list()._getsize(), 100);
  EXPECT_EQ(h.rows().front(), "x item 0") << "no term: the items in their order";
  h.type("item");
  auto rows = h.rows();
  ASSERT_EQ(rows.size(), 100u);
  EXPECT_EQ(rows.front(), "item 0");
  EXPECT_EQ(rows.back(), "item 99");
  h.t->maxnumberofitemstoshow = 125;
  h.t->_update("item", true);
  rows = h.rows();
  ASSERT_EQ(rows.size(), 125u);
  EXPECT_EQ(rows[119], "item 119");
  EXPECT_EQ(rows[120], "x item 0");
}

TEST(SearchTemplate, RowPanelsAreRecycledBetweenSearches) {
  SearchHarness h;
  auto ask = h.shown();
  std::set<ViewObject*> first;
  for (int i = 0; i < h.list()._getsize(); ++i) first.insert(h.list()._getpanel(i).native().get());
  EXPECT_EQ(h.t->itemscache.Size(), 0);
  h.type("app");
  ASSERT_EQ(h.list()._getsize(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(first.contains(h.list()._getpanel(i).native().get())) << i;
  EXPECT_EQ(h.t->itemscache.Size(), 2) << "five panels went to the cache, three came back";
  EXPECT_EQ(h.runs(2), (std::vector<std::string>{"Pine", "*app", "le"})) << "a recycled label shows its new text";
  EXPECT_EQ(h.rowColor(0), kFirstRow);
  h.del();
  h.del();
  h.del();
  EXPECT_EQ(h.list()._getsize(), 5);
  EXPECT_EQ(h.t->itemscache.Size(), 0);
  EXPECT_EQ(h.rowColor(0), kRow) << "a recycled first row loses the mark";
}

TEST(SearchTemplate, TheSameTermAgainLeavesTheListAlone) {
  SearchHarness h;
  auto ask = h.shown();
  h.type("ap");
  View row = h.list()._getpanel(0);
  h.t->_searchfield_textchanged("a", "ap");
  EXPECT_EQ(h.list()._getpanel(0).native(), row.native());
  EXPECT_EQ(h.t->itemscache.Size(), 2);
  h.t->_update("ap", true);
  EXPECT_EQ(h.rows(), (std::vector<std::string>{"Apple", "apple pie", "Pineapple"}));
}

TEST(SearchTemplate, ASavedIndexStaysWithItsItems) {
  SearchHarness h;
  List fruit = h.index;
  h.t->_setitems(Items({"Carrot", "Apricot"}));
  h.t->_update("ap", true);
  EXPECT_EQ(h.rows(), (std::vector<std::string>{"Apricot"}));
  h.t->_setindex(Object(fruit));
  h.t->_update("ap", true);
  EXPECT_EQ(h.rows(), (std::vector<std::string>{"Apple", "apple pie", "Pineapple"}));
  h.t->_update("", true);
  EXPECT_EQ(h.rows().size(), 5u);
}

TEST(SearchTemplate, SomethingElseThanAnIndexIsRefused) {
  SearchHarness h;
  const std::vector<Object> wrong = {Object("index"), Object(Items({"a", "b", "c"})), Object(List::Of({})), Object()};
  for (const auto& w : wrong) {
    EXPECT_THROW(h.t->_setindex(w), RuntimeError) << w.AsString();
  }
  h.t->_update("app", true);
  EXPECT_EQ(h.rows().size(), 3u) << "the index in use is kept";
}

TEST(SearchTemplate, ShowingWithoutItemsListsNothing) {
  SearchHarness h(std::vector<std::string>{});
  auto ask = h.shown();
  EXPECT_EQ(h.list()._getsize(), 0);
  h.type("a");
  h.keys().enter();
  h.wait(200);
  EXPECT_FALSE(ask->done);
}

TEST(SearchTemplate, HighlightsStayOnTheirCharactersWhateverTheCase) {
  // Full lower-casing turns the dotted capital I into two characters; the per-character mapping
  // keeps the positions of the item.
  SearchHarness h({"\xC4\xB0stanbul", "\xC4\xB0\xC4\xB0x"});
  auto ask = h.shown();
  h.type("x");
  ASSERT_EQ(h.rows().size(), 1u);
  EXPECT_EQ(h.runs(0), (std::vector<std::string>{"\xC4\xB0\xC4\xB0", "*x"}));
  h.t->_update("ista", true);
  ASSERT_EQ(h.rows().size(), 1u);
  EXPECT_EQ(h.runs(0), (std::vector<std::string>{"*\xC4\xB0sta", "nbul"}));
}

TEST(SearchTemplate, ResizingStretchesTheListBelowTheField) {
  SearchHarness h;
  View lv = h.list()._asview();
  double top = lv.Top();
  h.t->_resize(320, 300);
  EXPECT_EQ(h.t->mbase.Width(), 320);
  EXPECT_EQ(h.t->mbase.Height(), 300);
  EXPECT_EQ(lv.Top(), top);
  EXPECT_EQ(lv.Width(), 320);
  EXPECT_EQ(lv.Height(), 300 - top);
  EXPECT_EQ(h.list().sv.Height(), 300 - top);
}

}  // namespace
}  // namespace tmr
