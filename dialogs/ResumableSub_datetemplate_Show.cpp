#include "dialogs/ResumableSub_datetemplate_Show.h"

#include <algorithm>

#include "dateutils/tm_dateutils.h"
#include "dialogs/tm_datetemplate.h"
#include "dialogs/tm_dialog.h"

namespace tmr {

SubBody ResumableSub_datetemplate_Show::body() {
  auto& t = static_cast<tm_datetemplate&>(*parent);
  days = t.dateutils->_getdaysnames();
  daysfont = t.ui.CreateDefaultBoldFont(14);
  t.cvsdays.ClearRect(t.cvsdays.TargetRect());
  int32_t first = t.normalisedfirstday();
  for (i = first; i <= first + 6; ++i) {
    d = days.Get(i % 7).AsString();
    // A name shorter than two characters is shown whole.
    d = d.SubString2(0, std::min(2, d.Length()));
    t.cvsdays.DrawText(d, (i - first + 0.5) * t.boxw, 20, daysfont, t.daysinweekcolor, "CENTER");
  }
  t.cvsdays.Invalidate();
  t.mdialog = dialog;
  t._drawdays();
  co_await Sleep(0);
  t._setyearsbuttonstate();
}

}  // namespace tmr
