#include "platform/ble/BleManager.h"

#include <algorithm>

#include "platform/ble/BleHost.h"
#include "platform/core/List.h"
#include "platform/core/Map.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"

namespace tmr {

namespace {

// Service and characteristic ids are UUIDs: the same whatever the case they are written in.
// The radio reports them in upper case.
std::string UuidText(const String& id) { return id.ToUpperCase().str(); }

}  // namespace

void BleManager::Initialize(std::shared_ptr<Dispatcher> bi, std::string_view eventName) {
  backend_.reset();  // releases the former central, its scan and its link
  link_.reset();
  seen_.clear();
  bi_ = std::move(bi);
  eventName_ = std::string(eventName);
  if (!bi_) throw NotInitialized("Dispatcher");
  backend_ = bi_->runtime().service<BleHost>().open(std::weak_ptr<BleBackend::Listener>(self<BleManager>()));
}

void BleManager::Scan2(const Object& serviceIds, bool allowDuplicates) {
  requireInitialized();
  std::optional<std::vector<std::string>> filter;
  if (List ids = serviceIds.AsList(); ids.IsInitialized()) {
    filter.emplace();
    for (const auto& id : ids) filter->push_back(UuidText(id.AsString()));
  }
  seen_.clear();
  backend_->startScan(filter, allowDuplicates);
}

void BleManager::StopScan() {
  requireInitialized();
  backend_->stopScan();
}

void BleManager::Connect(const String& id) {
  requireInitialized();
  if (link_ && link_->state != LinkState::Disconnecting && link_->viaBackend) {
    backend_->cancelConnection(link_->deviceId);
  }
  Link link;
  link.deviceId = id.str();
  link.serial = ++nextSerial_;
  link.viaBackend = seen_.contains(link.deviceId);
  link_ = std::move(link);
  if (link_->viaBackend) {
    backend_->connect(link_->deviceId);
    return;
  }
  // Only a device the last scan reported can be reached: fail the attempt as the radio would.
  bi_->runtime().loop().post([weak = std::weak_ptr(self<BleManager>()), serial = link_->serial] {
    auto self = weak.lock();
    if (!self || !self->link_ || self->link_->serial != serial) return;
    self->link_.reset();
    self->raise("disconnected", {});
  });
}

void BleManager::Disconnect() {
  if (!link_ || link_->state == LinkState::Disconnecting) return;
  link_->state = LinkState::Disconnecting;
  link_->services.clear();
  link_->data.clear();
  if (link_->viaBackend) backend_->cancelConnection(link_->deviceId);
  // A failure the manager posted itself stands for the confirmation.
}

void BleManager::ReadData(const String& serviceId) {
  requireInitialized();
  Link& link = requireConnected();
  const std::string sid = UuidText(serviceId);
  requireService(link, sid);
  backend_->discoverCharacteristics(link.deviceId, sid);
}

void BleManager::SetNotify(const String& serviceId, const String& characteristicId, bool notify) {
  requireInitialized();
  Link& link = requireConnected();
  const std::string sid = UuidText(serviceId);
  const auto& c = requireCharacteristic(requireService(link, sid), characteristicId);
  backend_->setNotify(link.deviceId, sid, c.id, notify);
}

void BleManager::WriteData(const String& serviceId, const String& characteristicId, const ByteArray& data) {
  requireInitialized();
  Link& link = requireConnected();
  const std::string sid = UuidText(serviceId);
  const auto& c = requireCharacteristic(requireService(link, sid), characteristicId);
  // The caller may reuse its buffer as soon as this returns: the bytes go as they are now.
  std::vector<uint8_t> bytes(data.span().begin(), data.span().end());
  backend_->writeWithoutResponse(link.deviceId, sid, c.id, std::move(bytes));
}

void BleManager::onAdapterState(int state) { raise("statechanged", {Object(static_cast<int32_t>(state))}); }

void BleManager::onAdvertisement(const BleBackend::Advertisement& ad) {
  seen_.insert(ad.deviceId);
  Map data;
  data.Initialize();
  if (!ad.name.empty()) data.Put(String(kAdvertisedName), String(ad.name));
  List services;
  services.Initialize();
  for (const auto& s : ad.serviceIds) services.Add(String(s));
  data.Put(String(kAdvertisedServices), services);
  data.Put(String(kAdvertisedConnectable), true);
  raise("devicefound", {String(ad.name), String(ad.deviceId), data, ad.rssi});
}

void BleManager::onConnected(const std::string& deviceId, const std::vector<std::string>& serviceIds) {
  if (!link_ || link_->deviceId != deviceId || link_->state != LinkState::Connecting) return;
  link_->state = LinkState::Connected;
  link_->services = serviceIds;
  List ids;
  ids.Initialize();
  for (const auto& s : serviceIds) ids.Add(String(s));
  raise("connected", {ids});
}

void BleManager::onDisconnected(const std::string& deviceId) {
  if (!link_ || link_->deviceId != deviceId) return;
  link_.reset();
  raise("disconnected", {});
}

void BleManager::onCharacteristics(const std::string& deviceId, const std::string& serviceId,
                                   const std::vector<BleBackend::Characteristic>& characteristics) {
  ServiceData* service = connectedService(deviceId, serviceId);
  if (!service) return;
  // A second discovery keeps the values already known.
  std::vector<Characteristic> found;
  for (const auto& c : characteristics) {
    auto known = std::ranges::find(service->characteristics, c.id, &Characteristic::id);
    found.push_back(
        {c.id, c.properties, known != service->characteristics.end() ? known->value : std::vector<uint8_t>{}});
  }
  service->characteristics = std::move(found);
  service->discovered = true;
  service->pendingReads.clear();
  for (const auto& c : service->characteristics) {
    if (c.properties & BleBackend::kRead) service->pendingReads.insert(c.id);
  }
  if (service->pendingReads.empty()) {
    raiseDataAvailable(serviceId, *service);
    return;
  }
  for (const auto& c : service->characteristics) {
    if (c.properties & BleBackend::kRead) backend_->read(deviceId, serviceId, c.id);
  }
}

void BleManager::onValue(const std::string& deviceId, const std::string& serviceId, const std::string& characteristicId,
                         const std::vector<uint8_t>& value) {
  ServiceData* service = connectedService(deviceId, serviceId);
  if (!service || !service->discovered) return;
  auto c = std::ranges::find(service->characteristics, characteristicId, &Characteristic::id);
  if (c == service->characteristics.end()) return;
  c->value = value;
  // While reads are outstanding, values are only kept: one event follows when the last is in.
  if (!service->pendingReads.empty()) {
    service->pendingReads.erase(characteristicId);
    if (!service->pendingReads.empty()) return;
  }
  raiseDataAvailable(serviceId, *service);
}

void BleManager::requireInitialized() const {
  if (!backend_) throw NotInitialized("BleManager");
}

BleManager::Link& BleManager::requireConnected() {
  if (!link_ || link_->state != LinkState::Connected) throw RuntimeError("No device connected");
  return *link_;
}

BleManager::ServiceData& BleManager::requireService(Link& link, const std::string& serviceId) {
  if (std::ranges::find(link.services, serviceId) == link.services.end()) throw RuntimeError("Service not found");
  return link.data[serviceId];
}

const BleManager::Characteristic& BleManager::requireCharacteristic(const ServiceData& service,
                                                                    const String& characteristicId) {
  if (!service.discovered) throw RuntimeError("You must first call ReadData and wait for DataAvailable event.");
  auto c = std::ranges::find(service.characteristics, UuidText(characteristicId), &Characteristic::id);
  if (c == service.characteristics.end()) {
    throw RuntimeError("Characteristic not found: " + characteristicId.str());
  }
  return *c;
}

BleManager::ServiceData* BleManager::connectedService(const std::string& deviceId, const std::string& serviceId) {
  if (!link_ || link_->state != LinkState::Connected || link_->deviceId != deviceId) return nullptr;
  if (std::ranges::find(link_->services, serviceId) == link_->services.end()) return nullptr;
  return &link_->data[serviceId];
}

void BleManager::raiseDataAvailable(const std::string& serviceId, const ServiceData& service) {
  Map values;
  values.Initialize();
  for (const auto& c : service.characteristics) values.Put(String(c.id), ByteArray(std::span(c.value)));
  raise("dataavailable", {String(serviceId), values});
}

void BleManager::raise(std::string_view event, std::vector<Object> args) {
  if (!bi_) return;
  auto keep = self<BleManager>();  // a handler may release the manager
  bi_->raiseEvent(Object(keep), eventName_, event, std::move(args));
}

}  // namespace tmr
