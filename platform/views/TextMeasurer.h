#pragma once
// Text measuring for views that size themselves to their text (a runtime service): the width
// of a text in a font, the height of one line, and the lines a text breaks into within a
// width. A character the font lacks is measured in the default font, as the screen draws it.
// Widths add up character by character, so a text measures the same wherever it is cut. A font
// whose size no text can be drawn at (not a positive finite number, or one the font cannot be
// scaled to) measures 0 in every respect, and changes nothing that other fonts measure. A size
// larger than the font engine works at (FontLibrary::kLargestEngineSize) measures as the text at
// that size, scaled: widths and line heights grow linearly with the size.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/core/String.h"
#include "platform/graphics/Font.h"

namespace tmr {

class FontLibrary;
class Runtime;

class TextMeasurer {
 public:
  // One line of a wrapped text: its first code unit and its length (the blanks and the line
  // break that end it are left out; blanks that start it count, also when they are all it has),
  // and its width in points.
  struct Line {
    int start;
    int length;
    double width;
  };

  explicit TextMeasurer(Runtime& rt);
  ~TextMeasurer();
  TextMeasurer(const TextMeasurer&) = delete;
  TextMeasurer& operator=(const TextMeasurer&) = delete;

  double width(const String& text, const Font& font);
  // Ascent plus descent of the font: the distance from one line to the next.
  double lineHeight(const Font& font);
  // The lines of text within maxWidth: a line break ("\n") always ends a line; a line ends at
  // the last blank that lets it fit; a word wider than the whole width is cut between
  // characters. maxWidth <= 0 wraps only at line breaks. An empty text has no lines.
  std::vector<Line> wrap(const String& text, const Font& font, double maxWidth);
  // Text as one line within maxWidth: the text itself when it fits, else as much of its start
  // as fits followed by "…" (only the ellipsis, or less, when even that hardly fits). Only
  // the part that can show is measured, however long the text.
  String fitWithEllipsis(const String& text, const Font& font, double maxWidth);

 private:
  // Each font is measured through a scaled font of its own, so that one the drawing library
  // refuses fails alone instead of leaving a shared drawing state failed for every font after it.
  struct FontMetrics {
    FontMetrics() = default;
    FontMetrics(const FontMetrics&) = delete;
    FontMetrics& operator=(const FontMetrics&) = delete;
    ~FontMetrics();
    void* scaled = nullptr;  // cairo_scaled_font_t*, null when the font cannot be measured
    double factor = 1;       // the font's size over that of the scaled font
    double lineHeight = 0;
    std::unordered_map<uint32_t, double> advances;
  };
  FontMetrics& metrics(const Font& font);
  double advance(const Font& font, FontMetrics& m, uint32_t codePoint);

  FontLibrary& fonts_;
  void* options_;           // cairo_font_options_t*: those of a context drawing on an image surface
  FontMetrics unmeasured_;  // every font whose size cannot be drawn at
  std::map<std::pair<std::string, std::pair<float, bool>>, FontMetrics> metrics_;
};

}  // namespace tmr
