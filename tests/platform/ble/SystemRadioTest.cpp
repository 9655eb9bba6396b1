// The application on the system radio, against the stand-in Bluetooth service on a private bus:
// the adapter's states, a scan, a pick, the set-up, commands, notifications, a dropped link, a
// failed connection, devices the app cannot use, slow or silent services; and the program on the
// command line. The loop's clock stands still while what the service sends is handled (settle),
// and moves only for the app's own timers.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "app/TivomarshApplication.h"
#include "app/tm_main.h"
#include "platform/ble/BleManager.h"
#include "platform/ble/BleUuid.h"
#include "platform/ble/RadioOption.h"
#include "platform/ble/SystemRadio.h"
#include "platform/driver/AppDriver.h"
#include "platform/driver/ScenarioRunner.h"
#include "tests/platform/ble/BleProbe.h"
#include "tests/platform/ble/StandInBus.h"

namespace tmr {
namespace {

using Bytes = std::vector<uint8_t>;

using namespace std::chrono_literals;

const std::string kGarden = "AA:00:00:00:00:01";
const std::string kPorch = "AA:00:00:00:00:02";
const std::string kNus = "6E400001-B5A3-F393-E0A9-E50E24DCCA9E";
const std::string kTx = "6E400003-B5A3-F393-E0A9-E50E24DCCA9E";
// The demo's devices, one the service remembers and hears again, one new; a phone; a device
// without a name; and a Tivomarsh device the service remembers that is not in range.
const std::string kDevices = R"({"devices": [
  {"address": "AA:00:00:00:00:01", "name": "Tivomarsh-Garden", "known": true, "status": [50, 5, 10, 7, 2]},
  {"address": "AA:00:00:00:00:02", "name": "Tivomarsh-Porch", "status": [80, 2, 20, 3, 4]},
  {"address": "AA:00:00:00:00:03", "name": "Phone"},
  {"address": "AA:00:00:00:00:04", "uart": true},
  {"address": "AA:00:00:00:00:05", "name": "Tivomarsh-Attic", "known": true, "inRange": false}]})";

