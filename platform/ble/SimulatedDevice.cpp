#include "platform/ble/SimulatedDevice.h"

#include <algorithm>

#include "platform/ble/BleBackend.h"
#include "platform/ble/SimulatedCentral.h"
#include "platform/ble/SimulatedRadio.h"
#include "platform/core/KeptRecords.h"

namespace tmr {

namespace {
std::vector<uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }
}  // namespace

SimulatedDevice::SimulatedDevice(std::weak_ptr<SimulatedRadio> radio, std::string name, std::string id)
    : radio_(std::move(radio)), name_(std::move(name)), id_(std::move(id)) {
  using P = BleBackend::Property;
  services_ = {
      Service{std::string(kGenericAccessService),
              {
                  {std::string(kDeviceNameCharacteristic), P::kRead, Bytes(name_)},
                  {std::string(kAppearanceCharacteristic), P::kRead, {0x00, 0x00}},
              }},
      Service{std::string(kUartService),
              {
                  {std::string(kUartReceiveCharacteristic), P::kWrite | P::kWriteWithoutResponse, {}},
                  {std::string(kUartTransmitCharacteristic), P::kNotify, {}},
              }},
      Service{std::string(kDeviceInformationService),
              {
                  {std::string(kManufacturerNameCharacteristic), P::kRead, Bytes("Tivomarsh")},
                  {std::string(kModelNumberCharacteristic), P::kRead, Bytes("TM-1")},
                  {std::string(kFirmwareRevisionCharacteristic), P::kRead, Bytes("1.0")},
              }},
  };
}

void SimulatedDevice::setAdvertising(bool enabled) {
  advertisingEnabled_ = enabled;
  if (!enabled) return;
  if (auto radio = radio_.lock()) radio->advertisingResumed(shared_from_this());
}

bool SimulatedDevice::isAdvertising() const {
  return advertisingEnabled_ && (link_.state == LinkState::None || link_.state == LinkState::Pending);
}

void SimulatedDevice::removeService(std::string_view serviceId) {
  std::erase_if(services_, [&](const Service& s) { return s.id == serviceId; });
  std::erase_if(advertisedServices_, [&](const std::string& s) { return s == serviceId; });
}

void SimulatedDevice::removeCharacteristic(std::string_view serviceId, std::string_view characteristicId) {
  if (auto* s = findService(serviceId))
    std::erase_if(s->characteristics, [&](const Characteristic& c) { return c.id == characteristicId; });
}

void SimulatedDevice::setServiceDelay(std::string_view serviceId, int64_t extraMs) {
  if (auto* s = findService(serviceId)) s->extraDelayMs = extraMs;
}

bool SimulatedDevice::isNotifying(std::string_view characteristicId) const {
  return isConnected() && link_.notifying.contains(std::string(characteristicId));
}

bool SimulatedDevice::drop() {
  auto radio = radio_.lock();
  if (!radio || !isConnected()) return false;
  radio->endLink(shared_from_this(), radio->timings().linkMs);
  return true;
}

bool SimulatedDevice::notify(std::span<const uint8_t> bytes) {
  return sendNotification(kUartService, kUartTransmitCharacteristic, bytes);
}

SimulatedDevice::Service* SimulatedDevice::findService(std::string_view serviceId) {
  auto it = std::ranges::find(services_, serviceId, &Service::id);
  return it == services_.end() ? nullptr : &*it;
}

SimulatedDevice::Characteristic* SimulatedDevice::findCharacteristic(std::string_view serviceId,
                                                                     std::string_view characteristicId) {
  auto* s = findService(serviceId);
  if (!s) return nullptr;
  auto it = std::ranges::find(s->characteristics, characteristicId, &Characteristic::id);
  return it == s->characteristics.end() ? nullptr : &*it;
}

bool SimulatedDevice::sendNotification(std::string_view serviceId, std::string_view characteristicId,
                                       std::span<const uint8_t> bytes) {
  auto radio = radio_.lock();
  if (!radio || !isNotifying(characteristicId)) return false;
  auto* c = findCharacteristic(serviceId, characteristicId);
  if (!c) return false;
  c->value.assign(bytes.begin(), bytes.end());
  radio->toCentral(shared_from_this(), radio->timings().linkMs,
                   [id = id_, service = std::string(serviceId), characteristic = std::string(characteristicId),
                    value = c->value](BleBackend::Listener& l) { l.onValue(id, service, characteristic, value); });
  return true;
}

void SimulatedDevice::endLink() {
  ++link_.generation;
  link_.state = LinkState::None;
  link_.central.reset();
  link_.notifying.clear();
}

void SimulatedDevice::recordReceived(Write write) { AppendKeepingLatest(received_, std::move(write), kKeptWrites); }

}  // namespace tmr
