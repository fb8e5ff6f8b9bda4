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
  for (;;) {
    if (ctx->stopRequested) return addError(status, kMsgStopped);
    // Binding fills the header afresh and clears the call words; the chunk
    // words are set after it.
    transport::RequestHeader* h = call.header;
    rc = ZQLoadRPCControlStruct1(call.remote.control, call.remote.queue, 1, h,
                                 call.remote.useCallLock, status);
    if (rc >= ZQ_RETURN_ERROR) return rc;
    h->wordD = ctx->settings.responseSize;
    h->wordE = token;
    CallDescriptor d;
    d.control = call.remote.control;
    d.stub = call.remote.procedure;
    d.timeout = call.remote.timeout;
    d.timeoutMessage = call.remote.timeoutMessage;
    d.queue = call.remote.queue;
    d.propertiesHeader = call.remote.clientProperties ? h : nullptr;
    d.args = args;
    void* reply = nullptr;
    d.result = &reply;
    d.status = status;
    if (!(call.remote.useCallLock ? ZQCallServer(d) : ZQCallServerUnlocked(d)) || !reply)
      return ZQ_RETURN_ERROR;
    // A stop requested while the reply was on its way ends the call too.
    if (ctx->stopRequested) return addError(status, kMsgStopped);
    transport::RequestHeader* echoed = call.remote.procedure->replyHeader(reply);
    call.remote.control->cacheId = echoed->cacheId;
    call.remote.control->operationTime = echoed->operationTime;
    ZQStatusList* own = call.remote.procedure->statusOf(reply);
    const bool replyFailed = returnCode(own) >= ZQ_RETURN_ERROR;
    ZQMergeStatusLists(own, status, status);
    ZQRecordCacheId(call.remote.control, call.remote.queue);
    rc = returnCode(status);
    token = echoed->wordE;
    const bool last = echoed->headerByte != 0;
    const bool more = take(Chunk{reply, last, replyFailed});
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