// Whether pred comes to hold within five seconds.
bool Eventually(const std::function<bool()>& pred) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (true) {
    if (pred()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

// Runs the loop's posted work until pred holds; false after five seconds.
bool Settle(Runtime& rt, const std::function<bool()>& pred) {
  return Eventually([&] {
    rt.loop().runUntilIdle();
    return pred();
  });
}

struct SystemRadioTest : ::testing::Test {
  std::unique_ptr<StandInBus> bus;  // outlives the app, whose backend talks to it
  std::unique_ptr<AppDriver> app;
  std::shared_ptr<tm_main> main;  // released before the app

  void start(const std::string& parameters, SystemRadio::Timeouts timeouts = {}) {
    stop();
    bus = std::make_unique<StandInBus>(parameters);
    startApp(timeouts);
  }
  void startApp(SystemRadio::Timeouts timeouts) {
    app = std::make_unique<AppDriver>(TivomarshApplication());
    RadioOption::Apply(app->runtime(), RadioOption::Kind::System, timeouts);
    app->start();
    main = app->mainModule<tm_main>();
  }
  void stop() {
    main.reset();  // the main module goes with its runtime
    app.reset();
    bus.reset();
  }
  bool settle(const std::function<bool()>& pred) { return Settle(app->runtime(), pred); }
  std::string text(std::string_view name) const { return app->stateOf(name).text.str(); }
  bool visible(std::string_view name) const { return app->stateOf(name).visible; }
  std::vector<std::string> settings() const {
    std::vector<std::string> v;
    for (const char* pm : {"pmsensitivity", "pmbarks", "pmbarktime", "pmsprayduration", "pmtoneduration"})
      v.push_back(text(pm));
    return v;
  }
  // Scan, the five seconds, and what the list offers.
  std::vector<std::string> scan(int tivomarshDevices) {
    app->tap("btnscan");
    EXPECT_TRUE(settle([&] { return main->founddevices.Size() == tivomarshDevices; })) << log();
    app->wait(5000);
    auto sheet = app->sheet();
    return sheet ? sheet->items : std::vector<std::string>{};
  }
  // The commands the devices received, waiting until there are n.
  std::vector<Bytes> writes(size_t n) {
    std::vector<Bytes> all;
    settle([&] {
      for (auto& w : bus->takeWrites()) all.push_back(std::move(w));
      return all.size() >= n;
    });
    return all;
  }
  std::string log() const {
    std::string all;
    for (const auto& l : app->logLines()) all += l + "\n";
    return all;
  }
  bool logged(const std::string& prefix) const { return timesLogged(prefix) > 0; }
  long timesLogged(const std::string& prefix) const {
    return std::ranges::count_if(app->logLines(), [&](const std::string& l) { return l.starts_with(prefix); });
  }
  // Picks the device and waits until the screen is idle again and the device disconnected.
  bool pickAndWaitForIdle(const std::string& name, const std::string& address) {
    app->pick(name);
    return settle([&] { return visible("btnscan") && !bus->connected(address); });
  }
};

TEST_F(SystemRadioTest, TheAdapterStateFollowsTheService) {
  struct Case {
    const char* adapter;
    int state;
  };
  for (auto c : {Case{"none", BleManager::STATE_UNSUPPORTED}, Case{"off", BleManager::STATE_POWERED_OFF},
                 Case{"on", BleManager::STATE_POWERED_ON}}) {
    start(std::string(R"({"adapter": ")") + c.adapter + "\"}");
    EXPECT_TRUE(settle([&] { return main->currentstate == c.state; })) << c.adapter;
  }
  for (const auto& step : std::vector<std::pair<std::function<void()>, int>>{
           {[&] { bus->setPowered(false); }, BleManager::STATE_POWERED_OFF},
           {[&] { bus->setPowered(true); }, BleManager::STATE_POWERED_ON},
           {[&] { bus->removeAdapter(); }, BleManager::STATE_UNSUPPORTED},
           {[&] { bus->addAdapter(true); }, BleManager::STATE_POWERED_ON}}) {
    step.first();
    // Not a structured binding: clang 14 cannot capture one in a lambda.
    const int state = step.second;
    EXPECT_TRUE(settle([&] { return main->currentstate == state; })) << state;
  }
  // A service that refuses this user the adapter.
  start(R"({"refuseScan": true})");
  app->tap("btnscan");
  EXPECT_TRUE(settle([&] { return main->currentstate == BleManager::STATE_UNAUTHORIZED; }));
  EXPECT_TRUE(logged("Bluetooth: Starting the scan failed: org.bluez.Error.NotAuthorized"));
}

TEST_F(SystemRadioTest, TheRoadFromScanToDisconnect) {
  start(kDevices);
  // Only the Tivomarsh devices heard now are offered: not the one the service merely remembers.
  EXPECT_EQ(scan(2), (std::vector<std::string>{"Tivomarsh-Garden", "Tivomarsh-Porch"}));
  app->pick("Tivomarsh-Porch");
  ASSERT_TRUE(settle([&] { return text("pmsensitivity") == "80"; }));
  EXPECT_TRUE(visible("btnconnected"));
  EXPECT_EQ(settings(), (std::vector<std::string>{"80", "2", "20", "3", "4"}));
  EXPECT_EQ(writes(1), (std::vector<Bytes>{{7, 0}})) << "the settings are asked for once";

  app->tap("pmbarks.plus");
  app->tap("btnspray");
  app->tap("btntone");
  EXPECT_EQ(writes(3), (std::vector<Bytes>{{1, 3}, {5, 0}, {6, 0}}));
  EXPECT_EQ(bus->status(kPorch), (Bytes{80, 3, 20, 3, 4}));

  // The device's own status is shown and not sent back.
  ASSERT_TRUE(bus->notify(kPorch, {79, 3, 30, 3, 4}));
  EXPECT_TRUE(settle([&] { return text("pmbarktime") == "30"; }));
  EXPECT_EQ(settings(), (std::vector<std::string>{"79", "3", "30", "3", "4"}));
  EXPECT_TRUE(bus->takeWrites().empty());

  // The device drops the link: the idle screen.
  bus->drop(kPorch);
  EXPECT_TRUE(settle([&] { return visible("btnscan"); }));
  EXPECT_FALSE(visible("btnconnected"));
  EXPECT_FALSE(app->stateOf("btnspray").enabled);

  // A second scan hears both again; Disconnect takes the device's link down.
  EXPECT_EQ(scan(2), (std::vector<std::string>{"Tivomarsh-Garden", "Tivomarsh-Porch"}));
  app->pick("Tivomarsh-Garden");
  ASSERT_TRUE(settle([&] { return text("pmsensitivity") == "50"; }));
  EXPECT_TRUE(bus->connected(kGarden));
  app->tap("btnconnected");
  EXPECT_TRUE(visible("btnscan"));
  EXPECT_TRUE(settle([&] { return !bus->connected(kGarden); }));
}

TEST_F(SystemRadioTest, AFailedConnectionReturnsToTheIdleScreenAndIsLogged) {
  const int64_t bound = SystemRadio::Timeouts{}.attempt.count();
  struct Case {
    std::function<void(StandInBus&)> fault;
    const char* logged;
    // Where the attempt stops for good, so that only the radio's bound ends it.
    std::function<bool(StandInBus&)> stalled;
  } const cases[] = {
      {[](StandInBus& b) { b.failNextConnect(kPorch); },
       "Bluetooth: Connecting to AA:00:00:00:00:02 failed: org.bluez.Error.Failed", {}},
      // The service answers once the link is up; the link drops before the services are resolved.
      {[](StandInBus& b) { b.dropNextConnect(kPorch); },
       "Bluetooth: Connecting to AA:00:00:00:00:02 failed: the link dropped before", {}},
      // The service never answers Connect, or the link comes up and the services never resolve.
      {[](StandInBus& b) { b.stallNextConnect(kPorch, StandInBus::Stall::Connect); },
       "Bluetooth: Connecting to AA:00:00:00:00:02 failed: not connected within 60 s",
       [](StandInBus& b) { return b.connecting(kPorch); }},
      {[](StandInBus& b) { b.stallNextConnect(kPorch, StandInBus::Stall::Services); },
       "Bluetooth: Connecting to AA:00:00:00:00:02 failed: not connected within 60 s",
       [](StandInBus& b) { return b.connected(kPorch); }},
  };
  for (const auto& c : cases) {
    start(kDevices);
    c.fault(*bus);
    scan(2);
    const size_t timers = app->runtime().loop().timerCount();
    app->pick("Tivomarsh-Porch");
    if (c.stalled) {
      ASSERT_TRUE(settle([&] { return c.stalled(*bus); })) << c.logged;
      app->wait(bound - 1);
      EXPECT_FALSE(visible("btnscan")) << "given up before the bound";
      app->wait(1);
    }
    EXPECT_TRUE(settle([&] { return visible("btnscan") && !bus->connected(kPorch) && !bus->connecting(kPorch); }))
        << c.logged;
    EXPECT_EQ(app->runtime().loop().timerCount(), timers) << "the attempt's bound ends with it";
    EXPECT_FALSE(visible("btnconnected"));
    EXPECT_TRUE(logged(c.logged)) << log();
    EXPECT_TRUE(bus->takeWrites().empty());
    // The next attempt connects; what the service answers the failed one late is not heard.
    scan(2);
    app->pick("Tivomarsh-Porch");
    EXPECT_TRUE(settle([&] { return text("pmsensitivity") == "80"; })) << c.logged;
    EXPECT_EQ(timesLogged("Bluetooth: Connecting to"), 1) << log();
  }
}

// A device the app cannot use (its UART service lacks a characteristic, or it refuses
// notifications) is disconnected with a line in the log, and the app goes back to idle.
TEST_F(SystemRadioTest, ADeviceTheAppCannotUseIsDisconnectedAndTheAppGoesBackToIdle) {
  struct Case {
    const char* device;
    const char* logged;
  } const cases[] = {
      {R"("without": "tx")", "The device has no characteristic 6E400003-B5A3-F393-E0A9-E50E24DCCA9E: disconnecting"},
      {R"("without": "rx")", "The device has no characteristic 6E400002-B5A3-F393-E0A9-E50E24DCCA9E: disconnecting"},
      {R"("refuseNotify": true)",
       "Bluetooth: Turning on notifications of 6E400003-B5A3-F393-E0A9-E50E24DCCA9E failed: "
       "org.bluez.Error.NotPermitted"},
  };
  for (const auto& c : cases) {
    start(std::string(R"({"devices": [{"address": "AA:00:00:00:00:02", "name": "Tivomarsh-Porch", )") + c.device +
          "}]}");
    scan(1);
    EXPECT_TRUE(pickAndWaitForIdle("Tivomarsh-Porch", kPorch)) << c.device << "\n" << log();
    EXPECT_TRUE(logged(c.logged)) << log();
    EXPECT_FALSE(visible("btnconnected"));
    EXPECT_FALSE(main->connected);
  }
}

// UUIDs are the same whatever their case: a service that writes them in upper case is found by
// a scan filtered by service and used as any other.
TEST_F(SystemRadioTest, UuidsInUpperCaseAreTheSameUuids) {
  bus = std::make_unique<StandInBus>(R"({"upperCase": true, "devices": [
    {"address": "AA:00:00:00:00:02", "name": "Tivomarsh-Porch"}, {"address": "AA:00:00:00:00:03", "name": "Phone"}]})");
  Runtime rt;
  RadioOption::Apply(rt, RadioOption::Kind::System);
  auto probe = BleProbe::Make(rt);
  auto manager = std::make_shared<BleManager>();
  manager->Initialize(probe->bi, "manager");
  auto seen = [&](const std::string& event) {
    return std::ranges::any_of(probe->events, [&](const std::string& e) { return e.find(event) != e.npos; });
  };
  auto heard = [&](const std::string& event) { return Settle(rt, [&] { return seen(event); }); };
  ASSERT_TRUE(heard("statechanged 5"));
  manager->Scan2(List::Of({Object(String(kNus))}), false);
  ASSERT_TRUE(heard("devicefound 'Tivomarsh-Porch' AA:00:00:00:00:02")) << probe->events.size();
  manager->StopScan();
  manager->Connect(kPorch);
  ASSERT_TRUE(heard("connected 1800," + kNus + ",180A"));
  manager->ReadData(kNus);
  ASSERT_TRUE(heard("data " + kNus + " 6E400002-B5A3-F393-E0A9-E50E24DCCA9E= " + kTx + "="));
  manager->SetNotify(kNus, kTx, true);
  EXPECT_TRUE(Settle(rt, [&] { return bus->notify(kPorch, {1, 2, 3, 4, 5}); }));
  EXPECT_TRUE(heard(kTx + "=0102030405"));
  EXPECT_FALSE(seen("'Phone'"));
}

