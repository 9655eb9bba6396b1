#include "views/display/ResumableSub_loadingindicator_MainLoop.h"

#include <cmath>

#include "platform/core/Common.h"
#include "views/display/tm_loadingindicator.h"

namespace tmr {

ResumableSub_loadingindicator_MainLoop::ResumableSub_loadingindicator_MainLoop(
    std::shared_ptr<tm_loadingindicator> parent)
    : ResumableSub(std::move(parent)) {}

tm_loadingindicator& ResumableSub_loadingindicator_MainLoop::indicator() const {
  return static_cast<tm_loadingindicator&>(*parent);
}

SubBody ResumableSub_loadingindicator_MainLoop::body() {
  auto& li = indicator();
  li.index += 1;
  myindex = li.index;
  n = li.c->SteadyNow();
  while (myindex == li.index) {
    // Without a positive cycle length there is no position in it: the picture stands at 0.
    double elapsed = li.duration > 0 ? static_cast<double>(li.c->SteadyNow() - n) / li.duration : 0.0;
    progress = static_cast<float>(elapsed);
    progress = progress - static_cast<float>(std::floor(progress));
    li.cvs.ClearRect(li.cvs.TargetRect());
    li.c->CallSub2(Object(parent), li.drawingsubname.str(), Object(progress));
    li.cvs.Invalidate();
    co_await Sleep(10);
  }
}

}  // namespace tmr
