#include "platform/views/TextFieldObject.h"

#include <string>

#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/Keyboard.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

TextFieldObject::TextFieldObject(ViewSystem& system, bool multiline)
    : TextViewObject(system, kDefaultTextColor, Font::Make(Font::kDefaultFamily, kDefaultTextSize),
                     TextAlignment{multiline ? VerticalAlignment::Top : VerticalAlignment::Center,
                                   HorizontalAlignment::Left}),
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
  if (multiline_ || keyboardType_ != TYPE_NUMBER_PAD) return true;
  return ch >= u'0' && ch <= u'9';
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
