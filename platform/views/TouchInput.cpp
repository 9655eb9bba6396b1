#include "platform/views/TouchInput.h"

#include <cmath>
#include "platform/views/ButtonObject.h"

#include "platform/core/Runtime.h"
#include "platform/views/GestureRecognizer.h"
#include "platform/views/ScrollViewObject.h"
#include "platform/views/ViewObject.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

namespace {

std::shared_ptr<ViewObject> Hit(const std::shared_ptr<ViewObject>& v, double x, double y) {
  if (!v->visible() || !v->enabled()) return nullptr;
  const Frame& f = v->frame();
  if (!f.contains(x, y)) return nullptr;
  // Children lie in the view's content, which a scroll view shows moved by its offset.
  double lx = x - f.left + v->scrollX(), ly = y - f.top + v->scrollY();
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

TouchInput::~TouchInput() { stopLongClickTimer(); }

void TouchInput::stopLongClickTimer() {
  if (longClickTimer_ && loop_) loop_->cancelTimer(longClickTimer_);
  longClickTimer_ = 0;
}

std::shared_ptr<ViewObject> TouchInput::hitTest(const std::shared_ptr<ViewObject>& root, double x, double y) {
  if (!root) return nullptr;
  return Hit(root, x, y);
}

bool TouchInput::frameIn(const ViewObject& view, const ViewObject& root, Frame& out) {
  Frame f = view.frame();
  for (auto p = view.parent();; p = p->parent()) {
    if (&view == &root) break;
    if (!p) return false;
    f.left += p->frame().left - p->scrollX();
    f.top += p->frame().top - p->scrollY();
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
  ++touchId_;
  root_ = root;
  x_ = downX_ = x;
  y_ = downY_ = y;
  movedAway_ = false;
  dragging_ = false;
  scroller_.reset();
  auto hit = hitTest(root, x, y);
  hit_ = hit;
  chain_.clear();
  followers_.clear();
  clickTarget_.reset();
  touchPanel_.reset();
  if (!hit) return nullptr;

  std::shared_ptr<ViewObject> clickTarget;
  std::shared_ptr<ViewObject> touchPanel;
  bool touchOwned = false;  // a view that takes the touch itself was met: no panel around it hears it
  std::shared_ptr<ScrollViewObject> scroller;
  for (auto v = hit; v; v = v->parent()) {
    chain_.push_back(v);
    if (!touchOwned && v->takesTouchEvents()) touchPanel = v;
    if (v->takesTouchEvents() || v->takesClicks()) touchOwned = true;
    if (!clickTarget && v->takesClicks()) clickTarget = v;
    if (!scroller) scroller = std::dynamic_pointer_cast<ScrollViewObject>(v);
    for (const auto& r : v->gestureRecognizers()) {
      if (r->enabled()) followers_.push_back(r);
    }
    if (v == root) break;
  }
  clickTarget_ = clickTarget;
  touchPanel_ = touchPanel;
  scroller_ = scroller;
  if (clickTarget) SetHighlighted(clickTarget, true);
  if (touchPanel) {
    uint64_t id = touchId_;
    raiseTouch(touchPanel, kActionDown);
    if (!active_ || id != touchId_) return hit;  // the handler ended this touch
  }

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
  if (clickTarget_.lock() && clickTarget->takesLongClicks() && clickTarget->system()) {
    loop_ = &clickTarget->system()->runtime().loop();
    uint64_t id = touchId_;
    longClickTimer_ = loop_->addTimer(kLongClickMs, [this, id] { longClickTimerFired(id); });
  }
  return hit;
}

bool TouchInput::raiseTouch(const std::shared_ptr<ViewObject>& panel, int action) {
  if (!panel) return false;
  auto root = root_.lock();
  Frame f;
  if (root && frameIn(*panel, *root, f)) {
    touchPanelX_ = x_ - f.left;
    touchPanelY_ = y_ - f.top;
  } else if (action != kActionUp && action != kActionCancel) {
    return false;  // the panel left the tree: it only hears that the touch is over, where it last was
  }
  panel->touchEvent(action, touchPanelX_, touchPanelY_);
  return true;
}

void TouchInput::cancelTouchPanel() {
  auto panel = touchPanel_.lock();
  touchPanel_.reset();
  if (panel) raiseTouch(panel, kActionCancel);
}

void TouchInput::longClickTimerFired(uint64_t touchId) {
  longClickTimer_ = 0;
  if (!active_ || touchId != touchId_ || movedAway_) return;
  auto target = clickTarget_.lock();
  auto root = root_.lock();
  if (!target || !root || !Touchable(*target, *root)) return;
  // The long click takes the touch: lifting the finger afterwards clicks nothing.
  clickTarget_.reset();
  SetHighlighted(target, false);
  target->longClick();
}

void TouchInput::beginDrag(const std::shared_ptr<ScrollViewObject>& scroller) {
  dragging_ = true;
  stopLongClickTimer();
  if (auto t = clickTarget_.lock(); t && t->isInside(*scroller)) {
    SetHighlighted(t, false);
    clickTarget_.reset();
  }
  if (auto panel = touchPanel_.lock(); panel && panel.get() != scroller.get() && panel->isInside(*scroller)) {
    uint64_t id = touchId_;
    cancelTouchPanel();
    if (!active_ || id != touchId_) return;  // the handler ended this touch
  }
  // The recognizers of the views inside the scroll view lose the touch; those around it keep it.
  std::vector<std::weak_ptr<GestureRecognizer>> kept;
  std::vector<std::shared_ptr<GestureRecognizer>> lost;
  for (const auto& f : followers_) {
    auto r = f.lock();
    if (!r) continue;
    auto view = r->view();
    if (view && view.get() != scroller.get() && view->isInside(*scroller)) {
      lost.push_back(r);
    } else {
      kept.push_back(f);
    }
  }
  followers_ = std::move(kept);
  scroller->beginDrag();
  for (const auto& r : lost) r->touchCancelled();
}

void TouchInput::move(double x, double y) {
  if (!active_) return;
  x_ = x;
  y_ = y;
  auto hit = hit_.lock();
  uint64_t id = touchId_;
  if (!movedAway_ && std::hypot(x - downX_, y - downY_) > kTouchSlop) {
    movedAway_ = true;
    stopLongClickTimer();
    if (auto scroller = scroller_.lock(); scroller && scroller->canScroll()) beginDrag(scroller);
    if (!active_ || id != touchId_) return;
  }
  if (dragging_) {
    if (auto scroller = scroller_.lock()) scroller->dragBy(x - downX_, y - downY_);
    if (!active_ || id != touchId_) return;  // a scroll handler ended this touch
  }
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
  if (auto panel = touchPanel_.lock()) raiseTouch(panel, kActionMove);
}

void TouchInput::up() {
  if (!active_) return;
  auto root = root_.lock();
  auto followers = std::move(followers_);
  auto clickTarget = clickTarget_.lock();
  auto touchPanel = touchPanel_.lock();
  double x = x_, y = y_;
  // The touch is over before anyone hears of it: what the handlers do starts afresh.
  forgetTouch();
  if (touchPanel) raiseTouch(touchPanel, kActionUp);
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

void TouchInput::forgetTouch() {
  stopLongClickTimer();
  if (auto scroller = scroller_.lock(); scroller && dragging_) scroller->endDrag();
  dragging_ = false;
  scroller_.reset();
  active_ = false;
  followers_.clear();
  chain_.clear();
  hit_.reset();
  clickTarget_.reset();
  touchPanel_.reset();
}

void TouchInput::cancel() {
  if (!active_) return;
  auto followers = std::move(followers_);
  auto clickTarget = clickTarget_.lock();
  auto touchPanel = touchPanel_.lock();
  forgetTouch();
  if (clickTarget) SetHighlighted(clickTarget, false);
  if (touchPanel) raiseTouch(touchPanel, kActionCancel);
  for (const auto& f : followers) {
    if (auto r = f.lock()) r->touchCancelled();
  }
}

void TouchInput::recognizerRecognized(const GestureRecognizer& recognizer) {
  if (!active_ || !recognizer.recognized()) return;
  bool follows = false;
  for (const auto& f : followers_) follows = follows || f.lock().get() == &recognizer;
  if (!follows) return;
  stopLongClickTimer();
  if (auto t = clickTarget_.lock()) SetHighlighted(t, false);
  clickTarget_.reset();
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
