#pragma once
// A module that a BleManager raises its events on, for tests: every event becomes one line,
// stamped with the loop time since the probe was made ("@20 connected 1800,…").
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Bit.h"
#include "platform/core/ByteArray.h"
#include "platform/core/Common.h"
#include "platform/core/List.h"
#include "platform/core/Map.h"
#include "platform/core/Module.h"
#include "platform/core/Runtime.h"

namespace tmr {

// "2A00=54 2A01=0000"-style text of a characteristics map, in its key order.
inline std::string DescribeValues(const Map& values) {
  std::string s;
  for (const auto& [k, v] : values.entries()) {
    if (!s.empty()) s += ' ';
    s += k.AsString().str() + "=" + ByteConverter::HexFromBytes(v.AsBytes().span()).str();
  }
  return s;
}

class BleProbe : public ClassModule {
 public:
  static std::shared_ptr<BleProbe> Make(Runtime& rt) {
    auto m = std::make_shared<BleProbe>();
    m->initializeClassModule(rt);
    m->start = rt.Now();
    return m;
  }

  std::vector<std::string> events;
  std::vector<Map> advertisingData;
  std::vector<const RuntimeObject*> senders;  // identities only: the probe keeps nothing alive
  int64_t start = 0;
  std::function<void(const std::string&)> onEvent;  // runs after an event is recorded

  void _manager_statechanged(int32_t state) { add("statechanged " + std::to_string(state)); }
  void _manager_devicefound(String name, String id, Map data, double rssi) {
    advertisingData.push_back(data);
    add("devicefound '" + name.str() + "' " + id.str() + " " + NumberToString(rssi).str());
  }
  void _manager_connected(List services) {
    std::string s;
    for (const auto& id : services) s += (s.empty() ? "" : ",") + id.AsString().str();
    add("connected " + s);
  }
  void _manager_disconnected() { add("disconnected"); }
  void _manager_dataavailable(String serviceId, Map values) {
    add("data " + serviceId.str() + " " + DescribeValues(values));
  }

  std::string_view className() const override { return "tm_bleprobe"; }
  const SubTable& subTable() const override {
    static const SubTable table{
        sub<&BleProbe::_manager_statechanged>("_manager_statechanged:"),
        sub<&BleProbe::_manager_devicefound>("_manager_devicefound::::"),
        sub<&BleProbe::_manager_connected>("_manager_connected:"),
        sub<&BleProbe::_manager_disconnected>("_manager_disconnected"),
        sub<&BleProbe::_manager_dataavailable>("_manager_dataavailable::"),
    };
    return table;
  }

 private:
  void add(const std::string& text) {
    events.push_back("@" + std::to_string(c->Now() - start) + " " + text);
    senders.push_back(c->Sender().AsRef().get());
    if (onEvent) onEvent(text);
  }
};

}  // namespace tmr
