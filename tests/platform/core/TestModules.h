#pragma once
// A small class module for runtime tests: its subs record how they were called.
#include <string>
#include <vector>

#include "platform/core/Common.h"
#include "platform/core/Module.h"
#include "platform/core/Runtime.h"

namespace tmr {

class ProbeModule : public ClassModule {
 public:
  static std::shared_ptr<ProbeModule> Make(Runtime& rt) {
    auto m = std::make_shared<ProbeModule>();
    m->_initialize(rt);
    return m;
  }
  void _initialize(Runtime& rt) { initializeClassModule(rt); }

  std::vector<std::string> calls;
  std::vector<Object> senders;
  int globalsRuns = 0;
  int field = 0;

  void _dev_data(Object v) { calls.push_back("data " + v.AsString().str()); }
  void _ping() {
    calls.push_back("ping");
    senders.push_back(c->Sender());
  }
  Object _sum(int32_t a, int32_t b) {
    calls.push_back("sum");
    return Object(a + b);
  }
  void _note(String text) { calls.push_back("note " + text.str()); }

  std::string_view className() const override { return "tm_probe"; }
  const SubTable& subTable() const override {
    static const SubTable table{sub<&ProbeModule::_dev_data>("_dev_data:"), sub<&ProbeModule::_ping>("_ping"),
                                sub<&ProbeModule::_sum>("_sum::"), sub<&ProbeModule::_note>("_note:")};
    return table;
  }

 protected:
  void _class_globals() override {
    ++globalsRuns;
    field = 0;
  }
};

}  // namespace tmr
