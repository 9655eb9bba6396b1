#include "platform/views/ViewRenderer.h"

#include <algorithm>

#include "platform/core/Runtime.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/FontLibrary.h"
#include "platform/graphics/Painter.h"
#include "platform/views/ButtonObject.h"
#include "platform/views/ImageViewObject.h"
#include "platform/views/LabelObject.h"
#include "platform/views/TextFieldObject.h"
#include "platform/views/TextMeasurer.h"

namespace tmr {

namespace {

uint32_t Argb(int32_t c) { return static_cast<uint32_t>(c); }

Painter::HAlign H(HorizontalAlignment a) {
  switch (a) {
    case HorizontalAlignment::Left:
      return Painter::HAlign::Left;
    case HorizontalAlignment::Center:
      return Painter::HAlign::Center;
    case HorizontalAlignment::Right:
      return Painter::HAlign::Right;
  }
  return Painter::HAlign::Left;
}

Painter::VAlign V(VerticalAlignment a) {
  switch (a) {
    case VerticalAlignment::Top:
      return Painter::VAlign::Top;
    case VerticalAlignment::Center:
      return Painter::VAlign::Center;
    case VerticalAlignment::Bottom:
      return Painter::VAlign::Bottom;
  }
  return Painter::VAlign::Center;
}

Painter::Fit FitOf(ImageViewObject::ContentMode m) {
  switch (m) {
    case ImageViewObject::ContentMode::Fill:
      return Painter::Fit::Fill;
    case ImageViewObject::ContentMode::Fit:
      return Painter::Fit::Fit;
    case ImageViewObject::ContentMode::Center:
      return Painter::Fit::Center;
  }
  return Painter::Fit::Fill;
}

bool Intersects(const Painter::Box& a, const Frame& f) {
  return f.left < a.left + a.width && a.left < f.left + f.width && f.top < a.top + a.height && a.top < f.top + f.height;
}

// Whether drawing root paints every pixel of its picture opaquely with its own background, so
// that what the picture held before cannot show: an opaque colour without rounded corners on a
// box that ends exactly on the last pixel (a pixel only partly covered blends with what was
// there). Filling such a box gives each pixel the colour itself, whatever the pixel held.
bool CoversOpaquely(const ViewObject& root, const Frame& f, double scale) {
  return root.visible() && (Argb(root.presentationColor()) >> 24) == 0xFF && !(root.cornerRadius() > 0) &&
         f.width * scale == Painter::PixelSize(f.width, scale) &&
         f.height * scale == Painter::PixelSize(f.height, scale);
}

// The runs of a label's text between two positions of its plain text.
std::vector<Painter::Run> Slice(const std::vector<Painter::Run>& runs, int start, int length) {
  std::vector<Painter::Run> out;
  int pos = 0;
  for (const auto& r : runs) {
    int n = r.text.Length();
    int a = std::max(start, pos), b = std::min(start + length, pos + n);
    if (a < b) out.push_back(Painter::Run{r.text.SubString2(a - pos, b - pos), r.font, r.argb});
    pos += n;
  }
  return out;
}

}  // namespace

std::shared_ptr<Bitmap> ViewRenderer::render(const ViewObject& root, double scale) {
  Frame f = root.presentationFrame();
  Painter p(rt_.service<FontLibrary>(), target_, f.width, f.height, scale, !CoversOpaquely(root, f, scale));
  draw(p, root, true, std::nullopt);
  return p.picture();
}

void ViewRenderer::drawLabel(Painter& p, const LabelObject& label, const Painter::Box& box) {
  std::vector<Painter::Run> runs;
  if (const auto& rich = label.attributedText()) {
    for (const auto& r : rich->runs()) {
      runs.push_back(Painter::Run{r.text, r.font.IsInitialized() ? r.font : label.font(),
                                  Argb(r.color.value_or(label.textColor()))});
    }
  } else {
    runs.push_back(Painter::Run{label.text(), label.font(), Argb(label.textColor())});
  }
  auto a = label.textAlignment();
  if (label.numberOfLines() == 1) {
    p.text(runs, box, H(a.horizontal), V(a.vertical));
    return;
  }
  // Line by line, the block of lines placed in the box by the vertical alignment.
  auto& measurer = rt_.service<TextMeasurer>();
  auto lines = measurer.wrap(label.text(), label.font(), box.width);
  if (label.numberOfLines() > 0 && lines.size() > static_cast<size_t>(label.numberOfLines()))
    lines.resize(static_cast<size_t>(label.numberOfLines()));
  double lh = measurer.lineHeight(label.font());
  double blockHeight = lh * static_cast<double>(lines.size());
  double top = box.top;
  if (a.vertical == VerticalAlignment::Center) top += (box.height - blockHeight) / 2;
  if (a.vertical == VerticalAlignment::Bottom) top += box.height - blockHeight;
  p.save();
  p.clip(box, 0);
  for (size_t i = 0; i < lines.size(); ++i) {
    Painter::Box line{box.left, top + lh * static_cast<double>(i), box.width, lh};
    p.text(Slice(runs, lines[i].start, lines[i].length), line, H(a.horizontal), Painter::VAlign::Center);
  }
  p.restore();
}

void ViewRenderer::drawTextField(Painter& p, const TextFieldObject& field, const Painter::Box& box) {
  const auto& in = field.contentInset();
  Painter::Box inner{box.left + in.left, box.top + in.top, std::max(0.0, box.width - in.left - in.right),
                     std::max(0.0, box.height - in.top - in.bottom)};
  uint32_t color = Argb(field.textColor());
  auto a = field.textAlignment();
  if (!field.multiline()) {
    p.text({Painter::Run{field.shownText(), field.font(), color}}, inner, H(a.horizontal), V(a.vertical));
    return;
  }
  // A text view: its lines from the top, within its width.
  auto& measurer = rt_.service<TextMeasurer>();
  String text = field.text();
  double lh = measurer.lineHeight(field.font());
  p.save();
  p.clip(inner, 0);
  double top = inner.top;
  for (const auto& line : measurer.wrap(text, field.font(), inner.width)) {
    Painter::Box row{inner.left, top, inner.width, lh};
    p.text({Painter::Run{text.SubString2(line.start, line.start + line.length), field.font(), color}}, row,
           H(a.horizontal), Painter::VAlign::Center);
    top += lh;
  }
  p.restore();
}

void ViewRenderer::draw(Painter& p, const ViewObject& v, bool isRoot, const std::optional<Painter::Box>& visible) {
  if (!v.visible()) return;
  Frame f = v.presentationFrame();
  p.save();
  if (!isRoot) p.translate(f.left, f.top);
  Painter::Box box{0, 0, f.width, f.height};
  p.fill(box, v.cornerRadius(), Argb(v.presentationColor()));

  if (const auto* iv = dynamic_cast<const ImageViewObject*>(&v); iv && iv->bitmap()) {
    p.save();
    p.clip(box, v.cornerRadius());
    p.bitmap(*iv->bitmap(), box, FitOf(iv->contentMode()));
    p.restore();
  }
  if (const auto& picture = v.canvasPicture(); picture && picture->pixelWidth() > 0 && picture->pixelHeight() > 0) {
    // A canvas's picture at its own size from the top-left corner, inside the rounded corners.
    p.save();
    p.clip(box, v.cornerRadius());
    p.bitmap(*picture, Painter::Box{0, 0, picture->Width(), picture->Height()}, Painter::Fit::Fill);
    p.restore();
  }
  if (const auto* label = dynamic_cast<const LabelObject*>(&v)) {
    p.save();
    if (!label->enabled()) p.setOpacity(kDisabledTextOpacity);
    drawLabel(p, *label, box);
    p.restore();
  }
  if (const auto* button = dynamic_cast<const ButtonObject*>(&v)) {
    uint32_t color = Argb(button->enabled() ? button->textColor() : button->disabledTextColor());
    p.save();
    if (button->highlighted()) p.setOpacity(kPressedOpacity);
    auto a = button->textAlignment();
    p.text({Painter::Run{button->text(), button->font(), color}}, box, H(a.horizontal), V(a.vertical));
    p.restore();
  }
  if (const auto* field = dynamic_cast<const TextFieldObject*>(&v)) drawTextField(p, *field, box);
  p.stroke(box, v.cornerRadius(), v.borderWidth(), Argb(v.borderColor()));

  if (!v.children().empty()) {
    if (v.cornerRadius() > 0 || v.clipsToBounds()) p.clip(box, v.cornerRadius());
    // What can show of the children, in their parent's content coordinates.
    std::optional<Painter::Box> shown = visible;
    if (v.clipsToBounds()) {
      Painter::Box own = box;
      if (shown) {
        double l = std::max(own.left, shown->left), t = std::max(own.top, shown->top);
        double r = std::min(own.left + own.width, shown->left + shown->width);
        double b = std::min(own.top + own.height, shown->top + shown->height);
        own = Painter::Box{l, t, std::max(0.0, r - l), std::max(0.0, b - t)};
      }
      shown = own;
    }
    if (shown) {
      shown->left += v.scrollX();
      shown->top += v.scrollY();
    }
    p.translate(-v.scrollX(), -v.scrollY());
    for (const auto& c : v.children()) {
      Frame cf = c->presentationFrame();
      if (shown && !Intersects(*shown, cf)) continue;
      std::optional<Painter::Box> inChild;
      if (shown) inChild = Painter::Box{shown->left - cf.left, shown->top - cf.top, shown->width, shown->height};
      draw(p, *c, false, inChild);
    }
  }
  p.restore();
}

}  // namespace tmr