// Connect waits as long as the device takes, whatever the bus's own default time-out, and a
// device that takes 30 s connects; an attempt given up (at the time-out set here, by the
// central, or at the end of the program) is cancelled with Disconnect, so the service does not
// go on to connect the device to nobody.
TEST_F(SystemRadioTest, ASlowConnectIsWaitedForAndOneGivenUpIsCancelled) {
  const std::string slowPorch = R"({"devices": [{"address": "AA:00:00:00:00:02", "name": "Tivomarsh-Porch",
    "status": [80, 2, 20, 3, 4], "connectMs": 1000}]})";
  setenv("SYSTEMD_BUS_TIMEOUT", "0.4", 1);  // the bus's default time-out, shorter than the device takes
  start(slowPorch);
  scan(1);
  app->pick("Tivomarsh-Porch");
  EXPECT_TRUE(settle([&] { return text("pmsensitivity") == "80"; })) << log();
  unsetenv("SYSTEMD_BUS_TIMEOUT");

  start(kDevices);
  bus->stallNextConnect(kPorch, StandInBus::Stall::Connect);
  scan(2);
  app->pick("Tivomarsh-Porch");
  ASSERT_TRUE(settle([&] { return bus->connecting(kPorch); }));
  app->wait(30000);  // a slow device's time, well within the bound
  bus->answerConnect(kPorch);
  EXPECT_TRUE(settle([&] { return text("pmsensitivity") == "80"; })) << log();
  app->wait(SystemRadio::Timeouts{}.attempt.count());
  EXPECT_TRUE(visible("btnconnected") && bus->connected(kPorch)) << log();

  size_t timers = 0;
  struct Case {
    const char* givenUp;
    std::function<void()> giveUp;
  } const cases[] = {
      {"at the time-out",
       [&] {
         EXPECT_TRUE(settle([&] { return visible("btnscan"); }));
         EXPECT_TRUE(logged("Bluetooth: Connecting to AA:00:00:00:00:02 failed: org.freedesktop.DBus.Error.NoReply"))
             << log();
       }},
      {"by the central",
       [&] {
         main->manager->Disconnect();
         EXPECT_EQ(app->runtime().loop().timerCount(), timers) << "the attempt's bound ends with it";
       }},
      {"at the end of the program",
       [&] {
         main.reset();
         app.reset();
       }},
  };
  for (const auto& c : cases) {
    start(slowPorch, {.startUp = 1s, .connect = 200ms});
    scan(1);
    timers = app->runtime().loop().timerCount();
    app->pick("Tivomarsh-Porch");
    c.giveUp();
    EXPECT_TRUE(Eventually([&] { return !bus->connecting(kPorch) && !bus->connected(kPorch); })) << c.givenUp;
  }
}

