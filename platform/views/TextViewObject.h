#pragma once
// What labels and buttons share: a text with its colour, font and alignment.
#include "platform/views/ViewObject.h"

namespace tmr {

class TextViewObject : public ViewObject {
 public:
  TextViewObject(ViewSystem& system, int32_t textColor, Font font, TextAlignment alignment);

  bool hasText() const override { return true; }
  String text() const override { return text_; }
  void setText(const String& text) override {
    text_ = text;
    invalidate();
  }
  int32_t textColor() const override { return textColor_; }
  void setTextColor(int32_t argb) override {
    textColor_ = argb;
    invalidate();
  }
  Font font() const override { return font_; }
  // An uninitialised font leaves the view's font as it is.
  void setFont(const Font& font) override;
  TextAlignment textAlignment() const override { return alignment_; }
  void setTextAlignment(const TextAlignment& alignment) override {
    alignment_ = alignment;
    invalidate();
  }

 private:
  String text_;
  int32_t textColor_;
  Font font_;
  TextAlignment alignment_;
};

}  // namespace tmr
