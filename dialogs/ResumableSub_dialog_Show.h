#pragma once
// A message dialog: the text in a multi-line label of a 300 × 100 panel, shown with
// _showcustom; completes with its result.
#include <memory>

#include "dialogs/DialogShow.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"

namespace tmr {

class tm_dialog;

class ResumableSub_dialog_Show : public DialogShow {
 public:
  ResumableSub_dialog_Show(std::shared_ptr<tm_dialog> parent, Object text, Object yes, Object no, Object cancel);

  Object text;
  View p;
  LabelWrapper lbl;

 protected:
  SubBody body() override;
};

}  // namespace tmr
