#pragma once
// A dialog around a template: asks the template for its content ("GetPanel") and tells it that
// it is shown ("Show"), shows the content with _showcustom, and after the frame has gone tells
// the template the result ("DialogClosed"). The dialog then stops putting its frame at the top.
#include <memory>

#include "platform/core/ResumableSub.h"
#include "platform/views/View.h"

namespace tmr {

class tm_dialog;

class ResumableSub_dialog_ShowTemplate : public ResumableSub {
 public:
  ResumableSub_dialog_ShowTemplate(std::shared_ptr<tm_dialog> parent, Object dialogtemplate, Object yes, Object no,
                                   Object cancel);

  Object dialogtemplate;
  Object yes;
  Object no;
  Object cancel;
  View content;
  int32_t result = 0;

 protected:
  SubBody body() override;
};

}  // namespace tmr
