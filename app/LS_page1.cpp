#include "app/LS_page1.h"

namespace tmr {

void LS_page1::LS_general(Map views, double width, double height) {
  setScaleRate(0.3f);
  scaleAll(views, width, height);
}

}  // namespace tmr
