// The remote's own cost on its two roads, and its memory over many connections. The
// application runs on the virtual clock with the simulated radio, so the radio's latencies
// (a few virtual milliseconds) cost nothing: what is timed is the CPU work of the program and
// of the platform layer under it (touch handling, the selector, the event dispatch, the BLE
// manager and the simulated link).
//
//   TouchToDevice     a tap on an arrow until the device has received the command
//   NotifyToScreen    a status notification until the five selectors show it
//   ConnectCycles     10,000 rounds of scan, pick, connect, set-up, an arrow tapped, a status
//                     notified and disconnect, with the write and haptic records left alone as
//                     the window leaves them; the counters give the heap in use after the first
//                     100 rounds and after all of them, and the run fails if it grew by 10 bytes
//                     a round or more
//   FrameWhole        the whole main screen (connected, every selector showing a value) drawn at
//                     2 pixels a point, as the window draws it on each refresh
//   FrameLabelChanged one selector's value changed by a status notification, then the screen
//                     drawn again
//   LayoutRefused     a layout of 8,000 views refused at its first: its 32,000 numbers too large
//                     for a double (/1), or ordinary with a key no view takes (/0); both should
//                     cost one reading of the file
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/TivomarshApplication.h"
#include "platform/ble/SimulatedDevice.h"
#include "platform/ble/SimulatedRadio.h"
#include "platform/driver/AppDriver.h"
#include "platform/graphics/Bitmap.h"
#include "platform/layout/LayoutError.h"
#include "tests/support/LayoutScreen.h"

namespace tmr {
namespace {

// The application with one device, connected and set up.
struct Connected {
  AppDriver app{TivomarshApplication()};
  std::shared_ptr<SimulatedDevice> device;
  int64_t linkMs = 0;

