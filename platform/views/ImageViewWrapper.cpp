#include "platform/views/ImageViewWrapper.h"

#include "platform/core/Module.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/views/ViewSystem.h"

namespace tmr {

ImageViewWrapper ImageViewWrapper::FromObject(const Object& o) {
  auto v = o.As<ImageViewObject>();
  return ImageViewWrapper(std::static_pointer_cast<ViewObject>(v));
}

void ImageViewWrapper::Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName) {
  if (!ba) throw NotInitialized("Dispatcher");
  auto v = ViewSystem::of(ba->runtime()).make<ImageViewObject>();
  v->setEvents(ba, std::string(eventName));
  static_cast<View&>(*this) = View(v);
}

ImageViewObject& ImageViewWrapper::imageView() const { return static_cast<ImageViewObject&>(obj()); }

}  // namespace tmr
