#include "views/input/_formatdata.h"

namespace tmr {

void _formatdata::Initialize() {
  IsInitialized = true;
  Prefix = "";
  Postfix = "";
  MinimumIntegers = 0;
  MinimumFractions = 0;
  MaximumFractions = 0;
  GroupingCharacter = "";
  DecimalPoint = "";
  TextColor = 0;
  FormatFont = Font();
  RangeStart = 0;
  RangeEnd = 0;
  RemoveMinusSign = false;
  IntegerPaddingChar = "";
  FractionPaddingChar = "";
}

std::vector<std::pair<std::string, Object>> _formatdata::fields() const {
  return {{"IsInitialized", Object(IsInitialized)},
          {"Prefix", Object(Prefix)},
          {"Postfix", Object(Postfix)},
          {"MinimumIntegers", Object(MinimumIntegers)},
          {"MinimumFractions", Object(MinimumFractions)},
          {"MaximumFractions", Object(MaximumFractions)},
          {"GroupingCharacter", Object(GroupingCharacter)},
          {"DecimalPoint", Object(DecimalPoint)},
          {"TextColor", Object(TextColor)},
          {"FormatFont", FormatFont.IsInitialized() ? Object(FormatFont.shared()) : Object("Not initialized")},
          {"RangeStart", Object(RangeStart)},
          {"RangeEnd", Object(RangeEnd)},
          {"RemoveMinusSign", Object(RemoveMinusSign)},
          {"IntegerPaddingChar", Object(IntegerPaddingChar)},
          {"FractionPaddingChar", Object(FractionPaddingChar)}};
}

}  // namespace tmr
