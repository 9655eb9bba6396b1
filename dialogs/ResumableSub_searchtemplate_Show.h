#pragma once
// The search template's "Show": puts the dialog near the top (above the keyboard), makes the
// list see-through, waits 20 ms until the dialog's frame stands, then lists the first items,
// clears the search field and gives it the focus.
#include <memory>

#include "dialogs/TemplateShow.h"

namespace tmr {

class ResumableSub_searchtemplate_Show : public TemplateShow {
 public:
  using TemplateShow::TemplateShow;

 protected:
  SubBody body() override;
};

}  // namespace tmr
