#include "platform/views/ViewObject.h"

#include <algorithm>
#include <cmath>

#include "platform/core/Module.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Bitmap.h"
#include "platform/views/GestureRecognizer.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

ViewObject::ViewObject(ViewSystem& system) : system_(&system) {}

ViewObject::~ViewObject() = default;

std::string ViewObject::description() const {
  std::string s = "(" + std::string(typeName()) + ")";
  if (!name_.empty()) s += " " + name_;
  return s;
}

void ViewObject::setEvents(std::shared_ptr<Dispatcher> ba, std::string eventName) {
  events_ = std::move(ba);
  eventName_ = std::move(eventName);
}

bool ViewObject::raisesEvents() const { return events_ && !eventName_.empty(); }

void ViewObject::raise(std::string_view event, std::vector<Object> args) {
  if (!raisesEvents()) return;
  auto events = events_;  // the handler may reset this view's events
  events->raiseEvent(Object(self<ViewObject>()), eventName_, event, std::move(args));
}

void ViewObject::addChild(const std::shared_ptr<ViewObject>& child, const Frame& frame) {
  if (!child) throw NotInitialized("View");
  if (child.get() == this || isInside(*child))
    throw RuntimeError("A view cannot be added inside itself: " + child->description());
  if (child->parent()) child->removeFromParent();
  child->parent_ = self<ViewObject>();
  children_.push_back(child);
  child->setFrame(frame);
}

void ViewObject::removeFromParent() {
  auto p = parent();
  if (!p) return;
  becameUntouchable();
  auto keep = self<ViewObject>();
  auto& siblings = p->children_;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), keep), siblings.end());
  parent_.reset();
}

void ViewObject::removeAllChildren() {
  auto children = children_;
  for (auto& c : children) c->removeFromParent();
}

void ViewObject::bringToFront() {
  auto p = parent();
  if (!p) return;
  auto keep = self<ViewObject>();
  auto& siblings = p->children_;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), keep), siblings.end());
  siblings.push_back(keep);
}

bool ViewObject::isInside(const ViewObject& other) const {
  for (const ViewObject* v = this; v; v = v->parent_.lock().get()) {
    if (v == &other) return true;
  }
  return false;
}

namespace {
// Ease in, ease out: slow at both ends, as the platform animates.
double Ease(double t) { return t * t * (3 - 2 * t); }
double Mix(double a, double b, double t) { return a + (b - a) * t; }
}  // namespace

void ViewObject::setFrame(const Frame& f, int64_t durationMs) {
  int64_t now = system_ ? system_->runtime().Now() : 0;
  if (durationMs > 0) {
    animFrom_ = presentationFrame();
    animStart_ = now;
    animDuration_ = durationMs;
  } else {
    animDuration_ = 0;
  }
  bool resized = f.width != frame_.width || f.height != frame_.height;
  frame_ = f;
  if (resized) {
    if (auto cv = customView(); cv && system_) {
      system_->runtime().deliver(cv, Object(self<ViewObject>()), "base_resize::", {Object(f.width), Object(f.height)});
    }
  }
}

bool ViewObject::isAnimating() const {
  if (animDuration_ <= 0 || !system_) return false;
  return system_->runtime().Now() < animStart_ + animDuration_;
}

Frame ViewObject::presentationFrame() const {
  if (!isAnimating()) return frame_;
  double t = Ease(static_cast<double>(system_->runtime().Now() - animStart_) / static_cast<double>(animDuration_));
  return Frame{Mix(animFrom_.left, frame_.left, t), Mix(animFrom_.top, frame_.top, t),
               Mix(animFrom_.width, frame_.width, t), Mix(animFrom_.height, frame_.height, t)};
}

void ViewObject::setVisible(bool visible) {
  bool hiding = visible_ && !visible;
  visible_ = visible;
  if (hiding) becameUntouchable();
}

void ViewObject::setEnabled(bool enabled) {
  bool disabling = enabled_ && !enabled;
  enabled_ = enabled;
  if (disabling) becameUntouchable();
}

void ViewObject::setColor(int32_t argb) {
  color_ = argb;
  colorDuration_ = 0;
}

void ViewObject::setColorAnimated(int64_t durationMs, int32_t from, int32_t to) {
  color_ = to;
  colorFrom_ = from;
  colorDuration_ = durationMs > 0 && system_ ? durationMs : 0;
  colorStart_ = system_ ? system_->runtime().Now() : 0;
}