// A scan that cannot find anything says why in the log; a refused scan is asked for again by
// the next one.
TEST_F(SystemRadioTest, AScanThatFindsNothingSaysWhyAndARefusedScanIsAskedAgain) {
  struct Case {
    const char* service;
    const char* logged;
    std::function<void()> meanwhile;
  } const cases[] = {
      {R"("refuseScan": 1)", "Bluetooth: Starting the scan failed: org.bluez.Error.NotAuthorized", [] {}},
      {R"("adapter": "off")", "Bluetooth: No scan: the Bluetooth adapter is powered off",
       [this] {
         bus->setPowered(true);
         settle([&] { return main->currentstate == BleManager::STATE_POWERED_ON; });
       }},
  };
  for (const auto& c : cases) {
    start(std::string("{") + c.service +
          R"(, "devices": [{"address": "AA:00:00:00:00:02", "name": "Tivomarsh-Porch"}]})");
    ASSERT_TRUE(settle([&] { return main->currentstate != BleManager::STATE_UNKNOWN; }));
    app->tap("btnscan");
    EXPECT_TRUE(settle([&] { return logged(c.logged); })) << log();
    app->wait(5000);
    EXPECT_TRUE(logged("No Tivomarsh device found"));
    c.meanwhile();
    EXPECT_EQ(scan(1), std::vector<std::string>{"Tivomarsh-Porch"}) << c.service;
  }
}

