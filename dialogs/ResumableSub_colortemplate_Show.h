#pragma once
// The colour template's "Show": saves the colour of the opening and, once the dialog has built
// its frame and title bar, paints the title bar in the chosen colour.
#include <memory>

#include "dialogs/TemplateShow.h"

namespace tmr {

class ResumableSub_colortemplate_Show : public TemplateShow {
 public:
  using TemplateShow::TemplateShow;

 protected:
  SubBody body() override;
};

}  // namespace tmr
