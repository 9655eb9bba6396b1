#pragma once
// A phone screen that loads a layout of switches and combo boxes with the application's own
// registration of custom view classes, an owner module that records the events it hears (with
// the clock's time), and a finger to tap views and the buttons of an action sheet.
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/TivomarshApplication.h"
#include "platform/core/Runtime.h"
#include "platform/layout/FieldTable.h"
#include "platform/layout/LayoutLoader.h"
#include "platform/views/ActionSheetObject.h"
#include "platform/views/LayoutValues.h"
#include "platform/views/TouchInput.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewSystem.h"
#include "views/input/tm_combobox.h"
#include "views/input/tm_switch.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

// One event heard: "<view>:<value>" and when.
struct HeardEvent {
  std::string what;
  int64_t at = 0;
  friend bool operator==(const HeardEvent&, const HeardEvent&) = default;
};

class InputViewsOwner : public ClassModule, public LayoutFields {
 public:
  void _initialize(Runtime& rt) { initializeClassModule(rt); }
  std::string_view className() const override { return "tm_inputviewsowner"; }
  const SubTable& subTable() const override {
    static const SubTable table{
        sub<&InputViewsOwner::_sw1_valuechanged>("_sw1_valuechanged:"),
        sub<&InputViewsOwner::_sw2_valuechanged>("_sw2_valuechanged:"),
        sub<&InputViewsOwner::_cb1_selectedindexchanged>("_cb1_selectedindexchanged:"),
    };
    return table;
  }
  const FieldTable& fieldTable() const override {
    static const FieldTable table{field<&InputViewsOwner::sw1>("sw1"), field<&InputViewsOwner::sw2>("sw2"),
                                  field<&InputViewsOwner::swquiet>("swquiet"),
                                  field<&InputViewsOwner::cb1>("cb1"),
                                  field<&InputViewsOwner::cbquiet>("cbquiet")};
    return table;
  }
  void _sw1_valuechanged(Object v) { heard("sw1", v); }
  void _sw2_valuechanged(Object v) { heard("sw2", v); }
  void _cb1_selectedindexchanged(Object v) { heard("cb1", v); }

  std::shared_ptr<tm_switch> sw1, sw2, swquiet;  // swquiet's callback has no sub for it
  std::shared_ptr<tm_combobox> cb1, cbquiet;
  std::vector<HeardEvent> events;

 private:
  void heard(const std::string& view, const Object& v) {
    events.push_back({view + ":" + v.AsString().str(), runtime().Now()});
  }
};

// A folder of its own, removed with everything in it (also when loading the layout fails).
struct ScratchFolder {
  ScratchFolder() {
    static std::atomic<int> serial{0};
    path = std::filesystem::temp_directory_path() /
           ("tmr-inputviews-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(path / "layouts");
  }
  ~ScratchFolder() { std::filesystem::remove_all(path); }
  std::filesystem::path path;
};

struct InputViewsHarness {
  // Loads the layout (the views of a layout file) on a 375 × 667 screen, scale pixels per point.
  explicit InputViewsHarness(const std::string& views, float scale = 2) {
    const auto& dir = folder.path;
    std::ofstream(dir / "layouts" / "screen.layout")
        << R"({"width": 375, "height": 667, "views": [)" << views << "]}";
    LayoutValues::GetDeviceLayoutValues(rt).setNonnormalizedScale(scale);
    LayoutLoader::Install(rt, dir);
    TivomarshApplication().registerClasses(rt);
    rt.setLogSink([this](std::string_view line) { log.emplace_back(line); });
    rt.codeModule<tm_viewsutils>()->initializeModule();
    owner->_initialize(rt);
    screen = UiLayer().CreatePanel(owner->bi, "");
    screen.native()->setFrame(Frame{0, 0, ViewSystem::kScreenWidth, ViewSystem::kScreenHeight});
    screen.LoadLayout("screen", owner->bi);
  }
  // A finger down and up at the centre of the view; returns the view it landed on.
  std::shared_ptr<ViewObject> tap(const View& view) {
    Frame f;
    if (!TouchInput::frameIn(*view.native(), *screen.native(), f))
      throw std::logic_error("view not on screen");
    auto& touches = ViewSystem::of(rt).touches();
    auto hit = touches.down(screen.native(), f.centerX(), f.centerY());
    touches.up();
    return hit;
  }
  // The action sheet shown on the screen, or null.
  std::shared_ptr<ActionSheetObject> sheet() const {
    for (const auto& child : screen.native()->children()) {
      if (auto s = std::dynamic_pointer_cast<ActionSheetObject>(child)) return s;
    }
    return nullptr;
  }
  std::vector<std::string> sheetButtons() const {
    std::vector<std::string> titles;
    if (auto s = sheet()) {
      for (const auto& b : s->buttons()) titles.push_back(b.title.str());
    }
    return titles;
  }
  // Taps the index-th button of the shown sheet (top to bottom, cancel last).
  void pick(size_t index) {
    auto s = sheet();
    if (!s || index >= s->buttons().size()) throw std::logic_error("no such sheet button");
    tap(View(s->buttons()[index].view));
  }
  void wait(int64_t ms) { rt.loop().advance(ms); }
  void nextTurn() { rt.loop().runOneTurn(); }
  int64_t now() const { return rt.Now(); }
  std::vector<std::string> heard() const {
    std::vector<std::string> out;
    for (const auto& e : owner->events) out.push_back(e.what);
    return out;
  }

  ScratchFolder folder;
  std::vector<std::string> log;  // before the runtime: it logs while it shuts down
  Runtime rt;
  std::shared_ptr<InputViewsOwner> owner = std::make_shared<InputViewsOwner>();
  View screen;
};

}  // namespace tmr
