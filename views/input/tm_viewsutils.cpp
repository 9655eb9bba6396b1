#include "views/input/tm_viewsutils.h"

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Bitmap.h"
#include "platform/native/NativeRegistry.h"
#include "platform/views/ImageViewWrapper.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/RichText.h"

namespace tmr {

const SubTable& tm_viewsutils::subTable() const {
  static const SubTable table{
      sub<&tm_viewsutils::_initialize>("_initialize"),
      sub<&tm_viewsutils::_performhapticfeedback>("_performhapticfeedback:"),
      sub<&tm_viewsutils::_settextorcsbuildertolabel>("_settextorcsbuildertolabel::"),
      sub<&tm_viewsutils::_setbitmapandfill>("_setbitmapandfill::"),
      sub<&tm_viewsutils::_createlabel>("_createlabel"),
  };
  return table;
}

void tm_viewsutils::_process_globals() {
  auto& rt = runtime();
  collections = rt.codeModule<tm_collections>();
  dateutils = rt.codeModule<tm_dateutils>();
  feedbackgenerator = NativeObject();
  utilsinitialized = false;
  ui = UiLayer();
}

String tm_viewsutils::_initialize() {
  if (utilsinitialized) return "";
  utilsinitialized = true;
  // A platform without the class leaves the native object uninitialised: no haptics, silently.
  auto& rt = runtime();
  constexpr const char* kGenerator = "UIImpactFeedbackGenerator";
  feedbackgenerator = rt.service<NativeRegistry>().hasClass(kGenerator) ? NativeObject::ClassByName(rt, kGenerator)
                                                                        : NativeObject();
  if (feedbackgenerator.IsInitialized()) {
    feedbackgenerator = feedbackgenerator.RunMethod("alloc").RunMethod("initWithStyle:", {Object(0)});
  }
  return "";
}

void tm_viewsutils::_performhapticfeedback(View) {
  _initialize();
  if (feedbackgenerator.IsInitialized()) feedbackgenerator.RunMethod("impactOccurred");
}

void tm_viewsutils::_settextorcsbuildertolabel(View label, Object value) {
  if (auto rich = value.As<RichText>()) {
    auto lbl = LabelWrapper::FromObject(Object(label));
    if (lbl.IsInitialized()) {
      lbl.setAttributedText(rich);
      return;
    }
  }
  if (value.IsNumber()) value = Object(String::FromCodePoint(static_cast<uint32_t>(value.AsInt() & 0xFFFF)));
  label.setText(value.AsString());
}

void tm_viewsutils::_setbitmapandfill(View imageView, std::shared_ptr<Bitmap> bitmap) {
  auto iv = ImageViewWrapper::FromObject(Object(imageView));
  if (!iv.IsInitialized()) throw RuntimeError("_setbitmapandfill: the view is not an image view");
  iv.SetBitmap(std::move(bitmap));
  iv.setContentMode(ImageViewWrapper::MODE_FILL);
}

View tm_viewsutils::_createlabel() {
  LabelWrapper lbl;
  lbl.Initialize(bi, "");
  return lbl;
}

}  // namespace tmr
