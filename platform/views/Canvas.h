#pragma once
// The runtime's canvas: draws on a view's picture. Initialised on a view, it starts as a
// transparent picture of the view's size in whole points (one pixel per point); drawing changes
// the canvas's own picture, and Invalidate makes the view show it (the screen draws it over the
// view's background, under its children). The canvas does not keep its view alive: a canvas on
// a panel that is gone (or never was in the tree) still draws, measures and makes bitmaps.
//
// Colours are ARGB Ints. With filled the shape is filled and the stroke width is ignored;
// otherwise its outline is stroked centred on its edge (a stroke under one point is one point
// wide). Angles are degrees, 0 at 3 o'clock, positive clockwise on the screen. Text uses the
// screen's fonts. Copies of the handle share the canvas; a canvas that was not initialised, or
// was released, fails on use with "Object not initialized (Canvas)".
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/core/String.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Path.h"
#include "platform/graphics/Rect.h"
#include "platform/views/View.h"

namespace tmr {

class Bitmap;
class CanvasSurface;

class Canvas {
 public:
  Canvas() = default;

  // A new transparent picture of the view's size (rounded to whole points); copies of the
  // handle follow.
  void Initialize(const View& view);
  bool IsInitialized() const;
  // (0, 0, width, height) of the picture.
  Rect TargetRect() const;
  // A new size; what was drawn stays in place, cut at the new edges, and the clip is removed.
  void Resize(double width, double height) const;

  void ClearRect(const Rect& rect) const;
  void DrawRect(const Rect& rect, int32_t color, bool filled, double strokeWidth) const;
  // The rectangle turned clockwise by degrees about its centre.
  void DrawRectRotated(const Rect& rect, int32_t color, bool filled, double strokeWidth, double degrees) const;
  // A radius of 0 or less draws nothing.
  void DrawCircle(double x, double y, double radius, int32_t color, bool filled, double strokeWidth) const;
  void DrawLine(double x1, double y1, double x2, double y2, int32_t color, double strokeWidth) const;
  void DrawPath(const Path& path, int32_t color, bool filled, double strokeWidth) const;
  // One line of text with its baseline at y; alignment "LEFT", "CENTER" or "RIGHT" (any case)
  // says whether x is where the text starts, its middle or where it ends. Another alignment
  // is an error naming it.
  void DrawText(const String& text, double x, double y, const Font& font, int32_t color,
                std::string_view alignment) const;
  // The text's bounds with its baseline at 0: Width is its advance (widths of joined texts add
  // up), Top the highest ink (negative), Height from the highest to the lowest ink.
  Rect MeasureText(const String& text, const Font& font) const;
  // The bitmap stretched into dest; the rotated form turns it clockwise about dest's centre.
  void DrawBitmap(const std::shared_ptr<Bitmap>& bitmap, const Rect& dest) const;
  void DrawBitmapRotated(const std::shared_ptr<Bitmap>& bitmap, const Rect& dest, double degrees) const;

  // Later drawing stays inside the path (and inside earlier clips) until RemoveClip.
  void ClipPath(const Path& path) const;
  void RemoveClip() const;

  // The view shows the picture as it is now.
  void Invalidate() const;
  // A copy of the picture.
  std::shared_ptr<Bitmap> CreateBitmap() const;
  // Frees the picture; the canvas is uninitialised afterwards (for every copy of the handle).
  // Releasing a released canvas does nothing.
  void Release() const;

 private:
  struct Data;
  CanvasSurface& surface() const;
  std::shared_ptr<Data> d_;
};

}  // namespace tmr
