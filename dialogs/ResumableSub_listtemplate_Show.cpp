#include "dialogs/ResumableSub_listtemplate_Show.h"

#include "dialogs/tm_dialog.h"
#include "dialogs/tm_listtemplate.h"
#include "listview/_clvitem.h"
#include "listview/tm_customlistview.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

SubBody ResumableSub_listtemplate_Show::body() {
  auto& t = static_cast<tm_listtemplate&>(*parent);
  t.xdialog = dialog;
  auto& clv = *t.customlistview1;
  clv._clear();
  for (const Object& each : t.options) {
    opt = each;
    clv._addtextitem(opt, opt);
  }
  if (t.allowmultiselection) {
    co_await Sleep(20);
    for (i = 0; i < clv._getsize(); ++i) {
      item = clv._getrawlistitem(i);
      t._selectitem(item, false);
    }
    // Without options no item sets the Positive button's state; it must still follow the
    // minimum, or an empty list could be confirmed with too few selected.
    if (clv._getsize() == 0 && dialog) {
      dialog->_setbuttonstate(tm_dialog::DialogResponse_Positive, t.selecteditems.Size() >= t.multiselectionminimum);
    }
  }
  t.viewsutils->_addstubtoclvifneeded(t.customlistview1, clv.defaulttextbackgroundcolor);
  t.selecteditem = "";
}

}  // namespace tmr
