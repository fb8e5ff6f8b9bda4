// The chunked retrieval loop and the argument checks shared by the queries.
#include <cstring>

#include "calls/checks.h"
#include "calls/queries.h"
#include "frame/frame.h"
#include "platform/platform.h"

namespace zq::calls {
namespace {}  // namespace

int checkQuery(ZQControlStruct* control, const char* form, ZQQualifierStruct* qualifier,
               const ZQEntryListFieldList* fields, const ZQSortList* sort, ZQStatusList* status) {
  int rc = zq::checkControl(control, status);
  if (rc < ZQ_RETURN_ERROR) rc = zq::checkName(form, false, status);
  if (rc < ZQ_RETURN_ERROR && qualifier) rc = checks::checkQualifier(qualifier, true, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkEntryListFields(fields, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkSortList(sort, status);
  return rc;
}

ChunkCursor::ChunkCursor(ZQThreadContext* ctx) : ctx_(ctx) {
  ctx->stopRequested = 0;
}

bool ChunkCursor::stopped(call::Frame& call) {
  if (!ctx_->stopRequested) return false;
  call.fail(kMsgRetrievalStopped);
  return true;
}

// Binding fills the header afresh and clears the call words; the chunk
// words go in after it. A server may change the cache id with any reply:
// the next chunk is asked for under the one the last reply gave, whatever
// the binding record holds.
void ChunkCursor::prepare(transport::RequestHeader& header) const {
  header.responseSize = ctx_->settings.responseSize;
  header.chunkToken = token_;
  if (replied_) header.cacheId = cacheId_;
}

bool ChunkCursor::advance(const transport::RequestHeader& echoed) {
  token_ = echoed.chunkToken;
  cacheId_ = echoed.cacheId;
  replied_ = true;
  return echoed.lastChunk != 0;
}

ChunkBudget::ChunkBudget(ZQThreadContext* ctx) : limit_(ctx->settings.maxResultSize) {}

void ChunkBudget::beforeSend() {
  mark_ = platform::rpcBytesReceived();
}

bool ChunkBudget::allows(call::Frame& call, const Chunk& chunk) {
  const bool more = chunk.last || withinBounds(call, chunk);
  // One warning per chunk must not grow the list without end: the first
  // entries (errors first) stay.
  ZQStatusList* status = call.status();
  if (status && status->count > kMaxGatheredStatus) {
    for (uint32_t i = kMaxGatheredStatus; i < status->count; ++i) {
      zq::freeBlock(status->items[i].message);
      zq::freeBlock(status->items[i].appended);
    }
    status->count = kMaxGatheredStatus;
  }
  return more;
}

bool ChunkBudget::withinBounds(call::Frame& call, const Chunk& chunk) {
  total_ += platform::rpcBytesReceived() - mark_;
  if (total_ > limit_) {
    call.failAfterRecord(kMsgBadEncoding, "the result exceeds the session's maximum result size");
    return false;
  }
  emptyRun_ = chunk.empty ? emptyRun_ + 1 : 0;
  if (emptyRun_ > kMaxEmptyChunks) {
    call.failAfterRecord(kMsgBadEncoding, "the server sends chunks that make no progress");
    return false;
  }
  return true;
}

SliceBuffer::~SliceBuffer() {
  zq::freeBlock(data_);
}

bool SliceBuffer::append(uint32_t& length, unsigned char*& bytes) {
  if (!bytes || length == 0) return true;
  if (!data_) {
    data_ = bytes;
    size_ = capacity_ = length;
    bytes = nullptr;
    length = 0;
    return true;
  }
  if (size_ + length > capacity_) {
    size_t grown = capacity_ * 2 > size_ + length ? capacity_ * 2 : size_ + length;
    auto* p = static_cast<unsigned char*>(zq::reallocate(data_, grown));
    if (!p) return false;
    data_ = p;
    capacity_ = grown;
  }
  memcpy(data_ + size_, bytes, length);
  size_ += length;
  return true;
}

void setLastMatchCount(ZQThreadContext* ctx, const ZQStatusList* status, uint32_t matches,
                       bool matchesAsked, uint32_t returned) {
  if (returnCode(status) < ZQ_RETURN_ERROR) ctx->lastMatchCount = matchesAsked ? matches : returned;
}

}  // namespace zq::calls
