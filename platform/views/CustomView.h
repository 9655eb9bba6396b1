#pragma once
// What a custom view (a class module that a layout places) offers the layout loader: it is made
// with _initialize (the loading module's dispatcher, the callback module, the event name), then
// _designercreateview (its base panel at its size, the template label taken out of the base
// panel, its designer properties), and hears "base_resize::" whenever the base panel's size
// changes. Drivers reach its parts by name. A designer property whose value the view cannot be
// built with is refused with a DesignerPropertyError naming the property.
#include <memory>
#include <string_view>

#include "platform/core/Map.h"
#include "platform/core/Object.h"
#include "platform/core/String.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"

namespace tmr {

class Dispatcher;

class CustomView {
 public:
  virtual ~CustomView() = default;

  virtual void _initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) = 0;
  virtual void _designercreateview(View base, LabelWrapper label, Map props) = 0;
  virtual void _base_resize(double width, double height) = 0;

  // The view a person looks at or touches when they mean the part named: "" is the custom
  // view's main part; each class names its others. Uninitialised for an unknown part.
  virtual View partNamed(std::string_view part) const = 0;
  // Whether touching the part does what it is for: by default, whether the part is enabled. A
  // class whose parts can be idle while their view stays enabled says so here.
  virtual bool partActs(std::string_view part) const {
    View v = partNamed(part);
    return v.IsInitialized() && v.Enabled();
  }
};

}  // namespace tmr
