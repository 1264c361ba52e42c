#include "build/scaling_pool.h"

namespace zendrel {

ScalingPool::ScalingPool(int threads) {
  if (threads <= 0) threads = int(std::thread::hardware_concurrency());
  if (threads <= 0) threads = 1;
  for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
}

ScalingPool::~ScalingPool() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
    waiting_.clear();
  }
  wake_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

std::future<ArchiveJpegs> ScalingPool::Submit(const std::string& original_native) {
  std::packaged_task<ArchiveJpegs()> task(
      [original_native] { return Make_archive_jpegs(original_native); });
  std::future<ArchiveJpegs> result = task.get_future();
  {
    std::lock_guard lock(mutex_);
    waiting_.push_back(std::move(task));
  }
  wake_.notify_one();
  return result;
}

void ScalingPool::Drop_waiting() {
  std::lock_guard lock(mutex_);
  waiting_.clear();
}

void ScalingPool::Work() {
  for (;;) {
    std::packaged_task<ArchiveJpegs()> task;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return closing_ || !waiting_.empty(); });
      if (waiting_.empty()) return;
      task = std::move(waiting_.front());
      waiting_.pop_front();
    }
    task();
  }
}

}  // namespace zendrel
