#include <gtest/gtest.h>

#include "platform/core/ResumableSub.h"
#include "tests/platform/ble/BleFixture.h"

namespace tmr {
namespace {

using Events = std::vector<std::string>;
const std::string kServices = "connected 1800," + kNusText + ",180A";
const std::string kUartEmpty = "data " + kNusText + " " + kRx.str() + "= " + kTx.str() + "=";
std::string UartData(const std::string& txHex) {
  return "data " + kNusText + " " + kRx.str() + "= " + kTx.str() + "=" + txHex;
}

TEST(BleManagerStart, ReportsTheAdapterStateOnTheTurnAfterInitializeThenEveryChange) {
  Runtime rt;
  rt.setLogSink([](std::string_view) {});
  auto& radio = rt.service<SimulatedRadio>();
  radio.setAdapterState(BleManager::STATE_POWERED_OFF);
  auto probe = BleProbe::Make(rt);
  auto manager = std::make_shared<BleManager>();
  manager->Initialize(probe->bi, "manager");
  EXPECT_TRUE(probe->events.empty()) << "nothing is raised inside Initialize";
  rt.loop().runOneTurn();
  EXPECT_EQ(probe->events, Events{"@0 statechanged 4"});

  for (int state : {BleManager::STATE_POWERED_ON, BleManager::STATE_UNSUPPORTED, BleManager::STATE_UNAUTHORIZED,
                    BleManager::STATE_RESETTING, BleManager::STATE_UNKNOWN, BleManager::STATE_POWERED_OFF}) {
    probe->events.clear();
    radio.setAdapterState(state);
    radio.setAdapterState(state);  // no change, no event
    rt.loop().runUntilIdle();
    EXPECT_EQ(probe->events, Events{"@0 statechanged " + std::to_string(state)});
  }
}

TEST(BleManagerStart, AnUninitialisedManagerRefusesWorkButDisconnectIsHarmless) {
  BleManager manager;
  EXPECT_EQ(ErrorOf([&] { manager.Scan2(Object(), false); }), "Object not initialized (BleManager)");
  EXPECT_EQ(ErrorOf([&] { manager.Connect("ID"); }), "Object not initialized (BleManager)");
  EXPECT_EQ(ErrorOf([&] { manager.WriteData(kNus, kRx, Bytes({7, 0})); }), "Object not initialized (BleManager)");
  EXPECT_EQ(ErrorOf([&] { manager.Disconnect(); }), "no error");
}

struct ScanTest : BleFixture {};

TEST_F(ScanTest, ReportsEachAdvertisingDeviceOnceInTheOrderTheDevicesWereAdded) {
  radio.addDevice("Tivomarsh-A", "ID-A");
  radio.addDevice("", "ID-B");
  radio.addDevice("tivomarsh-c", "ID-C");
  radio.addDevice("Tivomarsh-A", "ID-D")->setRssi(-71.5);
  manager->Scan2(Object(), false);
  advance(5000);
  EXPECT_EQ(probe->events,
            (Events{"@20 devicefound 'Tivomarsh-A' ID-A -60", "@30 devicefound '' ID-B -60",
                    "@40 devicefound 'tivomarsh-c' ID-C -60", "@50 devicefound 'Tivomarsh-A' ID-D -71.5"}));
  for (const auto& s : probe->senders) EXPECT_EQ(s, manager.get()) << "the manager is the sender";

  const Map& a = probe->advertisingData.at(0);
  EXPECT_EQ(a.Get(String("LocalName")), Object("Tivomarsh-A"));
  EXPECT_EQ(a.Get(String("ServiceUUIDs")).AsList().items(), std::vector<Object>{Object(kNus)});
  EXPECT_EQ(a.Get(String("IsConnectable")), Object(true));
  EXPECT_FALSE(probe->advertisingData.at(1).ContainsKey(String("LocalName"))) << "a device without a name";

  manager->StopScan();
  advance(1000);
  EXPECT_EQ(probe->events.size(), 4u) << "nothing after StopScan";
  EXPECT_EQ(rt.loop().timerCount(), 0u) << "a stopped scan leaves no timers";
}

TEST_F(ScanTest, WithDuplicatesAllowedReportsEveryAdvertisement) {
  radio.addDevice("Tivomarsh-A", "ID-A");
  manager->Scan2(Object(), true);
  advance(1000);
  ASSERT_EQ(probe->events.size(), 10u);
  EXPECT_EQ(probe->events[0], "@20 devicefound 'Tivomarsh-A' ID-A -60");
  EXPECT_EQ(probe->events[9], "@920 devicefound 'Tivomarsh-A' ID-A -60");
}

TEST_F(ScanTest, AServiceFilterReportsOnlyDevicesAdvertisingOneOfTheServices) {
  radio.addDevice("Tivomarsh-A", "ID-A");
  radio.addDevice("Other", "ID-E")->removeService(SimulatedDevice::kUartService);
  struct Row {
    Object filter;
    Events found;
  };
  const std::vector<Row> rows = {
      {Object(), {"devicefound 'Tivomarsh-A' ID-A -60", "devicefound 'Other' ID-E -60"}},
      {List::Of({kNus.ToLowerCase()}), {"devicefound 'Tivomarsh-A' ID-A -60"}},
      {List::Of({String("180A")}), {}},
      {List::Of({}), {}},
  };
  for (const auto& row : rows) {
    mark();
    manager->Scan2(row.filter, false);
    advance(1000);
    manager->StopScan();
    Events found;
    for (const auto& e : probe->events) found.push_back(e.substr(e.find(' ') + 1));
    EXPECT_EQ(found, row.found) << row.filter.AsString();
  }
}

TEST_F(ScanTest, ANewScanStartsAfreshAndForgetsTheDevicesOfTheFormerOne) {
  auto a = radio.addDevice("Tivomarsh-A", "ID-A");
  scan();
  scan();
  EXPECT_EQ(probe->events, (Events{"@20 devicefound 'Tivomarsh-A' ID-A -60",  //
                                   "@1020 devicefound 'Tivomarsh-A' ID-A -60"}));
  a->setAdvertising(false);
  mark();
  scan();
  EXPECT_TRUE(probe->events.empty());
  // Not reported by the last scan, so it cannot be connected, even once it is back.
  manager->Connect("ID-A");
  a->setAdvertising(true);
  advance(100);
  EXPECT_EQ(probe->events, Events{"@1000 disconnected"});
  EXPECT_FALSE(a->isConnected());
}

TEST_F(ScanTest, AnAdapterThatIsNotOnFindsNothingAndTurningItOffEndsTheScan) {
  radio.addDevice("Tivomarsh-A", "ID-A");
  radio.addDevice("Tivomarsh-B", "ID-B");
  manager->Scan2(Object(), false);
  advance(25);
  radio.setAdapterState(BleManager::STATE_POWERED_OFF);
  advance(1);
  radio.setAdapterState(BleManager::STATE_POWERED_ON);
  advance(1000);
  EXPECT_EQ(probe->events,
            (Events{"@20 devicefound 'Tivomarsh-A' ID-A -60", "@25 statechanged 4", "@26 statechanged 5"}));
  for (int state : {BleManager::STATE_POWERED_OFF, BleManager::STATE_UNSUPPORTED, BleManager::STATE_UNAUTHORIZED}) {
    radio.setAdapterState(state);
    rt.loop().runUntilIdle();
    mark();
    manager->Scan2(Object(), false);
    advance(1000);
    EXPECT_TRUE(probe->events.empty()) << state;
    radio.setAdapterState(BleManager::STATE_POWERED_ON);
    rt.loop().runUntilIdle();
  }
}

TEST_F(ScanTest, ADeviceThatAppearsDuringTheScanIsReportedShortlyAfter) {
  manager->Scan2(Object(), false);
  advance(500);
  radio.addDevice("Tivomarsh-B", "ID-B");
  advance(1000);
  EXPECT_EQ(probe->events, Events{"@520 devicefound 'Tivomarsh-B' ID-B -60"});
}

struct ConnectTest : BleFixture {
  std::shared_ptr<SimulatedDevice> a = radio.addDevice("Tivomarsh-A", "ID-A");
  std::shared_ptr<SimulatedDevice> b = radio.addDevice("Tivomarsh-B", "ID-B");
};

TEST_F(ConnectTest, ConnectsAndReportsTheServicesInTheDevicesOrder) {
  scan();
  mark();
  manager->Connect("ID-A");
  advance(radio.timings().connectMs - 1);
  EXPECT_TRUE(probe->events.empty());
  advance(1);
  EXPECT_EQ(probe->events, Events{"@20 " + kServices});
  EXPECT_TRUE(a->isConnected());
  EXPECT_FALSE(a->isAdvertising()) << "a connected device stops advertising";
  mark();
  manager->Scan2(Object(), true);
  advance(500);
  manager->StopScan();
  for (const auto& e : probe->events) EXPECT_EQ(e.find("ID-A"), std::string::npos) << e;
}

TEST_F(ConnectTest, ReadDataRaisesOnceAllReadsOfTheServiceAreIn) {
  connect("ID-A");
  mark();
  manager->ReadData("1800");
  manager->ReadData(kNus);
  manager->ReadData("180A");
  advance(100);
  // The UART service has nothing to read: its characteristics are in one link round trip;
  // the others need one more for their reads.
  EXPECT_EQ(probe->events, (Events{"@10 " + kUartEmpty, "@20 data 1800 2A00=5469766F6D617273682D41 2A01=0000",
                                   "@20 data 180A 2A29=5469766F6D61727368 2A24=544D2D31 2A26=312E30"}));
}

TEST_F(ConnectTest, ASlowServiceAnswersLater) {
  a->setServiceDelay(SimulatedDevice::kUartService, 20);
  connect("ID-A");
  mark();
  manager->ReadData("1800");
  manager->ReadData(kNus);
  advance(100);
  ASSERT_EQ(probe->events.size(), 2u);
  EXPECT_EQ(probe->events[0].substr(0, 13), "@20 data 1800");
  EXPECT_EQ(probe->events[1], "@30 " + kUartEmpty);
}

// A coroutine of the probe that waits for the manager's data event, as the app's set-up does.
class ResumableSub_bleprobe_SetUp : public ResumableSub {
 public:
  using ResumableSub::ResumableSub;
  std::string took;

