#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Bitmap.h"
#include "platform/native/NativeObject.h"
#include "platform/views/Keyboard.h"
#include "platform/views/TextFieldWrapper.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewRenderer.h"
#include "platform/views/ViewSystem.h"
#include "tests/support/OwnerModule.h"

namespace tmr {
namespace {

// The module of the fields under test: records their events with the sender's name.
class FieldProbe : public CallProbe {
 public:
  // Run inside the next "beginedit" handler, then forgotten.
  std::function<void()> onBegin;
  std::string who() const { return View::FromObject(runtime().sender()).native()->name(); }
  void _tf_textchanged(String o, String n) { calls.push_back(who() + " changed " + o.str() + ">" + n.str()); }
  void _tf_enterpressed() { calls.push_back(who() + " enter"); }
  void _tf_beginedit() {
    calls.push_back(who() + " begin");
    if (auto f = std::exchange(onBegin, nullptr)) f();
  }
  void _tf_endedit() { calls.push_back(who() + " end"); }
  const SubTable& subTable() const override {
    static const SubTable table{
        sub<&FieldProbe::_tf_textchanged>("_tf_textchanged::"), sub<&FieldProbe::_tf_enterpressed>("_tf_enterpressed"),
        sub<&FieldProbe::_tf_beginedit>("_tf_beginedit"), sub<&FieldProbe::_tf_endedit>("_tf_endedit")};
    return table;
  }
};

struct TextFieldTest : ::testing::Test {
  Runtime rt;
  std::shared_ptr<FieldProbe> probe = std::make_shared<FieldProbe>();
  View root;
  Keyboard& keyboard = Keyboard::of(rt);
  void SetUp() override {
    probe->_initialize(rt);
    root = UiLayer().CreatePanel(probe->bi, "");
    root.native()->setFrame(Frame{0, 0, 300, 300});
  }
  TextFieldWrapper field(const std::string& name, double top, bool multiline = false) {
    TextFieldWrapper f;
    if (multiline) {
      f.InitializeMultiline(probe->bi, "tf");
    } else {
      f.Initialize(probe->bi, "tf");
    }
    f.native()->setName(name);
    root.AddView(f, 10, top, 200, 40);
    return f;
  }
  void run() { rt.loop().runUntilIdle(); }
  void tap(const View& v) {
    auto& touches = ViewSystem::of(rt).touches();
    touches.down(root.native(), v.Left() + 5, v.Top() + 5);
    touches.up();
  }
};

TEST_F(TextFieldTest, ATapFocusesAndTypingRaisesOneChangePerKeyOnTheNextTurn) {
  auto a = field("a", 10);
  EXPECT_FALSE(keyboard.shown());
  EXPECT_THROW(keyboard.type("x"), RuntimeError);
  tap(a);
  EXPECT_TRUE(a.Focused());
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"a begin"}));  // focus events at once
  tap(a);                                                          // a second tap on the focused field changes nothing
  keyboard.type("hi");
  // The field has taken the keys; it reports them on the next turn.
  EXPECT_EQ(a.Text().str(), "hi");
  EXPECT_EQ(probe->calls.size(), 1u);
  keyboard.deleteBackward();
  keyboard.enter();
  EXPECT_EQ(a.Text().str(), "h");
  rt.loop().runOneTurn();
  EXPECT_EQ(probe->calls,
            (std::vector<std::string>{"a begin", "a changed >h", "a changed h>hi", "a changed hi>h", "a enter"}));
  // Return does not take the focus away by itself; resigning does, once.
  EXPECT_TRUE(a.Focused());
  a.ResignFocus();
  a.ResignFocus();
  EXPECT_FALSE(keyboard.shown());
  EXPECT_EQ(probe->calls.back(), "a end");
  EXPECT_EQ(probe->calls.size(), 6u);
}

