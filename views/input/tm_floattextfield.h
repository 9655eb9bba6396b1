#pragma once
// The floating-hint text field: a custom view around one native text field (or, multi-line, a
// text view) whose hint is a picture. While the field is empty the hint sits large and
// vertically centred at x 12; once it holds text the hint is small at (2, 2); it moves between
// the two over 200 ms. The hint has one colour while the field has the focus and another while
// it has not; the four pictures (large/small × focused/not) are drawn once by a canvas.
// Icon buttons over the right end clear the text, reveal or hide a password and accept (as
// Enter); they show only while the field has the focus and holds text. Fields chain: Enter
// moves the focus to the next field.
//
// Events on the callback module, each only when it has the sub: "<name>_TextChanged" (old, new)
// at once, on every change by the person or by _settext (equal texts too); "_EnterPressed" on
// the next turn; "_FocusChanged" (has focus) on the next turn, except within 100 ms after a
// password reveal/hide swapped the inner field; "_PasswordRevealChanged" (revealed) on the next
// turn.
#include <cstdint>
#include <memory>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Rect.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/views/Canvas.h"
#include "platform/views/ImageViewWrapper.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/TextFieldWrapper.h"
#include "platform/views/View.h"
#include "views/input/CustomViewBase.h"

namespace tmr {

class tm_floattextfield : public CustomViewBase {
  // LayoutClass: the class as layouts name it, with its designer properties "Hint", "HintColor",
  // "NonFocusedHintColor" (required), "KeyboardType" ("Text"; "Numbers", "Decimal"),
  // "PasswordField", "Multiline", "ShowRevealButton" (false), "ShowClear", "ShowAccept" (true).
  // _base_resize: the field fills the base panel; the buttons sit at its right end.
  // partNamed: "" is the inner text field, "hint" the hint's image view, "clear" the clear/reveal/hide
  // button, "accept" the accept button.
  TMR_CUSTOM_VIEW(tm_floattextfield)

  void _initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) override;

  String _gettext();
  // Sets the text and handles it as a change by the person (hint, "_TextChanged"). The event is
  // raised inside this call: a "_TextChanged" handler that sets the text again hears its own
  // change inside itself.
  void _settext(String text);
  View _gettextfield();
  std::shared_ptr<tm_floattextfield> _getnextfield();
  // A field that is not initialised is ignored (the old next field stays).
  void _setnextfield(std::shared_ptr<tm_floattextfield> field);
  void _requestfocusandshowkeyboard();
  // Rebuilds the four hint pictures and refreshes the hint; call after changing the hint's text,
  // font, sizes or colours.
  void _update();

  // Events of the inner field ("tf"), the hint ("HintImageView") and the icon buttons ("lc").
  void _tf_textchanged(String old, String newText);
  void _tf_enterpressed();
  void _tf_beginedit();
  void _tf_endedit();
  void _hintimageview_click();
  void _lc_click();

  void _tf_focuschanged(bool hasFocus);
  // The next field (if any, and not this one) takes the focus; then "_EnterPressed".
  void _tf_action();
  // Shows the icon buttons when focused with text; moves the hint when its size changes (or
  // always with force).
  void _updatelabel(String text, bool force);
  std::shared_ptr<Bitmap> _createbitmap(Rect r, int32_t color, Font font);
  LabelWrapper _createbutton(String glyph);
  void _createclearbutton();
  void _createrevealbutton();
  void _createacceptbutton();
  TextFieldWrapper _createtextfield(bool password);
  void _createtextfieldall(bool password, Font font, int32_t textColor);
  // Swaps the inner field for a plain (regular) or a password one, keeping text and focus.
  void _switchfrompasswordtoregular(bool regular);
  // Behaves as Enter; whether a next field is set.
  bool _ime_handleaction();

  TextFieldWrapper mtextfield;
  int32_t animationduration = 200;
  float largelabeltextsize = 18;
  float smalllabeltextsize = 14;
  bool largelabel = false;
  Canvas measuringcanvas;
  int32_t hintcolor = 0;
  int32_t nonfocusedhintcolor = 0;
  ImageViewWrapper hintimageview;
  String hinttext;
  Font hintfont;
  std::shared_ptr<Bitmap> largefocused, largenotfocused, smallfocused, smallnotfocused;
  bool focused = false;
  LabelWrapper lblclear;
  LabelWrapper lblv;
  Map mprops;
  String keyboardtype;
  bool multiline = false;
  // Weak: chained fields often form a ring, and the layout holds every field.
  std::weak_ptr<tm_floattextfield> mnexttextfield;
  int32_t hintlabellargeoffsetx = 0;
  int32_t hintlabelsmalloffsety = 2;
  int32_t hintlabelsmalloffsetx = 2;
  int64_t lastswitchtextfieldtime = 0;

 protected:
  void _class_globals() override;

 private:
  // The 2 × 2 panel the measuring canvas is opened on.
  View measuringpanel;
};

}  // namespace tmr
