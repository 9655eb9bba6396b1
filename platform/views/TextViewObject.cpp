#include "platform/views/TextViewObject.h"

namespace tmr {

TextViewObject::TextViewObject(ViewSystem& system, int32_t textColor, Font font, TextAlignment alignment)
    : ViewObject(system), textColor_(textColor), font_(std::move(font)), alignment_(alignment) {}

void TextViewObject::setFont(const Font& font) {
  if (!font.IsInitialized()) return;
  font_ = font;
  invalidate();
}

}  // namespace tmr
