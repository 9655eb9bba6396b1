// Scanning, picking and connecting, as the user does it: Scan, five seconds, the list, a pick,
// the connection and its set-up, the Connected button, and what the radio may do meanwhile.
#include <gtest/gtest.h>

#include "platform/ble/BleBackend.h"
#include "platform/ble/BleHost.h"
#include "platform/ble/BleManager.h"
#include "tests/app/RemoteFixture.h"

namespace tmr {
namespace {

const std::vector<std::string> kStartValues{"64", "3", "4", "14", "1"};
const Bytes kRequest{7, 0};

using ScanTest = RemoteFixture;

TEST_F(ScanTest, TheListComesFiveSecondsAfterScanWithTheIndicatorShownMeanwhile) {
  device("Tivomarsh-A", "D1");
  app.tap("btnscan");
  EXPECT_FALSE(visible("btnscan"));
  EXPECT_TRUE(visible("btndisconnected"));
  EXPECT_FALSE(enabled("btndisconnected"));
  app.wait(4975);
  device("Tivomarsh-B", "D2");  // first seen 20 ms after it appears: within the five seconds
  app.wait(10);
  device("Tivomarsh-C", "D3");  // first seen after the scan has stopped
  app.wait(14);
  EXPECT_FALSE(app.sheet()) << "no list before 5000 ms";
  app.wait(1);
  EXPECT_EQ(listed(), (std::vector<std::string>{"Tivomarsh-A", "Tivomarsh-B"}));
  EXPECT_EQ(app.sheet()->cancel, "Cancel");
  EXPECT_EQ(app.sheet()->title, "");
}

TEST_F(ScanTest, OnlyNamesBeginningWithTivomarshAreListedOnceEachAndThePickConnectsTheIdReportedLast) {
  struct Case {
    const char* name;
    const char* id;
  } const cases[] = {{"Tivomarsh-A", "D1"}, {"tivomarsh-b", "D2"}, {"", "D3"},           {"Phone", "D4"},
                     {"TIVOMARSH", "D5"},   {"Tivomarsh", "D6"},   {" Tivomarsh", "D7"}, {"Tivomarsh-A", "D8"}};
  for (const auto& c : cases) device(c.name, c.id);
  scan();
  EXPECT_EQ(listed(), (std::vector<std::string>{"Tivomarsh-A", "Tivomarsh"})) << "in the order first found";
  app.pick("Tivomarsh-A");
  app.wait(100);
  EXPECT_TRUE(radio.device("D8")->isConnected());
  EXPECT_FALSE(radio.device("D1")->isConnected());
  EXPECT_EQ(settings(), kStartValues);
}

TEST_F(ScanTest, ASecondScanStartsWithAnEmptyList) {
  device("Tivomarsh-A", "D1");
  auto b = device("Tivomarsh-B", "D2");
  scan();
  EXPECT_EQ(listed().size(), 2u);
  app.pick("Cancel");
  b->setAdvertising(false);  // out of range now
  scan();
  EXPECT_EQ(listed(), std::vector<std::string>{"Tivomarsh-A"});
}

TEST_F(ScanTest, NothingFoundOrCancelConnectsNothingAndGivesScanBack) {
  struct Case {
    const char* what;
    const char* device;  // "" for none
    int adapter;
    bool cancel;
  } const cases[] = {
      {"no device at all", "", BleManager::STATE_POWERED_ON, false},
      {"no device with a matching name", "Phone", BleManager::STATE_POWERED_ON, false},
      {"the adapter is off", "Tivomarsh-A", BleManager::STATE_POWERED_OFF, false},
      {"the user cancels", "Tivomarsh-A", BleManager::STATE_POWERED_ON, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    AppDriver fresh{TivomarshApplication()};
    fresh.start();
    if (*c.device) fresh.radio().addDevice(c.device, "D1");
    fresh.radio().setAdapterState(c.adapter);
    fresh.tap("btnscan");
    fresh.wait(5000);
    if (c.cancel) fresh.pick("Cancel");
    fresh.wait(100);
    EXPECT_FALSE(fresh.sheet());
    EXPECT_TRUE(fresh.stateOf("btnscan").visible);
    EXPECT_TRUE(fresh.stateOf("btnscan").enabled);
    EXPECT_FALSE(fresh.stateOf("btndisconnected").visible);
    EXPECT_FALSE(fresh.stateOf("btnspray").enabled);
    if (*c.device) {
      EXPECT_FALSE(fresh.radio().device("D1")->isConnected());
    }
    EXPECT_TRUE(fresh.radio().takeWrites().empty());
  }
}

TEST_F(ScanTest, ThePickerKeepsItsOwnListAndAnEntryWithoutIdConnectsNothing) {
  device("Tivomarsh-A", "D1");
  scan();
  main->founddevices.Clear();  // what a scan started now would do to the devices found
  app.pick("Tivomarsh-A");
  app.wait(100);
  EXPECT_TRUE(radio.device("D1")->isConnected());
  app.tap("btnconnected");

  main->_afterscan(Map::Of({{Object("Tivomarsh-X"), Object()}}));
  app.pick("Tivomarsh-X");
  app.wait(100);
  EXPECT_TRUE(logged("No device to connect to for Tivomarsh-X"));
  expectIdle();
}

TEST_F(ScanTest, TheSetUpRequestsTheSettingsOnceAndShowsTheAnswer) {
  auto d = device("Tivomarsh-A", "D1");
  d->firmware().setStatus({32, 5, 10, 7, 2});
  connect("Tivomarsh-A");
  EXPECT_EQ(writes(), std::vector<Bytes>{kRequest}) << "setting the selectors at start-up wrote nothing";
  EXPECT_EQ(settings(), (std::vector<std::string>{"32", "5", "10", "7", "2"}));
  EXPECT_TRUE(main->connected);
  EXPECT_EQ(main->connectedservices.Size(), 3);
  EXPECT_TRUE(visible("btnconnected"));
  EXPECT_FALSE(visible("btndisconnected"));
  EXPECT_FALSE(visible("btnscan"));
  EXPECT_TRUE(enabled("btnspray"));
  EXPECT_TRUE(enabled("pmbarks.plus"));
}

TEST_F(ScanTest, DataOfOtherServicesArrivingFirstDoNotEndTheSetUp) {
  auto d = device("Tivomarsh-A", "D1");
  d->firmware().setStatus({32, 5, 10, 7, 2});
  d->setServiceDelay(SimulatedDevice::kUartService, 40);  // the other services answer first
  connect("Tivomarsh-A");
  EXPECT_EQ(writes(), std::vector<Bytes>{kRequest});
  EXPECT_EQ(settings(), (std::vector<std::string>{"32", "5", "10", "7", "2"}));
  EXPECT_TRUE(d->isNotifying(SimulatedDevice::kUartTransmitCharacteristic));
}

TEST_F(ScanTest, CommandsBeforeTheSetUpHasFinishedAreDroppedWithALogLine) {
  auto d = device("Tivomarsh-A", "D1");
  d->setServiceDelay(SimulatedDevice::kUartService, 200);
  scan();
  app.pick("Tivomarsh-A");
  app.wait(30);
  ASSERT_TRUE(enabled("btnspray")) << "the controls are live once connected";
  app.tap("btnspray");
  app.tap("pmbarks.plus");
  EXPECT_TRUE(logged("Command 05 00 dropped: the device is not ready"));
  EXPECT_TRUE(logged("Command 01 04 dropped: the device is not ready"));
  app.wait(300);
  EXPECT_EQ(writes(), std::vector<Bytes>{kRequest});
  EXPECT_EQ(d->firmware().sprays(), 0);
  EXPECT_EQ(settings(), kStartValues) << "the device's answer shows its own settings again";
}

TEST_F(ScanTest, ADeviceWithoutTheUartServiceIsDisconnected) {
  auto d = device("Tivomarsh-A", "D1");
  d->removeService(SimulatedDevice::kUartService);
  connect("Tivomarsh-A");
  EXPECT_TRUE(logged("The device has no service 6E400001-B5A3-F393-E0A9-E50E24DCCA9E: disconnecting"));
  EXPECT_FALSE(d->isConnected());
  EXPECT_FALSE(main->connected);
  expectIdle();
}

TEST_F(ScanTest, ADeviceWhoseUartServiceLacksACharacteristicIsDisconnected) {
  struct Case {
    const char* name;
    std::string_view missing;
  } const cases[] = {{"Tivomarsh-A", SimulatedDevice::kUartTransmitCharacteristic},
                     {"Tivomarsh-B", SimulatedDevice::kUartReceiveCharacteristic}};
  for (const auto& c : cases) device(c.name, c.name)->removeCharacteristic(SimulatedDevice::kUartService, c.missing);
  for (const auto& c : cases) {
    connect(c.name);
    EXPECT_TRUE(logged("The device has no characteristic " + std::string(c.missing) + ": disconnecting"));
    EXPECT_FALSE(radio.device(c.name)->isConnected());
    EXPECT_FALSE(main->connected);
    expectIdle();
  }
}

TEST_F(ScanTest, TheConnectedButtonShowsTheIdleScreenAtOnceAndTheLaterConfirmationChangesNothing) {
  auto d = device("Tivomarsh-A", "D1");
  connect("Tivomarsh-A");
  app.tap("btnconnected");
  EXPECT_FALSE(d->isConnected());
  EXPECT_FALSE(main->connected);
  expectIdle();
  app.wait(100);
  expectIdle();
  writes();
  connect("Tivomarsh-A");  // and again
  EXPECT_EQ(writes(), std::vector<Bytes>{kRequest});
  EXPECT_TRUE(visible("btnconnected"));
}

TEST_F(ScanTest, AFailedConnectionGivesScanBackAndTheNextAttemptSucceeds) {
  auto d = device("Tivomarsh-A", "D1");
  d->failNextConnection();
  connect("Tivomarsh-A");
  EXPECT_TRUE(visible("btnscan"));
  EXPECT_TRUE(enabled("btnscan"));
  EXPECT_TRUE(visible("btndisconnected")) << "the indicator stays, under Scan";
  EXPECT_FALSE(enabled("btnspray"));
  EXPECT_FALSE(d->isConnected());
  EXPECT_TRUE(writes().empty());
  connect("Tivomarsh-A");
  EXPECT_TRUE(d->isConnected());
  EXPECT_EQ(writes(), std::vector<Bytes>{kRequest});
}

TEST_F(ScanTest, ALostConnectionReturnsToIdleAndStopsAHeldArrow) {
  auto d = device("Tivomarsh-A", "D1");
  connect("Tivomarsh-A");
  writes();
  app.press("pmbarks.plus");  // steps at once, then would repeat after a second
  app.wait(500);
  d->drop();
  app.wait(2000);
  app.release();
  expectIdle();
  EXPECT_FALSE(main->connected);
  EXPECT_EQ(writes(), (std::vector<Bytes>{{1, 4}}));
  EXPECT_EQ(text("pmbarks"), "4");
}

TEST_F(ScanTest, AWriteTheManagerRefusesIsLoggedAndDropped) {
  device("Tivomarsh-A", "D1");
  connect("Tivomarsh-A");
  writes();
  main->manager->Disconnect();  // the link is gone before the screen has heard of it
  app.tap("btntone");
  EXPECT_TRUE(logged("Command 06 00 dropped: No device connected"));
  app.wait(100);
  EXPECT_TRUE(writes().empty());
  expectIdle();
}

TEST_F(ScanTest, TheAdapterStateIsKeptAsCodeAndText) {
  struct Case {
    int state;
    const char* text;
  } const cases[] = {{BleManager::STATE_POWERED_OFF, "POWERED OFF"},
                     {BleManager::STATE_UNAUTHORIZED, "POWERED OFF"},  // no text of its own
                     {BleManager::STATE_UNSUPPORTED, "UNSUPPORTED"},
                     {BleManager::STATE_POWERED_ON, "POWERED ON"}};
  for (const auto& c : cases) {
    radio.setAdapterState(c.state);
    app.wait(1);
    EXPECT_EQ(main->currentstate, c.state);
    EXPECT_EQ(main->currentstatetext.str(), c.text);
  }
}

// A device whose transmit characteristic can also be read and still holds an old status: the
// UART service's first data event then carries values, which the set-up must not show.
class StaleStatusListener : public BleBackend::Listener {
 public:
  StaleStatusListener(std::weak_ptr<BleBackend::Listener> manager, Bytes stale)
      : manager_(std::move(manager)), stale_(std::move(stale)) {}
  void onAdapterState(int state) override {
    if (auto m = manager_.lock()) m->onAdapterState(state);
  }
  void onAdvertisement(const BleBackend::Advertisement& ad) override {
    if (auto m = manager_.lock()) m->onAdvertisement(ad);
  }
  void onConnected(const std::string& id, const std::vector<std::string>& services) override {
    if (auto m = manager_.lock()) m->onConnected(id, services);
  }
  void onDisconnected(const std::string& id) override {
    if (auto m = manager_.lock()) m->onDisconnected(id);
  }
  void onCharacteristics(const std::string& id, const std::string& service,
                         const std::vector<BleBackend::Characteristic>& found) override {
    auto changed = found;
    for (auto& c : changed) {
      if (c.id == SimulatedDevice::kUartTransmitCharacteristic) c.properties |= BleBackend::kRead;
    }
    if (auto m = manager_.lock()) m->onCharacteristics(id, service, changed);
  }
  void onValue(const std::string& id, const std::string& service, const std::string& characteristic,
               const std::vector<uint8_t>& value) override {
    bool read = characteristic == SimulatedDevice::kUartTransmitCharacteristic && value.empty();
    if (auto m = manager_.lock()) m->onValue(id, service, characteristic, read ? stale_ : value);
  }

 private:
  std::weak_ptr<BleBackend::Listener> manager_;
  Bytes stale_;
};

struct StaleStatusTest : RemoteFixture {
  std::shared_ptr<StaleStatusListener> listener;
  void SetUp() override {
    app.runtime().service<BleHost>().setBackendFactory([this](std::weak_ptr<BleBackend::Listener> manager) {
      listener = std::make_shared<StaleStatusListener>(std::move(manager), Bytes{10, 2, 30, 5, 7});
      return radio.openCentral(listener);
    });
    RemoteFixture::SetUp();
  }
};

TEST_F(StaleStatusTest, TheFirstDataEventIsNotShownButTheAnswerToTheRequestIs) {
  auto d = device("Tivomarsh-A", "D1");
  d->firmware().setStatus({32, 5, 10, 7, 2});
  const std::vector<std::string> answer{"32", "5", "10", "7", "2"};
  scan();
  app.pick("Tivomarsh-A");
  for (int ms = 0; ms < 100; ++ms) {
    app.wait(1);
    auto now = settings();
    ASSERT_TRUE(now == kStartValues || now == answer) << "at " << ms << " ms the screen shows " << now[0];
  }
  EXPECT_EQ(settings(), answer);
  EXPECT_EQ(writes(), std::vector<Bytes>{kRequest});
}

}  // namespace
}  // namespace tmr
