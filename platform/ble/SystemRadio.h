#pragma once
// The real radio: the Linux Bluetooth service ("org.bluez") on the system bus, through sdbus-c++.
// One backend per central, with a bus connection of its own and a thread that alone uses it:
// it sends the calls the main loop hands it and decodes what arrives, posting that to the main
// loop, where everything else runs (the listener's calls included). Calls to the service are
// asynchronous, so the loop never waits for a device.
//
// How the service's API maps onto the backend (docs/ble-radios.md tells it in full):
//   adapter state   the first object with Adapter1: none → unsupported, Powered → on or off;
//                   access refused → unauthorized; a failed read is logged once, with advice
//   scan            SetDiscoveryFilter (LE) and StartDiscovery; a device is reported when the
//                   service hears it during this scan (RSSI or advertising data arrives), never
//                   from the objects it remembers; its id is its Bluetooth address. A scan that
//                   cannot start says why in the log; after a refusal it reads the adapter again
//   connect         Device1.Connect, then connected once ServicesResolved, with the device's
//                   GattService1 objects as its services; Connected false (before or after
//                   that), or neither within Timeouts::attempt: disconnected. An attempt given
//                   up is Disconnected
//   data            GattCharacteristic1 ReadValue, WriteValue, StartNotify/StopNotify; Value
//                   changes of a characteristic with notifications on are its notifications; a
//                   refused StartNotify gives the device up
// UUIDs from the service are compared whatever their case. Start-up (the bus, the first read)
// is bounded in time.
// A backend that is destroyed stops its bus thread first, and answers still queued on the loop
// find it gone: nothing reaches the listener after that.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/ble/BleBackend.h"
#include "platform/ble/BusObjectTree.h"
#include "platform/core/MainLoop.h"

namespace sdbus {
class IConnection;
class IProxy;
class Error;
}  // namespace sdbus

namespace tmr {

class SystemRadio : public BleBackend, public std::enable_shared_from_this<SystemRadio> {
 public:
  using Log = std::function<void(std::string_view)>;

  // How long the radio waits for the bus and the service.
  struct Timeouts {
    // Reaching the system bus, and each read of the service's objects: a frozen bus or service
    // is told in seconds.
    std::chrono::milliseconds startUp{5000};
    // The Connect call; none: as long as the device takes (the service ends an attempt that
    // cannot succeed itself), within the attempt's bound below.
    std::optional<std::chrono::milliseconds> connect;
    // A connection attempt that has neither resolved the device's services nor failed by then
    // is given up as a failed one: a service that never answers, or a device whose services
    // never resolve, would otherwise keep it going for good. Far past what a working stack
    // takes (the link attempt, and the 30 s transaction time-out, end a hopeless attempt from
    // the service's side), so a slow device still connects. Counted on the main loop's clock.
    std::chrono::milliseconds attempt{60000};
  };

  // Why the system radio cannot be used (no system bus, or none answering within bound, the
  // Bluetooth service neither running nor startable, access refused), in one line; nothing
  // when it can.
  static std::optional<std::string> Unavailable(std::chrono::milliseconds bound);

  // Connects to the system bus and starts following the service; the adapter's state is
  // reported once the service has answered. Failures later on (a write the device refused, a
  // failed connection) are told through log.
  static std::shared_ptr<SystemRadio> Open(MainLoop& loop, std::weak_ptr<Listener> listener, Log log,
                                           Timeouts timeouts);
  ~SystemRadio() override;
  // Ends the connection to the bus (and, with it, this central's scan and link) for good; what
  // is still on its way is dropped. The runtime's end does this for every backend it opened,
  // whoever may still hold one.
  void close();
  SystemRadio(const SystemRadio&) = delete;
  SystemRadio& operator=(const SystemRadio&) = delete;

  int adapterState() const override { return state_; }
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

 private:
  struct Token {};  // only Open makes one

 public:
  SystemRadio(Token, MainLoop& loop, std::weak_ptr<Listener> listener, Log log, Timeouts timeouts);

 private:
  // The one device this central connects to.
  struct Link {
    std::string deviceId;
    std::string path;
    uint64_t epoch = 0;     // answers of an earlier connect or cancel carry another
    bool replied = false;   // Connect has answered with success
    bool up = false;        // Connected has been seen true during this attempt
    bool reported = false;  // onConnected was given
    bool cancelled = false;
  };

