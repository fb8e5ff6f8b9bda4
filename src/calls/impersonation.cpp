// Impersonation: ZQSetImpersonatedUser (procedure 47 ends one), and the
// ordinal export 311 that ends a user's sessions on every queue.
#include <cstring>

#include "calls/admin.h"
#include "frame/frame.h"
#include "transport/transport.h"
#include "zqapi/zq_free.h"

namespace zq::calls {
namespace {

namespace proc = transport::proc;
using transport::Impersonation;

constexpr int kFirstImpersonationVersion = 12;
constexpr uint32_t kEndTimeoutSeconds = 1;

// Ends the impersonated session on the server; false when the call failed.
// Its messages are not the caller's.
bool endImpersonatedSession(ZQControlStruct* control, const Impersonation& imp) {
  using P = proc::EndSession;
  P::Args args{};
  ZQStatusList ignored{0, nullptr};
  bool ok = false;
  if (call::bind(control, kQueueAdmin, &args.header, true, &ignored) < ZQ_RETURN_ERROR) {
    args.header.cacheId = imp.sessionCacheId;
    args.user = const_cast<char*>(imp.impersonated.c_str());
    call::Send send{control, P::row(), kQueueAdmin, kEndTimeoutSeconds};
    send.clientProperties = false;
    ok = call::sendBound(send, &args, &ignored) != nullptr;
  }
  FreeZQStatusList(&ignored, 0);
  return ok;
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQSetImpersonatedUser(ZQControlStruct* control, const char* userName, ZQStatusList* status) {
  // The caller's list keeps what it holds.
  call::Frame call(control, status, call::OnEntry::keepStatus);
  if (!call || call.refusedControl()) return call.rc();
  call.record(diag::Command::SetImpersonatedUser);
  ZQThreadContext* ctx = call.context();
  if (Impersonation* imp = transport::findImpersonation(ctx, control);
      imp && !imp->impersonated.empty()) {
    if (imp->sessionCacheId != 0 && !endImpersonatedSession(control, *imp))
      call.setRc(ZQ_RETURN_ERROR);
    control->cacheId = imp->earlierCacheId;
    transport::setBindingCacheIds(ctx, control, imp->earlierCacheId);
    transport::removeImpersonation(ctx, imp);
  }
  if (!userName || !userName[0]) return call.finish();
  if (call.rc() >= ZQ_RETURN_ERROR) return call.finish();
  // The version is the bound server's: bind when nothing is bound yet.
  ZQStatusList bindStatus{0, nullptr};
  const int bound = call::bind(control, kQueueFast, nullptr, true, &bindStatus);
  ZQMergeStatusLists(&bindStatus, status, status);
  FreeZQStatusList(&bindStatus, 0);
  if (bound >= ZQ_RETURN_ERROR) {
    call.setRc(bound);
    return call.finish();
  }
  if (protocolVersion(ctx, control) < kFirstImpersonationVersion)
    return call.finishWithError(kMsgOperationUnsupported);
  Impersonation record;
  try {
    record.server = control->server;
    record.realUser = control->user;
    record.impersonated = userName;
  } catch (...) {
    return call.finishWithError(kMsgNoMemory);
  }
  record.earlierCacheId = control->cacheId;
  if (!transport::addImpersonation(ctx, std::move(record)))
    return call.finishWithError(kMsgNoMemory);
  return call.finish();
}

int ZQEndUserSessions(ZQControlStruct* control, const char* userName, ZQStatusList* status) {
  using P = proc::EndSession;
  call::Frame call(control, status);
  if (!call) return call.rc();
  for (uint32_t queue : {kQueueAdmin, kQueueFast, kQueueList}) {
    P::Args args{};
    args.user = orEmpty(userName);
    const call::Send send{control, P::row(), queue, call.context()->settings.timeoutNormal};
    if (!call.bindAndSend(send, &args.header, &args)) return call.finish();
  }
  return call.finish();
}

}  // extern "C"
