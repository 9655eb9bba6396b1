#pragma once
// A dialog template on which the user draws a signature with a finger: a 300 × 200 white
// canvas, cleared by every showing. Closing the dialog with the positive result stamps the
// current date and time in the bottom-left corner (unless adddateandtime is False); the code
// that uses the template then takes the drawing with _getbitmap.
#include <cstdint>
#include <memory>

#include "dialogs/DialogTemplate.h"
#include "platform/graphics/Font.h"
#include "platform/views/Canvas.h"
#include "platform/views/View.h"

namespace tmr {

class Bitmap;

class tm_signaturetemplate : public DialogTemplate {
 public:
  std::string_view className() const override { return "tm_signaturetemplate"; }
  const SubTable& subTable() const override;

  String _initialize(const std::shared_ptr<Dispatcher>& ba);
  // A new size for the drawing panel and its canvas.
  String _resize(int32_t width, int32_t height);
  // A picture of what the canvas holds now.
  std::shared_ptr<Bitmap> _getbitmap();

  // --- Template protocol.
  View _getpanel(Object dialog);
  // Clears the canvas to the background colour; does not wait.
  String _show(Object dialog);
  // The positive result stamps the date and time (not shown until the next invalidation).
  String _dialogclosed(int32_t result);

  // --- Event of the drawing panel: a down starts a stroke, a move draws a line to the point.
  String _mbase_touch(int32_t action, float x, float y);

  Canvas cvs;
  float lastx = 0;
  float lasty = 0;
  float strokewidth = 2;
  int32_t strokecolor = UiLayer::Color_Black;
  int32_t textcolor = static_cast<int32_t>(0xFFFF8800);
  int32_t backgroundcolor = UiLayer::Color_White;
  bool adddateandtime = true;
  Font textfont;

 protected:
  void _class_globals() override;
};

}  // namespace tmr
