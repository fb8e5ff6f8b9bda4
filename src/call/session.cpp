#include "call/session.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "call/remote.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "platform/platform.h"
#include "security/security.h"
#include "transport/transport.h"

namespace {

// Numbers the recording files of successive initializations with logging on.
uint32_t g_logFileCounter = 0;

uint32_t takeLogFileNumber() {
  std::lock_guard<std::recursive_mutex> lock(
      zq::platform::processLock(zq::platform::ProcessLock::logFileCounter));
  return g_logFileCounter++;
}

// Releases everything a context owns and forgets it.
void dismantle(ZQControlStruct* control, ZQThreadContext* ctx) {
  zq::diag::releaseContext(ctx);
  zq::transport::releaseContext(ctx);
  zq::security::releaseContext(ctx);
  if (control && control->context == ctx) control->context = nullptr;
  zq::setCurrentContext(nullptr);
  zq::destroyContext(ctx);
}

}  // namespace

namespace zq::call {
namespace {

using transport::Binding;
using transport::TransportState;
using EndSession = transport::proc::EndSession;

// Sends procedure 47 for the control record with a given cache id; with
// rebind, binds it first. Messages are discarded.
void sendEndSession(ZQControlStruct* control, uint32_t queue, bool rebind, int32_t cacheId,
                    const char* user = nullptr) {
  EndSession::Args args{};
  ZQStatusList ignored{0, nullptr};
  if (!rebind || bind(control, queue, &args.header, true, &ignored) < ZQ_RETURN_ERROR) {
    args.header.cacheId = cacheId;
    args.user = const_cast<char*>(user);
    Send send{control, EndSession::row(), queue, 1};
    send.clientProperties = user == nullptr;
    sendBound(send, &args, &ignored);
  }
  releaseStatusList(&ignored);
}

// Ends the impersonated sessions still open; the bindings get back the
// cache ids of the sessions from before, which the caller then ends.
void endImpersonations(ZQControlStruct* control, TransportState* st) {
  for (const transport::Impersonation& imp : st->impersonations) {
    if (imp.sessionCacheId == 0 || imp.impersonated.empty()) continue;
    for (auto& b :
         st->bindings[kQueueAdmin].empty() ? st->bindings[kQueueFast] : st->bindings[kQueueAdmin]) {
      if (b->server != imp.server || b->user.compare(0, transport::kMaxRealUser, imp.realUser))
        continue;
      copyName(control->user, b->user.c_str(), sizeof control->user);
      copyName(control->password, b->password.c_str(), sizeof control->password);
      copyName(control->server, b->server.c_str(), sizeof control->server);
      copyName(control->authString, b->authString.c_str(), sizeof control->authString);
      sendEndSession(control, kQueueAdmin, true, imp.sessionCacheId, imp.impersonated.c_str());
      transport::setBindingCacheIds(control->context, control, imp.earlierCacheId);
      break;
    }
  }
  st->impersonationInFlight = nullptr;
  st->impersonations.clear();
}

// Ends every server session the context opened (procedure 47 per binding)
// and releases the connection caches.
void endSessions(ZQControlStruct* control, ZQThreadContext* ctx) {
  TransportState* st =
      ctx->transport ? static_cast<TransportState*>(ctx->transport.get()) : nullptr;
  if (!st) return;
  if (ctx->cacheIdManaged) {
    if (control->cacheId != 0) sendEndSession(control, kQueueFast, true, control->cacheId);
    return;
  }
  // The bindings are replayed through the caller's record: keep its fields.
  ZQControlStruct saved;
  memcpy(&saved, control, sizeof saved);
  endImpersonations(control, st);
  for (uint32_t q = 0; q < kQueueCount; ++q) {
    while (!st->bindings[q].empty()) {
      std::unique_ptr<Binding> b = std::move(st->bindings[q].front());
      st->bindings[q].pop_front();
      if (st->current[q] == b.get()) st->current[q] = nullptr;
      control->cacheId = b->cacheId;
      copyName(control->user, b->user.c_str(), sizeof control->user);
      copyName(control->password, b->password.c_str(), sizeof control->password);
      copyName(control->server, b->server.c_str(), sizeof control->server);
      copyName(control->authString, b->authString.c_str(), sizeof control->authString);
      // Rebinding finds the record again through the caller's fields.
      st->bindings[q].push_front(std::move(b));
      Binding* binding = st->bindings[q].front().get();
      if (q == kQueueList) {
        for (int32_t id : binding->listCacheIds)
          if (id != -1) sendEndSession(control, q, true, id);
      } else if (binding->cacheId != 0) {
        sendEndSession(control, q, true, binding->cacheId);
      }
      st->bindings[q].remove_if([&](auto& x) { return x.get() == binding; });
      if (st->current[q] == binding) st->current[q] = nullptr;
    }
  }
  memcpy(control->user, saved.user, sizeof saved.user);
  memcpy(control->password, saved.password, sizeof saved.password);
  memcpy(control->server, saved.server, sizeof saved.server);
  memcpy(control->authString, saved.authString, sizeof saved.authString);
  control->cacheId = saved.cacheId;
  for (auto& s : st->servers) s->dropHandle();
}

}  // namespace
}  // namespace zq::call

