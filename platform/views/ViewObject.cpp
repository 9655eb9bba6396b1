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

ViewObject::~ViewObject() {
  // Children that live on (held elsewhere) must not point back at this view.
  for (auto& c : children_) {
    if (c->parent_ == this) c->parent_ = nullptr;
  }
  if (system_) system_->forget(*this);
}

std::shared_ptr<ViewObject> ViewObject::parent() const {
  // Null while the parent is being destroyed, as for a parent that is gone.
  return parent_ ? std::static_pointer_cast<ViewObject>(parent_->weak_from_this().lock()) : nullptr;
}

std::string ViewObject::description() const {
  std::string s = "(" + std::string(typeName()) + ")";
  if (!name().empty()) s += " " + name();
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
  child->parent_ = this;
  child->indexHint_ = static_cast<uint32_t>(children_.size());
  children_.push_back(child);
  child->setFrame(frame);
  invalidate();
}

size_t ViewObject::indexInParent(const ViewObject& p) const {
  // Siblings only ever move towards the front (an earlier one removed or brought to the front),
  // so the view lies at its hint or before it: the search runs back from there. Should a view
  // ever come to lie after its hint, the rest is searched too: a view missed here would stay
  // among its parent's children, and drawn, after it was removed.
  auto& siblings = p.children_;
  const size_t hint = std::min<size_t>(indexHint_ + size_t{1}, siblings.size());
  for (size_t i = hint; i-- > 0;) {
    if (siblings[i].get() == this) return i;
  }
  for (size_t i = hint; i < siblings.size(); ++i) {
    if (siblings[i].get() == this) return i;
  }
  return siblings.size();  // not there (cannot happen while parent_ is set)
}

void ViewObject::removeFromParent() {
  auto p = parent();
  if (!p) return;
  becameUntouchable();
  auto keep = self<ViewObject>();
  auto& siblings = p->children_;
  if (size_t i = indexInParent(*p); i < siblings.size()) siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(i));
  parent_ = nullptr;
  invalidate();
}

void ViewObject::removeAllChildren() {
  // A touch on any of them is cancelled while the tree is still whole; a cancelled touch's
  // handler may change the children, hence the index loop.
  for (size_t i = 0; i < children_.size(); ++i) children_[i]->becameUntouchable();
  auto gone = std::move(children_);
  children_.clear();
  for (auto& c : gone) c->parent_ = nullptr;
  if (!gone.empty()) invalidate();
}

void ViewObject::bringToFront() {
  auto p = parent();
  if (!p) return;
  auto keep = self<ViewObject>();
  auto& siblings = p->children_;
  if (size_t i = indexInParent(*p); i < siblings.size()) siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(i));
  indexHint_ = static_cast<uint32_t>(siblings.size());
  siblings.push_back(keep);
  invalidate();
}

