#pragma once
// What the platform's haptic engine was asked to do, for tests and transcripts: one entry per
// call ("alloc", "initWithStyle: 0", "impactOccurred").
#include <string>
#include <vector>

namespace tmr {

class Runtime;

class HapticLog {
 public:
  explicit HapticLog(Runtime&) {}
  void record(std::string call) { calls_.push_back(std::move(call)); }
  const std::vector<std::string>& calls() const { return calls_; }
  int count(const std::string& call) const;
  void clear() { calls_.clear(); }

 private:
  std::vector<std::string> calls_;
};

}  // namespace tmr
