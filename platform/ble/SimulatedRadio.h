#pragma once
// The built-in Bluetooth LE backend: a simulated radio with simulated Tivomarsh devices, on the
// main loop's clock (virtual in tests and scenarios, so every run is the same). A runtime
// service: rt.service<SimulatedRadio>() gives the radio that the runtime's managers use unless
// BleHost was given another backend. Tests and scenarios add devices, switch the adapter's
// state and steer each device (drop, fail, notify) through it. docs/ble-simulation.md tells
// the timings and the rules.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ble/BleBackend.h"

namespace tmr {

class Runtime;
class MainLoop;
class SimulatedCentral;
class SimulatedDevice;

class SimulatedRadio : public std::enable_shared_from_this<SimulatedRadio> {
 public:
  // Latencies in ms of the loop clock. Messages on a link keep their order because every
  // message in one direction takes the same time.
  struct Timings {
    int64_t firstAdvertisementMs = 20;    // scan start to the first device's first advertisement
    int64_t advertisementSpacingMs = 10;  // the next device's first advertisement, in the order added
    int64_t advertisingIntervalMs = 100;  // a device advertises again after this
    int64_t connectMs = 20;               // connect to connected with services discovered, or failed
    int64_t linkMs = 5;                   // one message over a link, either way
  };
  // A write that reached a device, in the order writes reached devices.
  struct ReceivedWrite {
    std::string deviceId;
    std::string serviceId;
    std::string characteristicId;
    std::vector<uint8_t> bytes;
  };

  explicit SimulatedRadio(Runtime& rt);
  ~SimulatedRadio();
  SimulatedRadio(const SimulatedRadio&) = delete;
  SimulatedRadio& operator=(const SimulatedRadio&) = delete;

  // A new device with the default GATT table (Generic Access, UART, Device Information),
  // advertising at once. Ids are unique: a second device with the same id is an error.
  std::shared_ptr<SimulatedDevice> addDevice(std::string name, std::string id);
  std::shared_ptr<SimulatedDevice> device(std::string_view id) const;  // null when absent
  const std::vector<std::shared_ptr<SimulatedDevice>>& devices() const { return devices_; }

  // AdapterState values (BleManager::STATE_*). Each change is reported to every central on the next turn;
  // leaving the powered-on state ends every scan and every connection (reported after it).
  int adapterState() const { return state_; }
  void setAdapterState(int state);

  Timings& timings() { return timings_; }
  const Timings& timings() const { return timings_; }

  // The writes that reached any device since the last call, in order: the last kKeptWrites of
  // them, so that a radio nobody takes them from (the window's) holds no more. lostWrites()
  // counts those dropped since the last call, for a check that must see every write.
  static constexpr size_t kKeptWrites = 256;
  std::vector<ReceivedWrite> takeWrites() {
    lostWrites_ = 0;
    return std::exchange(writes_, {});
  }
  size_t lostWrites() const { return lostWrites_; }

  // A backend for one central; it reports the adapter's state on the next turn.
  std::shared_ptr<BleBackend> openCentral(std::weak_ptr<BleBackend::Listener> listener);

 private:
  friend class SimulatedCentral;
  friend class SimulatedDevice;
  using Report = std::function<void(BleBackend::Listener&)>;

  MainLoop& loop() const;
  // Runs fn on the device after one link latency, if its link is still the one it is now.
  void toDevice(const std::shared_ptr<SimulatedDevice>& device, std::function<void(SimulatedDevice&)> fn);
  // Reports to the central of the device's link after delayMs, if the link is still the one
  // it is now.
  void toCentral(const std::shared_ptr<SimulatedDevice>& device, int64_t delayMs, Report fn);
  // Reports to a central after delayMs unless it connected or cancelled that device since.
  void report(const std::shared_ptr<SimulatedCentral>& central, const std::string& deviceId, int64_t delayMs,
              Report fn);
  void connect(const std::shared_ptr<SimulatedCentral>& central, const std::string& deviceId);
  void cancel(const std::shared_ptr<SimulatedCentral>& central, const std::string& deviceId);
  void startConnecting(const std::shared_ptr<SimulatedDevice>& device);
  void connectionDue(const std::shared_ptr<SimulatedDevice>& device);
  void advertisingResumed(const std::shared_ptr<SimulatedDevice>& device);
  // Ends the device's link and tells its central after delayMs.
  void endLink(const std::shared_ptr<SimulatedDevice>& device, int64_t delayMs);
  void recordWrite(ReceivedWrite write);
  std::vector<std::shared_ptr<SimulatedCentral>> liveCentrals();
  // Frees the links of centrals that are gone.
  void releaseOrphanLinks();

  Runtime& rt_;
  int state_;
  Timings timings_;
  std::vector<std::shared_ptr<SimulatedDevice>> devices_;
  std::vector<std::weak_ptr<SimulatedCentral>> centrals_;
  std::vector<ReceivedWrite> writes_;
  size_t lostWrites_ = 0;
};

}  // namespace tmr
