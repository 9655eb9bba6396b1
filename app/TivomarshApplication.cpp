#include "app/TivomarshApplication.h"

#include "app/LS_page1.h"
#include "app/LS_tivomarshapple.h"
#include "app/tm_main.h"
#include "dialogs/LS_longtexttemplate.h"
#include "dialogs/LS_searchtemplate.h"
#include "listview/tm_customlistview.h"
#include "platform/core/Runtime.h"
#include "platform/layout/LayoutRegistry.h"
#include "views/display/tm_animatedcounter.h"
#include "views/display/tm_button3d.h"
#include "views/display/tm_imageview.h"
#include "views/display/tm_loadingindicator.h"
#include "views/display/tm_madewithbanner.h"
#include "views/display/tm_progressbar.h"
#include "views/display/tm_roundslider.h"
#include "views/display/tm_scrollinglabel.h"
#include "views/input/tm_breadcrumb.h"
#include "views/input/tm_combobox.h"
#include "views/input/tm_floattextfield.h"
#include "views/input/tm_plusminus.h"
#include "views/input/tm_seekbar.h"
#include "views/input/tm_switch.h"

namespace tmr {

ApplicationClasses TivomarshApplication() {
  ApplicationClasses classes;
  classes.mainModule = [](Runtime& rt) -> std::shared_ptr<Module> { return rt.codeModule<tm_main>(); };
  classes.registerClasses = [](Runtime& rt) {
    auto& registry = rt.service<LayoutRegistry>();
    registry.registerCustomView("tm_plusminus", tm_plusminus::LayoutClass());
    registry.registerCustomView("tm_switch", tm_switch::LayoutClass());
    registry.registerCustomView("tm_combobox", tm_combobox::LayoutClass());
    registry.registerCustomView("tm_seekbar", tm_seekbar::LayoutClass());
    registry.registerCustomView("tm_breadcrumb", tm_breadcrumb::LayoutClass());
    registry.registerCustomView("tm_floattextfield", tm_floattextfield::LayoutClass());
    registry.registerCustomView("tm_customlistview", tm_customlistview::LayoutClass());
    registry.registerCustomView("tm_progressbar", tm_progressbar::LayoutClass());
    registry.registerCustomView("tm_loadingindicator", tm_loadingindicator::LayoutClass());
    registry.registerCustomView("tm_roundslider", tm_roundslider::LayoutClass());
    registry.registerCustomView("tm_button3d", tm_button3d::LayoutClass());
    registry.registerCustomView("tm_imageview", tm_imageview::LayoutClass());
    registry.registerCustomView("tm_madewithbanner", tm_madewithbanner::LayoutClass());
    registry.registerCustomView("tm_scrollinglabel", tm_scrollinglabel::LayoutClass());
    registry.registerCustomView("tm_animatedcounter", tm_animatedcounter::LayoutClass());
    registry.registerDesignerScript("LS_tivomarshapple",
                                    [](LayoutBuilder& b) { return std::make_unique<LS_tivomarshapple>(b); });
    registry.registerDesignerScript("LS_page1", [](LayoutBuilder& b) { return std::make_unique<LS_page1>(b); });
    registry.registerDesignerScript("LS_longtexttemplate",
                                    [](LayoutBuilder& b) { return std::make_unique<LS_longtexttemplate>(b); });
    registry.registerDesignerScript("LS_searchtemplate",
                                    [](LayoutBuilder& b) { return std::make_unique<LS_searchtemplate>(b); });
  };
  return classes;
}

}  // namespace tmr
