#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/tm_listtemplate.h"
#include "listview/_clvitem.h"
#include "listview/tm_customlistview.h"
#include "tests/dialogs/DialogHarness.h"

namespace tmr {
namespace {

constexpr int32_t kPositive = tm_dialog::DialogResponse_Positive;
constexpr int32_t kItem = static_cast<int32_t>(0xFF555555);
constexpr int32_t kSelected = static_cast<int32_t>(0xAA0086FF);

struct ListHarness : DialogHarness {
  explicit ListHarness(std::vector<std::string> options = {"Red", "Green", "Blue", "Cyan"}) {
    t->_initialize(owner->bi);
    for (const auto& o : options) t->options.Add(Object(o));
  }
  std::shared_ptr<ResumableSub_dialogowner_Ask> show() {
    return ask([this] { return dialog->_showtemplate(Object(t), Object("OK"), Object(""), Object("Cancel")); });
  }
  tm_customlistview& list() { return *t->customlistview1; }
  View wrapper(int i) { return list()._getrawlistitem(i)->Panel; }
  void tapItem(int i) { hand().tap(wrapper(i)); }
  std::vector<std::string> selected() const {
    std::vector<std::string> out;
    for (const Object& o : t->selecteditems) out.push_back(o.AsString().str());
    return out;
  }
  std::shared_ptr<tm_listtemplate> t = std::make_shared<tm_listtemplate>();
};

TEST(ListTemplate, ASingleTapChoosesTheOptionAndClosesWithPositive) {
  ListHarness h;
  h.t->selecteditems.Add(Object("Blue"));
  h.t->selecteditem = "stale";
  auto ask = h.show();
  EXPECT_EQ(h.t->selecteditem.str(), "") << "every showing starts without a choice";
  ASSERT_EQ(h.list()._getsize(), 5) << "four options and a filler";
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(h.list()._getvalue(i), h.t->options.Get(i));
    EXPECT_EQ(h.list()._getpanel(i).GetView(0).Text().str(), h.t->options.Get(i).AsString().str());
    EXPECT_EQ(h.wrapper(i).Color(), kItem);
  }
  EXPECT_EQ(h.list()._getvalue(4), Object(""));
  EXPECT_EQ(h.wrapper(4).Color(), kItem);
  h.tapItem(4);  // the filler
  h.settle();
  EXPECT_FALSE(ask->done);
  h.tapItem(2);
  h.wait(100);
  ASSERT_TRUE(ask->done);
  EXPECT_EQ(ask->result, kPositive);
  EXPECT_EQ(h.t->selecteditem.str(), "Blue");
  EXPECT_EQ(h.selected(), (std::vector<std::string>{"Blue"}));
  EXPECT_EQ(h.backgrounds(), 0);
}

TEST(ListTemplate, MultipleSelectionMarksThePreselectedAndFollowsTheMinimum) {
  ListHarness h;
  h.t->allowmultiselection = true;
  h.t->multiselectionminimum = 2;
  h.t->selecteditems.Add(Object("Green"));
  auto ask = h.show();
  h.wait(20);
  EXPECT_EQ(h.wrapper(1).Color(), kSelected);
  for (int i : {0, 2, 3}) EXPECT_EQ(h.wrapper(i).Color(), kItem) << i;
  View ok = h.button(kPositive);
  EXPECT_FALSE(ok.Enabled());
  EXPECT_EQ(ok.TextColor(), static_cast<int32_t>(0xFF808080));

  h.tapItem(3);
  EXPECT_TRUE(ok.Enabled()) << "two selected";
  EXPECT_EQ(h.selected(), (std::vector<std::string>{"Green", "Cyan"}));
  h.wait(400);  // the tap's flash ends in the new state's colour
  EXPECT_EQ(h.wrapper(3).Color(), kSelected);

  h.tapItem(1);
  EXPECT_FALSE(ok.Enabled());
  EXPECT_EQ(h.selected(), (std::vector<std::string>{"Cyan"}));
  h.wait(400);
  EXPECT_EQ(h.wrapper(1).Color(), kItem);

  h.tapItem(0);
  h.wait(400);
  EXPECT_TRUE(ok.Enabled());
  EXPECT_FALSE(ask->done) << "taps in multiple selection do not close";
  h.hand().tap(ok);
  h.wait(100);
  ASSERT_TRUE(ask->done);
  EXPECT_EQ(ask->result, kPositive);
  EXPECT_EQ(h.selected(), (std::vector<std::string>{"Cyan", "Red"}));
  EXPECT_EQ(h.t->selecteditem.str(), "");
}

TEST(ListTemplate, ThePositiveButtonFollowsTheCountOfSelectedValues) {
  struct Case {
    const char* what;
    std::vector<std::string> options;
    std::vector<std::string> preselected;
    int minimum;
    bool enabled;
  } cases[] = {
      {"minimum 0 with nothing selected", {"A", "B"}, {}, 0, true},
      {"a preselected value that is no option counts", {"A", "B"}, {"Z"}, 1, true},
      {"one short of the minimum", {"A", "B"}, {"A"}, 2, false},
      {"no options and a minimum", {}, {}, 1, false},
  };
  for (const auto& c : cases) {
    ListHarness h(c.options);
    h.t->allowmultiselection = true;
    h.t->multiselectionminimum = c.minimum;
    for (const auto& p : c.preselected) h.t->selecteditems.Add(Object(p));
    h.show();
    EXPECT_TRUE(h.button(kPositive).Enabled()) << c.what << ": the frame enables every button first";
    h.wait(20);
    EXPECT_EQ(h.button(kPositive).Enabled(), c.enabled) << c.what;
    EXPECT_EQ(static_cast<int>(h.selected().size()), static_cast<int>(c.preselected.size())) << c.what;
  }
}

TEST(ListTemplate, TheSelectionStaysFromOneShowingToTheNext) {
  ListHarness h;
  h.t->allowmultiselection = true;
  auto first = h.show();
  h.wait(20);
  h.tapItem(0);
  h.tapItem(2);
  h.wait(400);
  h.dialog->_close(tm_dialog::DialogResponse_Cancel);
  h.wait(100);
  ASSERT_TRUE(first->done);
  EXPECT_EQ(first->result, tm_dialog::DialogResponse_Cancel);
  auto second = h.show();
  h.wait(20);
  EXPECT_EQ(h.wrapper(0).Color(), kSelected);
  EXPECT_EQ(h.wrapper(1).Color(), kItem);
  EXPECT_EQ(h.wrapper(2).Color(), kSelected);
  EXPECT_EQ(h.selected(), (std::vector<std::string>{"Red", "Blue"}));
}

}  // namespace
}  // namespace tmr
