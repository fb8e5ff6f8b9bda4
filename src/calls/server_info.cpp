// ZQGetServerInfo and the library's own settings requests (procedure 36).
#include "diag/record.h"
#include "call/driver.h"
#include "frame/status.h"
#include "transport/binding.h"
#include "transport/procedures.h"
#include "transport/records.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_server.h"

namespace zq {
namespace {

constexpr uint32_t kProcServerInfo = 36;

// Checks every requested setting; each bad one adds its own message.
int checkRequest(const ZQServerInfoRequestList* request, ZQStatusList* status) {
  if (!request || request->count == 0) return addError(status, 122);
  if (!request->items) return addError(status, 165);
  int rc = ZQ_RETURN_OK;
  for (uint32_t i = 0; i < request->count; ++i) {
    uint32_t setting = request->items[i];
    if (setting == 0) rc = ZQAddStatusNumber(status, ZQ_MESSAGE_ERROR, 123, setting);
    if (setting == 10) rc = ZQAddStatusNumber(status, ZQ_MESSAGE_ERROR, 218, setting);
  }
  return rc;
}

// Sends the request and moves the reply's settings into result.
int requestSettings(ZQControlStruct* control, ZQServerInfoRequestList* request,
                    ZQServerInfoList* result, bool useCallLock, bool clientProperties,
                    ZQStatusList* status) {
  transport::ServerInfoArgs args{};
  args.settings = *request;
  RemoteCall call{control, transport::findProcedure(kProcServerInfo), kQueueFast, 0, 93,
                  clientProperties, useCallLock};
  ZQThreadContext* ctx = ZQGetThreadContext(control, nullptr);
  call.timeout = ctx->settings.timeoutNormal;
  void* reply = nullptr;
  int rc = callRemote(call, &args, &reply, status);
  if (reply) {
    auto* r = static_cast<transport::ServerInfoReply*>(reply);
    *result = r->settings;
    r->settings = {0, nullptr};
  }
  return rc;
}

}  // namespace
}  // namespace zq

namespace zq::transport {

int serverInfoRequest(ZQControlStruct* control, ZQServerInfoRequestList* request,
                      ZQServerInfoList* result, bool useCallLock, ZQStatusList* status) {
  *result = {0, nullptr};
  return requestSettings(control, request, result, useCallLock, false, status);
}

}  // namespace zq::transport

extern "C" int ZQGetServerInfo(ZQControlStruct* control, ZQServerInfoRequestList* request,
                               ZQServerInfoList* result, ZQStatusList* status) {
  if (result) *result = {0, nullptr};
  zq::CallEntry e = zq::enterCall(control, status);
  if (!e.ok()) return e.rc;
  int rc = ZQCheckControl(control, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if (!result) return zq::addError(status, 155);
  rc = zq::checkRequest(request, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  zq::diag::command(e.ctx, control, zq::diag::Command::GetServerInfo, request);
  rc = zq::requestSettings(control, request, result, true, true, status);
  zq::diag::outputs(e.ctx, result);
  return zq::ZQFinishCall(e.ctx, rc, status);
}
