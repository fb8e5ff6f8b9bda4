// A fixed set of worker threads taking jobs from a bounded queue. A full
// queue refuses work: the caller holds it back (and stops reading the
// connections that would bring more).
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zqserver {

class WorkerPool {
 public:
  using Job = std::function<void()>;

  WorkerPool() = default;
  ~WorkerPool() { stop(); }
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // roomMade is called (from a worker) whenever a job leaves a full queue.
  void start(size_t workers, size_t queueLimit, std::function<void()> roomMade);
  // Queues the job, or returns false leaving it untouched when the queue is
  // full or the pool stopped.
  bool trySubmit(Job& job);
  // Discards queued jobs (destroying them), waits for running ones.
  void stop();
  size_t queued() const;

 private:
  void work();

  mutable std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Job> queue_;
  size_t queueLimit_ = 0;
  bool stopping_ = false;
  std::function<void()> roomMade_;
  std::vector<std::thread> threads_;
};

}  // namespace zqserver
