#pragma once
// A runtime with the simulated radio, a probe module and a manager initialised on it.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ble/BleManager.h"
#include "platform/ble/SimulatedDevice.h"
#include "platform/ble/SimulatedRadio.h"
#include "platform/core/RuntimeError.h"
#include "tests/platform/ble/BleProbe.h"

namespace tmr {

inline const String kNus{SimulatedDevice::kUartService};
inline const String kRx{SimulatedDevice::kUartReceiveCharacteristic};
inline const String kTx{SimulatedDevice::kUartTransmitCharacteristic};
inline const std::string kNusText{SimulatedDevice::kUartService};

inline ByteArray Bytes(std::vector<uint8_t> b) { return ByteArray(std::span<const uint8_t>(b)); }

// The message of the RuntimeError that f raises, or "no error".
inline std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.what();
  }
  return "no error";
}

struct BleFixture : ::testing::Test {
  Runtime rt;
  std::vector<std::string> log;
  SimulatedRadio& radio = rt.service<SimulatedRadio>();
  std::shared_ptr<BleProbe> probe = BleProbe::Make(rt);
  std::shared_ptr<BleManager> manager = std::make_shared<BleManager>();

  void SetUp() override {
    rt.setLogSink([this](std::string_view line) { log.emplace_back(line); });
    manager->Initialize(probe->bi, "manager");
    rt.loop().runUntilIdle();
    mark();
  }

  // Events from here on, with times counted from now.
  void mark() {
    probe->events.clear();
    probe->senders.clear();
    probe->advertisingData.clear();
    probe->start = rt.Now();
  }
  void advance(int64_t ms) { rt.loop().advance(ms); }

  // Scans long enough to see every device, then stops.
  void scan() {
    manager->Scan2(Object(), false);
    advance(1000);
    manager->StopScan();
  }
  // Scans, connects to id and waits until the services are known.
  void connect(const std::string& id) {
    scan();
    manager->Connect(id);
    advance(radio.timings().connectMs);
  }
  // Connects, discovers the UART service and enables its notifications.
  void connectUart(const std::string& id) {
    connect(id);
    manager->ReadData(kNus);
    advance(50);
    manager->SetNotify(kNus, kTx, true);
    advance(radio.timings().linkMs);
    mark();
  }
};

}  // namespace tmr
