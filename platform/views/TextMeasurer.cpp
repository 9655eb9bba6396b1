#include "platform/views/TextMeasurer.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "platform/core/Runtime.h"
#include "platform/graphics/CairoPixels.h"
#include "platform/graphics/FontLibrary.h"

namespace tmr {

namespace {

cairo_scaled_font_t* Scaled(void* p) { return static_cast<cairo_scaled_font_t*>(p); }
cairo_font_options_t* Options(void* p) { return static_cast<cairo_font_options_t*>(p); }

bool IsBlank(uint32_t cp) { return cp == ' ' || cp == '\t'; }

// The code point at units[i] and how many units it takes; a lone surrogate is U+FFFD.
std::pair<uint32_t, int> CodePointAt(const std::u16string& units, size_t i) {
  char16_t u = units[i];
  if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF)
    return {0x10000 + ((static_cast<uint32_t>(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00u), 2};
  if (u >= 0xD800 && u <= 0xDFFF) return {0xFFFD, 1};
  return {u, 1};
}

}  // namespace

TextMeasurer::FontMetrics::~FontMetrics() {
  if (scaled) cairo_scaled_font_destroy(Scaled(scaled));
}

TextMeasurer::TextMeasurer(Runtime& rt) : fonts_(rt.service<FontLibrary>()) {
  // Text measures as a context drawing on an image surface measures it: the surface's font
  // options with the unhinted text of every context that draws or measures text over them.
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surface);
  UseUnhintedText(cr);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_surface_get_font_options(surface, options);
  cairo_font_options_t* unhinted = cairo_font_options_create();
  cairo_get_font_options(cr, unhinted);
  cairo_font_options_merge(options, unhinted);
  cairo_font_options_destroy(unhinted);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  options_ = options;
}

TextMeasurer::~TextMeasurer() {
  metrics_.clear();
  cairo_font_options_destroy(Options(options_));
}

TextMeasurer::FontMetrics& TextMeasurer::metrics(const Font& font) {
  const float size = font.Size();
  if (!(size > 0) || !std::isfinite(size)) return unmeasured_;
  auto key = std::make_pair(font.family(), std::make_pair(size, font.bold()));
  auto it = metrics_.find(key);
  if (it != metrics_.end()) return it->second;
  FontMetrics& m = metrics_[key];
  // A size past what the font engine works at is measured at the largest it works at, scaled.
  const double engineSize = std::min<double>(size, FontLibrary::kLargestEngineSize);
  m.factor = size / engineSize;
  cairo_matrix_t fontMatrix, ctm;
  cairo_matrix_init_scale(&fontMatrix, engineSize, engineSize);
  cairo_matrix_init_identity(&ctm);
  cairo_scaled_font_t* scaled = cairo_scaled_font_create(static_cast<cairo_font_face_t*>(fonts_.cairoFace(font)),
                                                         &fontMatrix, &ctm, Options(options_));
  cairo_font_extents_t fe;
  cairo_scaled_font_extents(scaled, &fe);
  if (cairo_scaled_font_status(scaled) != CAIRO_STATUS_SUCCESS || !std::isfinite(fe.ascent + fe.descent)) {
    cairo_scaled_font_destroy(scaled);
    return m;  // measures 0, as a size that cannot be drawn at
  }
  m.scaled = scaled;
  m.lineHeight = (fe.ascent + fe.descent) * m.factor;
  return m;
}

double TextMeasurer::advance(const Font& font, FontMetrics& m, uint32_t cp) {
  if (!m.scaled) return 0;
  auto it = m.advances.find(cp);
  if (it != m.advances.end()) return it->second;
  FontMetrics& drawing =
      fonts_.hasGlyph(font, cp) ? m : metrics(Font::Make(Font::kDefaultFamily, font.Size(), font.bold()));
  double a = 0;
  if (drawing.scaled) {
    std::string utf8;
    AppendUtf8(utf8, cp);
    cairo_text_extents_t e;
    cairo_scaled_font_text_extents(Scaled(drawing.scaled), utf8.c_str(), &e);
    if (cairo_scaled_font_status(Scaled(drawing.scaled)) == CAIRO_STATUS_SUCCESS && std::isfinite(e.x_advance))
      a = e.x_advance * drawing.factor;
  }
  m.advances.emplace(cp, a);
  return a;
}

double TextMeasurer::lineHeight(const Font& font) { return metrics(font).lineHeight; }

double TextMeasurer::width(const String& text, const Font& font) {
  auto& m = metrics(font);
  const auto& units = text.units();
  double w = 0;
  for (size_t i = 0; i < units.size();) {
    auto [cp, n] = CodePointAt(units, i);
    w += advance(font, m, cp);
    i += static_cast<size_t>(n);
  }
  return w;
}

String TextMeasurer::fitWithEllipsis(const String& text, const Font& font, double maxWidth) {
  static const String kEllipsis(u"\u2026");
  auto& m = metrics(font);
  const auto& units = text.units();
  const double room = maxWidth - width(kEllipsis, font);
  double w = 0;
  size_t cut = 0;  // the longest start that leaves room for the ellipsis
  for (size_t i = 0; i < units.size();) {
    auto [cp, n] = CodePointAt(units, i);
    w += advance(font, m, cp);
    i += static_cast<size_t>(n);
    if (w <= room) cut = i;
    if (w > maxWidth) return String(units.substr(0, cut)) + kEllipsis;
  }
  return text;
}

std::vector<TextMeasurer::Line> TextMeasurer::wrap(const String& text, const Font& font, double maxWidth) {
  auto& m = metrics(font);
  const auto& units = text.units();
  std::vector<Line> lines;
  if (units.empty()) return lines;
  bool limited = maxWidth > 0;
  size_t i = 0;
  while (i <= units.size()) {
    // One line: from i up to a line break, the end, or the point where it no longer fits.
    size_t start = i;
    double w = 0;
    size_t breakAt = 0;  // end of the last fitting word (0: none yet)
    double breakWidth = 0;
    size_t resumeAt = 0;  // where the next line begins after a break at a blank
    size_t end = i;
    bool endsInBlanks = false;  // the last thing taken into the line is a run of blanks
    // The line up to `to`, without the blanks that end it unless they are all it has.
    auto endLine = [&](size_t to) {
      if (endsInBlanks && breakAt > start) {
        lines.push_back(Line{static_cast<int>(start), static_cast<int>(breakAt - start), breakWidth});
      } else {
        lines.push_back(Line{static_cast<int>(start), static_cast<int>(to - start), w});
      }
    };
    bool done = false;
    while (true) {
      if (end >= units.size()) {
        endLine(end);
        i = units.size() + 1;
        done = true;
        break;
      }
      auto [cp, n] = CodePointAt(units, end);
      if (cp == '\n') {
        endLine(end);
        i = end + 1;
        if (i == units.size()) i = units.size() + 1;  // a final line break starts no new line
        break;
      }
      double a = advance(font, m, cp);
      if (IsBlank(cp)) {
        // A blank may end the line; it is not counted in the line's width.
        if (breakAt == 0 || end > breakAt) {
          breakAt = end;
          breakWidth = w;
        }
        size_t j = end;
        while (j < units.size() && IsBlank(units[j])) ++j;
        resumeAt = j;
        for (size_t k = end; k < j; ++k) w += advance(font, m, units[k]);
        end = j;
        endsInBlanks = true;
        continue;
      }
      if (limited && w + a > maxWidth && end > start) {
        if (breakAt > start) {
          lines.push_back(Line{static_cast<int>(start), static_cast<int>(breakAt - start), breakWidth});
          i = resumeAt;
        } else {
          // A word wider than the line: cut it here.
          lines.push_back(Line{static_cast<int>(start), static_cast<int>(end - start), w});
          i = end;
        }
        break;
      }
      w += a;
      end += static_cast<size_t>(n);
      endsInBlanks = false;
    }
    if (done) break;
  }
  return lines;
}

}  // namespace tmr
