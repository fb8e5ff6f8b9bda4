#include "call/remote.h"

#include "call/driver.h"
#include "call/key_exchange.h"
#include "frame/frame.h"
#include "transport/transport.h"

namespace zq::call {
namespace {

// The remote steps binding takes on a first contact, sent from here.
class RemoteFirstContact final : public transport::FirstContact {
 public:
  int exchangeKeys(ZQThreadContext* ctx, ZQControlStruct* control, uint32_t queue,
                   transport::Binding& binding, bool useCallLock, ZQStatusList* status) override {
    return call::exchangeKeys(ctx, control, queue, binding, useCallLock, status);
  }
  bool exchangingKeys(ZQThreadContext* ctx) override { return call::exchangingKeys(ctx); }
  // Procedure 36 on the fast queue, without client properties.
  int askSettings(ZQControlStruct* control, ZQServerInfoRequestList* request,
                  ZQServerInfoList* result, bool useCallLock, ZQStatusList* status) override {
    *result = {0, nullptr};
    using P = transport::proc::GetServerInfo;
    P::Args args{};
    args.settings = *request;
    const Send send{control, P::row(), kQueueFast, control->context->settings.timeoutNormal,
                    0,       false,    useCallLock};
    void* reply = nullptr;
    const int rc = remoteStep(send, &args, &reply, status);
    if (reply) {
      auto* r = static_cast<P::Reply*>(reply);
      *result = r->settings;
      r->settings = {0, nullptr};
    }
    return rc;
  }
};

RemoteFirstContact g_firstContact;

}  // namespace

int bind(ZQControlStruct* control, uint32_t queue, transport::RequestHeader* header,
         bool useCallLock, ZQStatusList* status) {
  return transport::bind(control, queue, header, useCallLock, g_firstContact, status);
}

void* sendBound(const Send& send, void* args, ZQStatusList* status, int* replyCode) {
  const transport::Procedure& p = send.procedure;
  void* reply = nullptr;
  CallDescriptor d;
  d.control = send.control;
  d.stub = &p;
  d.timeout = send.timeout;
  d.timeoutMessage = send.timeoutMessage ? send.timeoutMessage : p.timeoutMessage;
  d.queue = send.queue;
  d.propertiesHeader = send.clientProperties && p.argsHeader ? p.argsHeader(args) : nullptr;
  d.continuation = p.argsHeader && p.argsHeader(args)->chunkToken != 0;
  d.args = args;
  d.result = &reply;
  d.status = status;
  const bool ok = send.useCallLock ? callServer(d) : callServerUnlocked(d);
  if (!ok || !reply) return nullptr;
  if (p.replyHeader) {
    const transport::RequestHeader* echoed = p.replyHeader(reply);
    send.control->cacheId = echoed->cacheId;
    send.control->operationTime = echoed->operationTime;
  }
  if (p.statusOf) {
    ZQStatusList* own = p.statusOf(reply);
    if (replyCode) *replyCode = returnCode(own);
    zq::mergeStatusLists(own, status, status);
  }
  transport::recordCacheId(send.control, send.queue);
  return reply;
}

int remoteStep(const Send& send, void* args, void** reply, ZQStatusList* status, int* replyCode) {
  *reply = nullptr;
  const transport::Procedure& p = send.procedure;
  transport::RequestHeader* header = p.argsHeader ? p.argsHeader(args) : nullptr;
  const int rc = bind(send.control, send.queue, header, send.useCallLock, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  *reply = sendBound(send, args, status, replyCode);
  return *reply ? returnCode(status) : ZQ_RETURN_ERROR;
}

}  // namespace zq::call
