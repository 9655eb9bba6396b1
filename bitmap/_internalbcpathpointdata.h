#pragma once
// One vertex of a path, with the chain of the edge that ends at it (set when the path is
// prepared for filling; null before, and for the vertex where the walk of the outline starts).
#include <memory>

#include "bitmap/_internalbcpathcolumndata.h"
#include "platform/core/Record.h"

namespace tmr {

class _internalbcpathpointdata : public Record {
 public:
  void Initialize() override {
    IsInitialized = true;
    X = Y = 0;
    ColumnData = std::make_shared<_internalbcpathcolumndata>();
  }

  float X = 0;
  float Y = 0;
  std::shared_ptr<_internalbcpathcolumndata> ColumnData;

 protected:
  std::vector<std::pair<std::string, Object>> fields() const override {
    std::vector<std::pair<std::string, Object>> f;
    f.emplace_back("X", X);
    f.emplace_back("Y", Y);
    f.emplace_back("ColumnData", ColumnData ? Object(ColumnData) : Object());
    return f;
  }
};

}  // namespace tmr
