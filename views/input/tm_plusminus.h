#pragma once
// The plus/minus selector: a custom view that shows one value of a numeric range (start, end,
// interval) or of a list of items, with a plus and a minus arrow area that step through it.
// It can wrap around at the ends (cyclic), repeat the step while an arrow is held (rapid: once
// at touch-down, again after 1000 ms, then every 30 ms) and give a haptic tap on touch-down.
// Only a step the user makes raises "<event name>_valuechanged" (with the new value) on the
// callback module; setting the range or the value from code raises nothing.
#include <cstdint>
#include <memory>

#include "platform/core/List.h"
#include "platform/layout/LayoutRegistry.h"
#include "platform/views/LabelWrapper.h"
#include "platform/views/View.h"
#include "views/input/CustomViewBase.h"

namespace tmr {

class tm_formatter;

class tm_plusminus : public CustomViewBase {
  // LayoutClass: the class as layouts name it, with its designer properties "Orientation", "Cyclic",
  // "Rapid" (required) and "HapticFeedback" (default false).
  // partNamed: "" is the value label, "plus" and "minus" the arrow areas.
  TMR_CUSTOM_VIEW(tm_plusminus)

  void _initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) override;
  // "plus" and "minus" act only while both their area and their arrow are enabled.
  bool partActs(std::string_view part) const override;

  // A numeric range; an interval that is not positive or not finite leaves nothing selectable.
  // Selects the first value, raising nothing.
  void _setnumericrange(double start, double end, double interval);
  // A list of items; selects nothing, raising nothing.
  void _setstringitems(List items);
  // Selects the value, raising nothing: a number is rounded to the nearest step (halves to the
  // even one) and clamped to the range; an item that is not in the list selects nothing.
  void _setselectedvalue(Object value);
  // The selected value (a Double, or the item); null while nothing is selected.
  Object _getselectedvalue();
  Object _getvalueimpl(int32_t index);
  void _setindex(int32_t index, bool raiseEvent);
  void _increment();
  void _decrement();
  View _createlabel(String text);
  void _internalsettextorcsbuildertolabel(View label, Object value);
  // A touch on an arrow area: it begins, ends (or is cancelled), or moves.
  void _touch(bool touchBegins, bool touchIsNotAMove, View arrowArea);
  void _startdownloop(bool up);
  void _tap_event(Object recognizer);
  // Platform-style methods, called by name through NativeObject.
  Object CreateRecognizer();
  void action(Object recognizer);

  View pnlplus;
  View pnlminus;
  View lblplus;
  View lblminus;
  String formation;
  bool mcyclic = false;
  bool mrapid = false;
  View mainlabel;
  int32_t arrowssize = 30;
  List mstringitems;
  double mstartrange = 0;
  double minterval = 0;
  double mendrange = 0;
  int32_t mselectedindex = -1;
  int32_t loopindex = 0;
  int32_t rapidperiod1 = 1000;
  int32_t rapidperiod2 = 30;
  std::shared_ptr<tm_formatter> formatter;
  bool stringmode = false;
  int32_t size = 0;
  bool mhaptic = false;

 protected:
  void _class_globals() override;
};

}  // namespace tmr
