// The chunked retrieval loop and the argument checks shared by the queries.
#include <cstring>

#include "calls/queries.h"
#include "frame/status.h"
#include "text/qual_checks.h"
#include "transport/records.h"

namespace zq::calls {

int checkEntryListFields(const ZQEntryListFieldList* fields, ZQStatusList* status) {
  if (!fields || fields->count == 0) return 0;
  if (!fields->items) return addError(status, 165);
  for (uint32_t i = 0; i < fields->count; ++i) {
    const ZQEntryListFieldStruct& f = fields->items[i];
    if (f.fieldId == 99) continue;
    if (f.fieldId == 0 || f.columnWidth == 0 || strnlen(f.separator, sizeof f.separator) > 10)
      return addError(status, 214);
  }
  return 0;
}

int checkSortList(const ZQSortList* sort, ZQStatusList* status) {
  if (!sort || sort->count == 0) return 0;
  if (!sort->items) return addError(status, 165);
  for (uint32_t i = 0; i < sort->count; ++i) {
    uint32_t order = sort->items[i].sortOrder;
    if (order != ZQ_SORT_ASCENDING && order != ZQ_SORT_DESCENDING) {
      addError(status, 153);
      return addError(status, 152);
    }
  }
  return 0;
}

int checkQueryQualifier(const ZQQualifierStruct* qualifier, ZQStatusList* status) {
  return text::checkQualifier(qualifier, status);
}

int runChunked(ZQThreadContext* ctx, const ChunkedCall& call, void* args,
               const std::function<bool(void* reply, bool last)>& take, ZQStatusList* status) {
  ctx->stopRequested = 0;
  int32_t token = 0;
  int rc = ZQ_RETURN_OK;
  for (;;) {
    if (ctx->stopRequested) return ZQ_RETURN_ERROR;
    // Binding fills the header afresh; the chunk words follow it.
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
    const bool more = take(reply, last || replyFailed);
    if (last || !more) break;
    if (token == 0) break;  // a server that keeps no state cannot continue
  }
  return rc;
}

}  // namespace zq::calls
