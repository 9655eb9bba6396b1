#include "views/input/tm_plusminus.h"

#include <cmath>
#include <limits>

#include "collections/tm_collections.h"
#include "dateutils/tm_dateutils.h"
#include "platform/core/Common.h"
#include "platform/core/Runtime.h"
#include "platform/core/RuntimeError.h"
#include "platform/native/NativeObject.h"
#include "views/input/ResumableSub_plusminus_StartDownLoop.h"
#include "views/input/tm_formatter.h"
#include "views/input/tm_viewsutils.h"

namespace tmr {

namespace {
// Arrow glyphs of the "Material Icons" font.
constexpr int32_t kChevronRight = 0xE315;
constexpr int32_t kChevronLeft = 0xE314;
constexpr int32_t kExpandLess = 0xE316;
constexpr int32_t kExpandMore = 0xE313;
constexpr float kArrowTextSize = 30;
}  // namespace

const SubTable& tm_plusminus::subTable() const {
  static const SubTable table{
      sub<&tm_plusminus::_designercreateview>("_designercreateview:::"),
      sub<&tm_plusminus::_base_resize>("_base_resize::"),
      sub<&tm_plusminus::_setnumericrange>("_setnumericrange:::"),
      sub<&tm_plusminus::_setstringitems>("_setstringitems:"),
      sub<&tm_plusminus::_setselectedvalue>("_setselectedvalue:"),
      sub<&tm_plusminus::_getselectedvalue>("_getselectedvalue"),
      sub<&tm_plusminus::_getvalueimpl>("_getvalueimpl:"),
      sub<&tm_plusminus::_setindex>("_setindex::"),
      sub<&tm_plusminus::_increment>("_increment"),
      sub<&tm_plusminus::_decrement>("_decrement"),
      sub<&tm_plusminus::_createlabel>("_createlabel:"),
      sub<&tm_plusminus::_internalsettextorcsbuildertolabel>("_internalsettextorcsbuildertolabel::"),
      sub<&tm_plusminus::_touch>("_touch:::"),
      sub<&tm_plusminus::_startdownloop>("_startdownloop:"),
      sub<&tm_plusminus::_tap_event>("_tap_event:"),
      sub<&tm_plusminus::CreateRecognizer>("createrecognizer"),
      sub<&tm_plusminus::action>("action:"),
  };
  return table;
}

LayoutRegistry::CustomViewClass tm_plusminus::LayoutClass() {
  using Kind = LayoutRegistry::Property::Kind;
  return LayoutRegistry::CustomViewClass{[] { return std::make_shared<tm_plusminus>(); },
                                         {{"Orientation", Kind::Text, std::nullopt},
                                          {"Cyclic", Kind::Boolean, std::nullopt},
                                          {"Rapid", Kind::Boolean, std::nullopt},
                                          {"HapticFeedback", Kind::Boolean, Object(false)}}};
}

void tm_plusminus::_class_globals() {
  CustomViewBase::_class_globals();
  pnlplus = View();
  pnlminus = View();
  lblplus = View();
  lblminus = View();
  formation = "";
  mcyclic = false;
  mrapid = false;
  mainlabel = View();
  arrowssize = 30;
  mstringitems = List();
  mstartrange = 0;
  minterval = 0;
  mendrange = 0;
  mselectedindex = -1;
  loopindex = 0;
  rapidperiod1 = 1000;
  rapidperiod2 = 30;
  formatter = std::make_shared<tm_formatter>();
  stringmode = false;
  size = 0;
  mhaptic = false;
}

void tm_plusminus::_initialize(const std::shared_ptr<Dispatcher>& ba, Object callback, String eventName) {
  CustomViewBase::_initialize(ba, callback, eventName);
  formatter->_initialize(bi);
}

void tm_plusminus::_designercreateview(View base, LabelWrapper label, Map props) {
  CustomViewBase::_designercreateview(base, label, props);
  mainlabel = label;
  mainlabel.SetTextAlignment("CENTER", "CENTER");
  pnlplus = ui.CreatePanel(bi, "");
  pnlminus = ui.CreatePanel(bi, "");
  NativeObject me(Object(self<tm_plusminus>()));
  NativeObject(Object(pnlplus)).RunMethod("addGestureRecognizer:", {me.RunMethod("CreateRecognizer").object()});
  NativeObject(Object(pnlminus)).RunMethod("addGestureRecognizer:", {me.RunMethod("CreateRecognizer").object()});
  pnlplus.setTag(Object(1));
  pnlminus.setTag(Object(0));
  formation = props.Get(Object("Orientation")).AsString();
  mcyclic = props.Get(Object("Cyclic")).AsBool();
  mrapid = props.Get(Object("Rapid")).AsBool();
  mhaptic = props.GetDefault(Object("HapticFeedback"), Object(false)).AsBool();
  auto rule = formatter->_getdefaultformat();
  rule->FormatFont = mainlabel.Font();
  rule->TextColor = mainlabel.TextColor();
  if (formation == String("Horizontal")) {
    lblplus = _createlabel(Common::Chr(kChevronRight));
    lblminus = _createlabel(Common::Chr(kChevronLeft));
  } else {
    lblplus = _createlabel(Common::Chr(kExpandLess));
    lblminus = _createlabel(Common::Chr(kExpandMore));
  }
  lblminus.SetTextAlignment("CENTER", "CENTER");
  lblplus.SetTextAlignment("CENTER", "CENTER");
  mainlabel.SetTextAlignment("CENTER", "CENTER");
  // The arrow areas lie over the value label.
  mbase.AddView(mainlabel, 0, 0, 0, 0);
  mbase.AddView(pnlplus, 0, 0, 0, 0);
  mbase.AddView(pnlminus, 0, 0, 0, 0);
  pnlplus.AddView(lblplus, 0, 0, 0, 0);
  pnlminus.AddView(lblminus, 0, 0, 0, 0);
  _setindex(-1, false);
  _base_resize(mbase.Width(), mbase.Height());
}

void tm_plusminus::_base_resize(double width, double height) {
  double a = arrowssize;
  if (formation == String("Horizontal")) {
    pnlminus.SetLayoutAnimated(0, 0, 0, a, height);
    pnlplus.SetLayoutAnimated(0, width - a, 0, a, height);
    mainlabel.SetLayoutAnimated(0, 0, 0, width, height);
  } else if (formation == String("Vertical")) {
    pnlplus.SetLayoutAnimated(0, 0, 0, width, a);
    pnlminus.SetLayoutAnimated(0, 0, height - a, width, a);
    mainlabel.SetLayoutAnimated(0, 0, 0, width, height);
  } else {
    pnlminus.SetLayoutAnimated(0, 0, height - a, width / 2, a);
    pnlplus.SetLayoutAnimated(0, width / 2, pnlminus.Top(), pnlminus.Width(), pnlminus.Height());
    mainlabel.SetLayoutAnimated(0, 0, 0, width, height - a + 5);
  }
  lblminus.SetLayoutAnimated(0, 0, 0, pnlminus.Width(), pnlminus.Height());
  lblplus.SetLayoutAnimated(0, 0, 0, pnlplus.Width(), pnlplus.Height());
}

View tm_plusminus::partNamed(std::string_view part) const {
  if (part.empty()) return mainlabel;
  if (part == "plus") return pnlplus;
  if (part == "minus") return pnlminus;
  return View();
}

bool tm_plusminus::partActs(std::string_view part) const {
  // An arrow steps only when both its panel and its label are enabled (see _touch): the label is
  // disabled at the end of the range, the panel by the application.
  if (part == "plus") return pnlplus.Enabled() && lblplus.Enabled();
  if (part == "minus") return pnlminus.Enabled() && lblminus.Enabled();
  return CustomView::partActs(part);
}

void tm_plusminus::_setnumericrange(double start, double end, double interval) {
  // A step that is not positive and finite, or a range that is not finite, has no values:
  // the count would divide by zero or come out negative or infinite.
  double count = (end - start) / interval;
  if (!(interval > 0) || !std::isfinite(interval) || !std::isfinite(count)) {
    size = 0;
  } else {
    double n = Common::Ceil(count) + 1;
    size = n < 1                                      ? 0
           : n >= std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                      : static_cast<int32_t>(n);
  }
  mstartrange = start;
  mendrange = end;
  minterval = interval;
  stringmode = false;
  _setindex(0, false);
}

void tm_plusminus::_setstringitems(List items) {
  mstringitems = items;
  stringmode = true;
  size = mstringitems.Size();
  _setindex(-1, false);
}

void tm_plusminus::_setselectedvalue(Object value) {
  if (stringmode) {
    _setindex(mstringitems.IndexOf(value), false);
    return;
  }
  double i = (value.AsDouble() - mstartrange) / minterval;
  // Nothing to select in an empty range, nor for a value that is not a number.
  if (size == 0 || std::isnan(i)) {
    _setindex(-1, false);
    return;
  }
  // Clamping before rounding gives the same index and keeps the conversion in range.
  if (i < 0) i = 0;
  if (i > size - 1) i = size - 1;
  _setindex(static_cast<int32_t>(Common::Round(i)), false);
}

Object tm_plusminus::_getselectedvalue() {
  if (mselectedindex < 0) return Object();
  return _getvalueimpl(mselectedindex);
}

Object tm_plusminus::_getvalueimpl(int32_t index) {
  if (stringmode) return mstringitems.Get(index);
  if (index == size - 1) return Object(mendrange);
  return Object(mstartrange + index * minterval);
}

void tm_plusminus::_setindex(int32_t index, bool raiseEvent) {
  if (index >= size || index < 0) index = -1;
  mselectedindex = index;
  if (index != -1) {
    Object value = _getvalueimpl(index);
    if (stringmode) {
      _internalsettextorcsbuildertolabel(mainlabel, value);
    } else {
      mainlabel.setText(formatter->_format(value.AsDouble()));
    }
    // The parameter raiseEvent hides the base's sub of that name.
    if (raiseEvent && callbackHas("_valuechanged", 1)) this->raiseEvent("_valuechanged", {value});
  } else {
    mainlabel.setText("");
  }
  lblplus.setEnabled(size > 0 && (mcyclic || index < size - 1));
  lblminus.setEnabled(size > 0 && (mcyclic || index > 0));
}

void tm_plusminus::_increment() {
  // The next-to-last value is skipped when it would show the same text as the last.
  if (!stringmode && mselectedindex == size - 3 &&
      formatter->_format(_getvalueimpl(size - 2).AsDouble()) ==
          formatter->_format(_getvalueimpl(size - 1).AsDouble())) {
    mselectedindex += 1;
  }
  if (mselectedindex >= size - 1) {
    if (!mcyclic) {
      mselectedindex = size - 1;
      loopindex += 1;  // stops a running repeat
      return;
    }
    mselectedindex = -1;
  }
  _setindex(mselectedindex + 1, true);
}

void tm_plusminus::_decrement() {
  if (mselectedindex < 1) {
    if (!mcyclic) {
      if (size > 0) mselectedindex = 0;
      loopindex += 1;
      return;
    }
    mselectedindex = size;
  }
  _setindex(mselectedindex - 1, true);
}

View tm_plusminus::_createlabel(String text) {
  LabelWrapper lbl;
  lbl.Initialize(bi, "");
  lbl.setFont(ui.CreateMaterialIcons(kArrowTextSize));
  lbl.setText(text);
  lbl.setTextColor(mainlabel.TextColor());
  return lbl;
}

void tm_plusminus::_internalsettextorcsbuildertolabel(View label, Object value) {
  viewsutils->_settextorcsbuildertolabel(std::move(label), std::move(value));
}

void tm_plusminus::_touch(bool touchBegins, bool touchIsNotAMove, View arrowArea) {
  if (touchBegins) {
    if (!arrowArea.GetView(0).Enabled()) return;
    if (mhaptic) viewsutils->_performhapticfeedback(arrowArea);
    // The repeat starts before the step: a step into a non-cyclic end disables the arrow under
    // the finger, which cancels the touch inside the step, and that end must find its repeat
    // running to end it.
    const bool up = arrowArea.Tag() == Object(1);
    _startdownloop(up);
    if (up) {
      _increment();
    } else {
      _decrement();
    }
  } else if (touchIsNotAMove) {
    // Ends the repeat even when the arrow is disabled by now (by a step into an end): the
    // finger's lift is the only word the repeat gets that the hold is over.
    loopindex += 1;
  }
}

void tm_plusminus::_startdownloop(bool up) {
  auto rs = std::make_shared<ResumableSub_plusminus_StartDownLoop>(self<tm_plusminus>(), up);
  rs->start();
}

void tm_plusminus::_tap_event(Object recognizer) {
  NativeObject rec(recognizer);
  int32_t state = rec.RunMethod("state").object().AsInt();
  View view = View::FromObject(rec.RunMethod("view").object());
  _touch(state == 1, state != 2, view);
}

Object tm_plusminus::CreateRecognizer() {
  auto rec = NativeObject::ClassByName(runtime(), "UILongPressGestureRecognizer")
                 .RunMethod("alloc")
                 .RunMethod("initWithTarget:action:", {Object(self<tm_plusminus>()), Object("action:")});
  rec.RunMethod("setMinimumPressDuration:", {Object(0.0)});
  return rec.object();
}

void tm_plusminus::action(Object recognizer) { bi->raiseEventString(Object(), "tap_event:", {recognizer}); }

}  // namespace tmr
