#include "views/input/ResumableSub_combobox_btn_Click.h"

#include "views/input/tm_combobox.h"

namespace tmr {

ResumableSub_combobox_btn_Click::ResumableSub_combobox_btn_Click(std::shared_ptr<tm_combobox> parent)
    : ResumableSub(std::move(parent)) {}

tm_combobox& ResumableSub_combobox_btn_Click::combo() const { return static_cast<tm_combobox&>(*parent); }

SubBody ResumableSub_combobox_btn_Click::body() {
  auto& cb = combo();
  // A sheet without a single button could never be closed, and it covers the whole screen.
  if (cb.mitems.Size() == 0 && cb.cancelbutton.empty()) co_return;
  sheet.Initialize(cb.bi, "sheet", "", cb.cancelbutton, "", cb.mitems);
  sheet.Show(cb.mbase);
  auto args = co_await WaitFor("sheet_click:");
  item = args.at(0).AsString();
  // The sheet reports the title of the button pressed, so an item with the cancel button's
  // title cannot be told from it.
  if (!cb.cancelbutton.empty() && item == cb.cancelbutton) co_return;
  // The sheet shows each item as its text: find the item by that text, so that items that are
  // not texts (numbers) can be picked too.
  int32_t picked = -1;
  for (int32_t i = 0; i < cb.mitems.Size(); ++i) {
    if (cb.mitems.Get(i).AsString() == item) {
      picked = i;
      break;
    }
  }
  cb._setselectedindex(picked);
  // Picking the item that was selected already is still reported.
  cb.lastselectedindex = -1;
  cb._raiseevent();
}

}  // namespace tmr
