// ZQGetServerInfo (procedure 36).
#include "call/call.h"
#include "frame/frame.h"
#include "zqapi/zq_server.h"

namespace zq::calls {
namespace {

// Checks every requested setting; each bad one adds its own message.
int checkRequest(const ZQServerInfoRequestList* request, ZQStatusList* status) {
  if (!request || request->count == 0) return addError(status, kMsgRequestListEmpty);
  if (!request->items) return addError(status, kMsgCountWithoutItems);
  int rc = ZQ_RETURN_OK;
  for (uint32_t i = 0; i < request->count; ++i) {
    uint32_t setting = request->items[i];
    if (setting == 0)
      rc = zq::addStatusNumber(status, ZQ_MESSAGE_ERROR, kMsgUnknownServerSetting, setting);
    if (setting == 10)
      rc = zq::addStatusNumber(status, ZQ_MESSAGE_ERROR, kMsgSettingNotReadable, setting);
  }
  return rc;
}

}  // namespace
}  // namespace zq::calls

extern "C" int ZQGetServerInfo(ZQControlStruct* control, ZQServerInfoRequestList* request,
                               ZQServerInfoList* result, ZQStatusList* status) {
  using namespace zq;
  if (result) *result = {0, nullptr};
  call::Call<transport::proc::GetServerInfo> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!result) return call.fail(kMsgMissingOutput);
  if (call.refused(calls::checkRequest(request, status))) return call.rc();
  call.record(diag::Command::GetServerInfo, request);
  if (call.bind()) {
    call.args().settings = *request;
    if (auto* reply = call.send()) {
      *result = reply->settings;
      reply->settings = {0, nullptr};
    }
  }
  return call.finish(result);
}
