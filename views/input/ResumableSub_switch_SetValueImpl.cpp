#include "views/input/ResumableSub_switch_SetValueImpl.h"

#include "platform/core/Common.h"
#include "views/input/tm_switch.h"

namespace tmr {

ResumableSub_switch_SetValueImpl::ResumableSub_switch_SetValueImpl(std::shared_ptr<tm_switch> parent, bool b,
                                                                   bool immediate)
    : ResumableSub(std::move(parent)), b(b), immediate(immediate) {}

tm_switch& ResumableSub_switch_SetValueImpl::sw() const { return static_cast<tm_switch&>(*parent); }

SubBody ResumableSub_switch_SetValueImpl::body() {
  auto& s = sw();
  s.mvalue = b;
  s.loopindex += 1;  // ends any animation still running
  if (immediate) {
    s._draw(s.mvalue ? 1.0f : 0.0f);
    co_return;
  }
  myindex = s.loopindex;
  start = s.c->SteadyNow();
  duration = 200;
  while (s.c->SteadyNow() < start + duration) {
    state1 = static_cast<float>(static_cast<double>(s.c->SteadyNow() - start) / duration);
    if (!s.mvalue) state1 = 1 - state1;
    s._draw(state1);
    co_await Sleep(16);
    if (myindex != s.loopindex) break;
  }
  // Only the newest change draws the final picture.
  if (myindex == s.loopindex) s._draw(s.mvalue ? 1.0f : 0.0f);
}

}  // namespace tmr
