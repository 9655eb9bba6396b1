#include "platform/graphics/Painter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "platform/core/RuntimeError.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/CairoPixels.h"
#include "platform/graphics/CairoText.h"
#include "platform/graphics/FontLibrary.h"
#include "platform/graphics/PaintSurface.h"

namespace tmr {

namespace {

cairo_t* Cr(void* p) { return static_cast<cairo_t*>(p); }

}  // namespace

int Painter::PixelSize(double points, double scale) { return std::max(1, static_cast<int>(std::ceil(points * scale))); }

Painter::Painter(FontLibrary& fonts, PaintSurface& target, double widthPoints, double heightPoints, double scale,
                 bool clear)
    : fonts_(fonts), target_(target) {
  if (!(scale > 0)) throw RuntimeError("Painter: the scale must be positive");
  cr_ = cairo_create(target_.begin(PixelSize(widthPoints, scale), PixelSize(heightPoints, scale), clear));
  cairo_scale(Cr(cr_), scale, scale);
  UseUnhintedText(Cr(cr_));
}

Painter::~Painter() { cairo_destroy(Cr(cr_)); }

void Painter::save() {
  cairo_save(Cr(cr_));
  opacity_.push_back(opacity_.back());
}

void Painter::restore() {
  cairo_restore(Cr(cr_));
  if (opacity_.size() > 1) opacity_.pop_back();
}

void Painter::translate(double x, double y) { cairo_translate(Cr(cr_), x, y); }

void Painter::setOpacity(double alpha) { opacity_.back() *= std::clamp(alpha, 0.0, 1.0); }

void Painter::rectangle(const Box& b) {
  auto* cr = Cr(cr_);
  // Cairo's fixed-point device coordinates wrap past about eight million pixels: a box reaching
  // beyond kReach (a label sized to fit text far larger than the picture) is cut there in double
  // precision, which changes nothing of it within any picture.
  static constexpr double kReach = 1 << 22;
  double x1 = b.left, y1 = b.top, x2 = b.left + b.width, y2 = b.top + b.height;
  cairo_user_to_device(cr, &x1, &y1);
  cairo_user_to_device(cr, &x2, &y2);
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  const bool far = std::max({std::abs(x1), std::abs(y1), std::abs(x2), std::abs(y2)}) > kReach;
  if (!far || m.xy != 0 || m.yx != 0) {
    cairo_rectangle(cr, b.left, b.top, b.width, b.height);
    return;
  }
  auto cut = [](double v) { return std::clamp(v, -kReach, kReach); };
  x1 = cut(x1), y1 = cut(y1), x2 = cut(x2), y2 = cut(y2);
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_rectangle(cr, std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1));
  cairo_restore(cr);
}

