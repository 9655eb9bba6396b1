#include "platform/views/ScrollViewWrapper.h"

#include "platform/core/Module.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

ScrollViewWrapper ScrollViewWrapper::FromObject(const Object& o) {
  auto v = o.As<ScrollViewObject>();
  return ScrollViewWrapper(std::static_pointer_cast<ViewObject>(v));
}

void ScrollViewWrapper::Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName,
                                   int32_t contentWidth, int32_t contentHeight) {
  if (!ba) throw NotInitialized("Dispatcher");
  auto v = ViewSystem::of(ba->runtime()).make<ScrollViewObject>();
  v->setEvents(ba, std::string(eventName));
  v->setContentSize(contentWidth, contentHeight);
  v->createInnerPanel();
  static_cast<View&>(*this) = View(v);
}

void ScrollViewWrapper::ScrollTo(double x, double y, bool animated) const { scrollView().scrollTo(x, y, animated); }

ScrollViewObject& ScrollViewWrapper::scrollView() const { return static_cast<ScrollViewObject&>(obj()); }

}  // namespace tmr
