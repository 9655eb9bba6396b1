#pragma once
// A phone screen that loads a layout of the canvas-drawn display views (loading indicators,
// round sliders, 3D buttons) with the application's own registration of custom view classes,
// an owner module that records the events it hears, a finger in the screen's coordinates, and
// the pictures the views' canvases show.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/layout/FieldTable.h"
#include "tests/support/LayoutScreen.h"
#include "views/display/tm_button3d.h"
#include "views/display/tm_loadingindicator.h"
#include "views/display/tm_roundslider.h"

namespace tmr {

class CanvasViewsOwner : public OwnerModule {
 public:
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

struct CanvasViewsScreen : LayoutScreen<CanvasViewsOwner> {
  // Loads the views (the "views" of a layout file) on a white 375 × 667 screen.
  explicit CanvasViewsScreen(const std::string& views)
      : LayoutScreen(views, LayoutScreenSetup().withColor("#FFFFFFFF")) {}
  // One finger on the screen, in the screen's coordinates (nothing posted runs meanwhile).
  Finger finger() { return hand(); }
};

inline bool SamePicture(const Bitmap& a, const Bitmap& b) {
  return a.pixelWidth() == b.pixelWidth() && a.pixelHeight() == b.pixelHeight() &&
         std::equal(a.pixels().begin(), a.pixels().end(), b.pixels().begin());
}

// What a view's canvas showed when it was last invalidated.
inline std::shared_ptr<Bitmap> Shown(const View& v) { return v.native()->canvasPicture(); }

}  // namespace tmr
