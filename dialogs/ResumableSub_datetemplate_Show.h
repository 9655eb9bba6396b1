#pragma once
// The date template's "Show": writes the weekday names above the grid's columns, draws the
// displayed month, and sets the year buttons' state once the dialog's frame stands (building the
// frame enables every view).
#include <cstdint>
#include <memory>

#include "dialogs/TemplateShow.h"
#include "platform/core/List.h"
#include "platform/graphics/Font.h"

namespace tmr {

class ResumableSub_datetemplate_Show : public TemplateShow {
 public:
  using TemplateShow::TemplateShow;

  List days;
  Font daysfont;
  int32_t i = 0;
  String d;

 protected:
  SubBody body() override;
};

}  // namespace tmr
