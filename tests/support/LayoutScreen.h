#pragma once
// A phone screen (375 × 667 points) that loads a layout file written by the test, with the
// application's own registration of custom view classes, and an owner module whose fields the
// layout's views land in and whose subs hear their events. It keeps the log lines, renders what
// the screen shows, reads pixels, and touches views with a finger. The test folders add their
// own owners and the helpers only they need on top of it.
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/TivomarshApplication.h"
#include "platform/core/Runtime.h"
#include "platform/driver/Finger.h"
#include "platform/graphics/Bitmap.h"
#include "platform/layout/FieldTable.h"
#include "platform/layout/LayoutLoader.h"
#include "platform/views/LayoutValues.h"
#include "platform/views/TouchInput.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewRenderer.h"
#include "platform/views/ViewSystem.h"
#include "tests/support/OwnerModule.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

// A folder of its own, removed with everything in it (also when loading the layout fails).
struct ScratchFolder {
  ScratchFolder() {
    static std::atomic<int> serial{0};
    path = std::filesystem::temp_directory_path() /
           ("tmr-layoutscreen-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(path / "layouts");
  }
  ~ScratchFolder() { std::filesystem::remove_all(path); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::filesystem::path path;
};

// How the screen is set up before its layout loads, e.g. LayoutScreenSetup().withScale(2).
struct LayoutScreenSetup {
  LayoutScreenSetup& withColor(std::string argb) {
    color = std::move(argb);
    return *this;
  }
  LayoutScreenSetup& withScale(float pixelsPerPoint) {
    scale = pixelsPerPoint;
    return *this;
  }
  LayoutScreenSetup& withoutViewsUtils() {
    viewsUtils = false;
    return *this;
  }
  LayoutScreenSetup& withPrepare(std::function<void(Runtime&)> f) {
    prepare = std::move(f);
    return *this;
  }

  std::string color;                      // the layout's background ("#AARRGGBB"); empty: none
  float scale = 0;                        // pixels per point; 0 keeps the runtime's own
  bool viewsUtils = true;                 // initialise tm_viewsutils first, as the application's start does
  std::function<void(Runtime&)> prepare;  // runs before the layout loads (e.g. to set up services)
};

// Owner: an OwnerModule (or any ClassModule with LayoutFields and `void _initialize(Runtime&)`).
template <class Owner>
struct LayoutScreen {
  // Loads the views (the "views" of a layout file) as the layout "screen" on the screen panel.
  explicit LayoutScreen(const std::string& views, const LayoutScreenSetup& setup = LayoutScreenSetup()) {
    const auto& dir = folder.path;
    std::ofstream(dir / "layouts" / "screen.layout")
        << R"({"width": 375, "height": 667, )" << (setup.color.empty() ? "" : R"("color": ")" + setup.color + R"(", )")
        << R"("views": [)" << views << "]}";
    rt.setLogSink([this](std::string_view line) { log.emplace_back(line); });
    if (setup.scale > 0) LayoutValues::GetDeviceLayoutValues(rt).setNonnormalizedScale(setup.scale);
    if (setup.prepare) setup.prepare(rt);
    LayoutLoader::Install(rt, dir);
    TivomarshApplication().registerClasses(rt);
    if (setup.viewsUtils) rt.codeModule<tm_viewsutils>()->initializeModule();
    owner->_initialize(rt);
    screen = UiLayer().CreatePanel(owner->bi, "");
    screen.native()->setFrame(Frame{0, 0, ViewSystem::kScreenWidth, ViewSystem::kScreenHeight});
    screen.LoadLayout("screen", owner->bi);
  }
  LayoutScreen(const LayoutScreen&) = delete;
  LayoutScreen& operator=(const LayoutScreen&) = delete;

  // The screen as it shows now, one pixel per point. TMR_SAVE_PICTURES=<folder> keeps it as
  // <name>.png to look at.
  std::shared_ptr<Bitmap> picture(const std::string& name = "") {
    auto pic = ViewRenderer(rt).render(*screen.native(), 1);
    if (const char* keep = std::getenv("TMR_SAVE_PICTURES"); keep && !name.empty())
      pic->WritePng(std::string(keep) + "/" + name + ".png");
    return pic;
  }
  // A finger in the screen's coordinates (nothing posted runs meanwhile).
  Finger hand() { return Finger(rt, screen); }
  // A finger down and up at the centre of the view; runs nothing posted. Returns the view hit.
  std::shared_ptr<ViewObject> tap(const View& view) {
    Frame f;
    if (!TouchInput::frameIn(*view.native(), *screen.native(), f)) throw std::logic_error("view not on screen");
    auto& touches = ViewSystem::of(rt).touches();
    auto hit = touches.down(screen.native(), f.centerX(), f.centerY());
    touches.up();
    return hit;
  }
  void wait(int64_t ms) { rt.loop().advance(ms); }
  void nextTurn() { rt.loop().runOneTurn(); }
  int64_t now() const { return rt.Now(); }
  // What an EventOwner heard, without the times.
  std::vector<std::string> heard() const { return WhatWasHeard(owner->events); }

  ScratchFolder folder;
  std::vector<std::string> log;  // before the runtime: it logs while it shuts down
  Runtime rt;
  std::shared_ptr<Owner> owner = std::make_shared<Owner>();
  View screen;
};

// A pixel of a picture as ARGB (premultiplied; the same as straight for opaque pixels).
inline uint32_t ArgbAt(const Bitmap& b, int x, int y) {
  const uint8_t* p =
      &b.pixels()[(static_cast<size_t>(y) * static_cast<size_t>(b.pixelWidth()) + static_cast<size_t>(x)) * 4];
  return (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

}  // namespace tmr
