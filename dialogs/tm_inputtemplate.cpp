#include "dialogs/tm_inputtemplate.h"

#include <memory>

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "dialogs/ResumableSub_inputtemplate_Show.h"
#include "dialogs/tm_dialog.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/text/Regex.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_inputtemplate::subTable() const {
  using T = tm_inputtemplate;
  static const SubTable table{
      sub<&T::_initialize>("_initialize:"),
      sub<&T::_configurefornumbers>("_configurefornumbers::"),
      sub<&T::_setbordercolor>("_setbordercolor::"),
      sub<&T::_isvalid>("_isvalid:"),
      sub<&T::_validate>("_validate:"),
      sub<&T::_setborder>("_setborder:"),
      sub<&T::_getpanel>("_getpanel:"),
      sub<&T::_show>("_show:"),
      sub<&T::_dialogclosed>("_dialogclosed:"),
      sub<&T::_textfield1_textchanged>("_textfield1_textchanged::"),
      sub<&T::_textfield1_enterpressed>("_textfield1_enterpressed"),
      sub<&T::_textfield1_action>("_textfield1_action"),
  };
  return table;
}

const FieldTable& tm_inputtemplate::fieldTable() const {
  static const FieldTable table{field<&tm_inputtemplate::lbltitle>("lbltitle"),
                                field<&tm_inputtemplate::pnlfield>("pnlfield")};
  return table;
}

void tm_inputtemplate::_class_globals() {
  DialogTemplate::_class_globals();
  text = "";
  xdialog = nullptr;
  regexpattern = "";
  textfield1 = TextFieldWrapper();
  lbltitle = View();
  mallowdecimals = false;
  bordercolor = UiLayer::Color_White;
  bordercolorinvalid = Color_Red;
  pnlfield = View();
}

String tm_inputtemplate::_initialize(const std::shared_ptr<Dispatcher>& ba) {
  initializeClassModule(ba->runtime());
  createContent(300, 80, "InputTemplate");
  if (!pnlfield.IsInitialized())
    throw RuntimeError("The layout InputTemplate has no panel pnlfield for the text field");
  textfield1.Initialize(bi, "textfield1");
  pnlfield.AddView(textfield1, 0, 0, pnlfield.Width(), pnlfield.Height());
  textfield1.setTextColor(UiLayer::Color_White);
  _setborder(bordercolor);
  return "";
}

String tm_inputtemplate::_configurefornumbers(bool allowdecimals, bool allownegative) {
  // [0-9], not \d: the number conversion takes ASCII digits only, and \d matches the digits of
  // every script.
  if (allowdecimals && allownegative) {
    regexpattern = R"(^-?(0|[1-9][0-9]*)?(\.[0-9]+)?(?<=[0-9])$)";
  } else if (allowdecimals) {
    regexpattern = R"(^(0|[1-9][0-9]*)?(\.[0-9]+)?(?<=[0-9])$)";
  } else if (allownegative) {
    regexpattern = R"(^-?(0|[1-9][0-9]*)$)";
  } else {
    regexpattern = R"(^(0|[1-9][0-9]*)$)";
  }
  // The numeric pads have no minus key.
  if (allownegative) {
    textfield1.setKeyboardType(TextFieldWrapper::TYPE_NUMBERS_AND_PUNCTUATIONS);
  } else if (allowdecimals) {
    textfield1.setKeyboardType(TextFieldWrapper::TYPE_DECIMAL_PAD);
  } else {
    textfield1.setKeyboardType(TextFieldWrapper::TYPE_NUMBER_PAD);
  }
  mallowdecimals = allowdecimals;
  mnumberpattern = regexpattern;
  return "";
}

String tm_inputtemplate::_setbordercolor(int32_t valid, int32_t invalid) {
  bordercolor = valid;
  bordercolorinvalid = invalid;
  _setborder(bordercolor);
  return "";
}

bool tm_inputtemplate::_isvalid(String value) {
  if (regexpattern == "") return true;
  try {
    if (!Regex::IsMatch(regexpattern, value)) return false;
    return regexpattern != mnumberpattern || Common::IsNumber(value);
  } catch (const RuntimeError&) {
    // A pattern that does not compile matches nothing, so nothing can be confirmed with it.
    c->Log(String("Invalid regular expression: ") + regexpattern);
    return false;
  }
}

String tm_inputtemplate::_validate(String value) {
  int32_t color = bordercolor;
  bool valid = true;
  if (!_isvalid(value)) {
    valid = false;
    if (value.Length() > 0) color = bordercolorinvalid;
  }
  if (xdialog) xdialog->_setbuttonstate(tm_dialog::DialogResponse_Positive, valid);
  _setborder(color);
  return "";
}

String tm_inputtemplate::_setborder(int32_t color) {
  textfield1.SetColorAndBorder(UiLayer::Color_Transparent, 1, color, 2);
  return "";
}

std::shared_ptr<ResumableSub> tm_inputtemplate::_show(Object dialog) {
  return TemplateShow::Start<ResumableSub_inputtemplate_Show>(self<tm_inputtemplate>(), dialog);
}

String tm_inputtemplate::_dialogclosed(int32_t result) {
  if (result == tm_dialog::DialogResponse_Positive) text = textfield1.Text();
  return "";
}

void tm_inputtemplate::_textfield1_textchanged(String /*old*/, String newText) {
  if (mallowdecimals && newText.Contains(",")) {
    newText = newText.Replace(",", ".");
    // The change is reported on the turn after the field took the key, when further keys may
    // already be in it: the field's own text is corrected, so none of them is lost. The
    // replacement keeps the length, so the cursor stays where the person left it (after the
    // typed character).
    String current = textfield1.Text();
    if (current.Contains(",")) {
      int p = textfield1.SelectionStart();
      textfield1.setText(current.Replace(",", "."));
      textfield1.SetSelection(p, 0);
    }
  }
  _validate(newText);
}

void tm_inputtemplate::_textfield1_enterpressed() {
  if (_isvalid(textfield1.Text()) && xdialog) xdialog->_close(tm_dialog::DialogResponse_Positive);
}

}  // namespace tmr
