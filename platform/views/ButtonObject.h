#pragma once
// A button: a title on an optional background. It takes every touch that lands on it and, when
// the touch ends inside it, raises "click". The system style draws its title in the tint colour,
// centred, and in a grey while disabled.
#include "platform/views/TextViewObject.h"

namespace tmr {

class ButtonObject : public TextViewObject {
 public:
  enum class Style { System, Custom };
  static constexpr int32_t kTintColor = static_cast<int32_t>(0xFF007AFF);
  static constexpr int32_t kDisabledTitleColor = static_cast<int32_t>(0xFFA8A8A8);
  static constexpr float kDefaultTextSize = 17;

  ButtonObject(ViewSystem& system, Style style);
  std::string_view typeName() const override { return "Button"; }
  Style style() const { return style_; }

  // The title colour while disabled.
  int32_t disabledTextColor() const { return disabledTextColor_; }
  void setDisabledTextColor(int32_t argb) {
    disabledTextColor_ = argb;
    invalidate();
  }
  // Whether a touch is down on the button now (the picture shows it pressed).
  bool highlighted() const { return highlighted_; }
  void setHighlighted(bool h) {
    highlighted_ = h;
    invalidate();
  }

  bool takesClicks() const override { return true; }

 private:
  Style style_;
  int32_t disabledTextColor_ = kDisabledTitleColor;
  bool highlighted_ = false;
};

}  // namespace tmr
