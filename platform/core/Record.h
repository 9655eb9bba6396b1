#pragma once
// Base of the runtime's records ("types"): reference objects with an IsInitialized flag set by
// Initialize, and the runtime's standard text.
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Object.h"
#include "platform/core/RuntimeObject.h"

namespace tmr {

class Record : public RuntimeObject {
 public:
  bool IsInitialized = false;
  // Sets every field to its initial value and marks the record initialised.
  virtual void Initialize() { IsInitialized = true; }
  // The runtime's standard record text: "[Field1=value1, Field2=value2, ...]" in declaration
  // order, "Not initialized" before Initialize.
  std::string description() const override;

 protected:
  // Each record lists its fields, in declaration order, for description().
  virtual std::vector<std::pair<std::string, Object>> fields() const { return {}; }
};

}  // namespace tmr
