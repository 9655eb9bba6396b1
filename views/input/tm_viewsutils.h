#pragma once
// The view utilities code module (one instance per runtime): a light haptic tap, and putting
// plain text, rich text or an icon character into a label.
#include <memory>

#include "platform/core/Module.h"
#include "platform/native/NativeObject.h"
#include "platform/views/UiLayer.h"
#include "platform/views/View.h"

namespace tmr {

class tm_collections;
class tm_dateutils;
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

  // The code modules this one holds (tm_main is left out: it is built on this module).
  std::shared_ptr<tm_collections> collections;
  std::shared_ptr<tm_dateutils> dateutils;
  NativeObject feedbackgenerator;
  bool utilsinitialized = false;
  UiLayer ui;
};

}  // namespace tmr
