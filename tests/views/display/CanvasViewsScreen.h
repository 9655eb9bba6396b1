#pragma once
// A phone screen that loads a layout of the canvas-drawn display views (loading indicators,
// round sliders, 3D buttons) with the application's own registration of custom view classes,
// an owner module that records the events it hears, a finger in the screen's coordinates, and
// the pictures the views' canvases show.
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/TivomarshApplication.h"
#include "platform/core/Runtime.h"
#include "platform/graphics/Bitmap.h"
#include "platform/layout/FieldTable.h"
#include "platform/layout/LayoutLoader.h"
#include "platform/views/TouchInput.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewRenderer.h"
#include "platform/views/ViewSystem.h"
#include "views/display/tm_button3d.h"
#include "views/display/tm_loadingindicator.h"
#include "views/display/tm_roundslider.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

class CanvasViewsOwner : public ClassModule, public LayoutFields {
 public:
  void _initialize(Runtime& rt) { initializeClassModule(rt); }
  std::string_view className() const override { return "tm_canvasviewsowner"; }
  const SubTable& subTable() const override {
    static const SubTable table{
        sub<&CanvasViewsOwner::_rs1_valuechanged>("_rs1_valuechanged:"),
        sub<&CanvasViewsOwner::_b1_click>("_b1_click"),
        sub<&CanvasViewsOwner::_b1_buttondown>("_b1_buttondown"),
        sub<&CanvasViewsOwner::_b1_buttonup>("_b1_buttonup"),
        sub<&CanvasViewsOwner::_b2_click>("_b2_click"),
    };
    return table;
  }
  const FieldTable& fieldTable() const override {
    static const FieldTable table{field<&CanvasViewsOwner::li1>("li1"), field<&CanvasViewsOwner::rs1>("rs1"),
                                  field<&CanvasViewsOwner::b1>("b1"), field<&CanvasViewsOwner::b2>("b2")};
    return table;
  }
  void _rs1_valuechanged(int32_t v) { events.push_back("rs1:" + std::to_string(v)); }
  void _b1_click() { events.emplace_back("b1 click"); }
  void _b1_buttondown() { events.emplace_back("b1 down"); }
  void _b1_buttonup() { events.emplace_back("b1 up"); }
  void _b2_click() { events.emplace_back("b2 click"); }

  std::shared_ptr<tm_loadingindicator> li1;
  std::shared_ptr<tm_roundslider> rs1;
  std::shared_ptr<tm_button3d> b1, b2;  // b2's callback has only its click
  std::vector<std::string> events;
};

// A folder of its own, removed with everything in it (also when loading the layout fails).
struct CanvasViewsFolder {
  CanvasViewsFolder() {
    static std::atomic<int> serial{0};
    path = std::filesystem::temp_directory_path() /
           ("tmr-canvasviews-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(path / "layouts");
  }
  ~CanvasViewsFolder() { std::filesystem::remove_all(path); }
  std::filesystem::path path;
};

struct CanvasViewsScreen {
  // Loads the views (the "views" of a layout file) on a white 375 × 667 screen.
  explicit CanvasViewsScreen(const std::string& views) {
    const auto& dir = folder.path;
    std::ofstream(dir / "layouts" / "screen.layout")
        << R"({"width": 375, "height": 667, "color": "#FFFFFFFF", "views": [)" << views << "]}";
    LayoutLoader::Install(rt, dir);
    TivomarshApplication().registerClasses(rt);
    rt.setLogSink([this](std::string_view line) { log.emplace_back(line); });
    rt.codeModule<tm_viewsutils>()->initializeModule();
    owner->_initialize(rt);
    screen = UiLayer().CreatePanel(owner->bi, "");
    screen.native()->setFrame(Frame{0, 0, ViewSystem::kScreenWidth, ViewSystem::kScreenHeight});
    screen.LoadLayout("screen", owner->bi);
  }
  // The screen as it shows now, one pixel per point. TMR_SAVE_PICTURES=<folder> keeps it as
  // <name>.png to look at.
  std::shared_ptr<Bitmap> picture(const std::string& name = "") {
    auto pic = ViewRenderer(rt).render(*screen.native(), 1);
    if (const char* keep = std::getenv("TMR_SAVE_PICTURES"); keep && !name.empty())
      pic->WritePng(std::string(keep) + "/" + name + ".png");
    return pic;
  }
  // One finger on the screen, in the screen's coordinates (nothing posted runs meanwhile).
  struct Finger {
    Runtime& rt;
    View screen;
    void pressAt(double x, double y) { ViewSystem::of(rt).touches().down(screen.native(), x, y); }
    void moveTo(double x, double y) { ViewSystem::of(rt).touches().move(x, y); }
    void release() { ViewSystem::of(rt).touches().up(); }
  };
  Finger finger() { return Finger{rt, screen}; }
  void wait(int64_t ms) { rt.loop().advance(ms); }
  void nextTurn() { rt.loop().runOneTurn(); }

  CanvasViewsFolder folder;
  std::vector<std::string> log;  // before the runtime: it logs while it shuts down
  Runtime rt;
  std::shared_ptr<CanvasViewsOwner> owner = std::make_shared<CanvasViewsOwner>();
  View screen;
};

// A pixel of a picture as ARGB (premultiplied).
inline uint32_t ArgbAt(const Bitmap& b, int x, int y) {
  const uint8_t* p =
      &b.pixels()[(static_cast<size_t>(y) * static_cast<size_t>(b.pixelWidth()) + static_cast<size_t>(x)) * 4];
  return (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
}

inline bool SamePicture(const Bitmap& a, const Bitmap& b) {
  return a.pixelWidth() == b.pixelWidth() && a.pixelHeight() == b.pixelHeight() &&
         std::equal(a.pixels().begin(), a.pixels().end(), b.pixels().begin());
}

// What a view's canvas showed when it was last invalidated.
inline std::shared_ptr<Bitmap> Shown(const View& v) { return v.native()->canvasPicture(); }

}  // namespace tmr
