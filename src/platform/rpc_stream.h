// The library's own TCP client transport for ONC RPC (record marking).
//
// The RPC library's stream client bounds each read by the time-out, not the
// call, and takes records of any size: a peer that drips bytes, repeats
// wrong transaction ids or sends endless fragments holds a call forever.
// This client reads whole records itself, against one deadline for the
// whole exchange (send and reply) and a maximum record size, and decodes a
// reply only from a complete record held in memory. It plugs into the RPC
// library's client operations, so clnt_call, clnt_control, clnt_geterr and
// clnt_sperror work on it unchanged.
#pragma once

#include <cstddef>
#include <cstdint>

struct __rpc_client;

namespace zq::platform {

inline constexpr size_t kDefaultMaxRecord = 256u << 20;

// Builds a client over a connected stream socket, which it owns from now on
// (closed on destroy). Null (socket closed) when memory runs out.
__rpc_client* rpcStreamClient(int fd, uint32_t program, uint32_t version);
// True for clients made by rpcStreamClient.
bool isStreamClient(const __rpc_client* client);
// Bytes of reply records this thread received through stream clients, in
// total (a retrieval in chunks measures what it gathered with it).
uint64_t rpcBytesReceived();
// The largest reply record the client accepts (bytes on the wire, fragment
// marks included); a larger one fails the call. No effect on other clients.
void rpcSetMaxRecord(__rpc_client* client, size_t bytes);

// ---- the pieces, exposed for tests and fuzzing -------------------------------

// What a reply header says.
struct ReplyHead {
  uint32_t xid = 0;
  int status = 0;    // clnt_stat: 0 success, else the failure the header names
  int detail = 0;    // auth_stat for authentication errors
  uint32_t low = 0;  // versions for a version mismatch
  uint32_t high = 0;
  size_t body = 0;  // offset of the results (status 0 only)
};
// Parses the reply header at the start of a record. False when the bytes are
// no reply header (a call, a bad message type, truncated, verifier too long).
bool parseReplyHead(const unsigned char* data, size_t size, ReplyHead& out);

// Reassembles records from record-marked bytes (fragments of up to 2^31-1
// bytes, the top bit of each mark flagging the last one). The size counted
// against the limit is what came on the wire, marks included, so that a
// stream of empty fragments is bounded too.
class RecordReader {
 public:
  enum class State { needMore, complete, tooLarge };
  explicit RecordReader(size_t maxRecord) : max_(maxRecord) {}
  // Takes bytes until a record completes or the input runs out; returns how
  // many it took. After complete, record() holds the record until reset().
  size_t feed(const unsigned char* data, size_t size, State& state);
  const unsigned char* record() const { return buffer_; }
  size_t recordSize() const { return size_; }
  // Forgets the record (and any partial one); the limit stays.
  void reset();
  void setMax(size_t maxRecord) { max_ = maxRecord; }
  ~RecordReader();
  RecordReader(const RecordReader&) = delete;
  RecordReader& operator=(const RecordReader&) = delete;

 private:
  bool reserve(size_t extra);
  size_t max_;
  unsigned char* buffer_ = nullptr;
  size_t size_ = 0, capacity_ = 0;
  size_t wire_ = 0;  // bytes of this record on the wire so far
  unsigned char mark_[4] = {};
  size_t markHave_ = 0;  // bytes of the current mark read
  size_t fragmentLeft_ = 0;
  bool inFragment_ = false, lastFragment_ = false, done_ = false;
};

}  // namespace zq::platform
