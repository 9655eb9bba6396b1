#include "dialogs/ResumableSub_colortemplate_Show.h"

#include "dialogs/tm_colortemplate.h"
#include "dialogs/tm_dialog.h"

namespace tmr {

ResumableSub_colortemplate_Show::ResumableSub_colortemplate_Show(std::shared_ptr<tm_colortemplate> parent,
                                                                 std::shared_ptr<tm_dialog> dialog)
    : ResumableSub(std::move(parent)), dialog(std::move(dialog)) {}

SubBody ResumableSub_colortemplate_Show::body() {
  auto& t = static_cast<tm_colortemplate&>(*parent);
  t.initialcolor = t._getselectedhsvcolor();
  t.xdialog = dialog;
  co_await Sleep(0);
  t._updatebarcolor();
}

}  // namespace tmr
