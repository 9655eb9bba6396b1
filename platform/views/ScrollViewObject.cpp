#include "platform/views/ScrollViewObject.h"

#include <algorithm>
#include <cmath>

#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/PanelObject.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

namespace {
double Ease(double t) { return t * t * (3 - 2 * t); }
}  // namespace

ScrollViewObject::ScrollViewObject(ViewSystem& system) : ViewObject(system) {}

ScrollViewObject::~ScrollViewObject() { stopAnimation(); }

MainLoop* ScrollViewObject::loop() const { return system() ? &system()->runtime().loop() : nullptr; }

void ScrollViewObject::createInnerPanel() {
  if (inner_ || !system()) return;
  inner_ = system()->make<PanelObject>();
  addChild(inner_, Frame{0, 0, static_cast<double>(contentWidth_), static_cast<double>(contentHeight_)});
}

void ScrollViewObject::setContentSize(int32_t width, int32_t height) {
  contentWidth_ = width;
  contentHeight_ = height;
  if (inner_) inner_->setFrame(Frame{0, 0, static_cast<double>(width), static_cast<double>(height)});
}

double ScrollViewObject::maxOffsetX() const { return std::max(0.0, contentWidth_ - frame().width); }
double ScrollViewObject::maxOffsetY() const { return std::max(0.0, contentHeight_ - frame().height); }

void ScrollViewObject::setOffset(double x, double y) {
  stopAnimation();
  if (x == offsetX_ && y == offsetY_) return;
  offsetX_ = x;
  offsetY_ = y;
  invalidate();
  raise("scrollchanged", {Object(Object(x).AsInt()), Object(Object(y).AsInt())});
}

void ScrollViewObject::scrollTo(double x, double y, bool animated) {
  auto* l = loop();
  if (!animated || !l) {
    setOffset(x, y);
    return;
  }
  stopAnimation();
  dragging_ = false;
  animFromX_ = offsetX_;
  animFromY_ = offsetY_;
  animToX_ = x;
  animToY_ = y;
  animStart_ = l->steadyNow();
  std::weak_ptr<ScrollViewObject> weak = self<ScrollViewObject>();
  animTimer_ = l->addTimer(kFrameMs, [weak] {
    if (auto me = weak.lock()) me->animationFrame();
  });
}

void ScrollViewObject::animationFrame() {
  auto* l = loop();
  animTimer_ = 0;
  if (!l) return;
  int64_t elapsed = l->steadyNow() - animStart_;
  double t = std::min(1.0, static_cast<double>(elapsed) / static_cast<double>(kScrollAnimationMs));
  double e = Ease(t);
  double x = t >= 1 ? animToX_ : animFromX_ + (animToX_ - animFromX_) * e;
  double y = t >= 1 ? animToY_ : animFromY_ + (animToY_ - animFromY_) * e;
  if (t < 1) {
    // The next frame is set before the handlers hear of this one, so that a handler that
    // scrolls or sets the offset ends the animation for good.
    std::weak_ptr<ScrollViewObject> weak = self<ScrollViewObject>();
    int64_t next = std::min(kFrameMs, kScrollAnimationMs - elapsed);
    animTimer_ = l->addTimer(std::max<int64_t>(1, next), [weak] {
      if (auto me = weak.lock()) me->animationFrame();
    });
  }
  if (x == offsetX_ && y == offsetY_) return;
  offsetX_ = x;
  offsetY_ = y;
  invalidate();
  raise("scrollchanged", {Object(Object(x).AsInt()), Object(Object(y).AsInt())});
}

void ScrollViewObject::stopAnimation() {
  if (animTimer_ == 0) return;
  if (auto* l = loop()) l->cancelTimer(animTimer_);
  animTimer_ = 0;
}

void ScrollViewObject::beginDrag() {
  stopAnimation();
  dragging_ = true;
  // NaN names no point of the content: the finger moves the content from its start.
  dragStartX_ = std::isnan(offsetX_) ? 0 : offsetX_;
  dragStartY_ = std::isnan(offsetY_) ? 0 : offsetY_;
}

void ScrollViewObject::dragBy(double dx, double dy) {
  if (!dragging_) return;
  // The content follows the finger: moving the finger up shows what lies further down.
  double x = std::clamp(dragStartX_ - dx, 0.0, maxOffsetX());
  double y = std::clamp(dragStartY_ - dy, 0.0, maxOffsetY());
  if (x == offsetX_ && y == offsetY_) return;
  offsetX_ = x;
  offsetY_ = y;
  invalidate();
  raise("scrollchanged", {Object(Object(x).AsInt()), Object(Object(y).AsInt())});
}

Object ScrollViewObject::runMethod(std::string_view selector, std::vector<Object> args) {
  if (selector == "setShowsHorizontalScrollIndicator:" && args.size() == 1) {
    showsHorizontal_ = args[0].IsBoolean() ? args[0].AsBool() : args[0].AsDouble() != 0;
    return {};
  }
  if (selector == "setShowsVerticalScrollIndicator:" && args.size() == 1) {
    showsVertical_ = args[0].IsBoolean() ? args[0].AsBool() : args[0].AsDouble() != 0;
    return {};
  }
  if (selector == "showsHorizontalScrollIndicator" && args.empty()) return Object(showsHorizontal_);
  if (selector == "showsVerticalScrollIndicator" && args.empty()) return Object(showsVertical_);
  return ViewObject::runMethod(selector, std::move(args));
}

void ScrollViewObject::dispose() {
  stopAnimation();
  inner_.reset();
  ViewObject::dispose();
}

}  // namespace tmr
