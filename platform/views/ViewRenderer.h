#pragma once
// Renders a view and everything inside it as the screen shows it now: backgrounds and borders
// with their rounded corners, label and button text with their fonts, colours and alignment
// (multi-line labels line by line), image views' pictures, scroll views' content moved by their
// offset and clipped to their bounds (what lies outside is not drawn at all), hidden views left
// out, frame and colour animations where the loop's clock has them.
// A disabled label draws its text dimmed; a disabled button draws its title in its disabled
// colour, and a pressed one dimmed. Text fields draw their text (a dot per character in password
// mode), text views their lines inside their insets.
#include <memory>
#include <optional>

#include "platform/graphics/PaintSurface.h"
#include "platform/graphics/Painter.h"

namespace tmr {

class Bitmap;
class LabelObject;
class TextFieldObject;
class Runtime;
class ViewObject;

class ViewRenderer {
 public:
  static constexpr double kDisabledTextOpacity = 0.35;
  static constexpr double kPressedOpacity = 0.3;

  explicit ViewRenderer(Runtime& rt) : rt_(rt) {}
  // A picture of root at its size (root's own position is ignored), scale pixels per point.
  // A renderer kept from frame to frame draws each into the memory of the one before (a
  // picture that was handed out and is still held is never changed).
  std::shared_ptr<Bitmap> render(const ViewObject& root, double scale);

 private:
  // visible: the part of v's own coordinates that a clipping view around it lets show, if any.
  void draw(Painter& p, const ViewObject& v, bool isRoot, const std::optional<Painter::Box>& visible);
  void drawLabel(Painter& p, const LabelObject& label, const Painter::Box& box);
  // A text field's text (dots in password mode) or a text view's lines, inside its insets.
  void drawTextField(Painter& p, const TextFieldObject& field, const Painter::Box& box);

  Runtime& rt_;
  PaintSurface target_;
};

}  // namespace tmr
