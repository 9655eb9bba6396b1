#include "dialogs/DialogShow.h"

#include "dialogs/tm_dialog.h"

namespace tmr {

DialogShow::DialogShow(std::shared_ptr<tm_dialog> dialog, Object yes, Object no, Object cancel)
    : ResumableSub(std::move(dialog)), yes(std::move(yes)), no(std::move(no)), cancel(std::move(cancel)) {}

}  // namespace tmr
