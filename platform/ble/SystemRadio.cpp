#include "platform/ble/SystemRadio.h"

#include <poll.h>
#include <sdbus-c++/sdbus-c++.h>
#include <sys/eventfd.h>
#include <systemd/sd-bus.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include "platform/ble/BleUuid.h"
#include "platform/core/MainLoop.h"

namespace tmr {

namespace {

constexpr const char* kService = "org.bluez";
constexpr const char* kAdapter = "org.bluez.Adapter1";
constexpr const char* kDevice = "org.bluez.Device1";
constexpr const char* kGattService = "org.bluez.GattService1";
constexpr const char* kGattCharacteristic = "org.bluez.GattCharacteristic1";
constexpr const char* kObjectManager = "org.freedesktop.DBus.ObjectManager";

using VariantMap = std::map<std::string, sdbus::Variant>;
using ManagedObjects = std::map<sdbus::ObjectPath, std::map<std::string, VariantMap>>;

// Decoded on the bus thread: a Variant shares its message, whose reference count is not
// thread-safe, so none crosses to the main loop.
BusObjectTree::Value Decode(const sdbus::Variant& v) {
  const std::string type = v.peekValueType();
  if (type == "b") return v.get<bool>();
  if (type == "n") return static_cast<int64_t>(v.get<int16_t>());
  if (type == "q") return static_cast<int64_t>(v.get<uint16_t>());
  if (type == "i") return static_cast<int64_t>(v.get<int32_t>());
  if (type == "u") return static_cast<int64_t>(v.get<uint32_t>());
  if (type == "s") return v.get<std::string>();
  if (type == "o") return std::string(v.get<sdbus::ObjectPath>());
  if (type == "as") return v.get<std::vector<std::string>>();
  if (type == "ay") return v.get<std::vector<uint8_t>>();
  return true;  // present; its value is not read
}

BusObjectTree::Properties Decode(const VariantMap& properties) {
  BusObjectTree::Properties out;
  for (const auto& [name, value] : properties) out.emplace(name, Decode(value));
  return out;
}

BusObjectTree::Interfaces Decode(const std::map<std::string, VariantMap>& interfaces) {
  BusObjectTree::Interfaces out;
  for (const auto& [name, properties] : interfaces) out.emplace(name, Decode(properties));
  return out;
}

bool IsAccessError(const std::string& name) {
  return name == "org.freedesktop.DBus.Error.AccessDenied" || name == "org.bluez.Error.NotPermitted" ||
         name == "org.bluez.Error.NotAuthorized";
}

// No answer in time: from sd-bus itself (the call's time-out) or from the bus daemon.
bool IsTimeout(const std::string& name) {
  return name == "org.freedesktop.DBus.Error.NoReply" || name == "org.freedesktop.DBus.Error.Timeout";
}

std::string Seconds(std::chrono::milliseconds ms) {
  std::ostringstream s;
  s << static_cast<double>(ms.count()) / 1000 << " s";
  return s.str();
}

// Opens the system bus and waits at most `bound` for the handshake, which sd-bus (and so a
// connection of sdbus-c++) would wait for up to 90 s on a bus that takes the connection and
// answers nothing. Why the bus cannot be reached, or nothing.
std::optional<std::string> ProbeSystemBus(std::chrono::milliseconds bound) {
  sd_bus* raw = nullptr;
  int r = sd_bus_open_system(&raw);
  if (r < 0) return std::strerror(-r);
  // Closed without flushing: nothing of this probe needs to reach the bus.
  std::unique_ptr<sd_bus, sd_bus* (*)(sd_bus*)> bus(raw, sd_bus_close_unref);
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while ((r = sd_bus_is_ready(bus.get())) == 0) {
    const auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return "it did not answer within " + Seconds(bound);
    r = sd_bus_process(bus.get(), nullptr);
    if (r < 0) break;
    if (r > 0) continue;
    r = sd_bus_wait(bus.get(), static_cast<uint64_t>(left.count()));
    if (r < 0) break;
  }
  if (r < 0) return std::strerror(-r);
  return std::nullopt;
}

// Builds and sends one asynchronous call: send(reply) makes it and hands it reply. A call that
// cannot be made (a value the bus cannot carry, say) is answered at once as failed with the
// library's error, as a refusal would be, so every call gets its answer and the bus stays in
// use.
template <class Send, class Reply>
void Call(Send&& send, Reply&& reply) {
  try {
    send(reply);
  } catch (const sdbus::Error& e) {
    sdbus::tuple_of_function_input_arg_types_t<std::decay_t<Reply>> none;
    sdbus::apply(reply, &e, none);
  }
}

unsigned PropertiesOf(const std::vector<std::string>& flags) {
  unsigned p = 0;
  for (const auto& f : flags) {
    if (f == "read") p |= BleBackend::kRead;
    if (f == "write") p |= BleBackend::kWrite;
    if (f == "write-without-response") p |= BleBackend::kWriteWithoutResponse;
    if (f == "notify" || f == "indicate") p |= BleBackend::kNotify;
  }
  return p;
}

// The Alias falls back to the address when the device gave no name: that is no name.
bool IsAddressText(const std::string& alias, const std::string& address) {
  std::string dashed = address;
  std::ranges::replace(dashed, ':', '-');
  return alias == address || alias == dashed;
}

}  // namespace

std::optional<std::string> SystemRadio::Unavailable(std::chrono::milliseconds bound) {
  if (auto why = ProbeSystemBus(bound)) return "cannot reach the system bus (" + *why + "): the system radio needs it";
  std::unique_ptr<sdbus::IConnection> bus;
  try {
    bus = sdbus::createSystemBusConnection();
  } catch (const sdbus::Error& e) {
    return "cannot reach the system bus (" + e.getMessage() + "): the system radio needs it";
  }
  try {
    auto daemon = sdbus::createProxy(*bus, "org.freedesktop.DBus", "/org/freedesktop/DBus");
    bool running = false;
    daemon->callMethod("NameHasOwner")
        .onInterface("org.freedesktop.DBus")
        .withTimeout(bound)
        .withArguments(std::string(kService))
        .storeResultsTo(running);
    if (running) return std::nullopt;
    // Not running yet, but the bus starts it on the first call.
    std::vector<std::string> startable;
    daemon->callMethod("ListActivatableNames")
        .onInterface("org.freedesktop.DBus")
        .withTimeout(bound)
        .storeResultsTo(startable);
    if (std::ranges::find(startable, kService) != startable.end()) return std::nullopt;
    return std::string("the Bluetooth service (") + kService + ") is not running on the system bus";
  } catch (const sdbus::Error& e) {
    return "the system bus refused to tell about the Bluetooth service (" + e.getName() + ": " + e.getMessage() + ")";
  }
}

std::shared_ptr<SystemRadio> SystemRadio::Open(MainLoop& loop, std::weak_ptr<Listener> listener, Log log,
                                               Timeouts timeouts) {
  auto radio = std::make_shared<SystemRadio>(Token{}, loop, std::move(listener), std::move(log), timeouts);
  radio->start();
  return radio;
}

SystemRadio::SystemRadio(Token, MainLoop& loop, std::weak_ptr<Listener> listener, Log log, Timeouts timeouts)
    : loop_(loop), listener_(std::move(listener)), log_(std::move(log)), timeouts_(timeouts) {}

SystemRadio::~SystemRadio() { close(); }

void SystemRadio::close() {
  if (busThread_.joinable()) {
    // No callback may run once the members it reaches are going: stop the bus thread first.
    stopping_ = true;
    wake();
    busThread_.join();
  }
  stopAttemptBound();
  // A device left connected would stay connected to nobody; discovery ends with the connection.
  if (bus_ && link_ && !link_->cancelled && !link_->path.empty()) {
    try {
      auto call = proxy(link_->path).createMethodCall(kDevice, "Disconnect");
      call.dontExpectReply();
      proxy(link_->path).callMethod(call);
    } catch (const sdbus::Error&) {
      // The bus or the service is gone: nothing is connected through it.
    }
  }
  link_.reset();
  scanning_ = false;
  matches_.clear();
  proxies_.clear();
  bus_.reset();
  if (wakeFd_ >= 0) ::close(wakeFd_);
  wakeFd_ = -1;
}

void SystemRadio::wake() {
  if (wakeFd_ < 0) return;
  uint64_t one = 1;
  (void)!::write(wakeFd_, &one, sizeof one);
}

void SystemRadio::onBus(std::function<void()> work) {
  if (!bus_) return;
  {
    std::lock_guard lock(busWorkMutex_);
    busWork_.push_back(std::move(work));
  }
  wake();
}

void SystemRadio::runBus() {
  // The library's own loop thread would end the process on a lost connection; this one tells
  // the main loop instead and stops.
  try {
    while (!stopping_) {
      std::vector<std::function<void()>> work;
      {
        std::lock_guard lock(busWorkMutex_);
        work.swap(busWork_);
      }
      for (auto& w : work) w();
      while (bus_->processPendingRequest()) {
        if (stopping_) return;
      }
      auto data = bus_->getEventLoopPollData();
      pollfd fds[2] = {{data.fd, data.events, 0}, {wakeFd_, POLLIN, 0}};
      int timeoutMs = -1;
      if (data.timeout_usec != UINT64_MAX) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const uint64_t nowUs = static_cast<uint64_t>(now.tv_sec) * 1000000 + static_cast<uint64_t>(now.tv_nsec) / 1000;
        timeoutMs = data.timeout_usec <= nowUs ? 0 : static_cast<int>((data.timeout_usec - nowUs + 999) / 1000);
      }
      if (poll(fds, 2, timeoutMs) < 0 && errno != EINTR) throw std::runtime_error(std::strerror(errno));
      if (fds[1].revents & POLLIN) {
        uint64_t count;
        (void)!::read(wakeFd_, &count, sizeof count);
      }
    }
  } catch (const std::exception& e) {
    deliver([why = std::string(e.what())](SystemRadio& r) { r.busLost(why); });
  }
}

