#include "views/input/tm_floattextfield.h"

#include <algorithm>
#include <cmath>

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/native/NativeObject.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

namespace {

// A designer switch that is off: the Boolean False or the number 0 (layouts give either).
bool IsOff(const Object& v) {
  if (v.IsNumber()) return v.AsDouble() == 0;
  if (v.IsBoolean()) return !v.AsBool();
  return v.IsText() && (v.AsString().str() == "0" || v.AsString().ToLowerCase().str() == "false");
}

}  // namespace

// The internal steps that take a rectangle or a font are called from C++ only.
const SubTable& tm_floattextfield::subTable() const {
  static const SubTable table{
      sub<&tm_floattextfield::_designercreateview>("_designercreateview:::"),
      sub<&tm_floattextfield::_base_resize>("_base_resize::"),
      sub<&tm_floattextfield::_gettext>("_gettext"),
      sub<&tm_floattextfield::_settext>("_settext:"),
      sub<&tm_floattextfield::_gettextfield>("_gettextfield"),
      sub<&tm_floattextfield::_getnextfield>("_getnextfield"),
      sub<&tm_floattextfield::_setnextfield>("_setnextfield:"),
      sub<&tm_floattextfield::_requestfocusandshowkeyboard>("_requestfocusandshowkeyboard"),
      sub<&tm_floattextfield::_update>("_update"),
      sub<&tm_floattextfield::_tf_textchanged>("_tf_textchanged::"),
      sub<&tm_floattextfield::_tf_enterpressed>("_tf_enterpressed"),
      sub<&tm_floattextfield::_tf_beginedit>("_tf_beginedit"),
      sub<&tm_floattextfield::_tf_endedit>("_tf_endedit"),
      sub<&tm_floattextfield::_hintimageview_click>("_hintimageview_click"),
      sub<&tm_floattextfield::_lc_click>("_lc_click"),
      sub<&tm_floattextfield::_tf_focuschanged>("_tf_focuschanged:"),
      sub<&tm_floattextfield::_tf_action>("_tf_action"),
      sub<&tm_floattextfield::_updatelabel>("_updatelabel::"),
      sub<&tm_floattextfield::_createbutton>("_createbutton:"),
      sub<&tm_floattextfield::_createclearbutton>("_createclearbutton"),
      sub<&tm_floattextfield::_createrevealbutton>("_createrevealbutton"),
      sub<&tm_floattextfield::_createacceptbutton>("_createacceptbutton"),
      sub<&tm_floattextfield::_createtextfield>("_createtextfield:"),
      sub<&tm_floattextfield::_switchfrompasswordtoregular>("_switchfrompasswordtoregular:"),
      sub<&tm_floattextfield::_ime_handleaction>("_ime_handleaction"),
  };
  return table;
}

LayoutRegistry::CustomViewClass tm_floattextfield::LayoutClass() {
  using Kind = LayoutRegistry::Property::Kind;
  return LayoutRegistry::CustomViewClass{[] { return std::make_shared<tm_floattextfield>(); },
                                         {{"KeyboardType", Kind::Text, Object("Text")},
                                          {"HintColor", Kind::Color, std::nullopt},
                                          {"NonFocusedHintColor", Kind::Color, std::nullopt},
                                          {"Hint", Kind::Text, std::nullopt},
                                          {"PasswordField", Kind::Boolean, Object(false)},
                                          {"Multiline", Kind::Boolean, Object(false)},
                                          {"ShowRevealButton", Kind::Boolean, Object(false)},
                                          {"ShowClear", Kind::Boolean, Object(true)},
                                          {"ShowAccept", Kind::Boolean, Object(true)}}};
}

