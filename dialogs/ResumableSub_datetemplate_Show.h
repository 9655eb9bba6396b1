#pragma once
// The date template's "Show": writes the weekday names above the grid's columns, draws the
// displayed month, and sets the year buttons' state once the dialog's frame stands (building the
// frame enables every view).
#include <cstdint>
#include <memory>

#include "platform/core/List.h"
#include "platform/core/ResumableSub.h"
#include "platform/graphics/Font.h"

namespace tmr {

class tm_datetemplate;
class tm_dialog;

class ResumableSub_datetemplate_Show : public ResumableSub {
 public:
  ResumableSub_datetemplate_Show(std::shared_ptr<tm_datetemplate> parent, std::shared_ptr<tm_dialog> dialog);

  std::shared_ptr<tm_dialog> dialog;
  List days;
  Font daysfont;
  int32_t i = 0;
  String d;

 protected:
  SubBody body() override;
};

}  // namespace tmr