 protected:
  SubBody body() override {
    auto args = co_await WaitFor("manager_dataavailable::");
    took = args.at(0).AsString().str() + " " + DescribeValues(args.at(1).AsMap());
  }
};

TEST_F(ConnectTest, ACoroutineWaitingForTheDataEventTakesItInsteadOfTheHandler) {
  connect("ID-A");
  mark();
  auto rs = std::make_shared<ResumableSub_bleprobe_SetUp>(probe);
  rs->start();
  manager->ReadData("1800");
  manager->ReadData(kNus);
  advance(100);
  EXPECT_TRUE(rs->finished());
  EXPECT_EQ(rs->took, kUartEmpty.substr(5));
  ASSERT_EQ(probe->events.size(), 1u);
  EXPECT_EQ(probe->events[0].substr(0, 13), "@20 data 1800") << "the next event reaches the handler";
}

TEST_F(ConnectTest, MisuseRaisesTheRuntimesMessagesAtEveryStage) {
  const std::string noDevice = "No device connected";
  const std::string readFirst = "You must first call ReadData and wait for DataAvailable event.";
  struct Op {
    const char* name;
    std::function<void()> run;
  };
  const std::vector<Op> ops = {
      {"ReadData unknown", [&] { manager->ReadData("1234"); }},
      {"SetNotify tx", [&] { manager->SetNotify(kNus, kTx, true); }},
      {"SetNotify unknown service", [&] { manager->SetNotify("1234", kTx, true); }},
      {"SetNotify unknown characteristic",
       [&] { manager->SetNotify(kNus, "6E400009-B5A3-F393-E0A9-E50E24DCCA9E", true); }},
      {"WriteData rx",
       [&] {
         manager->WriteData(kNus, kRx, Bytes({7, 0}));
       }},
      {"WriteData unknown service",
       [&] {
         manager->WriteData("1234", kRx, Bytes({7, 0}));
       }},
      {"WriteData other service's characteristic",
       [&] {
         manager->WriteData(kNus, "2a00", Bytes({7, 0}));
       }},
      {"WriteData undiscovered service",
       [&] {
         manager->WriteData("180A", "2A29", Bytes({7, 0}));
       }},
  };
  auto check = [&](const char* stage, const std::vector<std::string>& expected) {
    ASSERT_EQ(expected.size(), ops.size());
    for (size_t i = 0; i < ops.size(); ++i) EXPECT_EQ(ErrorOf(ops[i].run), expected[i]) << stage << ": " << ops[i].name;
  };
  const std::vector<std::string> allNoDevice(ops.size(), noDevice);

  check("before any connection", allNoDevice);
  scan();
  manager->Connect("ID-A");
  check("connecting", allNoDevice);
  advance(radio.timings().connectMs);
  check("connected", {"Service not found", readFirst, "Service not found", readFirst, readFirst, "Service not found",
                      readFirst, readFirst});
  manager->ReadData(kNus);
  advance(50);
  check("after ReadData", {"Service not found", "no error", "Service not found",
                           "Characteristic not found: 6E400009-B5A3-F393-E0A9-E50E24DCCA9E", "no error",
                           "Service not found", "Characteristic not found: 2a00", readFirst});
  manager->Disconnect();
  check("after Disconnect", allNoDevice);
}

TEST_F(ConnectTest, CommandsReachTheDeviceAndItsStatusComesBackAsData) {
  connectUart("ID-A");
  manager->WriteData(kNus, kRx, Bytes({7, 0}));
  advance(radio.timings().linkMs);
  ASSERT_EQ(a->received().size(), 1u);
  EXPECT_EQ(a->received()[0].bytes, (std::vector<uint8_t>{7, 0}));
  EXPECT_TRUE(probe->events.empty());
  advance(radio.timings().linkMs);
  EXPECT_EQ(probe->events, Events{"@10 " + UartData("4003040E01")});

  manager->WriteData(kNus, kRx, Bytes({1, 5}));
  manager->WriteData(kNus, kRx, Bytes({5, 0}));
  advance(20);
  EXPECT_EQ(probe->events.back(), "@20 " + UartData("4005040E01"));
  EXPECT_EQ(a->firmware().sprays(), 1);
  auto writes = radio.takeWrites();
  ASSERT_EQ(writes.size(), 3u);
  EXPECT_EQ(writes[2].deviceId, "ID-A");
  EXPECT_EQ(writes[2].characteristicId, kRx.str());
  EXPECT_EQ(writes[2].bytes, (std::vector<uint8_t>{5, 0}));
  EXPECT_TRUE(radio.takeWrites().empty()) << "taking the writes empties the log";
}

TEST_F(ConnectTest, TheDeviceNotifiesOnlyWhileTheCentralHasNotificationsOn) {
  connect("ID-A");
  manager->ReadData(kNus);
  advance(50);
  mark();
  manager->WriteData(kNus, kRx, Bytes({1, 7}));
  advance(50);
  EXPECT_EQ(a->firmware().status()[1], 7) << "the command is carried out";
  EXPECT_TRUE(probe->events.empty()) << "but its status is not notified";
  EXPECT_FALSE(a->notify(std::vector<uint8_t>{1, 2, 3}));

  manager->SetNotify(kNus, kTx, true);
  advance(5);
  EXPECT_TRUE(a->isNotifying(kTx.str()));
  EXPECT_TRUE(a->notify(std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
  advance(5);
  EXPECT_EQ(probe->events, Events{"@60 " + UartData("010203040506")});

  manager->SetNotify(kNus, kTx, false);
  advance(5);
  manager->WriteData(kNus, kRx, Bytes({7, 0}));
  advance(50);
  EXPECT_EQ(probe->events.size(), 1u);
  EXPECT_FALSE(a->notify(std::vector<uint8_t>{1}));
}

TEST_F(ConnectTest, EachWriteCarriesTheBytesAsTheyWereAtTheCall) {
  connectUart("ID-A");
  ByteArray command = Bytes({1, 3});
  manager->WriteData(kNus, kRx, command);
  command.Set(1, 9);
  manager->WriteData(kNus, kRx, command);
  command.Set(0, 4);
  advance(20);
  ASSERT_EQ(a->received().size(), 2u);
  EXPECT_EQ(a->received()[0].bytes, (std::vector<uint8_t>{1, 3}));
  EXPECT_EQ(a->received()[1].bytes, (std::vector<uint8_t>{1, 9}));
}

TEST_F(ConnectTest, IdsAreMatchedWhateverTheirCaseAndReportedInUpperCase) {
  connect("ID-A");
  mark();
  manager->ReadData(kNus.ToLowerCase());
  advance(10);
  manager->SetNotify(kNus.ToLowerCase(), kTx.ToLowerCase(), true);
  manager->WriteData(kNus.ToLowerCase(), kRx.ToLowerCase(), Bytes({7, 0}));
  advance(10);
  EXPECT_EQ(probe->events, (Events{"@10 " + kUartEmpty, "@20 " + UartData("4003040E01")}));
}

TEST_F(ConnectTest, ADroppedConnectionIsReportedAndTheDeviceAdvertisesAgain) {
  connectUart("ID-A");
  EXPECT_TRUE(a->drop());
  EXPECT_FALSE(a->drop()) << "nothing left to drop";
  advance(radio.timings().linkMs);
  EXPECT_EQ(probe->events, Events{"@5 disconnected"});
  EXPECT_EQ(ErrorOf([&] { manager->WriteData(kNus, kRx, Bytes({7, 0})); }), "No device connected");
  EXPECT_FALSE(a->isNotifying(kTx.str()));
  mark();
  connect("ID-A");
  EXPECT_EQ(probe->events.back(), "@1020 " + kServices) << "it can be found and connected again";
}

TEST_F(ConnectTest, AFailedAttemptIsReportedAsADisconnectionAndTheNextOneSucceeds) {
  struct Row {
    const char* fault;
    std::function<void()> arm;
  };
  const std::vector<Row> rows = {{"connection", [&] { a->failNextConnection(); }},
                                 {"service discovery", [&] { a->failNextServiceDiscovery(); }}};
  for (const auto& row : rows) {
    scan();
    row.arm();
    mark();
    manager->Connect("ID-A");
    advance(100);
    EXPECT_EQ(probe->events, Events{"@20 disconnected"}) << row.fault;
    EXPECT_FALSE(a->isConnected());
    manager->Connect("ID-A");
    advance(100);
    EXPECT_EQ(probe->events.back(), "@120 " + kServices) << row.fault;
    manager->Disconnect();
    advance(100);
  }
}

TEST_F(ConnectTest, DisconnectReleasesTheDeviceAtOnceAndIsConfirmedOnceLater) {
  connectUart("ID-A");
  manager->Disconnect();
  EXPECT_TRUE(probe->events.empty()) << "Disconnect raises nothing itself";
  EXPECT_FALSE(a->isConnected());
  manager->Disconnect();
  advance(100);
  EXPECT_EQ(probe->events, Events{"@5 disconnected"});
  mark();
  manager->Disconnect();
  advance(100);
  EXPECT_TRUE(probe->events.empty()) << "nothing to disconnect";
}

TEST_F(ConnectTest, DisconnectCancelsAPendingConnection) {
  scan();
  mark();
  manager->Connect("ID-A");
  advance(10);
  manager->Disconnect();
  advance(100);
  EXPECT_EQ(probe->events, Events{"@15 disconnected"});
  EXPECT_FALSE(a->isConnected());
}

TEST_F(ConnectTest, AConnectionWaitsWithoutTimeOutForADeviceOutOfRange) {
  scan();
  a->setAdvertising(false);
  mark();
  manager->Connect("ID-A");
  advance(600000);
  EXPECT_TRUE(probe->events.empty());
  a->setAdvertising(true);
  advance(radio.timings().connectMs);
  EXPECT_EQ(probe->events, Events{"@600020 " + kServices});
}

TEST_F(ConnectTest, TurningTheAdapterOffEndsTheConnectionAfterReportingTheState) {
  connectUart("ID-A");
  radio.setAdapterState(BleManager::STATE_POWERED_OFF);
  rt.loop().runUntilIdle();
  EXPECT_EQ(probe->events, (Events{"@0 statechanged 4", "@0 disconnected"}));
  EXPECT_FALSE(a->isConnected());
  mark();
  manager->Connect("ID-A");
  advance(100);
  EXPECT_EQ(probe->events, Events{"@20 disconnected"}) << "no connection while the adapter is off";
  radio.setAdapterState(BleManager::STATE_POWERED_ON);
  rt.loop().runUntilIdle();
  manager->Connect("ID-A");
  advance(100);
  EXPECT_EQ(probe->events.back(), "@120 " + kServices);
}

TEST_F(ConnectTest, ADeviceTheLastScanDidNotReportCannotBeConnected) {
  scan();
  auto late = radio.addDevice("Tivomarsh-L", "ID-L");
  mark();
  manager->Connect("ID-L");
  rt.loop().runOneTurn();
  EXPECT_EQ(probe->events, Events{"@0 disconnected"});
  manager->Connect("NO-SUCH-ID");
  manager->Disconnect();
  advance(100);
  EXPECT_EQ(probe->events.size(), 2u) << "a cancelled failure is still confirmed, once";
  EXPECT_FALSE(late->isConnected());
}

TEST_F(ConnectTest, ConnectingToAnotherDeviceReleasesTheFormerWithoutAnEvent) {
  connect("ID-A");
  mark();
  manager->Connect("ID-B");
  EXPECT_FALSE(a->isConnected());
  advance(100);
  EXPECT_EQ(probe->events, Events{"@20 " + kServices});
  EXPECT_TRUE(b->isConnected());
  mark();
  manager->Connect("ID-B");
  advance(100);
  EXPECT_EQ(probe->events, Events{"@20 " + kServices}) << "connecting the same device again starts afresh";
}

TEST_F(ConnectTest, RepeatedCyclesGiveTheSameEventsAndLeaveNothingBehind) {
  Events first;
  for (int cycle = 0; cycle < 3; ++cycle) {
    connectUart("ID-A");
    manager->WriteData(kNus, kRx, Bytes({7, 0}));
    advance(10);
    manager->Disconnect();
    advance(10);
    if (cycle == 0) first = probe->events;
    EXPECT_EQ(probe->events, first) << "cycle " << cycle;
  }
  EXPECT_EQ(first, (Events{"@10 " + UartData("4003040E01"), "@15 disconnected"}));
  EXPECT_EQ(a->received().size(), 3u);
  EXPECT_EQ(rt.loop().timerCount(), 0u);
}

TEST_F(ConnectTest, ReleasingTheManagerReleasesItsDeviceAndItsScan) {
  connect("ID-A");
  manager->Scan2(Object(), true);
  mark();
  manager.reset();
  EXPECT_FALSE(a->isConnected());
  EXPECT_TRUE(a->isAdvertising());
  EXPECT_EQ(rt.loop().timerCount(), 0u);
  advance(1000);
  EXPECT_TRUE(probe->events.empty());
}

TEST_F(ConnectTest, AHandlerMayReleaseTheManagerWhileItRaises) {
  scan();
  probe->onEvent = [&](const std::string& text) {
    if (text.starts_with("connected")) manager.reset();
  };
  manager->Connect("ID-A");
  advance(100);
  EXPECT_EQ(manager, nullptr);
  EXPECT_FALSE(a->isConnected());
}

}  // namespace
}  // namespace tmr
