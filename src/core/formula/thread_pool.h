#pragma once
// A fixed set of worker threads kept for the life of the pool, so a preview does not pay for
// thread start-up. run() hands one job to every thread, the caller included, and waits.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace qm::formula {

class ThreadPool {
 public:
  // threads: how many threads run a job, the caller included (at least 1).
  explicit ThreadPool(unsigned threads);
  ~ThreadPool();
  ThreadPool(const ThreadPool&) = delete;
  ThreadPool& operator=(const ThreadPool&) = delete;

  unsigned threads() const { return static_cast<unsigned>(workers_.size()) + 1; }
  // job(index) runs once on each thread; index 0 is the calling thread. Not re-entrant.
  void run(const std::function<void(unsigned)>& job);

 private:
  void workerLoop(unsigned index, std::stop_token stop);

  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::condition_variable done_;
  const std::function<void(unsigned)>* job_ = nullptr;
  std::uint64_t generation_ = 0;
  unsigned pending_ = 0;
  std::vector<std::jthread> workers_;
};

}  // namespace qm::formula