// When the service's objects cannot be read, the log says why once, in words a user can act
// on, and a scan reads them again.
TEST_F(SystemRadioTest, WhyTheServiceCannotBeReadIsLoggedOnce) {
  struct Case {
    const char* service;
    std::string policy;
    bool frozen;
    const char* logged;
  } const cases[] = {
      {"{}", R"(<deny send_destination="org.bluez" send_interface="org.freedesktop.DBus.ObjectManager"/>)", false,
       "Bluetooth: The Bluetooth service refuses this user"},
      {R"({"objects": "malformed"})", "", false, "Bluetooth: The Bluetooth service's objects could not be read"},
      {"{}", "", true, "Bluetooth: The Bluetooth service did not answer"},
  };
  for (const auto& c : cases) {
    stop();
    bus = std::make_unique<StandInBus>(c.service, true, c.policy);
    bus->freezeService(c.frozen);
    startApp({.startUp = 500ms, .connect = {}});
    EXPECT_TRUE(settle([&] { return logged(c.logged); })) << log();
    app->tap("btnscan");
    EXPECT_TRUE(settle([&] { return logged("Bluetooth: No scan: "); })) << log();
    EXPECT_EQ(timesLogged(c.logged), 1) << log();
    bus->freezeService(false);
  }
}

// What the radio reports, for the tests that use a backend without a manager.
struct RadioRecord : BleBackend::Listener {
  std::vector<int> states;
  std::vector<std::string> heard;
  void onAdapterState(int state) override { states.push_back(state); }
  void onAdvertisement(const BleBackend::Advertisement& ad) override { heard.push_back(ad.deviceId); }
  void onConnected(const std::string&, const std::vector<std::string>&) override {}
  void onDisconnected(const std::string&) override {}
  void onCharacteristics(const std::string&, const std::string&,
                         const std::vector<BleBackend::Characteristic>&) override {}
  void onValue(const std::string&, const std::string&, const std::string&, const std::vector<uint8_t>&) override {}
};

