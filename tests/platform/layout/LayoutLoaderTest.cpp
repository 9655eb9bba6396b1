#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>

#include <fstream>
#include <limits>

#include "platform/core/Runtime.h"
#include "platform/graphics/Bitmap.h"
#include "platform/layout/DesignerScript.h"
#include "platform/layout/FieldTable.h"
#include "platform/layout/LayoutBuilder.h"
#include "platform/layout/LayoutError.h"
#include "platform/layout/LayoutLoader.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/views/ButtonWrapper.h"
#include "platform/views/Canvas.h"
#include "platform/views/CustomView.h"
#include "platform/views/DesignerPropertyError.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewSystem.h"

namespace tmr {
namespace {

std::vector<std::string>* gSteps = nullptr;  // what happened, in order, for the test at hand

class tm_probeview : public ClassModule, public CustomView {
 public:
  std::string_view className() const override { return "tm_probeview"; }
  const SubTable& subTable() const override {
    static const SubTable table{sub<&tm_probeview::_base_resize>("_base_resize::")};
    return table;
  }
  void _initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) override {
    initializeClassModule(ba->runtime());
    gSteps->push_back("initialize " + eventName.str() + " for " + callback.As<Module>()->className().data());
  }
  void _designercreateview(View b, LabelWrapper l, Map p) override {
    // A mode it cannot be built in is refused as that property's value.
    if (p.Get(Object("Mode")) == Object("refused")) throw DesignerPropertyError("Mode", "no such mode: refused");
    // It draws a picture of its own size, as views that draw themselves do.
    picture.Initialize(b);
    base = b;
    label = l;
    props = p;
    gSteps->push_back("create " + std::to_string(static_cast<int>(b.Width())) + "x" +
                      std::to_string(static_cast<int>(b.Height())) + " label " + l.Text().str() +
                      (l.Parent().IsInitialized() ? " (still in the base)" : ""));
  }
  void _base_resize(double w, double) override { gSteps->push_back("resize " + std::to_string(static_cast<int>(w))); }
  View partNamed(std::string_view) const override { return base; }
  View base;
  LabelWrapper label;
  Map props;
  Canvas picture;
};

class tm_owner : public ClassModule, public LayoutFields {
 public:
  void _initialize(Runtime& rt) { initializeClassModule(rt); }
  std::string_view className() const override { return "tm_owner"; }
  const SubTable& subTable() const override {
    static const SubTable table;
    return table;
  }
  const FieldTable& fieldTable() const override {
    static const FieldTable table{field<&tm_owner::btnok>("btnok"), field<&tm_owner::lbltitle>("lbltitle"),
                                  field<&tm_owner::probe1>("probe1")};
    return table;
  }
  ButtonWrapper btnok;
  LabelWrapper lbltitle;
  std::shared_ptr<tm_probeview> probe1;
};

class LS_screen_1 : public DesignerScript {
 public:
  using DesignerScript::DesignerScript;
  void LS_general(Map views, double width, double height) override {
    gSteps->push_back("script with " + std::to_string(views.Size()) + " views on " +
                      std::to_string(static_cast<int>(width)) + "x" + std::to_string(static_cast<int>(height)));
    setScaleRate(1);
    scaleAll(views, width, height);
  }
};

struct LayoutLoaderTest : ::testing::Test {
  Runtime rt;
  std::filesystem::path dir = std::filesystem::temp_directory_path() / ("tmr-layouts-" + std::to_string(::getpid()));
  std::vector<std::string> steps;
  std::shared_ptr<tm_owner> owner = std::make_shared<tm_owner>();
  View panel;

