#pragma once
// Draws onto a picture with Cairo, in points: the picture has scale pixels per point. Used to
// render the screen. Text is drawn with the font asked for; a character that font lacks is drawn
// with the default font of the same size and weight, as the platform's text system does.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/core/String.h"
#include "platform/graphics/Font.h"

namespace tmr {

class Bitmap;
class FontLibrary;
class PaintSurface;

class Painter {
 public:
  enum class HAlign { Left, Center, Right };
  enum class VAlign { Top, Center, Bottom };
  enum class Fit { Fill, Fit, Center };
  struct Box {
    double left, top, width, height;
  };
  struct Run {
    String text;
    Font font;
    uint32_t argb;
  };

  // Draws on target, made the picture's size and transparent first (unless the caller knows
  // that the first fill covers every pixel opaquely: clear false); target outlives the painter.
  Painter(FontLibrary& fonts, PaintSurface& target, double widthPoints, double heightPoints, double scale,
          bool clear = true);
  // The size in pixels of a picture of that many points.
  static int PixelSize(double points, double scale);
  ~Painter();
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;

  void save();
  void restore();
  void translate(double x, double y);
  // Later drawing stays inside the box with rounded corners of radius r.
  void clip(const Box& box, double radius);
  // Opacity of what is drawn until the matching restore (multiplies).
  void setOpacity(double alpha);

  void fill(const Box& box, double radius, uint32_t argb);
  // A border of the given width inside the box.
  void stroke(const Box& box, double radius, double width, uint32_t argb);
  // One line of text runs placed in the box by the alignment, clipped to the box.
  void text(const std::vector<Run>& runs, const Box& box, HAlign h, VAlign v);
  // The width of the runs in points.
  double measure(const std::vector<Run>& runs);
  void bitmap(const Bitmap& bmp, const Box& box, Fit fit);

  // The picture drawn so far (the target's picture()).
  std::shared_ptr<Bitmap> picture() const;

 private:
  struct Piece {
    std::string utf8;
    Font font;
    uint32_t argb;
  };
  std::vector<Piece> split(const std::vector<Run>& runs);
  void setColor(uint32_t argb);
  void rectangle(const Box& box);
  void roundedRect(const Box& box, double radius);

  FontLibrary& fonts_;
  PaintSurface& target_;
  void* cr_;  // cairo_t*
  std::vector<double> opacity_{1.0};
};

}  // namespace tmr
