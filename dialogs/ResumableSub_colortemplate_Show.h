#pragma once
// The colour template's "Show": saves the colour of the opening and, once the dialog has built
// its frame and title bar, paints the title bar in the chosen colour.
#include <memory>

#include "platform/core/ResumableSub.h"

namespace tmr {

class tm_colortemplate;
class tm_dialog;

class ResumableSub_colortemplate_Show : public ResumableSub {
 public:
  ResumableSub_colortemplate_Show(std::shared_ptr<tm_colortemplate> parent, std::shared_ptr<tm_dialog> dialog);

  std::shared_ptr<tm_dialog> dialog;

 protected:
  SubBody body() override;
};

}  // namespace tmr
