// Worker threads that make pictures' archive copies ahead of the run's
// thread. Work is taken in the order submitted; Drop_waiting() forgets what
// has not started yet. The pool is used from one thread (the run's); the
// workers touch nothing but their own work.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "imaging/archive_jpegs.h"

namespace zendrel {

class ScalingPool {
 public:
  // `threads` 0: one per core.
  explicit ScalingPool(int threads);
  ~ScalingPool();  // waits for work under way, drops the rest
  ScalingPool(const ScalingPool&) = delete;
  ScalingPool& operator=(const ScalingPool&) = delete;

  std::future<ArchiveJpegs> Submit(const std::string& original_native);
  void Drop_waiting();
  int threads() const { return int(workers_.size()); }

 private:
  void Work();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::packaged_task<ArchiveJpegs()>> waiting_;
  bool closing_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace zendrel
