#pragma once
// A progress bar: shows a value from 0 to 100 as a bar, horizontal or vertical (vertical when
// the view is taller than wide; it fills from the top down). The filled part is painted with
// diagonal stripes that keep moving while the bar is visible, and the filled length glides
// towards a newly set value at `valuechangepersecond` units a second. Every frame is drawn by
// a bitmap creator in a background drawing batch and shown in an image view that fills the
// view; the designer label lies on top of the bar. The bar raises no events.
//
// At most one drawing batch of a bar is in flight: a loop that starts while one is still
// drawing first takes that batch's picture, and a resize during a batch gives the bar a new
// drawing buffer (the batch keeps the old one).
#include <cstdint>
#include <memory>

#include "bitmap/_bcbrush.h"
#include "bitmap/tm_bitmapcreator.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/views/ImageViewWrapper.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"
#include "views/input/CustomViewBase.h"

namespace tmr {

class Bitmap;

class tm_progressbar : public CustomViewBase {
  // LayoutClass: the class as layouts name it, with its designer properties "Value" (default 100),
  // "ProgressColor" (none: transparent) and "CornerRadius" (default 15).
  // _base_resize: lays out the image view and the label, makes a drawing buffer of the base panel's size and
  // draws the first picture.
  // partNamed: "" is the base panel, "image" the image view that shows the frames.
  TMR_CUSTOM_VIEW(tm_progressbar)

  // Layout units per pixel of the drawing buffer: the view layer's scale on this platform.
  static constexpr float Scale = 1;
  // Width of the stripes of the pattern, in pixels.
  static constexpr int32_t StripeWidth = 40;

  // The target value, limited to 0..100; the bar glides towards it.
  void _setvalue(int32_t v);
  // The target value, shown at once on the next frame.
  void _setvaluenoanimation(int32_t v);
  int32_t _getvalue() const { return mvalue; }
  // Stops the drawing loop, starts a new one when shown, and shows or hides the base panel.
  void _setvisible(bool b);
  bool _getvisible() const { return mbase.Visible(); }
  void _busyloop();
  // Builds the brushes and the stripe pattern and draws the first picture.
  void _updategraphics();
  // A picture of a drawing batch that no loop waits for.
  void _bc_bitmapready(Object bmp);

  std::weak_ptr<Module> mcallback;  // kept, not used
  std::shared_ptr<_bcbrush> busybrush = std::make_shared<_bcbrush>();
  int32_t backgroundcolor = 0;
  // Generation of drawing loops: a running loop ends as soon as it differs from its own.
  int32_t busyindex = 0;
  std::shared_ptr<tm_bitmapcreator> bc = std::make_shared<tm_bitmapcreator>();
  ImageViewWrapper miv;
  std::shared_ptr<_bcbrush> transparentbrush = std::make_shared<_bcbrush>();
  bool vertical = false;
  float currentvalue = 0;
  int32_t emptycolor = UiLayer::Color_White;
  std::shared_ptr<_bcbrush> emptybrush = std::make_shared<_bcbrush>();
  int32_t mvalue = 0;
  float valuechangepersecond = 60;
  int32_t cornerradius = 0;
  int32_t brushoffsetdelta = 3;
  // True from the start of a drawing batch until its picture has arrived.
  bool batchinflight = false;

 protected:
  void _class_globals() override;

 private:
  // Pixels of the drawing buffer along a side of the base panel: none for a size below one pixel
  // or a negative one (a layout may resize the bar to that at run time).
  static int32_t pixels(double layoutUnits);
};

}  // namespace tmr
