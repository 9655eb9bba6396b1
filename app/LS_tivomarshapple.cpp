#include "app/LS_tivomarshapple.h"

namespace tmr {

void LS_tivomarshapple::LS_general(Map views, double width, double height) {
  setScaleRate(0.3f);
  scaleAll(views, width, height);
}

}  // namespace tmr
