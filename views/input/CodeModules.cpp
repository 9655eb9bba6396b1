#include "views/input/CodeModules.h"

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Runtime.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

void CodeModules::bindCodeModules(Runtime& rt) {
  collections = rt.codeModule<tm_collections>();
  viewsutils = rt.codeModule<tm_viewsutils>();
  dateutils = rt.codeModule<tm_dateutils>();
}

}  // namespace tmr
