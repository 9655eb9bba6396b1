#include "listview/_clvitem.h"

namespace tmr {

void _clvitem::Initialize() {
  IsInitialized = true;
  Panel = View();
  Size = 0;
  Value = Object();
  Color = 0;
  TextItem = false;
  Offset = 0;
}

std::vector<std::pair<std::string, Object>> _clvitem::fields() const {
  return {{"Panel", Object(Panel)}, {"Size", Object(Size)},         {"Value", Value},
          {"Color", Object(Color)}, {"TextItem", Object(TextItem)}, {"Offset", Object(Offset)}};
}

}  // namespace tmr
