#pragma once
// A native text input: a single-line text field, or a multi-line text view. It holds the text
// the person types (drawn as dots in password mode), its font and colour, the keyboard it asks
// for and, for a text view, the insets of its text. A tap gives it the focus (Keyboard).
//
// It has a cursor with a selection (start and length, in characters of the text): a key replaces
// the selection and leaves the cursor after what it typed; setting the text from code puts the
// cursor at its end.
//
// Events, with the event name it was made with: "textchanged" (old, new) after every edit the
// person makes and "enterpressed" when the Return key is pressed in a single-line field, both on
// the turn after the key (Keyboard); "beginedit" / "endedit" at once when it gains and loses the
// focus. Setting the text from code raises nothing. A field that is not inside a parent view
// raises nothing and cannot take the focus.
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/views/EdgeInsets.h"
#include "platform/views/TextViewObject.h"

namespace tmr {

class TextFieldObject : public TextViewObject {
 public:
  // The keyboards a field may ask for (the platform's keyboard type numbers).
  static constexpr int32_t TYPE_DEFAULT = 0;
  static constexpr int32_t TYPE_NUMBERS_AND_PUNCTUATIONS = 2;
  static constexpr int32_t TYPE_NUMBER_PAD = 4;
  static constexpr int32_t TYPE_DECIMAL_PAD = 8;
  static constexpr int32_t AUTOCORRECT_DEFAULT = 0;
  static constexpr int32_t AUTOCORRECT_NO = 1;
  static constexpr int32_t AUTOCORRECT_YES = 2;
  static constexpr int32_t kDefaultTextColor = static_cast<int32_t>(0xFF000000);
  static constexpr float kDefaultTextSize = 17;
  // The dot a password field draws for each character.
  static constexpr char16_t kPasswordDot = u'\u2022';

  TextFieldObject(ViewSystem& system, bool multiline);
  std::string_view typeName() const override { return multiline_ ? "TextView" : "TextField"; }

  bool multiline() const { return multiline_; }
  // Password mode and the keyboard apply to single-line fields only.
  bool passwordMode() const { return password_; }
  void setPasswordMode(bool on) {
    password_ = on;
    invalidate();
  }
  int32_t keyboardType() const { return keyboardType_; }
  void setKeyboardType(int32_t type) { keyboardType_ = type; }
  int32_t autocorrectionType() const { return autocorrection_; }
  void setAutocorrectionType(int32_t type) { autocorrection_ = type; }
  bool showClearButton() const { return showClearButton_; }
  void setShowClearButton(bool on) { showClearButton_ = on; }
  const EdgeInsets& contentInset() const { return inset_; }
  void setContentInset(const EdgeInsets& inset) {
    inset_ = inset;
    invalidate();
  }
  // The text as the screen shows it: one dot per character in password mode.
  String shownText() const;

  // Whether it has the focus now.
  bool focused() const;
  // Whether the keyboard has the key for this character: a number pad has digits only, a
  // decimal pad digits and the decimal separators "." and ","; the others have every key.
  bool acceptsCharacter(char16_t ch) const;

  // The text from code; the cursor goes to its end.
  void setText(const String& text) override;
  int selectionStart() const { return selStart_; }
  int selectionLength() const { return selLength_; }
  // Clamped into the text: a start outside it goes to the nearer end, the length to what is left.
  void setSelection(int start, int length);
  void selectAll() { setSelection(0, text().Length()); }
  // Edits as keys make them: key replaces the selection; deleteBackward removes the selection or
  // else the character before the cursor. Each returns whether the text changed.
  bool typeKey(const String& key);
  bool deleteBackward();

  // Every tap on a field gives it the focus (through Keyboard), with or without an event name.
  bool takesClicks() const override { return true; }
  void click() override;

  // "setContentInset:" [EdgeInsets] on a text view; the rest as any view.
  Object runMethod(std::string_view selector, std::vector<Object> args) override;

 private:
  bool multiline_;
  bool password_ = false;
  int32_t keyboardType_ = TYPE_DEFAULT;
  int32_t autocorrection_ = AUTOCORRECT_DEFAULT;
  bool showClearButton_ = false;
  EdgeInsets inset_{0, 0, 0, 0};
  int selStart_ = 0;
  int selLength_ = 0;
};

}  // namespace tmr