  Connected() {
    app.start();
    device = app.radio().addDevice("Tivomarsh-A", "D1");
    linkMs = app.radio().timings().linkMs;
    connect();
  }
  void connect() {
    app.tap("btnscan");
    app.wait(5000);
    app.pick("Tivomarsh-A");
    app.wait(100);
  }
  // Drops what the logs have gathered, so that long runs keep a steady size.
  void forget() {
    app.radio().takeWrites();
    device->clearReceived();
    app.clearLog();
  }
};

size_t HeapInUse() { return mallinfo2().uordblks; }
// Bytes the heap may grow by per connection cycle, on average after the first 100.
constexpr double kMaxGrowthPerCycle = 10;

void TouchToDevice(benchmark::State& state) {
  Connected c;
  c.forget();
  bool up = true;
  for (auto _ : state) {
    c.app.tap(up ? "pmbarks.plus" : "pmbarks.minus");
    c.app.wait(c.linkMs);
    state.PauseTiming();
    if (c.device->received().size() != 1) state.SkipWithError("the device did not receive the command");
    c.app.wait(c.linkMs);  // the device's status comes back
    c.forget();
    up = !up;
    state.ResumeTiming();
  }
}
BENCHMARK(TouchToDevice);

void NotifyToScreen(benchmark::State& state) {
  Connected c;
  const std::vector<std::vector<uint8_t>> statuses{{0x40, 3, 4, 0x0E, 1}, {0x0A, 2, 0x1E, 5, 7}};
  const char* const shown[] = {"64", "10"};
  size_t i = 0;
  for (auto _ : state) {
    c.device->notify(statuses[i % 2]);
    c.app.wait(c.linkMs);
    state.PauseTiming();
    if (c.app.stateOf("pmsensitivity").text.str() != shown[i % 2]) state.SkipWithError("the status was not shown");
    ++i;
    state.ResumeTiming();
  }
}
BENCHMARK(NotifyToScreen);

void ConnectCycles(benchmark::State& state) {
  const int cycles = static_cast<int>(state.range(0));
  constexpr int kWarmUp = 100;
  size_t afterWarmUp = 0;
  size_t atEnd = 0;
  double perCycle = 0;
  const std::vector<std::vector<uint8_t>> statuses{{0x40, 3, 4, 0x0E, 1}, {0x0A, 2, 0x1E, 5, 7}};
  for (auto _ : state) {
    Connected c;
    c.app.tap("btnconnected");
    c.app.wait(20);
    for (int n = 1; n <= cycles; ++n) {
      c.connect();
      c.app.tap("pmbarks.plus");  // a haptic tap and a command written
      c.app.wait(c.linkMs * 2);
      c.device->notify(statuses[static_cast<size_t>(n) % 2]);
      c.app.wait(c.linkMs);
      c.app.tap("btnconnected");
      c.app.wait(20);
      // The records of the radio, the device and the haptic engine are left alone, as in the
      // window, where nothing reads them; only the driver's own log lines are dropped, as a
      // scenario run takes them when it prints them.
      c.app.clearLog();
      if (n == kWarmUp) afterWarmUp = HeapInUse();
    }
    atEnd = HeapInUse();
    if (!c.app.stateOf("btnscan").visible) state.SkipWithError("the last cycle did not end idle");
    // A round that kept anything (a view tree, a coroutine, a write, a haptic call) would add
    // tens of bytes or more each time; what is left is the allocator's own rounding.
    perCycle = (static_cast<double>(atEnd) - static_cast<double>(afterWarmUp)) / (cycles - kWarmUp);
    if (perCycle >= kMaxGrowthPerCycle)
      state.SkipWithError(("the heap grew by " + std::to_string(perCycle) + " bytes a cycle").c_str());
  }
  state.counters["heap_after_100"] = static_cast<double>(afterWarmUp);
  state.counters["heap_at_end"] = static_cast<double>(atEnd);
  state.counters["heap_growth"] = static_cast<double>(atEnd) - static_cast<double>(afterWarmUp);
  state.counters["growth_per_cycle"] = perCycle;
  state.counters["cycles_per_s"] = benchmark::Counter(
      static_cast<double>(cycles) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(ConnectCycles)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

void FrameWhole(benchmark::State& state) {
  Connected c;
  for (auto _ : state) benchmark::DoNotOptimize(c.app.screenshot(2));
  auto shot = c.app.screenshot(2);
  state.counters["pixels"] = static_cast<double>(shot->pixelWidth()) * shot->pixelHeight();
}
BENCHMARK(FrameWhole)->Unit(benchmark::kMillisecond);

void FrameLabelChanged(benchmark::State& state) {
  Connected c;
  const std::vector<std::vector<uint8_t>> statuses{{0x40, 3, 4, 0x0E, 1}, {0x41, 3, 4, 0x0E, 1}};
  size_t i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    c.device->notify(statuses[i++ % 2]);
    c.app.wait(c.linkMs);
    state.ResumeTiming();
    benchmark::DoNotOptimize(c.app.screenshot(2));
  }
}
BENCHMARK(FrameLabelChanged)->Unit(benchmark::kMillisecond);

void LayoutRefused(benchmark::State& state) {
  const bool huge = state.range(0) != 0;
  std::string json = R"({"width": 375, "height": 667, "views": [)";
  for (int i = 0; i < 8000; ++i) {
    json += std::string(i ? "," : "") + R"({"type": "Label", "name": "v)" + std::to_string(i) + R"(", "frame": )" +
            (huge ? "[1e999, -1e999, 1e999, 1e999]" : "[1, 2, 3, 4]") + (i == 0 && !huge ? R"(, "x": 0)" : "") + "}";
  }
  json += "]}";
  ScratchFolder folder;
  std::ofstream(folder.path / "layouts" / "many.layout") << json;
  Runtime rt;
  LayoutLoader::Install(rt, folder.path);
  auto owner = std::make_shared<OwnerModule>();
  owner->_initialize(rt);
  View panel = UiLayer().CreatePanel(owner->bi, "");
  for (auto _ : state) {
    try {
      panel.LoadLayout("many", owner->bi);
      state.SkipWithError("the layout loaded");
    } catch (const LayoutError&) {
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * json.size()));
}
BENCHMARK(LayoutRefused)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tmr

BENCHMARK_MAIN();
