#include "views/input/tm_viewsutils.h"

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "listview/tm_customlistview.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/graphics/Bitmap.h"
#include "platform/native/NativeRegistry.h"
#include "platform/views/ImageViewWrapper.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/RichText.h"
#include "views/display/tm_imageview.h"

namespace tmr {

const SubTable& tm_viewsutils::subTable() const {
  static const SubTable table{
      sub<&tm_viewsutils::_initialize>("_initialize"),
      sub<&tm_viewsutils::_performhapticfeedback>("_performhapticfeedback:"),
      sub<&tm_viewsutils::_settextorcsbuildertolabel>("_settextorcsbuildertolabel::"),
      sub<&tm_viewsutils::_setbitmapandfill>("_setbitmapandfill::"),
      sub<&tm_viewsutils::_createlabel>("_createlabel"),
      sub<&tm_viewsutils::_addstubtoclvifneeded>("_addstubtoclvifneeded::"),
      sub<&tm_viewsutils::_createimageview>("_createimageview"),
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
  feedbackgenerator =
      rt.service<NativeRegistry>().hasClass(kGenerator) ? NativeObject::ClassByName(rt, kGenerator) : NativeObject();
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

void tm_viewsutils::_addstubtoclvifneeded(std::shared_ptr<tm_customlistview> clv, int32_t color) {
  if (!clv) throw NotInitialized("tm_customlistview");
  if (clv->_getsize() == 0) return;
  auto last = clv->_getrawlistitem(clv->_getsize() - 1);
  const double listHeight = clv->_asview().Height();
  const double lastEnd = last->Offset + last->Panel.Height();
  if (lastEnd >= listHeight) return;
  // Within 3 points of the bottom there is no room for a filler: a panel of no height (or a
  // negative one) would be an item of nothing.
  const int32_t h = static_cast<int32_t>(listHeight - last->Offset - last->Panel.Height() - 3);
  if (h <= 0) return;
  View p = ui.CreatePanel(bi, "stub");
  p.setColor(color);
  p.SetLayoutAnimated(0, 0, 0, clv->_asview().Width(), h);
  clv->_add(p, Object(""));
  clv->sv.setScrollViewContentHeight(static_cast<int32_t>(clv->sv.ScrollViewContentHeight() - clv->_getdividersize()));
}

std::shared_ptr<tm_imageview> tm_viewsutils::_createimageview() {
  auto iv = std::make_shared<tm_imageview>();
  iv->_initialize(bi, Object(), "");
  View base = ui.CreatePanel(bi, "");
  base.SetLayoutAnimated(0, 0, 0, 100, 100);
  LabelWrapper lbl;
  lbl.Initialize(bi, "");
  Map props = Map::Of({{Object("Round"), Object(false)},
                       {Object("ResizeMode"), Object("FIT")},
                       {Object("BackgroundColor"), Object(int64_t{0xFFAAAAAA})},
                       {Object("CornersRadius"), Object(0)}});
  iv->_designercreateview(base, lbl, props);
  // As a layout would: the base panel tells the view about its size changes.
  base.native()->setCustomView(iv);
  return iv;
}

}  // namespace tmr
