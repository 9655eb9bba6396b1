#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/tm_inputtemplate.h"
#include "platform/views/Keyboard.h"
#include "platform/views/TextFieldWrapper.h"
#include "platform/views/ViewObject.h"
#include "tests/dialogs/DialogHarness.h"

namespace tmr {
namespace {

constexpr int32_t kPositive = tm_dialog::DialogResponse_Positive;
constexpr int32_t kCancel = tm_dialog::DialogResponse_Cancel;
constexpr int32_t kWhite = UiLayer::Color_White;
constexpr int32_t kRed = tm_inputtemplate::Color_Red;

struct InputHarness : DialogHarness {
  InputHarness() { t->_initialize(owner->bi); }
  std::shared_ptr<ResumableSub_dialogowner_Ask> show() {
    return ask([this] { return dialog->_showtemplate(Object(t), Object("OK"), Object(""), Object("Cancel")); });
  }
  // Shows the template and lets its 20 ms pass.
  std::shared_ptr<ResumableSub_dialogowner_Ask> shown() {
    auto a = show();
    wait(20);
    return a;
  }
  TextFieldWrapper& field() { return t->textfield1; }
  int32_t border() { return field().native()->borderColor(); }
  bool positiveEnabled() { return button(kPositive).Enabled(); }
  std::shared_ptr<tm_inputtemplate> t = std::make_shared<tm_inputtemplate>();
};

TEST(InputTemplate, NumberConfigurationsChooseTheirPatternAndKeyboard) {
  struct Case {
    bool decimals, negative;
    int32_t keyboard;
    std::vector<std::string> valid, invalid;
  };
  const std::vector<Case> cases = {
      {true,
       true,
       TextFieldWrapper::TYPE_NUMBERS_AND_PUNCTUATIONS,
       {"-.5", ".5", "-0.25", "12", "0", "-3", "0.5", "120.05"},
       {"5.", "05", "-", "", ".", "-.", "1.2.3", "1,5", "--1", "a", " 1", "1\u07C3", "-.\u0661"}},
      {true,
       false,
       TextFieldWrapper::TYPE_DECIMAL_PAD,
       {".5", "0.25", "12", "0"},
       {"-.5", "-1", "5.", "05", "", "\uFF15", "1.\u096D"}},
      {false,
       true,
       TextFieldWrapper::TYPE_NUMBERS_AND_PUNCTUATIONS,
       {"-3", "0", "42", "-42"},
       {"1.5", "007", "-", "", "-\u0661"}},
      {false,
       false,
       TextFieldWrapper::TYPE_NUMBER_PAD,
       {"0", "42", "1000"},
       // 400 digits match the pattern but are beyond a Double: the conversion would refuse them.
       {"007", "-3", "1.5", "", "4 2", "1\u07C3", std::string(400, '9')}},
  };
  for (const auto& c : cases) {
    InputHarness h;
    h.t->_configurefornumbers(c.decimals, c.negative);
    SCOPED_TRACE(std::string("decimals ") + (c.decimals ? "yes" : "no") + ", negative " + (c.negative ? "yes" : "no"));
    EXPECT_EQ(h.field().KeyboardType(), c.keyboard);
    EXPECT_EQ(h.t->mallowdecimals, c.decimals);
    for (const auto& s : c.valid) EXPECT_TRUE(h.t->_isvalid(String(s))) << s;
    for (const auto& s : c.invalid) EXPECT_FALSE(h.t->_isvalid(String(s))) << s;
  }
}

TEST(InputTemplate, ShowPutsTheDialogAtTheTopThenShowsValidatesAndSelectsTheText) {
  InputHarness h;
  h.t->_configurefornumbers(false, false);
  h.t->text = "12";
  auto ask = h.show();
  EXPECT_TRUE(h.dialog->putattop) << "set before the frame is built";
  EXPECT_EQ(h.dialog->base.Top(), 20) << "near the top, above the keyboard";
  EXPECT_EQ(h.dialog->base.Height(), 80 + 40 + 6);
  EXPECT_EQ(h.field().Text().str(), "") << "the text waits until the frame stands";
  h.wait(20);
  EXPECT_EQ(h.field().Text().str(), "12");
  EXPECT_TRUE(h.field().Focused());
  EXPECT_EQ(h.field().SelectionStart(), 0);
  EXPECT_EQ(h.field().SelectionLength(), 2);
  EXPECT_TRUE(h.positiveEnabled());
  EXPECT_EQ(h.border(), kWhite);
  EXPECT_EQ(h.field().TextColor(), kWhite);
  h.type("3");
  EXPECT_EQ(h.field().Text().str(), "3") << "the first key replaces the selected text";
}

TEST(InputTemplate, EveryChangeOfTheTextSetsTheButtonAndTheBorder) {
  InputHarness h;
  h.t->_configurefornumbers(false, false);
  h.t->text = "7";
  auto ask = h.shown();
  struct Step {
    const char* key;  // "<" is the delete key
    const char* text;
    bool valid;
    int32_t border;
  };
  const std::vector<Step> steps = {
      {"2", "2", true, kWhite}, {"7", "27", true, kWhite}, {"<", "2", true, kWhite}, {"<", "", false, kWhite},
      {"0", "0", true, kWhite}, {"7", "07", false, kRed},  {"<", "0", true, kWhite},
  };
  for (const auto& s : steps) {
    if (std::string(s.key) == "<") {
      h.del();
    } else {
      h.type(s.key);
    }
    SCOPED_TRACE(s.text);
    EXPECT_EQ(h.field().Text().str(), s.text);
    EXPECT_EQ(h.positiveEnabled(), s.valid);
    EXPECT_EQ(h.border(), s.border);
  }
  h.type("7");
  h.hand().tap(h.button(kPositive));
  h.wait(200);
  EXPECT_FALSE(ask->done) << "a disabled Positive button does not close";
}

TEST(InputTemplate, EnterClosesWithPositiveOnlyWhileTheTextIsValid) {
  InputHarness h;
  h.t->regexpattern = "^[a-z]+$";
  h.t->text = "abc";
  auto ask = h.shown();
  h.field().SetSelection(3, 0);
  h.type("1");
  h.keys().enter();
  h.wait(200);
  EXPECT_FALSE(ask->done);
  EXPECT_EQ(h.t->text.str(), "abc");
  h.del();
  h.type("d");
  h.keys().enter();
  h.wait(200);
  ASSERT_TRUE(ask->done);
  EXPECT_EQ(ask->result, kPositive);
  EXPECT_EQ(h.t->text.str(), "abcd");
  EXPECT_FALSE(h.dialog->putattop) << "the dialog resets it after the template's showing";
}

TEST(InputTemplate, WithoutAPatternEvenTheEmptyTextIsConfirmed) {
  InputHarness h;
  h.t->text = "x";
  auto ask = h.shown();
  h.del();
  EXPECT_TRUE(h.positiveEnabled());
  EXPECT_EQ(h.border(), kWhite);
  h.keys().enter();
  h.wait(200);
  ASSERT_TRUE(ask->done);
  EXPECT_EQ(ask->result, kPositive);
  EXPECT_EQ(h.t->text.str(), "");
}

TEST(InputTemplate, ANegativeOrCancelCloseKeepsTheTextAsItWas) {
  InputHarness h;
  h.t->text = "before";
  auto ask = h.shown();
  h.type("after");
  h.hand().tap(h.button(kCancel));
  h.wait(200);
  ASSERT_TRUE(ask->done);
  EXPECT_EQ(ask->result, kCancel);
  EXPECT_EQ(h.t->text.str(), "before");
}

TEST(InputTemplate, WithDecimalsACommaBecomesAPoint) {
  InputHarness h;
  h.t->_configurefornumbers(true, true);
  auto ask = h.shown();
  h.type("3,");
  EXPECT_EQ(h.field().Text().str(), "3.");
  EXPECT_EQ(h.field().SelectionStart(), 2) << "the cursor stays after the typed character";
  EXPECT_FALSE(h.positiveEnabled()) << "a trailing point is not a number yet";
  EXPECT_EQ(h.border(), kRed);
  h.type("5");
  EXPECT_EQ(h.field().Text().str(), "3.5");
  EXPECT_TRUE(h.positiveEnabled());
  h.keys().enter();
  h.wait(200);
  ASSERT_TRUE(ask->done);
  EXPECT_EQ(h.t->text.str(), "3.5");
}

TEST(InputTemplate, ACommaTypedInsideTheTextKeepsTheCursorInPlace) {
  InputHarness h;
  h.t->_configurefornumbers(true, false);
  h.t->text = "12";
  auto ask = h.shown();
  h.field().SetSelection(1, 0);
  h.type(",");
  EXPECT_EQ(h.field().Text().str(), "1.2");
  EXPECT_EQ(h.field().SelectionStart(), 2);
  EXPECT_EQ(h.field().SelectionLength(), 0);
  EXPECT_TRUE(h.positiveEnabled());
}

TEST(InputTemplate, SeveralKeysReportedLateEndInTheCorrectedText) {
  // All four keys are in the field before the first change reaches the template.
  InputHarness h;
  h.t->_configurefornumbers(true, false);
  auto ask = h.shown();
  h.keys().type("3,25");
  h.settle();
  EXPECT_EQ(h.field().Text().str(), "3.25");
  EXPECT_TRUE(h.positiveEnabled());
  EXPECT_EQ(h.border(), kWhite);
}

TEST(InputTemplate, IntegersKeepTheirComma) {
  InputHarness h;
  h.t->_configurefornumbers(false, true);
  auto ask = h.shown();
  h.type("3,");
  EXPECT_EQ(h.field().Text().str(), "3,");
  EXPECT_FALSE(h.positiveEnabled());
}

TEST(InputTemplate, APatternThatDoesNotCompileAcceptsNothing) {
  InputHarness h;
  h.t->regexpattern = "([a-z";
  h.t->text = "abc";
  auto ask = h.shown();
  EXPECT_FALSE(h.positiveEnabled());
  EXPECT_EQ(h.border(), kRed);
  EXPECT_TRUE(h.logged("Invalid regular expression: ([a-z"));
  h.keys().enter();
  h.wait(200);
  EXPECT_FALSE(ask->done);
}

TEST(InputTemplate, EachShowingValidatesTheCurrentTextAnewWithItsOwnColours) {
  InputHarness h;
  h.t->_configurefornumbers(false, false);
  h.t->_setbordercolor(static_cast<int32_t>(0xFF00FF00), static_cast<int32_t>(0xFF0000FF));
  EXPECT_EQ(h.border(), static_cast<int32_t>(0xFF00FF00));
  h.t->text = "5";
  auto first = h.shown();
  h.keys().enter();
  h.wait(200);
  ASSERT_TRUE(first->done);
  h.t->text = "05";
  auto second = h.shown();
  EXPECT_EQ(h.field().Text().str(), "05");
  EXPECT_FALSE(h.positiveEnabled());
  EXPECT_EQ(h.border(), static_cast<int32_t>(0xFF0000FF));
}

}  // namespace
}  // namespace tmr
