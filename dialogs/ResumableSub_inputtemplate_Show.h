#pragma once
// The text input template's "Show": puts the dialog near the top (above the keyboard), waits
// 20 ms until the dialog's frame and buttons stand, then shows `text`, validates it (which sets
// the Positive button's state) and gives the field the focus.
#include <memory>

#include "dialogs/TemplateShow.h"
#include "platform/views/TextFieldWrapper.h"

namespace tmr {

class ResumableSub_inputtemplate_Show : public TemplateShow {
 public:
  using TemplateShow::TemplateShow;

  TextFieldWrapper tf;

 protected:
  SubBody body() override;
};

}  // namespace tmr
