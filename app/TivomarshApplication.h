#pragma once
// The application as the host runs it: tm_main as the main module, and the classes its layouts
// name (the plus/minus selector, the designer scripts).
#include "platform/app/ApplicationClasses.h"

namespace tmr {

ApplicationClasses TivomarshApplication();

}  // namespace tmr
