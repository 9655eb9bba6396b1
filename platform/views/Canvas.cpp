#include "platform/views/Canvas.h"

#include <cmath>

#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/CanvasSurface.h"
#include "platform/graphics/FontLibrary.h"
#include "platform/views/TextAlignment.h"
#include "platform/views/ViewObject.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

struct Canvas::Data {
  std::weak_ptr<ViewObject> view;
  std::unique_ptr<CanvasSurface> surface;
};

namespace {

int Pixels(double points) {
  if (!std::isfinite(points) || points <= 0) return 0;
  // Far beyond any screen: a size this large is a mistake, not a picture to allocate.
  if (points > 1 << 15) throw RuntimeError("Canvas size too large: " + std::to_string(points));
  return static_cast<int>(std::lround(points));
}

uint32_t Argb(int32_t c) { return static_cast<uint32_t>(c); }

const Bitmap& Checked(const std::shared_ptr<Bitmap>& b) {
  if (!b) throw NotInitialized("Bitmap");
  return *b;
}

}  // namespace

void Canvas::Initialize(const View& view) {
  if (!view.IsInitialized()) throw NotInitialized("View");
  auto* system = view.native()->system();
  if (!system) throw RuntimeError("Canvas: the view no longer belongs to a view system");
  const Frame& f = view.native()->frame();
  auto surface =
      std::make_unique<CanvasSurface>(system->runtime().service<FontLibrary>(), Pixels(f.width), Pixels(f.height));
  if (!d_) d_ = std::make_shared<Data>();
  d_->view = view.native();
  d_->surface = std::move(surface);
}

bool Canvas::IsInitialized() const { return d_ && d_->surface; }

CanvasSurface& Canvas::surface() const {
  if (!IsInitialized()) throw NotInitialized("Canvas");
  return *d_->surface;
}

Rect Canvas::TargetRect() const {
  auto& s = surface();
  return Rect(0, 0, static_cast<float>(s.width()), static_cast<float>(s.height()));
}

void Canvas::Resize(double width, double height) const { surface().resize(Pixels(width), Pixels(height)); }

void Canvas::ClearRect(const Rect& rect) const { surface().clearRect(rect); }

void Canvas::DrawRect(const Rect& rect, int32_t color, bool filled, double strokeWidth) const {
  surface().drawRect(rect, Argb(color), filled, strokeWidth);
}

void Canvas::DrawRectRotated(const Rect& rect, int32_t color, bool filled, double strokeWidth, double degrees) const {
  surface().drawRectRotated(rect, Argb(color), filled, strokeWidth, degrees);
}

void Canvas::DrawCircle(double x, double y, double radius, int32_t color, bool filled, double strokeWidth) const {
  surface().drawCircle(x, y, radius, Argb(color), filled, strokeWidth);
}

void Canvas::DrawLine(double x1, double y1, double x2, double y2, int32_t color, double strokeWidth) const {
  surface().drawLine(x1, y1, x2, y2, Argb(color), strokeWidth);
}

void Canvas::DrawPath(const Path& path, int32_t color, bool filled, double strokeWidth) const {
  surface().drawPath(path, Argb(color), filled, strokeWidth);
}

void Canvas::DrawText(const String& text, double x, double y, const Font& font, int32_t color,
                      std::string_view alignment) const {
  auto& s = surface();
  CanvasSurface::Align align = CanvasSurface::Align::Left;
  switch (TextAlignment::ParseHorizontal(alignment)) {
    case HorizontalAlignment::Left:
      break;
    case HorizontalAlignment::Center:
      align = CanvasSurface::Align::Center;
      break;
    case HorizontalAlignment::Right:
      align = CanvasSurface::Align::Right;
      break;
  }
  if (!font.IsInitialized()) throw NotInitialized("Font");
  s.drawText(text, x, y, font, Argb(color), align);
}

Rect Canvas::MeasureText(const String& text, const Font& font) const {
  auto& s = surface();
  if (!font.IsInitialized()) throw NotInitialized("Font");
  return s.measureText(text, font);
}

void Canvas::DrawBitmap(const std::shared_ptr<Bitmap>& bitmap, const Rect& dest) const {
  surface().drawBitmap(Checked(bitmap), dest, 0);
}

void Canvas::DrawBitmapRotated(const std::shared_ptr<Bitmap>& bitmap, const Rect& dest, double degrees) const {
  surface().drawBitmap(Checked(bitmap), dest, degrees);
}

void Canvas::ClipPath(const Path& path) const { surface().clipPath(path); }
void Canvas::RemoveClip() const { surface().removeClip(); }

void Canvas::Invalidate() const {
  auto& s = surface();
  if (auto v = d_->view.lock()) v->setCanvasPicture(s.picture());
}

std::shared_ptr<Bitmap> Canvas::CreateBitmap() const { return surface().picture(); }

void Canvas::Release() const {
  if (d_) d_->surface.reset();
}

}  // namespace tmr
