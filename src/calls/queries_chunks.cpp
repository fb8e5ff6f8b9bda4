// The chunked retrieval loop and the argument checks shared by the queries.
#include <cstring>

#include "calls/checks.h"
#include "calls/queries.h"
#include "frame/alloc.h"
#include "frame/status.h"
#include "transport/records.h"

namespace zq::calls {
namespace {
constexpr int32_t kMsgStopped = 9978;
}  // namespace

int checkQuery(ZQControlStruct* control, const char* form, ZQQualifierStruct* qualifier,
               const ZQEntryListFieldList* fields, const ZQSortList* sort, ZQStatusList* status) {
  int rc = ZQCheckControl(control, status);
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(form, 0, status);
  if (rc < ZQ_RETURN_ERROR && qualifier) rc = checks::checkQualifier(qualifier, true, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkEntryListFields(fields, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkSortList(sort, status);
  return rc;
}

int runChunked(ZQThreadContext* ctx, const ChunkedCall& call, void* args,
               const std::function<bool(const Chunk&)>& take, ZQStatusList* status) {
  ctx->stopRequested = 0;
  int32_t token = 0;
  int rc = ZQ_RETURN_OK;
  RemoteCall remote = call.remote;
  // Binding fills the header afresh and clears the call words; the chunk
  // words go in after it.
  remote.prepare = [&](transport::RequestHeader* h) {
    h->responseSize = ctx->settings.responseSize;
    h->chunkToken = token;
  };
  int replyCode = ZQ_RETURN_OK;
  remote.replyCode = &replyCode;
  for (;;) {
    if (ctx->stopRequested) return addError(status, kMsgStopped);
    void* reply = nullptr;
    rc = callRemote(remote, args, &reply, status);
    if (!reply) return rc;
    // A stop requested while the reply was on its way ends the call too.
    if (ctx->stopRequested) return addError(status, kMsgStopped);
    const transport::RequestHeader* echoed = call.remote.procedure->replyHeader(reply);
    token = echoed->chunkToken;
    const bool last = echoed->lastChunk != 0;
    const bool more = take(Chunk{reply, last, replyCode >= ZQ_RETURN_ERROR});
    if (last || !more) break;
    if (token == 0) break;  // a server that keeps no state cannot continue
  }
  return rc;
}

SliceBuffer::~SliceBuffer() {
  ZQFree(data_);
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
    auto* p = static_cast<unsigned char*>(ZQRealloc(data_, grown));
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
