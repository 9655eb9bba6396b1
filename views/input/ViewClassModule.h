#pragma once
// A class module that makes views: the custom views, the dialog and its templates. It holds the
// code-module handles and the UiLayer; every call of its initialise sub sets them again, before
// the class's own fields (a class that adds fields calls this _class_globals first).
#include "platform/core/Module.h"
#include "platform/views/UiLayer.h"
#include "views/input/CodeModules.h"

namespace tmr {

class ViewClassModule : public ClassModule, public CodeModules {
 public:
  UiLayer ui;

 protected:
  void _class_globals() override;
};

}  // namespace tmr
