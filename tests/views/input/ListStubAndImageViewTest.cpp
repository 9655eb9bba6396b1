#include <gtest/gtest.h>

#include <vector>

#include "listview/_clvitem.h"
#include "listview/tm_customlistview.h"
#include "platform/core/Runtime.h"
#include "platform/graphics/Bitmap.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewRenderer.h"
#include "platform/views/ViewSystem.h"
#include "tests/support/OwnerModule.h"
#include "views/display/tm_imageview.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {
namespace {

constexpr int32_t kStub = static_cast<int32_t>(0xFF20A040);
constexpr int32_t kItem = static_cast<int32_t>(0xFFFFFFFF);
constexpr int32_t kDividerColor = static_cast<int32_t>(0xFF808080);

// A vertical list view 200 wide and `height` high at the top left of a screen, with dividers of
// 2 points, made as a layout makes it.
struct ListScreen {
  explicit ListScreen(int height) {
    ViewSystem::of(rt);
    vu = rt.codeModule<tm_viewsutils>();
    vu->initializeModule();
    owner->_initialize(rt);
    screen = ui.CreatePanel(owner->bi, "");
    screen.native()->setFrame(Frame{0, 0, 300, 500});
    base = ui.CreatePanel(owner->bi, "");
    base.setColor(kItem);
    screen.AddView(base, 0, 0, 200, height);
    LabelWrapper label;
    label.Initialize(owner->bi, "");
    lv->_initialize(owner->bi, Object(owner), "lst");
    lv->_designercreateview(base, label,
                            Map::Of({{Object("DividerColor"), Object(kDividerColor)},
                                     {Object("DividerHeight"), Object(2)},
                                     {Object("PressedColor"), Object(0)}}));
  }
  ~ListScreen() { rt.shutdown(); }
  // Items of these heights, one after another from the divider at the top.
  void add(const std::vector<int>& heights) {
    for (int h : heights) {
      View p = ui.CreatePanel(owner->bi, "");
      p.native()->setFrame(Frame{0, 0, 10, static_cast<double>(h)});
      p.setColor(kItem);
      lv->_add(p, Object(h));
    }
  }

  Runtime rt;
  UiLayer ui;
  std::shared_ptr<tm_viewsutils> vu;
  std::shared_ptr<OwnerModule> owner = std::make_shared<OwnerModule>();
  std::shared_ptr<tm_customlistview> lv = std::make_shared<tm_customlistview>();
  View screen;
  View base;
};

TEST(ListStubTest, AShortListGetsAFillerDownTo3PointsAboveItsBottom) {
  struct Case {
    std::vector<int> items;  // heights; each item starts 2 points after the one before
    int filler;              // height of the filler, 0: none
  };
  const Case cases[] = {
      {{96, 50}, 147},      // the last item at offset 100, 50 high: 300 - 100 - 50 - 3
      {{}, 0},              // empty: nothing to pad
      {{298}, 0},           // reaches the bottom exactly
      {{400}, 0},           // beyond it
      {{296}, 0},           // 2 points left: no room for a filler of any height
      {{295}, 0},           // 3 points left: a filler of height 0 would be no item at all
      {{294}, 1},           // 4 points left
      {{10, 10, 10}, 261},  // items at 2, 14 and 26
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.items));
    ListScreen s(300);
    s.add(c.items);
    const int n = s.lv->_getsize();
    const int content = s.lv->sv.ScrollViewContentHeight();
    s.vu->_addstubtoclvifneeded(s.lv, kStub);
    if (c.filler == 0) {
      EXPECT_EQ(s.lv->_getsize(), n);
      EXPECT_EQ(s.lv->sv.ScrollViewContentHeight(), content);
      continue;
    }
    ASSERT_EQ(s.lv->_getsize(), n + 1);
    auto stub = s.lv->_getrawlistitem(n);
    EXPECT_EQ(stub->Value.AsString().str(), "");
    EXPECT_EQ(stub->Size, c.filler);
    EXPECT_EQ(stub->Offset, content) << "right after the last item's divider";
    EXPECT_EQ(stub->Color, kStub);
    EXPECT_EQ(stub->Panel.Color(), kStub) << "the list shows the filler's colour on its item";
    View panel = s.lv->_getpanel(n);
    EXPECT_EQ(panel.Width(), 200);
    EXPECT_EQ(panel.Height(), c.filler);
    EXPECT_EQ(panel.native()->eventName(), "stub");
    // The filler's own divider is taken off again: the content ends 1 point short of the list's
    // height, so the list does not scroll.
    EXPECT_EQ(s.lv->sv.ScrollViewContentHeight(), content + c.filler);
    EXPECT_LT(s.lv->sv.ScrollViewContentHeight(), 300);
  }
}

TEST(ListStubTest, TheScreenShowsTheFillerBelowTheItems) {
  ListScreen s(300);
  s.add({96, 50});
  s.vu->_addstubtoclvifneeded(s.lv, kStub);
  auto pic = ViewRenderer(s.rt).render(*s.screen.native(), 1);
  auto px = [&](int x, int y) {
    const uint8_t* p = &pic->pixels()[(static_cast<size_t>(y) * 300 + static_cast<size_t>(x)) * 4];
    return static_cast<int32_t>((uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2]);
  };
  EXPECT_EQ(px(100, 120), kItem) << "the last item";
  EXPECT_EQ(px(100, 151), kDividerColor) << "its divider";
  EXPECT_EQ(px(100, 153), kStub);
  EXPECT_EQ(px(100, 298), kStub);
}

TEST(CreateImageViewTest, MadeAsALayoutWouldMakeIt) {
  Runtime rt;
  ViewSystem::of(rt);
  auto vu = rt.codeModule<tm_viewsutils>();
  vu->initializeModule();
  auto iv = vu->_createimageview();
  ASSERT_NE(iv, nullptr);
  EXPECT_TRUE(iv->IsInitialized());
  EXPECT_EQ(iv->mbase.native()->frame(), (Frame{0, 0, 100, 100}));
  EXPECT_EQ(iv->mbase.Tag().As<tm_imageview>(), iv);
  EXPECT_FALSE(iv->mbase.native()->raisesEvents());
  EXPECT_FALSE(iv->iv.native()->raisesEvents());
  EXPECT_EQ(iv->meventname.str(), "");
  EXPECT_EQ(iv->_getresizemode().str(), "FIT");
  EXPECT_FALSE(iv->_getroundedimage());
  EXPECT_EQ(iv->_getcornersradius(), 0);
  EXPECT_EQ(iv->mbackgroundcolor, static_cast<int32_t>(0xFFAAAAAA));

  iv->_setbitmap(Bitmap::Create(50, 25));
  EXPECT_EQ(iv->iv.native()->frame(), (Frame{0, 25, 100, 50}));
  EXPECT_EQ(iv->mbase.Color(), static_cast<int32_t>(0xFFAAAAAA));
  // The base panel tells the view when its size changes, as a layout's does.
  iv->mbase.SetLayoutAnimated(0, 10, 10, 40, 100);
  EXPECT_EQ(iv->iv.native()->frame(), (Frame{0, 40, 40, 20}));
  EXPECT_NE(vu->_createimageview(), iv) << "a new one each time";
}

}  // namespace
}  // namespace tmr
