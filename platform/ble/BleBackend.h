#pragma once
// The radio as one Bluetooth LE central sees it: the interface BleManager works over. Every
// call returns at once; what the radio answers comes back to the listener later, on the main
// loop, in the order the radio produced it. The built-in backend is the simulated radio; a real
// radio can be put behind the same interface.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tmr {

class BleBackend {
 public:
  // Adapter states.
  enum AdapterState : int {
    kStateUnknown = 0,
    kStateResetting = 1,
    kStateUnsupported = 2,
    kStateUnauthorized = 3,
    kStatePoweredOff = 4,
    kStatePoweredOn = 5,
  };

  // Characteristic properties, with the values the protocol gives them.
  enum Property : unsigned {
    kRead = 0x02,
    kWriteWithoutResponse = 0x04,
    kWrite = 0x08,
    kNotify = 0x10,
  };

  struct Advertisement {
    std::string deviceId;
    std::string name;  // "" when the device advertises no name
    std::vector<std::string> serviceIds;
    double rssi = 0;
  };

  struct Characteristic {
    std::string id;  // upper-case UUID text
    unsigned properties = 0;
  };

  // What the radio reports. Ids are upper-case UUID texts ("1800", "6E400001-…").
  class Listener {
   public:
    virtual ~Listener() = default;
    // The adapter's state (AdapterState): once after the backend is opened, then on
    // every change.
    virtual void onAdapterState(int state) = 0;
    // One advertisement seen while scanning (duplicates already suppressed when asked).
    virtual void onAdvertisement(const Advertisement& ad) = 0;
    // The device is connected and its services are discovered, in the device's order.
    virtual void onConnected(const std::string& deviceId, const std::vector<std::string>& serviceIds) = 0;
    // The link to the device is gone: it dropped, the attempt failed, service discovery
    // failed, the adapter went off, the radio gave up a device that refused notifications, or
    // a cancel requested by this central completed.
    virtual void onDisconnected(const std::string& deviceId) = 0;
    // The characteristics of one service, in the device's order.
    virtual void onCharacteristics(const std::string& deviceId, const std::string& serviceId,
                                   const std::vector<Characteristic>& characteristics) = 0;
    // A characteristic's value: the answer to a read, or a notification.
    virtual void onValue(const std::string& deviceId, const std::string& serviceId, const std::string& characteristicId,
                         const std::vector<uint8_t>& value) = 0;
  };

  virtual ~BleBackend() = default;

  virtual int adapterState() const = 0;
  // No filter: every advertising device. Otherwise only devices advertising one of the services.
  virtual void startScan(const std::optional<std::vector<std::string>>& serviceFilter, bool allowDuplicates) = 0;
  virtual void stopScan() = 0;
  virtual void connect(const std::string& deviceId) = 0;
  // Cancels the connection or the pending connection; onDisconnected follows once it is down.
  virtual void cancelConnection(const std::string& deviceId) = 0;
  virtual void discoverCharacteristics(const std::string& deviceId, const std::string& serviceId) = 0;
  virtual void read(const std::string& deviceId, const std::string& serviceId, const std::string& characteristicId) = 0;
  virtual void writeWithoutResponse(const std::string& deviceId, const std::string& serviceId,
                                    const std::string& characteristicId, std::vector<uint8_t> bytes) = 0;
  virtual void setNotify(const std::string& deviceId, const std::string& serviceId, const std::string& characteristicId,
                         bool enabled) = 0;
};

}  // namespace tmr