void Painter::roundedRect(const Box& b, double radius) {
  auto* cr = Cr(cr_);
  double r = std::clamp(radius, 0.0, std::min(b.width, b.height) / 2);
  if (r <= 0) {
    rectangle(b);
    return;
  }
  constexpr double kPi = 3.14159265358979323846;
  cairo_new_sub_path(cr);
  cairo_arc(cr, b.left + b.width - r, b.top + r, r, -kPi / 2, 0);
  cairo_arc(cr, b.left + b.width - r, b.top + b.height - r, r, 0, kPi / 2);
  cairo_arc(cr, b.left + r, b.top + b.height - r, r, kPi / 2, kPi);
  cairo_arc(cr, b.left + r, b.top + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

void Painter::setColor(uint32_t argb) {
  double a = ((argb >> 24) & 0xFF) / 255.0 * opacity_.back();
  cairo_set_source_rgba(Cr(cr_), ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0, (argb & 0xFF) / 255.0, a);
}

void Painter::clip(const Box& box, double radius) {
  roundedRect(box, radius);
  cairo_clip(Cr(cr_));
}

void Painter::fill(const Box& box, double radius, uint32_t argb) {
  if ((argb >> 24) == 0 || box.width <= 0 || box.height <= 0) return;
  setColor(argb);
  roundedRect(box, radius);
  cairo_fill(Cr(cr_));
}

void Painter::stroke(const Box& box, double radius, double width, uint32_t argb) {
  if (width <= 0 || (argb >> 24) == 0) return;
  Box inner{box.left + width / 2, box.top + width / 2, box.width - width, box.height - width};
  if (inner.width < 0 || inner.height < 0) return;
  setColor(argb);
  roundedRect(inner, std::max(0.0, radius - width / 2));
  cairo_set_line_width(Cr(cr_), width);
  cairo_stroke(Cr(cr_));
}

std::vector<Painter::Piece> Painter::split(const std::vector<Run>& runs) {
  std::vector<Piece> pieces;
  for (const auto& run : runs) {
    Font fallback = Font::Make(Font::kDefaultFamily, run.font.Size(), run.font.bold());
    for (uint32_t cp : CodePoints(run.text.units())) {
      const Font& f = fonts_.hasGlyph(run.font, cp) ? run.font : fallback;
      if (pieces.empty() || !(pieces.back().font == f) || pieces.back().argb != run.argb)
        pieces.push_back(Piece{"", f, run.argb});
      AppendUtf8(pieces.back().utf8, cp);
    }
  }
  return pieces;
}

double Painter::measure(const std::vector<Run>& runs) {
  double w = 0;
  for (const auto& p : split(runs)) w += CairoText(fonts_, Cr(cr_), p.font).textExtents(p.utf8).x_advance;
  return w;
}

void Painter::text(const std::vector<Run>& runs, const Box& box, HAlign h, VAlign v) {
  auto pieces = split(runs);
  if (pieces.empty()) return;
  auto* cr = Cr(cr_);
  double width = 0, ascent = 0, descent = 0;
  std::vector<double> advances;
  for (const auto& p : pieces) {
    CairoText piece(fonts_, cr, p.font);
    cairo_text_extents_t e = piece.textExtents(p.utf8);
    cairo_font_extents_t fe = piece.fontExtents();
    advances.push_back(e.x_advance);
    width += e.x_advance;
    ascent = std::max(ascent, fe.ascent);
    descent = std::max(descent, fe.descent);
  }
  double x = box.left;
  if (h == HAlign::Center) x = box.left + (box.width - width) / 2;
  if (h == HAlign::Right) x = box.left + box.width - width;
  double y = box.top + ascent;
  if (v == VAlign::Center) y = box.top + (box.height - ascent - descent) / 2 + ascent;
  if (v == VAlign::Bottom) y = box.top + box.height - descent;
  cairo_save(cr);
  rectangle(box);
  cairo_clip(cr);
  for (size_t i = 0; i < pieces.size(); ++i) {
    CairoText piece(fonts_, cr, pieces[i].font);
    setColor(pieces[i].argb);
    piece.show(pieces[i].utf8, x, y);
    x += advances[i];
  }
  cairo_restore(cr);
}

void Painter::bitmap(const Bitmap& bmp, const Box& box, Fit fit) {
  int w = bmp.pixelWidth(), h = bmp.pixelHeight();
  if (w <= 0 || h <= 0 || box.width <= 0 || box.height <= 0) return;
  cairo_surface_t* src = CairoSurfaceFromBitmap(bmp);
  double sx = box.width / w, sy = box.height / h;
  if (fit == Fit::Fit) sx = sy = std::min(sx, sy);
  if (fit == Fit::Center) sx = sy = 1;
  double dx = box.left + (box.width - w * sx) / 2, dy = box.top + (box.height - h * sy) / 2;
  auto* cr = Cr(cr_);
  cairo_save(cr);
  cairo_rectangle(cr, box.left, box.top, box.width, box.height);
  cairo_clip(cr);
  cairo_translate(cr, dx, dy);
  cairo_scale(cr, sx, sy);
  cairo_set_source_surface(cr, src, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint_with_alpha(cr, opacity_.back());
  cairo_restore(cr);
  cairo_surface_destroy(src);
}

std::shared_ptr<Bitmap> Painter::picture() const { return target_.picture(); }

}  // namespace tmr