void tm_floattextfield::_class_globals() {
  CustomViewBase::_class_globals();
  mtextfield = TextFieldWrapper();
  animationduration = 200;
  largelabeltextsize = 18;
  smalllabeltextsize = 14;
  largelabel = false;
  measuringcanvas = Canvas();
  measuringpanel = View();
  hintcolor = 0;
  nonfocusedhintcolor = 0;
  hintimageview = ImageViewWrapper();
  hinttext = "";
  hintfont = Font();
  largefocused.reset();
  largenotfocused.reset();
  smallfocused.reset();
  smallnotfocused.reset();
  focused = false;
  lblclear = LabelWrapper();
  lblv = LabelWrapper();
  mprops = Map();
  keyboardtype = "";
  multiline = false;
  mnexttextfield.reset();
  hintlabellargeoffsetx = 0;
  hintlabelsmalloffsety = 2;
  hintlabelsmalloffsetx = 2;
  lastswitchtextfieldtime = 0;
}

void tm_floattextfield::_initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) {
  CustomViewBase::_initialize(ba, callback, eventName);
  hintlabellargeoffsetx = 12;
}

void tm_floattextfield::_designercreateview(View base, LabelWrapper label, Map props) {
  CustomViewBase::_designercreateview(base, label, props);
  mbase.SetColorAndBorder(UiLayer::Color_Transparent, 0, 0, 0);
  mprops = props;
  hintimageview.Initialize(bi, "HintImageView");
  keyboardtype = props.GetDefault(Object("KeyboardType"), Object("Text")).AsString();
  hintcolor = ui.PaintOrColorToColor(props.Get(Object("HintColor")));
  nonfocusedhintcolor = ui.PaintOrColorToColor(props.Get(Object("NonFocusedHintColor")));
  hinttext = props.Get(Object("Hint")).AsString();
  hintfont = label.Font();
  bool password = props.GetDefault(Object("PasswordField"), Object(false)).AsBool();
  multiline = props.GetDefault(Object("Multiline"), Object(false)).AsBool();
  if (password && multiline) {
    multiline = false;
    c->LogStr("Multiline not supported with password mode.");
  }
  _createtextfieldall(password, label.Font(), label.TextColor());
  mbase.AddView(hintimageview, 0, 0, 0, 0);
  measuringpanel = ui.CreatePanel(bi, "");
  measuringpanel.SetLayoutAnimated(0, 0, 0, 2, 2);
  _update();
  if (password && !IsOff(props.GetDefault(Object("ShowRevealButton"), Object(false)))) {
    _createrevealbutton();
  } else if (!IsOff(props.GetDefault(Object("ShowClear"), Object(true)))) {
    _createclearbutton();
  }
  if (!IsOff(props.GetDefault(Object("ShowAccept"), Object(true)))) _createacceptbutton();
  _base_resize(mbase.Width(), mbase.Height());
}

void tm_floattextfield::_base_resize(double width, double height) {
  if (!mtextfield.IsInitialized()) return;
  mtextfield.SetLayoutAnimated(0, 0, 0, width, height);
  double right = 2;
  if (lblv.IsInitialized()) {
    lblv.SetLayoutAnimated(0, width - lblv.Width() - right, 0, lblv.Width(), height);
    right += lblv.Width() + 2;
  }
  if (lblclear.IsInitialized()) {
    lblclear.SetLayoutAnimated(0, width - lblclear.Width() - right, 0, lblclear.Width(), height);
  }
  _updatelabel(_gettext(), true);
}

View tm_floattextfield::partNamed(std::string_view part) const {
  if (part.empty()) return mtextfield;
  if (part == "hint") return hintimageview;
  if (part == "clear") return lblclear;
  if (part == "accept") return lblv;
  return View();
}

String tm_floattextfield::_gettext() { return mtextfield.Text(); }

void tm_floattextfield::_settext(String text) {
  String old = mtextfield.Text();
  mtextfield.setText(text);
  _tf_textchanged(old, text);
}

View tm_floattextfield::_gettextfield() { return mtextfield; }

std::shared_ptr<tm_floattextfield> tm_floattextfield::_getnextfield() { return mnexttextfield.lock(); }

void tm_floattextfield::_setnextfield(std::shared_ptr<tm_floattextfield> field) {
  if (!field || !field->IsInitialized()) return;
  mnexttextfield = field;
}

void tm_floattextfield::_requestfocusandshowkeyboard() { mtextfield.RequestFocus(); }

