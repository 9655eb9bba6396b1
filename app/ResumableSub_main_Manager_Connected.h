#pragma once
// The set-up of a new connection: the connected screen, a read of every service, then, once the
// UART service's characteristics are known (its first data event, which is not shown),
// notifications of the device's status and the request for its settings. Data events of other
// services that arrive first go to the status handler, which ignores them. A device without
// the UART service, or whose UART service lacks TX or RX, cannot be used: it is disconnected at
// once, with a line in the log.
#include <memory>

#include "platform/core/List.h"
#include "platform/core/Map.h"
#include "platform/core/ResumableSub.h"
#include "platform/core/String.h"

namespace tmr {

class tm_main;

class ResumableSub_main_Manager_Connected : public ResumableSub {
 public:
  ResumableSub_main_Manager_Connected(std::shared_ptr<tm_main> parent, List services);

  List services;
  String serviceid;
  Map characteristics;

 protected:
  SubBody body() override;

 private:
  tm_main& main() const;
};

}  // namespace tmr
