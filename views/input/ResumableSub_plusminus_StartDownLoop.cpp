#include "views/input/ResumableSub_plusminus_StartDownLoop.h"

#include "views/input/tm_plusminus.h"

namespace tmr {

ResumableSub_plusminus_StartDownLoop::ResumableSub_plusminus_StartDownLoop(std::shared_ptr<tm_plusminus> selector,
                                                                           bool up)
    : ResumableSub(std::move(selector)), up(up) {}

tm_plusminus& ResumableSub_plusminus_StartDownLoop::selector() const { return static_cast<tm_plusminus&>(*parent); }

SubBody ResumableSub_plusminus_StartDownLoop::body() {
  auto& pm = selector();
  pm.loopindex += 1;  // ends any earlier repeat
  if (!pm.mrapid) co_return;
  myindex = pm.loopindex;
  co_await Sleep(pm.rapidperiod1);
  while (myindex == pm.loopindex) {
    if (up) {
      pm._increment();
    } else {
      pm._decrement();
    }
    co_await Sleep(pm.rapidperiod2);
  }
}

}  // namespace tmr
