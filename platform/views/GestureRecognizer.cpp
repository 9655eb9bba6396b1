#include "platform/views/GestureRecognizer.h"

#include "platform/core/Module.h"
#include "platform/core/RuntimeError.h"
#include "platform/native/NativeObject.h"
#include "platform/views/ViewObject.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

void GestureRecognizer::setTarget(const std::shared_ptr<Module>& target, std::string action) {
  target_ = target;
  action_ = std::move(action);
}

void GestureRecognizer::setState(State s) {
  state_ = s;
  if (s == Possible || s == Failed) return;
  auto target = target_.lock();
  if (!target || action_.empty()) return;
  auto keep = self<GestureRecognizer>();  // the action may drop the view that holds this recognizer
  NativeObject(Object(target)).RunMethod(action_, {Object(keep)});
}

void GestureRecognizer::recognizedBetweenTouchEvents() {
  auto v = view();
  if (v && v->system()) v->system()->touches().recognizerRecognized(*this);
}

Object GestureRecognizer::runMethod(std::string_view selector, std::vector<Object> args) {
  if (selector == "initWithTarget:action:" && args.size() == 2) {
    auto target = args[0].As<Module>();
    if (!target) throw RuntimeError("initWithTarget:action: needs a module as its target");
    setTarget(target, args[1].AsString().str());
    return Object(self<GestureRecognizer>());
  }
  if (selector == "state" && args.empty()) return Object(static_cast<int32_t>(state_));
  if (selector == "view" && args.empty()) return Object(view());
  if (selector == "enabled" && args.empty()) return Object(enabled_);
  if (selector == "setEnabled:" && args.size() == 1) {
    bool e = args[0].IsBoolean() ? args[0].AsBool() : args[0].AsInt() != 0;
    if (enabled_ && !e) touchCancelled();
    enabled_ = e;
    return {};
  }
  throw RuntimeError("Method not found: " + std::string(selector) + " (" + std::string(className()) + ")");
}

std::string GestureRecognizer::description() const { return "(" + std::string(className()) + ")"; }

}  // namespace tmr
