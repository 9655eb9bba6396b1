#include "views/input/ResumableSub_plusminus_StartDownLoop.h"

#include <algorithm>

#include "platform/core/MainLoop.h"
#include "platform/core/Runtime.h"
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
  MainLoop& loop = runtime().loop();
  // Each step is due at its own time from the hold's start, not rapidperiod2 after the previous
  // one ended: time taken between steps (a slow frame on screen) does not slow the count, and
  // a late step is followed at once by those that came due meanwhile.
  int64_t due = loop.steadyNow() + pm.rapidperiod1;
  co_await Sleep(pm.rapidperiod1);
  while (myindex == pm.loopindex) {
    if (up) {
      pm._increment();
    } else {
      pm._decrement();
    }
    // A step that reached a non-cyclic end (or ended the hold) ends the repeat here, with
    // nothing left scheduled.
    if (myindex != pm.loopindex) break;
    due += pm.rapidperiod2;
    int64_t now = loop.steadyNow();
    // A pause far longer than a step (the program held up) restarts the pace from now rather
    // than catching up in a burst.
    if (due < now - pm.rapidperiod1) due = now + pm.rapidperiod2;
    co_await Sleep(std::max<int64_t>(0, due - now));
  }
}

}  // namespace tmr
