#pragma once
// A native scroll view as the runtime wraps it: a View that is known to be a scroll view. The
// View handle itself reads and writes its inner panel, content size and offset
// (ScrollViewInnerPanel, ScrollViewContentWidth, ScrollViewOffsetY, ...).
#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/views/ScrollViewObject.h"
#include "platform/views/View.h"

namespace tmr {

class ScrollViewWrapper : public View {
 public:
  ScrollViewWrapper() = default;
  // The scroll view an Object refers to; uninitialised when it is not a scroll view.
  static ScrollViewWrapper FromObject(const Object& o);

  // Makes a new scroll view with that content size; a non-empty event name makes it raise
  // "<event name>_scrollchanged" (offset X, offset Y) whenever its offset changes.
  void Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName, int32_t contentWidth,
                  int32_t contentHeight);
  // Scrolls to the offset (x, y): at once, or over ScrollViewObject::kScrollAnimationMs.
  void ScrollTo(double x, double y, bool animated) const;
  ScrollViewObject& scrollView() const;

 private:
  explicit ScrollViewWrapper(std::shared_ptr<ViewObject> v) : View(std::move(v)) {}
};

template <>
struct FromObject<ScrollViewWrapper> {
  static ScrollViewWrapper get(const Object& o) { return ScrollViewWrapper::FromObject(o); }
};

}  // namespace tmr
