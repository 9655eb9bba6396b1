#include "platform/ble/RadioOption.h"

#include "platform/ble/BleHost.h"
#include "platform/ble/SystemRadio.h"
#include "platform/core/Runtime.h"

namespace tmr {

namespace {

// The system radios a runtime opened: closed when the runtime's Bluetooth host goes, since a
// radio still held by someone must not post to a main loop that is gone.
struct OpenedRadios {
  std::vector<std::weak_ptr<SystemRadio>> radios;
  ~OpenedRadios() {
    for (auto& w : radios)
      if (auto r = w.lock()) r->close();
  }
};

}  // namespace

std::optional<RadioOption::Kind> RadioOption::Parse(std::string_view word) {
  if (word == "simulated") return Kind::Simulated;
  if (word == "system") return Kind::System;
  return std::nullopt;
}

std::optional<std::string> RadioOption::Unavailable(Kind kind) {
  if (kind == Kind::Simulated) return std::nullopt;
  return SystemRadio::Unavailable(SystemRadio::Timeouts{}.startUp);
}

void RadioOption::Apply(Runtime& rt, Kind kind, SystemRadio::Timeouts timeouts) {
  auto& host = rt.service<BleHost>();
  if (kind == Kind::Simulated) {
    host.setBackendFactory({});
    return;
  }
  auto opened = std::make_shared<OpenedRadios>();
  host.setBackendFactory(
      [&rt, opened, timeouts](std::weak_ptr<BleBackend::Listener> listener) -> std::shared_ptr<BleBackend> {
        std::erase_if(opened->radios, [](const auto& w) { return w.expired(); });
        auto radio = SystemRadio::Open(
            rt.loop(), std::move(listener), [&rt](std::string_view line) { rt.Log(line); }, timeouts);
        opened->radios.push_back(radio);
        return radio;
      });
}

}  // namespace tmr
