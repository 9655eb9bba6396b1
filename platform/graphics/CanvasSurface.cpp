#include "platform/graphics/CanvasSurface.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/CairoPixels.h"
#include "platform/graphics/CairoText.h"
#include "platform/graphics/FontLibrary.h"

namespace tmr {

namespace {

constexpr double kPi = 3.141592653589793;

cairo_t* Cr(void* p) { return static_cast<cairo_t*>(p); }
cairo_surface_t* Surface(void* p) { return static_cast<cairo_surface_t*>(p); }
double Radians(double degrees) { return degrees * kPi / 180; }

cairo_t* NewContext(cairo_surface_t* surface) {
  cairo_t* cr = cairo_create(surface);
  UseUnhintedText(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  return cr;
}

// A text cut where the font to draw it with changes.
struct Piece {
  std::string utf8;
  Font font;
};

std::vector<Piece> Split(FontLibrary& fonts, const String& text, const Font& font) {
  std::vector<Piece> pieces;
  Font fallback = Font::Make(Font::kDefaultFamily, font.Size(), font.bold());
  for (uint32_t cp : CodePoints(text.units())) {
    const Font& f = fonts.hasGlyph(font, cp) ? font : fallback;
    if (pieces.empty() || !(pieces.back().font == f)) pieces.push_back(Piece{"", f});
    AppendUtf8(pieces.back().utf8, cp);
  }
  return pieces;
}

}  // namespace

CanvasSurface::CanvasSurface(FontLibrary& fonts, int width, int height)
    : fonts_(fonts), width_(std::max(0, width)), height_(std::max(0, height)) {
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_);
  cr_ = NewContext(Surface(surface_));
}

CanvasSurface::~CanvasSurface() {
  cairo_destroy(Cr(cr_));
  cairo_surface_destroy(Surface(surface_));
}

void CanvasSurface::resize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  cairo_surface_t* next = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = NewContext(next);
  cairo_set_source_surface(cr, Surface(surface_), 0, 0);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_rectangle(cr, 0, 0, std::min(width, width_), std::min(height, height_));
  cairo_fill(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  cairo_destroy(Cr(cr_));
  cairo_surface_destroy(Surface(surface_));
  surface_ = next;
  cr_ = cr;
  width_ = width;
  height_ = height;
}

void CanvasSurface::setColor(uint32_t argb) {
  cairo_set_source_rgba(Cr(cr_), ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0,
                        ((argb >> 24) & 0xFF) / 255.0);
}

void CanvasSurface::setStroke(double width) {
  cairo_set_line_width(Cr(cr_), std::isfinite(width) && width >= 1 ? width : 1.0);
}

void CanvasSurface::finish(bool filled, double strokeWidth) {
  auto* cr = Cr(cr_);
  if (filled) {
    cairo_fill(cr);
  } else {
    setStroke(strokeWidth);
    cairo_stroke(cr);
  }
}

void CanvasSurface::clearRect(const Rect& rect) {
  auto* cr = Cr(cr_);
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_rectangle(cr, rect.Left, rect.Top, rect.Width(), rect.Height());
  cairo_fill(cr);
  cairo_restore(cr);
}

void CanvasSurface::drawRect(const Rect& rect, uint32_t argb, bool filled, double strokeWidth) {
  drawRectRotated(rect, argb, filled, strokeWidth, 0);
}

void CanvasSurface::drawRectRotated(const Rect& rect, uint32_t argb, bool filled, double strokeWidth, double degrees) {
  auto* cr = Cr(cr_);
  cairo_save(cr);
  setColor(argb);
  cairo_translate(cr, rect.CenterX(), rect.CenterY());
  cairo_rotate(cr, Radians(degrees));
  cairo_rectangle(cr, -rect.Width() / 2.0, -rect.Height() / 2.0, rect.Width(), rect.Height());
  cairo_restore(cr);  // the path keeps the turn; the stroke width does not
  cairo_save(cr);
  setColor(argb);
  finish(filled, strokeWidth);
  cairo_restore(cr);
}

void CanvasSurface::drawCircle(double x, double y, double radius, uint32_t argb, bool filled, double strokeWidth) {
  if (!(radius > 0)) return;
  auto* cr = Cr(cr_);
  cairo_save(cr);
  setColor(argb);
  cairo_new_path(cr);
  cairo_arc(cr, x, y, radius, 0, 2 * kPi);
  cairo_close_path(cr);
  finish(filled, strokeWidth);
  cairo_restore(cr);
}

void CanvasSurface::drawLine(double x1, double y1, double x2, double y2, uint32_t argb, double strokeWidth) {
  auto* cr = Cr(cr_);
  cairo_save(cr);
  setColor(argb);
  cairo_new_path(cr);
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  finish(false, strokeWidth);
  cairo_restore(cr);
}

void CanvasSurface::tracePath(const Path& path) {
  auto* cr = Cr(cr_);
  cairo_new_path(cr);
  for (const auto& s : path.segments()) {
    switch (s.kind) {
      case Path::Segment::Kind::MoveTo:
        cairo_move_to(cr, s.x, s.y);
        break;
      case Path::Segment::Kind::LineTo:
        cairo_line_to(cr, s.x, s.y);
        break;
      case Path::Segment::Kind::Arc: {
        double a1 = Radians(s.startDeg), a2 = Radians(s.startDeg + s.sweepDeg);
        if (s.sweepDeg >= 0) {
          cairo_arc(cr, s.x, s.y, s.r, a1, a2);
        } else {
          cairo_arc_negative(cr, s.x, s.y, s.r, a1, a2);
        }
        break;
      }
      case Path::Segment::Kind::Close:
        cairo_close_path(cr);
        break;
    }
  }
}

void CanvasSurface::drawPath(const Path& path, uint32_t argb, bool filled, double strokeWidth) {
  auto* cr = Cr(cr_);
  cairo_save(cr);
  setColor(argb);
  tracePath(path);
  finish(filled, strokeWidth);
  cairo_restore(cr);
}

void CanvasSurface::clipPath(const Path& path) {
  tracePath(path);
  cairo_clip(Cr(cr_));
}

void CanvasSurface::removeClip() { cairo_reset_clip(Cr(cr_)); }

void CanvasSurface::drawText(const String& text, double x, double y, const Font& font, uint32_t argb, Align align) {
  auto pieces = Split(fonts_, text, font);
  if (pieces.empty()) return;
  auto* cr = Cr(cr_);
  // Fonts are set only between save and restore: the context keeps no font of the library's,
  // which may end before this surface does.
  cairo_save(cr);
  std::vector<double> advances;
  double width = 0;
  for (const auto& p : pieces) {
    cairo_text_extents_t e = CairoText(fonts_, cr, p.font).textExtents(p.utf8);
    advances.push_back(e.x_advance);
    width += e.x_advance;
  }
  if (align == Align::Center) x -= width / 2;
  if (align == Align::Right) x -= width;
  setColor(argb);
  for (size_t i = 0; i < pieces.size(); ++i) {
    CairoText(fonts_, cr, pieces[i].font).show(pieces[i].utf8, x, y);
    x += advances[i];
  }
  cairo_new_path(cr);
  cairo_restore(cr);
}

Rect CanvasSurface::measureText(const String& text, const Font& font) {
  auto* cr = Cr(cr_);
  double width = 0, top = std::numeric_limits<double>::infinity(), bottom = -top;
  cairo_save(cr);  // see drawText
  for (const auto& p : Split(fonts_, text, font)) {
    cairo_text_extents_t e = CairoText(fonts_, cr, p.font).textExtents(p.utf8);
    width += e.x_advance;
    if (e.height > 0) {
      top = std::min(top, e.y_bearing);
      bottom = std::max(bottom, e.y_bearing + e.height);
    }
  }
  cairo_restore(cr);
  if (top > bottom) top = bottom = 0;
  return Rect(0, static_cast<float>(top), static_cast<float>(width), static_cast<float>(bottom));
}

void CanvasSurface::drawBitmap(const Bitmap& bitmap, const Rect& dest, double degrees) {
  int w = bitmap.pixelWidth(), h = bitmap.pixelHeight();
  if (w <= 0 || h <= 0 || dest.Width() == 0 || dest.Height() == 0) return;
  cairo_surface_t* src = CairoSurfaceFromBitmap(bitmap);
  auto* cr = Cr(cr_);
  cairo_save(cr);
  cairo_translate(cr, dest.CenterX(), dest.CenterY());
  cairo_rotate(cr, Radians(degrees));
  cairo_translate(cr, -dest.Width() / 2.0, -dest.Height() / 2.0);
  cairo_rectangle(cr, 0, 0, dest.Width(), dest.Height());
  cairo_scale(cr, dest.Width() / w, dest.Height() / h);
  cairo_set_source_surface(cr, src, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_surface_destroy(src);
}

std::shared_ptr<Bitmap> CanvasSurface::picture() const { return BitmapFromCairoSurface(Surface(surface_)); }

}  // namespace tmr
