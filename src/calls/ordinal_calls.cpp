// Calls exported by ordinal only (ZQGetOrdinal): 312, 840, 845 and 846.
#include "calls/admin.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "transport/transport.h"
#include "zqapi/zq_free.h"

namespace zq::calls {
namespace {

namespace proc = transport::proc;

constexpr uint32_t kEntryLimitSetting = 182;

// Procedures 132 and 133: a name in, entry ids out; no control record check.
template <class P>
int entryIds(ZQControlStruct* control, const char* form, ZQEntryIdList* ids, ZQStatusList* status) {
  if (ids) *ids = ZQEntryIdList{0, nullptr};
  call::Call<P> call(control, status);
  if (!call) return call.rc();
  if (!ids) return call.fail(kMsgNoResultOutput);
  if (call.bind()) {
    call.args().name = orEmpty(form);
    if (auto* reply = call.send()) {
      *ids = reply->ids;
      reply->ids = ZQEntryIdList{0, nullptr};
    }
  }
  return call.finish();
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQGetFormFieldNames(ZQControlStruct* control, const char* form, ZQNameList* names,
                        ZQStatusList* status) {
  if (names) *names = ZQNameList{0, nullptr};
  call::Call<proc::GetNamesOrdinal312> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(form, 0, status)))
    return call.rc();
  if (!names) return call.fail(kMsgNoResultOutput);
  if (call.bind()) {
    call.args().name = const_cast<char*>(form);
    if (auto* reply = call.send()) {
      *names = reply->names;
      reply->names = ZQNameList{0, nullptr};
    }
  }
  return call.finish();
}

int ZQGetServerEntryLimit(ZQControlStruct* control, int32_t* limit, ZQStatusList* status) {
  if (limit) *limit = 0;
  call::Frame call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!limit) return call.fail(kMsgNoResultOutput);
  if (!call.bind(kQueueFast, nullptr)) return call.finish();
  ZQServerInfoList answer{0, nullptr};
  const int rc = askServerInfo(control, {kEntryLimitSetting}, &answer, status);
  if (rc >= ZQ_RETURN_ERROR) {
    call.setRc(rc);
  } else {
    call.setRc(ZQ_RETURN_OK);
    if (answer.count == 1 && answer.items &&
        answer.items[0].value.dataType == ZQ_DATA_TYPE_INTEGER) {
      *limit = answer.items[0].value.u.integerValue;
      transport::ServerOptions* o = transport::findOptions(call.context(), control->server);
      if (o && o->entryLimit == -1) o->entryLimit = *limit;
    }
  }
  FreeZQServerInfoList(&answer, 0);
  return call.finish();
}

int ZQGetFormEntryIds(ZQControlStruct* control, const char* form, ZQEntryIdList* ids,
                      ZQStatusList* status) {
  return entryIds<proc::GetEntryIdsOrdinal845>(control, form, ids, status);
}

int ZQGetOwnEntryIds(ZQControlStruct* control, const char* form, ZQEntryIdList* ids,
                     ZQStatusList* status) {
  return entryIds<proc::GetEntryIdsOrdinal846>(control, form, ids, status);
}

}  // extern "C"
