#pragma once
// The marquee of a scrolling label: after a pause at the start position, the moving panel p
// slides left until the second copy of the text stands where the first began, pauses again and
// jumps back (the picture does not change), over and over, for as long as the label's
// taskindex is still the one it took.
#include <cstdint>
#include <memory>

#include "platform/core/ResumableSub.h"
#include "platform/views/View.h"

namespace tmr {

class tm_scrollinglabel;

class ResumableSub_scrollinglabel_StartScrolling : public ResumableSub {
 public:
  ResumableSub_scrollinglabel_StartScrolling(std::shared_ptr<tm_scrollinglabel> parent, View p, float originalwidth);

  View p;
  float originalwidth;
  int32_t myindex = 0;
  int32_t duration = 0;  // ms of one pass

 protected:
  SubBody body() override;

 private:
  tm_scrollinglabel& label() const;
};

}  // namespace tmr
