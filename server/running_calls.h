// The calls running on the server that another call may cancel
// (procedure 81 cancels the running calls of its session).
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>

namespace zqserver {

// What a running call looks at while it works.
struct CallControl {
  std::atomic<bool> cancelled{false};
  // Who runs it, for the workflow debugger: the session, its user, the
  // procedure and the connection it came on.
  int32_t session = 0;
  std::string user;
  uint32_t procedure = 0;
  int fd = -1;
};

class RunningCalls {
 public:
  // Registers a call of a session and its user until the handle goes.
  std::shared_ptr<CallControl> enter(int32_t session, const std::string& user);
  void leave(const std::shared_ptr<CallControl>& call);
  // Cancels the calls of a session run by user (administrators: by anyone).
  // The number of calls cancelled.
  size_t cancel(int32_t session, const std::string& user, bool administrator);
  void cancelAll();

 private:
  struct Entry {
    int32_t session;
    std::string user;
    std::shared_ptr<CallControl> control;
  };
  std::mutex mutex_;
  std::list<Entry> calls_;
};

// The control of the call running on this thread, or null.
CallControl* currentCall();

// Makes a call's control current on this thread for the scope.
class CurrentCall {
 public:
  explicit CurrentCall(CallControl* control);
  ~CurrentCall();
  CurrentCall(const CurrentCall&) = delete;
  CurrentCall& operator=(const CurrentCall&) = delete;

 private:
  CallControl* previous_;
};

}  // namespace zqserver
