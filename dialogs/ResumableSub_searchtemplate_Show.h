#pragma once
// The search template's "Show": puts the dialog near the top (above the keyboard), makes the
// list see-through, waits 20 ms until the dialog's frame stands, then lists the first items,
// clears the search field and gives it the focus.
#include <memory>

#include "platform/core/ResumableSub.h"

namespace tmr {

class tm_dialog;
class tm_searchtemplate;

class ResumableSub_searchtemplate_Show : public ResumableSub {
 public:
  ResumableSub_searchtemplate_Show(std::shared_ptr<tm_searchtemplate> parent, std::shared_ptr<tm_dialog> dialog);

  std::shared_ptr<tm_dialog> dialog;

 protected:
  SubBody body() override;
};

}  // namespace tmr
