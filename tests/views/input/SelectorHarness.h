#pragma once
// A plus/minus selector on a small screen, made as a layout makes it, with a callback module
// that records the value events it hears, and a finger to touch its arrows.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Runtime.h"
#include "platform/views/HapticLog.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/TouchInput.h"
#include "platform/views/UiLayer.h"
#include "platform/views/ViewSystem.h"
#include "tests/support/OwnerModule.h"
#include "views/input/tm_plusminus.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

class SelectorOwner : public OwnerModule {
 public:
  std::vector<std::string> events;
  std::function<void()> heard;  // runs after each event is recorded
  void _pm_valuechanged(Object v) {
    events.push_back(v.AsString().str());
    if (heard) heard();
  }
  const SubTable& subTable() const override {
    static const SubTable table{sub<&SelectorOwner::_pm_valuechanged>("_pm_valuechanged:")};
    return table;
  }
};

struct SelectorOptions {
  std::string orientation = "Horizontal";
  bool cyclic = false;
  bool rapid = true;
  bool haptic = false;
};

struct SelectorHarness {
  SelectorHarness() : SelectorHarness(SelectorOptions()) {}
  explicit SelectorHarness(SelectorOptions o) {
    ViewSystem::of(rt);
    rt.codeModule<tm_viewsutils>()->initializeModule();
    owner->_initialize(rt);
    screen = ui.CreatePanel(owner->bi, "");
    screen.native()->setFrame(Frame{0, 0, 320, 200});
    View base = ui.CreatePanel(owner->bi, "");
    screen.AddView(base, 10, 20, 150, 44);
    LabelWrapper label;
    label.Initialize(owner->bi, "");
    label.setTextColor(static_cast<int32_t>(0xFF102030));
    Map props = Map::Of({{Object("Orientation"), Object(o.orientation)},
                         {Object("Cyclic"), Object(o.cyclic)},
                         {Object("Rapid"), Object(o.rapid)},
                         {Object("HapticFeedback"), Object(o.haptic)}});
    pm->_initialize(owner->bi, Object(owner), "pm");
    pm->_designercreateview(base, label, props);
    base.native()->setCustomView(pm);
  }

  std::string text() const { return pm->mainlabel.Text().str(); }
  // A finger down on the centre of the arrow area (true: plus).
  void press(bool plus) {
    View area = plus ? pm->pnlplus : pm->pnlminus;
    Frame f;
    TouchInput::frameIn(*area.native(), *screen.native(), f);
    ViewSystem::of(rt).touches().down(screen.native(), f.centerX(), f.centerY());
  }
  void release() { ViewSystem::of(rt).touches().up(); }
  void tap(bool plus) {
    press(plus);
    release();
  }

  Runtime rt;
  UiLayer ui;
  std::shared_ptr<SelectorOwner> owner = std::make_shared<SelectorOwner>();
  std::shared_ptr<tm_plusminus> pm = std::make_shared<tm_plusminus>();
  View screen;
};

}  // namespace tmr
