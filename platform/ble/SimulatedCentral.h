#pragma once
// The simulated radio as one central sees it: the BleBackend that SimulatedRadio::openCentral
// gives a BleManager. It keeps this central's scan (which devices it has reported, the
// advertisement timers) and, per device, an epoch that every connect and cancel moves on, so
// that answers belonging to an earlier connection never reach the listener.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ble/BleBackend.h"
#include "platform/core/MainLoop.h"

namespace tmr {

class SimulatedRadio;
class SimulatedDevice;

class SimulatedCentral : public BleBackend, public std::enable_shared_from_this<SimulatedCentral> {
 public:
  SimulatedCentral(std::weak_ptr<SimulatedRadio> radio, std::weak_ptr<Listener> listener);
  ~SimulatedCentral() override;
  SimulatedCentral(const SimulatedCentral&) = delete;
  SimulatedCentral& operator=(const SimulatedCentral&) = delete;

  int adapterState() const override;
  void startScan(const std::optional<std::vector<std::string>>& serviceFilter, bool allowDuplicates) override;
  void stopScan() override;
  void connect(const std::string& deviceId) override;
  void cancelConnection(const std::string& deviceId) override;
  void discoverCharacteristics(const std::string& deviceId, const std::string& serviceId) override;
  void read(const std::string& deviceId, const std::string& serviceId, const std::string& characteristicId) override;
  void writeWithoutResponse(const std::string& deviceId, const std::string& serviceId,
                            const std::string& characteristicId, std::vector<uint8_t> bytes) override;
  void setNotify(const std::string& deviceId, const std::string& serviceId, const std::string& characteristicId,
                 bool enabled) override;

  bool isScanning() const { return scanning_; }

 private:
  friend class SimulatedRadio;

  std::shared_ptr<Listener> listener() const { return listener_.lock(); }
  uint64_t epoch(const std::string& deviceId) const;
  void advanceEpoch(const std::string& deviceId) { ++epochs_[deviceId]; }
  // Starts the advertisement timer of a device for this scan; the first one is seen after delayMs.
  void watchAdvertisements(const std::shared_ptr<SimulatedDevice>& device, int64_t delayMs);
  void advertisementDue(const std::shared_ptr<SimulatedDevice>& device);
  // The device whose link belongs to this central, or null.
  std::shared_ptr<SimulatedDevice> linkedDevice(const std::string& deviceId) const;

  std::weak_ptr<SimulatedRadio> radio_;
  std::weak_ptr<Listener> listener_;
  std::map<std::string, uint64_t> epochs_;
  bool scanning_ = false;
  bool allowDuplicates_ = false;
  std::optional<std::vector<std::string>> serviceFilter_;
  std::set<std::string> reported_;
  std::map<std::string, MainLoop::TimerId> advertisementTimers_;
};

}  // namespace tmr
