#pragma once
// The repeat of a held arrow: steps again rapidperiod1 ms after the hold began and then every
// rapidperiod2 ms, on a pace counted from the hold's start, for as long as the selector's
// loopindex is still the one it started with.
#include <memory>

#include "platform/core/ResumableSub.h"

namespace tmr {

class tm_plusminus;

class ResumableSub_plusminus_StartDownLoop : public ResumableSub {
 public:
  ResumableSub_plusminus_StartDownLoop(std::shared_ptr<tm_plusminus> selector, bool up);

  bool up;
  int32_t myindex = 0;

 protected:
  SubBody body() override;

 private:
  tm_plusminus& selector() const;
};

}  // namespace tmr
