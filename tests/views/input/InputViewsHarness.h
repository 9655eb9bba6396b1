#pragma once
// A phone screen that loads a layout of switches and combo boxes with the application's own
// registration of custom view classes, an owner module that records the events it hears (with
// the clock's time), and a finger to tap views and the buttons of an action sheet.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/layout/FieldTable.h"
#include "platform/views/ActionSheetObject.h"
#include "tests/support/LayoutScreen.h"
#include "views/input/tm_combobox.h"
#include "views/input/tm_switch.h"

namespace tmr {

class InputViewsOwner : public EventOwner {
 public:
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
                                  field<&InputViewsOwner::swquiet>("swquiet"), field<&InputViewsOwner::cb1>("cb1"),
                                  field<&InputViewsOwner::cbquiet>("cbquiet")};
    return table;
  }
  void _sw1_valuechanged(Object v) { heard("sw1:" + v.AsString().str()); }
  void _sw2_valuechanged(Object v) { heard("sw2:" + v.AsString().str()); }
  void _cb1_selectedindexchanged(Object v) { heard("cb1:" + v.AsString().str()); }

  std::shared_ptr<tm_switch> sw1, sw2, swquiet;  // swquiet's callback has no sub for it
  std::shared_ptr<tm_combobox> cb1, cbquiet;
};

struct InputViewsHarness : LayoutScreen<InputViewsOwner> {
  // Loads the layout (the views of a layout file) on a 375 × 667 screen, scale pixels per point.
  explicit InputViewsHarness(const std::string& views, float scale = 2)
      : LayoutScreen(views, LayoutScreenSetup().withScale(scale)) {}
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
};

}  // namespace tmr
