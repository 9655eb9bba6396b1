#pragma once
// The runtime's Bluetooth LE central. Module code initialises it with its dispatcher and an
// event name, then scans, connects to one device at a time, reads services, turns on
// notifications and writes. What the radio reports arrives on the main loop as events raised
// on the module that initialised it, through the runtime's delivery (so a coroutine waiting
// for the event string takes it), with the manager as sender:
//   <name>_statechanged:     adapter state (STATE_*), after Initialize and on every change
//   <name>_devicefound::::   name ("" when none), id, advertising data (Map), signal strength
//   <name>_connected:        the device's service ids (List of upper-case texts)
//   <name>_disconnected      the device disconnected, the attempt failed, service discovery
//                            failed, the radio gave up a device that refused notifications,
//                            or a Disconnect completed
//   <name>_dataavailable::   service id, Map of every characteristic id of the service to its
//                            bytes (an empty array for a characteristic without a value)
// Misuse raises RuntimeError with the runtime's messages. Works over a BleBackend that the
// runtime's BleHost opens (the simulated radio by default). Owned by std::shared_ptr.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ble/BleBackend.h"
#include "platform/core/ByteArray.h"
#include "platform/core/Module.h"
#include "platform/core/Object.h"
#include "platform/core/RuntimeObject.h"
#include "platform/core/String.h"

namespace tmr {

class BleManager : public RuntimeObject, public BleBackend::Listener {
 public:
  static constexpr int STATE_UNKNOWN = BleBackend::kStateUnknown;
  static constexpr int STATE_RESETTING = BleBackend::kStateResetting;
  static constexpr int STATE_UNSUPPORTED = BleBackend::kStateUnsupported;
  static constexpr int STATE_UNAUTHORIZED = BleBackend::kStateUnauthorized;
  static constexpr int STATE_POWERED_OFF = BleBackend::kStatePoweredOff;
  static constexpr int STATE_POWERED_ON = BleBackend::kStatePoweredOn;

  // Keys of the advertising data map.
  static constexpr std::string_view kAdvertisedName = "LocalName";             // text, when advertised
  static constexpr std::string_view kAdvertisedServices = "ServiceUUIDs";      // List of texts
  static constexpr std::string_view kAdvertisedConnectable = "IsConnectable";  // Boolean

  BleManager() = default;
  BleManager(const BleManager&) = delete;
  BleManager& operator=(const BleManager&) = delete;

  // Opens the central; events go to bi's module as eventName + "_" + event. A second call
  // starts afresh (the former connection is released without an event).
  void Initialize(std::shared_ptr<Dispatcher> bi, std::string_view eventName);
  bool IsInitialized() const { return backend_ != nullptr; }

  // Scans for devices advertising one of serviceIds (a List of texts), or for every device when
  // it is null. Without duplicates, each device is reported once per scan. Forgets the devices
  // of the former scan. An adapter that is not powered on finds nothing.
  void Scan2(const Object& serviceIds, bool allowDuplicates);
  void StopScan();
  // Connects to a device reported by the last scan, with no time-out of the manager's own (the
  // system radio gives up an attempt that nothing ends within a minute), after releasing the
  // former one. An id the last scan did not report fails: "_disconnected" follows.
  void Connect(const String& id);
  // Cancels the connection (or the pending connection) to the device last passed to Connect;
  // raises nothing itself, "_disconnected" follows once the link is down. Nothing to cancel:
  // does nothing.
  void Disconnect();
  // Discovers the service's characteristics and reads the readable ones; "_dataavailable::"
  // once all reads are in, then again for every later value or notification of the service.
  void ReadData(const String& serviceId);
  // Turns notifications of a characteristic on or off; ReadData must have discovered it.
  void SetNotify(const String& serviceId, const String& characteristicId, bool notify);
  // Writes the bytes, as they are at the call, as one write without response. Returns at once.
  void WriteData(const String& serviceId, const String& characteristicId, const ByteArray& data);

  std::string description() const override { return "(BleManager)"; }

 private:
  enum class LinkState { Connecting, Connected, Disconnecting };
  struct Characteristic {
    std::string id;
    unsigned properties = 0;
    std::vector<uint8_t> value;
  };
  struct ServiceData {
    bool discovered = false;
    std::vector<Characteristic> characteristics;
    std::set<std::string> pendingReads;
  };
  struct Link {
    std::string deviceId;
    LinkState state = LinkState::Connecting;
    bool viaBackend = true;  // false: an id the last scan did not report, failed by the manager
    uint64_t serial = 0;
    std::vector<std::string> services;
    std::map<std::string, ServiceData> data;
  };

  void onAdapterState(int state) override;
  void onAdvertisement(const BleBackend::Advertisement& ad) override;
  void onConnected(const std::string& deviceId, const std::vector<std::string>& serviceIds) override;
  void onDisconnected(const std::string& deviceId) override;
  void onCharacteristics(const std::string& deviceId, const std::string& serviceId,
                         const std::vector<BleBackend::Characteristic>& characteristics) override;
  void onValue(const std::string& deviceId, const std::string& serviceId, const std::string& characteristicId,
               const std::vector<uint8_t>& value) override;

  void requireInitialized() const;
  // The connected link, or "No device connected".
  Link& requireConnected();
  // The data of one of the connected device's services, or "Service not found".
  ServiceData& requireService(Link& link, const std::string& serviceId);
  // A characteristic of a discovered service, or the errors for an undiscovered service and an
  // unknown characteristic.
  const Characteristic& requireCharacteristic(const ServiceData& service, const String& characteristicId);
  // The service's data while connected to deviceId, or null.
  ServiceData* connectedService(const std::string& deviceId, const std::string& serviceId);
  void raiseDataAvailable(const std::string& serviceId, const ServiceData& service);
  void raise(std::string_view event, std::vector<Object> args);

  std::shared_ptr<Dispatcher> bi_;
  std::string eventName_;
  std::shared_ptr<BleBackend> backend_;
  std::set<std::string> seen_;  // the device ids the last scan reported
  std::optional<Link> link_;
  uint64_t nextSerial_ = 0;
};

}  // namespace tmr
