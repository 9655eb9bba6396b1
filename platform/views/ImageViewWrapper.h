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
  // Shows the bitmap (null: none).
  void SetBitmap(std::shared_ptr<Bitmap> bitmap) const { imageView().setBitmap(std::move(bitmap)); }
  std::shared_ptr<Bitmap> GetBitmap() const { return imageView().bitmap(); }
  // How the picture fits the frame (MODE_FILL stretches it).
  static constexpr ImageViewObject::ContentMode MODE_FILL = ImageViewObject::ContentMode::Fill;
  static constexpr ImageViewObject::ContentMode MODE_FIT = ImageViewObject::ContentMode::Fit;
  void setContentMode(ImageViewObject::ContentMode mode) const { imageView().setContentMode(mode); }
  ImageViewObject& imageView() const;

 private:
  explicit ImageViewWrapper(std::shared_ptr<ViewObject> v) : View(std::move(v)) {}
};

template <>
struct FromObject<ImageViewWrapper> {
  static ImageViewWrapper get(const Object& o) { return ImageViewWrapper::FromObject(o); }
};

}  // namespace tmr
