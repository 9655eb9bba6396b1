#include <gtest/gtest.h>

#include "platform/core/Runtime.h"
#include "platform/graphics/Bitmap.h"
#include "platform/native/NativeRegistry.h"
#include "platform/views/ButtonWrapper.h"
#include "platform/views/HapticLog.h"
#include "platform/views/ImageViewWrapper.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/RichText.h"
#include "platform/views/ViewSystem.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {
namespace {

struct ViewsUtilsTest : ::testing::Test {
  Runtime rt;
  std::shared_ptr<tm_viewsutils> vu;
  void SetUp() override {
    ViewSystem::of(rt);
    vu = rt.codeModule<tm_viewsutils>();
    vu->initializeModule();
  }
  LabelWrapper label() {
    LabelWrapper l;
    l.Initialize(vu->bi, "");
    return l;
  }
};

TEST_F(ViewsUtilsTest, TwoHapticTapsMakeTheGeneratorOnce) {
  auto& log = rt.service<HapticLog>();
  vu->_performhapticfeedback(View());
  vu->_performhapticfeedback(View());
  EXPECT_EQ(log.calls(), (std::vector<std::string>{"alloc", "initWithStyle: 0", "impactOccurred", "impactOccurred"}));
}

TEST_F(ViewsUtilsTest, TheHapticLogKeepsOnlyTheLatestCallsWhileTheListenerHearsEach) {
  auto& log = rt.service<HapticLog>();
  int heard = 0;
  log.setListener([&](const std::string&) { ++heard; });
  for (size_t i = 0; i < HapticLog::kKeptCalls + 10; ++i) vu->_performhapticfeedback(View());
  EXPECT_EQ(heard, static_cast<int>(HapticLog::kKeptCalls) + 12);
  EXPECT_EQ(log.calls().size(), HapticLog::kKeptCalls);
  EXPECT_EQ(log.count("impactOccurred"), static_cast<int>(HapticLog::kKeptCalls));
}

TEST(ViewsUtilsWithoutHapticsTest, APlatformWithoutTheGeneratorStaysSilent) {
  Runtime rt;
  auto vu = rt.codeModule<tm_viewsutils>();
  vu->initializeModule();
  EXPECT_FALSE(rt.service<NativeRegistry>().hasClass("UIImpactFeedbackGenerator"));
  vu->_performhapticfeedback(View());
  EXPECT_FALSE(vu->feedbackgenerator.IsInitialized());
  EXPECT_TRUE(vu->utilsinitialized);
}

TEST_F(ViewsUtilsTest, NumbersBecomeOneCharacterOfTheirLow16Bits) {
  struct Case {
    Object value;
    std::u16string text;
  };
  const Case cases[] = {
      {Object(58133), u"\uE315"},  {Object(0x1E315), u"\uE315"}, {Object(65.9), u"A"},
      {Object(0xD800), u"\uFFFD"}, {Object(0xDFFF), u"\uFFFD"},  {Object(int64_t{0x10041}), u"A"},
      {Object("58133"), u"58133"}, {Object(true), u"true"},
  };
  for (const auto& c : cases) {
    auto l = label();
    vu->_settextorcsbuildertolabel(l, c.value);
    EXPECT_EQ(l.Text().units(), c.text) << c.value.AsString();
  }
}

TEST_F(ViewsUtilsTest, RichTextGoesIntoLabelsAsItIsAndIntoOtherViewsAsText) {
  auto rich = std::make_shared<RichText>(
      std::vector<RichText::Run>{{"Hello ", Font(), std::nullopt},
                                 {"there", Font::Make("DejaVu Sans", 20, true), static_cast<int32_t>(0xFFFF0000)}});
  auto l = label();
  vu->_settextorcsbuildertolabel(l, Object(rich));
  EXPECT_EQ(l.AttributedText(), rich);
  EXPECT_EQ(l.Text().str(), "Hello there");
  ButtonWrapper b;
  b.Initialize(vu->bi, "", ButtonWrapper::STYLE_SYSTEM);
  vu->_settextorcsbuildertolabel(b, Object(rich));
  EXPECT_EQ(b.Text().str(), "Hello there");
  vu->_settextorcsbuildertolabel(l, Object("plain"));
  EXPECT_EQ(l.AttributedText(), nullptr) << "plain text replaces rich text";
}

TEST_F(ViewsUtilsTest, BitmapFillsTheImageView) {
  ImageViewWrapper iv;
  iv.Initialize(vu->bi, "");
  iv.setContentMode(ImageViewWrapper::MODE_FIT);
  auto bmp = Bitmap::Create(4, 2);
  vu->_setbitmapandfill(iv, bmp);
  EXPECT_EQ(iv.GetBitmap(), bmp);
  EXPECT_EQ(iv.imageView().contentMode(), ImageViewObject::ContentMode::Fill);
}

TEST_F(ViewsUtilsTest, CreatedLabelsRaiseNoEvents) {
  View l = vu->_createlabel();
  EXPECT_EQ(l.native()->typeName(), "Label");
  EXPECT_FALSE(l.native()->raisesEvents());
}

}  // namespace
}  // namespace tmr