void SystemRadio::busLost(const std::string& why) {
  log_("Bluetooth: the connection to the system bus was lost: " + why);
  // Without the bus there is no adapter: every scan and connection ends.
  busGone_ = true;
  known_ = true;
  accessRefused_ = false;
  objects_.clear();
  updateAdapterState();
  if (link_) endLink();
}

void SystemRadio::deliver(std::function<void(SystemRadio&)> fn) {
  loop_.postFromAnyThread([weak = self_, fn = std::move(fn)] {
    if (auto self = weak.lock()) fn(*self);
  });
}

void SystemRadio::later(std::function<void(SystemRadio&)> fn) {
  loop_.post([weak = self_, fn = std::move(fn)] {
    if (auto self = weak.lock()) fn(*self);
  });
}

sdbus::IProxy& SystemRadio::proxy(const std::string& path) {
  auto& p = proxies_[path];
  if (!p) p = sdbus::createProxy(*bus_, kService, path);
  return *p;
}

void SystemRadio::start() {
  self_ = weak_from_this();
  std::optional<std::string> unreachable = ProbeSystemBus(timeouts_.startUp);
  if (!unreachable) {
    try {
      bus_ = sdbus::createSystemBusConnection();
      // The connection is made lazily: asking for its name makes it now, so a bus out of reach
      // fails here rather than in the bus thread.
      (void)bus_->getUniqueName();
      subscribe();
    } catch (const sdbus::Error& e) {
      matches_.clear();
      bus_.reset();
      unreachable = e.getMessage();
    }
  }
  if (unreachable) {
    log_("Bluetooth: cannot reach the system bus: " + *unreachable);
    busGone_ = true;
    later([](SystemRadio& r) { r.objectsArrived(std::nullopt, {}); });
    return;
  }
  wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  busThread_ = std::thread([this] { runBus(); });
  refresh();
}

