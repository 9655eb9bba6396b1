#pragma once
// The module a test's views belong to: it creates them (or loads the layout whose views land in
// its fields) and hears their events through its subs. A test's owner derives from OwnerModule
// and lists only its own fields and subs; EventOwner also keeps what it heard, with the time.
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Module.h"
#include "platform/core/Runtime.h"
#include "platform/layout/FieldTable.h"

namespace tmr {

// One event heard: "<what>" and when, on the runtime's clock.
struct HeardEvent {
  std::string what;
  int64_t at = 0;
  friend bool operator==(const HeardEvent&, const HeardEvent&) = default;
};

class OwnerModule : public ClassModule, public LayoutFields {
 public:
  void _initialize(Runtime& rt) { initializeClassModule(rt); }
  std::string_view className() const override { return "tm_testowner"; }
  // No subs and no fields unless the owner lists them.
  const SubTable& subTable() const override {
    static const SubTable none{};
    return none;
  }
  const FieldTable& fieldTable() const override {
    static const FieldTable none{};
    return none;
  }
};

class EventOwner : public OwnerModule {
 public:
  std::vector<HeardEvent> events;

 protected:
  void heard(const std::string& what) { events.push_back({what, runtime().Now()}); }
};

// An owner that writes down what it hears, a line each, in order.
class CallProbe : public OwnerModule {
 public:
  std::vector<std::string> calls;
};

// What an owner heard, without the times.
inline std::vector<std::string> WhatWasHeard(const std::vector<HeardEvent>& events) {
  std::vector<std::string> out;
  for (const auto& e : events) out.push_back(e.what);
  return out;
}

}  // namespace tmr