// A frozen bus takes connections and answers nothing: the start-up says so within its bound.
TEST(SystemRadioStartUp, AFrozenBusIsToldWithinTheStartUpBound) {
  StandInBus bus(kDevices);
  bus.freezeBus(true);
  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_NE(SystemRadio::Unavailable(200ms).value_or("").find("cannot reach the system bus"), std::string::npos);
  Runtime rt;
  std::vector<std::string> log;
  auto record = std::make_shared<RadioRecord>();
  auto radio = SystemRadio::Open(rt.loop(), record, [&](std::string_view line) { log.emplace_back(line); },
                                 {.startUp = 200ms, .connect = {}});
  // sd-bus alone waits 90 s for a bus that does not answer its handshake.
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 3s);
  EXPECT_TRUE(Settle(rt, [&] { return !record->states.empty(); }));
  EXPECT_EQ(record->states, std::vector<int>{BleBackend::kStateUnsupported});
  ASSERT_EQ(log.size(), 1u);
  EXPECT_TRUE(log[0].starts_with("Bluetooth: cannot reach the system bus")) << log[0];
  bus.freezeBus(false);
}

// A call that cannot be made (here a scan filter that is not text the bus carries) is that
// call's failure, not a lost bus: the next scan works.
TEST(SystemRadioStartUp, ACallThatCannotBeMadeLeavesTheRadioUsable) {
  StandInBus bus(kDevices);
  Runtime rt;
  std::vector<std::string> log;
  auto record = std::make_shared<RadioRecord>();
  auto radio = SystemRadio::Open(rt.loop(), record, [&](std::string_view line) { log.emplace_back(line); }, {});
  ASSERT_TRUE(Settle(rt, [&] { return !record->states.empty(); }));
  radio->startScan(std::vector<std::string>{"\xff"}, false);
  EXPECT_TRUE(Settle(rt, [&] { return !log.empty(); }));
  radio->stopScan();
  radio->startScan(std::nullopt, false);
  EXPECT_TRUE(Settle(rt, [&] { return record->heard.size() == 4; })) << record->heard.size();
  EXPECT_EQ(record->states, std::vector<int>{BleBackend::kStatePoweredOn});
  ASSERT_FALSE(log.empty());
  EXPECT_TRUE(log[0].starts_with("Bluetooth: Setting the scan filter failed: ")) << log[0];
}

TEST(SystemRadioLifetime, ABackendReleasedWithAnswersOnTheWayReportsNothing) {
  StandInBus bus(kDevices);
  Runtime rt;
  RadioOption::Apply(rt, RadioOption::Kind::System);
  auto probe = BleProbe::Make(rt);
  auto manager = std::make_shared<BleManager>();
  manager->Initialize(probe->bi, "manager");
  ASSERT_TRUE(Settle(rt, [&] { return !probe->events.empty(); }));
  manager->Scan2(Object(), false);  // the service answers with the devices it hears
  manager.reset();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  rt.loop().runUntilIdle();
  EXPECT_EQ(probe->events, (std::vector<std::string>{"@0 statechanged 5"}));
}

