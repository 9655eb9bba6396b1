#pragma once
// The runtime's Bluetooth LE service: opens the backend that each BleManager of this runtime
// works over. By default that is the simulated radio (SimulatedRadio), so the program, its
// tests and its demo run without a radio; another backend can be put in before the managers
// are initialised.
#include <functional>
#include <memory>

#include "platform/ble/BleBackend.h"

namespace tmr {

class Runtime;

class BleHost {
 public:
  using Factory = std::function<std::shared_ptr<BleBackend>(std::weak_ptr<BleBackend::Listener>)>;

  explicit BleHost(Runtime& rt) : rt_(rt) {}

  // A backend for one central; what the radio reports goes to listener while it lives.
  std::shared_ptr<BleBackend> open(std::weak_ptr<BleBackend::Listener> listener);
  // Managers initialised from now on use this backend factory (an empty one: the simulated radio).
  void setBackendFactory(Factory factory) { factory_ = std::move(factory); }

 private:
  Runtime& rt_;
  Factory factory_;
};

}  // namespace tmr
