#include "dialogs/LS_longtexttemplate.h"

namespace tmr {

void LS_longtexttemplate::LS_general(Map views, double width, double height) {
  setScaleRate(0.3f);
  scaleAll(views, width, height);
}

}  // namespace tmr