void SystemRadio::subscribe() {
  // Subscribing waits for the bus's answers: within the start-up bound, like the first read.
  bus_->setMethodCallTimeout(timeouts_.startUp);
  // Subscribed before the objects are read, so no change falls between the two.
  matches_.push_back(bus_->addMatch(
      std::string("type='signal',sender='") + kService + "',path='/',interface='" + kObjectManager + "'",
      [this](sdbus::Message& msg) {
        try {
          sdbus::ObjectPath path;
          if (msg.getMemberName() == "InterfacesAdded") {
            std::map<std::string, VariantMap> interfaces;
            msg >> path >> interfaces;
            deliver([path = std::string(path), added = Decode(interfaces)](SystemRadio& r) mutable {
              r.interfacesAdded(path, std::move(added));
            });
          } else if (msg.getMemberName() == "InterfacesRemoved") {
            std::vector<std::string> interfaces;
            msg >> path >> interfaces;
            deliver([path = std::string(path), interfaces](SystemRadio& r) { r.interfacesRemoved(path, interfaces); });
          }
        } catch (const sdbus::Error&) {
          // A signal of another form than the standard one: not ours to read.
        }
      }));
  matches_.push_back(bus_->addMatch(
      std::string("type='signal',sender='") + kService +
          "',interface='org.freedesktop.DBus.Properties',member='PropertiesChanged',path_namespace='/org/bluez'",
      [this](sdbus::Message& msg) {
        try {
          std::string interface;
          VariantMap changed;
          std::vector<std::string> invalidated;
          msg >> interface >> changed >> invalidated;
          deliver([path = msg.getPath(), interface, changed = Decode(changed), invalidated](SystemRadio& r) {
            r.propertiesChanged(path, interface, changed, invalidated);
          });
        } catch (const sdbus::Error&) {
        }
      }));
  matches_.push_back(bus_->addMatch(
      std::string("type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',"
                  "member='NameOwnerChanged',arg0='") +
          kService + "'",
      [this](sdbus::Message& msg) {
        try {
          std::string name, oldOwner, newOwner;
          msg >> name >> oldOwner >> newOwner;
          deliver([present = !newOwner.empty()](SystemRadio& r) { r.serviceOwnerChanged(present); });
        } catch (const sdbus::Error&) {
        }
      }));
  bus_->setMethodCallTimeout(0);  // the bus's default again
}

