#include "platform/layout/DesignerScript.h"

#include "platform/layout/LayoutBuilder.h"

namespace tmr {

void DesignerScript::setScaleRate(float rate) { builder_.setScaleRate(rate); }
void DesignerScript::scaleAll(Map views, double width, double height) { builder_.scaleAll(views, width, height); }

}  // namespace tmr
