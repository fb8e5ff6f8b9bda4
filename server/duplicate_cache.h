// The duplicate-request cache: a client that lost the reply of a change
// reconnects and sends the request again, and the change must not run
// twice. A request of the same session, with the same bytes, that arrives
// on another connection within the window gets the reply the first one
// produced -- unless the first connection, the session or the same client
// (user and host) carried another request since: a client sends its next
// request only once it has the reply (or gave up on it), so the same bytes
// now are a new request. The client counts because a client reconnects
// whenever it switches between the server's programs, and each program
// has a session of its own.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

#include "transport/procedures.h"

namespace zqserver {

class Exchange;

class DuplicateCache {
 public:
  struct Key {
    int32_t cacheId = 0;
    uint32_t procedure = 0;
    int version = 0;
    std::string digest;      // SHA-256 of the request record
    std::string connection;  // the peer's address and port
    std::string client;      // the user and the peer's host
  };
  static constexpr auto kWindow = std::chrono::seconds(60);
  static constexpr size_t kEntries = 64;
  static constexpr size_t kMaxReply = 1u << 20;  // larger replies are not kept

  // The key of a decoded request; false when the request is not one the
  // cache keeps (no session yet, or it cannot be encoded again).
  static bool keyOf(const zq::transport::Procedure& p, void* args, int version, const Exchange* exchange,
                    Key& out);
  // The reply of an earlier identical request from another connection.
  bool find(const Key& key, std::string& reply);
  // A request that is not a repeat arrived on this connection for this
  // session (0: none): the replies kept for either are no longer awaited.
  void acknowledge(const Exchange* exchange, const zq::transport::RequestHeader* header);
  // Keeps the encoded reply of a request that ran.
  void remember(const Key& key, std::string reply);
  size_t hits() const;

 private:
  struct Entry {
    Key key;
    std::string reply;
    std::chrono::steady_clock::time_point at;
  };
  void expire(std::chrono::steady_clock::time_point now);
  static std::string connectionOf(const Exchange* exchange);
  static std::string clientOf(const Exchange* exchange, const zq::transport::RequestHeader& header);
  mutable std::mutex mutex_;
  std::deque<Entry> entries_;
  size_t hits_ = 0;
  std::atomic<bool> empty_{true};  // lets every request skip the lock
};

// The encoded reply record (under the codec scope of the call); empty when
// it cannot be encoded or is larger than the cache keeps.
std::string encodeReply(const zq::transport::Procedure& p, void* reply);
// Sends bytes encoded earlier as the results of the current call.
bool sendEncodedReply(Exchange& exchange, const std::string& bytes);

}  // namespace zqserver