void SystemRadio::refresh() {
  onBus([this] { getManagedObjects(); });
}

void SystemRadio::getManagedObjects() {
  Call(
      [&](auto& reply) {
        proxy("/")
            .callMethodAsync("GetManagedObjects")
            .onInterface(kObjectManager)
            .withTimeout(timeouts_.startUp)
            .uponReplyInvoke(reply);
      },
      [this](const sdbus::Error* error, const ManagedObjects& objects) {
        if (error) {
          deliver([f = Failure{error->getName(), error->getMessage()}](SystemRadio& r) { r.objectsArrived(f, {}); });
          return;
        }
        BusObjectTree::Objects decoded;
        for (const auto& [path, interfaces] : objects) decoded.emplace(std::string(path), Decode(interfaces));
        deliver([decoded = std::move(decoded)](SystemRadio& r) mutable { r.objectsArrived(std::nullopt, std::move(decoded)); });
      });
}

void SystemRadio::objectsArrived(std::optional<Failure> failure, BusObjectTree::Objects objects) {
  known_ = true;
  accessRefused_ = failure && IsAccessError(failure->name);
  readFailed_ = failure.has_value();
  if (failure) {
    tellReadFailure(*failure);
  } else {
    readFailureTold_.clear();
  }
  objects_.replace(std::move(objects));
  updateAdapterState();
  if (link_ && !objects_.has(link_->path, kDevice)) endLink();
}

void SystemRadio::tellReadFailure(const Failure& failure) {
  // Once for each reason: a scan reads the objects again, and may fail the same way.
  if (failure.name == readFailureTold_) return;
  readFailureTold_ = failure.name;
  const std::string error = " (" + failure.name + ": " + failure.message + ")";
  if (IsAccessError(failure.name)) {
    log_("Bluetooth: The Bluetooth service refuses this user: add the user to the bluetooth group, then log in "
         "again" + error);
  } else if (IsTimeout(failure.name)) {
    log_("Bluetooth: The Bluetooth service did not answer within " + Seconds(timeouts_.startUp) + error);
  } else {
    log_("Bluetooth: The Bluetooth service's objects could not be read" + error);
  }
}

void SystemRadio::serviceOwnerChanged(bool present) {
  if (present) {
    refresh();
    return;
  }
  // The service went away (stopped, restarted): with it every adapter and device.
  objects_.clear();
  updateAdapterState();
  if (link_) endLink();
}

void SystemRadio::interfacesAdded(const std::string& path, BusObjectTree::Interfaces interfaces) {
  const bool adapter = interfaces.contains(kAdapter);
  const bool device = interfaces.contains(kDevice);
  objects_.add(path, std::move(interfaces));
  if (adapter) updateAdapterState();
  // A device the service did not know yet has just been heard.
  if (device && objects_.get<int64_t>(path, kDevice, "RSSI")) deviceHeard(path, false);
  if (link_ && !link_->reported) checkLink();
}

void SystemRadio::interfacesRemoved(const std::string& path, const std::vector<std::string>& interfaces) {
  objects_.remove(path, interfaces);
  if (std::ranges::find(interfaces, kAdapter) != interfaces.end()) updateAdapterState();
  if (link_ && link_->path == path && !objects_.has(path, kDevice)) endLink();
}

void SystemRadio::propertiesChanged(const std::string& path, const std::string& interface,
                                    const BusObjectTree::Properties& changed,
                                    const std::vector<std::string>& invalidated) {
  if (!objects_.change(path, interface, changed, invalidated)) return;
  if (interface == kAdapter) {
    updateAdapterState();
  } else if (interface == kDevice) {
    const bool heard = changed.contains("RSSI") || changed.contains("ManufacturerData") ||
                       changed.contains("ServiceData");
    const bool named = changed.contains("Name") || changed.contains("Alias");
    if (heard || named) deviceHeard(path, named && !heard);
    if (link_ && link_->path == path) checkLink();
  } else if (interface == kGattCharacteristic) {
    const auto* value = objects_.get<std::vector<uint8_t>>(path, interface, "Value");
    if (!changed.contains("Value") || !value || !notifying_.contains(path) || !link_ || !link_->reported) return;
    const auto* service = objects_.get<std::string>(path, interface, "Service");
    const auto* serviceUuid = service ? objects_.get<std::string>(*service, kGattService, "UUID") : nullptr;
    const auto* uuid = objects_.get<std::string>(path, interface, "UUID");
    if (!serviceUuid || !uuid) return;
    if (auto l = listener()) l->onValue(link_->deviceId, BleUuid::fromBus(*serviceUuid), BleUuid::fromBus(*uuid), *value);
  }
}

