#pragma once
// The timed template's "Show": passes "Show" on to the wrapped template, lets the bar glide
// from 0 to 100 over the time-out, and closes the dialog with the cancel result when the
// time-out passes in the same generation.
#include <cstdint>
#include <memory>

#include "dialogs/TemplateShow.h"

namespace tmr {

class ResumableSub_timedtemplate_Show : public TemplateShow {
 public:
  using TemplateShow::TemplateShow;

  int32_t myindex = 0;

 protected:
  SubBody body() override;
};

}  // namespace tmr
