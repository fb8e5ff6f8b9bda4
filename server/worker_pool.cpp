#include "worker_pool.h"

namespace zqserver {

void WorkerPool::start(size_t workers, size_t queueLimit, std::function<void()> roomMade) {
  std::lock_guard<std::mutex> lock(mutex_);
  queueLimit_ = queueLimit ? queueLimit : 1;
  stopping_ = false;
  roomMade_ = std::move(roomMade);
  for (size_t i = 0; i < (workers ? workers : 1); ++i) threads_.emplace_back([this] { work(); });
}

bool WorkerPool::trySubmit(Job& job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_ || threads_.empty() || queue_.size() >= queueLimit_) return false;
    queue_.push_back(std::move(job));
  }
  ready_.notify_one();
  return true;
}

size_t WorkerPool::queued() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size();
}

void WorkerPool::work() {
  for (;;) {
    Job job;
    bool wasFull = false;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      ready_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (stopping_) return;
      wasFull = queue_.size() >= queueLimit_;
      job = std::move(queue_.front());
      queue_.pop_front();
    }
    if (wasFull && roomMade_) roomMade_();
    job();
  }
}

void WorkerPool::stop() {
  std::deque<Job> dropped;
  std::vector<std::thread> threads;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    dropped.swap(queue_);
    threads.swap(threads_);
  }
  ready_.notify_all();
  for (std::thread& t : threads) t.join();
  dropped.clear();  // outside the lock: a job's captures may call back
}

}  // namespace zqserver
