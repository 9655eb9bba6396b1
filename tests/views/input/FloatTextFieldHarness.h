#pragma once
// A phone screen that loads a layout of floating-hint text fields ("ftf1", "ftf2", "pw" and
// "quiet", whose owner handles none of their events) with the application's registration, an
// owner module that records the events it hears with the clock's time, a finger and a keyboard.
#include <memory>
#include <string>
#include <vector>

#include "platform/layout/FieldTable.h"
#include "platform/views/Keyboard.h"
#include "tests/support/LayoutScreen.h"
#include "views/input/tm_floattextfield.h"

namespace tmr {

class FloatFieldsOwner : public EventOwner {
 public:
  const SubTable& subTable() const override {
    static const SubTable table{
        sub<&FloatFieldsOwner::_ftf1_textchanged>("_ftf1_textchanged::"),
        sub<&FloatFieldsOwner::_ftf1_enterpressed>("_ftf1_enterpressed"),
        sub<&FloatFieldsOwner::_ftf1_focuschanged>("_ftf1_focuschanged:"),
        sub<&FloatFieldsOwner::_ftf2_textchanged>("_ftf2_textchanged::"),
        sub<&FloatFieldsOwner::_ftf2_enterpressed>("_ftf2_enterpressed"),
        sub<&FloatFieldsOwner::_ftf2_focuschanged>("_ftf2_focuschanged:"),
        sub<&FloatFieldsOwner::_pw_textchanged>("_pw_textchanged::"),
        sub<&FloatFieldsOwner::_pw_focuschanged>("_pw_focuschanged:"),
        sub<&FloatFieldsOwner::_pw_passwordrevealchanged>("_pw_passwordrevealchanged:"),
    };
    return table;
  }
  const FieldTable& fieldTable() const override {
    static const FieldTable table{field<&FloatFieldsOwner::ftf1>("ftf1"), field<&FloatFieldsOwner::ftf2>("ftf2"),
                                  field<&FloatFieldsOwner::pw>("pw"), field<&FloatFieldsOwner::quiet>("quiet")};
    return table;
  }
  void _ftf1_textchanged(String o, String n) { heard("ftf1 text " + o.str() + ">" + n.str()); }
  void _ftf1_enterpressed() { heard("ftf1 enter"); }
  void _ftf1_focuschanged(bool f) { heard(std::string("ftf1 focus ") + (f ? "true" : "false")); }
  void _ftf2_textchanged(String o, String n) { heard("ftf2 text " + o.str() + ">" + n.str()); }
  void _ftf2_enterpressed() { heard("ftf2 enter"); }
  void _ftf2_focuschanged(bool f) { heard(std::string("ftf2 focus ") + (f ? "true" : "false")); }
  void _pw_textchanged(String o, String n) { heard("pw text " + o.str() + ">" + n.str()); }
  void _pw_focuschanged(bool f) { heard(std::string("pw focus ") + (f ? "true" : "false")); }
  void _pw_passwordrevealchanged(bool r) { heard(std::string("pw reveal ") + (r ? "true" : "false")); }

  std::shared_ptr<tm_floattextfield> ftf1, ftf2, pw, quiet;
};

struct FloatTextFieldHarness : LayoutScreen<FloatFieldsOwner> {
  explicit FloatTextFieldHarness(const std::string& views)
      : LayoutScreen(views, LayoutScreenSetup().withScale(2).withoutViewsUtils()) {}
  Keyboard& keyboard() { return Keyboard::of(rt); }
  // Keys into the focused field, then the turn on which the field reports them (its handlers
  // run then; what they post waits for a later turn).
  void type(const std::string& text) {
    keyboard().type(text);
    nextTurn();
  }
  void deleteBackward() {
    keyboard().deleteBackward();
    nextTurn();
  }
  void enter() {
    keyboard().enter();
    nextTurn();
  }
  std::vector<std::string> take() {
    auto out = heard();
    owner->events.clear();
    return out;
  }
};

}  // namespace tmr
