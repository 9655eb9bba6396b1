#pragma once
// The animated digit counter: a custom view that shows a non-negative integer with a fixed
// number of digits ("Digits", leading zeros shown), like the drums of a mechanical counter.
// Each digit is a vertical strip of the glyphs 0 to 9, drawn once per size in the designer
// label's font and text colour, that slides up or down inside its cell to the new digit over
// "Duration" ms (straight there, never round through 0). A fade overlay in "FadeColor" (white
// by default) covers the top and bottom thirds, fading from that colour to transparent, so the
// glyphs appear and disappear smoothly at the cells' edges.
// The digits fill the view from the right (index 0 is the units); when the width is not a
// multiple of the number of digits the spare points stay empty on the left. A value with more
// digits shows its last ones (v Mod 10^Digits); a negative value shows as 0. A counter without
// digits (Digits 0 or less) shows nothing and holds 0. It raises no events.
#include <cstdint>
#include <memory>

#include "platform/core/List.h"
#include "platform/graphics/Bitmap.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/views/ImageViewWrapper.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"
#include "views/input/CustomViewBase.h"

namespace tmr {

class tm_animatedcounter : public CustomViewBase {
  // LayoutClass: the class as layouts name it, with its designer properties "Digits" (a count, required),
  // "Duration" (a number, required) and "FadeColor" (colour, default white).
  // _designercreateview: builds the digits and shows 0, laid out at the base panel's size.
  // _base_resize: lays the digit cells out for the new size, with strips drawn for it.
  // partNamed: "" is the panel that holds (and clips) the digits; "digit<i>" the image view of digit i
  // (0: units); "fade" the overlay.
  TMR_CUSTOM_VIEW(tm_animatedcounter)

  void _initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) override;

  // Slides every digit to the value's over the duration.
  void _setvalue(int32_t v);
  // The value the digits hold.
  int32_t _getvalue();
  // The top of digit i's strip that puts its digit in the cell: -digitheight × the digit.
  int32_t _topfromvalue(int32_t index);
  // The glyph strip: digitwidth × 10 digitheight, glyph n centred in the n-th cell, in the
  // label's font and text colour. Null while a cell has no size.
  std::shared_ptr<Bitmap> _createbitmap(LabelWrapper lbl);
  // The overlay: 200 × 50, the top third fading from the colour (at the top) to transparent,
  // the bottom third likewise from the bottom, the middle transparent.
  std::shared_ptr<Bitmap> _createfadebitmap(int32_t clr);

  List imageviews;  // one image view per digit, index 0 the units (rightmost)
  int32_t mdigits = 0;
  LabelWrapper lbltemplate;
  List mvalue;  // the digits of the value, least significant first
  int32_t digitheight = 0;
  int32_t digitwidth = 0;
  int32_t mduration = 0;
  std::shared_ptr<Bitmap> fade;
  ImageViewWrapper xfadeiv;

 protected:
  void _class_globals() override;

 private:
  View digitView(int32_t index) const;
};

}  // namespace tmr
