#pragma once
// One running instance of the runtime: the main loop and its clock, the console log, the code
// modules' single instances, event delivery with waiting coroutines and the sender, and the
// platform services attached to it. Everything runs on the thread that owns it.
// Everything the runtime made (modules, views, coroutines) must be released before it.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

#include "platform/core/MainLoop.h"
#include "platform/core/Module.h"
#include "platform/core/Object.h"

namespace tmr {

class ResumableSub;

class Runtime {
 public:
  explicit Runtime(MainLoop::ClockKind clock = MainLoop::ClockKind::Virtual);
  // On the real clock, reading the time from the given source (tests that move the system's time).
  explicit Runtime(MainLoop::RealTime time);
  ~Runtime();
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  MainLoop& loop() { return loop_; }
  int64_t Now() const { return loop_.now(); }
  // The loop's steady clock, for durations (see MainLoop::steadyNow).
  int64_t SteadyNow() const { return loop_.steadyNow(); }

  // The console: one line per call. By default lines go to standard output. Main thread only:
  // work on other threads collects its lines and logs them from a posted call.
  void Log(std::string_view line);
  void setLogSink(std::function<void(std::string_view)> sink) { logSink_ = std::move(sink); }

  // The single instance of a code module in this runtime, created (with its dispatcher) on
  // first use; _process_globals runs when the module is initialised, not here.
  template <class T>
  std::shared_ptr<T> codeModule() {
    auto& slot = codeModules_[std::type_index(typeid(T))];
    if (!slot) {
      auto m = std::make_shared<T>();
      m->attach(*this);
      slot = m;
    }
    return std::static_pointer_cast<T>(slot);
  }

  // A platform service attached to this runtime (view layer, BLE manager, ...), made on first use.
  // Services are released in the reverse order of their making, after the code modules: a
  // service that uses another makes it first (in its constructor) and so outlives nothing it
  // relies on.
  template <class T>
  T& service() {
    auto key = std::type_index(typeid(T));
    if (auto it = services_.find(key); it != services_.end()) return *std::static_pointer_cast<T>(it->second);
    auto made = std::make_shared<T>(*this);  // may make the services it relies on first
    services_.emplace(key, made);
    serviceOrder_.push_back(made);
    return *made;
  }
  template <class T>
  bool hasService() const {
    return services_.contains(std::type_index(typeid(T)));
  }

  // Delivers an event string ("manager_connected:") to a module: a coroutine waiting for it
  // on that module (and that sender, when it filters by sender) takes it; otherwise the module's
  // sub "_" + eventString runs; a module without that sub drops it. Returns the sub's result.
  Object deliver(const std::shared_ptr<Module>& target, const Object& sender, std::string_view eventString,
                 std::vector<Object> args);
  // The object that raised the event being handled (null outside a handler).
  const Object& sender() const;

  // Registers a coroutine waiting for eventString on module; a newer wait for the same event
  // string (and sender filter) on the same module replaces the older one, which is destroyed.
  void addWait(Module* module, std::string eventString, Object senderFilter, std::shared_ptr<ResumableSub> rs);
  size_t waitCount() const { return waits_.size(); }
  // Remembers a started coroutine, so that shutdown can abandon it (see ResumableSub::abandon).
  void track(const std::shared_ptr<ResumableSub>& rs);

  // Releases every waiting coroutine, timer and posted call, then the code modules, then the
  // services from the last made to the first. Called by the destructor; safe to call more than once.
  void shutdown();

 private:
  // Empties the loop until releasing what it held posts nothing more.
  void drainLoop();

  struct Wait {
    Module* module;
    std::string eventString;
    Object senderFilter;
    std::shared_ptr<ResumableSub> rs;
  };

  // Declared first so that it is destroyed last: whatever the loop's tasks still hold may log
  // as it goes.
  std::function<void(std::string_view)> logSink_;
  MainLoop loop_;
  std::map<std::type_index, std::shared_ptr<StaticModule>> codeModules_;
  std::map<std::type_index, std::shared_ptr<void>> services_;
  std::vector<std::shared_ptr<void>> serviceOrder_;  // in the order made
  std::vector<Wait> waits_;
  std::vector<std::weak_ptr<ResumableSub>> started_;
  size_t startedPruneAt_ = 64;
  std::vector<Object> senders_;
};

// The event string of an event: lower(eventName + "_" + event) followed by one ':' per parameter.
std::string EventString(std::string_view eventName, std::string_view event, int parameterCount);

}  // namespace tmr
