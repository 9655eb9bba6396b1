#include "bitmap/DrawingBatchQueue.h"

#include <utility>

#include "platform/core/Runtime.h"

namespace tmr {

DrawingBatchQueue::~DrawingBatchQueue() {
  std::deque<Work> dropped;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    dropped.swap(queue_);
  }
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
  dropped.clear();
  // Results posted after the main loop was last emptied hold bitmap creators and modules:
  // release them now, while the runtime they log to is still whole.
  rt_.loop().clear();
}

void DrawingBatchQueue::submit(Work work) {
  if (!work) return;
  if (mode_ == Mode::Inline) {
    auto deliver = work();
    work = nullptr;
    if (deliver) rt_.loop().post(std::move(deliver));
    return;
  }
  {
    std::lock_guard lock(mutex_);
    if (stop_) return;
    queue_.push_back(std::move(work));
    if (!worker_.joinable()) worker_ = std::thread([this] { run(); });
  }
  wake_.notify_one();
}

void DrawingBatchQueue::waitIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void DrawingBatchQueue::run() {
  for (;;) {
    Work work;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
      if (stop_) break;
      work = std::move(queue_.front());
      queue_.pop_front();
      busy_ = true;
    }
    std::function<void()> deliver;
    try {
      deliver = work();
      // The worker's hold on the batch ends before the result is posted, so that the batch is
      // released on the main thread.
      work = nullptr;
    } catch (...) {
      // A failed batch is handed to the main thread to be released there.
      deliver = [held = std::move(work)] {};
    }
    if (deliver) rt_.loop().postFromAnyThread(std::move(deliver));
    {
      std::lock_guard lock(mutex_);
      busy_ = false;
    }
    idle_.notify_all();
  }
  std::lock_guard lock(mutex_);
  busy_ = false;
  idle_.notify_all();
}

}  // namespace tmr
