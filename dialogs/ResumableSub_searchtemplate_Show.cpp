#include "dialogs/ResumableSub_searchtemplate_Show.h"

#include "dialogs/tm_dialog.h"
#include "dialogs/tm_searchtemplate.h"
#include "listview/tm_customlistview.h"
#include "platform/views/TextFieldWrapper.h"
#include "views/input/tm_floattextfield.h"

namespace tmr {

SubBody ResumableSub_searchtemplate_Show::body() {
  auto& t = static_cast<tm_searchtemplate&>(*parent);
  t.xdialog = dialog;
  // A phone: the keyboard covers the lower half of the screen.
  if (dialog) dialog->putattop = true;
  auto& clv = *t.customlistview1;
  clv._asview().setColor(UiLayer::Color_Transparent);
  clv.sv.setColor(UiLayer::Color_Transparent);
  t.mbase.setColor(UiLayer::Color_Transparent);
  co_await Sleep(20);
  t._update("", true);
  // Without items there is no item 0 to jump to.
  if (clv._getsize() > 0) clv._jumptoitem(0);
  t.searchfield->_settext("");
  TextFieldWrapper::FromObject(t.searchfield->_gettextfield()).RequestFocus();
}

}  // namespace tmr