namespace zq::testing {
void resetLogFileCounter() {
  std::lock_guard<std::recursive_mutex> lock(
      platform::processLock(platform::ProcessLock::logFileCounter));
  g_logFileCounter = 0;
}
}  // namespace zq::testing

namespace zq::call {

int initializeSession(ZQControlStruct* control, const char* commandFile, const char* resultFile,
                      uint8_t tracePrint, bool carryHostIdentity, ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  zq::clearStatus(status);
  if (!control) return zq::addError(status, zq::kMsgUserRequired);

  char hostIdentity[129] = {};
  if (carryHostIdentity) {
    if (zq::isLiveContext(control->context))
      memcpy(hostIdentity, control->context->clientHostIdentity, sizeof hostIdentity);
    control->context = nullptr;
  }

  ZQThreadContext* ctx = zq::createContext();
  if (!ctx) return zq::addError(status, zq::kMsgNoMemory);
  control->context = ctx;

  zq::env::parseTimeouts(getenv("ZQAPITIMEOUTS"), ctx->settings);
  ctx->settings.settingsFlag = 1;
  ctx->programPerQueue[zq::kQueueAdmin] = zq::kProgramAdmin;
  ctx->tracePrint = tracePrint;

  int rc = zq::security::initializeContext(ctx, status);
  if (rc >= ZQ_RETURN_ERROR) {
    dismantle(control, ctx);
    return rc;
  }

  zq::setCurrentContext(ctx);

  if (!zq::transport::createRuntime(ctx)) {
    rc = zq::addError(status, zq::kMsgNoRpcContext);
    dismantle(control, ctx);
    return rc;
  }

  zq::env::readEnvironment(ctx, status);
  if (ctx->loggingFlags != 0) {
    uint32_t n = takeLogFileNumber();
    char cmd[32], res[32];
    if (!commandFile && !resultFile && n != 0) {
      snprintf(cmd, sizeof cmd, "zqapicmd_%u.log", n);
      snprintf(res, sizeof res, "zqapires_%u.log", n);
      commandFile = cmd;
      resultFile = res;
    }
    rc = zq::diag::startRecording(ctx, commandFile, resultFile, status);
    if (rc >= ZQ_RETURN_ERROR) {
      dismantle(control, ctx);
      return rc;
    }
  }

  if (ctx->traceOn) {
    ctx->callControl = control;
    if (ctx->tracePrint) zq::diag::traceInitialization(ctx, control, status);
  }

  rc = zq::returnCode(status);
  if (rc >= ZQ_RETURN_ERROR) {
    dismantle(control, ctx);
    return rc;
  }
  if (carryHostIdentity && hostIdentity[0])
    memcpy(ctx->clientHostIdentity, hostIdentity, sizeof hostIdentity);
  return rc;
}

int terminateSession(ZQControlStruct* control, ZQStatusList* status) {
  if (!status) return ZQ_RETURN_OK;
  zq::clearStatus(status);
  if (!control) return ZQ_RETURN_OK;
  ZQThreadContext* ctx = findContext(control, status);
  if (!ctx) {
    releaseStatusList(status);
    return ZQ_RETURN_OK;
  }

  if (ctx->traceOn) zq::diag::traceTerminationStart(ctx, control);

  // Wait for calls that are still binding on this context, bounded by the
  // normal time-out.
  // Locks in the order binding takes them (call lock, then binding lock), so
  // that ending the sessions below can bind without inverting them.
  std::unique_lock<std::recursive_mutex> call(ctx->callLock);
  std::unique_lock<std::recursive_mutex> binding(ctx->bindingLock);
  bool waited = false;
  for (uint32_t round = 0; ctx->bindingDepth != 0 && round <= ctx->settings.timeoutNormal;
       ++round) {
    waited = true;
    binding.unlock();
    call.unlock();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    call.lock();
    binding.lock();
  }
  if (waited) std::this_thread::sleep_for(std::chrono::seconds(2));

  endSessions(control, ctx);

  if (ctx->traceOn) zq::diag::traceTerminationEnd(ctx, status);

  binding.unlock();
  call.unlock();
  if (!ctx->cacheIdManaged) dismantle(control, ctx);
  return ZQ_RETURN_OK;
}

}  // namespace zq::call
