// The entry calls: create, set, delete, merge, get and service one entry.
#include <cstring>
#include <new>

#include "calls/attachments.h"
#include "calls/checks.h"
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

// ---- shared parts ----------------------------------------------------------------------

EntryCallsState::~EntryCallsState() { discardQueue(); }

void EntryCallsState::discardQueue() {
  for (auto& op : queue) model::release(op);
  queue.clear();
}

EntryCallsState* entryState(ZQThreadContext* ctx) {
  if (!ctx->calls) ctx->calls.reset(new (std::nothrow) EntryCallsState);
  return dynamic_cast<EntryCallsState*>(ctx->calls.get());
}

int bindFor(ZQControlStruct* control, uint32_t queue, transport::RequestHeader* header,
            ZQStatusList* status) {
  return ZQLoadRPCControlStruct1(control, queue, 1, header, true, status);
}

void dropTransactionHandle(ZQThreadContext* ctx, ZQControlStruct* control) {
  if (transport::ServerOptions* o = transport::findOptions(ctx, control->server))
    o->transactionHandle.clear();
}

int sendBound(ZQThreadContext* ctx, ZQControlStruct* control, const Send& send, void* args,
              void** reply, ZQStatusList* status) {
  *reply = nullptr;
  const transport::Procedure* procedure = transport::findProcedure(send.procedure);
  CallDescriptor d;
  d.control = control;
  d.stub = procedure;
  d.timeout = send.timeout;
  d.timeoutMessage = send.timeoutMessage;
  d.queue = send.queue;
  d.propertiesHeader = procedure->argsHeader(args);
  d.args = args;
  d.result = reply;
  d.status = status;
  if (!ZQCallServer(d)) {
    *reply = nullptr;
    dropTransactionHandle(ctx, control);
    return ZQ_RETURN_ERROR;
  }
  const transport::RequestHeader* echoed = procedure->replyHeader(*reply);
  control->cacheId = echoed->cacheId;
  control->operationTime = echoed->operationTime;
  ZQMergeStatusLists(procedure->statusOf(*reply), status, status);
  ZQRecordCacheId(control, send.queue);
  const int rc = returnCode(status);
  if (rc >= ZQ_RETURN_ERROR) dropTransactionHandle(ctx, control);
  return rc;
}

int queueOperation(ZQThreadContext* ctx, const transport::BulkOperation& op,
                   ZQStatusList* status) {
  EntryCallsState* st = entryState(ctx);
  if (!st) return addError(status, kMsgNoMemory);
  transport::BulkOperation copy;
  if (!model::deepCopy(copy, op)) return addError(status, kMsgNoMemory);
  try {
    st->queue.push_back(copy);
  } catch (const std::bad_alloc&) {
    model::release(copy);
    return addError(status, kMsgNoMemory);
  }
  return ZQ_RETURN_OK;
}

