#include "views/input/CustomViewBase.h"

#include <stdexcept>

#include "platform/core/Common.h"
#include "platform/core/RuntimeError.h"

namespace tmr {

void CustomViewBase::_class_globals() {
  ViewClassModule::_class_globals();
  meventname = "";
  mcallback.reset();
  mbase = View();
  tag = Object();
}

void CustomViewBase::_initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) {
  if (!ba) throw NotInitialized("Dispatcher");
  initializeClassModule(ba->runtime());
  mcallback = callback.As<Module>();
  meventname = eventName;
}

void CustomViewBase::_designercreateview(View base, LabelWrapper /*label*/, Map /*props*/) {
  mbase = base;
  tag = mbase.Tag();
  mbase.setTag(Object(self<CustomViewBase>()));
}

bool CustomViewBase::callbackHas(std::string_view event, int parameters) const {
  auto callback = mcallback.lock();
  return callback && c->SubExists(Object(callback), subName(event), parameters);
}

void CustomViewBase::raiseEvent(std::string_view event, std::initializer_list<Object> args) {
  raise(false, event, args);
}

void CustomViewBase::raiseEventDelayed(std::string_view event, std::initializer_list<Object> args) {
  raise(true, event, args);
}

void CustomViewBase::raise(bool delayed, std::string_view event, std::initializer_list<Object> args) {
  auto callback = mcallback.lock();
  if (!callback) return;
  const Object target(callback);
  const std::string sub = subName(event);
  const Object* a = args.begin();
  switch (args.size()) {
    case 0:
      delayed ? c->CallSubDelayed(target, sub) : void(c->CallSub(target, sub));
      break;
    case 1:
      delayed ? c->CallSubDelayed2(target, sub, a[0]) : void(c->CallSub2(target, sub, a[0]));
      break;
    case 2:
      delayed ? c->CallSubDelayed3(target, sub, a[0], a[1]) : void(c->CallSub3(target, sub, a[0], a[1]));
      break;
    default:
      throw std::invalid_argument("an event carries at most two arguments");
  }
}

}  // namespace tmr
