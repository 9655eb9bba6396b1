#pragma once
// A tap on an item of the list view: the wrapper flashes to the pressed colour over 50 ms,
// "_ItemClick" (index, value) is raised at once, and 200 ms after its handler returned the
// wrapper fades back to the item's colour (as it was before the handler ran) over 200 ms.
// A transparent pressed colour (alpha 0) flashes nothing.
#include <cstdint>
#include <memory>

#include "platform/core/ResumableSub.h"
#include "platform/views/View.h"

namespace tmr {

class tm_customlistview;

class ResumableSub_customlistview_PanelClickHandler : public ResumableSub {
 public:
  ResumableSub_customlistview_PanelClickHandler(std::shared_ptr<tm_customlistview> parent, View senderpanel);

  View senderpanel;
  int32_t clr = 0;
  bool istransparentpressedcolor = false;

 protected:
  SubBody body() override;

 private:
  tm_customlistview& list() const;
};

}  // namespace tmr
