#include <gtest/gtest.h>

#include "platform/ble/TivomarshFirmware.h"
#include "tests/platform/ble/BleFixture.h"

namespace tmr {
namespace {

using Status = TivomarshFirmware::Status;

TEST(TivomarshFirmware, CarriesOutEachCommandAndIgnoresEverythingElse) {
  struct Row {
    std::vector<uint8_t> command;
    Status after;
    bool reports;
    int sprays, tones;
  };
  const Status d = TivomarshFirmware::kDefaultSettings;
  const std::vector<Row> rows = {
      {{0, 100}, {100, 3, 4, 14, 1}, true, 0, 0},
      {{1, 10}, {64, 10, 4, 14, 1}, true, 0, 0},
      {{2, 60}, {64, 3, 60, 14, 1}, true, 0, 0},
      {{3, 1}, {64, 3, 4, 1, 1}, true, 0, 0},
      {{4, 200}, {64, 3, 4, 14, 200}, true, 0, 0},
      {{5, 0}, d, false, 1, 0},
      {{6, 0}, d, false, 0, 1},
      {{7, 0}, d, true, 0, 0},
      {{8, 1}, d, false, 0, 0},
      {{255, 1}, d, false, 0, 0},
      {{1}, d, false, 0, 0},
      {{1, 5, 5}, d, false, 0, 0},
      {{}, d, false, 0, 0},
  };
  EXPECT_EQ(d, (Status{64, 3, 4, 14, 1}));
  for (const auto& row : rows) {
    TivomarshFirmware fw;
    auto reported = fw.receive(row.command);
    std::string what = "command of " + std::to_string(row.command.size()) + " bytes" +
                       (row.command.empty() ? "" : " code " + std::to_string(row.command[0]));
    EXPECT_EQ(fw.status(), row.after) << what;
    EXPECT_EQ(reported.has_value(), row.reports) << what;
    if (reported) {
      EXPECT_EQ(*reported, row.after) << what;
    }
    EXPECT_EQ(fw.sprays(), row.sprays) << what;
    EXPECT_EQ(fw.tones(), row.tones) << what;
  }
}

struct SimulatedDeviceTest : BleFixture {};

TEST_F(SimulatedDeviceTest, ADeviceWithoutTheUartServiceListsOnlyTheOthers) {
  auto plain = radio.addDevice("Tivomarsh-P", "ID-P");
  plain->removeService(SimulatedDevice::kUartService);
  connect("ID-P");
  EXPECT_EQ(probe->events.back(), "@1020 connected 1800,180A");
  EXPECT_EQ(ErrorOf([&] { manager->ReadData(kNus); }), "Service not found");
}

TEST_F(SimulatedDeviceTest, GivenSettingsAreReportedAndOnlyWritableCharacteristicsTakeWrites) {
  auto dev = radio.addDevice("Tivomarsh-A", "ID-A");
  dev->firmware().setStatus({10, 2, 30, 5, 7});
  connectUart("ID-A");
  manager->ReadData("1800");
  advance(50);
  mark();
  manager->WriteData("1800", "2A00", Bytes({1, 2}));  // read-only: the device drops it
  manager->WriteData(kNus, kRx, Bytes({7, 0}));
  advance(50);
  EXPECT_EQ(probe->events,
            std::vector<std::string>{"@10 data " + kNus.str() + " " + kRx.str() + "= " + kTx.str() + "=0A021E0507"});
  ASSERT_EQ(dev->received().size(), 1u);
  EXPECT_EQ(dev->received()[0].characteristicId, kRx.str());
  dev->clearReceived();
  EXPECT_TRUE(dev->received().empty());
}

// A device and the radio keep only the latest writes, however long the program runs; the
// radio counts the writes it dropped since they were last taken.
TEST_F(SimulatedDeviceTest, TheWriteRecordsKeepOnlyTheLatestWrites) {
  auto dev = radio.addDevice("Tivomarsh-A", "ID-A");
  connectUart("ID-A");
  const size_t sent = SimulatedRadio::kKeptWrites + 44;
  for (size_t i = 0; i < sent; ++i) {
    manager->WriteData(kNus, kRx, Bytes({static_cast<uint8_t>(i), static_cast<uint8_t>(i >> 8)}));
    advance(1);
  }
  advance(10);
  auto bytes = [](size_t i) { return std::vector<uint8_t>{static_cast<uint8_t>(i), static_cast<uint8_t>(i >> 8)}; };
  ASSERT_EQ(dev->received().size(), SimulatedDevice::kKeptWrites);
  EXPECT_EQ(dev->received().front().bytes, bytes(sent - SimulatedDevice::kKeptWrites));
  EXPECT_EQ(dev->received().back().bytes, bytes(sent - 1));
  EXPECT_EQ(radio.lostWrites(), 44u);
  auto writes = radio.takeWrites();
  ASSERT_EQ(writes.size(), SimulatedRadio::kKeptWrites);
  EXPECT_EQ(writes.front().bytes, bytes(44));
  EXPECT_EQ(writes.back().bytes, bytes(sent - 1));
  EXPECT_EQ(radio.lostWrites(), 0u) << "taking the writes starts the count again";
}

TEST_F(SimulatedDeviceTest, TheWriteLogKeepsTheOrderAcrossDevices) {
  auto a = radio.addDevice("Tivomarsh-A", "ID-A");
  auto b = radio.addDevice("Tivomarsh-B", "ID-B");
  connectUart("ID-A");
  manager->WriteData(kNus, kRx, Bytes({1, 1}));
  advance(10);
  connectUart("ID-B");
  manager->WriteData(kNus, kRx, Bytes({2, 2}));
  advance(10);
  auto writes = radio.takeWrites();
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0].deviceId, "ID-A");
  EXPECT_EQ(writes[0].bytes, (std::vector<uint8_t>{1, 1}));
  EXPECT_EQ(writes[1].deviceId, "ID-B");
  EXPECT_EQ(a->firmware().status()[1], 1);
  EXPECT_EQ(b->firmware().status()[2], 2);
  EXPECT_THROW(radio.addDevice("Again", "ID-A"), std::invalid_argument);
}

}  // namespace
}  // namespace tmr
