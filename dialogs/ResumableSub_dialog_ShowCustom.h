#pragma once
// One showing of a dialog: builds the background and the frame in one turn, waits for
// "closemessage:", then disables the views, fades the frame out and removes the background.
// It keeps its own background and frame (mybackground, mybase), so that when a new showing
// replaces the dialog's fields during this one's fade-out, this one removes only its own views.
#include <cstdint>
#include <memory>

#include "dialogs/DialogShow.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"

namespace tmr {

class tm_dialog;

class ResumableSub_dialog_ShowCustom : public DialogShow {
 public:
  ResumableSub_dialog_ShowCustom(std::shared_ptr<tm_dialog> parent, View content, Object yes, Object no, Object cancel);

  View content;
  View v;
  View iv;
  bool includetitle = false;
  int32_t temptitlebarheight = 0;
  int32_t height = 0;
  int32_t width = 0;
  int32_t top = 0;
  bool removetitle = false;
  int32_t i = 0;
  int32_t btype = 0;
  LabelWrapper lbl;
  View mybackground;
  View mybase;

 protected:
  SubBody body() override;
};

}  // namespace tmr
