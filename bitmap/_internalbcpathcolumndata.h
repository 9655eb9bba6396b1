#pragma once
// One chain of a prepared path: consecutive edges that all go down (or along) or all go up, so
// that every row crosses the chain at most once. SignY is the Y difference of its first edge.
#include "platform/core/Record.h"

namespace tmr {

class _internalbcpathcolumndata : public Record {
 public:
  void Initialize() override {
    IsInitialized = true;
    MinY = MaxY = StartPoint = EndPoint = SignY = LastY = 0;
  }

  float MinY = 0;
  float MaxY = 0;
  float StartPoint = 0;
  float EndPoint = 0;
  float SignY = 0;
  float LastY = 0;

 protected:
  std::vector<std::pair<std::string, Object>> fields() const override {
    return {{"MinY", MinY},         {"MaxY", MaxY},   {"StartPoint", StartPoint},
            {"EndPoint", EndPoint}, {"SignY", SignY}, {"LastY", LastY}};
  }
};

}  // namespace tmr
