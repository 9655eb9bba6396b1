#pragma once
// A dialog template with one text field. With a regular expression set, every change of the
// text is validated: the dialog's Positive button is enabled only while the whole text matches,
// and a non-empty text that does not match gets the invalid border colour. Return closes the
// dialog with the positive result while the text is valid. After a positive close the entered
// text is in `text`; any other result leaves `text` as it was.
//
// The view layer's layouts cannot hold a native text field, so the layout "InputTemplate" marks
// the field's place with the panel "pnlfield" and the template puts `textfield1` (event name
// "textfield1") into it.
#include <cstdint>
#include <memory>

#include "dialogs/DialogTemplate.h"
#include "platform/layout/FieldTable.h"
#include "platform/views/TextFieldWrapper.h"
#include "platform/views/View.h"

namespace tmr {

class ResumableSub;
class tm_dialog;

class tm_inputtemplate : public DialogTemplate, public LayoutFields {
 public:
  static constexpr int32_t Color_Red = static_cast<int32_t>(0xFFFF0000);

  std::string_view className() const override { return "tm_inputtemplate"; }
  const SubTable& subTable() const override;
  const FieldTable& fieldTable() const override;

  // Builds the 300 × 80 content from the layout "InputTemplate".
  String _initialize(const std::shared_ptr<Dispatcher>& ba);
  // Integers or decimals, with or without a sign: the keyboard and the pattern that fit.
  String _configurefornumbers(bool allowdecimals, bool allownegative);
  String _setbordercolor(int32_t valid, int32_t invalid);
  // True without a pattern; otherwise whether the whole text matches it. A pattern that does not
  // compile matches nothing (and is logged), so no text can be confirmed with it.
  bool _isvalid(String text);
  String _validate(String text);
  String _setborder(int32_t color);

  // --- Template protocol.
  std::shared_ptr<ResumableSub> _show(Object dialog);
  String _dialogclosed(int32_t result);

  // --- Events of the text field.
  void _textfield1_textchanged(String old, String newText);
  void _textfield1_enterpressed();
  void _textfield1_action() { _textfield1_enterpressed(); }

  String text = "";
  std::shared_ptr<tm_dialog> xdialog;
  String regexpattern = "";
  // The pattern _configurefornumbers set: while it is in force, a text must also convert to a
  // number (a whole number of 400 digits matches but is beyond a Double).
  String mnumberpattern = "";
  TextFieldWrapper textfield1;
  View lbltitle;
  bool mallowdecimals = false;
  int32_t bordercolor = UiLayer::Color_White;
  int32_t bordercolorinvalid = Color_Red;

 protected:
  void _class_globals() override;

 private:
  // The field's place in the layout.
  View pnlfield;
};

}  // namespace tmr
