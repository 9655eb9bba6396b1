#include "platform/ble/RadioOption.h"

#include "platform/ble/BleHost.h"
#include "platform/ble/SystemRadio.h"
#include "platform/core/Runtime.h"

namespace tmr {

std::optional<RadioOption::Kind> RadioOption::Parse(std::string_view word) {
  if (word == "simulated") return Kind::Simulated;
  if (word == "system") return Kind::System;
  return std::nullopt;
}

std::optional<std::string> RadioOption::Unavailable(Kind kind) {
  if (kind == Kind::Simulated) return std::nullopt;
  return SystemRadio::Unavailable();
}

void RadioOption::Apply(Runtime& rt, Kind kind) {
  auto& host = rt.service<BleHost>();
  if (kind == Kind::Simulated) {
    host.setBackendFactory({});
    return;
  }
  host.setBackendFactory([&rt](std::weak_ptr<BleBackend::Listener> listener) -> std::shared_ptr<BleBackend> {
    return SystemRadio::Open(rt.loop(), std::move(listener), [&rt](std::string_view line) { rt.Log(line); });
  });
}

}  // namespace tmr
