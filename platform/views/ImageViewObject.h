#pragma once
// An image view: shows a picture inside its frame, transparent where it has none. With an event
// name it raises "click" when tapped.
#include <memory>

#include "platform/graphics/Bitmap.h"
#include "platform/views/ViewObject.h"

namespace tmr {

class ImageViewObject : public ViewObject {
 public:
  // How the picture is fitted into the frame.
  enum class ContentMode { Fill, Fit, Center };

  using ViewObject::ViewObject;
  std::string_view typeName() const override { return "ImageView"; }

  ContentMode contentMode() const { return contentMode_; }
  void setContentMode(ContentMode mode) {
    contentMode_ = mode;
    invalidate();
  }
  // The picture shown; null shows none.
  const std::shared_ptr<Bitmap>& bitmap() const { return bitmap_; }
  void setBitmap(std::shared_ptr<Bitmap> bitmap) {
    bitmap_ = std::move(bitmap);
    invalidate();
  }
  void dispose() override {
    bitmap_.reset();
    ViewObject::dispose();
  }

 private:
  std::shared_ptr<Bitmap> bitmap_;
  ContentMode contentMode_ = ContentMode::Fill;
};

}  // namespace tmr
