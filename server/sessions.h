// Server sessions: the cache ids the server hands out and gets back.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "transport/records.h"

namespace zqserver {

class Sessions {
 public:
  // Fills a reply's header echo: the request's session, or a new one.
  void echo(const zq::transport::RequestHeader& in, zq::transport::RequestHeader& out);
  // Ends a session; false when it did not exist.
  bool end(int32_t cacheId);
  size_t count() const;
  // Cache ids ended so far (procedure 47), in order.
  size_t ended() const;

  // The request-header password of a call as it arrived and as the server
  // recovered it (rc: 0, or why it could not).
  struct Password {
    std::string received;
    std::string plain;
    int version = 0;
    int rc = 0;
  };
  void notePassword(int32_t cacheId, Password password);
  // The last one seen, and the last one of a session.
  Password lastPassword() const;
  Password passwordOf(int32_t cacheId) const;
  // The passwords of the last calls, oldest first (at most kRecentPasswords).
  static constexpr size_t kRecentPasswords = 64;
  std::vector<Password> recentPasswords() const;

 private:
  mutable std::mutex mutex_;
  int32_t next_ = 1000;
  std::map<int32_t, std::string> open_;  // cache id -> user
  size_t ended_ = 0;
  std::map<int32_t, Password> passwords_;  // open sessions only
  Password lastPassword_;
  std::deque<Password> recent_;
};

}  // namespace zqserver
