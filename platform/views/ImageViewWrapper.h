#pragma once
// A native image view as the runtime wraps it: a View that is known to be an image view.
#include <memory>
#include <string_view>

#include "platform/views/ImageViewObject.h"
#include "platform/views/View.h"

namespace tmr {

class ImageViewWrapper : public View {
 public:
  ImageViewWrapper() = default;
  // The image view an Object refers to; uninitialised when it is not an image view.
  static ImageViewWrapper FromObject(const Object& o);

  // Makes a new image view; a non-empty event name makes it raise "<event name>_click".
  void Initialize(const std::shared_ptr<Dispatcher>& ba, std::string_view eventName);
  ImageViewObject& imageView() const;

 private:
  explicit ImageViewWrapper(std::shared_ptr<ViewObject> v) : View(std::move(v)) {}
};

template <>
struct FromObject<ImageViewWrapper> {
  static ImageViewWrapper get(const Object& o) { return ImageViewWrapper::FromObject(o); }
};

}  // namespace tmr
