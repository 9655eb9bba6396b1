#pragma once
// The number formatter: turns numbers into display text by a list of rules (_formatdata), each
// valid for a range of values; index 0 is the default rule, used where no other rule's range
// holds the number. Numbers are rounded once, half away from zero, to the rule's last fraction
// place, as their shortest decimal text reads (0.285 is 0.285, though the double lies below it).
#include <cstdint>
#include <memory>

#include "platform/core/List.h"
#include "platform/core/Module.h"
#include "platform/views/UiLayer.h"
#include "platform/views/View.h"
#include "views/input/_formatdata.h"

namespace tmr {

class tm_formatter : public ClassModule {
 public:
  std::string_view className() const override { return "tm_formatter"; }
  const SubTable& subTable() const override;

  // Sets every field to its initial value and installs the default rule for the whole range.
  void _initialize(const std::shared_ptr<Dispatcher>& ba);
  // The default rule itself: changing it changes how numbers are formatted.
  std::shared_ptr<_formatdata> _getdefaultformat();
  // A copy of the default rule, to be changed and added.
  std::shared_ptr<_formatdata> _newformatdata();
  std::shared_ptr<_formatdata> _copyformatdata(std::shared_ptr<_formatdata> data);
  std::shared_ptr<_formatdata> _createdefaultformat();
  // Gives the rule its range (widened by half a unit of its last place, or narrowed by one unit
  // first when the edges are excluded) and appends it: the rule added last wins where ranges
  // overlap.
  void _addformatdata(std::shared_ptr<_formatdata> data, double rangeStart, double rangeEnd, bool includeEdges);
  std::shared_ptr<_formatdata> _getformatdata(double number);
  // The text of the number; "OVERFLOW" outside the 32-bit integer range and for NaN and ±∞.
  String _format(double number);
  // Puts the text into the label, with the rule's colour and font where the rule has them.
  void _formatlabel(double number, View label);

  List formats;
  int32_t max_value = 0x7FFFFFFF;
  int32_t min_value = static_cast<int32_t>(0x80000000);
  UiLayer ui;

 protected:
  void _class_globals() override;
};

}  // namespace tmr