TEST_F(TextFieldTest, TextFromCodeRaisesNothingAndTypingAppends) {
  auto a = field("a", 10);
  a.setText("abc");
  EXPECT_TRUE(probe->calls.empty());
  a.RequestFocus();
  keyboard.type("d");
  run();
  EXPECT_EQ(probe->calls.back(), "a changed abc>abcd");
  // A character of two code units is one key, and the delete key removes it whole.
  keyboard.type(String(u"\U0001F600"));
  keyboard.deleteBackward();
  EXPECT_EQ(a.Text().str(), "abcd");
  run();
  probe->calls.clear();
  a.setText("");
  keyboard.deleteBackward();  // nothing to delete: no edit
  run();
  EXPECT_TRUE(probe->calls.empty());
}

TEST_F(TextFieldTest, KeysGoToTheCursorAndReplaceTheSelection) {
  auto a = field("a", 10);
  a.RequestFocus();
  struct Step {
    int start, length;  // the selection set before the key (-1: leave it)
    const char* key;    // "" is the delete key
    const char* text;
    int cursor;
  };
  a.setText("hello");
  EXPECT_EQ(a.SelectionStart(), 5);  // text from code: the cursor at its end
  const Step steps[] = {{0, 0, "X", "Xhello", 1}, {-1, -1, "Y", "XYhello", 2}, {2, 3, "", "XYlo", 2},
                        {1, 0, "", "Ylo", 0},     {-1, -1, "", "Ylo", 0},      {9, 4, "!", "Ylo!", 4},
                        {-3, 0, "<", "<Ylo!", 1}};
  for (const auto& s : steps) {
    SCOPED_TRACE(s.text);
    if (s.start != -1) a.SetSelection(s.start, s.length);
    if (*s.key) {
      keyboard.type(s.key);
    } else {
      keyboard.deleteBackward();
    }
    EXPECT_EQ(a.Text().str(), s.text);
    EXPECT_EQ(a.SelectionStart(), s.cursor);
    EXPECT_EQ(a.SelectionLength(), 0);
  }
  // Typing over the whole text selected replaces it: one change from the old text to the key.
  run();
  probe->calls.clear();
  a.SelectAll();
  EXPECT_EQ(a.SelectionLength(), 5);
  keyboard.type("7");
  run();
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"a changed <Ylo!>7"}));
}

TEST_F(TextFieldTest, AFieldRemovedBeforeItsKeyEventsRunRaisesNone) {
  auto a = field("a", 10);
  a.RequestFocus();
  keyboard.type("ab");
  keyboard.enter();
  a.RemoveViewFromParent();
  run();
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"a begin"}));
}

TEST_F(TextFieldTest, MovingTheFocusEndsTheOldFieldBeforeTheNewBegins) {
  auto a = field("a", 10);
  auto b = field("b", 60);
  tap(a);
  tap(b);
  EXPECT_TRUE(b.RequestFocus());
  a.RequestFocus();
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"a begin", "a end", "b begin", "b end", "a begin"}));
  EXPECT_TRUE(a.Focused());
  EXPECT_FALSE(b.Focused());
}

TEST_F(TextFieldTest, AFieldThatLeavesTheTreeLosesTheFocusSilently) {
  auto a = field("a", 10);
  auto b = field("b", 60);
  a.RequestFocus();
  a.RemoveViewFromParent();
  EXPECT_FALSE(keyboard.shown());
  EXPECT_THROW(keyboard.type("x"), RuntimeError);
  b.RequestFocus();
  // Neither a's "endedit" nor anything else from the removed field.
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"a begin", "b begin"}));
  // Out of the tree, or disabled, a field does not take the focus.
  EXPECT_FALSE(a.RequestFocus());
  b.setEnabled(false);
  b.ResignFocus();
  EXPECT_FALSE(b.RequestFocus());
  EXPECT_FALSE(keyboard.shown());
}

