#pragma once
// The base of the dialog's own show coroutines (message, custom view, template): its parent is
// the dialog, it holds the three button texts ("" for no such button) and, once the dialog is
// closed, the result code it completes with.
#include <cstdint>
#include <memory>

#include "platform/core/Object.h"
#include "platform/core/ResumableSub.h"

namespace tmr {

class tm_dialog;

class DialogShow : public ResumableSub {
 public:
  DialogShow(std::shared_ptr<tm_dialog> dialog, Object yes, Object no, Object cancel);

  Object yes;
  Object no;
  Object cancel;
  int32_t result = 0;
};

}  // namespace tmr
