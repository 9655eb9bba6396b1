#pragma once
// The view layer of one runtime (a runtime service): the screen's size, the touch in progress,
// the layout loader's hook, and every view made, so that the views' references (Tags holding
// custom views, children, recognizers) are dropped when the runtime shuts down.
// Making it registers the platform classes that module code reaches by name:
// "UIImpactFeedbackGenerator" and "UILongPressGestureRecognizer".
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/views/LayoutLoading.h"
#include "platform/views/TouchInput.h"

namespace tmr {

class Runtime;
class ViewObject;

class ViewSystem {
 public:
  // A phone-sized screen, in points.
  static constexpr double kScreenWidth = 375;
  static constexpr double kScreenHeight = 667;

  explicit ViewSystem(Runtime& rt);
  ~ViewSystem();
  ViewSystem(const ViewSystem&) = delete;
  ViewSystem& operator=(const ViewSystem&) = delete;
  static ViewSystem& of(Runtime& rt);

  Runtime& runtime() const { return rt_; }
  double screenWidth() const { return screenWidth_; }
  double screenHeight() const { return screenHeight_; }
  void setScreenSize(double width, double height);

  TouchInput& touches() { return touches_; }

  // Each change to what a view shows counts here, so that a screen is drawn again only when the
  // count moved since it last drew.
  uint64_t generation() const { return generation_; }
  void invalidate() { ++generation_; }
  // A frame or colour animation moves the picture on the loop's clock with no further change
  // until `until` (a time of the loop's steady clock): a screen keeps drawing until then.
  void animateUntil(int64_t until) {
    if (until > animationsEnd_) animationsEnd_ = until;
  }
  int64_t animationsEnd() const { return animationsEnd_; }

  void setLayoutLoading(std::shared_ptr<LayoutLoading> loader) { layoutLoading_ = std::move(loader); }
  LayoutLoading* layoutLoading() const { return layoutLoading_.get(); }

  // Makes a view of kind T (PanelObject, LabelObject, ...) belonging to this system.
  template <class T, class... A>
  std::shared_ptr<T> make(A&&... args) {
    auto v = std::make_shared<T>(*this, std::forward<A>(args)...);
    track(*v);
    return v;
  }
  // Takes a view off the list of views made (it is going); nothing when it is not on it.
  void forget(ViewObject& view);

 private:
  void track(ViewObject& view);

  Runtime& rt_;
  double screenWidth_ = kScreenWidth;
  double screenHeight_ = kScreenHeight;
  TouchInput touches_;
  std::shared_ptr<LayoutLoading> layoutLoading_;
  // The views made and not yet gone, linked through the views themselves: a view leaves the
  // list as it is destroyed, so the list costs no memory of its own and keeps none alive.
  ViewObject* views_ = nullptr;
  uint64_t generation_ = 0;
  int64_t animationsEnd_ = 0;
};

}  // namespace tmr
