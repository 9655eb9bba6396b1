#pragma once
// A native button as the runtime wraps it: a View that is known to be a button.
#include <memory>
#include <string_view>

#include "platform/views/ButtonObject.h"
#include "platform/views/View.h"

namespace tmr {

class ButtonWrapper : public View {
 public:
  static constexpr ButtonObject::Style STYLE_SYSTEM = ButtonObject::Style::System;
  static constexpr ButtonObject::Style STYLE_CUSTOM = ButtonObject::Style::Custom;

  ButtonWrapper() = default;
  // The button an Object refers to; uninitialised when it is not a button.
  static ButtonWrapper FromObject(const Object& o);

  // Makes a new button; a non-empty event name makes it raise "<event name>_click".
  void Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName, ButtonObject::Style style);
  ButtonObject& button() const;

 private:
  explicit ButtonWrapper(std::shared_ptr<ViewObject> v) : View(std::move(v)) {}
};

template <>
struct FromObject<ButtonWrapper> {
  static ButtonWrapper get(const Object& o) { return ButtonWrapper::FromObject(o); }
};

}  // namespace tmr
