#include "tests/platform/ble/StandInBus.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sdbus-c++/sdbus-c++.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace tmr {

namespace {

constexpr const char* kMock = "org.bluez.Mock";

// Starts argv[0] with stdout to outFd (or the log) and stderr to the log file.
pid_t Spawn(const std::vector<std::string>& args, int outFd, const std::filesystem::path& log) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (outFd >= 0) {
    posix_spawn_file_actions_adddup2(&actions, outFd, 1);
  } else {
    posix_spawn_file_actions_adddup2(&actions, 2, 1);
  }
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + args[0]);
  return pid;
}

void Stop(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGCONT);  // a frozen process would not end
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  pid = -1;
}

std::string Read(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

StandInBus::StandInBus(const std::string& parameters, bool withService, const std::string& policy) {
  try {
    start(parameters, withService, policy);
  } catch (...) {
    stop();  // a half-started bus leaves no process behind
    throw;
  }
}

void StandInBus::start(const std::string& parameters, bool withService, const std::string& policy) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tmr-bus-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a folder for the bus");
  dir_ = pattern;
  std::ofstream(dir_ / "bus.conf") << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN\"\n"
                                      " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                                      "<busconfig><type>system</type><listen>unix:path="
                                   << (dir_ / "socket").string()
                                   << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                                      "<allow user=\"*\"/><allow own=\"*\"/><allow send_type=\"method_call\"/>"
                                      "<allow send_type=\"signal\"/><allow send_type=\"method_return\"/>"
                                      "<allow send_type=\"error\"/><allow receive_type=\"method_call\"/>"
                                      "<allow receive_type=\"signal\"/><allow receive_type=\"method_return\"/>"
                                      "<allow receive_type=\"error\"/>"
                                   << policy << "</policy></busconfig>\n";
  int out[2];
  if (pipe(out) != 0) throw std::runtime_error("cannot make a pipe");
  daemon_ = Spawn({"/usr/bin/dbus-daemon", "--config-file=" + (dir_ / "bus.conf").string(), "--nofork",
                   "--print-address"},
                  out[1], dir_ / "daemon.log");
  close(out[1]);
  // The daemon prints its address once it listens.
  char ch;
  while (read(out[0], &ch, 1) == 1 && ch != '\n') address_ += ch;
  close(out[0]);
  if (address_.empty()) throw std::runtime_error("dbus-daemon did not start: " + Read(dir_ / "daemon.log"));
  setenv("DBUS_SYSTEM_BUS_ADDRESS", address_.c_str(), 1);
  bus_ = sdbus::createSystemBusConnection();
  if (!withService) return;

  service_ = Spawn({"/usr/bin/python3", "-m", "dbusmock", "--system", "--template", TMR_STANDIN_TEMPLATE, "-p",
                    parameters},
                   -1, dir_ / "standin.log");
  auto daemon = sdbus::createProxy(*bus_, "org.freedesktop.DBus", "/org/freedesktop/DBus");
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  for (bool up = false; !up;) {
    daemon->callMethod("NameHasOwner").onInterface("org.freedesktop.DBus").withArguments("org.bluez").storeResultsTo(up);
    if (up) break;
    const bool ended = waitpid(service_, nullptr, WNOHANG) == service_;
    if (ended) service_ = -1;
    if (ended || std::chrono::steady_clock::now() > deadline)
      throw std::runtime_error("the stand-in service did not start: " + Read(dir_ / "standin.log"));
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  control_ = sdbus::createProxy(*bus_, "org.bluez", "/");
}

StandInBus::~StandInBus() { stop(); }

void StandInBus::stop() {
  control_.reset();
  bus_.reset();
  Stop(service_);
  Stop(daemon_);
  unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
  std::error_code ignored;
  if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
}

void StandInBus::setPowered(bool on) { control_->callMethod("SetPowered").onInterface(kMock).withArguments(on); }
void StandInBus::removeAdapter() { control_->callMethod("RemoveAdapter").onInterface(kMock); }
void StandInBus::addAdapter(bool powered) {
  control_->callMethod("AddAdapter").onInterface(kMock).withArguments(powered);
}
void StandInBus::drop(const std::string& address) {
  control_->callMethod("Drop").onInterface(kMock).withArguments(address);
}
void StandInBus::failNextConnect(const std::string& address) {
  control_->callMethod("FailNextConnect").onInterface(kMock).withArguments(address);
}

void StandInBus::dropNextConnect(const std::string& address) {
  control_->callMethod("DropNextConnect").onInterface(kMock).withArguments(address);
}
void StandInBus::stallNextConnect(const std::string& address, Stall where) {
  const std::string stage = where == Stall::Connect ? "connect" : "services";
  control_->callMethod("StallNextConnect").onInterface(kMock).withArguments(address, stage);
}
void StandInBus::answerConnect(const std::string& address) {
  control_->callMethod("AnswerConnect").onInterface(kMock).withArguments(address);
}
void StandInBus::freezeBus(bool frozen) { kill(daemon_, frozen ? SIGSTOP : SIGCONT); }
void StandInBus::freezeService(bool frozen) { kill(service_, frozen ? SIGSTOP : SIGCONT); }

bool StandInBus::notify(const std::string& address, const std::vector<uint8_t>& bytes) {
  bool sent = false;
  control_->callMethod("Notify").onInterface(kMock).withArguments(address, bytes).storeResultsTo(sent);
  return sent;
}

std::vector<std::vector<uint8_t>> StandInBus::takeWrites() {
  std::vector<std::vector<uint8_t>> writes;
  control_->callMethod("TakeWrites").onInterface(kMock).storeResultsTo(writes);
  return writes;
}

std::vector<uint8_t> StandInBus::status(const std::string& address) {
  std::vector<uint8_t> bytes;
  control_->callMethod("Status").onInterface(kMock).withArguments(address).storeResultsTo(bytes);
  return bytes;
}

bool StandInBus::connecting(const std::string& address) {
  bool pending = false;
  control_->callMethod("Connecting").onInterface(kMock).withArguments(address).storeResultsTo(pending);
  return pending;
}

bool StandInBus::connected(const std::string& address) {
  std::string path = "/org/bluez/hci0/dev_" + address;
  std::ranges::replace(path, ':', '_');
  auto device = sdbus::createProxy(*bus_, "org.bluez", path);
  return device->getProperty("Connected").onInterface("org.bluez.Device1").get<bool>();
}

}  // namespace tmr
