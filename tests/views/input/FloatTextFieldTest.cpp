#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/RuntimeError.h"
#include "platform/graphics/Bitmap.h"
#include "platform/layout/LayoutError.h"
#include "platform/views/Canvas.h"
#include "platform/views/TextFieldObject.h"
#include "tests/views/input/FloatTextFieldHarness.h"

namespace tmr {
namespace {

using Texts = std::vector<std::string>;

constexpr int32_t kFocusedHint = static_cast<int32_t>(0xFF0000FF);
constexpr int32_t kPlainHint = static_cast<int32_t>(0xFF808080);

std::string Field(const std::string& name, int top, const std::string& props) {
  return R"({"name": ")" + name + R"(", "type": "CustomView", "class": "tm_floattextfield", "frame": [20, )" +
         std::to_string(top) +
         R"(, 300, 50], "textColor": "#FF102030", "font": {"family": "DEFAULT", "size": 17},
   "props": {"HintColor": "#FF0000FF", "NonFocusedHintColor": "#FF808080")" +
         props + "}}";
}

const std::string kFields =
    Field("ftf1", 100, R"(, "Hint": "Name")") + "," + Field("ftf2", 200, R"(, "Hint": "City")") + "," +
    Field("pw", 300, R"(, "Hint": "Password", "PasswordField": true, "ShowRevealButton": true)") + "," +
    Field("quiet", 400, R"(, "Hint": "Code", "KeyboardType": "Numbers", "ShowClear": false, "ShowAccept": false)");

// How many fully opaque pixels of the picture have exactly this colour.
int PixelsOf(const Bitmap& b, int32_t argb) {
  auto c = static_cast<uint32_t>(argb);
  int n = 0;
  auto px = b.pixels();
  for (size_t i = 0; i + 3 < px.size(); i += 4) {
    n += px[i + 3] == 0xFF && px[i] == ((c >> 16) & 0xFF) && px[i + 1] == ((c >> 8) & 0xFF) && px[i + 2] == (c & 0xFF);
  }
  return n;
}

struct FloatTextFieldTest : ::testing::Test {
  FloatTextFieldHarness h{kFields};
  tm_floattextfield& f1 = *h.owner->ftf1;
  tm_floattextfield& f2 = *h.owner->ftf2;
  tm_floattextfield& pw = *h.owner->pw;
  tm_floattextfield& quiet = *h.owner->quiet;
  Frame hint(const tm_floattextfield& f) const { return f.hintimageview.native()->frame(); }
  Frame hintShown(const tm_floattextfield& f) const { return f.hintimageview.native()->presentationFrame(); }
  std::shared_ptr<Bitmap> picture(const tm_floattextfield& f) const { return f.hintimageview.GetBitmap(); }
};

TEST_F(FloatTextFieldTest, MadeFromALayoutWithTheFieldUnderTheHintAndButtonsAtTheRight) {
  // The base panel holds the field, the hint over it, then the clear and accept buttons.
  const auto& kids = f1.mbase.native()->children();
  ASSERT_EQ(kids.size(), 4u);
  EXPECT_EQ(kids[0], f1.mtextfield.native());
  EXPECT_EQ(kids[1], f1.hintimageview.native());
  EXPECT_EQ(kids[2], f1.lblclear.native());
  EXPECT_EQ(kids[3], f1.lblv.native());
  EXPECT_EQ(f1.mtextfield.native()->frame(), (Frame{0, 0, 300, 50}));
  EXPECT_EQ(f1.lblv.native()->frame(), (Frame{268, 0, 30, 50}));
  EXPECT_EQ(f1.lblclear.native()->frame(), (Frame{236, 0, 30, 50}));
  EXPECT_EQ(f1.lblclear.Tag().AsString().str(), "clear");
  EXPECT_EQ(f1.lblv.Tag().AsString().str(), "v");
  EXPECT_EQ(f1.lblclear.Text(), String::FromCodePoint(0xE14C));
  EXPECT_EQ(f1.lblv.Text(), String::FromCodePoint(0xE5CA));
  EXPECT_EQ(f1.lblv.Font().family(), Font::kMaterialIconsFamily);
  EXPECT_EQ(f1.lblv.Font().Size(), 20);
  EXPECT_EQ(f1.lblv.TextColor(), static_cast<int32_t>(0xFF102030));
  EXPECT_FALSE(f1.lblclear.Visible());
  EXPECT_FALSE(f1.lblv.Visible());
  // The field takes the template label's font and colour; the base panel's Tag is the view.
  EXPECT_EQ(f1.mtextfield.TextColor(), static_cast<int32_t>(0xFF102030));
  EXPECT_EQ(f1.mtextfield.Font().Size(), 17);
  EXPECT_EQ(f1.mbase.Tag().As<tm_floattextfield>().get(), &f1);
  EXPECT_EQ(f1.mtextfield.AutocorrectionType(), TextFieldWrapper::AUTOCORRECT_NO);
  EXPECT_FALSE(f1.mtextfield.ShowClearButton());
  // No buttons where the layout turns them off; the reveal button takes the clear button's place.
  EXPECT_FALSE(quiet.lblclear.IsInitialized());
  EXPECT_FALSE(quiet.lblv.IsInitialized());
  EXPECT_EQ(pw.lblclear.Tag().AsString().str(), "reveal");
  EXPECT_EQ(pw.lblclear.Text(), String::FromCodePoint(0xE8F4));
  EXPECT_TRUE(pw.mtextfield.PasswordMode());
  EXPECT_FALSE(f1.mtextfield.PasswordMode());
}

TEST_F(FloatTextFieldTest, TheHintPicturesAreTheHintMeasuredAndDrawnInBothColours) {
  Canvas measuring;
  measuring.Initialize(UiLayer().CreatePanel(h.owner->bi, ""));
  struct Case {
    const std::shared_ptr<Bitmap>& focused;
    const std::shared_ptr<Bitmap>& plain;
    float size;
  };
  const Case cases[] = {{f1.largefocused, f1.largenotfocused, 18}, {f1.smallfocused, f1.smallnotfocused, 14}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    Rect r = measuring.MeasureText("Name", UiLayer().CreateFont(f1.hintfont, c.size));
    ASSERT_TRUE(c.focused && c.plain);
    EXPECT_NEAR(c.focused->Width(), r.Width() + 2, 0.5);
    EXPECT_NEAR(c.focused->Height(), r.Height() + 2, 0.5);
    EXPECT_EQ(c.plain->Width(), c.focused->Width());
    EXPECT_GT(PixelsOf(*c.focused, kFocusedHint), 0);
    EXPECT_EQ(PixelsOf(*c.focused, kPlainHint), 0);
    EXPECT_GT(PixelsOf(*c.plain, kPlainHint), 0);
    EXPECT_EQ(PixelsOf(*c.plain, kFocusedHint), 0);
  }
  EXPECT_LT(f1.smallfocused->Width(), f1.largefocused->Width());
  // Not focused and empty: the large grey hint at x 12, centred in the 50-high field.
  EXPECT_EQ(picture(f1), f1.largenotfocused);
  const float ph = f1.largenotfocused->Height();
  EXPECT_EQ(hint(f1), (Frame{12, 25 - ph / 2, f1.largenotfocused->Width(), ph}));
  // An empty hint still makes pictures (of the two-point margin).
  f1.hinttext = "";
  f1._update();
  EXPECT_GE(f1.largefocused->Width(), 1);
}

TEST_F(FloatTextFieldTest, TypingMovesTheHintSmallOnceAndDeletingMovesItBack) {
  h.wait(300);  // the hint's first move into place
  auto hit = h.tap(f1.partNamed(""));
  EXPECT_EQ(hit, f1.mtextfield.native());
  EXPECT_TRUE(f1.focused);
  EXPECT_EQ(picture(f1), f1.largefocused);  // the focus recolours at once
  EXPECT_TRUE(h.heard().empty());           // "_FocusChanged" waits for the next turn
  h.nextTurn();
  EXPECT_EQ(h.take(), (Texts{"ftf1 focus true"}));

  h.type("A");
  // "_TextChanged" at once when the field reports the key; the buttons show; the hint starts
  // its move to (2, 2).
  EXPECT_EQ(h.take(), (Texts{"ftf1 text >A"}));
  EXPECT_TRUE(f1.lblclear.Visible());
  EXPECT_TRUE(f1.lblv.Visible());
  EXPECT_EQ(picture(f1), f1.smallfocused);
  const Frame large{12, 25 - f1.largefocused->Height() / 2, f1.smallfocused->Width(), f1.smallfocused->Height()};
  EXPECT_EQ(hint(f1), (Frame{2, 2, f1.smallfocused->Width(), f1.smallfocused->Height()}));
  Frame start = hintShown(f1);
  EXPECT_EQ(start.left, 12);
  h.wait(100);
  Frame mid = hintShown(f1);
  EXPECT_GT(mid.left, 2);
  EXPECT_LT(mid.left, 12);
  EXPECT_GT(mid.top, 2);
  EXPECT_LT(mid.top, large.top);
  h.wait(100);
  EXPECT_EQ(hintShown(f1), hint(f1));
  EXPECT_FALSE(f1.hintimageview.native()->isAnimating());

  // More keys change nothing about the hint.
  h.type("b");
  EXPECT_FALSE(f1.hintimageview.native()->isAnimating());
  EXPECT_EQ(h.take(), (Texts{"ftf1 text A>Ab"}));

  h.deleteBackward();
  h.deleteBackward();
  EXPECT_EQ(h.take(), (Texts{"ftf1 text Ab>A", "ftf1 text A>"}));
  EXPECT_FALSE(f1.lblv.Visible());
  EXPECT_EQ(picture(f1), f1.largefocused);
  EXPECT_TRUE(f1.hintimageview.native()->isAnimating());
  h.wait(200);
  EXPECT_EQ(hintShown(f1),
            (Frame{12, 25 - f1.largefocused->Height() / 2, f1.largefocused->Width(), f1.largefocused->Height()}));
}

TEST_F(FloatTextFieldTest, TappingAnotherFieldEndsTheFirstBeforeTheSecondBegins) {
  h.tap(f1.partNamed(""));
  h.type("x");
  h.wait(1);
  h.take();
  h.tap(f2.partNamed(""));
  EXPECT_TRUE(h.heard().empty());
  h.nextTurn();
  EXPECT_EQ(h.take(), (Texts{"ftf1 focus false", "ftf2 focus true"}));
  // An unfocused field with text: small grey hint, no buttons.
  EXPECT_FALSE(f1.focused);
  EXPECT_EQ(picture(f1), f1.smallnotfocused);
  EXPECT_FALSE(f1.lblclear.Visible());
  EXPECT_FALSE(f1.lblv.Visible());
  EXPECT_EQ(picture(f2), f2.largefocused);
  // A tap on the hint gives its field the focus as well.
  h.tap(f1.partNamed("hint"));
  EXPECT_TRUE(f1.focused);
  EXPECT_FALSE(f2.focused);
  EXPECT_TRUE(f1.lblclear.Visible());
}

TEST_F(FloatTextFieldTest, SettingTextFromCodeRaisesTextChangedAtOnceEvenWhenEqual) {
  f1._settext("abc");
  f1._settext("abc");
  EXPECT_EQ(h.take(), (Texts{"ftf1 text >abc", "ftf1 text abc>abc"}));
  EXPECT_EQ(f1._gettext().str(), "abc");
  // Not focused: the hint is small and grey, the buttons stay hidden.
  EXPECT_EQ(picture(f1), f1.smallnotfocused);
  EXPECT_FALSE(f1.lblclear.Visible());
  // A callback without the subs hears nothing, and nothing fails.
  quiet._settext("12");
  EXPECT_TRUE(h.heard().empty());
}

TEST_F(FloatTextFieldTest, TheClearButtonEmptiesTheField) {
  h.tap(f1.partNamed(""));
  h.type("hi");
  h.nextTurn();
  h.take();
  h.tap(f1.partNamed("clear"));
  EXPECT_EQ(h.take(), (Texts{"ftf1 text hi>"}));
  EXPECT_EQ(f1._gettext().str(), "");
  EXPECT_TRUE(f1.focused);
  EXPECT_FALSE(f1.lblclear.Visible());
}

TEST_F(FloatTextFieldTest, EnterAndAcceptRaiseEnterPressedOnTheNextTurnAndMoveAlongTheChain) {
  f1._setnextfield(h.owner->ftf2);
  f1._setnextfield(std::make_shared<tm_floattextfield>());  // not initialised: ignored
  EXPECT_EQ(f1._getnextfield(), h.owner->ftf2);
  h.tap(f1.partNamed(""));
  h.type("a");
  h.wait(1);
  h.take();
  h.enter();
  EXPECT_TRUE(h.heard().empty());
  EXPECT_TRUE(f2.focused);
  EXPECT_FALSE(f1.focused);
  h.nextTurn();
  EXPECT_EQ(h.take(), (Texts{"ftf1 focus false", "ftf2 focus true", "ftf1 enter"}));

  // The last field of the chain: Enter (here the accept button) loses the focus.
  h.type("b");
  h.wait(1);
  h.take();
  h.tap(f2.partNamed("accept"));
  EXPECT_FALSE(h.keyboard().shown());
  h.nextTurn();
  // "_EnterPressed" is posted before the field resigns the focus.
  EXPECT_EQ(h.take(), (Texts{"ftf2 enter", "ftf2 focus false"}));

  // A field chained to itself does not take the focus back.
  f1._setnextfield(h.owner->ftf1);
  h.tap(f1.partNamed(""));
  h.wait(1);
  h.take();
  EXPECT_TRUE(f1._ime_handleaction());
  h.wait(1);
  EXPECT_EQ(h.take(), (Texts{"ftf1 enter", "ftf1 focus false"}));
  EXPECT_FALSE(h.keyboard().shown());
}

TEST_F(FloatTextFieldTest, RevealingAPasswordSwapsTheFieldKeepingTextAndFocusWithoutFocusEvents) {
  h.tap(pw.partNamed(""));
  h.type("s3");
  h.wait(1);
  h.take();
  TextFieldWrapper old = pw.mtextfield;
  h.tap(pw.partNamed("clear"));
  EXPECT_NE(pw.mtextfield, old);
  EXPECT_FALSE(pw.mtextfield.PasswordMode());
  EXPECT_EQ(pw._gettext().str(), "s3");
  EXPECT_TRUE(pw.mtextfield.Focused());
  EXPECT_TRUE(pw.focused);
  EXPECT_FALSE(old.Parent().IsInitialized());
  EXPECT_EQ(pw.lblclear.Tag().AsString().str(), "hide");
  EXPECT_EQ(pw.lblclear.Text(), String::FromCodePoint(0xE8F5));
  EXPECT_EQ(pw.mtextfield.native()->frame(), (Frame{0, 0, 300, 50}));
  // The new field lies under the buttons and the hint.
  const auto& kids = pw.mbase.native()->children();
  EXPECT_EQ(kids.back(), pw.hintimageview.native());
  EXPECT_EQ(pw.hintimageview.native()->frame().left, 2);
  EXPECT_TRUE(h.heard().empty());
  h.nextTurn();
  EXPECT_EQ(h.take(), (Texts{"pw reveal true"}));
  // The removed field raises nothing; typing goes into the new one.
  h.type("!");
  EXPECT_EQ(h.take(), (Texts{"pw text s3>s3!"}));
  EXPECT_EQ(old.Text().str(), "s3");

  h.tap(pw.partNamed("clear"));
  EXPECT_TRUE(pw.mtextfield.PasswordMode());
  EXPECT_EQ(pw.lblclear.Tag().AsString().str(), "reveal");
  EXPECT_EQ(pw._gettext().str(), "s3!");
  h.nextTurn();
  EXPECT_EQ(h.take(), (Texts{"pw reveal false"}));
}

TEST_F(FloatTextFieldTest, FocusChangesAreQuietForOneHundredMillisecondsAfterASwap) {
  struct Case {
    int64_t after;
    bool reported;
  };
  for (const Case c : {Case{50, false}, Case{100, false}, Case{101, true}}) {
    SCOPED_TRACE(c.after);
    h.tap(pw.partNamed(""));
    h.type("x");
    h.wait(500);
    h.take();
    h.tap(pw.partNamed("clear"));  // reveal or hide
    h.wait(c.after);
    h.tap(f1.partNamed(""));  // pw loses the focus
    h.wait(1);
    auto heard = h.take();
    bool lost = std::find(heard.begin(), heard.end(), "pw focus false") != heard.end();
    EXPECT_EQ(lost, c.reported);
    pw._settext("");
  }
}

TEST_F(FloatTextFieldTest, KeyboardTypesFollowTheLayout) {
  EXPECT_EQ(f1.mtextfield.KeyboardType(), TextFieldWrapper::TYPE_DEFAULT);
  EXPECT_EQ(quiet.mtextfield.KeyboardType(), TextFieldWrapper::TYPE_NUMBER_PAD);
  h.tap(quiet.partNamed(""));
  EXPECT_THROW(h.keyboard().type("1a"), RuntimeError);
  h.type("12");
  EXPECT_EQ(quiet._gettext().str(), "12");
}

// Fields made in code with a property map: keyboard types, switches given as 0 or False, the
// multi-line text view and a password that cannot be multi-line.
struct MadeInCode : ::testing::Test {
  FloatTextFieldHarness h{""};
  std::shared_ptr<tm_floattextfield> make(std::initializer_list<std::pair<const char*, Object>> extra) {
    auto f = std::make_shared<tm_floattextfield>();
    f->_initialize(h.owner->bi, Object(h.owner), "made");
    View base = UiLayer().CreatePanel(h.owner->bi, "");
    h.screen.AddView(base, 10, 10, 200, 40);
    LabelWrapper label;
    label.Initialize(h.owner->bi, "");
    Map props;
    props.Initialize();
    props.Put(Object("HintColor"), Object(kFocusedHint));
    props.Put(Object("NonFocusedHintColor"), Object(kPlainHint));
    props.Put(Object("Hint"), Object("Hint"));
    for (const auto& [k, v] : extra) props.Put(Object(k), v);
    f->_designercreateview(base, label, props);
    return f;
  }
};

TEST_F(MadeInCode, KeyboardTypesAndButtonSwitches) {
  struct Case {
    const char* type;
    int32_t keyboard;
  };
  for (const auto& c :
       {Case{"Text", TextFieldWrapper::TYPE_DEFAULT}, Case{"Numbers", TextFieldWrapper::TYPE_NUMBER_PAD},
        Case{"Decimal", TextFieldWrapper::TYPE_NUMBERS_AND_PUNCTUATIONS},
        Case{"numbers", TextFieldWrapper::TYPE_DEFAULT}, Case{"Phone", TextFieldWrapper::TYPE_DEFAULT}}) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(make({{"KeyboardType", Object(c.type)}})->mtextfield.KeyboardType(), c.keyboard);
  }
  struct Switch {
    Object clear, accept;
    bool hasClear, hasAccept;
  };
  for (const auto& s : {Switch{Object(0), Object(false), false, false}, Switch{Object(1), Object(true), true, true},
                        Switch{Object(false), Object(0.0), false, false}}) {
    auto f = make({{"ShowClear", s.clear}, {"ShowAccept", s.accept}});
    EXPECT_EQ(f->lblclear.IsInitialized(), s.hasClear);
    EXPECT_EQ(f->lblv.IsInitialized(), s.hasAccept);
  }
}

TEST_F(MadeInCode, MultilineMakesATextViewButNotForAPassword) {
  auto tv = make({{"Multiline", Object(true)}});
  EXPECT_TRUE(tv->mtextfield.Multiline());
  EXPECT_EQ(tv->mtextfield.field().contentInset().left, 8);
  EXPECT_EQ(tv->mtextfield.field().contentInset().top, 0);
  h.log.clear();
  auto pw = make({{"Multiline", Object(true)}, {"PasswordField", Object(true)}});
  EXPECT_FALSE(pw->mtextfield.Multiline());
  EXPECT_TRUE(pw->mtextfield.PasswordMode());
  EXPECT_FALSE(pw->multiline);
  EXPECT_EQ(h.log, (Texts{"Multiline not supported with password mode."}));
}

TEST_F(MadeInCode, AChainOfFieldsIsReleasedWithTheirViews) {
  h.log.clear();
  {
    auto a = make({});
    auto b = make({});
    a->_setnextfield(b);
    b->_setnextfield(a);
    a->mbase.RemoveViewFromParent();
    b->mbase.RemoveViewFromParent();
    a->mbase.setTag(Object());
    b->mbase.setTag(Object());
  }
  EXPECT_EQ(std::count(h.log.begin(), h.log.end(), "Class (tm_floattextfield) instance released."), 2);
}

}  // namespace
}  // namespace tmr
