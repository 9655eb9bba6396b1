#pragma once
// The list template's "Show": lists the options; in multiple selection it waits 20 ms, until
// the dialog's frame and buttons stand, then marks the pre-selected options and sets the
// Positive button's state; a filler pads a short list.
#include <cstdint>
#include <memory>

#include "platform/core/ResumableSub.h"

namespace tmr {

class _clvitem;
class tm_dialog;
class tm_listtemplate;

class ResumableSub_listtemplate_Show : public ResumableSub {
 public:
  ResumableSub_listtemplate_Show(std::shared_ptr<tm_listtemplate> parent, std::shared_ptr<tm_dialog> dialog);

  std::shared_ptr<tm_dialog> dialog;
  Object opt;
  int32_t i = 0;
  std::shared_ptr<_clvitem> item;

 protected:
  SubBody body() override;
};

}  // namespace tmr
