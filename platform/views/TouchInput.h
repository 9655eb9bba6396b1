#pragma once
// One finger on the screen. A touch-down finds the top-most view under the point (children
// before their parent, later children before earlier ones), skipping hidden and disabled views
// with everything inside them. The gesture recognizers of that view and of the views around it
// follow the touch; the nearest of those views that takes clicks raises "click" when the finger
// lifts inside it, unless a recognizer recognized its gesture or the touch was cancelled.
// A view that becomes hidden, disabled or leaves the tree during the touch cancels it.
#include <memory>
#include <vector>

#include "platform/views/Frame.h"

namespace tmr {

class GestureRecognizer;
class ViewObject;

class TouchInput {
 public:
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
  void cancel();
  bool active() const { return active_; }
  // The view the touch in progress landed on, or null.
  std::shared_ptr<ViewObject> touchedView() const;

  // Views call this when they become hidden or disabled or leave the tree.
  void viewBecameUntouchable(const ViewObject& view);

 private:
  // The point in the coordinates of view, or false when it is no longer inside root.
  bool toLocal(const ViewObject& view, double& x, double& y) const;

  bool active_ = false;
  std::weak_ptr<ViewObject> root_;
  std::weak_ptr<ViewObject> hit_;
  std::weak_ptr<ViewObject> clickTarget_;
  std::vector<std::weak_ptr<ViewObject>> chain_;  // the hit view and every view around it
  std::vector<std::weak_ptr<GestureRecognizer>> followers_;  // recognizers following the touch
  double x_ = 0;
  double y_ = 0;
};

}  // namespace tmr
