#pragma once
// The image view with resize modes: a custom view that shows one bitmap inside its base panel,
// centred and sized by one of six modes, on a background colour, the whole view either round
// (corner radius half its smaller side) or with rounded corners of a given radius:
//   "FILL"                the picture is stretched to the view's size;
//   "FIT"                 the whole picture shows, scaled to the view and letterboxed;
//   "FILL_WIDTH"          as wide as the view, its height from the picture's proportions;
//   "FILL_HEIGHT"         as high as the view, its width from the picture's proportions;
//   "FILL_NO_DISTORTIONS" scaled to cover the view, overflowing it on one axis;
//   "NONE"                the picture's own size.
// The picture is always centred, also when it is larger than the view; the base panel cuts off
// what lies outside it only while its corner radius is above 0. A mode is matched exactly (case
// counts); any other text is logged ("Invalid resize mode: <mode>") and shows no picture.
// Until the first bitmap the base panel keeps the look the layout gave it. It raises no events.
#include <cstdint>
#include <memory>

#include "platform/graphics/Bitmap.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/views/ImageViewWrapper.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"
#include "views/input/CustomViewBase.h"

namespace tmr {

class tm_imageview : public CustomViewBase {
  // LayoutClass: the class as layouts name it, with its designer properties "Round" (Boolean), "ResizeMode"
  // (text), "BackgroundColor" (colour), all required, and "CornersRadius" (number, default 0).
  // _base_resize: lays the picture out again for the new size.
  // partNamed: "" is the inner image view that shows the picture.
  TMR_CUSTOM_VIEW(tm_imageview)

  // Shows the bitmap (stretched to the inner image view, which the resize mode sizes); null
  // shows none.
  void _setbitmap(std::shared_ptr<Bitmap> bmp);
  std::shared_ptr<Bitmap> _getbitmap() const { return mbitmap; }
  // Shows the picture of a PNG file; a file that cannot be read is a RuntimeError naming it
  // and changes nothing.
  void _load(String dir, String filename);
  // Shows no picture; the inner image view keeps its frame, and later layouts do nothing until
  // a bitmap is set again.
  void _clear();
  // A different mode (exact comparison) lays the picture out again; the current one does nothing.
  void _setresizemode(String resizemode);
  String _getresizemode() const { return mresizemode; }
  // A change redraws the outline.
  void _setroundedimage(bool b);
  bool _getroundedimage() const { return mround; }
  // Always redraws the outline, also with the current radius.
  void _setcornersradius(int32_t i);
  int32_t _getcornersradius() const { return mcornersradius; }
  // Lays the picture out by the resize mode (nothing while there is no bitmap).
  void _update();
  // Background colour and corners of the base panel.
  void _updateclip();

  ImageViewWrapper iv;
  String mresizemode;
  bool mround = false;
  std::shared_ptr<Bitmap> mbitmap;  // null: no bitmap (not initialised)
  int32_t mbackgroundcolor = 0;
  int32_t mcornersradius = 0;

 protected:
  void _class_globals() override;
};

}  // namespace tmr
