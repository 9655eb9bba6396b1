#pragma once
// A modal dialog inside a parent view. A background panel covers the whole parent and takes
// every touch; on it stands a bordered frame with an optional title bar, the content and up to
// three buttons. The three show subs start a coroutine whose "complete:" carries the result
// code: the code of the tapped button, or the code given to _close.
//
// Closing always goes through the next turn of the main loop: _close posts the dialog's own
// "CloseMessage", which the waiting show coroutine takes as "closemessage:". A _close made in
// an event handler therefore acts after that handler has returned.
//
// A template is any module with the subs "GetPanel" (dialog) → content view, "Show" (dialog)
// and "DialogClosed" (result code), called by name: GetPanel and Show before the frame is
// built, DialogClosed once the frame has faded out and been removed.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/Map.h"
#include "platform/graphics/Font.h"
#include "platform/views/View.h"
#include "views/input/ViewClassModule.h"

namespace tmr {

class Bitmap;
class ResumableSub;
class tm_bitmapcreator;
class tm_customlistview;
class _argbcolor;

class tm_dialog : public ViewClassModule {
 public:
  static constexpr int32_t DialogResponse_Positive = -1;
  static constexpr int32_t DialogResponse_Negative = -2;
  static constexpr int32_t DialogResponse_Cancel = -3;
  // The Tag that marks a dialog's background panel in its parent.
  static constexpr const char* kBackgroundTag = "dialog_background";

  std::string_view className() const override { return "tm_dialog"; }
  const SubTable& subTable() const override;

  void _initialize(const std::shared_ptr<Dispatcher>& ba, View parent);
  // A message in the title font and body text colour, in a 300 × 100 panel.
  std::shared_ptr<ResumableSub> _show(Object text, Object yes, Object no, Object cancel);
  // The caller's view as the content. A button text "" means no such button.
  std::shared_ptr<ResumableSub> _showcustom(View content, Object yes, Object no, Object cancel);
  std::shared_ptr<ResumableSub> _showtemplate(Object dialogtemplate, Object yes, Object no, Object cancel);
  // Closes the dialog being shown with the code (on the next turn); False when none is shown.
  bool _close(int32_t result);
  bool _getvisible();
  // The first view under the frame whose Tag is the number `result`; uninitialised when none
  // (and before the first showing).
  View _getbutton(int32_t result);
  // Enables or disables an existing button and records its state; nothing for a missing one.
  void _setbuttonstate(int32_t result, bool enabled);
  // For a parent that changed size: the background fills it at once, the frame glides to the
  // new centre over 200 ms. Nothing while no dialog is shown.
  void _resize(int32_t width, int32_t height);
  void _updateblur();
  // The picture shrunk by blurreducescale and blurred by two passes of a three-pixel average
  // along rows and columns.
  std::shared_ptr<tm_bitmapcreator> _blur(std::shared_ptr<Bitmap> bmp);
  void _setavg(const std::shared_ptr<tm_bitmapcreator>& bc, int32_t x, int32_t y,
               const std::vector<std::shared_ptr<_argbcolor>>& clrs, const std::shared_ptr<_argbcolor>& temp);
  void _createbutton(Object text, int32_t code);
  // For templates: the view utilities' list filler and text-or-rich-text setter.
  void _internaladdstubtoclvifneeded(const std::shared_ptr<tm_customlistview>& clv, int32_t color);
  void _internalsettextorcsbuildertolabel(View lbl, Object text);

  // Shows or hides the view. The view layer draws no alpha, so the fade is the change of the
  // visible flag, which reads its final value at once; callers that must wait for the fade to
  // end sleep the duration themselves.
  static void SetVisibleAnimated(const View& view, int32_t durationMs, bool visible);

  // The view asks for the input focus. Only text fields take it in this view layer, so a panel
  // or label asking for it takes it away from any text field: the keyboard of a field below
  // the dialog must not go on typing into it while the dialog is shown.
  void RequestFocus(const View& view);

  // --- Events.
  void _button_click();
  void _background_click() {}
  void _background_touch(int32_t, double, double) {}
  void _stub_click() {}
  // Stray "closemessage:" and "complete:" events (no coroutine waits for them) are dropped.
  void _closemessage(Object) {}
  void _complete(Object) {}

  int32_t buttonsheight = 40;
  int32_t titlebarheight = 30;
  int32_t buttonwidth = 80;
  View base;
  int32_t backgroundcolor = static_cast<int32_t>(0xFF555555);
  int32_t overlaycolor = static_cast<int32_t>(0xAA000000);
  int32_t bordercolor = static_cast<int32_t>(0xFF000000);
  int32_t bordercornersradius = 2;
  int32_t borderwidth = 2;
  int32_t buttonscolor = static_cast<int32_t>(0xFF555555);
  int32_t buttonstextcolor = static_cast<int32_t>(0xFF89D5FF);
  View background;
  View blurimageview;
  bool blurbackground = false;
  int32_t blurreducescale = 0;
  View mparent;
  Object title = Object("");
  int32_t titlebarcolor = static_cast<int32_t>(0xFF0083B8);
  int32_t titlebartextcolor = 0;
  int32_t bodytextcolor = UiLayer::Color_White;
  View titlebar;
  bool putattop = false;
  Font titlebarfont;
  Font buttonsfont;
  int32_t buttonstextcolordisabled = static_cast<int32_t>(0xFF808080);
  int32_t visibleanimationduration = 100;
  std::vector<int32_t> buttonsorder{DialogResponse_Positive, DialogResponse_Negative, DialogResponse_Cancel};
  Map buttonsstate;

 protected:
  void _class_globals() override;
};

}  // namespace tmr
