#include "dispatch.h"

#include <rpc/rpc.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "model/codec_base.h"
#include "server.h"
#include "sessions.h"

namespace zqserver {
namespace {

// The codec converts texts only between differing character sets; the
// server speaks the client's own set, so its context converts nothing.
ZQThreadContext* codecContext() {
  static ZQThreadContext* ctx = zq::createContext();
  return ctx;
}

void dropConnection(SVCXPRT* xprt) { ::shutdown(xprt->xp_fd, SHUT_RDWR); }

}  // namespace

void dispatch(svc_req* request, SVCXPRT* xprt) {
  Server* server = Server::current();
  const uint32_t number = static_cast<uint32_t>(request->rq_proc);
  const int version = static_cast<int>(request->rq_vers);
  if (number == 0) {  // the RPC null procedure answers pings
    bool_t (*nothing)(XDR*, void*, u_int) = [](XDR*, void*, u_int) -> bool_t { return TRUE; };
    svc_sendreply(xprt, reinterpret_cast<xdrproc_t>(nothing), nullptr);
    return;
  }
  const zq::transport::Procedure* p = zq::transport::findProcedure(number);
  Handler handler = p ? handlerFor(number) : nullptr;
  if (!server || !p || !handler || !zq::transport::procedureInVersion(*p, version)) {
    svcerr_noproc(xprt);
    return;
  }
  Faults& faults = server->faults();
  faults.callsReceived++;
  faults.lastProcedure = number;
  faults.lastVersion = static_cast<uint32_t>(version);
  faults.lastProgram = static_cast<uint32_t>(request->rq_prog);
  if (Faults::take(faults.dropNext)) {
    dropConnection(xprt);
    return;
  }

  zq::model::CodecScope scope(version, codecContext());
  void* args = calloc(1, p->argsSize);
  void* reply = calloc(1, p->replySize);
  if (!args || !reply) {
    free(args);
    free(reply);
    svcerr_systemerr(xprt);
    return;
  }
  if (!svc_getargs(xprt, reinterpret_cast<xdrproc_t>(p->args), static_cast<char*>(args))) {
    // A malformed request gets an RPC error; the server keeps serving.
    p->freeArgs(args);
    free(args);
    free(reply);
    svcerr_decode(xprt);
    return;
  }
  if (Faults::take(faults.closeMidCall)) {
    dropConnection(xprt);
  } else {
    if (Faults::take(faults.delayCalls))
      std::this_thread::sleep_for(std::chrono::milliseconds(faults.delayMs.load()));
    zq::transport::RequestHeader* in = p->argsHeader ? p->argsHeader(args) : nullptr;
    zq::transport::RequestHeader* out = p->replyHeader ? p->replyHeader(reply) : nullptr;
    if (in) {
      faults.lastCacheId = in->cacheId;
      faults.lastTimeout = in->timeout;
    }
    if (in && out) server->sessions().echo(*in, *out);
    Call call{*server, *p, version, args, reply, p->statusOf ? p->statusOf(reply) : nullptr};
    if (faults.refuseProcedure.load() == number && call.status)
      ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, 123, nullptr);
    else
      handler(call);
    if (!svc_sendreply(xprt, reinterpret_cast<xdrproc_t>(p->reply), static_cast<char*>(reply)))
      dropConnection(xprt);
    else
      faults.callsAnswered++;
  }
  p->freeArgs(args);
  p->freeReply(reply);
  free(args);
  free(reply);
}

}  // namespace zqserver
