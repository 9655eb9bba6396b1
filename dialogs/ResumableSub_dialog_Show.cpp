#include "dialogs/ResumableSub_dialog_Show.h"

#include "dialogs/tm_dialog.h"

namespace tmr {

ResumableSub_dialog_Show::ResumableSub_dialog_Show(std::shared_ptr<tm_dialog> parent, Object text, Object yes,
                                                   Object no, Object cancel)
    : DialogShow(std::move(parent), std::move(yes), std::move(no), std::move(cancel)), text(std::move(text)) {}

SubBody ResumableSub_dialog_Show::body() {
  auto& dialog = static_cast<tm_dialog&>(*parent);
  p = dialog.ui.CreatePanel(dialog.bi, "");
  p.SetLayoutAnimated(0, 0, 0, 300, 100);
  lbl.Initialize(dialog.bi, "");
  lbl.setMultiline(true);
  p.AddView(lbl, 5, 0, p.Width() - 10, p.Height());
  lbl.setTextColor(dialog.bodytextcolor);
  lbl.setFont(dialog.titlebarfont);
  dialog._internalsettextorcsbuildertolabel(lbl, text);
  lbl.SetTextAlignment("CENTER", "LEFT");
  Object r = co_await WaitForComplete(dialog._showcustom(p, yes, no, cancel));
  result = r.AsInt();
  ReturnFromResumableSub(Object(result));
}

}  // namespace tmr
