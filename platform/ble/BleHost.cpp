#include "platform/ble/BleHost.h"

#include "platform/ble/SimulatedRadio.h"
#include "platform/core/Runtime.h"

namespace tmr {

std::shared_ptr<BleBackend> BleHost::open(std::weak_ptr<BleBackend::Listener> listener) {
  if (factory_) return factory_(std::move(listener));
  return rt_.service<SimulatedRadio>().openCentral(std::move(listener));
}

}  // namespace tmr
