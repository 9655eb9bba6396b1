#pragma once
// The "Made with" banner: a custom view that shows one centred line of rich text, "Made with "
// in the designer label's font and colour, a red heart from the icon font "FontAwesome" at the
// label's text size, then " in " and the name of the tool the application is made with, again
// in the label's style. It has no designer properties of its own and raises no events.
#include <memory>

#include "platform/core/Module.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/views/CustomView.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/UiLayer.h"
#include "platform/views/View.h"

namespace tmr {

class tm_collections;
class tm_dateutils;
class tm_viewsutils;

class tm_madewithbanner : public ClassModule, public CustomView {
 public:
  // The text after the heart: a blank, the word "in", a blank and the tool's name.
  static constexpr const char* kClosingText = " in C++";
  // The heart glyph of the icon font.
  static constexpr int32_t kHeart = 0xF004;

  std::string_view className() const override { return "tm_madewithbanner"; }
  const SubTable& subTable() const override;
  // The class as layouts name it; it reads no designer properties.
  static LayoutRegistry::CustomViewClass LayoutClass();

  void _initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) override;
  void _designercreateview(View base, LabelWrapper label, Map props) override;
  // The line stays centred in the new size.
  void _base_resize(double width, double height) override;
  // "" is the label that shows the line.
  View partNamed(std::string_view part) const override;

  // Code modules held (tm_main is left out: it is built on the views).
  std::shared_ptr<tm_collections> collections;
  std::shared_ptr<tm_viewsutils> viewsutils;
  std::shared_ptr<tm_dateutils> dateutils;
  String meventname;
  std::weak_ptr<Module> mcallback;  // weak: the callback module usually holds this view
  View mbase;
  UiLayer ui;
  Object tag;

 protected:
  void _class_globals() override;
};

}  // namespace tmr
