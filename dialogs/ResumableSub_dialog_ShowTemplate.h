#pragma once
// A dialog around a template: asks the template for its content ("GetPanel") and tells it that
// it is shown ("Show"), shows the content with _showcustom, and after the frame has gone tells
// the template the result ("DialogClosed"). The dialog then stops putting its frame at the top.
#include <memory>

#include "dialogs/DialogShow.h"
#include "platform/views/View.h"

namespace tmr {

class tm_dialog;

class ResumableSub_dialog_ShowTemplate : public DialogShow {
 public:
  ResumableSub_dialog_ShowTemplate(std::shared_ptr<tm_dialog> parent, Object dialogtemplate, Object yes, Object no,
                                   Object cancel);

  Object dialogtemplate;
  View content;

 protected:
  SubBody body() override;
};

}  // namespace tmr
