#include "platform/views/ViewRenderer.h"

#include "platform/core/Runtime.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/FontLibrary.h"
#include "platform/graphics/Painter.h"
#include "platform/views/ButtonObject.h"
#include "platform/views/ImageViewObject.h"
#include "platform/views/LabelObject.h"

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

}  // namespace

std::shared_ptr<Bitmap> ViewRenderer::render(const ViewObject& root, double scale) {
  Frame f = root.presentationFrame();
  Painter p(rt_.service<FontLibrary>(), f.width, f.height, scale);
  draw(p, root, true);
  return p.picture();
}

void ViewRenderer::draw(Painter& p, const ViewObject& v, bool isRoot) {
  if (!v.visible()) return;
  Frame f = v.presentationFrame();
  p.save();
  if (!isRoot) p.translate(f.left, f.top);
  Painter::Box box{0, 0, f.width, f.height};
  p.fill(box, v.cornerRadius(), Argb(v.color()));

  if (const auto* iv = dynamic_cast<const ImageViewObject*>(&v); iv && iv->bitmap()) {
    p.save();
    p.clip(box, v.cornerRadius());
    p.bitmap(*iv->bitmap(), box, FitOf(iv->contentMode()));
    p.restore();
  }
  if (const auto* label = dynamic_cast<const LabelObject*>(&v)) {
    std::vector<Painter::Run> runs;
    if (const auto& rich = label->attributedText()) {
      for (const auto& r : rich->runs()) {
        runs.push_back(Painter::Run{r.text, r.font.IsInitialized() ? r.font : label->font(),
                                    Argb(r.color.value_or(label->textColor()))});
      }
    } else {
      runs.push_back(Painter::Run{label->text(), label->font(), Argb(label->textColor())});
    }
    p.save();
    if (!label->enabled()) p.setOpacity(kDisabledTextOpacity);
    auto a = label->textAlignment();
    p.text(runs, box, H(a.horizontal), V(a.vertical));
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
  p.stroke(box, v.cornerRadius(), v.borderWidth(), Argb(v.borderColor()));

  if (!v.children().empty()) {
    if (v.cornerRadius() > 0) p.clip(box, v.cornerRadius());
    for (const auto& c : v.children()) draw(p, *c, false);
  }
  p.restore();
}

}  // namespace tmr
