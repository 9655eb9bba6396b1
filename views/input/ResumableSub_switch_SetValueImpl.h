#pragma once
// A value change of the switch: sets the value, then either draws the final picture at once or
// animates towards it, a frame about every 16 ms for 200 ms, for as long as no newer change
// has started (the switch's loopindex is still the one it took).
#include <cstdint>
#include <memory>

#include "platform/core/ResumableSub.h"

namespace tmr {

class tm_switch;

class ResumableSub_switch_SetValueImpl : public ResumableSub {
 public:
  ResumableSub_switch_SetValueImpl(std::shared_ptr<tm_switch> parent, bool b, bool immediate);

  bool b;
  bool immediate;
  int32_t myindex = 0;
  int64_t start = 0;
  int32_t duration = 0;
  float state1 = 0;

 protected:
  SubBody body() override;

 private:
  tm_switch& sw() const;
};

}  // namespace tmr
