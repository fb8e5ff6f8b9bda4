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

using call::Call;
using call::Frame;
namespace proc = transport::proc;

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

// Stores the handle a server handed out; false (9905) when it cannot be kept.
bool keepHandle(Frame& call, const transport::BeginTransactionReply& reply, char** handle) {
  if (!reply.handleLength || !reply.handle) return true;
  const size_t length = strnlen(reinterpret_cast<const char*>(reply.handle), reply.handleLength);
  transport::ServerOptions* o = transport::findOptions(call.context(), call.control()->server);
  if (!o || length > kMaxHandleLength) return false;
  char* text = static_cast<char*>(ZQAlloc(length + 1));
  if (!text) return false;
  memcpy(text, reply.handle, length);
  text[length] = '\0';
  try {
    o->transactionHandle.assign(text, length);
  } catch (const std::bad_alloc&) {
    ZQFree(text);
    return false;
  }
  if (handle)
    *handle = text;
  else
    ZQFree(text);
  return true;
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

void FreeZQBulkEntryReturn(ZQBulkEntryReturn* value, ZQBoolean freeStruct) {
  if (!value) return;
  model::release(*value);
  *value = ZQBulkEntryReturn{};
  if (freeStruct) ZQFree(value);
}

void FreeZQBulkEntryReturnList(ZQBulkEntryReturnList* value, ZQBoolean freeStruct) {
  if (!value) return;
  model::release(*value);
  value->count = 0;
  value->items = nullptr;
  if (freeStruct) ZQFree(value);
}

int ZQBeginBulkEntryTransaction(ZQControlStruct* control, ZQStatusList* status) {
  Frame call(control, status);
  if (!call) return call.rc();
  call.record(diag::Command::BeginBulkEntryTransaction);
  EntryCallsState* st = entryState(call.context());
  if (!st)
    call.fail(kMsgNoMemory);
  else if (st->bulkOpen)
    call.fail(kMsgBulkTransactionOpen);
  else {
    st->bulkOpen = true;
    st->discardQueue();
  }
  return call.finish();
}

int ZQEndBulkEntryTransaction(ZQControlStruct* control, uint32_t action,
                              ZQBulkEntryReturnList* results, ZQStatusList* status) {
  if (results) *results = ZQBulkEntryReturnList{};
  Call<proc::EndBulkEntryTransaction> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  call.record(diag::Command::EndBulkEntryTransaction, action);
  EntryCallsState* st = entryState(call.context());
  if (!st) return call.finishWithError(kMsgNoMemory);
  if (!st->bulkOpen) return call.finishWithError(kMsgNoBulkTransaction);
  if (action == ZQ_BULK_ENTRY_ACTION_CANCEL || st->queue.empty()) {
    closeBulk(st);
    return call.finish();
  }
  if (action != ZQ_BULK_ENTRY_ACTION_SEND) return call.finishWithError(kMsgBadBulkAction);
  if (!call.bind()) return call.finish();  // the transaction stays open
  // The queue already is one contiguous array: it is sent as it stands.
  call.args().count = static_cast<uint32_t>(st->queue.size());
  call.args().operations = st->queue.data();
  auto* reply = sendInTransaction(call);
  closeBulk(st);
  if (reply && results) {
    *results = reply->results;
    reply->results = ZQBulkEntryReturnList{};
  }
  return call.finish();
}

int ZQBeginClientManagedTransaction(ZQControlStruct* control, char** handle, ZQStatusList* status) {
  if (handle) *handle = nullptr;
  // The client-managed calls append to the caller's list without emptying it.
  Call<proc::BeginClientManagedTransaction> call(control, status, call::OnEntry::keepStatus);
  if (!call || call.refusedControl()) return call.rc();
  call.record(diag::Command::BeginClientManagedTransaction);
  ZQThreadContext* ctx = call.context();
  if (serverVersion(ctx, control) < kFirstTransactionVersion)
    return call.finishWithError(kMsgOperationUnsupported);
  if (transport::ServerOptions* o = transport::findOptions(ctx, control->server);
      o && !o->transactionHandle.empty())
    return call.finishWithError(kMsgClientTransactionOpen);
  if (!call.bind()) return call.finish();
  if (serverVersion(ctx, control) < kFirstTransactionVersion)
    return call.finishWithError(kMsgOperationUnsupported);
  auto* reply = sendInTransaction(call);
  if (reply && !keepHandle(call, *reply, handle)) call.fail(kMsgCannotStoreHandle);
  return call.finish();
}

int ZQEndClientManagedTransaction(ZQControlStruct* control, uint32_t action, ZQStatusList* status) {
  Call<proc::EndClientManagedTransaction> call(control, status, call::OnEntry::keepStatus);
  if (!call || call.refusedControl()) return call.rc();
  call.record(diag::Command::EndClientManagedTransaction, action);
  ZQThreadContext* ctx = call.context();
  if (serverVersion(ctx, control) < kFirstTransactionVersion)
    return call.finishWithError(kMsgOperationUnsupported);
  if (!call.bind()) return call.finish();
  call.args().action = action;
  call.send();
  // Once sent, the transaction is over, whatever came back.
  dropTransactionHandle(ctx, control);
  return call.finish();
}

}  // extern "C"