namespace {

constexpr uint32_t kProcGet = 1, kProcSet = 2, kProcCreate = 3, kProcDelete = 4, kProcMerge = 37,
                   kProcService = 136;
constexpr int32_t kTimeoutChange = 92, kTimeoutRetrieve = 93;
// Password values of this length reach the caller as the server sent them.
constexpr size_t kUntouchedPasswordLength = 254;

bool bulkOpen(ZQThreadContext* ctx) {
  auto* st = dynamic_cast<EntryCallsState*>(ctx->calls.get());
  return st && st->bulkOpen;
}

Send fastSend(ZQThreadContext* ctx, uint32_t procedure, int32_t timeoutMessage) {
  return Send{procedure, kQueueFast, ctx->settings.timeoutNormal, timeoutMessage};
}

// Queues a bound change into the open bulk transaction.
int queueChange(ZQThreadContext* ctx, uint32_t kind, const transport::RequestHeader& header,
                const char* form, const ZQEntryIdList* ids, const ZQFieldValueList* values,
                ZQTimestamp getTime, uint32_t option, ZQStatusList* status) {
  transport::BulkOperation op{};
  op.kind = kind;
  op.header = header;
  op.form = const_cast<char*>(form);
  if (ids) op.entryId = *ids;
  if (values) op.values = *values;
  op.getTime = getTime;
  op.option = option;
  const int rc = queueOperation(ctx, op, status);
  return rc >= ZQ_RETURN_ERROR ? rc : returnCode(status);
}

// Create and merge share everything but the procedure and the merge type.
int createOrMerge(ZQControlStruct* control, const char* form, ZQFieldValueList* values,
                  bool merge, uint32_t mergeType, char* entryId, ZQStatusList* status) {
  if (entryId) entryId[0] = '\0';
  CallEntry e = enterCall(control, status);
  if (!e.ok()) return e.rc;
  int rc = ZQCheckControl(control, status);
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(form, 0, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkFieldValues(values, !merge, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if (merge)
    diag::command(e.ctx, control, diag::Command::MergeEntry, form, values, mergeType);
  else
    diag::command(e.ctx, control, diag::Command::CreateEntry, form, values);

  // Both records begin with the header and the form name; the rest differs.
  transport::CreateEntryArgs create{};
  transport::MergeEntryArgs mergeArgs{};
  transport::RequestHeader& header = merge ? mergeArgs.header : create.header;
  rc = bindFor(control, kQueueFast, &header, status);
  PreparedValues prepared;
  if (rc < ZQ_RETURN_ERROR)
    rc = prepareValues(boundServer(e.ctx, control), values, true, prepared, status);
  if (rc >= ZQ_RETURN_ERROR) {
    diag::outputs(e.ctx, entryId);
    return ZQFinishCall(e.ctx, rc, status);
  }
  if (bulkOpen(e.ctx)) {
    rc = queueChange(e.ctx, merge ? ZQ_BULK_ENTRY_MERGE : ZQ_BULK_ENTRY_CREATE, header, form,
                     nullptr, &prepared.list(), 0, mergeType, status);
    diag::outputs(e.ctx, entryId);
    return ZQFinishCall(e.ctx, rc, status);
  }
  void* reply = nullptr;
  if (merge) {
    mergeArgs.form = const_cast<char*>(form);
    mergeArgs.values = prepared.list();
    mergeArgs.mergeType = mergeType;
    rc = sendBound(e.ctx, control, fastSend(e.ctx, kProcMerge, kTimeoutChange), &mergeArgs, &reply,
                   status);
  } else {
    create.form = const_cast<char*>(form);
    create.values = prepared.list();
    rc = sendBound(e.ctx, control, fastSend(e.ctx, kProcCreate, kTimeoutChange), &create, &reply,
                   status);
  }
  if (reply) {
    const auto* r = static_cast<transport::EntryIdReply*>(reply);
    if (entryId) copyName(entryId, r->entryId, sizeof(ZQEntryIdType));
    if (rc < ZQ_RETURN_ERROR) copyName(e.ctx->lastEntryId, r->entryId, sizeof e.ctx->lastEntryId);
  }
  diag::outputs(e.ctx, entryId);
  return ZQFinishCall(e.ctx, rc, status);
}

// Moves a reply's values to the caller and post-processes them.
int takeValues(ZQThreadContext* ctx, ZQControlStruct* control, void* reply, int rc,
               ZQFieldValueList* out, ZQStatusList* status) {
  if (!reply || !out) return rc;
  auto* r = static_cast<transport::GetEntryReply*>(reply);
  *out = r->values;
  r->values = ZQFieldValueList{};
  const int post =
      postProcessValues(ctx, boundServer(ctx, control), out, kUntouchedPasswordLength, status);
  return post > rc ? post : rc;
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQCreateEntry(ZQControlStruct* control, const char* form, ZQFieldValueList* values,
                  ZQEntryIdType entryId, ZQStatusList* status) {
  return createOrMerge(control, form, values, false, 0, entryId, status);
}

int ZQMergeEntry(ZQControlStruct* control, const char* form, ZQFieldValueList* values,
                 uint32_t mergeType, ZQEntryIdType entryId, ZQStatusList* status) {
  return createOrMerge(control, form, values, true, mergeType, entryId, status);
}

int ZQSetEntry(ZQControlStruct* control, const char* form, ZQEntryIdList* entryId,
               ZQFieldValueList* values, ZQTimestamp getTime, uint32_t option,
               ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  clearStatus(status);
  // Nothing to change: no check and no server call.
  if (!values || values->count == 0) return ZQ_RETURN_OK;
  CallEntry e = enterCall(control, status);
  if (!e.ok()) return e.rc;
  int rc = ZQCheckControl(control, status);
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(form, 0, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if (!entryId) return ZQ_RETURN_OK;
  rc = checks::checkEntryIds(entryId, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkFieldValues(values, false, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  diag::command(e.ctx, control, diag::Command::SetEntry, form, entryId, values, getTime, option);
  transport::SetEntryArgs args{};
  rc = bindFor(control, kQueueFast, &args.header, status);
  PreparedValues prepared;
  if (rc < ZQ_RETURN_ERROR)
    rc = prepareValues(boundServer(e.ctx, control), values, true, prepared, status);
  if (rc >= ZQ_RETURN_ERROR) return ZQFinishCall(e.ctx, rc, status);
  if (bulkOpen(e.ctx)) {
    rc = queueChange(e.ctx, ZQ_BULK_ENTRY_SET, args.header, form, entryId, &prepared.list(),
                     getTime, option, status);
    return ZQFinishCall(e.ctx, rc, status);
  }
  args.form = const_cast<char*>(form);
  args.entryId = *entryId;
  args.values = prepared.list();
  args.getTime = getTime;
  args.option = option;
  void* reply = nullptr;
  rc = sendBound(e.ctx, control, fastSend(e.ctx, kProcSet, kTimeoutChange), &args, &reply, status);
  return ZQFinishCall(e.ctx, rc, status);
}

int ZQDeleteEntry(ZQControlStruct* control, const char* form, ZQEntryIdList* entryId,
                  uint32_t option, ZQStatusList* status) {
  CallEntry e = enterCall(control, status);
  if (!e.ok()) return e.rc;
  int rc = ZQCheckControl(control, status);
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(form, 0, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkEntryIds(entryId, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  diag::command(e.ctx, control, diag::Command::DeleteEntry, form, entryId, option);
  transport::DeleteEntryArgs args{};
  rc = bindFor(control, kQueueFast, &args.header, status);
  if (rc >= ZQ_RETURN_ERROR) return ZQFinishCall(e.ctx, rc, status);
  if (bulkOpen(e.ctx)) {
    rc = queueChange(e.ctx, ZQ_BULK_ENTRY_DELETE, args.header, form, entryId, nullptr, 0, option,
                     status);
    return ZQFinishCall(e.ctx, rc, status);
  }
  args.form = const_cast<char*>(form);
  args.entryId = *entryId;
  args.option = option;
  void* reply = nullptr;
  rc = sendBound(e.ctx, control, fastSend(e.ctx, kProcDelete, kTimeoutChange), &args, &reply,
                 status);
  return ZQFinishCall(e.ctx, rc, status);
}

int ZQGetEntry(ZQControlStruct* control, const char* form, ZQEntryIdList* entryId,
               ZQInternalIdList* fieldIds, ZQFieldValueList* values, ZQStatusList* status) {
  if (values) *values = ZQFieldValueList{};
  CallEntry e = enterCall(control, status);
  if (!e.ok()) return e.rc;
  int rc = ZQCheckControl(control, status);
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(form, 0, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if (!entryId) return ZQ_RETURN_OK;
  rc = checks::checkEntryIds(entryId, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if (fieldIds && fieldIds->count && !fieldIds->items) return addError(status, 165);
  diag::command(e.ctx, control, diag::Command::GetEntry, form, entryId, fieldIds);
  transport::GetEntryArgs args{};
  rc = bindFor(control, kQueueFast, &args.header, status);
  if (rc >= ZQ_RETURN_ERROR) {
    diag::outputs(e.ctx, values);
    return ZQFinishCall(e.ctx, rc, status);
  }
  args.form = const_cast<char*>(form);
  args.entryId = *entryId;
  if (fieldIds) args.fieldIds = *fieldIds;
  void* reply = nullptr;
  rc = sendBound(e.ctx, control, fastSend(e.ctx, kProcGet, kTimeoutRetrieve), &args, &reply,
                 status);
  rc = takeValues(e.ctx, control, reply, rc, values, status);
  diag::outputs(e.ctx, values);
  return ZQFinishCall(e.ctx, rc, status);
}

int ZQServiceEntry(ZQControlStruct* control, const char* form, ZQEntryIdList* entryId,
                   ZQFieldValueList* inputValues, ZQInternalIdList* outputIds,
                   ZQFieldValueList* outputValues, ZQStatusList* status) {
  if (outputValues) *outputValues = ZQFieldValueList{};
  CallEntry e = enterCall(control, status);
  if (!e.ok()) return e.rc;
  int rc = ZQCheckControl(control, status);
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(form, 0, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  // The entry id is optional: a missing or unusable one is sent as none,
  // and its check leaves no message behind.
  bool sendIds = false;
  if (entryId && entryId->count) {
    ZQStatusList scratch{};
    sendIds = checks::checkEntryIds(entryId, &scratch) < ZQ_RETURN_ERROR;
    FreeZQStatusList(&scratch, 0);
  }
  rc = checks::checkFieldValues(inputValues, true, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if (outputIds && outputIds->count && !outputIds->items) return addError(status, 165);
  diag::command(e.ctx, control, diag::Command::ServiceEntry, form, entryId, inputValues,
                outputIds);
  transport::ServiceEntryArgs args{};
  rc = bindFor(control, kQueueFast, &args.header, status);
  PreparedValues prepared;
  if (rc < ZQ_RETURN_ERROR)
    rc = prepareValues(boundServer(e.ctx, control), inputValues, false, prepared, status);
  if (rc >= ZQ_RETURN_ERROR) {
    diag::outputs(e.ctx, outputValues);
    return ZQFinishCall(e.ctx, rc, status);
  }
  args.form = const_cast<char*>(form);
  if (sendIds) args.entryId = *entryId;
  args.values = prepared.list();
  if (outputIds) args.outputIds = *outputIds;
  void* reply = nullptr;
  rc = sendBound(e.ctx, control, fastSend(e.ctx, kProcService, kTimeoutRetrieve), &args, &reply,
                 status);
  rc = takeValues(e.ctx, control, reply, rc, outputValues, status);
  diag::outputs(e.ctx, outputValues);
  return ZQFinishCall(e.ctx, rc, status);
}

}  // extern "C"