TEST(BleUuidTest, IdsConvertBetweenTheCentralsFormAndTheServices) {
  struct Case {
    const char* central;
    const char* bus;
  } const cases[] = {
      {"1800", "00001800-0000-1000-8000-00805f9b34fb"},
      {"2A00", "00002a00-0000-1000-8000-00805f9b34fb"},
      {"6E400001-B5A3-F393-E0A9-E50E24DCCA9E", "6e400001-b5a3-f393-e0a9-e50e24dcca9e"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BleUuid::toBus(c.central), c.bus);
    EXPECT_EQ(BleUuid::fromBus(c.bus), c.central);
  }
  EXPECT_EQ(BleUuid::toBus("6e400001-B5A3-f393-E0A9-e50e24dcca9e"), cases[2].bus);
  EXPECT_EQ(BleUuid::fromBus("12341800-0000-1000-8000-00805f9b34fb"), "12341800-0000-1000-8000-00805F9B34FB");
}

// The program itself: its exit code, what it printed and how long it took.
struct Run {
  int code;
  std::string out, err;
  double seconds;
};

Run RunProgram(const std::string& busAddress, const std::string& scenario) {
  auto dir = std::filesystem::temp_directory_path();
  auto out = dir / ("tmr-out-" + std::to_string(getpid()));
  auto err = dir / ("tmr-err-" + std::to_string(getpid()));
  std::string command = "DBUS_SYSTEM_BUS_ADDRESS='" + busAddress + "' " + TMR_PROGRAM + " --radio system --scenario " +
                        scenario + " >" + out.string() + " 2>" + err.string();
  auto t0 = std::chrono::steady_clock::now();
  int status = std::system(command.c_str());
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  auto read = [](const std::filesystem::path& f) {
    std::stringstream s;
    s << std::ifstream(f).rdbuf();
    std::filesystem::remove(f);
    return s.str();
  };
  return {WEXITSTATUS(status), read(out), read(err), seconds};
}

TEST(SystemRadioCommandLine, WithoutTheBusOrTheServiceTheProgramSaysSoOnOneLineAtOnce) {
  StandInBus busAlone("{}", false);
  struct Case {
    std::string address;
    const char* says;
  } const cases[] = {{"unix:path=/nonexistent/socket", "cannot reach the system bus"},
                     {busAlone.address(), "the Bluetooth service (org.bluez) is not running"}};
  for (const auto& c : cases) {
    auto r = RunProgram(c.address, TMR_ROAD_SCENARIO);
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(std::ranges::count(r.err, '\n'), 1) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_LT(r.seconds, 3.0);
  }
}

TEST(SystemRadioCommandLine, TheDemoRoadPassesOnTheSystemRadio) {
  StandInBus bus(R"({"devices": [
    {"address": "AA:00:00:00:00:01", "name": "Tivomarsh-Garden", "status": [50, 5, 10, 7, 2]},
    {"address": "AA:00:00:00:00:02", "name": "Tivomarsh-Porch", "status": [80, 2, 20, 3, 4]},
    {"address": "AA:00:00:00:00:03", "name": "Phone"}]})");
  auto r = RunProgram(bus.address(), TMR_ROAD_SCENARIO);
  EXPECT_EQ(r.code, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("passed: 19 expectations held"), std::string::npos) << r.out;
  EXPECT_EQ(bus.takeWrites(), (std::vector<Bytes>{{7, 0}, {1, 3}, {0, 79}, {5, 0}, {6, 0}}));
}

TEST(SystemRadioCommandLine, CommandsThatSteerSimulatedDevicesAreMalformedOnTheSystemRadio) {
  std::ostringstream out;
  ScenarioRunner runner(TivomarshApplication(), out, AppDriver::DefaultAssetsDirectory());
  runner.useRadio(RadioOption::Kind::System);
  EXPECT_EQ(runner.run("tap btnscan\ndevice \"Tivomarsh-A\" D1\nnotify D1 01\n", "s"), ScenarioRunner::kMalformed);
  EXPECT_NE(out.str().find("line 2: device steers the simulated radio's devices"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace tmr
