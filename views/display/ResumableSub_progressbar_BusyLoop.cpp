#include "views/display/ResumableSub_progressbar_BusyLoop.h"

#include <algorithm>
#include <cmath>

#include "platform/core/Common.h"
#include "platform/graphics/Bitmap.h"
#include "views/display/tm_progressbar.h"

namespace tmr {

ResumableSub_progressbar_BusyLoop::ResumableSub_progressbar_BusyLoop(std::shared_ptr<tm_progressbar> parent)
    : ResumableSub(std::move(parent)) {}

tm_progressbar& ResumableSub_progressbar_BusyLoop::bar() const { return static_cast<tm_progressbar&>(*parent); }

void ResumableSub_progressbar_BusyLoop::glide(tm_progressbar& p) {
  delta = static_cast<float>(p.mvalue) - p.currentvalue;
  if (std::abs(delta) > 1) {
    change = static_cast<float>(static_cast<double>(p.c->SteadyNow() - lasttime) / 1000.0 * p.valuechangepersecond);
    // A speed that is not positive would never arrive (or move away), and one without bound
    // gives no number: both show the target at once.
    if (!(p.valuechangepersecond > 0) || !std::isfinite(change)) {
      p.currentvalue = static_cast<float>(p.mvalue);
    } else if (delta > 0) {
      p.currentvalue = p.currentvalue + std::min(change, static_cast<float>(p.mvalue) - p.currentvalue);
    } else {
      p.currentvalue = p.currentvalue - std::min(change, p.currentvalue - static_cast<float>(p.mvalue));
    }
  } else {
    p.currentvalue = static_cast<float>(p.mvalue);
  }
  lasttime = p.c->SteadyNow();
}

SubBody ResumableSub_progressbar_BusyLoop::body() {
  auto& p = bar();
  myindex = p.busyindex;
  r = Rect(0, 0, static_cast<float>(p.bc->mwidth), static_cast<float>(p.bc->mheight));
  lasttime = p.c->SteadyNow();
  // A batch of an earlier loop may still be drawing: its picture arrives before this loop's
  // first batch starts, so that the bar never has two batches in flight.
  if (p.batchinflight) {
    auto args = co_await WaitFor("bc_bitmapready:");
    p.batchinflight = false;
  }
  while (true) {
    if (myindex != p.busyindex) co_return;
    // A buffer without pixels (a view smaller than a pixel): nothing to draw, the value glides on.
    if (p.bc->mwidth < 1 || p.bc->mheight < 1) {
      glide(p);
      co_await Sleep(30);
      continue;
    }
    if (p.vertical) {
      p.busybrush->SrcOffsetY += p.brushoffsetdelta;
    } else {
      p.busybrush->SrcOffsetX += p.brushoffsetdelta;
    }
    tasks = List();
    tasks.Initialize();
    tasks.Add(Object(p.bc->_asyncdrawrect(p.bc->targetrect, p.transparentbrush, true, 0)));
    glide(p);
    if (p.currentvalue < 100) {
      tasks.Add(Object(p.bc->_asyncdrawrectrounded(p.bc->targetrect, p.emptybrush, true, 0, p.cornerradius)));
    }
    if (p.vertical) {
      r.Bottom = static_cast<float>(std::lrint(p.currentvalue / 100 * static_cast<float>(p.bc->mheight)));
    } else {
      r.Right = static_cast<float>(std::lrint(p.currentvalue / 100 * static_cast<float>(p.bc->mwidth)));
    }
    tasks.Add(Object(p.bc->_asyncdrawrectrounded(r, p.busybrush, true, 0, p.cornerradius)));
    const auto drawing = p.bc;
    p.batchinflight = true;
    p.bc->_drawbitmapcreatorsasync(Object(parent), "BC", tasks);
    auto args = co_await WaitFor("bc_bitmapready:");
    p.batchinflight = false;
    bmp = args.empty() ? nullptr : args[0].As<Bitmap>();
    // A picture of a buffer that a resize has replaced is out of date.
    if (bmp && drawing == p.bc) p.bc->_setbitmaptoimageview(bmp, p.miv);
    co_await Sleep(30);
  }
}

}  // namespace tmr
