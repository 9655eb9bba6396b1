#pragma once
// Renders a view and everything inside it as the screen shows it now: backgrounds and borders
// with their rounded corners, label and button text with their fonts, colours and alignment,
// image views' pictures, hidden views left out, animations where the loop's clock has them.
// A disabled label draws its text dimmed; a disabled button draws its title in its disabled
// colour, and a pressed one dimmed.
#include <memory>

namespace tmr {

class Bitmap;
class Painter;
class Runtime;
class ViewObject;

class ViewRenderer {
 public:
  static constexpr double kDisabledTextOpacity = 0.35;
  static constexpr double kPressedOpacity = 0.3;

  explicit ViewRenderer(Runtime& rt) : rt_(rt) {}
  // A picture of root at its size (root's own position is ignored), scale pixels per point.
  std::shared_ptr<Bitmap> render(const ViewObject& root, double scale);

 private:
  void draw(Painter& p, const ViewObject& v, bool isRoot);

  Runtime& rt_;
};

}  // namespace tmr
