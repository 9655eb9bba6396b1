#pragma once
// The base of the dialog templates that show a content panel of their own, `mbase`: the
// code-module handles and the UiLayer (ViewClassModule), the panel, and the template protocol's
// subs where a template needs nothing else ("GetPanel" gives the panel, "DialogClosed" does
// nothing). A template with more to do declares its own sub of the same name, which its sub
// table lists instead.
#include <cstdint>
#include <string_view>

#include "platform/core/Object.h"
#include "platform/core/String.h"
#include "platform/views/View.h"
#include "views/input/ViewClassModule.h"

namespace tmr {

class DialogTemplate : public ViewClassModule {
 public:
  // --- Template protocol.
  View _getpanel(Object /*dialog*/) { return mbase; }
  String _dialogclosed(int32_t /*result*/) { return ""; }

  View mbase;

 protected:
  void _class_globals() override;

  // Makes the content panel (events "mBase") at width × height and, for a layout's name, loads
  // that layout into it, binding its views to this template's fields.
  void createContent(int32_t width, int32_t height, std::string_view layout = {});
};

}  // namespace tmr