bool ViewObject::isInside(const ViewObject& other) const {
  for (const ViewObject* v = this; v; v = v->parent_) {
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
  if (durationMs > 0) {
    Frame from = presentationFrame();
    auto& x = extras();
    x.animFrom = from;
    x.animStart = system_ ? system_->runtime().SteadyNow() : 0;
    x.animDuration = durationMs;
    if (system_) system_->animateUntil(x.animStart + durationMs);
  } else if (extras_) {
    extras_->animDuration = 0;
  }
  bool resized = f.width != frame_.width || f.height != frame_.height;
  frame_ = f;
  invalidate();
  if (resized) {
    if (auto cv = customView(); cv && system_) {
      system_->runtime().deliver(cv, Object(self<ViewObject>()), "base_resize::", {Object(f.width), Object(f.height)});
    }
  }
}

bool ViewObject::isAnimating() const {
  if (!extras_ || extras_->animDuration <= 0 || !system_) return false;
  return system_->runtime().SteadyNow() < extras_->animStart + extras_->animDuration;
}

Frame ViewObject::presentationFrame() const {
  if (!isAnimating()) return frame_;
  const auto& x = *extras_;
  double t = Ease(static_cast<double>(system_->runtime().SteadyNow() - x.animStart) / static_cast<double>(x.animDuration));
  return Frame{Mix(x.animFrom.left, frame_.left, t), Mix(x.animFrom.top, frame_.top, t),
               Mix(x.animFrom.width, frame_.width, t), Mix(x.animFrom.height, frame_.height, t)};
}

void ViewObject::setVisible(bool visible) {
  bool hiding = visible_ && !visible;
  visible_ = visible;
  invalidate();
  if (hiding) becameUntouchable();
}

void ViewObject::setEnabled(bool enabled) {
  bool disabling = enabled_ && !enabled;
  enabled_ = enabled;
  invalidate();
  if (disabling) becameUntouchable();
}

void ViewObject::setColor(int32_t argb) {
  color_ = argb;
  if (extras_) extras_->colorDuration = 0;
  invalidate();
}

void ViewObject::setColorAnimated(int64_t durationMs, int32_t from, int32_t to) {
  color_ = to;
  auto& x = extras();
  x.colorFrom = from;
  x.colorDuration = durationMs > 0 && system_ ? durationMs : 0;
  x.colorStart = system_ ? system_->runtime().SteadyNow() : 0;
  if (system_) system_->animateUntil(x.colorStart + x.colorDuration);
  invalidate();
}

bool ViewObject::isColorAnimating() const {
  if (!extras_ || extras_->colorDuration <= 0 || !system_) return false;
  return system_->runtime().SteadyNow() < extras_->colorStart + extras_->colorDuration;
}

int32_t ViewObject::presentationColor() const {
  if (!isColorAnimating()) return color_;
  const auto& x = *extras_;
  double t = Ease(static_cast<double>(system_->runtime().SteadyNow() - x.colorStart) / static_cast<double>(x.colorDuration));
  // Each channel (straight alpha) moves on its own from the first colour to the second.
  auto from = static_cast<uint32_t>(x.colorFrom), to = static_cast<uint32_t>(color_);
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
  if (!extras_ && borderWidth == 0 && borderColor == 0 && cornerRadius == 0) return;  // setColor invalidated
  auto& x = extras();
  x.borderWidth = borderWidth;
  x.borderColor = borderColor;
  x.cornerRadius = cornerRadius;
  invalidate();
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
  auto& mine = extras().recognizers;
  if (std::find(mine.begin(), mine.end(), recognizer) != mine.end()) return;
  if (auto old = recognizer->view()) {
    auto& r = old->extras().recognizers;
    r.erase(std::remove(r.begin(), r.end(), recognizer), r.end());
  }
  recognizer->attach(self<ViewObject>());
  mine.push_back(recognizer);
}

const std::vector<std::shared_ptr<GestureRecognizer>>& ViewObject::gestureRecognizers() const {
  static const std::vector<std::shared_ptr<GestureRecognizer>> none;
  return extras_ ? extras_->recognizers : none;
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

void ViewObject::setCustomView(const std::shared_ptr<Module>& view) {
  if (view || extras_) extras().customView = view;
}

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

void ViewObject::invalidate() const {
  if (system_) system_->invalidate();
}

void ViewObject::setCanvasPicture(std::shared_ptr<Bitmap> picture) {
  auto& x = extras();
  x.canvasPicture = std::move(picture);
  ++x.canvasInvalidations;
  invalidate();
}

const std::string& ViewObject::name() const {
  static const std::string none;
  return extras_ ? extras_->name : none;
}

void ViewObject::setName(std::string name) {
  if (!name.empty() || extras_) extras().name = std::move(name);
}

Object ViewObject::tag() const {
  switch (tagKind_) {
    case TagKind::Int: return Object(tagInt_);
    case TagKind::Other: return extras_->tag;
    case TagKind::Null: break;
  }
  return Object();
}

void ViewObject::setTag(Object tag) {
  if (extras_) extras_->tag = Object();
  if (tag.kind() == Object::Kind::Int) {
    tagKind_ = TagKind::Int;
    tagInt_ = tag.AsInt();
  } else if (tag.IsNull()) {
    tagKind_ = TagKind::Null;
  } else {
    tagKind_ = TagKind::Other;
    extras().tag = std::move(tag);
  }
}

ViewObject::Extras& ViewObject::extras() {
  if (!extras_) extras_ = std::make_unique<Extras>();
  return *extras_;
}

void ViewObject::dispose() {
  auto children = std::move(children_);
  children_.clear();
  for (auto& c : children) {
    if (c->parent_ == this) c->parent_ = nullptr;
  }
  parent_ = nullptr;
  tagKind_ = TagKind::Null;
  if (extras_) {
    extras_->tag = Object();
    extras_->recognizers.clear();
    extras_->customView.reset();
    extras_->canvasPicture.reset();
  }
  events_.reset();
  if (system_) system_->forget(*this);
  system_ = nullptr;
}

}  // namespace tmr
