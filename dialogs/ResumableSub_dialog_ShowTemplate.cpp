#include "dialogs/ResumableSub_dialog_ShowTemplate.h"

#include "dialogs/tm_dialog.h"
#include "platform/core/Common.h"

namespace tmr {

ResumableSub_dialog_ShowTemplate::ResumableSub_dialog_ShowTemplate(std::shared_ptr<tm_dialog> parent,
                                                                   Object dialogtemplate, Object yes, Object no,
                                                                   Object cancel)
    : DialogShow(std::move(parent), std::move(yes), std::move(no), std::move(cancel)),
      dialogtemplate(std::move(dialogtemplate)) {}

SubBody ResumableSub_dialog_ShowTemplate::body() {
  auto& dialog = static_cast<tm_dialog&>(*parent);
  Object self(parent);
  content = View::FromObject(dialog.c->CallSub2(dialogtemplate, "GetPanel", self));
  dialog.c->CallSub2(dialogtemplate, "Show", self);
  Object r = co_await WaitForComplete(dialog._showcustom(content, yes, no, cancel));
  result = r.AsInt();
  dialog.c->CallSub2(dialogtemplate, "DialogClosed", Object(result));
  dialog.putattop = false;
  ReturnFromResumableSub(Object(result));
}

}  // namespace tmr
