#pragma once
// The timed template's "Show": passes "Show" on to the wrapped template, lets the bar glide
// from 0 to 100 over the time-out, and closes the dialog with the cancel result when the
// time-out passes in the same generation.
#include <cstdint>
#include <memory>

#include "platform/core/ResumableSub.h"

namespace tmr {

class tm_dialog;
class tm_timedtemplate;

class ResumableSub_timedtemplate_Show : public ResumableSub {
 public:
  ResumableSub_timedtemplate_Show(std::shared_ptr<tm_timedtemplate> parent, std::shared_ptr<tm_dialog> dialog);

  std::shared_ptr<tm_dialog> dialog;
  int32_t myindex = 0;

 protected:
  SubBody body() override;
};

}  // namespace tmr
