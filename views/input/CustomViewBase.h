#pragma once
// The base of every custom view that a layout places: what each of them holds and does the same
// way, so that a view class adds only its own fields, parts and drawing.
//  - `_initialize:::` binds the code modules, sets every field (`_class_globals`, which a view
//    with fields of its own overrides, calling this one first) and stores the callback module
//    and the event name; a view with more to set up overrides it and calls this one first.
//  - `_designercreateview:::` adopts the base panel: it keeps the Tag the layout gave the panel
//    in `tag` and puts the view itself in the panel's Tag. A view overrides it, calls this one
//    first and builds its parts.
//  - Events go to the callback module as `meventname` followed by the event ("_ValueChanged"):
//    at once (raiseEvent) or on the next turn of the main loop (raiseEventDelayed). Neither
//    checks that the callback has the sub; a view that raises only to an existing sub asks
//    callbackHas first.
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "platform/core/Object.h"
#include "platform/core/String.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/views/CustomView.h"
#include "platform/views/View.h"
#include "views/input/ViewClassModule.h"

namespace tmr {

// What every custom view class declares under its own name: the module's class name, its sub
// table and LayoutClass() (the class as layouts name it, with its designer properties), and its
// own _designercreateview (which calls this base's first), _base_resize and partNamed. What
// follows it in the class is public.
#define TMR_CUSTOM_VIEW(klass)                                                 \
 public:                                                                       \
  std::string_view className() const override { return #klass; }               \
  const SubTable& subTable() const override;                                   \
  static LayoutRegistry::CustomViewClass LayoutClass();                        \
  void _designercreateview(View base, LabelWrapper label, Map props) override; \
  void _base_resize(double width, double height) override;                     \
  View partNamed(std::string_view part) const override;

class CustomViewBase : public ViewClassModule, public CustomView {
 public:
  void _initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) override;
  void _designercreateview(View base, LabelWrapper label, Map props) override;

  String meventname;
  std::weak_ptr<Module> mcallback;  // weak: the callback module usually holds this view
  View mbase;
  Object tag;

  // Whether the callback module is still there and has the event's sub with that many parameters.
  bool callbackHas(std::string_view event, int parameters) const;
  // Calls the event's sub on the callback module now, with up to two arguments; nothing when the
  // callback module is gone.
  void raiseEvent(std::string_view event, std::initializer_list<Object> args = {});
  // The same on the next turn of the main loop, with the arguments as they are now.
  void raiseEventDelayed(std::string_view event, std::initializer_list<Object> args = {});

 protected:
  void _class_globals() override;

 private:
  void raise(bool delayed, std::string_view event, std::initializer_list<Object> args);
  std::string subName(std::string_view event) const { return meventname.str() + std::string(event); }
};

}  // namespace tmr
