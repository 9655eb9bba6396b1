#pragma once
// Text in one font, measured and drawn on a Cairo context at a size the font engine works at.
// A font no larger on the device than FontLibrary::kLargestEngineSize pixels per em is set on the
// context, and measures and draws there as Cairo has it. A larger one is worked at that size on a
// context of its own and scaled: its measures are multiplied, and its glyphs' outlines are filled
// on the context through a ClippedOutline, so that text far larger than the picture draws what
// shows of it. A font whose size is not a positive finite number measures 0 and draws nothing,
// and never puts the context in error (an error would stay, and nothing after it would draw).
#include <cairo.h>

#include <string>

#include "platform/graphics/Font.h"

namespace tmr {

class FontLibrary;

class CairoText {
 public:
  // Text in font on cr, as cr's transformation stands now (it must stay so while this is used).
  CairoText(FontLibrary& fonts, cairo_t* cr, const Font& font);
  ~CairoText();
  CairoText(const CairoText&) = delete;
  CairoText& operator=(const CairoText&) = delete;

  // In cr's user space, as cairo_text_extents and cairo_font_extents give them.
  cairo_text_extents_t textExtents(const std::string& utf8);
  cairo_font_extents_t fontExtents();
  // Draws utf8 with its origin at (x, y) in cr's user space, in cr's source.
  void show(const std::string& utf8, double x, double y);

 private:
  enum class Way { Nothing, OnContext, Scaled };
  // The context that works the font, with the font set on it.
  cairo_t* working();

  FontLibrary& fonts_;
  cairo_t* cr_;
  Font font_;
  Way way_ = Way::Nothing;
  double factor_ = 1;          // cr's user units per unit of the scaled font's own context
  cairo_t* scaled_ = nullptr;  // that context, working the font at kLargestEngineSize
};

}  // namespace tmr
