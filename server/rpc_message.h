// ONC RPC on a stream, done by the server itself: the call header of a
// whole request record, and replies framed in records exactly as the RPC
// library's stream transport frames them. An Exchange is one request on its
// way through the server; whatever path it takes, its outcome (reply bytes,
// a drop, or nothing) goes back to its connection when it ends.
#pragma once

#include <rpc/rpc.h>

#include <cstdint>
#include <functional>
#include <string>

namespace zqserver {

// Fragment buffer of a reply (the RPC library's default for TCP): replies
// are cut into fragments at the same places as before.
inline constexpr u_int kReplyBufferSize = 64 * 1024;

struct CallHeader {
  uint32_t xid = 0;
  uint32_t program = 0;
  uint32_t version = 0;
  uint32_t procedure = 0;
  auth_stat credentials = AUTH_OK;  // what the credentials deserve
  size_t argsOffset = 0;            // where the procedure's arguments start
};

// False for a record that is no RPC call: the connection is dropped.
bool parseCall(const std::string& record, CallHeader& out);

// Whole reply records, record marks included; empty when encoding fails.
std::string acceptedReply(uint32_t xid, accept_stat stat, xdrproc_t results, const void* where,
                          uint32_t low = 0, uint32_t high = 0);
std::string deniedReply(uint32_t xid, reject_stat stat, auth_stat why, uint32_t low = 0,
                        uint32_t high = 0);

class Exchange {
 public:
  // Told the outcome once the exchange ends, on the thread that ends it.
  using Finish = std::function<void(uint64_t connection, std::string reply, bool drop)>;

  Exchange(int fd, uint64_t connection, std::string peer, std::string record, Finish finish);
  ~Exchange();
  Exchange(const Exchange&) = delete;
  Exchange& operator=(const Exchange&) = delete;

  // Reads the call header; false when the record is no call.
  bool parse() { return parseCall(record_, call_); }
  const CallHeader& call() const { return call_; }
  int fd() const { return fd_; }
  uint64_t connection() const { return connection_; }
  // The peer's socket address, as accept returned it.
  const std::string& peer() const { return peer_; }
  // The peer's numeric host ("" when unknown).
  std::string peerHost() const;

  // Decodes the procedure's arguments; false when they do not decode.
  bool getArgs(xdrproc_t proc, void* args) const;
  // Answers with the results; false when they cannot be encoded.
  bool sendReply(xdrproc_t proc, const void* results);
  void errNoProc() { answer(acceptedReply(call_.xid, PROC_UNAVAIL, nullptr, nullptr)); }
  void errNoProg() { answer(acceptedReply(call_.xid, PROG_UNAVAIL, nullptr, nullptr)); }
  void errDecode() { answer(acceptedReply(call_.xid, GARBAGE_ARGS, nullptr, nullptr)); }
  void errSystem() { answer(acceptedReply(call_.xid, SYSTEM_ERR, nullptr, nullptr)); }
  void errProgVers(uint32_t low, uint32_t high) {
    answer(acceptedReply(call_.xid, PROG_MISMATCH, nullptr, nullptr, low, high));
  }
  void errAuth(auth_stat why) { answer(deniedReply(call_.xid, AUTH_ERROR, why)); }
  // Closes the connection instead of answering.
  void drop() { drop_ = true; }

 private:
  void answer(std::string bytes) { reply_ += bytes; }

  int fd_;
  uint64_t connection_;
  std::string peer_;
  std::string record_;
  CallHeader call_;
  std::string reply_;
  bool drop_ = false;
  Finish finish_;
};

}  // namespace zqserver
