#pragma once
// The view layer of one runtime (a runtime service): the screen's size, the touch in progress,
// the layout loader's hook, and every view made, so that the views' references (Tags holding
// custom views, children, recognizers) are dropped when the runtime shuts down.
// Making it registers the platform classes that module code reaches by name:
// "UIImpactFeedbackGenerator" and "UILongPressGestureRecognizer".
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

  void setLayoutLoading(std::shared_ptr<LayoutLoading> loader) { layoutLoading_ = std::move(loader); }
  LayoutLoading* layoutLoading() const { return layoutLoading_.get(); }

  // Makes a view of kind T (PanelObject, LabelObject, ...) belonging to this system.
  template <class T, class... A>
  std::shared_ptr<T> make(A&&... args) {
    auto v = std::make_shared<T>(*this, std::forward<A>(args)...);
    track(v);
    return v;
  }

 private:
  void track(const std::shared_ptr<ViewObject>& view);

  Runtime& rt_;
  double screenWidth_ = kScreenWidth;
  double screenHeight_ = kScreenHeight;
  TouchInput touches_;
  std::shared_ptr<LayoutLoading> layoutLoading_;
  std::vector<std::weak_ptr<ViewObject>> views_;
  size_t pruneAt_ = 64;
};

}  // namespace tmr