  void SetUp() override {
    gSteps = &steps;
    std::filesystem::create_directories(dir / "layouts");
    LayoutLoader::Install(rt, dir);
    auto& reg = rt.service<LayoutRegistry>();
    using Kind = LayoutRegistry::Property::Kind;
    reg.registerCustomView("tm_probeview", {[] { return std::make_shared<tm_probeview>(); },
                                            {{"Mode", Kind::Text, std::nullopt},
                                             {"Fast", Kind::Boolean, Object(false)},
                                             {"Count", Kind::Number, Object(1)},
                                             {"Copies", Kind::Count, Object(1)},
                                             {"Tint", Kind::Color, Object(0)}}});
    reg.registerDesignerScript("LS_screen_1", [](LayoutBuilder& b) { return std::make_unique<LS_screen_1>(b); });
    owner->_initialize(rt);
    panel = UiLayer().CreatePanel(owner->bi, "");
    panel.native()->setFrame(Frame{0, 0, 200, 100});
  }
  void TearDown() override {
    gSteps = nullptr;
    std::filesystem::remove_all(dir);
  }
  void write(const std::string& name, const std::string& json) {
    std::ofstream(dir / "layouts" / (name + ".layout")) << json;
  }
  std::string loadError(const std::string& json) {
    write("bad", json);
    try {
      panel.LoadLayout("bad", owner->bi);
    } catch (const LayoutError& e) {
      return e.what();
    }
    return "loaded";
  }
};

const char* kScreen = R"({
  "width": 200, "height": 100, "color": "#FF101010",
  "views": [
    {"name": "lblTitle", "type": "Label", "frame": [0, 0, 200, 20], "text": "Hello",
     "font": {"family": "DEFAULT", "size": 10}},
    {"name": "pnl", "type": "Panel", "frame": [0, 20, 200, 80], "views": [
      {"name": "btnOk", "type": "Button", "frame": [10, 10, 50, 20], "text": "OK", "enabled": false},
      {"name": "probe1", "type": "CustomView", "class": "tm_probeview", "frame": [60, 10, 100, 40],
       "text": "template", "props": {"Mode": "fast", "Count": 3, "Tint": "#80FF0000"}}
    ]}
  ]
})";

TEST_F(LayoutLoaderTest, BuildsBindsRunsTheScriptThenMakesCustomViews) {
  write("screen-1", kScreen);
  panel.native()->setFrame(Frame{0, 0, 400, 200});
  panel.LoadLayout("screen-1", owner->bi);
  ASSERT_TRUE(owner->btnok.IsInitialized());
  EXPECT_EQ(owner->btnok.Text().str(), "OK");
  EXPECT_FALSE(owner->btnok.Enabled());
  EXPECT_EQ(owner->lbltitle.Text().str(), "Hello");
  EXPECT_EQ(owner->lbltitle.Font().Size(), 20) << "the script scaled the text with the views";
  EXPECT_EQ(owner->btnok.Left(), 20);
  EXPECT_EQ(panel.Color(), static_cast<int32_t>(0xFF101010));
  ASSERT_TRUE(owner->probe1);
  EXPECT_EQ(steps, (std::vector<std::string>{"script with 4 views on 400x200", "initialize probe1 for tm_owner",
                                             "create 200x80 label template"}));
  Map p = owner->probe1->props;
  EXPECT_EQ(p.Get(Object("Mode")), Object("fast"));
  EXPECT_EQ(p.Get(Object("Count")), Object(3));
  EXPECT_EQ(p.Get(Object("Tint")), Object(static_cast<int32_t>(0x80FF0000)));
  EXPECT_FALSE(p.ContainsKey(Object("Fast"))) << "defaults are the view's to apply";
  owner->probe1->base.setWidth(250);
  EXPECT_EQ(steps.back(), "resize 250") << "the base panel reports its size changes from now on";
}

TEST_F(LayoutLoaderTest, ViewsRaiseTheirEventsUnderTheirEventName) {
  write("plain", R"({"width": 10, "height": 10, "views": [
    {"name": "a", "type": "Panel", "frame": [0, 0, 1, 1]},
    {"name": "b", "type": "Panel", "frame": [0, 0, 1, 1], "eventName": "shared"}]})");
  panel.LoadLayout("plain", owner->bi);
  EXPECT_EQ(panel.GetView(0).native()->eventName(), "a");
  EXPECT_EQ(panel.GetView(1).native()->eventName(), "shared");
  EXPECT_EQ(panel.GetView(1).native()->name(), "b");
}

