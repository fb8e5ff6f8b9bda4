#include "sessions.h"

#include <ctime>

namespace zqserver {

void Sessions::echo(const zq::transport::RequestHeader& in, zq::transport::RequestHeader& out,
                    bool renewPerChunk) {
  std::lock_guard<std::mutex> lock(mutex_);
  int32_t id = in.cacheId;
  auto session = id == 0 ? open_.end() : open_.find(id);
  if (session == open_.end()) {
    id = next_++;
    open_[id] = in.user ? in.user : "";
  } else if (renewPerChunk && in.responseSize != 0) {
    std::string user = std::move(session->second);
    open_.erase(session);
    passwords_.erase(id);
    id = next_++;
    open_[id] = std::move(user);
  }
  out.cacheId = id;
  out.operationTime = static_cast<int32_t>(time(nullptr));
  out.responseSize = in.responseSize;
  out.chunkToken = in.chunkToken;
  out.lastChunk = 1;
}

bool Sessions::end(int32_t cacheId) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!open_.erase(cacheId)) return false;
  passwords_.erase(cacheId);
  ++ended_;
  return true;
}

void Sessions::noteExchange(uint32_t procedure, const zq::transport::RequestHeader& in,
                            const zq::transport::RequestHeader& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  exchanges_.push_back(
      {procedure, in.cacheId, in.chunkToken, out.cacheId, out.chunkToken, out.lastChunk != 0});
  if (exchanges_.size() > kRecentExchanges) exchanges_.pop_front();
}

std::vector<Sessions::Exchange> Sessions::recentExchanges() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::vector<Exchange>(exchanges_.begin(), exchanges_.end());
}

size_t Sessions::count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_.size();
}

size_t Sessions::ended() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ended_;
}

void Sessions::notePassword(int32_t cacheId, Password password) {
  std::lock_guard<std::mutex> lock(mutex_);
  lastPassword_ = password;
  recent_.push_back(password);
  if (recent_.size() > kRecentPasswords) recent_.pop_front();
  if (open_.count(cacheId)) passwords_[cacheId] = std::move(password);
}

Sessions::Password Sessions::lastPassword() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastPassword_;
}

std::vector<Sessions::Password> Sessions::recentPasswords() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::vector<Password>(recent_.begin(), recent_.end());
}

Sessions::Password Sessions::passwordOf(int32_t cacheId) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = passwords_.find(cacheId);
  return it == passwords_.end() ? Password{} : it->second;
}

}  // namespace zqserver