TEST_F(TextFieldTest, AFocusRequestInsideABeginHandlerEndsThatFieldFirst) {
  auto a = field("a", 10);
  auto b = field("b", 60);
  auto c = field("c", 110);
  a.RequestFocus();
  // b's begin handler moves the focus on to c: b ends before c begins, and c keeps it.
  probe->onBegin = [&] { c.RequestFocus(); };
  b.RequestFocus();
  EXPECT_EQ(probe->calls, (std::vector<std::string>{"a begin", "a end", "b begin", "b end", "c begin"}));
  EXPECT_TRUE(c.Focused());
}

TEST_F(TextFieldTest, KeyboardsAndTheKeysTheyHave) {
  struct Case {
    int32_t type;
    const char* text;
    bool types;
  };
  const Case cases[] = {{TextFieldWrapper::TYPE_DEFAULT, "a1,", true},
                        {TextFieldWrapper::TYPE_NUMBERS_AND_PUNCTUATIONS, "1.5,-", true},
                        {TextFieldWrapper::TYPE_NUMBER_PAD, "0123456789", true},
                        {TextFieldWrapper::TYPE_NUMBER_PAD, "12a", false},
                        {TextFieldWrapper::TYPE_NUMBER_PAD, "1.5", false},
                        {TextFieldWrapper::TYPE_DECIMAL_PAD, "3,5.0", true},
                        {TextFieldWrapper::TYPE_DECIMAL_PAD, "-1", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    auto f = field("f", 10);
    f.setKeyboardType(c.type);
    EXPECT_EQ(f.KeyboardType(), c.type);
    f.RequestFocus();
    if (c.types) {
      keyboard.type(c.text);
      run();
      EXPECT_EQ(f.Text().str(), c.text);
    } else {
      // Nothing of the text is typed when a key is missing.
      EXPECT_THROW(keyboard.type(c.text), RuntimeError);
      EXPECT_EQ(f.Text().str(), "");
    }
    f.RemoveViewFromParent();
  }
}

TEST_F(TextFieldTest, ATextViewTypesANewLineForReturnAndTakesInsets) {
  auto v = field("v", 10, true);
  EXPECT_TRUE(v.Multiline());
  EXPECT_EQ(v.native()->typeName(), "TextView");
  NativeObject(Object(v)).RunMethod("setContentInset:", {TextFieldWrapper::MakeEdgeInsets(0, 8, 0, 0)});
  EXPECT_EQ(v.field().contentInset().left, 8);
  EXPECT_THROW(NativeObject(Object(v)).RunMethod("setContentInset:", {Object(3)}), RuntimeError);
  v.RequestFocus();
  keyboard.type("a");
  keyboard.enter();
  run();
  EXPECT_EQ(v.Text().str(), "a\n");
  EXPECT_EQ(probe->calls.back(), "v changed a>a\n");
}

// The rows of pixels whose alpha is not zero in a column range of a picture.
int InkPixels(const Bitmap& b, int x0, int x1) {
  int n = 0;
  for (int y = 0; y < b.pixelHeight(); ++y) {
    for (int x = x0; x < x1 && x < b.pixelWidth(); ++x) {
      n += b.pixels()[static_cast<size_t>((y * b.pixelWidth() + x) * 4 + 3)] != 0;
    }
  }
  return n;
}

TEST_F(TextFieldTest, TheScreenDrawsTheTextAndDotsForAPassword) {
  auto f = field("f", 0);
  root.native()->setFrame(Frame{0, 0, 220, 40});
  ViewRenderer renderer(rt);
  int empty = InkPixels(*renderer.render(*root.native(), 1), 0, 220);
  EXPECT_EQ(empty, 0);
  f.setText("WWWW");
  int plain = InkPixels(*renderer.render(*root.native(), 1), 0, 220);
  EXPECT_GT(plain, 0);
  f.setPasswordMode(true);
  EXPECT_EQ(f.field().shownText(), String(u"\u2022\u2022\u2022\u2022"));
  int dots = InkPixels(*renderer.render(*root.native(), 1), 0, 220);
  EXPECT_GT(dots, 0);
  EXPECT_NE(dots, plain);
  EXPECT_EQ(f.Text().str(), "WWWW");  // the text itself is kept
}

}  // namespace
}  // namespace tmr
