#include "running_calls.h"

#include <strings.h>

namespace zqserver {
namespace {

thread_local CallControl* t_current = nullptr;

}  // namespace

std::shared_ptr<CallControl> RunningCalls::enter(int32_t session, const std::string& user) {
  auto control = std::make_shared<CallControl>();
  control->session = session;
  control->user = user;
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back(Entry{session, user, control});
  return control;
}

void RunningCalls::leave(const std::shared_ptr<CallControl>& call) {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.remove_if([&](const Entry& e) { return e.control == call; });
}

size_t RunningCalls::cancel(int32_t session, const std::string& user, bool administrator) {
  std::lock_guard<std::mutex> lock(mutex_);
  size_t n = 0;
  for (Entry& e : calls_) {
    if (e.session != session) continue;
    if (!administrator && strcasecmp(e.user.c_str(), user.c_str()) != 0) continue;
    e.control->cancelled = true;
    ++n;
  }
  return n;
}

void RunningCalls::cancelAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (Entry& e : calls_) e.control->cancelled = true;
}

CallControl* currentCall() {
  return t_current;
}

CurrentCall::CurrentCall(CallControl* control) : previous_(t_current) {
  t_current = control;
}

CurrentCall::~CurrentCall() {
  t_current = previous_;
}

}  // namespace zqserver
