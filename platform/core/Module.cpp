#include "platform/core/Module.h"

#include <stdexcept>

#include "platform/core/Common.h"
#include "platform/core/Runtime.h"

namespace tmr {

Object Dispatcher::raiseEvent(const Object& sender, std::string_view eventName, std::string_view event,
                              std::vector<Object> args) const {
  auto es = EventString(eventName, event, static_cast<int>(args.size()));
  return raiseEventString(sender, es, std::move(args));
}

Object Dispatcher::raiseEventString(const Object& sender, std::string_view eventString,
                                    std::vector<Object> args) const {
  auto t = target();
  if (!t) return {};
  return rt_.deliver(t, sender, eventString, std::move(args));
}

std::string Module::description() const { return "(" + std::string(className()) + ")"; }

Runtime& Module::runtime() const {
  if (!bi) throw std::logic_error(std::string(className()) + " has no dispatcher yet");
  return bi->runtime();
}

void Module::attach(Runtime& rt) {
  if (bi) return;
  bi = std::make_shared<Dispatcher>(rt, std::static_pointer_cast<Module>(shared_from_this()));
  c = std::make_shared<Common>(rt);
}

ClassModule::~ClassModule() {
  // The class name was taken while the object was whole: no virtual calls in a destructor.
  if (bi) bi->runtime().Log("Class (" + releasedName_ + ") instance released.");
}

void ClassModule::initializeClassModule(Runtime& rt) {
  attach(rt);
  releasedName_ = className();
  _class_globals();
}

}  // namespace tmr
