#pragma once
// The application on the virtual clock with the simulated radio, driven as a person would:
// devices to find, a tap on Scan, five seconds, a pick from the list, the device's answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/TivomarshApplication.h"
#include "app/tm_main.h"
#include "platform/ble/SimulatedDevice.h"
#include "platform/ble/SimulatedRadio.h"
#include "platform/core/Runtime.h"
#include "platform/driver/AppDriver.h"

namespace tmr {

using Bytes = std::vector<uint8_t>;

struct RemoteFixture : ::testing::Test {
  AppDriver app{TivomarshApplication()};
  std::shared_ptr<tm_main> main;
  SimulatedRadio& radio = app.radio();

  void SetUp() override {
    app.start();
    main = app.mainModule<tm_main>();
    ASSERT_TRUE(main);
  }

  std::shared_ptr<SimulatedDevice> device(const std::string& name, const std::string& id) {
    return radio.addDevice(name, id);
  }
  std::string text(std::string_view name) const { return app.stateOf(name).text.str(); }
  bool visible(std::string_view name) const { return app.stateOf(name).visible; }
  bool enabled(std::string_view name) const { return app.stateOf(name).enabled; }
  std::vector<std::string> listed() const {
    auto s = app.sheet();
    return s ? s->items : std::vector<std::string>{};
  }
  // The five selectors' values, in status order.
  std::vector<std::string> settings() const {
    std::vector<std::string> v;
    for (const char* pm : {"pmsensitivity", "pmbarks", "pmbarktime", "pmsprayduration", "pmtoneduration"})
      v.push_back(text(pm));
    return v;
  }
  // The commands that reached the devices since the last call.
  std::vector<Bytes> writes() {
    std::vector<Bytes> out;
    for (auto& w : radio.takeWrites()) out.push_back(std::move(w.bytes));
    return out;
  }
  bool logged(const std::string& line) const {
    const auto& lines = app.logLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  // Taps Scan and lets the five seconds of the scan pass.
  void scan() {
    app.tap("btnscan");
    app.wait(5000);
  }
  // Scans, picks the device and lets the connection and its set-up run.
  void connect(const std::string& name) {
    scan();
    app.pick(name);
    app.wait(100);
  }
  // The idle screen: Scan can be tapped, the indicator is gone, the controls are off.
  void expectIdle() const {
    EXPECT_TRUE(visible("btnscan"));
    EXPECT_TRUE(enabled("btnscan"));
    EXPECT_FALSE(visible("btndisconnected"));
    EXPECT_FALSE(visible("btnconnected"));
    EXPECT_FALSE(enabled("btnspray"));
    EXPECT_FALSE(enabled("pmbarks.plus"));
    EXPECT_FALSE(app.sheet().has_value());
  }
};

}  // namespace tmr
