// The entry calls: create, set, delete, merge, get and service one entry.
#include <cstring>
#include <new>

#include "calls/attachments.h"
#include "calls/checks.h"
#include "calls/entries.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "model/model.h"
#include "transport/describe.h"
#include "zqapi/zq_entries.h"
#include "zqapi/zq_free.h"

namespace zq::calls {

// ---- shared parts ----------------------------------------------------------------------

EntryCallsState::~EntryCallsState() {
  discardQueue();
}

void EntryCallsState::discardQueue() {
  for (auto& op : queue) model::release(op);
  queue.clear();
}

EntryCallsState* entryState(ZQThreadContext* ctx) {
  if (!ctx->calls) ctx->calls.reset(new (std::nothrow) EntryCallsState);
  return dynamic_cast<EntryCallsState*>(ctx->calls.get());
}

void dropTransactionHandle(ZQThreadContext* ctx, ZQControlStruct* control) {
  if (transport::ServerOptions* o = transport::findOptions(ctx, control->server))
    o->transactionHandle.clear();
}

int queueOperation(ZQThreadContext* ctx, const transport::BulkOperation& op, ZQStatusList* status) {
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

using call::Call;
namespace proc = transport::proc;

// Password values of this length reach the caller as the server sent them.
constexpr size_t kUntouchedPasswordLength = 254;

bool bulkOpen(ZQThreadContext* ctx) {
  auto* st = dynamic_cast<EntryCallsState*>(ctx->calls.get());
  return st && st->bulkOpen;
}

// The checks every entry call starts with.
template <class P>
bool refusedEntryCall(Call<P>& call, const char* form) {
  return !call || call.refusedControl() || call.refused(zq::checkName(form, false, call.status()));
}

// Queues a bound change into the open bulk transaction.
template <class P>
void queueChange(Call<P>& call, uint32_t kind, const char* form, const ZQEntryIdList* ids,
                 const ZQFieldValueList* values, ZQTimestamp getTime, uint32_t option) {
  transport::BulkOperation op{};
  op.kind = kind;
  op.header = call.header();
  op.form = const_cast<char*>(form);
  if (ids) op.entryId = *ids;
  if (values) op.values = *values;
  op.getTime = getTime;
  op.option = option;
  const int rc = queueOperation(call.context(), op, call.status());
  call.setRc(rc >= ZQ_RETURN_ERROR ? rc : returnCode(call.status()));
}

// Binds, then prepares the values for the bound server (attachments packed,
// passwords protected); false when either failed.
template <class P>
bool bindWithValues(Call<P>& call, const ZQFieldValueList* values, bool checkLimit,
                    PreparedValues& prepared) {
  if (!call.bind()) return false;
  call.raise(prepareValues(boundServer(call.context(), call.control()), values, checkLimit,
                           prepared, call.status()));
  return call.rc() < ZQ_RETURN_ERROR;
}

// Create and merge share everything but the procedure and the merge type.
template <class P>
int createOrMerge(ZQControlStruct* control, const char* form, ZQFieldValueList* values,
                  uint32_t mergeType, char* entryId, ZQStatusList* status) {
  constexpr bool merge = std::is_same_v<P, proc::MergeEntry>;
  if (entryId) entryId[0] = '\0';
  Call<P> call(control, status);
  if (refusedEntryCall(call, form) ||
      call.refused(checks::checkFieldValues(values, !merge, status)))
    return call.rc();
  if constexpr (merge)
    call.record(diag::Command::MergeEntry, form, values, mergeType);
  else
    call.record(diag::Command::CreateEntry, form, values);
  PreparedValues prepared;
  if (!bindWithValues(call, values, true, prepared)) return call.finish(entryId);
  if (bulkOpen(call.context())) {
    queueChange(call, merge ? ZQ_BULK_ENTRY_MERGE : ZQ_BULK_ENTRY_CREATE, form, nullptr,
                &prepared.list(), 0, mergeType);
    return call.finish(entryId);
  }
  auto& args = call.args();
  args.form = const_cast<char*>(form);
  args.values = prepared.list();
  if constexpr (merge) args.mergeType = mergeType;
  if (auto* reply = sendInTransaction(call)) {
    if (entryId) copyName(entryId, reply->entryId, sizeof(ZQEntryIdType));
    if (call.rc() < ZQ_RETURN_ERROR)
      copyName(call.context()->lastEntryId, reply->entryId, sizeof call.context()->lastEntryId);
  }
  return call.finish(entryId);
}

// Moves a reply's values to the caller and post-processes them.
void takeValues(call::Frame& call, transport::GetEntryReply* reply, ZQFieldValueList* out) {
  if (!reply || !out) return;
  *out = reply->values;
  reply->values = ZQFieldValueList{};
  call.raise(postProcessValues(call.context(), boundServer(call.context(), call.control()), out,
                               kUntouchedPasswordLength, call.status()));
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQCreateEntry(ZQControlStruct* control, const char* form, ZQFieldValueList* values,
                  ZQEntryIdType entryId, ZQStatusList* status) {
  return createOrMerge<proc::CreateEntry>(control, form, values, 0, entryId, status);
}

int ZQMergeEntry(ZQControlStruct* control, const char* form, ZQFieldValueList* values,
                 uint32_t mergeType, ZQEntryIdType entryId, ZQStatusList* status) {
  return createOrMerge<proc::MergeEntry>(control, form, values, mergeType, entryId, status);
}

int ZQSetEntry(ZQControlStruct* control, const char* form, ZQEntryIdList* entryId,
               ZQFieldValueList* values, ZQTimestamp getTime, uint32_t option,
               ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  clearStatus(status);
  // Nothing to change: no check and no server call.
  if (!values || values->count == 0) return ZQ_RETURN_OK;
  Call<proc::SetEntry> call(control, status);
  if (refusedEntryCall(call, form)) return call.rc();
  if (!entryId) return ZQ_RETURN_OK;
  if (call.refused(checks::checkEntryIds(entryId, status)) ||
      call.refused(checks::checkFieldValues(values, false, status)))
    return call.rc();
  call.record(diag::Command::SetEntry, form, entryId, values, getTime, option);
  PreparedValues prepared;
  if (!bindWithValues(call, values, true, prepared)) return call.finish();
  if (bulkOpen(call.context())) {
    queueChange(call, ZQ_BULK_ENTRY_SET, form, entryId, &prepared.list(), getTime, option);
    return call.finish();
  }
  auto& args = call.args();
  args.form = const_cast<char*>(form);
  args.entryId = *entryId;
  args.values = prepared.list();
  args.getTime = getTime;
  args.option = option;
  sendInTransaction(call);
  return call.finish();
}

int ZQDeleteEntry(ZQControlStruct* control, const char* form, ZQEntryIdList* entryId,
                  uint32_t option, ZQStatusList* status) {
  Call<proc::DeleteEntry> call(control, status);
  if (refusedEntryCall(call, form) || call.refused(checks::checkEntryIds(entryId, status)))
    return call.rc();
  call.record(diag::Command::DeleteEntry, form, entryId, option);
  if (!call.bind()) return call.finish();
  if (bulkOpen(call.context())) {
    queueChange(call, ZQ_BULK_ENTRY_DELETE, form, entryId, nullptr, 0, option);
    return call.finish();
  }
  auto& args = call.args();
  args.form = const_cast<char*>(form);
  args.entryId = *entryId;
  args.option = option;
  sendInTransaction(call);
  return call.finish();
}

int ZQGetEntry(ZQControlStruct* control, const char* form, ZQEntryIdList* entryId,
               ZQInternalIdList* fieldIds, ZQFieldValueList* values, ZQStatusList* status) {
  if (values) *values = ZQFieldValueList{};
  Call<proc::GetEntry> call(control, status);
  if (refusedEntryCall(call, form)) return call.rc();
  if (!entryId) return ZQ_RETURN_OK;
  if (call.refused(checks::checkEntryIds(entryId, status))) return call.rc();
  if (fieldIds && fieldIds->count && !fieldIds->items) return call.fail(kMsgCountWithoutItems);
  call.record(diag::Command::GetEntry, form, entryId, fieldIds);
  if (call.bind()) {
    auto& args = call.args();
    args.form = const_cast<char*>(form);
    args.entryId = *entryId;
    if (fieldIds) args.fieldIds = *fieldIds;
    takeValues(call, sendInTransaction(call), values);
  }
  return call.finish(values);
}

int ZQServiceEntry(ZQControlStruct* control, const char* form, ZQEntryIdList* entryId,
                   ZQFieldValueList* inputValues, ZQInternalIdList* outputIds,
                   ZQFieldValueList* outputValues, ZQStatusList* status) {
  if (outputValues) *outputValues = ZQFieldValueList{};
  Call<proc::ServiceEntry> call(control, status);
  if (refusedEntryCall(call, form)) return call.rc();
  // The entry id is optional: a missing or unusable one is sent as none,
  // and its check leaves no message behind.
  bool sendIds = false;
  if (entryId && entryId->count) {
    ZQStatusList scratch{};
    sendIds = checks::checkEntryIds(entryId, &scratch) < ZQ_RETURN_ERROR;
    zq::releaseStatusList(&scratch);
  }
  if (call.refused(checks::checkFieldValues(inputValues, true, status))) return call.rc();
  if (outputIds && outputIds->count && !outputIds->items) return call.fail(kMsgCountWithoutItems);
  call.record(diag::Command::ServiceEntry, form, entryId, inputValues, outputIds);
  PreparedValues prepared;
  if (bindWithValues(call, inputValues, false, prepared)) {
    auto& args = call.args();
    args.form = const_cast<char*>(form);
    if (sendIds) args.entryId = *entryId;
    args.values = prepared.list();
    if (outputIds) args.outputIds = *outputIds;
    takeValues(call, sendInTransaction(call), outputValues);
  }
  return call.finish(outputValues);
}

}  // extern "C"
