#include "dialogs/tm_timedtemplate.h"

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "dialogs/ResumableSub_timedtemplate_Show.h"
#include "dialogs/tm_dialog.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "views/display/tm_progressbar.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

const SubTable& tm_timedtemplate::subTable() const {
  using T = tm_timedtemplate;
  static const SubTable table{
      sub<&T::_initialize>("_initialize::"),
      sub<&T::_getpanel>("_getpanel:"),
      sub<&T::_show>("_show:"),
      sub<&T::_dialogclosed>("_dialogclosed:"),
  };
  return table;
}

const FieldTable& tm_timedtemplate::fieldTable() const {
  static const FieldTable table{field<&tm_timedtemplate::progressbar1>("progressbar1")};
  return table;
}

void tm_timedtemplate::_class_globals() {
  DialogTemplate::_class_globals();
  progressbar1 = nullptr;
  mtemplate = Object();
  timeoutmilliseconds = 10000;
  index = 0;
}

String tm_timedtemplate::_initialize(const std::shared_ptr<Dispatcher>& ba, Object dialogtemplate) {
  initializeClassModule(ba->runtime());
  mbase = ui.CreatePanel(bi, "mBase");
  mtemplate = std::move(dialogtemplate);
  return "";
}

View tm_timedtemplate::_getpanel(Object dialog) {
  if (mbase.NumberOfViews() == 0) {
    View p = View::FromObject(c->CallSub2(mtemplate, "GetPanel", dialog));
    if (p.Parent().IsInitialized()) p.RemoveViewFromParent();
    mbase.SetLayoutAnimated(0, 0, 0, p.Width(), p.Height() + kStripHeight);
    mbase.LoadLayout("TimedDialogTemplate", bi);
    mbase.SetColorAndBorder(UiLayer::Color_Transparent, 0, 0, 0);
    mbase.AddView(p, 0, kStripHeight, p.Width(), p.Height());
  }
  return mbase;
}

std::shared_ptr<ResumableSub> tm_timedtemplate::_show(Object dialog) {
  return TemplateShow::Start<ResumableSub_timedtemplate_Show>(self<tm_timedtemplate>(), dialog);
}

String tm_timedtemplate::_dialogclosed(int32_t result) {
  c->CallSub2(mtemplate, "DialogClosed", Object(result));
  return "";
}

}  // namespace tmr
