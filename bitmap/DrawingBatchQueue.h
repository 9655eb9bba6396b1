#pragma once
// The background worker of the bitmap creator's drawing batches: one thread that runs the
// batches one after another, in the order they were submitted, and posts each batch's result
// to the main loop, where it is delivered on a later turn. A runtime service
// (runtime.service<DrawingBatchQueue>()).
//
// In Inline mode (tests, scenarios) a batch runs at once on the calling thread and its result
// still arrives on a later turn of the main loop, so runs are deterministic.
//
// Everything a batch holds is released on the main thread: the worker lets go of a batch
// before it posts the result, and the result's call releases the rest.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace tmr {

class Runtime;

class DrawingBatchQueue {
 public:
  // Runs on the worker; returns the call that delivers the result on the main thread.
  using Work = std::function<std::function<void()>()>;
  enum class Mode { Worker, Inline };

  explicit DrawingBatchQueue(Runtime& rt) : rt_(rt) {}
  // Waits for the batch being drawn, drops the ones not started, and releases every result
  // that was posted but not yet delivered.
  ~DrawingBatchQueue();
  DrawingBatchQueue(const DrawingBatchQueue&) = delete;
  DrawingBatchQueue& operator=(const DrawingBatchQueue&) = delete;

  void setMode(Mode mode) { mode_ = mode; }
  Mode mode() const { return mode_; }

  void submit(Work work);
  // Blocks until every submitted batch has been drawn and its result posted to the main loop.
  void waitIdle();

 private:
  void run();

  Runtime& rt_;
  Mode mode_ = Mode::Worker;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<Work> queue_;
  bool busy_ = false;
  bool stop_ = false;
  std::thread worker_;
};

}  // namespace tmr
