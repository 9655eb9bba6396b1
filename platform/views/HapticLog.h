#pragma once
// What the platform's haptic engine was asked to do, for tests and transcripts: one entry per
// call ("alloc", "initWithStyle: 0", "impactOccurred"), the last kKeptCalls of them, so that a
// program that runs for long (where nothing reads them) holds no more.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tmr {

class Runtime;

class HapticLog {
 public:
  static constexpr size_t kKeptCalls = 64;

  explicit HapticLog(Runtime&) {}
  void record(std::string call);
  // Hears each call as it is recorded (a desktop has no haptic engine: its host logs them).
  void setListener(std::function<void(const std::string&)> listener) { listener_ = std::move(listener); }
  const std::vector<std::string>& calls() const { return calls_; }
  // How many of the calls kept are this one.
  int count(const std::string& call) const;
  void clear() { calls_.clear(); }

 private:
  std::vector<std::string> calls_;
  std::function<void(const std::string&)> listener_;
};

}  // namespace tmr
