#pragma once
// The view utilities code module (one instance per runtime): a light haptic tap, putting plain
// text, rich text or an icon character into a label, padding a short list view with a filler
// item, and making image views in code.
#include <memory>

#include "platform/core/Module.h"
#include "platform/native/NativeObject.h"
#include "platform/views/UiLayer.h"
#include "platform/views/View.h"

namespace tmr {

class tm_collections;
class tm_customlistview;
class tm_dateutils;
class tm_imageview;
class Bitmap;

class tm_viewsutils : public StaticModule {
 public:
  std::string_view className() const override { return "tm_viewsutils"; }
  const SubTable& subTable() const override;
  void _process_globals() override;

  // Once per process: makes the platform's light impact feedback generator, where the platform
  // has one. Returns "".
  String _initialize();
  // One light haptic tap (none where the platform has no generator). The view is not used here.
  void _performhapticfeedback(View view);
  // Rich text goes into a label as it is; a number n becomes the one character of code point
  // n AND 0xFFFF (so an icon font's code point can be passed as a number; a lone surrogate
  // becomes U+FFFD); anything else goes in as its text.
  void _settextorcsbuildertolabel(View label, Object value);
  // The image view shows the bitmap stretched to fill it.
  void _setbitmapandfill(View imageView, std::shared_ptr<Bitmap> bitmap);
  // A new bare label that raises no events.
  View _createlabel();
  // Pads a list view whose items end above its bottom with one filler item of the colour, so
  // that a short list looks filled: a panel as wide as the list reaching to 3 points above its
  // bottom, valued "". The list's content then shrinks by one divider, so that the filler's
  // divider does not make it scroll. An empty list, or one whose items reach within 3 points of
  // its bottom (or beyond), gets no filler.
  void _addstubtoclvifneeded(std::shared_ptr<tm_customlistview> clv, int32_t color);
  // A new image view made the way a layout makes one: 100 × 100, resize mode "FIT", not round,
  // no corner radius, background 0xFFAAAAAA; it raises no events.
  std::shared_ptr<tm_imageview> _createimageview();

  // The code modules this one holds (tm_main is left out: it is built on this module).
  std::shared_ptr<tm_collections> collections;
  std::shared_ptr<tm_dateutils> dateutils;
  NativeObject feedbackgenerator;
  bool utilsinitialized = false;
  UiLayer ui;
};

}  // namespace tmr
