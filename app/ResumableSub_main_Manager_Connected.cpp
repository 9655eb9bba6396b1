#include "app/ResumableSub_main_Manager_Connected.h"

#include "app/tm_main.h"
#include "platform/core/Common.h"

namespace tmr {

ResumableSub_main_Manager_Connected::ResumableSub_main_Manager_Connected(std::shared_ptr<tm_main> parent, List services)
    : ResumableSub(std::move(parent)), services(std::move(services)) {}

tm_main& ResumableSub_main_Manager_Connected::main() const { return static_cast<tm_main&>(*parent); }

SubBody ResumableSub_main_Manager_Connected::body() {
  auto& m = main();
  m.connected = true;
  m.ready = false;
  m._setstate(true);
  m.btndisconnected.setEnabled(false);
  m.btndisconnected.setVisible(false);
  m.connectedservices = services;
  if (m.connectedservices.IndexOf(m.nus_sid) == -1) {
    m.c->Log(String("The device has no service ") + m.nus_sid + ": disconnecting");
    m._disconnect();
    co_return;
  }
  for (const auto& id : m.connectedservices) {
    m.s = id.AsString();
    m.manager->ReadData(m.s);
  }
  // Notifications can be turned on only once the UART service's characteristics are known,
  // that is at its own first data event; events of other services may come before it.
  while (true) {
    auto args = co_await WaitFor("manager_dataavailable::");
    serviceid = args.at(0).AsString();
    characteristics = args.at(1).AsMap();
    if (serviceid == m.nus_sid) break;
    m._manager_dataavailable(serviceid, characteristics);
  }
  // Status comes on TX and commands go to RX: a UART service without either cannot be used.
  for (const auto& id : {m.nus_txc, m.nus_rxc}) {
    if (!characteristics.ContainsKey(id)) {
      m.c->Log(String("The device has no characteristic ") + id + ": disconnecting");
      m._disconnect();
      co_return;
    }
  }
  m.manager->SetNotify(m.nus_sid, m.nus_txc, true);
  m.ready = true;
  m.barkdata.Set(0, 7);
  m.barkdata.Set(1, 0);
  m.writebarkdata();
}

}  // namespace tmr
