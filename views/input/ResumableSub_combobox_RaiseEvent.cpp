#include "views/input/ResumableSub_combobox_RaiseEvent.h"

#include "platform/core/Common.h"
#include "views/input/tm_combobox.h"

namespace tmr {

ResumableSub_combobox_RaiseEvent::ResumableSub_combobox_RaiseEvent(std::shared_ptr<tm_combobox> parent)
    : ResumableSub(std::move(parent)) {}

tm_combobox& ResumableSub_combobox_RaiseEvent::combo() const { return static_cast<tm_combobox&>(*parent); }

SubBody ResumableSub_combobox_RaiseEvent::body() {
  auto& cb = combo();
  // The index is the one selected now, even when the report goes out after a delay.
  index = cb._getselectedindex();
  if (cb.lastselectedindex == index) co_return;
  if (cb.delaybeforechangeevent >= 1) {
    cb.delayindex += 1;
    myindex = cb.delayindex;
    co_await Sleep(cb.delaybeforechangeevent);
    if (myindex != cb.delayindex) co_return;  // a newer report takes its place
  }
  cb.lastselectedindex = index;
  if (cb.callbackHas("_SelectedIndexChanged", 1)) cb.raiseEvent("_SelectedIndexChanged", {Object(index)});
}

}  // namespace tmr
