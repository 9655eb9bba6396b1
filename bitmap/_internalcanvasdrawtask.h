#pragma once
// The arguments of a drawing primitive replayed by a batch: which primitive (Code 1 line,
// 2 circle, 3 rectangle, 4 rounded rectangle, 5 path, 6 arc), its brush, whether it is filled
// and its numeric arguments, each boxed as a Float.
#include <memory>
#include <vector>

#include "bitmap/_bcbrush.h"
#include "platform/core/Record.h"

namespace tmr {

class _internalcanvasdrawtask : public Record {
 public:
  void Initialize() override {
    IsInitialized = true;
    Brush = std::make_shared<_bcbrush>();
    Code = 0;
    Values.clear();
    Filled = false;
  }

  std::shared_ptr<_bcbrush> Brush;
  int32_t Code = 0;
  std::vector<Object> Values;
  bool Filled = false;

 protected:
  std::vector<std::pair<std::string, Object>> fields() const override {
    std::vector<std::pair<std::string, Object>> f;
    f.emplace_back("Brush", Brush ? Object(Brush) : Object());
    f.emplace_back("Code", Code);
    f.emplace_back("Values", "(object[" + std::to_string(Values.size()) + "])");
    f.emplace_back("Filled", Filled);
    return f;
  }
};

}  // namespace tmr
