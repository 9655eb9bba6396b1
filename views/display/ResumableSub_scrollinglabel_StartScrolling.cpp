#include "views/display/ResumableSub_scrollinglabel_StartScrolling.h"

#include "views/display/tm_scrollinglabel.h"

namespace tmr {

ResumableSub_scrollinglabel_StartScrolling::ResumableSub_scrollinglabel_StartScrolling(
    std::shared_ptr<tm_scrollinglabel> parent, View p, float originalwidth)
    : ResumableSub(std::move(parent)), p(std::move(p)), originalwidth(originalwidth) {}

tm_scrollinglabel& ResumableSub_scrollinglabel_StartScrolling::label() const {
  return static_cast<tm_scrollinglabel&>(*parent);
}

SubBody ResumableSub_scrollinglabel_StartScrolling::body() {
  auto& sl = label();
  sl.taskindex += 1;  // ends any marquee still running
  myindex = sl.taskindex;
  // The pass covers the doubled text's width at widthpersecond, so the actual movement (about
  // half of it) is slower than that.
  duration = static_cast<int32_t>(p.Width() / sl.widthpersecond * 1000);
  co_await Sleep(sl.startpositiondelay);
  if (sl.taskindex != myindex) co_return;
  while (true) {
    p.SetLayoutAnimated(duration, -(p.Width() - originalwidth), p.Top(), p.Width(), p.Height());
    co_await Sleep(duration);
    if (sl.taskindex != myindex) co_return;
    co_await Sleep(sl.startpositiondelay);
    if (sl.taskindex != myindex) co_return;
    // The second copy stands where the first began: jumping back changes nothing on screen.
    p.SetLayoutAnimated(0, 0, p.Top(), p.Width(), p.Height());
  }
}

}  // namespace tmr