  void start();
  // Subscribes to the service's signals and its owner's changes; raises when the bus refuses.
  void subscribe();
  // The bus thread: processes what arrives and waits on the bus and the wake-up descriptor.
  void runBus();
  // Makes the bus thread look at its work and at what it waits for.
  void wake();
  // Runs work on the bus thread. Every use of the connection after start-up happens there: the
  // library's async calls are not safe against a reply processed on another thread meanwhile.
  void onBus(std::function<void()> work);
  // On the bus thread: asks the service for every object it exports.
  void getManagedObjects();
  // On the bus thread: a failed call is logged on the main loop.
  void reportFailure(const std::string& what, const sdbus::Error* error);
  // On the main loop, once the bus thread has stopped on a lost connection.
  void busLost(const std::string& why);
  // From the bus thread: runs fn on the main loop if this backend still lives then.
  void deliver(std::function<void(SystemRadio&)> fn);
  // On the main loop: runs fn on a later turn if this backend still lives then.
  void later(std::function<void(SystemRadio&)> fn);
  std::shared_ptr<Listener> listener() const { return listener_.lock(); }
  sdbus::IProxy& proxy(const std::string& path);
  void refresh();

  // What a call failed with, carried from the bus thread.
  struct Failure {
    std::string name;     // "org.bluez.Error.Failed"
    std::string message;  // the service's words
  };
  void objectsArrived(std::optional<Failure> failure, BusObjectTree::Objects objects);
  // Logs why the objects could not be read, in words a user can act on; once for each reason.
  void tellReadFailure(const Failure& failure);
  void interfacesAdded(const std::string& path, BusObjectTree::Interfaces interfaces);
  void interfacesRemoved(const std::string& path, const std::vector<std::string>& interfaces);
  void propertiesChanged(const std::string& path, const std::string& interface, const BusObjectTree::Properties& changed,
                         const std::vector<std::string>& invalidated);
  void serviceOwnerChanged(bool present);
  void updateAdapterState();
  // Sets the discovery filter and, unless this central already holds one, starts discovery.
  void beginDiscovery();
  void deviceHeard(const std::string& path, bool nameChanged);
  void checkLink();
  void connectAnswered(uint64_t epoch, std::optional<Failure> failure);
  // The attempt of that epoch reached its bound.
  void attemptOverdue(uint64_t epoch);
  // Cancels the bound of the attempt under way, if one is set.
  void stopAttemptBound();
  void endLink();
  void refusedIfAccessError(const std::string& errorName);
  // Why a scan can find nothing now, in words for the log.
  std::string silence() const;
  // Sends a call whose answer only matters when it fails: the failure is logged as `what`
  // (not at all when it is empty).
  void send(const std::string& path, const std::string& interface, const std::string& method, std::string what);

  // The device object with this address on the adapter, or "".
  std::string devicePath(const std::string& deviceId) const;
  // The characteristic objects of the connected device's service, in handle order.
  std::vector<std::string> characteristicPaths(const std::string& deviceId, const std::string& serviceId) const;
  // The characteristic's object on the connected device, or "".
  std::string characteristicPath(const std::string& deviceId, const std::string& serviceId,
                                 const std::string& characteristicId) const;
  std::string advertisedName(const std::string& path) const;
  bool linkedTo(const std::string& deviceId) const { return link_ && link_->reported && link_->deviceId == deviceId; }
  // Tells the failure through the log: what failed, the service's error name and message.
  void failed(const std::string& what, const Failure& failure);

  MainLoop& loop_;
  std::weak_ptr<Listener> listener_;
  Log log_;
  Timeouts timeouts_;
  std::weak_ptr<SystemRadio> self_;
  std::unique_ptr<sdbus::IConnection> bus_;
  std::vector<std::unique_ptr<void, std::function<void(void*)>>> matches_;  // sdbus::Slot
  std::map<std::string, std::unique_ptr<sdbus::IProxy>> proxies_;
  int wakeFd_ = -1;
  std::mutex busWorkMutex_;
  std::vector<std::function<void()>> busWork_;
  std::atomic<bool> stopping_ = false;
  std::thread busThread_;

  BusObjectTree objects_;
  bool known_ = false;           // the service's objects have been read, or failed to be
  bool readFailed_ = false;      // the last read of the objects failed
  std::string readFailureTold_;  // the error of the failed reads the log was told of
  bool accessRefused_ = false;
  bool busGone_ = false;  // the bus could not be reached, or was lost
  std::string adapterPath_;
  int state_ = kStateUnknown;
  bool stateReported_ = false;

  bool scanning_ = false;
  bool discovering_ = false;  // this central holds a discovery session of the adapter
  bool allowDuplicates_ = false;
  std::optional<std::vector<std::string>> serviceFilter_;  // in the service's UUID form
  std::map<std::string, std::string> reported_;             // device path → name reported in this scan

  std::optional<Link> link_;
  uint64_t epoch_ = 0;
  MainLoop::TimerId attemptTimer_ = 0;  // bounds the attempt under way; 0: none
  std::set<std::string> notifying_;  // characteristic paths with notifications asked for
};

}  // namespace tmr
