#include "dialogs/ResumableSub_colortemplate_Show.h"

#include "dialogs/tm_colortemplate.h"
#include "dialogs/tm_dialog.h"

namespace tmr {

SubBody ResumableSub_colortemplate_Show::body() {
  auto& t = static_cast<tm_colortemplate&>(*parent);
  t.initialcolor = t._getselectedhsvcolor();
  t.xdialog = dialog;
  co_await Sleep(0);
  t._updatebarcolor();
}

}  // namespace tmr
