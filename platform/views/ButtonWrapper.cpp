#include "platform/views/ButtonWrapper.h"

#include "platform/core/Module.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

ButtonWrapper ButtonWrapper::FromObject(const Object& o) {
  auto v = o.As<ButtonObject>();
  return ButtonWrapper(std::static_pointer_cast<ViewObject>(v));
}

void ButtonWrapper::Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName,
                               ButtonObject::Style style) {
  if (!ba) throw NotInitialized("Dispatcher");
  auto v = ViewSystem::of(ba->runtime()).make<ButtonObject>(style);
  v->setEvents(ba, std::string(eventName));
  static_cast<View&>(*this) = View(v);
}

ButtonObject& ButtonWrapper::button() const { return static_cast<ButtonObject&>(obj()); }

}  // namespace tmr
