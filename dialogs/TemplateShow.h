#pragma once
// The base of a dialog template's "Show" coroutine: its parent is the template, and `dialog` is
// the dialog that shows it. Start makes one, starts it and returns it, as the template
// protocol's "Show" does.
#include <memory>

#include "platform/core/Object.h"
#include "platform/core/ResumableSub.h"

namespace tmr {

class tm_dialog;

class TemplateShow : public ResumableSub {
 public:
  TemplateShow(std::shared_ptr<Module> dialogtemplate, std::shared_ptr<tm_dialog> dialog);

  template <class Show, class Template>
  static std::shared_ptr<ResumableSub> Start(std::shared_ptr<Template> dialogtemplate, const Object& dialog) {
    auto rs = std::make_shared<Show>(std::move(dialogtemplate), DialogOf(dialog));
    rs->start();
    return rs;
  }

  std::shared_ptr<tm_dialog> dialog;

 private:
  // The dialog an argument of "Show" refers to; null for anything else.
  static std::shared_ptr<tm_dialog> DialogOf(const Object& dialog);
};

}  // namespace tmr
