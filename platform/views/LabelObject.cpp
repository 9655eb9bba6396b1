#include "platform/views/LabelObject.h"

namespace tmr {

LabelObject::LabelObject(ViewSystem& system)
    : TextViewObject(system, kDefaultTextColor, Font::Make(Font::kDefaultFamily, kDefaultTextSize),
                     TextAlignment{VerticalAlignment::Center, HorizontalAlignment::Left}) {}

void LabelObject::setText(const String& text) {
  attributed_.reset();
  TextViewObject::setText(text);
}

void LabelObject::setAttributedText(std::shared_ptr<RichText> text) {
  TextViewObject::setText(text ? text->plainText() : String());
  attributed_ = std::move(text);
}

void LabelObject::dispose() {
  attributed_.reset();
  TextViewObject::dispose();
}

}  // namespace tmr
