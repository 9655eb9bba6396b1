#include "platform/ble/SimulatedCentral.h"

#include <algorithm>

#include "platform/ble/SimulatedDevice.h"
#include "platform/ble/SimulatedRadio.h"

namespace tmr {

SimulatedCentral::SimulatedCentral(std::weak_ptr<SimulatedRadio> radio, std::weak_ptr<Listener> listener)
    : radio_(std::move(radio)), listener_(std::move(listener)) {}

SimulatedCentral::~SimulatedCentral() {
  stopScan();
  // A central that goes away leaves no device connected to nobody.
  if (auto r = radio_.lock()) r->releaseOrphanLinks();
}

int SimulatedCentral::adapterState() const {
  auto r = radio_.lock();
  return r ? r->adapterState() : kStateUnknown;
}

void SimulatedCentral::startScan(const std::optional<std::vector<std::string>>& serviceFilter, bool allowDuplicates) {
  stopScan();
  auto r = radio_.lock();
  if (!r || r->adapterState() != kStatePoweredOn) return;  // an adapter that is not on finds nothing
  scanning_ = true;
  allowDuplicates_ = allowDuplicates;
  serviceFilter_ = serviceFilter;
  reported_.clear();
  int64_t delay = r->timings().firstAdvertisementMs;
  for (const auto& d : r->devices()) {
    watchAdvertisements(d, delay);
    delay += r->timings().advertisementSpacingMs;
  }
}

void SimulatedCentral::stopScan() {
  scanning_ = false;
  auto timers = std::exchange(advertisementTimers_, {});
  if (auto r = radio_.lock()) {
    for (auto& [id, timer] : timers) r->loop().cancelTimer(timer);
  }
}

void SimulatedCentral::watchAdvertisements(const std::shared_ptr<SimulatedDevice>& device, int64_t delayMs) {
  auto r = radio_.lock();
  if (!r) return;
  advertisementTimers_[device->id()] = r->loop().addTimer(delayMs, [wc = weak_from_this(), wd = std::weak_ptr(device)] {
    auto c = wc.lock();
    auto d = wd.lock();
    if (c && d) c->advertisementDue(d);
  });
}

void SimulatedCentral::advertisementDue(const std::shared_ptr<SimulatedDevice>& device) {
  auto r = radio_.lock();
  if (!r || !scanning_) return;
  const std::string& id = device->id();
  // The next advertisement is set before the listener runs: it may stop or restart the scan.
  watchAdvertisements(device, r->timings().advertisingIntervalMs);
  if (!device->isAdvertising()) return;
  if (serviceFilter_) {
    const auto& offered = device->advertisedServices();
    bool match = std::ranges::any_of(
        *serviceFilter_, [&](const std::string& s) { return std::ranges::find(offered, s) != offered.end(); });
    if (!match) return;
  }
  if (!allowDuplicates_) {
    if (reported_.contains(id)) return;
    reported_.insert(id);
    // Nothing more of this device will be reported in this scan.
    if (auto it = advertisementTimers_.find(id); it != advertisementTimers_.end()) {
      r->loop().cancelTimer(it->second);
      advertisementTimers_.erase(it);
    }
  }
  Advertisement ad{id, device->name(), device->advertisedServices(), device->rssi()};
  if (auto l = listener()) l->onAdvertisement(ad);
}

void SimulatedCentral::connect(const std::string& deviceId) {
  if (auto r = radio_.lock()) r->connect(shared_from_this(), deviceId);
}

void SimulatedCentral::cancelConnection(const std::string& deviceId) {
  if (auto r = radio_.lock()) r->cancel(shared_from_this(), deviceId);
}

void SimulatedCentral::discoverCharacteristics(const std::string& deviceId, const std::string& serviceId) {
  auto d = linkedDevice(deviceId);
  if (!d) return;
  auto r = radio_.lock();
  r->toDevice(d, [serviceId](SimulatedDevice& dev) {
    auto r = dev.radio_.lock();
    if (!r) return;
    std::vector<Characteristic> found;
    int64_t extra = 0;
    if (auto* s = dev.findService(serviceId)) {
      for (const auto& c : s->characteristics) found.push_back({c.id, c.properties});
      extra = s->extraDelayMs;
    }
    r->toCentral(dev.shared_from_this(), r->timings().linkMs + extra,
                 [id = dev.id(), serviceId, found](Listener& l) { l.onCharacteristics(id, serviceId, found); });
  });
}

void SimulatedCentral::read(const std::string& deviceId, const std::string& serviceId,
                            const std::string& characteristicId) {
  auto d = linkedDevice(deviceId);
  if (!d) return;
  radio_.lock()->toDevice(d, [serviceId, characteristicId](SimulatedDevice& dev) {
    auto r = dev.radio_.lock();
    if (!r) return;
    std::vector<uint8_t> value;
    auto* c = dev.findCharacteristic(serviceId, characteristicId);
    if (c && (c->properties & kRead)) value = c->value;
    const auto* s = dev.findService(serviceId);
    r->toCentral(dev.shared_from_this(), r->timings().linkMs + (s ? s->extraDelayMs : 0),
                 [id = dev.id(), serviceId, characteristicId, value](Listener& l) {
                   l.onValue(id, serviceId, characteristicId, value);
                 });
  });
}

void SimulatedCentral::writeWithoutResponse(const std::string& deviceId, const std::string& serviceId,
                                            const std::string& characteristicId, std::vector<uint8_t> bytes) {
  auto d = linkedDevice(deviceId);
  if (!d) return;
  radio_.lock()->toDevice(d, [serviceId, characteristicId, bytes = std::move(bytes)](SimulatedDevice& dev) {
    auto r = dev.radio_.lock();
    auto* c = dev.findCharacteristic(serviceId, characteristicId);
    if (!r || !c || !(c->properties & (kWrite | kWriteWithoutResponse))) return;  // the device drops it
    dev.recordReceived({serviceId, characteristicId, bytes});
    r->recordWrite({dev.id(), serviceId, characteristicId, bytes});
    if (serviceId == SimulatedDevice::kUartService && characteristicId == SimulatedDevice::kUartReceiveCharacteristic) {
      if (auto status = dev.firmware_.receive(bytes)) {
        dev.sendNotification(SimulatedDevice::kUartService, SimulatedDevice::kUartTransmitCharacteristic, *status);
      }
    }
  });
}

void SimulatedCentral::setNotify(const std::string& deviceId, const std::string& serviceId,
                                 const std::string& characteristicId, bool enabled) {
  auto d = linkedDevice(deviceId);
  if (!d) return;
  radio_.lock()->toDevice(d, [serviceId, characteristicId, enabled](SimulatedDevice& dev) {
    auto* c = dev.findCharacteristic(serviceId, characteristicId);
    if (!c || !(c->properties & kNotify)) return;
    if (enabled) {
      dev.link_.notifying.insert(characteristicId);
    } else {
      dev.link_.notifying.erase(characteristicId);
    }
  });
}

uint64_t SimulatedCentral::epoch(const std::string& deviceId) const {
  auto it = epochs_.find(deviceId);
  return it == epochs_.end() ? 0 : it->second;
}

std::shared_ptr<SimulatedDevice> SimulatedCentral::linkedDevice(const std::string& deviceId) const {
  auto r = radio_.lock();
  if (!r) return nullptr;
  auto d = r->device(deviceId);
  if (!d || !d->isConnected() || d->link_.central.lock().get() != this) return nullptr;
  return d;
}

}  // namespace tmr
