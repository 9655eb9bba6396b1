// Status notifications from a connected device, through the application's handler: any bytes,
// in notifications of any length, reach the screen without harm. The input is a sequence of
// notifications, each a length byte (taken modulo 33) and that many bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/TivomarshApplication.h"
#include "platform/ble/SimulatedDevice.h"
#include "platform/ble/SimulatedRadio.h"
#include "platform/driver/AppDriver.h"

namespace {

// The application connected to one device, as a person connects it.
struct Remote {
  tmr::AppDriver app{tmr::TivomarshApplication()};
  std::shared_ptr<tmr::SimulatedDevice> device;
  Remote() {
    app.start();
    device = app.radio().addDevice("Tivomarsh-Fuzz", "D1");
    app.tap("btnscan");
    app.wait(5000);
    app.pick("Tivomarsh-Fuzz");
    app.wait(100);
    if (!device->isConnected()) std::abort();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One application across inputs, as a real one lives; a new one when the link went (the
  // application may drop a device that talks nonsense).
  static std::unique_ptr<Remote> kept;
  if (!kept || !kept->device->isConnected()) {
    kept.reset();
    kept = std::make_unique<Remote>();
  }
  Remote& remote = *kept;
  size_t i = 0;
  while (i < size) {
    size_t n = data[i++] % 33;
    if (n > size - i) n = size - i;
    std::vector<uint8_t> bytes(data + i, data + i + n);
    i += n;
    remote.device->notify(bytes);
    remote.app.wait(remote.app.radio().timings().linkMs);
  }
  remote.app.wait(50);
  remote.app.clearLog();
  return 0;
}