bool ViewObject::isColorAnimating() const {
  if (colorDuration_ <= 0 || !system_) return false;
  return system_->runtime().Now() < colorStart_ + colorDuration_;
}

int32_t ViewObject::presentationColor() const {
  if (!isColorAnimating()) return color_;
  double t = Ease(static_cast<double>(system_->runtime().Now() - colorStart_) / static_cast<double>(colorDuration_));
  // Each channel (straight alpha) moves on its own from the first colour to the second.
  auto from = static_cast<uint32_t>(colorFrom_), to = static_cast<uint32_t>(color_);
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    double a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
    auto channel = static_cast<uint32_t>(std::lround(Mix(a, b, t)));
    out |= std::min<uint32_t>(channel, 255) << shift;
  }
  return static_cast<int32_t>(out);
}

void ViewObject::setColorAndBorder(int32_t color, double borderWidth, int32_t borderColor, double cornerRadius) {
  setColor(color);
  borderWidth_ = borderWidth;
  borderColor_ = borderColor;
  cornerRadius_ = cornerRadius;
}

void ViewObject::unsupported(std::string_view property) const {
  throw RuntimeError(std::string(property) + " is not supported by " + std::string(typeName()));
}

String ViewObject::text() const { unsupported("Text"); }
void ViewObject::setText(const String&) { unsupported("Text"); }
int32_t ViewObject::textColor() const { unsupported("TextColor"); }
void ViewObject::setTextColor(int32_t) { unsupported("TextColor"); }
Font ViewObject::font() const { unsupported("Font"); }
void ViewObject::setFont(const Font&) { unsupported("Font"); }
TextAlignment ViewObject::textAlignment() const { unsupported("TextAlignment"); }
void ViewObject::setTextAlignment(const TextAlignment&) { unsupported("TextAlignment"); }

void ViewObject::addGestureRecognizer(const std::shared_ptr<GestureRecognizer>& recognizer) {
  if (!recognizer) throw NotInitialized("GestureRecognizer");
  if (std::find(recognizers_.begin(), recognizers_.end(), recognizer) != recognizers_.end()) return;
  if (auto old = recognizer->view()) {
    auto& r = old->recognizers_;
    r.erase(std::remove(r.begin(), r.end(), recognizer), r.end());
  }
  recognizer->attach(self<ViewObject>());
  recognizers_.push_back(recognizer);
}

void ViewObject::click() { raise("click", {}); }

bool ViewObject::takesLongClicks() const { return takesClicks() && handlesEvent("longclick", 0); }

bool ViewObject::handlesEvent(std::string_view event, int parameterCount) const {
  if (!raisesEvents()) return false;
  auto module = events_->target();
  return module && module->hasSub("_" + EventString(eventName_, event, parameterCount));
}

void ViewObject::touchEvent(int action, double x, double y) {
  raise("touch", {Object(action), Object(static_cast<float>(x)), Object(static_cast<float>(y))});
}

void ViewObject::longClick() { raise("longclick", {}); }

void ViewObject::setCustomView(const std::shared_ptr<Module>& view) { customView_ = view; }

Object ViewObject::runMethod(std::string_view selector, std::vector<Object> args) {
  if (selector == "addGestureRecognizer:" && args.size() == 1) {
    auto r = args[0].As<GestureRecognizer>();
    if (!r) throw RuntimeError("addGestureRecognizer: needs a gesture recognizer, got " + args[0].AsString().str());
    addGestureRecognizer(r);
    return {};
  }
  throw RuntimeError("Method not found: " + std::string(selector) + " (" + std::string(typeName()) + ")");
}

void ViewObject::becameUntouchable() {
  if (system_) system_->touches().viewBecameUntouchable(*this);
}

void ViewObject::setCanvasPicture(std::shared_ptr<Bitmap> picture) {
  canvasPicture_ = std::move(picture);
  ++canvasInvalidations_;
}

void ViewObject::dispose() {
  auto children = std::move(children_);
  children_.clear();
  for (auto& c : children) c->parent_.reset();
  parent_.reset();
  tag_ = Object();
  recognizers_.clear();
  events_.reset();
  customView_.reset();
  canvasPicture_.reset();
  system_ = nullptr;
}

}  // namespace tmr
