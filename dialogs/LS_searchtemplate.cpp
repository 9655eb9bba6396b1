#include "dialogs/LS_searchtemplate.h"

namespace tmr {

void LS_searchtemplate::LS_general(Map views, double width, double height) {
  setScaleRate(0.3f);
  scaleAll(views, width, height);
}

}  // namespace tmr
