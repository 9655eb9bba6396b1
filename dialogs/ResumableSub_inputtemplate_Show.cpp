#include "dialogs/ResumableSub_inputtemplate_Show.h"

#include "dialogs/tm_dialog.h"
#include "dialogs/tm_inputtemplate.h"

namespace tmr {

SubBody ResumableSub_inputtemplate_Show::body() {
  auto& t = static_cast<tm_inputtemplate&>(*parent);
  t.xdialog = dialog;
  // A phone: the keyboard covers the lower half of the screen.
  if (dialog) dialog->putattop = true;
  co_await Sleep(20);
  tf = t.textfield1;
  tf.setText(t.text);
  t._validate(t.text);
  tf.RequestFocus();
  tf.SelectAll();
}

}  // namespace tmr
