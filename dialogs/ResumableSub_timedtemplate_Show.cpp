#include "dialogs/ResumableSub_timedtemplate_Show.h"

#include "dialogs/tm_dialog.h"
#include "dialogs/tm_timedtemplate.h"
#include "platform/core/Common.h"
#include "views/display/tm_progressbar.h"

namespace tmr {

SubBody ResumableSub_timedtemplate_Show::body() {
  auto& t = static_cast<tm_timedtemplate&>(*parent);
  t.c->CallSub2(t.mtemplate, "Show", Object(dialog));
  t.progressbar1->_setvaluenoanimation(0);
  if (t.timeoutmilliseconds > 0) {
    // The bar reaches 100 exactly when the time-out expires.
    t.progressbar1->valuechangepersecond = static_cast<float>(100.0 / (t.timeoutmilliseconds / 1000.0));
    t.progressbar1->_setvalue(100);
  } else {
    // No time at all: a speed of 100 / 0 would be infinite (or negative); the bar is full at
    // once and the dialog closes on a later turn.
    t.progressbar1->_setvaluenoanimation(100);
  }
  myindex = ++t.index;
  co_await Sleep(t.timeoutmilliseconds > 0 ? t.timeoutmilliseconds : 0);
  // Only this showing may be closed: the template not shown again since, and the dialog's frame
  // still holding its panel (anything else shown on the dialog meanwhile has a frame of its own).
  if (myindex == t.index && dialog && t.mbase.Parent() == dialog->base)
    dialog->_close(tm_dialog::DialogResponse_Cancel);
}

}  // namespace tmr
