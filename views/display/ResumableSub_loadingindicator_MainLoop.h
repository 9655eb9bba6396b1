#pragma once
// The loading indicator's animation: takes a new generation, then, for as long as no newer loop
// has started, clears the canvas, calls the style's drawing sub with the progress the clock
// gives, shows the picture and sleeps 10 ms.
#include <cstdint>
#include <memory>

#include "platform/core/ResumableSub.h"

namespace tmr {

class tm_loadingindicator;

class ResumableSub_loadingindicator_MainLoop : public ResumableSub {
 public:
  explicit ResumableSub_loadingindicator_MainLoop(std::shared_ptr<tm_loadingindicator> parent);

  int32_t myindex = 0;
  int64_t n = 0;  // when the loop started, ms
  float progress = 0;

 protected:
  SubBody body() override;

 private:
  tm_loadingindicator& indicator() const;
};

}  // namespace tmr
