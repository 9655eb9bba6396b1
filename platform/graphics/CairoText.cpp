#include "platform/graphics/CairoText.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/ClippedOutline.h"
#include "platform/graphics/FontLibrary.h"

namespace tmr {

CairoText::CairoText(FontLibrary& fonts, cairo_t* cr, const Font& font) : fonts_(fonts), cr_(cr), font_(font) {
  const double size = font.Size();
  if (!(size > 0) || !std::isfinite(size)) return;
  // The pixels per em on the device: the size times the larger stretch of the transformation.
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  const double pixels = size * std::max(std::hypot(m.xx, m.yx), std::hypot(m.xy, m.yy));
  if (pixels <= FontLibrary::kLargestEngineSize) {
    way_ = Way::OnContext;
    return;
  }
  way_ = Way::Scaled;
  factor_ = size / FontLibrary::kLargestEngineSize;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  scaled_ = cairo_create(surface);
  cairo_surface_destroy(surface);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_get_font_options(cr, options);
  cairo_set_font_options(scaled_, options);
  cairo_font_options_destroy(options);
}

CairoText::~CairoText() {
  if (scaled_) cairo_destroy(scaled_);
}

cairo_t* CairoText::working() {
  cairo_t* cr = way_ == Way::Scaled ? scaled_ : cr_;
  cairo_set_font_face(cr, static_cast<cairo_font_face_t*>(fonts_.cairoFace(font_)));
  cairo_set_font_size(cr, way_ == Way::Scaled ? FontLibrary::kLargestEngineSize : font_.Size());
  return cr;
}

cairo_text_extents_t CairoText::textExtents(const std::string& utf8) {
  cairo_text_extents_t e{};
  if (way_ == Way::Nothing) return e;
  cairo_text_extents(working(), utf8.c_str(), &e);
  if (way_ == Way::Scaled) {
    for (double* v : {&e.x_bearing, &e.y_bearing, &e.width, &e.height, &e.x_advance, &e.y_advance}) *v *= factor_;
  }
  return e;
}

cairo_font_extents_t CairoText::fontExtents() {
  cairo_font_extents_t e{};
  if (way_ == Way::Nothing) return e;
  cairo_font_extents(working(), &e);
  if (way_ == Way::Scaled) {
    for (double* v : {&e.ascent, &e.descent, &e.height, &e.max_x_advance, &e.max_y_advance}) *v *= factor_;
  }
  return e;
}

void CairoText::show(const std::string& utf8, double x, double y) {
  if (way_ == Way::Nothing) return;
  cairo_t* cr = working();
  if (way_ == Way::OnContext) {
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, utf8.c_str());
    return;
  }
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 0);
  cairo_text_path(cr, utf8.c_str());
  cairo_path_t* path = cairo_copy_path(cr);
  cairo_new_path(cr);
  // From the scaled font's own units to cr's device pixels: scaled and placed in cr's user space,
  // then through cr's transformation.
  cairo_matrix_t toDevice, ctm;
  cairo_matrix_init(&toDevice, factor_, 0, 0, factor_, x, y);
  cairo_get_matrix(cr_, &ctm);
  cairo_matrix_multiply(&toDevice, &toDevice, &ctm);
  // The window: what cr may still draw on (its clip, within the picture), and a pixel around it.
  double left, top, right, bottom;
  cairo_save(cr_);
  cairo_identity_matrix(cr_);
  cairo_clip_extents(cr_, &left, &top, &right, &bottom);
  cairo_restore(cr_);
  ClippedOutline outline(left - 1, top - 1, right + 1, bottom + 1);
  for (int i = 0; path->status == CAIRO_STATUS_SUCCESS && i < path->num_data; i += path->data[i].header.length) {
    const cairo_path_data_t* d = &path->data[i];
    double p[6] = {};
    for (int j = 0; j + 1 < d->header.length && j < 3; ++j) {
      p[2 * j] = d[j + 1].point.x;
      p[2 * j + 1] = d[j + 1].point.y;
      cairo_matrix_transform_point(&toDevice, &p[2 * j], &p[2 * j + 1]);
    }
    switch (d->header.type) {
      case CAIRO_PATH_MOVE_TO:
        outline.moveTo(p[0], p[1]);
        break;
      case CAIRO_PATH_LINE_TO:
        outline.lineTo(p[0], p[1]);
        break;
      case CAIRO_PATH_CURVE_TO:
        outline.curveTo(p[0], p[1], p[2], p[3], p[4], p[5]);
        break;
      case CAIRO_PATH_CLOSE_PATH:
        outline.close();
        break;
    }
  }
  cairo_path_destroy(path);
  outline.fill(cr_);
}

}  // namespace tmr