void SystemRadio::updateAdapterState() {
  // Until the service has answered, a change it tells of says nothing about the whole state.
  if (!known_ && !accessRefused_) return;
  int state = kStateUnknown;
  if (accessRefused_) {
    state = kStateUnauthorized;
  } else if (known_) {
    auto adapters = objects_.withInterface(kAdapter);
    if (std::ranges::find(adapters, adapterPath_) == adapters.end())
      adapterPath_ = adapters.empty() ? "" : adapters.front();
    if (adapterPath_.empty()) {
      state = kStateUnsupported;
    } else {
      state = objects_.flag(adapterPath_, kAdapter, "Powered") ? kStatePoweredOn : kStatePoweredOff;
    }
  }
  const bool wasOn = state_ == kStatePoweredOn;
  const bool changed = !stateReported_ || state != state_;
  state_ = state;
  stateReported_ = true;
  if (changed) {
    if (auto l = listener()) l->onAdapterState(state);
  }
  if (state == kStatePoweredOn) {
    // A scan asked for before the state was known, or while the objects were read again.
    if (scanning_ && !wasOn) beginDiscovery();
  } else {
    // Leaving the powered-on state (or never reaching it) ends the scan and the connection.
    if (scanning_) log_("Bluetooth: No scan: " + silence());
    scanning_ = false;
    discovering_ = false;
    reported_.clear();
    if (wasOn && link_) endLink();
  }
}

std::string SystemRadio::advertisedName(const std::string& path) const {
  if (const auto* name = objects_.get<std::string>(path, kDevice, "Name")) return *name;
  const auto* alias = objects_.get<std::string>(path, kDevice, "Alias");
  const auto* address = objects_.get<std::string>(path, kDevice, "Address");
  if (alias && !(address && IsAddressText(*alias, *address))) return *alias;
  return "";
}

void SystemRadio::deviceHeard(const std::string& path, bool nameChanged) {
  if (!scanning_) return;
  const auto* adapter = objects_.get<std::string>(path, kDevice, "Adapter");
  const auto* address = objects_.get<std::string>(path, kDevice, "Address");
  if (!adapter || *adapter != adapterPath_ || !address) return;
  std::vector<std::string> services;
  if (const auto* uuids = objects_.get<std::vector<std::string>>(path, kDevice, "UUIDs")) services = *uuids;
  if (serviceFilter_ && !std::ranges::any_of(services, [&](const std::string& s) {
        return std::ranges::find(*serviceFilter_, BleUuid::toBus(s)) != serviceFilter_->end();
      }))
    return;
  const std::string name = advertisedName(path);
  auto seen = reported_.find(path);
  // A name alone is news only for a device already heard in this scan: the name often comes
  // in the scan response, after the advertisement that made the device known.
  if (nameChanged && seen == reported_.end()) return;
  if (!allowDuplicates_ && seen != reported_.end() && seen->second == name) return;
  reported_[path] = name;
  Advertisement ad;
  ad.deviceId = *address;
  ad.name = name;
  for (const auto& s : services) ad.serviceIds.push_back(BleUuid::fromBus(s));
  if (const auto* rssi = objects_.get<int64_t>(path, kDevice, "RSSI")) ad.rssi = static_cast<double>(*rssi);
  if (auto l = listener()) l->onAdvertisement(ad);
}

void SystemRadio::startScan(const std::optional<std::vector<std::string>>& serviceFilter, bool allowDuplicates) {
  reported_.clear();
  allowDuplicates_ = allowDuplicates;
  serviceFilter_.reset();
  if (serviceFilter) {
    serviceFilter_.emplace();
    for (const auto& id : *serviceFilter) serviceFilter_->push_back(BleUuid::toBus(id));
  }
  scanning_ = true;
  if (state_ == kStatePoweredOn) {
    beginDiscovery();
  } else if (!known_) {
    // The service has not answered yet: the scan starts once the adapter turns out to be on.
  } else if (!busGone_ && (state_ == kStateUnauthorized || readFailed_)) {
    // A refusal, or a read that failed, need not last: read the adapter again, and scan if it
    // is on now.
    refresh();
  } else {
    scanning_ = false;
    log_("Bluetooth: No scan: " + silence());
  }
}

std::string SystemRadio::silence() const {
  switch (state_) {
    case kStatePoweredOff:
      return "the Bluetooth adapter is powered off";
    case kStateUnauthorized:
      return "this user may not use Bluetooth: add the user to the bluetooth group, then log in again";
    case kStateUnsupported:
      if (busGone_) return "the system bus cannot be reached";
      if (readFailed_) return "the Bluetooth service's objects could not be read";
      return "there is no Bluetooth adapter";
    default:
      return "the Bluetooth service has not answered";
  }
}