void tm_floattextfield::_update() {
  // The measuring canvas lives only while measuring: a canvas kept open would hold on to the
  // drawing library's font caches until the runtime's font library has gone.
  if (!measuringpanel.IsInitialized()) return;
  measuringcanvas.Initialize(measuringpanel);
  Font large = ui.CreateFont(hintfont, largelabeltextsize);
  Rect r = measuringcanvas.MeasureText(hinttext, large);
  largefocused = _createbitmap(r, hintcolor, large);
  largenotfocused = _createbitmap(r, nonfocusedhintcolor, large);
  Font small = ui.CreateFont(hintfont, smalllabeltextsize);
  r = measuringcanvas.MeasureText(hinttext, small);
  smallfocused = _createbitmap(r, hintcolor, small);
  smallnotfocused = _createbitmap(r, nonfocusedhintcolor, small);
  measuringcanvas.Release();
  _updatelabel(_gettext(), true);
}

std::shared_ptr<Bitmap> tm_floattextfield::_createbitmap(Rect r, int32_t color, Font font) {
  View p = ui.CreatePanel(bi, "");
  p.SetLayoutAnimated(0, 0, 0, std::max(1.0f, r.Width() + 2), std::max(1.0f, r.Height() + 2));
  Canvas cvs;
  cvs.Initialize(p);
  double baseline = std::trunc(p.Height() / 2 - r.Height() / 2 - r.Top);
  cvs.DrawText(hinttext, p.Width() / 2, baseline, font, color, "CENTER");
  auto bmp = cvs.CreateBitmap();
  cvs.Release();
  return bmp;
}

void tm_floattextfield::_updatelabel(String text, bool force) {
  bool showButtons = focused && !text.empty();
  if (lblclear.IsInitialized()) lblclear.setVisible(showButtons);
  if (lblv.IsInitialized()) lblv.setVisible(showButtons);
  bool large = text.empty();
  if (large == largelabel && !force) return;
  const auto& picture = focused ? (large ? largefocused : smallfocused) : (large ? largenotfocused : smallnotfocused);
  if (!picture) return;
  hintimageview.SetBitmap(picture);
  if (large) {
    hintimageview.SetLayoutAnimated(animationduration, hintlabellargeoffsetx,
                                    mbase.Height() / 2 - picture->Height() / 2, picture->Width(), picture->Height());
  } else {
    hintimageview.SetLayoutAnimated(animationduration, hintlabelsmalloffsetx, hintlabelsmalloffsety, picture->Width(),
                                    picture->Height());
  }
  largelabel = large;
}

void tm_floattextfield::_tf_textchanged(String old, String newText) {
  _updatelabel(newText, false);
  if (callbackHas("_TextChanged", 2)) raiseEvent("_TextChanged", {Object(old), Object(newText)});
}

void tm_floattextfield::_tf_enterpressed() {
  _tf_action();
  mtextfield.ResignFocus();
}

void tm_floattextfield::_tf_beginedit() { _tf_focuschanged(true); }

void tm_floattextfield::_tf_endedit() { _tf_focuschanged(false); }

void tm_floattextfield::_hintimageview_click() { mtextfield.RequestFocus(); }

void tm_floattextfield::_lc_click() {
  String action = View::FromObject(c->Sender()).Tag().AsString();
  if (action.str() == "clear") {
    _settext("");
  } else if (action.str() == "reveal") {
    _switchfrompasswordtoregular(true);
  } else if (action.str() == "hide") {
    _switchfrompasswordtoregular(false);
  } else if (action.str() == "v") {
    _tf_enterpressed();
  }
}

void tm_floattextfield::_tf_focuschanged(bool hasFocus) {
  focused = hasFocus;
  _updatelabel(_gettext(), true);
  if (callbackHas("_FocusChanged", 1) && lastswitchtextfieldtime + 100 < c->SteadyNow()) {
    raiseEventDelayed("_FocusChanged", {Object(focused)});
  }
}

