#pragma once
// One rule of the number formatter: how numbers within [RangeStart, RangeEnd] are written
// (prefix, postfix, grouping, padding, fraction places, minus sign) and, for labels, the text
// colour and font.
#include <cstdint>

#include "platform/core/Record.h"
#include "platform/core/String.h"
#include "platform/graphics/Font.h"

namespace tmr {

class _formatdata : public Record {
 public:
  void Initialize() override;

  String Prefix;
  String Postfix;
  int32_t MinimumIntegers = 0;
  int32_t MinimumFractions = 0;
  int32_t MaximumFractions = 0;  // 0 … 9; also sets the rounding
  String GroupingCharacter;      // "" = no grouping
  String DecimalPoint;
  int32_t TextColor = 0;  // 0 = leave the label's colour
  Font FormatFont;        // uninitialised = leave the label's font
  double RangeStart = 0;
  double RangeEnd = 0;
  bool RemoveMinusSign = false;
  String IntegerPaddingChar;
  String FractionPaddingChar;

 protected:
  std::vector<std::pair<std::string, Object>> fields() const override;
};

}  // namespace tmr
