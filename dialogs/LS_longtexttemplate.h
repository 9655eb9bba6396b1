#pragma once
// The designer script of the layout "LongTextTemplate": auto-scale rate 0.3, then scale every view.
#include "platform/layout/DesignerScript.h"

namespace tmr {

class LS_longtexttemplate : public DesignerScript {
 public:
  using DesignerScript::DesignerScript;
  void LS_general(Map views, double width, double height) override;
};

}  // namespace tmr
