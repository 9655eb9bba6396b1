#pragma once
// The designer script of the layout "page1" (a layout nothing loads): auto-scale rate 0.3, then
// scale every view.
#include "platform/layout/DesignerScript.h"

namespace tmr {

class LS_page1 : public DesignerScript {
 public:
  using DesignerScript::DesignerScript;
  void LS_general(Map views, double width, double height) override;
};

}  // namespace tmr
