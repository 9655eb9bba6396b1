#pragma once
// The "Made with" banner: a custom view that shows one centred line of rich text, "Made with "
// in the designer label's font and colour, a red heart from the icon font "FontAwesome" at the
// label's text size, then " in " and the name of the tool the application is made with, again
// in the label's style. It has no designer properties of its own and raises no events.
#include <memory>

#include "platform/layout/LayoutRegistry.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"
#include "views/input/CustomViewBase.h"

namespace tmr {

class tm_madewithbanner : public CustomViewBase {
 public:
  // The text after the heart: a blank, the word "in", a blank and the tool's name.
  static constexpr const char* kClosingText = " in C++";
  // The heart glyph of the icon font.
  static constexpr int32_t kHeart = 0xF004;

  // LayoutClass: the class as layouts name it; it reads no designer properties.
  // _base_resize: the line stays centred in the new size.
  // partNamed: "" is the label that shows the line.
  TMR_CUSTOM_VIEW(tm_madewithbanner)

 protected:
  void _class_globals() override;
};

}  // namespace tmr
