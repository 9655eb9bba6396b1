#pragma once
// The text input template's "Show": puts the dialog near the top (above the keyboard), waits
// 20 ms until the dialog's frame and buttons stand, then shows `text`, validates it (which sets
// the Positive button's state) and gives the field the focus.
#include <memory>

#include "platform/core/ResumableSub.h"
#include "platform/views/TextFieldWrapper.h"

namespace tmr {

class tm_dialog;
class tm_inputtemplate;

class ResumableSub_inputtemplate_Show : public ResumableSub {
 public:
  ResumableSub_inputtemplate_Show(std::shared_ptr<tm_inputtemplate> parent, std::shared_ptr<tm_dialog> dialog);

  std::shared_ptr<tm_dialog> dialog;
  TextFieldWrapper tf;

 protected:
  SubBody body() override;
};

}  // namespace tmr