void tm_floattextfield::_tf_action() {
  auto next = mnexttextfield.lock();
  if (next && next.get() != this && next->IsInitialized()) {
    // A next field whose inner field does not exist yet (not made by its layout) cannot focus.
    View nextField = next->_gettextfield();
    if (nextField.IsInitialized()) TextFieldWrapper::FromObject(Object(nextField)).RequestFocus();
  }
  if (callbackHas("_EnterPressed", 0)) raiseEventDelayed("_EnterPressed");
}

LabelWrapper tm_floattextfield::_createbutton(String glyph) {
  LabelWrapper l;
  l.Initialize(bi, "lc");
  l.setFont(ui.CreateMaterialIcons(20));
  l.setTextColor(mtextfield.TextColor());
  l.SetTextAlignment("CENTER", "CENTER");
  l.setText(glyph);
  l.setVisible(false);
  mbase.AddView(l, 0, 0, 30, 30);
  return l;
}

void tm_floattextfield::_createclearbutton() {
  if (lblclear.IsInitialized() && lblclear.Parent().IsInitialized()) lblclear.RemoveViewFromParent();
  lblclear = _createbutton(String::FromCodePoint(0xE14C));
  lblclear.setTag(Object("clear"));
}

void tm_floattextfield::_createrevealbutton() {
  lblclear = _createbutton(String::FromCodePoint(0xE8F4));
  lblclear.setTag(Object("reveal"));
}

void tm_floattextfield::_createacceptbutton() {
  lblv = _createbutton(String::FromCodePoint(0xE5CA));
  lblv.setTag(Object("v"));
}

TextFieldWrapper tm_floattextfield::_createtextfield(bool password) {
  TextFieldWrapper tf;
  if (multiline) {
    tf.InitializeMultiline(bi, "tf");
    NativeObject(Object(tf)).RunMethod("setContentInset:", {TextFieldWrapper::MakeEdgeInsets(0, 8, 0, 0)});
    return tf;
  }
  tf.Initialize(bi, "tf");
  tf.setPasswordMode(password);
  tf.setShowClearButton(false);
  tf.setAutocorrectionType(TextFieldWrapper::AUTOCORRECT_NO);
  if (keyboardtype.str() == "Numbers") {
    tf.setKeyboardType(TextFieldWrapper::TYPE_NUMBER_PAD);
  } else if (keyboardtype.str() == "Decimal") {
    tf.setKeyboardType(TextFieldWrapper::TYPE_NUMBERS_AND_PUNCTUATIONS);
  }
  return tf;
}

void tm_floattextfield::_createtextfieldall(bool password, Font font, int32_t textColor) {
  mtextfield = _createtextfield(password);
  mtextfield.setFont(font);
  mtextfield.setTextColor(textColor);
  _setnextfield(mnexttextfield.lock());
  mbase.AddView(mtextfield, 0, 0, 0, 0);
}

void tm_floattextfield::_switchfrompasswordtoregular(bool regular) {
  String text = mtextfield.Text();
  int32_t color = mtextfield.TextColor();
  Font font = mtextfield.Font();
  TextFieldWrapper old = mtextfield;
  _createtextfieldall(!regular, font, color);
  mtextfield.setText(text);
  if (lblclear.IsInitialized()) {
    if (regular) {
      lblclear.setTag(Object("hide"));
      lblclear.setText(String::FromCodePoint(0xE8F5));
    } else {
      lblclear.setText(String::FromCodePoint(0xE8F4));
      lblclear.setTag(Object("reveal"));
    }
    lblclear.BringToFront();
  }
  if (lblv.IsInitialized()) lblv.BringToFront();
  hintimageview.BringToFront();
  _base_resize(mbase.Width(), mbase.Height());
  lastswitchtextfieldtime = c->SteadyNow();
  mtextfield.RequestFocus();
  old.RemoveViewFromParent();
  if (callbackHas("_PasswordRevealChanged", 1)) {
    raiseEventDelayed("_PasswordRevealChanged", {Object(regular)});
  }
}

bool tm_floattextfield::_ime_handleaction() {
  _tf_enterpressed();
  auto next = mnexttextfield.lock();
  return next && next->IsInitialized();
}

}  // namespace tmr
