#pragma once
// The list template's "Show": lists the options; in multiple selection it waits 20 ms, until
// the dialog's frame and buttons stand, then marks the pre-selected options and sets the
// Positive button's state; a filler pads a short list.
#include <cstdint>
#include <memory>

#include "dialogs/TemplateShow.h"

namespace tmr {

class _clvitem;

class ResumableSub_listtemplate_Show : public TemplateShow {
 public:
  using TemplateShow::TemplateShow;

  Object opt;
  int32_t i = 0;
  std::shared_ptr<_clvitem> item;

 protected:
  SubBody body() override;
};

}  // namespace tmr
