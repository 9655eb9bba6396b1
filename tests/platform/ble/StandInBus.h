#pragma once
// A private system bus with the stand-in Bluetooth service on it, for the system radio's tests:
// starts dbus-daemon with a configuration of its own in a temporary folder, points
// DBUS_SYSTEM_BUS_ADDRESS at it, starts the stand-in (bluetooth_standin.py, a python3-dbusmock
// template) with the given JSON parameters and waits for its name; stops both when destroyed.
// The machine's own system bus is never touched. The stand-in is steered through its control
// methods.
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace sdbus {
class IConnection;
class IProxy;
}  // namespace sdbus

namespace tmr {

class StandInBus {
 public:
  // withService false: the bus alone, no Bluetooth service on it. policy: rules of the bus's
  // policy added after those that allow everything ("<deny .../>").
  explicit StandInBus(const std::string& parameters, bool withService = true, const std::string& policy = "");
  ~StandInBus();
  StandInBus(const StandInBus&) = delete;
  StandInBus& operator=(const StandInBus&) = delete;

  const std::string& address() const { return address_; }

  void setPowered(bool on);
  void removeAdapter();
  void addAdapter(bool powered);
  void drop(const std::string& address);
  void failNextConnect(const std::string& address);
  // The next Connect brings the link up, answers, and the link drops before services resolve.
  void dropNextConnect(const std::string& address);
  // Where the next attempt stops for good: Connect answers nothing (until answerConnect, or a
  // Disconnect cancels it), or the link comes up and Connect answers but the services never
  // resolve.
  enum class Stall { Connect, Services };
  void stallNextConnect(const std::string& address, Stall where);
  // A Connect stalled at Stall::Connect goes on and connects.
  void answerConnect(const std::string& address);
  // Stops (true) or resumes the bus daemon or the service: a frozen process takes connections
  // and calls and answers none of them.
  void freezeBus(bool frozen);
  void freezeService(bool frozen);
  bool notify(const std::string& address, const std::vector<uint8_t>& bytes);
  // The commands the devices received since the last call, in order.
  std::vector<std::vector<uint8_t>> takeWrites();
  std::vector<uint8_t> status(const std::string& address);
  bool connected(const std::string& address);
  // A Connect to the device is under way (a slow one, not yet answered).
  bool connecting(const std::string& address);

 private:
  void start(const std::string& parameters, bool withService, const std::string& policy);
  void stop();

  std::filesystem::path dir_;
  std::string address_;
  pid_t daemon_ = -1;
  pid_t service_ = -1;
  std::unique_ptr<sdbus::IConnection> bus_;
  std::unique_ptr<sdbus::IProxy> control_;
};

}  // namespace tmr
