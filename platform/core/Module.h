#pragma once
// Modules of the runtime. A code module (StaticModule) has one instance per runtime, set up by
// _process_globals; a class module (ClassModule) gets its dispatcher on the first call of its
// initialise sub, and every call of that sub runs _class_globals again. Every module carries
// `bi`, its event dispatcher, and `c`, the runtime's keyword object.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Object.h"
#include "platform/core/SubTable.h"

namespace tmr {

class Runtime;
class Common;
class Module;

// The runtime's event dispatcher of one module: raises events on it by name. A runtime object,
// so it can be passed in calls by name (a custom view's "_initialize:::" takes one).
class Dispatcher : public RuntimeObject {
 public:
  Dispatcher(Runtime& rt, std::weak_ptr<Module> target) : rt_(rt), target_(std::move(target)) {}
  Runtime& runtime() const { return rt_; }
  std::shared_ptr<Module> target() const { return target_.lock(); }

  // Raises eventName + "_" + event (lower-cased, one ':' per argument) on the target module,
  // with sender as the sender of the event. A waiting coroutine takes it before the handler.
  Object raiseEvent(const Object& sender, std::string_view eventName, std::string_view event,
                    std::vector<Object> args) const;
  // Raises an already formed event string ("tap_event:") on the target module.
  Object raiseEventString(const Object& sender, std::string_view eventString, std::vector<Object> args) const;

 private:
  Runtime& rt_;
  std::weak_ptr<Module> target_;
};

class Module : public RuntimeObject {
 public:
  // The module's class name, e.g. "tm_main".
  virtual std::string_view className() const = 0;
  // The subs callable by name and as event handlers.
  virtual const SubTable& subTable() const = 0;

  bool hasSub(std::string_view key) const { return subTable().find(key) != nullptr; }
  std::string description() const override;
  Runtime& runtime() const;  // fails when the module has no dispatcher yet

  std::shared_ptr<Dispatcher> bi;
  std::shared_ptr<Common> c;

 protected:
  // Gives the module its dispatcher and keyword object (once).
  void attach(Runtime& rt);
};

class StaticModule : public Module {
 public:
  // Runs _process_globals, which gives every field its initial value.
  void initializeModule() { _process_globals(); }
  virtual void _process_globals() {}

 protected:
  friend class Runtime;
  using Module::attach;
};

class ClassModule : public Module {
 public:
  ~ClassModule() override;
  bool IsInitialized() const { return bi != nullptr; }

 protected:
  // Call at the start of every initialise sub: attaches on the first call, then runs
  // _class_globals, so every call resets every field.
  void initializeClassModule(Runtime& rt);
  virtual void _class_globals() {}

 private:
  std::string releasedName_;
};

}  // namespace tmr
