#pragma once
// One finger on the screen. A touch-down finds the top-most view under the point (children
// before their parent, later children before earlier ones), skipping hidden and disabled views
// with everything inside them. The gesture recognizers of that view and of the views around it
// follow the touch; the nearest of those views that takes clicks raises "click" when the finger
// lifts inside it, unless a recognizer recognized its gesture or the touch was cancelled. A
// recognition takes the touch from the view whenever it happens (at touch-down, at a move, or on
// the recognizer's own timer while the finger rests): no click, no long click follows.
// A view that becomes hidden, disabled or leaves the tree during the touch cancels it.
//
// Held: a finger that stays down kLongClickMs on a view whose module handles its "longclick"
// (and does not move more than kTouchSlop) makes that view raise "longclick" then, and no click
// follows, unless a recognizer following the touch recognized its gesture by then (one due at
// the same moment comes first). Dragged: a finger that moves more than kTouchSlop inside a scroll
// view whose content can scroll drags the content with it; the touch then belongs to the scroll
// view, and the views inside it lose it (no click, no long click, their recognizers cancelled).
// Scroll views move their children by their offset: hit testing and frames account for it.
//
// Touch events: the touch belongs to the nearest view around the hit view (the hit view
// included) that takes clicks or touch events; when that view takes touch events (a panel whose
// module handles "<event name>_touch:::"), it raises "touch" with kActionDown
// when the finger goes down, kActionMove at each move and kActionUp when it lifts, with the point
// in that panel's coordinates (outside its bounds when the finger moved out: the touch stays
// with it), alongside the click and long click. A touch that is cancelled (the view became
// untouchable, a scroll view around the panel took the touch, a new touch began, the window lost
// the pointer) ends with kActionCancel at the finger's last point instead of kActionUp:
// the panel stops looking pressed and acts on nothing.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/MainLoop.h"
#include "platform/views/Frame.h"

namespace tmr {

class GestureRecognizer;
class ScrollViewObject;
class ViewObject;

class TouchInput {
 public:
  static constexpr int64_t kLongClickMs = 500;
  static constexpr double kTouchSlop = 10;
  // The runtime's touch actions.
  static constexpr int kActionDown = 0;
  static constexpr int kActionUp = 1;
  static constexpr int kActionMove = 2;
  static constexpr int kActionCancel = 3;

  TouchInput() = default;
  ~TouchInput();
  TouchInput(const TouchInput&) = delete;
  TouchInput& operator=(const TouchInput&) = delete;

  // The top-most touchable view under (x, y) in root's coordinates, or null.
  static std::shared_ptr<ViewObject> hitTest(const std::shared_ptr<ViewObject>& root, double x, double y);
  // The frame of view in root's coordinates (its stored frames), or nothing when view is not
  // inside root.
  static bool frameIn(const ViewObject& view, const ViewObject& root, Frame& out);

  // Starts a touch at (x, y) in root's coordinates; returns the view it landed on (null when
  // none). A touch still in progress is cancelled first.
  std::shared_ptr<ViewObject> down(const std::shared_ptr<ViewObject>& root, double x, double y);
  void move(double x, double y);
  void up();
  // Ends the touch in progress without a click: the touch panel hears kActionCancel and the
  // recognizers are cancelled. The window host calls it when the window loses the pointer.
  void cancel();
  bool active() const { return active_; }
  // The view the touch in progress landed on, or null.
  std::shared_ptr<ViewObject> touchedView() const;
  // Whether the touch in progress drags a scroll view's content.
  bool dragging() const { return active_ && dragging_; }

  // Views call this when they become hidden or disabled or leave the tree.
  void viewBecameUntouchable(const ViewObject& view);
  // A recognizer following the touch recognized its gesture between touch events (on a timer):
  // the view loses the touch. Nothing when the recognizer follows no touch in progress.
  void recognizerRecognized(const GestureRecognizer& recognizer);

 private:
  // The point in the coordinates of view, or false when it is no longer inside root.
  bool toLocal(const ViewObject& view, double& x, double& y) const;
  void stopLongClickTimer();
  // Ends the touch in progress without telling anyone: timers, drag, targets and followers.
  void forgetTouch();
  void longClickTimerFired(uint64_t touchId);
  // The finger left the slop around where it went down inside a scroll view: the drag begins.
  void beginDrag(const std::shared_ptr<ScrollViewObject>& scroller);
  // Raises the touch panel's touch event at the finger's point; a panel that has left the tree
  // hears only the end of the touch (kActionUp or kActionCancel), at the last point it heard.
  // False when nothing was raised.
  bool raiseTouch(const std::shared_ptr<ViewObject>& panel, int action);
  // The touch panel loses the touch: it hears kActionCancel.
  void cancelTouchPanel();

  bool active_ = false;
  std::weak_ptr<ViewObject> root_;
  std::weak_ptr<ViewObject> hit_;
  std::weak_ptr<ViewObject> clickTarget_;
  std::weak_ptr<ViewObject> touchPanel_;  // raises the touch events of the touch in progress
  double touchPanelX_ = 0;                // the last point the touch panel heard, in its coordinates
  double touchPanelY_ = 0;
  std::vector<std::weak_ptr<ViewObject>> chain_;             // the hit view and every view around it
  std::vector<std::weak_ptr<GestureRecognizer>> followers_;  // recognizers following the touch
  double x_ = 0;
  double y_ = 0;
  double downX_ = 0;
  double downY_ = 0;
  uint64_t touchId_ = 0;
  MainLoop* loop_ = nullptr;
  MainLoop::TimerId longClickTimer_ = 0;
  bool movedAway_ = false;                    // beyond the slop: no long click any more
  std::weak_ptr<ScrollViewObject> scroller_;  // the scroll view around the hit view
  bool dragging_ = false;
};

}  // namespace tmr
