#include "platform/views/TouchInput.h"

#include "platform/views/ButtonObject.h"
#include "platform/views/GestureRecognizer.h"
#include "platform/views/ViewObject.h"

namespace tmr {

namespace {

std::shared_ptr<ViewObject> Hit(const std::shared_ptr<ViewObject>& v, double x, double y) {
  if (!v->visible() || !v->enabled()) return nullptr;
  const Frame& f = v->frame();
  if (!f.contains(x, y)) return nullptr;
  double lx = x - f.left, ly = y - f.top;
  const auto& children = v->children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    if (auto h = Hit(*it, lx, ly)) return h;
  }
  return v;
}

// Whether view and every view around it up to root are shown and enabled.
bool Touchable(const ViewObject& view, const ViewObject& root) {
  for (auto v = view.self<const ViewObject>(); v; v = v->parent()) {
    if (!v->visible() || !v->enabled()) return false;
    if (v.get() == &root) return true;
  }
  return false;
}

void SetHighlighted(const std::shared_ptr<ViewObject>& v, bool on) {
  if (auto* b = dynamic_cast<ButtonObject*>(v.get())) b->setHighlighted(on);
}

}  // namespace

std::shared_ptr<ViewObject> TouchInput::hitTest(const std::shared_ptr<ViewObject>& root, double x, double y) {
  if (!root) return nullptr;
  return Hit(root, x, y);
}

bool TouchInput::frameIn(const ViewObject& view, const ViewObject& root, Frame& out) {
  Frame f = view.frame();
  for (auto p = view.parent(); ; p = p->parent()) {
    if (&view == &root) break;
    if (!p) return false;
    f.left += p->frame().left;
    f.top += p->frame().top;
    if (p.get() == &root) break;
  }
  out = f;
  return true;
}

bool TouchInput::toLocal(const ViewObject& view, double& x, double& y) const {
  auto root = root_.lock();
  Frame f;
  if (!root || !frameIn(view, *root, f)) return false;
  x = x_ - f.left;
  y = y_ - f.top;
  return true;
}

std::shared_ptr<ViewObject> TouchInput::down(const std::shared_ptr<ViewObject>& root, double x, double y) {
  if (active_) cancel();
  active_ = true;
  root_ = root;
  x_ = x;
  y_ = y;
  auto hit = hitTest(root, x, y);
  hit_ = hit;
  chain_.clear();
  followers_.clear();
  clickTarget_.reset();
  if (!hit) return nullptr;

  std::shared_ptr<ViewObject> clickTarget;
  for (auto v = hit; v; v = v->parent()) {
    chain_.push_back(v);
    if (!clickTarget && v->takesClicks()) clickTarget = v;
    for (const auto& r : v->gestureRecognizers()) {
      if (r->enabled()) followers_.push_back(r);
    }
    if (v == root) break;
  }
  clickTarget_ = clickTarget;
  if (clickTarget) SetHighlighted(clickTarget, true);

  auto followers = followers_;
  bool recognized = false;
  for (const auto& f : followers) {
    auto r = f.lock();
    if (!r) continue;
    double lx = x, ly = y;
    auto view = r->view();
    if (!view || !toLocal(*view, lx, ly)) continue;
    r->touchBegan(lx, ly);
    if (!active_ || hit_.lock() != hit) return hit;  // the action ended this touch
    recognized = recognized || r->recognized();
  }
  if (recognized) {
    // A gesture that is recognized takes the touch from the view: no click follows.
    if (clickTarget) SetHighlighted(clickTarget, false);
    clickTarget_.reset();
  }
  return hit;
}

void TouchInput::move(double x, double y) {
  if (!active_) return;
  x_ = x;
  y_ = y;
  auto hit = hit_.lock();
  auto followers = followers_;
  bool recognized = false;
  for (const auto& f : followers) {
    auto r = f.lock();
    if (!r) continue;
    double lx = x, ly = y;
    auto view = r->view();
    if (!view || !toLocal(*view, lx, ly)) continue;
    r->touchMoved(lx, ly);
    if (!active_ || hit_.lock() != hit) return;
    recognized = recognized || r->recognized();
  }
  if (recognized) {
    if (auto t = clickTarget_.lock()) SetHighlighted(t, false);
    clickTarget_.reset();
  }
}

void TouchInput::up() {
  if (!active_) return;
  auto root = root_.lock();
  auto followers = std::move(followers_);
  auto clickTarget = clickTarget_.lock();
  double x = x_, y = y_;
  // The touch is over before anyone hears of it: what the handlers do starts afresh.
  active_ = false;
  followers_.clear();
  chain_.clear();
  hit_.reset();
  clickTarget_.reset();
  for (const auto& f : followers) {
    auto r = f.lock();
    if (!r) continue;
    double lx = x, ly = y;
    auto view = r->view();
    Frame fr;
    if (view && root && frameIn(*view, *root, fr)) {
      lx = x - fr.left;
      ly = y - fr.top;
    }
    r->touchEnded(lx, ly);
  }
  if (!clickTarget) return;
  SetHighlighted(clickTarget, false);
  Frame fr;
  if (!root || !frameIn(*clickTarget, *root, fr) || !fr.contains(x, y) || !Touchable(*clickTarget, *root)) return;
  clickTarget->click();
}

void TouchInput::cancel() {
  if (!active_) return;
  auto followers = std::move(followers_);
  auto clickTarget = clickTarget_.lock();
  active_ = false;
  followers_.clear();
  chain_.clear();
  hit_.reset();
  clickTarget_.reset();
  if (clickTarget) SetHighlighted(clickTarget, false);
  for (const auto& f : followers) {
    if (auto r = f.lock()) r->touchCancelled();
  }
}

std::shared_ptr<ViewObject> TouchInput::touchedView() const { return active_ ? hit_.lock() : nullptr; }

void TouchInput::viewBecameUntouchable(const ViewObject& view) {
  if (!active_) return;
  for (const auto& w : chain_) {
    auto v = w.lock();
    if (v && v.get() == &view) {
      cancel();
      return;
    }
  }
}

}  // namespace tmr
