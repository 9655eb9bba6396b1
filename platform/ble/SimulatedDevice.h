#pragma once
// One simulated Bluetooth LE peripheral on the simulated radio: what it advertises, its GATT
// table, its link to a central and the faults a test or a scenario can make it show. Its
// firmware (TivomarshFirmware) answers the commands written to the UART receive characteristic
// and notifies the status on the transmit characteristic, once the central has enabled that.
// Made by SimulatedRadio::addDevice; everything runs on the main loop.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ble/TivomarshFirmware.h"

namespace tmr {

class SimulatedRadio;
class SimulatedCentral;

class SimulatedDevice : public std::enable_shared_from_this<SimulatedDevice> {
 public:
  // The services of the device, as it lists them.
  static constexpr std::string_view kGenericAccessService = "1800";
  static constexpr std::string_view kDeviceNameCharacteristic = "2A00";
  static constexpr std::string_view kAppearanceCharacteristic = "2A01";
  static constexpr std::string_view kUartService = "6E400001-B5A3-F393-E0A9-E50E24DCCA9E";
  static constexpr std::string_view kUartReceiveCharacteristic = "6E400002-B5A3-F393-E0A9-E50E24DCCA9E";
  static constexpr std::string_view kUartTransmitCharacteristic = "6E400003-B5A3-F393-E0A9-E50E24DCCA9E";
  static constexpr std::string_view kDeviceInformationService = "180A";
  static constexpr std::string_view kManufacturerNameCharacteristic = "2A29";
  static constexpr std::string_view kModelNumberCharacteristic = "2A24";
  static constexpr std::string_view kFirmwareRevisionCharacteristic = "2A26";

  struct Characteristic {
    std::string id;
    unsigned properties = 0;  // BleBackend::Property flags
    std::vector<uint8_t> value;
  };
  struct Service {
    std::string id;
    std::vector<Characteristic> characteristics;
    int64_t extraDelayMs = 0;  // added to each discovery and read answer of this service
  };
  // A write that reached the device, as it arrived.
  struct Write {
    std::string serviceId;
    std::string characteristicId;
    std::vector<uint8_t> bytes;
  };

  SimulatedDevice(std::weak_ptr<SimulatedRadio> radio, std::string name, std::string id);

  const std::string& name() const { return name_; }
  const std::string& id() const { return id_; }
  double rssi() const { return rssi_; }
  void setRssi(double rssi) { rssi_ = rssi; }

  // Advertising switched on (the default) means the device is in range and advertises while no
  // central is connected to it. Off: scans do not see it, and a connection to it stays pending
  // until it is switched on again (connections have no time-out).
  bool advertisingEnabled() const { return advertisingEnabled_; }
  void setAdvertising(bool enabled);
  bool isAdvertising() const;  // enabled and not connected
  const std::vector<std::string>& advertisedServices() const { return advertisedServices_; }

  TivomarshFirmware& firmware() { return firmware_; }
  const TivomarshFirmware& firmware() const { return firmware_; }

  const std::vector<Service>& services() const { return services_; }
  // A device without that service (e.g. one without the UART service). Before connecting.
  void removeService(std::string_view serviceId);
  // A device whose service lacks that characteristic (e.g. a UART service without TX). Before
  // connecting.
  void removeCharacteristic(std::string_view serviceId, std::string_view characteristicId);
  // A slow service: its discovery and read answers take extraMs longer.
  void setServiceDelay(std::string_view serviceId, int64_t extraMs);

  // The writes that reached a writable characteristic, in order of arrival: the last
  // kKeptWrites of them, so that a device that runs for long holds no more.
  static constexpr size_t kKeptWrites = 64;
  const std::vector<Write>& received() const { return received_; }
  void clearReceived() { received_.clear(); }

  bool isConnected() const { return link_.state == LinkState::Connected; }
  // Whether the connected central enabled notifications of that characteristic.
  bool isNotifying(std::string_view characteristicId) const;

  // Faults. The next connection attempt fails (the central hears of it as a disconnection);
  // the next service discovery fails the same way.
  void failNextConnection() { failNextConnection_ = true; }
  void failNextServiceDiscovery() { failNextDiscovery_ = true; }
  // Drops the connection; the central hears of it one link latency later. False when not connected.
  bool drop();
  // Sends bytes as a notification of the UART transmit characteristic. False (and nothing is
  // sent) when not connected or when the central has not enabled notifications of it.
  bool notify(std::span<const uint8_t> bytes);

 private:
  friend class SimulatedRadio;
  friend class SimulatedCentral;

  enum class LinkState { None, Pending, Connecting, Connected };
  struct Link {
    std::weak_ptr<SimulatedCentral> central;
    LinkState state = LinkState::None;
    uint64_t generation = 0;  // changes whenever the link changes; stale messages are dropped
    std::set<std::string> notifying;
  };

  Service* findService(std::string_view serviceId);
  Characteristic* findCharacteristic(std::string_view serviceId, std::string_view characteristicId);
  // Sends a notification of characteristicId if the central enabled it.
  bool sendNotification(std::string_view serviceId, std::string_view characteristicId, std::span<const uint8_t> bytes);
  // Ends the link at once (the central is told separately).
  void endLink();
  // Adds a write to received(), dropping the oldest beyond kKeptWrites.
  void recordReceived(Write write);

  std::weak_ptr<SimulatedRadio> radio_;
  std::string name_;
  std::string id_;
  double rssi_ = -60;
  bool advertisingEnabled_ = true;
  std::vector<std::string> advertisedServices_{std::string(kUartService)};
  std::vector<Service> services_;
  TivomarshFirmware firmware_;
  std::vector<Write> received_;
  bool failNextConnection_ = false;
  bool failNextDiscovery_ = false;
  Link link_;
};

}  // namespace tmr
