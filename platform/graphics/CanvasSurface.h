#pragma once
// The drawing surface behind a canvas: a picture of width × height pixels, one pixel per point,
// drawn with Cairo (anti-aliased) and read out as a platform Bitmap. Colours are ARGB, not
// premultiplied. Text uses the fonts of the screen's painter with the same fallback: a character
// the font lacks is drawn and measured in the default font of the same size and weight.
//
// Shapes: "filled" fills the shape and ignores the stroke width; otherwise the outline is
// stroked, centred on the shape's edge, with flat line ends. A stroke narrower than one point
// (0 included) is drawn one point wide, as a hairline. Angles are degrees, clockwise on screen.
#include <cstdint>
#include <memory>

#include "platform/core/String.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Path.h"
#include "platform/graphics/Rect.h"

namespace tmr {

class Bitmap;
class FontLibrary;

class CanvasSurface {
 public:
  enum class Align { Left, Center, Right };

  // A transparent surface; negative sizes count as 0.
  CanvasSurface(FontLibrary& fonts, int width, int height);
  ~CanvasSurface();
  CanvasSurface(const CanvasSurface&) = delete;
  CanvasSurface& operator=(const CanvasSurface&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  // A new size; what was drawn stays where it was (cut at the new edges) and the clip is removed.
  void resize(int width, int height);

  // The pixels in rect become transparent (within the clip).
  void clearRect(const Rect& rect);
  void drawRect(const Rect& rect, uint32_t argb, bool filled, double strokeWidth);
  // The rectangle turned by degrees about its centre.
  void drawRectRotated(const Rect& rect, uint32_t argb, bool filled, double strokeWidth, double degrees);
  // A radius of 0 or less draws nothing.
  void drawCircle(double x, double y, double radius, uint32_t argb, bool filled, double strokeWidth);
  void drawLine(double x1, double y1, double x2, double y2, uint32_t argb, double strokeWidth);
  void drawPath(const Path& path, uint32_t argb, bool filled, double strokeWidth);
  // One line of text whose baseline is at y; x is where it starts (Left), its middle (Center) or
  // where it ends (Right).
  void drawText(const String& text, double x, double y, const Font& font, uint32_t argb, Align align);
  // The text's size with its baseline at 0: Left 0 and Right its advance width (widths add up
  // when texts are joined), Top and Bottom the highest and lowest ink (Top is negative above the
  // baseline). A text without ink (blanks, empty) has Top = Bottom = 0.
  Rect measureText(const String& text, const Font& font);
  // The bitmap stretched into dest, then turned by degrees about dest's centre.
  void drawBitmap(const Bitmap& bitmap, const Rect& dest, double degrees = 0);

  // Later drawing stays inside the path (and inside every earlier clip) until removeClip.
  void clipPath(const Path& path);
  void removeClip();

  // A copy of the picture as it is now.
  std::shared_ptr<Bitmap> picture() const;

 private:
  void setColor(uint32_t argb);
  void setStroke(double width);
  void tracePath(const Path& path);
  void finish(bool filled, double strokeWidth);

  FontLibrary& fonts_;
  int width_ = 0;
  int height_ = 0;
  void* surface_ = nullptr;  // cairo_surface_t*
  void* cr_ = nullptr;       // cairo_t*
};

}  // namespace tmr
