#include "views/display/tm_imageview.h"

#include <cmath>
#include <filesystem>

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

namespace {

// Rounds half to even, as lrint does in the default rounding mode. A size that is not finite
// (which no layout here should produce) places nothing rather than overflowing.
double RoundHalfEven(double x) { return std::isfinite(x) ? std::nearbyint(x) : 0; }

// A designer Boolean: True or False, the texts "true" and "false", or a number (0 is False),
// as property maps made in code may give it; a missing one is False.
bool DesignerBoolean(const Object& value) {
  if (value.IsNull()) return false;
  if (value.IsNumber()) return value.AsDouble() != 0;
  return value.AsBool();
}

}  // namespace

const SubTable& tm_imageview::subTable() const {
  static const SubTable table{
      sub<&tm_imageview::_initialize>("_initialize:::"),
      sub<&tm_imageview::_designercreateview>("_designercreateview:::"),
      sub<&tm_imageview::_base_resize>("_base_resize::"),
      sub<&tm_imageview::_setbitmap>("_setbitmap:"),
      sub<&tm_imageview::_getbitmap>("_getbitmap"),
      sub<&tm_imageview::_load>("_load::"),
      sub<&tm_imageview::_clear>("_clear"),
      sub<&tm_imageview::_setresizemode>("_setresizemode:"),
      sub<&tm_imageview::_getresizemode>("_getresizemode"),
      sub<&tm_imageview::_setroundedimage>("_setroundedimage:"),
      sub<&tm_imageview::_getroundedimage>("_getroundedimage"),
      sub<&tm_imageview::_setcornersradius>("_setcornersradius:"),
      sub<&tm_imageview::_getcornersradius>("_getcornersradius"),
      sub<&tm_imageview::_update>("_update"),
      sub<&tm_imageview::_updateclip>("_updateclip"),
  };
  return table;
}

LayoutRegistry::CustomViewClass tm_imageview::LayoutClass() {
  using Kind = LayoutRegistry::Property::Kind;
  return LayoutRegistry::CustomViewClass{[] { return std::make_shared<tm_imageview>(); },
                                         {{"Round", Kind::Boolean, std::nullopt},
                                          {"ResizeMode", Kind::Text, std::nullopt},
                                          {"BackgroundColor", Kind::Color, std::nullopt},
                                          {"CornersRadius", Kind::Number, Object(0)}}};
}

void tm_imageview::_class_globals() {
  CustomViewBase::_class_globals();
  iv = ImageViewWrapper();
  mresizemode = "";
  mround = false;
  mbitmap.reset();
  mbackgroundcolor = 0;
  mcornersradius = 0;
}

void tm_imageview::_designercreateview(View base, LabelWrapper label, Map props) {
  CustomViewBase::_designercreateview(base, label, props);
  iv.Initialize(bi, "");
  mround = DesignerBoolean(props.Get(Object("Round")));
  mresizemode = props.Get(Object("ResizeMode")).AsString();
  mbackgroundcolor = ui.PaintOrColorToColor(props.Get(Object("BackgroundColor")));
  mcornersradius = props.GetDefault(Object("CornersRadius"), Object(0)).AsInt();
  mbase.AddView(iv, 0, 0, mbase.Width(), mbase.Height());
  _update();
}

void tm_imageview::_base_resize(double /*width*/, double /*height*/) { _update(); }

View tm_imageview::partNamed(std::string_view part) const { return part.empty() ? View(iv) : View(); }

void tm_imageview::_setbitmap(std::shared_ptr<Bitmap> bmp) {
  mbitmap = bmp;
  viewsutils->_setbitmapandfill(iv, std::move(bmp));
  _update();
}

void tm_imageview::_load(String dir, String filename) {
  _setbitmap(Bitmap::LoadPng((std::filesystem::path(dir.str()) / filename.str()).string()));
}

void tm_imageview::_clear() {
  mbitmap.reset();
  iv.SetBitmap(nullptr);
}

void tm_imageview::_setresizemode(String resizemode) {
  if (resizemode == mresizemode) return;
  mresizemode = resizemode;
  _update();
}

void tm_imageview::_setroundedimage(bool b) {
  if (b == mround) return;
  mround = b;
  _updateclip();
}

void tm_imageview::_setcornersradius(int32_t i) {
  mcornersradius = i;
  _updateclip();
}

void tm_imageview::_update() {
  if (!mbitmap) return;
  _updateclip();
  // Sizes are Floats, ratios are worked out in double, as the view layer measures them.
  const float bw = static_cast<float>(mbase.Width());
  const float bh = static_cast<float>(mbase.Height());
  const float imgw = mbitmap->Width();
  const float imgh = mbitmap->Height();
  float w = 0;
  float h = 0;
  // A picture without pixels has no proportions: it shows at the centre with size 0.
  if (imgw > 0 && imgh > 0) {
    const float aspect = static_cast<float>(static_cast<double>(imgw) / imgh);
    const std::string mode = mresizemode.str();
    if (mode == "FILL") {
      w = bw;
      h = bh;
    } else if (mode == "FIT") {
      const double r = Common::Min(static_cast<double>(bw) / imgw, static_cast<double>(bh) / imgh);
      w = static_cast<float>(imgw * r);
      h = static_cast<float>(imgh * r);
    } else if (mode == "FILL_WIDTH") {
      w = bw;
      h = w / aspect;
    } else if (mode == "FILL_HEIGHT") {
      h = bh;
      w = h * aspect;
    } else if (mode == "FILL_NO_DISTORTIONS") {
      const double r = Common::Max(static_cast<double>(bw) / imgw, static_cast<double>(bh) / imgh);
      w = static_cast<float>(imgw * r);
      h = static_cast<float>(imgh * r);
    } else if (mode == "NONE") {
      w = imgw;
      h = imgh;
    } else {
      c->LogStr("Invalid resize mode: " + mode);
    }
  }
  iv.SetLayoutAnimated(0, RoundHalfEven(bw / 2 - w / 2), RoundHalfEven(bh / 2 - h / 2), RoundHalfEven(w),
                       RoundHalfEven(h));
}

void tm_imageview::_updateclip() {
  if (mround) {
    mbase.SetColorAndBorder(mbackgroundcolor, 0, 0, Common::Min(mbase.Width() / 2, mbase.Height() / 2));
  } else {
    mbase.SetColorAndBorder(mbackgroundcolor, 0, 0, mcornersradius);
  }
}

}  // namespace tmr
