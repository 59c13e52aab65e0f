#include "core/formula/thread_pool.h"

namespace qm::formula {

ThreadPool::ThreadPool(unsigned threads) {
  for (unsigned i = 1; i < threads; ++i)
    workers_.emplace_back([this, i](std::stop_token stop) { workerLoop(i, stop); });
}

ThreadPool::~ThreadPool() {
  for (auto& w : workers_) w.request_stop();
  wake_.notify_all();
  workers_.clear();  // joins
}

void ThreadPool::run(const std::function<void(unsigned)>& job) {
  {
    std::lock_guard lock(mutex_);
    job_ = &job;
    pending_ = static_cast<unsigned>(workers_.size());
    ++generation_;
  }
  wake_.notify_all();
  job(0);
  std::unique_lock lock(mutex_);
  done_.wait(lock, [this] { return pending_ == 0; });
  job_ = nullptr;
}

void ThreadPool::workerLoop(unsigned index, std::stop_token stop) {
  std::uint64_t seen = 0;
  while (true) {
    const std::function<void(unsigned)>* job = nullptr;
    {
      std::unique_lock lock(mutex_);
      if (!wake_.wait(lock, stop, [&] { return generation_ != seen; })) return;
      seen = generation_;
      job = job_;
    }
    (*job)(index);
    std::lock_guard lock(mutex_);
    if (--pending_ == 0) done_.notify_one();
  }
}

}  // namespace qm::formula