void SystemRadio::beginDiscovery() {
  const bool start = !discovering_;
  discovering_ = true;
  onBus([this, path = adapterPath_, duplicates = allowDuplicates_, uuids = serviceFilter_, start] {
    // A service without filters still discovers; the filter is applied here as well.
    Call(
        [&](auto& reply) {
          VariantMap filter{{"Transport", sdbus::Variant(std::string("le"))},
                            {"DuplicateData", sdbus::Variant(duplicates)}};
          if (uuids) filter.emplace("UUIDs", sdbus::Variant(*uuids));
          proxy(path).callMethodAsync("SetDiscoveryFilter").onInterface(kAdapter).withArguments(filter).uponReplyInvoke(reply);
        },
        [this](const sdbus::Error* error) { reportFailure("Setting the scan filter", error); });
    if (!start) return;
    Call([&](auto& reply) { proxy(path).callMethodAsync("StartDiscovery").onInterface(kAdapter).uponReplyInvoke(reply); },
         [this](const sdbus::Error* error) {
           if (!error || error->getName() == "org.bluez.Error.InProgress") return;
           deliver([f = Failure{error->getName(), error->getMessage()}](SystemRadio& r) {
             r.discovering_ = false;
             r.failed("Starting the scan", f);
             r.refusedIfAccessError(f.name);
           });
         });
  });
}

void SystemRadio::stopScan() {
  scanning_ = false;
  if (!discovering_ || !bus_) return;
  discovering_ = false;
  send(adapterPath_, kAdapter, "StopDiscovery", "Stopping the scan");
}

void SystemRadio::refusedIfAccessError(const std::string& errorName) {
  if (!IsAccessError(errorName)) return;
  accessRefused_ = true;
  updateAdapterState();
}

std::string SystemRadio::devicePath(const std::string& deviceId) const {
  for (const auto& path : objects_.children(kDevice, "Adapter", adapterPath_)) {
    const auto* address = objects_.get<std::string>(path, kDevice, "Address");
    if (address && *address == deviceId) return path;
  }
  return "";
}

void SystemRadio::connect(const std::string& deviceId) {
  stopAttemptBound();
  notifying_.clear();
  link_ = Link{deviceId, devicePath(deviceId), ++epoch_};
  const uint64_t epoch = link_->epoch;
  if (link_->path.empty() || !bus_) {
    later([epoch](SystemRadio& r) { r.connectAnswered(epoch, Failure{"", "no such device"}); });
    return;
  }
  // The call has no time-out of its own: it waits as long as the device takes (the bus's
  // default of 25 s would report a failure while the service goes on connecting). The
  // attempt's bound, set below, ends an attempt that nothing else ends.
  const uint64_t timeout = timeouts_.connect
                               ? static_cast<uint64_t>(std::chrono::microseconds(*timeouts_.connect).count())
                               : UINT64_MAX;
  onBus([this, path = link_->path, epoch, timeout] {
    Call(
        [&](auto& reply) {
          proxy(path).callMethodAsync("Connect").onInterface(kDevice).withTimeout(timeout).uponReplyInvoke(reply);
        },
        [this, epoch](const sdbus::Error* error) {
          std::optional<Failure> failure;
          if (error && error->getName() != "org.bluez.Error.AlreadyConnected")
            failure = Failure{error->getName(), error->getMessage()};
          deliver([epoch, failure](SystemRadio& r) { r.connectAnswered(epoch, failure); });
        });
  });
  // Whatever the service does or fails to do, the attempt ends: connected, failed, or given up
  // here.
  attemptTimer_ = loop_.addTimer(timeouts_.attempt.count(), [weak = self_, epoch] {
    if (auto self = weak.lock()) self->attemptOverdue(epoch);
  });
}

void SystemRadio::attemptOverdue(uint64_t epoch) {
  attemptTimer_ = 0;
  if (!link_ || link_->epoch != epoch || link_->reported) return;
  // The road of a link that drops while connecting; and, as for a Connect given up without an
  // answer, Disconnect, which also ends an attempt the service still has under way. What the
  // service answers later carries this attempt's epoch, so it is ignored.
  failed("Connecting to " + link_->deviceId, Failure{"", "not connected within " + Seconds(timeouts_.attempt)});
  send(link_->path, kDevice, "Disconnect", "");
  endLink();
}

void SystemRadio::stopAttemptBound() {
  if (attemptTimer_) loop_.cancelTimer(attemptTimer_);
  attemptTimer_ = 0;
}

