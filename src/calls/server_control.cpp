// Signals, cancel, candidates of external data and the session
// configuration: ZQSignal (100), ZQCancel (81),
// ZQGetListExtSchemaCandidates (106), ZQGetMultipleExtFieldCandidates (107),
// ZQSetSessionConfiguration and ZQGetSessionConfiguration.
#include <cstring>
#include <string>

#include "calls/admin.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "transport/transport.h"
#include "zqapi/zq_free.h"

namespace zq::calls {
namespace {

namespace proc = transport::proc;

constexpr uint32_t kFormTypeCount = 6;
constexpr uint32_t kClientIdentityVariable = ZQ_SESSVAR_CLIENT_IDENTITY;

bool settableConfiguration(uint32_t id) {
  return (id >= 1 && id <= 9) || id == kClientIdentityVariable;
}
bool readableConfiguration(uint32_t id) {
  return (id >= 1 && id <= 11) || id == kClientIdentityVariable;
}

// Procedure 81 for the caller's session, sent on the copy's own context so
// that it neither waits for the caller's call lock nor disturbs its
// bindings. The status list's code.
int sendCancel(ZQControlStruct* copy, int32_t session, ZQStatusList* status) {
  using P = proc::Cancel;
  P::Args args{};
  int rc = call::bind(copy, kQueueFast, &args.header, true, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  const int32_t own = copy->cacheId;
  args.header.cacheId = session;
  call::Send send{copy, P::row(), kQueueFast, copy->context->settings.timeoutNormal};
  send.clientProperties = false;
  rc = call::sendBound(send, &args, status) ? returnCode(status) : ZQ_RETURN_ERROR;
  // The copy's bindings keep its own session: terminating it must not end
  // the caller's.
  copy->cacheId = own;
  transport::setBindingCacheIds(copy->context, copy, own);
  return rc;
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQSignal(ZQControlStruct* control, ZQSignalList* signals, ZQStatusList* status) {
  call::Call<proc::Signal> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!signals || signals->count == 0) return call.fail(kMsgRequestListEmpty);
  if (!signals->items) return call.fail(kMsgCountWithoutItems);
  call.record(diag::Command::Signal, signals);
  if (call.bind()) {
    call.args().signals = *signals;
    call.send();
  }
  return call.finish();
}

int ZQCancel(ZQControlStruct* control, ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  clearStatus(status);
  // The caller's context is busy with the call to cancel (its call lock is
  // held): this call runs on a context of its own.
  ZQControlStruct copy;
  if (control)
    memcpy(&copy, control, sizeof copy);
  else
    memset(&copy, 0, sizeof copy);
  copy.context = nullptr;
  ZQStatusList own{0, nullptr};
  const int initialized = ZQInitialization(&copy, &own);
  auto end = [&](int rc) {
    ZQStatusList ignored{0, nullptr};
    if (copy.context) ZQTermination(&copy, &ignored);
    FreeZQStatusList(&ignored, 0);
    FreeZQStatusList(&own, 0);
    return rc;
  };
  if (!ZQGetThreadContext(control, status)) return end(ZQ_RETURN_FATAL);
  if (initialized >= ZQ_RETURN_ERROR) {
    ZQMergeStatusLists(&own, status, status);
    return end(initialized);
  }
  const int checked = ZQCheckControl(control, status);
  if (checked >= ZQ_RETURN_ERROR) return end(checked);
  // The copy reaches the server where the caller does: the port and
  // program set for it on the caller's context.
  if (const transport::ServerRecord* mine =
          transport::findServer(control->context, control->server)) {
    transport::ServerRecord* theirs = transport::findOrCreateServer(copy.context, copy.server);
    if (!theirs) return end(addError(status, kMsgNoMemory));
    theirs->port = mine->port;
    theirs->program = mine->program;
  }
  return end(sendCancel(&copy, control->cacheId, status));
}

int ZQGetListExtSchemaCandidates(ZQControlStruct* control, uint32_t formType,
                                 ZQCompoundSchemaList* forms, ZQStatusList* status) {
  if (forms) *forms = ZQCompoundSchemaList{0, nullptr};
  if (!status) return ZQ_RETURN_BAD_STATUS;
  clearStatus(status);
  if (formType >= kFormTypeCount) return addError(status, kMsgNullArgument);
  if (!forms) return addError(status, kMsgNoResultOutput);
  call::Call<proc::GetListExtSchemaCandidates> call(control, status, call::OnEntry::keepStatus);
  if (!call || call.refusedControl()) return call.rc();
  call.record(diag::Command::GetListExtSchemaCandidates, formType);
  if (call.bind()) {
    call.args().formType = formType;
    if (auto* reply = call.send()) {
      *forms = reply->forms;
      reply->forms = ZQCompoundSchemaList{0, nullptr};
    }
  }
  return call.finish();
}

int ZQGetMultipleExtFieldCandidates(ZQControlStruct* control, ZQCompoundSchema* form,
                                    ZQFieldMappingList* fields, ZQFieldLimitList* limits,
                                    ZQUnsignedIntList* dataTypes, ZQStatusList* status) {
  if (fields) *fields = ZQFieldMappingList{0, nullptr};
  if (limits) *limits = ZQFieldLimitList{0, nullptr};
  if (dataTypes) *dataTypes = ZQUnsignedIntList{0, nullptr};
  call::Call<proc::GetMultipleExtFieldCandidates> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!form) return call.fail(kMsgNullArgument);
  if (!fields || !limits || !dataTypes) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetMultipleExtFieldCandidates, form);
  if (call.bind()) {
    call.args().form = *form;
    if (auto* reply = call.send()) {
      *fields = reply->fields;
      *limits = reply->limits;
      *dataTypes = reply->dataTypes;
      reply->fields = ZQFieldMappingList{0, nullptr};
      reply->limits = ZQFieldLimitList{0, nullptr};
      reply->dataTypes = ZQUnsignedIntList{0, nullptr};
    }
  }
  return call.finish(fields, limits, dataTypes);
}

int ZQSetSessionConfiguration(ZQControlStruct* control, uint32_t variableId,
                              const ZQValueStruct* value, ZQStatusList* status) {
  call::Frame call(control, status);
  if (!call) return call.rc();
  call.record(diag::Command::SetSessionConfiguration, variableId, value);
  if (!settableConfiguration(variableId)) {
    call.failAfterRecord(kMsgUnknownSessionConfiguration, std::to_string(variableId).c_str());
    return call.finish();
  }
  call.setRc(ZQSetSessionVariable(control, variableId, value, status));
  return call.finish();
}

int ZQGetSessionConfiguration(ZQControlStruct* control, uint32_t variableId, ZQValueStruct* value,
                              ZQStatusList* status) {
  if (value) *value = ZQValueStruct{};
  call::Frame call(control, status);
  if (!call) return call.rc();
  call.record(diag::Command::GetSessionConfiguration, variableId);
  if (!readableConfiguration(variableId)) {
    call.failAfterRecord(kMsgUnknownSessionConfiguration, std::to_string(variableId).c_str());
    return call.finish(value);
  }
  call.setRc(ZQGetSessionVariable(control, variableId, value, status));
  return call.finish(value);
}

}  // extern "C"