TEST_F(LayoutLoaderTest, BrokenLayoutsAreErrorsNamingFileViewAndKey) {
  struct Case {
    std::string json;
    std::string message;
  };
  std::string nested = R"({"width": 10, "height": 10, "views": [)";
  for (int i = 1; i <= 20000; ++i)
    nested += R"({"type": "Panel", "frame": [0,0,1,1], "name": "p)" + std::to_string(i) + R"(", "views": [)";
  for (int i = 0; i < 20000; ++i) nested += "]}";
  nested += "]}";
  // Every number too large for a double goes in the one parse; the first view holding one is named.
  std::string huge = R"({"width": 10, "height": 10, "views": [)";
  for (int i = 0; i < 2000; ++i)
    huge += std::string(i ? "," : "") + R"({"type": "Label", "name": "v)" + std::to_string(i) +
            R"(", "text": "1e999", "frame": [1e999, -1e999, 1e999, 1e999]})";
  huge += "]}";
  std::filesystem::create_directories(dir / "images");
  Bitmap::Create(static_cast<int>(Bitmap::kMaxPngSide) + 1, 1)->WritePng((dir / "images" / "wide.png").string());
  const Case cases[] = {
      {"{", "bad.layout: not valid JSON"},
      {R"({"width": 1e400, "height": 10, "views": []})", "bad.layout: key \"width\": must be a number"},
      {R"({"width": 10, "height": 10, "views": [{"name": "x", "type": "Label", "frame": [0,0,-1e999,1]}]})",
       "bad.layout: view x: key \"frame\": must be [left, top, width, height]"},
      {R"({"width": 10, "height": 10, "views": [{"name": "p", "type": "CustomView", "class": "tm_probeview",
           "frame": [0,0,1,1], "props": {"Mode": "a", "Count": 1e400}}]})",
       "bad.layout: view p: key \"Count\": must be a number"},
      {nested, "bad.layout: view p64: key \"views\": views nest deeper than 64 levels"},
      {R"({"width": 10, "views": []})", "bad.layout: key \"height\": missing"},
      {R"({"width": 10, "height": 10, "views": [], "colour": "#FFFFFF"})", "bad.layout: key \"colour\": unknown key"},
      {R"({"width": 10, "height": 10, "views": [{"name": "x", "type": "Slider", "frame": [0,0,1,1]}]})",
       "bad.layout: view x: key \"type\": unknown view type \"Slider\""},
      {R"({"width": 10, "height": 10, "views": [{"name": "x", "type": "Label", "frame": [0,0,1]}]})",
       "bad.layout: view x: key \"frame\": must be [left, top, width, height]"},
      {R"({"width": 10, "height": 10, "views": [{"name": "x", "type": "Label", "frame": [0,0,1,1], "txt": ""}]})",
       "bad.layout: view x: key \"txt\": unknown key"},
      {R"({"width": 10, "height": 10, "views": [{"name": "x", "type": "Label", "frame": [0,0,1,1], "textColor": "red"}]})",
       "bad.layout: view x: key \"textColor\": must be a colour"},
      {R"({"width": 10, "height": 10, "views": [{"name": "x", "type": "Label", "frame": [0,0,1,1],
           "font": {"family": "DUFAULT", "size": 10}}]})",
       "bad.layout: view x: key \"family\": \"DUFAULT\" names no installed font"},
      {R"({"width": 10, "height": 10, "views": [{"name": "x", "type": "Panel", "frame": [0,0,1,1]},
                                                 {"name": "X", "type": "Panel", "frame": [0,0,1,1]}]})",
       "bad.layout: view X: key \"name\": two views have this name"},
      {R"({"width": 10, "height": 10, "views": [{"name": "p", "type": "CustomView", "class": "tm_none", "frame": [0,0,1,1]}]})",
       "bad.layout: view p: key \"class\": unknown custom view class \"tm_none\""},
      {R"({"width": 10, "height": 10, "views": [{"name": "p", "type": "CustomView", "class": "tm_probeview", "frame": [0,0,1,1]}]})",
       "bad.layout: view p: key \"Mode\": designer property missing"},
      {R"({"width": 10, "height": 10, "views": [{"name": "p", "type": "CustomView", "class": "tm_probeview",
           "frame": [0,0,1,1], "props": {"Mode": "a", "Fast": "yes"}}]})",
       "bad.layout: view p: key \"Fast\": must be true or false"},
      {R"({"width": 10, "height": 10, "views": [{"name": "p", "type": "CustomView", "class": "tm_probeview",
           "frame": [0,0,1,1], "props": {"Mode": "a", "Speed": 1}}]})",
       "bad.layout: view p: key \"Speed\": unknown designer property of tm_probeview"},
      {R"({"width": 10, "height": 10, "views": [{"name": "btnOk", "type": "Label", "frame": [0,0,1,1]}]})",
       "bad.layout: view btnOk: key \"type\": the field btnok of tm_owner does not take a Label"},
      {R"({"width": 10, "height": 10, "views": [{"name": "i", "type": "ImageView", "frame": [0,0,1,1], "image": "none.png"}]})",
       "bad.layout: view i: key \"image\": "},
      {huge, "bad.layout: view v0: key \"frame\": must be [left, top, width, height]"},
      {R"({"width": 10, "height": 10, "views": [{"name": "x", "type": "Label", "frame": [1.7976931348623159e308,0,1,1]}]})",
       "bad.layout: view x: key \"frame\": must be [left, top, width, height]"},
      {R"({"width": 10, "height": 10, "views": [{"name": "p", "type": "CustomView", "class": "tm_probeview",
           "frame": [0,0,1,1], "props": {"Mode": "a", "Copies": 2000000000}}]})",
       "bad.layout: view p: key \"Copies\": must be at most 1000"},
      {R"({"width": 10, "height": 10, "views": [{"name": "i", "type": "ImageView", "frame": [0,0,1,1], "image": "wide.png"}]})",
       "bad.layout: view i: key \"image\": Image too large: " + (dir / "images" / "wide.png").string() +
           " is 8193x1 pixels"},
  };
  for (const auto& c : cases) {
    std::string got = loadError(c.json);
    EXPECT_EQ(got.rfind(c.message, 0), 0u) << "got: " << got;
  }
  EXPECT_EQ(panel.NumberOfViews(), 0) << "no refused layout left views behind";
  // The largest double, one too small for a double (read as 0) and numbers in texts are kept.
  write("edge", R"({"width": 10, "height": 10, "views": [{"name": "lblTitle", "type": "Label",
      "frame": [1.7976931348623157e308, 1e-400, 1, 1], "text": "1e999 \" 1e999", "textColor": "#FF000000"}]})");
  panel.LoadLayout("edge", owner->bi);
  EXPECT_EQ(owner->lbltitle.Text().str(), "1e999 \" 1e999");
  EXPECT_EQ(owner->lbltitle.Left(), std::numeric_limits<double>::max());
  EXPECT_EQ(owner->lbltitle.Top(), 0);
  try {
    panel.LoadLayout("missing", owner->bi);
    FAIL();
  } catch (const LayoutError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("missing.layout: cannot read the layout file", 0), 0u);
  }
}

