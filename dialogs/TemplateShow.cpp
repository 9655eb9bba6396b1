#include "dialogs/TemplateShow.h"

#include "dialogs/tm_dialog.h"

namespace tmr {

TemplateShow::TemplateShow(std::shared_ptr<Module> dialogtemplate, std::shared_ptr<tm_dialog> dialog)
    : ResumableSub(std::move(dialogtemplate)), dialog(std::move(dialog)) {}

std::shared_ptr<tm_dialog> TemplateShow::DialogOf(const Object& dialog) { return dialog.As<tm_dialog>(); }

}  // namespace tmr
