// Shared parts of the query calls: the chunked retrieval loop and the
// query argument checks.
#pragma once

#include <cstdint>

#include "call/call.h"
#include "zqapi/zq_queries.h"

namespace zq::calls {

// The checks of a query: control record, form name, qualifier (none
// allowed), list columns and sort list, in that order.
int checkQuery(ZQControlStruct* control, const char* form, ZQQualifierStruct* qualifier,
               const ZQEntryListFieldList* fields, const ZQSortList* sort, ZQStatusList* status);

// What the loop tells the gatherer about a reply.
struct Chunk {
  bool last;    // the reply completes the result
  bool failed;  // the reply's own status list holds an error
  bool empty = false;  // set by the gatherer: the reply carried nothing
};

// What keeps a retrieval from running without end against a server that
// never sets the last-chunk flag: the bytes of all replies stay within the
// session's maximum result size, a run of empty chunks ends the call, and
// the status entries gathered over the chunks stay few.
class ChunkBudget {
 public:
  explicit ChunkBudget(ZQThreadContext* ctx);
  void beforeSend();
  // After a reply was taken: false (with 9009 added) when the retrieval must
  // end; trims the caller's status list in any case.
  bool allows(call::Frame& call, const Chunk& chunk);

  static constexpr uint32_t kMaxEmptyChunks = 16;
  static constexpr uint32_t kMaxGatheredStatus = 100;

 private:
  bool withinBounds(call::Frame& call, const Chunk& chunk);
  uint64_t limit_;
  uint64_t total_ = 0;
  uint64_t mark_ = 0;
  uint32_t emptyRun_ = 0;
};

// What one request of a chunked retrieval passes to the next: the chunk
// token and the cache id of the previous reply.
class ChunkCursor {
 public:
  explicit ChunkCursor(ZQThreadContext* ctx);
  // A stop was requested (ZQCloseNetworkConnections): 9978 ends the call.
  bool stopped(call::Frame& call);
  // The chunk words of the next request, in the header binding just filled.
  void prepare(transport::RequestHeader& header) const;
  // Takes a reply's chunk token and cache id; true when it completes the result.
  bool advance(const transport::RequestHeader& echoed);
  // A server that keeps no state (no chunk token) cannot continue.
  bool canContinue() const { return token_ != 0; }

 private:
  ZQThreadContext* ctx_;
  int32_t token_ = 0;
  bool replied_ = false;
  int32_t cacheId_ = 0;
};

// Runs a chunked retrieval: each request binds afresh and carries the
// response size and the chunk token; each reply goes to take(reply, chunk),
// which returns false to stop (that reply is the last one used). The call's
// code is the merged status list's, or 2 when stopped, when the driver
// failed or when the result ends before its last chunk, in which case the
// caller releases what it gathered.
template <class P, class Take>
void runChunked(call::Call<P>& call, Take&& take) {
  ChunkCursor cursor(call.context());
  ChunkBudget budget(call.context());
  for (;;) {
    if (cursor.stopped(call) || !call.bind()) return;
    cursor.prepare(call.header());
    int replyCode = ZQ_RETURN_OK;
    budget.beforeSend();
    auto* reply = call.send(&replyCode);
    // A stop requested while the reply was on its way ends the call too.
    if (!reply || cursor.stopped(call)) return;
    const bool last = cursor.advance(reply->header);
    Chunk chunk{last, replyCode >= ZQ_RETURN_ERROR};
    const bool more = take(*reply, chunk);
    if (!budget.allows(call, chunk) || !more || last) return;
    if (!cursor.canContinue()) {
      // More to come but no token to ask for it with: what was gathered is
      // not the whole result (a misread reply, or a broken server).
      if (call.rc() < ZQ_RETURN_ERROR)
        call.failAfterRecord(kMsgBadEncoding, "the result ends without its last chunk");
      return;
    }
  }
}

// The text of a query reply gathered slice by slice in one growing buffer.
class SliceBuffer {
 public:
  ~SliceBuffer();
  // Takes the slice (stealing the reply's buffer when it is the first).
  bool append(uint32_t& length, unsigned char*& bytes);
  const unsigned char* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  unsigned char* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

// The last match count of the context after a query that succeeded.
void setLastMatchCount(ZQThreadContext* ctx, const ZQStatusList* status, uint32_t matches,
                       bool matchesAsked, uint32_t returned);

}  // namespace zq::calls
