#include "platform/views/TextFieldObject.h"

#include <algorithm>
#include <string>

#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/Keyboard.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

TextFieldObject::TextFieldObject(ViewSystem& system, bool multiline)
    : TextViewObject(
          system, kDefaultTextColor, Font::Make(Font::kDefaultFamily, kDefaultTextSize),
          TextAlignment{multiline ? VerticalAlignment::Top : VerticalAlignment::Center, HorizontalAlignment::Left}),
      multiline_(multiline) {}

String TextFieldObject::shownText() const {
  String t = text();
  if (!password_ || multiline_) return t;
  std::u16string dots(static_cast<size_t>(t.Length()), kPasswordDot);
  return String(dots);
}

bool TextFieldObject::focused() const {
  if (!system()) return false;
  return Keyboard::of(system()->runtime()).focused().get() == this;
}

bool TextFieldObject::acceptsCharacter(char16_t ch) const {
  if (multiline_) return true;
  bool digit = ch >= u'0' && ch <= u'9';
  if (keyboardType_ == TYPE_NUMBER_PAD) return digit;
  if (keyboardType_ == TYPE_DECIMAL_PAD) return digit || ch == u'.' || ch == u',';
  return true;
}

void TextFieldObject::setText(const String& text) {
  TextViewObject::setText(text);
  selStart_ = text.Length();
  selLength_ = 0;
}

void TextFieldObject::setSelection(int start, int length) {
  int n = text().Length();
  selStart_ = std::clamp(start, 0, n);
  selLength_ = std::clamp(length, 0, n - selStart_);
}

bool TextFieldObject::typeKey(const String& key) {
  String t = text();
  String edited = t.SubString2(0, selStart_) + key + t.SubString(selStart_ + selLength_);
  int cursor = selStart_ + key.Length();
  TextViewObject::setText(edited);
  selStart_ = cursor;
  selLength_ = 0;
  return !(edited == t);
}

bool TextFieldObject::deleteBackward() {
  String t = text();
  int from = selStart_, to = selStart_ + selLength_;
  if (selLength_ == 0) {
    if (selStart_ == 0) return false;
    // A character outside the basic plane goes whole.
    from -= t.SplitsPairAt(from - 1) ? 2 : 1;
  }
  TextViewObject::setText(t.SubString2(0, from) + t.SubString(to));
  selStart_ = from;
  selLength_ = 0;
  return true;
}

void TextFieldObject::click() {
  if (!system()) return;
  Keyboard::of(system()->runtime()).requestFocus(self<TextFieldObject>());
}

Object TextFieldObject::runMethod(std::string_view selector, std::vector<Object> args) {
  if (selector == "setContentInset:" && args.size() == 1) {
    auto insets = args[0].As<EdgeInsets>();
    if (!insets) throw RuntimeError("setContentInset: needs edge insets, got " + args[0].AsString().str());
    inset_ = EdgeInsets(insets->top, insets->left, insets->bottom, insets->right);
    return {};
  }
  return ViewObject::runMethod(selector, std::move(args));
}

}  // namespace tmr
