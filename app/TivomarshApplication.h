#pragma once
// The application as the host runs it: tm_main as the main module, and the classes layouts may
// name (the custom views and the designer scripts).
#include "platform/app/ApplicationClasses.h"

namespace tmr {

ApplicationClasses TivomarshApplication();

}  // namespace tmr