void SystemRadio::connectAnswered(uint64_t epoch, std::optional<Failure> failure) {
  if (!link_ || link_->epoch != epoch) return;  // cancelled or replaced since
  if (failure) {
    this->failed("Connecting to " + link_->deviceId, *failure);
    // Given up without an answer: the service may still be connecting, and would leave the
    // device connected to nobody. Disconnect also ends an attempt under way.
    if (IsTimeout(failure->name)) send(link_->path, kDevice, "Disconnect", "");
    endLink();
    return;
  }
  link_->replied = true;
  checkLink();
}

void SystemRadio::checkLink() {
  if (!link_ || link_->cancelled) return;
  const bool connected = objects_.flag(link_->path, kDevice, "Connected");
  if (link_->reported) {
    if (!connected) endLink();  // the device dropped the link
    return;
  }
  if (connected) {
    link_->up = true;
  } else if (link_->up) {
    // The service answers Connect once the link is up, then resolves the services: a drop in
    // between ends the attempt.
    failed("Connecting to " + link_->deviceId, Failure{"", "the link dropped before the services were resolved"});
    endLink();
    return;
  }
  if (!link_->replied || !connected || !objects_.flag(link_->path, kDevice, "ServicesResolved")) return;
  link_->reported = true;
  stopAttemptBound();
  std::vector<std::string> services;
  for (const auto& path : objects_.children(kGattService, "Device", link_->path)) {
    const auto* uuid = objects_.get<std::string>(path, kGattService, "UUID");
    if (!uuid) continue;
    std::string id = BleUuid::fromBus(*uuid);
    if (std::ranges::find(services, id) == services.end()) services.push_back(std::move(id));
  }
  if (auto l = listener()) l->onConnected(link_->deviceId, services);
}

void SystemRadio::endLink() {
  const std::string id = link_->deviceId;
  stopAttemptBound();
  link_.reset();
  notifying_.clear();
  if (auto l = listener()) l->onDisconnected(id);
}

void SystemRadio::cancelConnection(const std::string& deviceId) {
  if (!link_ || link_->deviceId != deviceId || link_->cancelled) return;
  link_->epoch = ++epoch_;
  link_->cancelled = true;
  stopAttemptBound();
  notifying_.clear();
  const uint64_t epoch = link_->epoch;
  auto confirm = [epoch](SystemRadio& r) {
    if (r.link_ && r.link_->epoch == epoch) r.endLink();
  };
  if (link_->path.empty() || !bus_) {
    later(confirm);
    return;
  }
  // Disconnect also ends a connection attempt still under way; whatever it answers, the link is
  // down for this central.
  onBus([this, path = link_->path, confirm] {
    Call([&](auto& reply) { proxy(path).callMethodAsync("Disconnect").onInterface(kDevice).uponReplyInvoke(reply); },
         [this, confirm](const sdbus::Error*) { deliver(confirm); });
  });
}

std::vector<std::string> SystemRadio::characteristicPaths(const std::string& deviceId,
                                                         const std::string& serviceId) const {
  if (!linkedTo(deviceId)) return {};
  // UUIDs are the same in any case: compared in the one form toBus gives.
  const std::string service = BleUuid::toBus(serviceId);
  for (const auto& s : objects_.children(kGattService, "Device", link_->path)) {
    const auto* uuid = objects_.get<std::string>(s, kGattService, "UUID");
    if (uuid && BleUuid::toBus(*uuid) == service) return objects_.children(kGattCharacteristic, "Service", s);
  }
  return {};
}

std::string SystemRadio::characteristicPath(const std::string& deviceId, const std::string& serviceId,
                                            const std::string& characteristicId) const {
  const std::string characteristic = BleUuid::toBus(characteristicId);
  for (const auto& c : characteristicPaths(deviceId, serviceId)) {
    const auto* uuid = objects_.get<std::string>(c, kGattCharacteristic, "UUID");
    if (uuid && BleUuid::toBus(*uuid) == characteristic) return c;
  }
  return "";
}

void SystemRadio::discoverCharacteristics(const std::string& deviceId, const std::string& serviceId) {
  if (!linkedTo(deviceId)) return;
  // The service resolved every characteristic before the connection was reported: they are
  // known here already, and are reported on a later turn as a radio's answer would be.
  std::vector<Characteristic> found;
  for (const auto& c : characteristicPaths(deviceId, serviceId)) {
    const auto* uuid = objects_.get<std::string>(c, kGattCharacteristic, "UUID");
    const auto* flags = objects_.get<std::vector<std::string>>(c, kGattCharacteristic, "Flags");
    if (uuid) found.push_back({BleUuid::fromBus(*uuid), flags ? PropertiesOf(*flags) : 0});
  }
  later([epoch = link_->epoch, deviceId, serviceId, found](SystemRadio& r) {
    if (!r.link_ || r.link_->epoch != epoch) return;
    if (auto l = r.listener()) l->onCharacteristics(deviceId, serviceId, found);
  });
}

