#include "sessions.h"

#include <strings.h>

#include <ctime>

namespace zqserver {

bool Sessions::echo(const zq::transport::RequestHeader& in, zq::transport::RequestHeader& out,
                    bool renewPerChunk, const std::string& impersonated) {
  std::lock_guard<std::mutex> lock(mutex_);
  int32_t id = in.cacheId;
  auto session = id == 0 ? open_.end() : open_.find(id);
  if (session != open_.end() && session->second.impersonated != impersonated) session = open_.end();
  const bool opened = session == open_.end();
  if (opened) {
    id = next_++;
    open_[id] = Session{in.user ? in.user : "", impersonated};
  } else if (renewPerChunk && in.responseSize != 0) {
    Session moved = std::move(session->second);
    open_.erase(session);
    passwords_.erase(id);
    id = next_++;
    open_[id] = std::move(moved);
  }
  out.cacheId = id;
  out.operationTime = static_cast<int32_t>(time(nullptr));
  out.responseSize = in.responseSize;
  out.chunkToken = in.chunkToken;
  out.lastChunk = 1;
  return opened;
}

bool Sessions::owner(int32_t cacheId, std::string& user, std::string& impersonated) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = open_.find(cacheId);
  if (it == open_.end()) return false;
  user = it->second.user;
  impersonated = it->second.impersonated;
  return true;
}

bool Sessions::openFor(const std::string& user) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& [id, session] : open_)
    if (strcasecmp(session.user.c_str(), user.c_str()) == 0) return true;
  return false;
}

size_t Sessions::endUser(const std::string& user) {
  std::lock_guard<std::mutex> lock(mutex_);
  size_t n = 0;
  for (auto it = open_.begin(); it != open_.end();) {
    if (strcasecmp(it->second.user.c_str(), user.c_str()) == 0) {
      passwords_.erase(it->first);
      it = open_.erase(it);
      ++ended_;
      ++n;
    } else {
      ++it;
    }
  }
  return n;
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
