// Bulk entry transactions (queued on the client, applied by the server as
// one unit) and client-managed transactions (held open by the server).
#include <cstring>
#include <new>

#include "calls/entries.h"
#include "diag/record.h"
#include "frame/alloc.h"
#include "frame/status.h"
#include "model/codec.h"
#include "transport/describe_entries.h"
#include "transport/procedures.h"
#include "transport/state.h"
#include "zqapi/zq_entries.h"
#include "zqapi/zq_free.h"

namespace zq::calls {
namespace {

constexpr uint32_t kProcBulk = 134, kProcBegin = 172, kProcEnd = 173;
constexpr int32_t kMsgBulkOpen = 9710, kMsgBulkClosed = 9711, kMsgBulkAction = 9712;
constexpr int32_t kMsgUnsupported = 288, kMsgTransactionOpen = 899, kMsgHandle = 9905;
constexpr size_t kMaxHandleLength = 128;
constexpr int kFirstTransactionVersion = 14;

void closeBulk(EntryCallsState* st) {
  st->bulkOpen = false;
  st->discardQueue();
}

int serverVersion(ZQThreadContext* ctx, ZQControlStruct* control) {
  transport::ServerRecord* server = transport::findServer(ctx, control->server);
  return server ? server->version : model::kNewestVersion;
}

// The four client-managed calls append to the caller's list without
// emptying it; a missing list is still refused.
ZQThreadContext* transactionContext(ZQControlStruct* control, ZQStatusList* status, int& rc) {
  rc = ZQ_RETURN_OK;
  ZQThreadContext* ctx = ZQGetThreadContext(control, status);
  if (!ctx) rc = ZQ_RETURN_FATAL;
  return ctx;
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

void FreeZQBulkEntryReturnList(ZQBulkEntryReturnList* value, ZQBoolean freeStruct) {
  if (!value) return;
  model::release(*value);
  value->count = 0;
  value->items = nullptr;
  if (freeStruct) ZQFree(value);
}

int ZQBeginBulkEntryTransaction(ZQControlStruct* control, ZQStatusList* status) {
  CallEntry e = enterCall(control, status);
  if (!e.ok()) return e.rc;
  diag::command(e.ctx, control, diag::Command::BeginBulkEntryTransaction);
  EntryCallsState* st = entryState(e.ctx);
  int rc;
  if (!st)
    rc = addError(status, kMsgNoMemory);
  else if (st->bulkOpen)
    rc = addError(status, kMsgBulkOpen);
  else {
    st->bulkOpen = true;
    st->discardQueue();
    rc = ZQ_RETURN_OK;
  }
  return ZQFinishCall(e.ctx, rc, status);
}

int ZQEndBulkEntryTransaction(ZQControlStruct* control, uint32_t action,
                              ZQBulkEntryReturnList* results, ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  clearStatus(status);
  if (results) *results = ZQBulkEntryReturnList{};
  CallEntry e = enterCall(control, status);
  if (!e.ok()) return e.rc;
  int rc = ZQCheckControl(control, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  diag::command(e.ctx, control, diag::Command::EndBulkEntryTransaction, action);
  EntryCallsState* st = entryState(e.ctx);
  if (!st) return ZQFinishCall(e.ctx, addError(status, kMsgNoMemory), status);
  if (!st->bulkOpen) return ZQFinishCall(e.ctx, addError(status, kMsgBulkClosed), status);
  if (action == ZQ_BULK_ENTRY_ACTION_CANCEL || st->queue.empty()) {
    closeBulk(st);
    return ZQFinishCall(e.ctx, ZQ_RETURN_OK, status);
  }
  if (action != ZQ_BULK_ENTRY_ACTION_SEND)
    return ZQFinishCall(e.ctx, addError(status, kMsgBulkAction), status);

  transport::BulkEntryArgs args{};
  rc = bindFor(control, kQueueList, &args.header, status);
  if (rc >= ZQ_RETURN_ERROR) return ZQFinishCall(e.ctx, rc, status);  // still open
  // The queue already is one contiguous array: it is sent as it stands.
  args.count = static_cast<uint32_t>(st->queue.size());
  args.operations = st->queue.data();
  void* reply = nullptr;
  rc = sendBound(e.ctx, control,
                 Send{kProcBulk, kQueueList, e.ctx->settings.timeoutLong, kMsgTimeoutChange},
                 &args, &reply, status);
  closeBulk(st);
  if (!reply) return ZQFinishCall(e.ctx, ZQ_RETURN_ERROR, status);
  auto* r = static_cast<transport::BulkEntryReply*>(reply);
  if (results) {
    *results = r->results;
    r->results = ZQBulkEntryReturnList{};
  }
  return ZQFinishCall(e.ctx, rc, status);
}

int ZQBeginClientManagedTransaction(ZQControlStruct* control, char** handle,
                                    ZQStatusList* status) {
  if (handle) *handle = nullptr;
  if (!status) return ZQ_RETURN_BAD_STATUS;
  int rc;
  ZQThreadContext* ctx = transactionContext(control, status, rc);
  if (!ctx) return rc;
  std::unique_lock<std::recursive_mutex> lock(ctx->callLock);
  rc = ZQCheckControl(control, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  diag::command(ctx, control, diag::Command::BeginClientManagedTransaction);
  if (serverVersion(ctx, control) < kFirstTransactionVersion)
    return ZQFinishCall(ctx, addError(status, kMsgUnsupported), status);
  if (transport::ServerOptions* o = transport::findOptions(ctx, control->server);
      o && !o->transactionHandle.empty())
    return ZQFinishCall(ctx, addError(status, kMsgTransactionOpen), status);
  transport::HeaderOnlyArgs args{};
  rc = bindFor(control, kQueueFast, &args.header, status);
  if (rc >= ZQ_RETURN_ERROR) return ZQFinishCall(ctx, rc, status);
  if (serverVersion(ctx, control) < kFirstTransactionVersion)
    return ZQFinishCall(ctx, addError(status, kMsgUnsupported), status);
  void* reply = nullptr;
  rc = sendBound(ctx, control,
                 Send{kProcBegin, kQueueFast, ctx->settings.timeoutNormal, kMsgTimeoutRetrieve},
                 &args, &reply, status);
  if (!reply) return ZQFinishCall(ctx, ZQ_RETURN_ERROR, status);
  auto* r = static_cast<transport::BeginTransactionReply*>(reply);
  if (r->handleLength && r->handle) {
    const size_t length = strnlen(reinterpret_cast<const char*>(r->handle), r->handleLength);
    char* text = static_cast<char*>(ZQAlloc(length + 1));
    if (!text) return ZQFinishCall(ctx, addError(status, kMsgHandle), status);
    memcpy(text, r->handle, length);
    text[length] = '\0';
    transport::ServerOptions* o = transport::findOptions(ctx, control->server);
    if (!o || length > kMaxHandleLength) {
      ZQFree(text);
      return ZQFinishCall(ctx, addError(status, kMsgHandle), status);
    }
    try {
      o->transactionHandle.assign(text, length);
    } catch (const std::bad_alloc&) {
      ZQFree(text);
      return ZQFinishCall(ctx, addError(status, kMsgHandle), status);
    }
    if (handle)
      *handle = text;
    else
      ZQFree(text);
  }
  return ZQFinishCall(ctx, rc, status);
}

int ZQEndClientManagedTransaction(ZQControlStruct* control, uint32_t action,
                                  ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  int rc;
  ZQThreadContext* ctx = transactionContext(control, status, rc);
  if (!ctx) return rc;
  std::unique_lock<std::recursive_mutex> lock(ctx->callLock);
  rc = ZQCheckControl(control, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  diag::command(ctx, control, diag::Command::EndClientManagedTransaction, action);
  if (serverVersion(ctx, control) < kFirstTransactionVersion)
    return ZQFinishCall(ctx, addError(status, kMsgUnsupported), status);
  transport::EndTransactionArgs args{};
  rc = bindFor(control, kQueueFast, &args.header, status);
  if (rc >= ZQ_RETURN_ERROR) return ZQFinishCall(ctx, rc, status);
  args.action = action;
  void* reply = nullptr;
  rc = sendBound(ctx, control,
                 Send{kProcEnd, kQueueFast, ctx->settings.timeoutNormal, kMsgTimeoutRetrieve},
                 &args, &reply, status);
  // Once the server answered, the transaction is over whatever it said.
  if (reply) dropTransactionHandle(ctx, control);
  return ZQFinishCall(ctx, rc, status);
}

}  // extern "C"
