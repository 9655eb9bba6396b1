#include "platform/ble/SimulatedRadio.h"

#include <algorithm>
#include <stdexcept>

#include "platform/ble/SimulatedCentral.h"
#include "platform/ble/SimulatedDevice.h"
#include "platform/core/KeptRecords.h"
#include "platform/core/Runtime.h"

namespace tmr {

SimulatedRadio::SimulatedRadio(Runtime& rt) : rt_(rt), state_(BleBackend::kStatePoweredOn) {}

SimulatedRadio::~SimulatedRadio() = default;

MainLoop& SimulatedRadio::loop() const { return rt_.loop(); }

std::shared_ptr<SimulatedDevice> SimulatedRadio::addDevice(std::string name, std::string id) {
  if (device(id)) throw std::invalid_argument("a simulated device with the id " + id + " exists already");
  auto d = std::make_shared<SimulatedDevice>(weak_from_this(), std::move(name), std::move(id));
  devices_.push_back(d);
  for (auto& c : liveCentrals()) {
    if (c->isScanning()) c->watchAdvertisements(d, timings_.firstAdvertisementMs);
  }
  return d;
}

std::shared_ptr<SimulatedDevice> SimulatedRadio::device(std::string_view id) const {
  auto it = std::ranges::find_if(devices_, [&](const auto& d) { return d->id() == id; });
  return it == devices_.end() ? nullptr : *it;
}

void SimulatedRadio::setAdapterState(int state) {
  if (state == state_) return;
  state_ = state;
  auto centrals = liveCentrals();
  for (auto& c : centrals) {
    loop().post([wc = std::weak_ptr(c), state] {
      auto c = wc.lock();
      if (!c) return;
      if (auto l = c->listener()) l->onAdapterState(state);
    });
  }
  if (state == BleBackend::kStatePoweredOn) return;
  // Without the adapter nothing scans and no link survives; the state change is heard first.
  for (auto& c : centrals) c->stopScan();
  for (auto& d : devices_) {
    if (d->link_.state != SimulatedDevice::LinkState::None) endLink(d, 0);
  }
}

std::shared_ptr<BleBackend> SimulatedRadio::openCentral(std::weak_ptr<BleBackend::Listener> listener) {
  auto c = std::make_shared<SimulatedCentral>(weak_from_this(), std::move(listener));
  liveCentrals();  // drops the centrals that are gone
  centrals_.push_back(c);
  loop().post([wr = weak_from_this(), wc = std::weak_ptr(c)] {
    auto r = wr.lock();
    auto c = wc.lock();
    if (!r || !c) return;
    if (auto l = c->listener()) l->onAdapterState(r->state_);
  });
  return c;
}

void SimulatedRadio::recordWrite(ReceivedWrite write) {
  if (AppendKeepingLatest(writes_, std::move(write), kKeptWrites)) ++lostWrites_;
}

void SimulatedRadio::toDevice(const std::shared_ptr<SimulatedDevice>& device,
                              std::function<void(SimulatedDevice&)> fn) {
  loop().addTimer(timings_.linkMs,
                  [wd = std::weak_ptr(device), generation = device->link_.generation, fn = std::move(fn)] {
                    auto d = wd.lock();
                    if (!d || d->link_.generation != generation || !d->isConnected()) return;
                    fn(*d);
                  });
}

void SimulatedRadio::toCentral(const std::shared_ptr<SimulatedDevice>& device, int64_t delayMs, Report fn) {
  auto central = device->link_.central.lock();
  if (!central) return;
  loop().addTimer(delayMs,
                  [wc = std::weak_ptr(central), wd = std::weak_ptr(device), generation = device->link_.generation,
                   epoch = central->epoch(device->id()), fn = std::move(fn)] {
                    auto c = wc.lock();
                    auto d = wd.lock();
                    if (!c || !d || d->link_.generation != generation || c->epoch(d->id()) != epoch) return;
                    if (auto l = c->listener()) fn(*l);
                  });
}

void SimulatedRadio::report(const std::shared_ptr<SimulatedCentral>& central, const std::string& deviceId,
                            int64_t delayMs, Report fn) {
  loop().addTimer(delayMs,
                  [wc = std::weak_ptr(central), deviceId, epoch = central->epoch(deviceId), fn = std::move(fn)] {
                    auto c = wc.lock();
                    if (!c || c->epoch(deviceId) != epoch) return;
                    if (auto l = c->listener()) fn(*l);
                  });
}

void SimulatedRadio::connect(const std::shared_ptr<SimulatedCentral>& central, const std::string& deviceId) {
  central->advanceEpoch(deviceId);
  auto d = device(deviceId);
  const bool taken = d && d->link_.state != SimulatedDevice::LinkState::None && d->link_.central.lock() != central;
  if (!d || state_ != BleBackend::kStatePoweredOn || taken) {
    report(central, deviceId, timings_.connectMs, [deviceId](BleBackend::Listener& l) { l.onDisconnected(deviceId); });
    return;
  }
  if (d->link_.state != SimulatedDevice::LinkState::None) d->endLink();  // the same central starts afresh
  ++d->link_.generation;
  d->link_.central = central;
  d->link_.state = SimulatedDevice::LinkState::Pending;
  if (d->advertisingEnabled_) startConnecting(d);
}

void SimulatedRadio::cancel(const std::shared_ptr<SimulatedCentral>& central, const std::string& deviceId) {
  central->advanceEpoch(deviceId);
  auto d = device(deviceId);
  if (d && d->link_.state != SimulatedDevice::LinkState::None && d->link_.central.lock() == central) d->endLink();
  report(central, deviceId, timings_.linkMs, [deviceId](BleBackend::Listener& l) { l.onDisconnected(deviceId); });
}

void SimulatedRadio::startConnecting(const std::shared_ptr<SimulatedDevice>& device) {
  device->link_.state = SimulatedDevice::LinkState::Connecting;
  loop().addTimer(timings_.connectMs,
                  [wr = weak_from_this(), wd = std::weak_ptr(device), generation = device->link_.generation] {
                    auto r = wr.lock();
                    auto d = wd.lock();
                    if (!r || !d || d->link_.generation != generation) return;
                    r->connectionDue(d);
                  });
}

void SimulatedRadio::connectionDue(const std::shared_ptr<SimulatedDevice>& device) {
  auto central = device->link_.central.lock();
  if (!central) {
    device->endLink();
    return;
  }
  const std::string id = device->id();
  if (device->failNextConnection_ || device->failNextDiscovery_) {
    // A failed attempt, or a link that came up and lost it in service discovery: either way
    // the central hears of a disconnection.
    if (device->failNextConnection_) {
      device->failNextConnection_ = false;
    } else {
      device->failNextDiscovery_ = false;
    }
    device->endLink();
    if (auto l = central->listener()) l->onDisconnected(id);
    return;
  }
  device->link_.state = SimulatedDevice::LinkState::Connected;
  device->link_.notifying.clear();
  std::vector<std::string> services;
  for (const auto& s : device->services()) services.push_back(s.id);
  if (auto l = central->listener()) l->onConnected(id, services);
}

void SimulatedRadio::advertisingResumed(const std::shared_ptr<SimulatedDevice>& device) {
  if (device->link_.state == SimulatedDevice::LinkState::Pending) startConnecting(device);
}

void SimulatedRadio::endLink(const std::shared_ptr<SimulatedDevice>& device, int64_t delayMs) {
  auto central = device->link_.central.lock();
  device->endLink();
  if (!central) return;
  report(central, device->id(), delayMs, [id = device->id()](BleBackend::Listener& l) { l.onDisconnected(id); });
}

std::vector<std::shared_ptr<SimulatedCentral>> SimulatedRadio::liveCentrals() {
  std::erase_if(centrals_, [](const auto& w) { return w.expired(); });
  std::vector<std::shared_ptr<SimulatedCentral>> live;
  for (auto& w : centrals_) {
    if (auto c = w.lock()) live.push_back(std::move(c));
  }
  return live;
}

void SimulatedRadio::releaseOrphanLinks() {
  for (auto& d : devices_) {
    if (d->link_.state != SimulatedDevice::LinkState::None && d->link_.central.expired()) d->endLink();
  }
}

}  // namespace tmr
