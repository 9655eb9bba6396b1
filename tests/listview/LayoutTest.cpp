#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/layout/FieldTable.h"
#include "platform/layout/LayoutError.h"
#include "platform/layout/LayoutLoader.h"
#include "platform/native/NativeObject.h"
#include "tests/listview/ListHarness.h"

namespace tmr {
namespace {

TEST(ListDesigner, PropertiesConfigureTheList) {
  struct Case {
    const char* what;
    ListOptions options;
    bool horizontal;
    bool indicators;
  } cases[] = {
      {"defaults", {}, false, true},
      {"only exactly Horizontal is horizontal", {.orientation = "horizontal"}, false, true},
      {"Horizontal", {.orientation = "Horizontal"}, true, true},
      {"no scroll bars", {.showScrollBar = false}, false, false},
  };
  for (const auto& c : cases) {
    ListHarness h(c.options);
    EXPECT_EQ(h.lv->horizontal, c.horizontal) << c.what;
    NativeObject sv{Object(h.lv->sv)};
    EXPECT_EQ(sv.RunMethod("showsVerticalScrollIndicator").object().AsBool(), c.indicators) << c.what;
    EXPECT_EQ(sv.RunMethod("showsHorizontalScrollIndicator").object().AsBool(), c.indicators) << c.what;
    EXPECT_EQ(h.lv->sv.ScrollViewInnerPanel().Color(), static_cast<int32_t>(0xFFD0D0D0)) << c.what;
    EXPECT_EQ(h.lv->defaulttextcolor, kLabelColor) << c.what;
    EXPECT_EQ(h.lv->defaulttextbackgroundcolor, kBaseColor) << c.what;
    EXPECT_EQ(h.lv->sv.Parent(), h.base) << c.what;
    EXPECT_EQ(h.lv->sv.native()->frame(), (Frame{0, 0, 400, 800})) << c.what;
    EXPECT_NE(h.base.Tag().As<tm_customlistview>(), h.lv) << "the list does not put itself into the Tag";
  }
}

TEST(ListDesigner, TheDividerAndTheAnimationTakeTheIntegerPartOfTheirNumbers) {
  ListHarness h;
  LabelWrapper label;
  label.Initialize(h.owner->bi, "");
  View base = h.ui.CreatePanel(h.owner->bi, "");
  h.screen.AddView(base, 0, 0, 300, 300);
  auto lv = std::make_shared<tm_customlistview>();
  lv->_initialize(h.owner->bi, Object(h.owner), "lst");
  lv->_designercreateview(base, label,
                          Map::Of({{Object("DividerHeight"), Object(3.7)},
                                   {Object("InsertAnimationDuration"), Object(120.9)},
                                   {Object("PressedColor"), Object(static_cast<int64_t>(0xFF00FF00))}}));
  EXPECT_EQ(lv->_getdividersize(), 3);
  EXPECT_EQ(lv->animationduration, 120);
  EXPECT_EQ(lv->pressedcolor, static_cast<int32_t>(0xFF00FF00));
  EXPECT_EQ(lv->sv.ScrollViewInnerPanel().Color(), 0) << "a missing divider colour is transparent";
  lv->_add(h.panel(40), Object());
  lv->_insertat(0, h.panel(40), Object());
  h.wait(119);
  EXPECT_TRUE(lv->_getrawlistitem(0)->Panel.native()->isAnimating());
  h.wait(1);
  EXPECT_FALSE(lv->_getrawlistitem(0)->Panel.native()->isAnimating());
  EXPECT_EQ(lv->_finditemoffset(1), 46);

  auto bare = std::make_shared<tm_customlistview>();
  bare->_initialize(h.owner->bi, Object(h.owner), "lst");
  bare->_designercreateview(h.ui.CreatePanel(h.owner->bi, ""), label, Map::Of({}));
  EXPECT_EQ(bare->_getdividersize(), 0) << "a missing divider height counts as 0";
}

class tm_listscreen : public ClassModule, public LayoutFields {
 public:
  void _initialize(Runtime& rt) { initializeClassModule(rt); }
  std::string_view className() const override { return "tm_listscreen"; }
  const SubTable& subTable() const override {
    static const SubTable table{sub<&tm_listscreen::_options_itemclick>("_options_itemclick::")};
    return table;
  }
  const FieldTable& fieldTable() const override {
    static const FieldTable table{field<&tm_listscreen::options>("options")};
    return table;
  }
  void _options_itemclick(Object index, Object value) {
    clicks.push_back(index.AsString().str() + " " + value.AsString().str());
  }
  std::shared_ptr<tm_customlistview> options;
  std::vector<std::string> clicks;
};

struct ListFromLayout : ::testing::Test {
  Runtime rt;
  std::filesystem::path dir = std::filesystem::temp_directory_path() / ("tmr-listview-" + std::to_string(::getpid()));
  std::shared_ptr<tm_listscreen> screen = std::make_shared<tm_listscreen>();
  View panel;