void SystemRadio::read(const std::string& deviceId, const std::string& serviceId,
                       const std::string& characteristicId) {
  if (!linkedTo(deviceId)) return;
  const uint64_t epoch = link_->epoch;
  // A value that cannot be read is reported empty, so the reads of the service still complete.
  auto answer = [epoch, deviceId, serviceId, characteristicId](std::vector<uint8_t> value) {
    return [=](SystemRadio& r) {
      if (!r.link_ || r.link_->epoch != epoch) return;
      if (auto l = r.listener()) l->onValue(deviceId, serviceId, characteristicId, value);
    };
  };
  const std::string path = characteristicPath(deviceId, serviceId, characteristicId);
  if (path.empty()) {
    later(answer({}));
    return;
  }
  onBus([this, path, answer, characteristicId] {
    Call(
        [&](auto& reply) {
          proxy(path)
              .callMethodAsync("ReadValue")
              .onInterface(kGattCharacteristic)
              .withArguments(VariantMap{})
              .uponReplyInvoke(reply);
        },
        [this, answer, characteristicId](const sdbus::Error* error, const std::vector<uint8_t>& value) {
          reportFailure("Reading " + characteristicId, error);
          deliver(answer(error ? std::vector<uint8_t>{} : value));
        });
  });
}

void SystemRadio::writeWithoutResponse(const std::string& deviceId, const std::string& serviceId,
                                       const std::string& characteristicId, std::vector<uint8_t> bytes) {
  const std::string path = characteristicPath(deviceId, serviceId, characteristicId);
  if (path.empty()) return;
  // Without response when the characteristic takes it; otherwise as a request, whose answer
  // only matters when it is a refusal.
  const auto* flags = objects_.get<std::vector<std::string>>(path, kGattCharacteristic, "Flags");
  const bool command = !flags || std::ranges::find(*flags, "write-without-response") != flags->end();
  onBus([this, path, bytes = std::move(bytes), command, characteristicId] {
    Call(
        [&](auto& reply) {
          VariantMap options{{"type", sdbus::Variant(std::string(command ? "command" : "request"))}};
          proxy(path).callMethodAsync("WriteValue").onInterface(kGattCharacteristic).withArguments(bytes, options).uponReplyInvoke(reply);
        },
        [this, characteristicId](const sdbus::Error* error) { reportFailure("Writing to " + characteristicId, error); });
  });
}

void SystemRadio::setNotify(const std::string& deviceId, const std::string& serviceId,
                            const std::string& characteristicId, bool enabled) {
  const std::string path = characteristicPath(deviceId, serviceId, characteristicId);
  if (path.empty()) return;
  if (!enabled) {
    notifying_.erase(path);
    send(path, kGattCharacteristic, "StopNotify", "Turning off notifications of " + characteristicId);
    return;
  }
  notifying_.insert(path);
  onBus([this, path, epoch = link_->epoch, deviceId, characteristicId] {
    Call([&](auto& reply) { proxy(path).callMethodAsync("StartNotify").onInterface(kGattCharacteristic).uponReplyInvoke(reply); },
         [this, epoch, deviceId, characteristicId](const sdbus::Error* error) {
           if (!error) return;
           deliver([epoch, deviceId, characteristicId, f = Failure{error->getName(), error->getMessage()}](SystemRadio& r) {
             r.failed("Turning on notifications of " + characteristicId, f);
             // Without the notifications it asked for, the central cannot use the device: it
             // is given up, as a device that cannot be used is.
             if (!r.link_ || r.link_->epoch != epoch) return;
             r.log_("Bluetooth: " + deviceId + " cannot be used without notifications: disconnecting");
             r.cancelConnection(deviceId);
           });
         });
  });
}

void SystemRadio::send(const std::string& path, const std::string& interface, const std::string& method,
                       std::string what) {
  onBus([this, path, interface, method, what = std::move(what)] {
    Call([&](auto& reply) { proxy(path).callMethodAsync(method).onInterface(interface).uponReplyInvoke(reply); },
         [this, what](const sdbus::Error* error) {
           if (!what.empty()) reportFailure(what, error);
         });
  });
}

void SystemRadio::reportFailure(const std::string& what, const sdbus::Error* error) {
  if (!error) return;
  deliver([what, f = Failure{error->getName(), error->getMessage()}](SystemRadio& r) { r.failed(what, f); });
}

void SystemRadio::failed(const std::string& what, const Failure& failure) {
  if (log_) log_("Bluetooth: " + what + " failed: " + (failure.name.empty() ? "" : failure.name + ": ") + failure.message);
}

}  // namespace tmr
