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
  // Fills a reply's header echo: the request's session, or a new one (true
  // then). With renewPerChunk a reply of a chunked retrieval moves the
  // session to a new cache id. A call that impersonates a user runs in a
  // session of that impersonation, made on its first call.
  bool echo(const zq::transport::RequestHeader& in, zq::transport::RequestHeader& out,
            bool renewPerChunk = false, const std::string& impersonated = {});
  // Ends a session; false when it did not exist.
  bool end(int32_t cacheId);
  // The user who opened a session and the user it impersonates ("" for
  // none); false for a session that is not open.
  bool owner(int32_t cacheId, std::string& user, std::string& impersonated) const;
  // True while the user has a session open.
  bool openFor(const std::string& user) const;
  // Ends every session of a user; the number ended.
  size_t endUser(const std::string& user);
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

  // The cache id and chunk words of a call and of its reply (tests check
  // what each request of a chunked retrieval carried).
  struct Exchange {
    uint32_t procedure = 0;
    int32_t cacheId = 0;
    int32_t chunkToken = 0;
    int32_t repliedCacheId = 0;
    int32_t repliedToken = 0;
    bool lastChunk = false;
  };
  void noteExchange(uint32_t procedure, const zq::transport::RequestHeader& in,
                    const zq::transport::RequestHeader& out);
  // The exchanges of the last calls, oldest first (at most kRecentExchanges).
  static constexpr size_t kRecentExchanges = 256;
  std::vector<Exchange> recentExchanges() const;

 private:
  mutable std::mutex mutex_;
  int32_t next_ = 1000;
  struct Session {
    std::string user;
    std::string impersonated;
  };
  std::map<int32_t, Session> open_;
  size_t ended_ = 0;
  std::map<int32_t, Password> passwords_;  // open sessions only
  Password lastPassword_;
  std::deque<Password> recent_;
  std::deque<Exchange> exchanges_;
};

}  // namespace zqserver