  void SetUp() override {
    rt.setLogSink([](std::string_view) {});
    std::filesystem::create_directories(dir / "layouts");
    LayoutLoader::Install(rt, dir);
    rt.service<LayoutRegistry>().registerCustomView("tm_customlistview", tm_customlistview::LayoutClass());
    screen->_initialize(rt);
    panel = UiLayer().CreatePanel(screen->bi, "");
    panel.native()->setFrame(Frame{0, 0, 320, 480});
  }
  void TearDown() override {
    std::filesystem::remove_all(dir);
    rt.shutdown();
  }
  void write(const std::string& props) {
    std::ofstream(dir / "layouts" / "options.layout") << R"({"width": 320, "height": 480, "views": [
      {"name": "options", "type": "CustomView", "class": "tm_customlistview", "frame": [10, 20, 300, 400],
       "color": "#FFEEEEEE", "textColor": "#FF112233", "props": )" +
                                                             props + "}]}";
  }
};

TEST_F(ListFromLayout, ALayoutMakesAListThatTheScreenUses) {
  write(R"({"DividerColor": "#FF888888", "DividerHeight": 1, "PressedColor": "#FF0000FF"})");
  panel.LoadLayout("options", screen->bi);
  ASSERT_TRUE(screen->options);
  auto& lv = *screen->options;
  EXPECT_EQ(lv.sv.native()->frame(), (Frame{0, 0, 300, 400}));
  EXPECT_EQ(lv.animationduration, 300);
  EXPECT_EQ(lv.defaulttextcolor, static_cast<int32_t>(0xFF112233));
  EXPECT_EQ(lv.defaulttextbackgroundcolor, static_cast<int32_t>(0xFFEEEEEE));
  lv._addtextitem(Object("Red"), Object("r"));
  lv._addtextitem(Object("Green"), Object("g"));
  Finger(rt, panel).tap(lv._getrawlistitem(1)->Panel);
  EXPECT_EQ(screen->clicks, (std::vector<std::string>{"1 g"}));
  // The base panel reports its new size to the list.
  View base = lv._getbase();
  base.setWidth(200);
  EXPECT_EQ(lv.sv.Width(), 200);
  EXPECT_EQ(lv._getrawlistitem(0)->Panel.Width(), 200);
}

TEST_F(ListFromLayout, TheDividerAndPressedColoursAreRequired) {
  for (const char* key : {"DividerColor", "DividerHeight", "PressedColor"}) {
    std::string props = R"({"DividerColor": "#FF888888", "DividerHeight": 1, "PressedColor": "#FF0000FF"})";
    auto at = props.find(std::string("\"") + key);
    auto end = props.find(',', at);
    props.erase(at, end == std::string::npos ? props.find('}', at) - at : end + 2 - at);
    if (props.ends_with(", }")) props.replace(props.size() - 3, 3, "}");
    write(props);
    try {
      panel.LoadLayout("options", screen->bi);
      ADD_FAILURE() << key << " was not required";
    } catch (const LayoutError& e) {
      EXPECT_NE(std::string(e.what()).find(key), std::string::npos) << e.what();
    }
  }
}

TEST_F(ListFromLayout, ADividerTheListCannotLayOutIsAnErrorOfItsKeyThatLeavesThePanelEmpty) {
  write(R"({"DividerColor": "#FF888888", "DividerHeight": 1e12, "PressedColor": "#FF0000FF"})");
  try {
    panel.LoadLayout("options", screen->bi);
    ADD_FAILURE() << "a divider of 1e12 was taken";
  } catch (const LayoutError& e) {
    EXPECT_STREQ(e.what(),
                 "options.layout: view options: key \"DividerHeight\": List extent out of range: DividerHeight "
                 "1000000000000");
  }
  EXPECT_EQ(panel.NumberOfViews(), 0);
  EXPECT_FALSE(screen->options);
}

}  // namespace
}  // namespace tmr
