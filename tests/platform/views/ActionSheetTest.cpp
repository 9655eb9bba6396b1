#include <gtest/gtest.h>

#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Bitmap.h"
#include "platform/views/ActionSheetWrapper.h"
#include "platform/views/ButtonObject.h"
#include "platform/views/ButtonWrapper.h"
#include "platform/views/LabelObject.h"
#include "platform/views/TextMeasurer.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewRenderer.h"
#include "platform/views/ViewSystem.h"
#include "tests/support/OwnerModule.h"

namespace tmr {
namespace {

// The module a sheet raises its clicks on: records the titles and the senders.
class SheetProbe : public OwnerModule {
 public:
  std::vector<std::string> clicks;
  std::vector<Object> senders;
  void _sheet_click(String title) {
    clicks.push_back(title.str());
    senders.push_back(c->Sender());
  }
  void _under_click() { clicks.push_back("under"); }
  const SubTable& subTable() const override {
    static const SubTable table{sub<&SheetProbe::_sheet_click>("_sheet_click:"),
                                sub<&SheetProbe::_under_click>("_under_click")};
    return table;
  }
};

std::vector<std::string> Titles(const ActionSheetObject& sheet) {
  std::vector<std::string> titles;
  for (const auto& b : sheet.buttons()) titles.push_back(b.title.str());
  return titles;
}

struct ActionSheetTest : ::testing::Test {
  Runtime rt;
  std::shared_ptr<SheetProbe> probe = std::make_shared<SheetProbe>();
  UiLayer ui;
  View root;
  ButtonWrapper under;
  TouchInput& touches = ViewSystem::of(rt).touches();
  void SetUp() override {
    probe->_initialize(rt);
    root = ui.CreatePanel(probe->bi, "");
    root.native()->setFrame(Frame{0, 0, 375, 667});
    root.setColor(UiLayer::Color_White);
    under.Initialize(probe->bi, "under", ButtonWrapper::STYLE_SYSTEM);
    root.AddView(under, 0, 0, 375, 667);  // a button under the whole sheet
  }
  ActionSheetWrapper show(const char* title, const char* cancel, const char* destructive, std::vector<Object> items) {
    ActionSheetWrapper sheet;
    sheet.Initialize(probe->bi, "sheet", title, cancel, destructive, List::Of(std::move(items)));
    sheet.Show(root);
    return sheet;
  }
  // A tap at the centre of a view, in root's coordinates.
  void tapOn(const ViewObject& v) {
    Frame f;
    ASSERT_TRUE(TouchInput::frameIn(v, *root.native(), f));
    touches.down(root.native(), f.centerX(), f.centerY());
    touches.up();
  }
};

TEST_F(ActionSheetTest, CoversTheViewOnTopAndListsItsButtonsFromTheTopWithCancelLast) {
  auto sheet = show("Pick one", "Cancel", "Erase", {Object("A"), Object("B")});
  auto& s = *sheet.native();
  EXPECT_EQ(root.native()->children().back(), sheet.native());
  EXPECT_EQ(s.frame(), (Frame{0, 0, 375, 667}));
  EXPECT_EQ(Titles(s), (std::vector<std::string>{"Erase", "A", "B", "Cancel"}));
  double lastTop = -1;
  for (const auto& b : s.buttons()) {
    Frame f;
    ASSERT_TRUE(TouchInput::frameIn(*b.view, *root.native(), f));
    EXPECT_GT(f.top, lastTop) << b.title;
    EXPECT_LE(f.bottom(), 667 - ActionSheetObject::kMargin) << b.title;
    lastTop = f.top;
  }
}

TEST_F(ActionSheetTest, EmptyTitlesLeaveTheirPartsOutAndManyItemsStillFit) {
  std::vector<Object> items;
  for (int i = 0; i < 20; ++i) items.emplace_back("Device " + std::to_string(i));
  auto sheet = show("", "", "", items);
  const auto& buttons = sheet.native()->buttons();
  ASSERT_EQ(buttons.size(), 20u);
  Frame first, last;
  ASSERT_TRUE(TouchInput::frameIn(*buttons.front().view, *root.native(), first));
  ASSERT_TRUE(TouchInput::frameIn(*buttons.back().view, *root.native(), last));
  EXPECT_GE(first.top, ActionSheetObject::kTopClearance - 1);
  EXPECT_LE(last.bottom(), 667);
  EXPECT_LT(first.height, ActionSheetObject::kRowHeight) << "the rows shrank";
}

TEST_F(ActionSheetTest, ItemsThatDoNotFitScrollAndTooLongTitlesEndWithAnEllipsis) {
  const std::string name = "Tivomarsh-" + std::string(100'000, 'x');
  std::vector<Object> items(29, Object("Item"));
  items.emplace_back(name);
  auto sheet = show(name.c_str(), "Cancel", "", items);
  const auto& buttons = sheet.native()->buttons();
  Frame first, last;
  ASSERT_TRUE(TouchInput::frameIn(*buttons[0].view, *root.native(), first));
  ASSERT_TRUE(TouchInput::frameIn(*buttons[29].view, *root.native(), last));
  EXPECT_GE(first.top, ActionSheetObject::kTopClearance + ActionSheetObject::kTitleHeight) << "under the title";
  EXPECT_GT(last.bottom(), 667) << "out of sight until the list scrolls";
  // A finger on the first item pushes the list up; the drag picks nothing.
  touches.down(root.native(), first.centerX(), first.centerY());
  for (int step = 1; step <= 10; ++step) touches.move(first.centerX(), first.centerY() - 200 * step);
  touches.up();
  ASSERT_TRUE(TouchInput::frameIn(*buttons[29].view, *root.native(), last));
  EXPECT_LE(last.bottom(), 667 - ActionSheetObject::kMargin);
  // The title and the last item show as much of their start as fits, then an ellipsis.
  const auto* title = dynamic_cast<const LabelObject*>(sheet.native()->children().back()->children()[0].get());
  const auto* item = dynamic_cast<const ButtonObject*>(buttons[29].view.get());
  ASSERT_TRUE(title && item);
  for (const TextViewObject* v :
       {static_cast<const TextViewObject*>(title), static_cast<const TextViewObject*>(item)}) {
    String text = v->text();
    double width = rt.service<TextMeasurer>().width(text, v->font());
    EXPECT_EQ(text.SubString2(0, 10).str(), "Tivomarsh-");
    EXPECT_EQ(text.SubString(text.Length() - 1).str(), "\u2026");
    EXPECT_LE(width, 375 - 4 * ActionSheetObject::kMargin);
    EXPECT_GT(width, 375 - 4 * ActionSheetObject::kMargin - 20) << "as much as fits";
  }
  ASSERT_TRUE(probe->clicks.empty());
  tapOn(*buttons[29].view);
  EXPECT_EQ(probe->clicks, std::vector<std::string>{name}) << "the whole title is chosen";
}

TEST_F(ActionSheetTest, ATapOnAButtonTakesTheSheetAwayAndRaisesItsTitle) {
  for (const char* pick : {"B", "Cancel"}) {
    probe->clicks.clear();
    auto sheet = show("", "Cancel", "", {Object("A"), Object("B")});
    for (const auto& b : sheet.native()->buttons()) {
      if (b.title.str() == pick) tapOn(*b.view);
    }
    EXPECT_EQ(probe->clicks, std::vector<std::string>{pick});
    EXPECT_EQ(probe->senders.back().AsRef(), sheet.native());
    EXPECT_FALSE(sheet.native()->shown());
    EXPECT_EQ(root.native()->children().size(), 1u);
  }
}

TEST_F(ActionSheetTest, TheBackdropTakesTouchesAndDoesNothing) {
  auto sheet = show("Title", "Cancel", "", {Object("A")});
  touches.down(root.native(), 180, 100);
  touches.up();
  EXPECT_TRUE(probe->clicks.empty()) << "neither the sheet nor the button under it";
  EXPECT_TRUE(sheet.native()->shown());
}

TEST_F(ActionSheetTest, TheRendererDrawsTheSheetOverTheScreen) {
  auto before = ViewRenderer(rt).render(*root.native(), 1);
  auto sheet = show("", "Cancel", "", {Object("A")});
  auto after = ViewRenderer(rt).render(*root.native(), 1);
  auto at = [](const Bitmap& b, int x, int y) { return b.pixels()[(static_cast<size_t>(y) * 375 + x) * 4]; };
  EXPECT_EQ(at(*before, 5, 100), 255);
  EXPECT_LT(at(*after, 5, 100), 200) << "the backdrop dims the screen";
  Frame cancel;
  ASSERT_TRUE(TouchInput::frameIn(*sheet.native()->buttons().back().view, *root.native(), cancel));
  EXPECT_EQ(at(*after, static_cast<int>(cancel.left) + 4, static_cast<int>(cancel.centerY())), 255)
      << "the cancel button sits on white";
}

TEST_F(ActionSheetTest, ItemsAreShownAsTextAndAnUninitialisedSheetCannotBeShown) {
  auto sheet = show("", "Cancel", "", {Object(7), Object(true)});
  EXPECT_EQ(Titles(*sheet.native()), (std::vector<std::string>{"7", "true", "Cancel"}));
  ActionSheetWrapper none;
  EXPECT_FALSE(none.IsInitialized());
  EXPECT_THROW(none.Show(root), RuntimeError);
}

}  // namespace
}  // namespace tmr