// A layout refused once building has begun (a size that scaling takes beyond every number or
// every font size, a custom view that cannot be built at its frame, a view its field does not
// take) leaves the panel, its colour and the module's fields as they were; a font size a float
// cannot hold is refused as written too.
TEST_F(LayoutLoaderTest, ARefusedLayoutLeavesThePanelAndTheFieldsAsTheyWere) {
  rt.service<LayoutRegistry>().registerDesignerScript(
      "LS_bad", [](LayoutBuilder& b) { return std::make_unique<LS_screen_1>(b); });
  const int32_t color = static_cast<int32_t>(0xFF203040);
  panel.setColor(color);
  LabelWrapper kept;
  kept.Initialize(owner->bi, "");
  panel.AddView(kept, 1, 2, 3, 4);
  owner->lbltitle.Initialize(owner->bi, "");
  const auto title = owner->lbltitle.native();

  struct Case {
    std::string size;     // the layout's width and height; the panel is 200 x 100, the script scales by rate 1
    std::string view;     // after a label bound to its field and a panel holding a custom view
    std::string message;  // a regular expression
  };
  auto label = [](const std::string& frame, const std::string& size) {
    return R"({"name": "lblBig", "type": "Label", "frame": )" + frame + R"(, "font": {"size": )" + size + "}}";
  };
  auto probe = [](const std::string& frame, const std::string& name = "probe1", const std::string& mode = "a") {
    return R"({"name": ")" + name + R"(", "type": "CustomView", "class": "tm_probeview", "frame": )" + frame +
           R"(, "props": {"Mode": ")" + mode + R"("}})";
  };
  const std::string font = R"(^bad\.layout: view lblBig: key "font": )";
  const std::string frame = R"(^bad\.layout: view probe1: key "frame": )";
  const Case cases[] = {
      {"200, 100", label("[0,0,1,1]", "1e39"), font},
      {"200, 100", label("[0,0,1,1]", "1e-46"), font},
      {"100, 50", label("[0,0,1,1]", "3e38"), font},    // scaled by 2
      {"400, 200", label("[0,0,1,1]", "1e-45"), font},  // scaled by 0.5
      {"1e-300, 1e-300", label("[0,0,1,1]", "10"), R"(^bad\.layout: view lbl\w+: key "font": )"},
      {"1e-320, 1e-320", label("[0,0,1,1]", "10"), R"(^bad\.layout: key "width": )"},
      {"100, 50", R"({"name": "pnlWide", "type": "Panel", "frame": [0,0,1e308,1]})",
       R"(^bad\.layout: view pnlWide: key "frame": )"},
      {"200, 100", probe("[0,0,40000,15]"), frame},
      {"200, 100", probe("[0,0,15,2147483648]"), frame},
      {"200, 100", probe("[2,2,1e308,1e308]"), frame},
      {"100, 50", probe("[0,0,20000,15]"), frame},  // 40000 once scaled
      {"200, 100", probe("[0,0,10,10]", "probe1", "refused"),
       R"(^bad\.layout: view probe1: key "Mode": no such mode: refused$)"},
      {"200, 100", R"({"name": "btnOk", "type": "Label", "frame": [0,0,1,1]})",
       R"(^bad\.layout: view btnOk: key "type": )"},
  };
  for (const auto& c : cases) {
    const size_t comma = c.size.find(',');
    std::string got =
        loadError(R"({"width": )" + c.size.substr(0, comma) + R"(, "height": )" + c.size.substr(comma + 1) +
                  R"(, "color": "#FFFFFFFF", "views": [
        {"name": "lblTitle", "type": "Label", "frame": [0,0,10,10], "text": "T"},
        {"name": "pnl", "type": "Panel", "frame": [0,0,100,50], "views": [)" +
                  probe("[0,0,10,10]", "probe2") + "]}, " + c.view + "]}");
    EXPECT_THAT(got, ::testing::ContainsRegex(c.message));
    ASSERT_EQ(panel.NumberOfViews(), 1) << got;
    EXPECT_EQ(panel.GetView(0).native(), kept.native());
    EXPECT_EQ(panel.Color(), color);
    EXPECT_EQ(owner->lbltitle.native(), title) << got;
    EXPECT_FALSE(owner->probe1) << got;
  }
  // The largest views and font sizes that can be built at still load.
  write("edge", R"({"width": 100, "height": 50, "views": [
      {"name": "lblTitle", "type": "Label", "frame": [0,0,1,1], "font": {"size": 1e38}},
      {"name": "tiny", "type": "Label", "frame": [0,0,1,1], "font": {"size": 2e-45}},
      {"name": "probe1", "type": "CustomView", "class": "tm_probeview", "frame": [0,0,16384,15], "props": {"Mode": "a"}}]})");
  rt.service<LayoutRegistry>().registerDesignerScript(
      "LS_edge", [](LayoutBuilder& b) { return std::make_unique<LS_screen_1>(b); });
  panel.LoadLayout("edge", owner->bi);
  EXPECT_EQ(owner->lbltitle.Font().Size(), 2e38f);
  ASSERT_TRUE(owner->probe1);
  EXPECT_EQ(owner->probe1->base.Width(), 32768);
}

TEST(LayoutBuilderTest, ScalesByTheRateOfTheDiagonalsAndNotAtAllOnTheReferenceSize) {
  LayoutBuilder b(300, 400);
  b.setScaleRate(0.3f);
  EXPECT_DOUBLE_EQ(b.scaleFor(300, 400), 1);
  EXPECT_NEAR(b.scaleFor(600, 800), 1.3, 1e-6);
  EXPECT_NEAR(b.scaleFor(150, 200), 0.85, 1e-6);
  b.setScaleRate(0);
  EXPECT_DOUBLE_EQ(b.scaleFor(600, 800), 1);
}

TEST(LayoutRegistryTest, ScriptNamesAreLowerCaseWithUnderscoresForOtherCharacters) {
  EXPECT_EQ(LayoutRegistry::ScriptClassName("tivomarshApple"), "LS_tivomarshapple");
  EXPECT_EQ(LayoutRegistry::ScriptClassName("Screen-1.v2"), "LS_screen_1_v2");
}

}  // namespace
}  // namespace tmr
