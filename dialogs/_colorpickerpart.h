#pragma once
// One part of the colour picker (hue bar, saturation/value square or alpha bar): an outer
// panel holding an image view with the part's software-drawn picture and, above it, a touch
// panel whose canvas shows the marker. A part with checkers has a checkerboard drawn on the
// outer panel, below the picture, so that transparency shows.
#include "platform/core/Record.h"
#include "platform/views/Canvas.h"
#include "platform/views/View.h"

namespace tmr {

class _colorpickerpart : public Record {
 public:
  void Initialize() override {
    IsInitialized = true;
    cvs = Canvas();
    pnl = View();
    iv = View();
    checkersCanvas = Canvas();
    DrawCheckers = false;
  }

  Canvas cvs;
  View pnl;
  View iv;
  Canvas checkersCanvas;
  bool DrawCheckers = false;

  // The runtime's type text.
  std::string description() const override { return "_colorpickerpart"; }
};

}  // namespace tmr
