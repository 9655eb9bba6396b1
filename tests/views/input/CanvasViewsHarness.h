#pragma once
// A phone screen that loads a layout of seek bars and breadcrumb bars with the application's own
// registration of custom view classes, an owner module that records the events it hears (with
// the clock's time), and a finger.
#include <unistd.h>

#include <atomic>
#include <cstdint>
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
#include "platform/testing/Finger.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewSystem.h"
#include "views/input/tm_breadcrumb.h"
#include "views/input/tm_seekbar.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

class CanvasViewsOwner : public ClassModule, public LayoutFields {
 public:
  void _initialize(Runtime& rt) { initializeClassModule(rt); }
  std::string_view className() const override { return "tm_canvasviewsowner"; }
  const SubTable& subTable() const override {
    static const SubTable table{
        sub<&CanvasViewsOwner::_sb1_valuechanged>("_sb1_valuechanged:"),
        sub<&CanvasViewsOwner::_sb1_touchstatechanged>("_sb1_touchstatechanged:"),
        sub<&CanvasViewsOwner::_bb1_crumbclick>("_bb1_crumbclick:"),
    };
    return table;
  }
  const FieldTable& fieldTable() const override {
    static const FieldTable table{field<&CanvasViewsOwner::sb1>("sb1"),
                                  field<&CanvasViewsOwner::sbquiet>("sbquiet"),
                                  field<&CanvasViewsOwner::bb1>("bb1")};
    return table;
  }
  void _sb1_valuechanged(Object v) { heard("value " + v.AsString().str()); }
  void _sb1_touchstatechanged(Object v) { heard("pressed " + v.AsString().str()); }
  void _bb1_crumbclick(Object v) {
    std::string path;
    List items = v.AsList();
    for (int i = 0; i < items.Size(); ++i) path += (i ? "/" : "") + items.Get(i).AsString().str();
    heard("crumbs " + path);
  }

  std::shared_ptr<tm_seekbar> sb1, sbquiet;  // sbquiet's callback has no subs for it
  std::shared_ptr<tm_breadcrumb> bb1;
  std::vector<std::pair<std::string, int64_t>> events;  // what was heard, and when

 private:
  void heard(const std::string& what) { events.emplace_back(what, runtime().Now()); }
};

struct CanvasViewsScreen {
  explicit CanvasViewsScreen(const std::string& views) {
    static std::atomic<int> serial{0};
    dir = std::filesystem::temp_directory_path() /
          ("tmr-canvasviews-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(dir / "layouts");
    std::ofstream(dir / "layouts" / "screen.layout")
        << R"({"width": 375, "height": 667, "views": [)" << views << "]}";
    LayoutLoader::Install(rt, dir);
    TivomarshApplication().registerClasses(rt);
    rt.setLogSink([this](std::string_view line) { log.emplace_back(line); });
    rt.codeModule<tm_viewsutils>()->initializeModule();
    owner->_initialize(rt);
    screen = UiLayer().CreatePanel(owner->bi, "");
    screen.native()->setFrame(Frame{0, 0, ViewSystem::kScreenWidth, ViewSystem::kScreenHeight});
    try {
      screen.LoadLayout("screen", owner->bi);
    } catch (...) {
      std::filesystem::remove_all(dir);
      throw;
    }
    finger = std::make_unique<Finger>(rt, screen);
  }
  ~CanvasViewsScreen() {
    // The views live on in their base panels' Tags until the runtime shuts down, after the font
    // library has gone: their canvases must not hold text drawing state that long.
    for (const auto& v : {owner->sb1, owner->sbquiet}) {
      if (v && v->cvs.IsInitialized()) v->cvs.Release();
    }
    if (owner->bb1 && owner->bb1->cvs.IsInitialized()) owner->bb1->cvs.Release();
    std::filesystem::remove_all(dir);
  }

  std::vector<std::string> heard() const {
    std::vector<std::string> out;
    for (const auto& e : owner->events) out.push_back(e.first);
    return out;
  }
  void nextTurn() { rt.loop().runOneTurn(); }

  std::filesystem::path dir;
  std::vector<std::string> log;  // before the runtime: it logs while it shuts down
  Runtime rt;
  std::shared_ptr<CanvasViewsOwner> owner = std::make_shared<CanvasViewsOwner>();
  View screen;
  std::unique_ptr<Finger> finger;  // on the screen
};

// A pixel of a bitmap as ARGB (opaque colours read back exactly).
inline uint32_t ArgbAt(const Bitmap& b, int x, int y) {
  auto p = b.pixels().subspan(static_cast<size_t>((y * b.pixelWidth() + x) * 4), 4);
  return static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[0]) << 16 |
         static_cast<uint32_t>(p[1]) << 8 | p[2];
}

}  // namespace tmr
