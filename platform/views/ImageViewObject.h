#pragma once
// An image view: shows a picture inside its frame, transparent where it has none. With an event
// name it raises "click" when tapped.
#include "platform/views/ViewObject.h"

namespace tmr {

class ImageViewObject : public ViewObject {
 public:
  // How the picture is fitted into the frame.
  enum class ContentMode { Fill, Fit, Center };

  using ViewObject::ViewObject;
  std::string_view typeName() const override { return "ImageView"; }

  ContentMode contentMode() const { return contentMode_; }
  void setContentMode(ContentMode mode) { contentMode_ = mode; }

 private:
  ContentMode contentMode_ = ContentMode::Fill;
};

}  // namespace tmr
