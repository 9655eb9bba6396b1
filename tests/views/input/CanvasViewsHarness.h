#pragma once
// A phone screen that loads a layout of seek bars and breadcrumb bars with the application's own
// registration of custom view classes, an owner module that records the events it hears (with
// the clock's time), and a finger.
#include <memory>
#include <string>
#include <vector>

#include "platform/driver/Finger.h"
#include "platform/layout/FieldTable.h"
#include "tests/support/LayoutScreen.h"
#include "views/input/tm_breadcrumb.h"
#include "views/input/tm_seekbar.h"

namespace tmr {

class CanvasViewsOwner : public EventOwner {
 public:
  const SubTable& subTable() const override {
    static const SubTable table{
        sub<&CanvasViewsOwner::_sb1_valuechanged>("_sb1_valuechanged:"),
        sub<&CanvasViewsOwner::_sb1_touchstatechanged>("_sb1_touchstatechanged:"),
        sub<&CanvasViewsOwner::_bb1_crumbclick>("_bb1_crumbclick:"),
    };
    return table;
  }
  const FieldTable& fieldTable() const override {
    static const FieldTable table{field<&CanvasViewsOwner::sb1>("sb1"), field<&CanvasViewsOwner::sbquiet>("sbquiet"),
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
};

struct CanvasViewsScreen : LayoutScreen<CanvasViewsOwner> {
  explicit CanvasViewsScreen(const std::string& views)
      : LayoutScreen(views), finger(std::make_unique<Finger>(rt, screen)) {}
  ~CanvasViewsScreen() {
    // The views live on in their base panels' Tags until the runtime shuts down, after the font
    // library has gone: their canvases must not hold text drawing state that long.
    for (const auto& v : {owner->sb1, owner->sbquiet}) {
      if (v && v->cvs.IsInitialized()) v->cvs.Release();
    }
    if (owner->bb1 && owner->bb1->cvs.IsInitialized()) owner->bb1->cvs.Release();
  }
  CanvasViewsScreen(const CanvasViewsScreen&) = delete;
  CanvasViewsScreen& operator=(const CanvasViewsScreen&) = delete;

  std::unique_ptr<Finger> finger;  // on the screen
};

}  // namespace tmr
