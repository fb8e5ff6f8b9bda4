#include "dispatch.h"

#include <rpc/rpc.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "model/codec_base.h"
#include "security/envelope.h"
#include "security/envelope_call.h"
#include "security/password.h"
#include "transport/records_entries.h"
#include "transport/translation.h"
#include "server.h"
#include "server_log.h"
#include "access.h"
#include "administration.h"
#include "debugger.h"
#include "pending_call.h"
#include "rpc_message.h"
#include "running_calls.h"
#include "sessions.h"

namespace zqserver {
namespace {

// The codec converts texts only between differing character sets; the
// server speaks the client's own set, so its context converts nothing. The
// codec keeps counters in the context: each thread that encodes (the
// workers and the calls running aside) has its own.
// A decode that failed half-way (out of memory) may leave the context's
// counters unbalanced: the thread's next call starts on a fresh one.
thread_local bool tCodecContextSuspect = false;

ZQThreadContext* codecContext() {
  struct Owned {
    ZQThreadContext* ctx = zq::createContext();
    ~Owned() { zq::destroyContext(ctx); }
  };
  thread_local Owned owned;
  if (tCodecContextSuspect) {
    tCodecContextSuspect = false;
    zq::destroyContext(owned.ctx);
    owned.ctx = zq::createContext();
  }
  return owned.ctx;
}

// An older server cannot read a value of a type its version lacks in the
// field values of an entry change: such a request is undecodable, never
// stored as if the type were known.
bool valueTypesKnown(const zq::transport::Procedure& p, const void* args, int version) {
  namespace t = zq::transport;
  const ZQFieldValueList* values = nullptr;
  switch (p.number) {
    case t::proc::SetEntry::number:
      values = &static_cast<const t::SetEntryArgs*>(args)->values;
      break;
    case t::proc::CreateEntry::number:
      values = &static_cast<const t::CreateEntryArgs*>(args)->values;
      break;
    case t::proc::MergeEntry::number:
      values = &static_cast<const t::MergeEntryArgs*>(args)->values;
      break;
    default:
      return true;
  }
  for (uint32_t i = 0; values->items && i < values->count; ++i)
    if (t::firstVersionOfDataType(values->items[i].value.dataType) > version) return false;
  return true;
}

// A reply no client can read: a header followed by a list count far larger
// than the bytes that follow.
bool_t garbage(XDR* xdrs, void*, u_int) {
  uint32_t words[8] = {1, 2, 0, 0, 0, 0, 0xFFFFFFF0u, 7};
  for (uint32_t& w : words)
    if (!xdr_u_int(xdrs, &w)) return FALSE;
  return TRUE;
}

// The request-header password as the server recovers it, kept with the
// session (tests read it back).
std::string recordPassword(Server& server, const zq::transport::RequestHeader& in, int32_t cacheId,
                           int version) {
  Sessions::Password seen;
  seen.received = in.password ? in.password : "";
  seen.version = version;
  // Clients send the same protected text call after call: recover it once.
  // (Callers hold the handler lock.)
  static Sessions::Password last;
  static int32_t lastTime = 0;
  const bool legacy = version < 12;
  if (seen.received == last.received && version == last.version &&
      (!legacy || in.operationTime == lastTime)) {
    seen = last;
  } else {
    char plain[ZQ_MAX_PASSWORD_LENGTH + 1] = {};
    seen.rc = zq::security::recoverHeaderPassword(seen.received.c_str(), in.operationTime,
                                                  static_cast<uint32_t>(version), plain);
    seen.plain = plain;
    explicit_bzero(plain, sizeof plain);
    last = seen;
    lastTime = in.operationTime;
  }
  std::string plain = seen.rc == 0 ? seen.plain : std::string();
  server.sessions().notePassword(cacheId, std::move(seen));
  return plain;
}

bool failed(const ZQStatusList* status) {
  return status && status->count && status->items[0].messageType >= ZQ_MESSAGE_ERROR;
}

// Runs one call of a program and version the server serves.
void dispatchCall(Server* server, std::shared_ptr<Exchange> exchange) {
  Exchange* ex = exchange.get();
  const uint32_t wireNumber = ex->call().procedure;
  const int version = static_cast<int>(ex->call().version);
  if (wireNumber == 0) {  // the RPC null procedure answers pings
    bool_t (*nothing)(XDR*, void*, u_int) = [](XDR*, void*, u_int) -> bool_t { return TRUE; };
    ex->sendReply(reinterpret_cast<xdrproc_t>(nothing), nullptr);
    return;
  }
  // Bit 0x8000: the call comes in the encrypted envelope.
  const bool enveloped = zq::security::isEnvelopeProcedure(wireNumber);
  const uint32_t number = zq::security::innerProcedure(wireNumber);
  const bool keyExchange = zq::security::isKeyExchangeProcedure(number);
  // A procedure the server does not serve (or not in this version) is
  // answered as the protocol answers an unavailable procedure.
  const zq::transport::Procedure* p = zq::transport::findProcedure(number);
  Handler handler = p && p->described() ? handlers().find(number) : nullptr;
  if (!server || !handler || !zq::transport::procedureInVersion(*p, version) ||
      (enveloped && keyExchange)) {
    ex->errNoProc();
    return;
  }
  Faults& faults = server->faults();
  // Tests count the calls of the API; the key exchange has counters of its own.
  if (keyExchange)
    faults.keyExchangeCalls++;
  else
    faults.callsReceived++;
  faults.lastProcedure = number;
  faults.lastVersion = static_cast<uint32_t>(version);
  faults.lastProgram = ex->call().program;
  if (const uint32_t highest = faults.highestVersion;
      highest && static_cast<uint32_t>(version) > highest) {
    ex->errProgVers(std::min<uint32_t>(7, highest), highest);
    return;
  }
  if (Faults::take(faults.dropNext)) {
    ex->drop();
    return;
  }

  zq::model::CodecScope scope(version, codecContext());
  // The pending call owns both records from here: every return releases them.
  auto pending = std::make_unique<PendingCall>();
  pending->procedure = p;
  void* args = pending->args = calloc(1, p->argsSize);
  void* reply = pending->reply = calloc(1, p->replySize);
  if (!args || !reply) {
    ex->errSystem();
    return;
  }
  uint64_t keySet = 0;
  if (enveloped) {
    if (!receiveEnvelope(*server, *ex, *p, args, keySet)) {
      tCodecContextSuspect = true;
      return;
    }
  } else if (!ex->getArgs(reinterpret_cast<xdrproc_t>(p->args), args)) {
    // A malformed request gets an RPC error; the server keeps serving.
    tCodecContextSuspect = true;
    ex->errDecode();
    return;
  }
  if (!valueTypesKnown(*p, args, version)) {
    ex->errDecode();
    return;
  }
  // Decoded outside it: from here the call works on shared state.
  HandlerLock handlerLock(*server);
  // Credentials: a call in the clear where encryption is required, and the
  // injected refusals. The key exchange always passes.
  if (!keyExchange) {
    auth_stat refusal = AUTH_OK;
    if (Faults::take(faults.badCredentials))
      refusal = AUTH_BADCRED;
    else if (!enveloped && (server->crypto().policy() == ZQ_SECURITY_POLICY_REQUIRED ||
                            Faults::take(faults.demandEncryption)))
      refusal = AUTH_TOOWEAK;
    if (refusal != AUTH_OK) {
      ex->errAuth(refusal);
      return;
    }
  }
  // Changes that may be sent again after a lost reply go through the
  // duplicate-request cache (calls in the clear only).
  DuplicateCache::Key key;
  const bool cacheable = !enveloped && p->timeoutMessage == zq::kMsgTimeoutChange &&
                         DuplicateCache::keyOf(*p, args, version, ex, key);
  std::string cached;
  if (Faults::take(faults.closeMidCall)) {
    ex->drop();
    return;
  }
  if (cacheable && server->duplicates().find(key, cached)) {
    if (sendEncodedReply(*ex, cached))
      faults.callsAnswered++;
    else
      ex->drop();
    return;
  }
  {
    const zq::transport::RequestHeader* header = p->argsHeader ? p->argsHeader(args) : nullptr;
    server->duplicates().acknowledge(ex, header);
  }
  // A delayed call holds only its own connection.
  if (Faults::take(faults.delayCalls)) {
    handlerLock.unlock();
    std::this_thread::sleep_for(std::chrono::milliseconds(faults.delayMs.load()));
    handlerLock.lock();
  }
  pending->server = server;
  pending->version = version;
  pending->exchange = std::move(exchange);
  pending->enveloped = enveloped;
  pending->keySet = keySet;
  pending->admitted = true;
  pending->cacheable = cacheable;
  if (cacheable) pending->duplicateKey = std::move(key);
  zq::transport::RequestHeader* in = p->argsHeader ? p->argsHeader(args) : nullptr;
  zq::transport::RequestHeader* out = p->replyHeader ? p->replyHeader(reply) : nullptr;
  if (in) {
    faults.lastCacheId = in->cacheId;
    faults.lastTimeout = in->timeout;
  }
  std::string password;
  if (in && out) {
    if (server->sessions().echo(*in, *out, faults.renewCacheIdPerChunk, impersonatedUserOf(*in)))
      server->administration().count(kStatSessionsOpened);
    password = recordPassword(*server, *in, out->cacheId, version);
  }
  // Every call with a request header is authenticated (the key exchange
  // and the private-context calls have their own rules).
  if (in && !keyExchange) {
    Call check{*server, *p, version, args, reply, p->statusOf ? p->statusOf(reply) : nullptr};
    pending->admitted = admit(check, *in, password);
    pending->principal = check.principal;
  }
  explicit_bzero(password.data(), password.size());
  if (pending->admitted && (runsAside(number) || server->debugger().runsAside(*p)))
    return server->runAside(std::move(pending));
  completeCall(*pending);
}

}  // namespace

void serve(Server& server, std::shared_ptr<Exchange> exchange) {
  // A record that is no call ends its connection.
  if (!exchange->parse()) return exchange->drop();
  const CallHeader& call = exchange->call();
  if (call.credentials != AUTH_OK) return exchange->errAuth(call.credentials);
  const Options& options = server.options();
  const auto& programs = options.programs;
  if (std::find(programs.begin(), programs.end(), call.program) == programs.end())
    return exchange->errNoProg();
  if (call.version < static_cast<uint32_t>(options.minVersion) ||
      call.version > static_cast<uint32_t>(options.maxVersion))
    return exchange->errProgVers(static_cast<uint32_t>(options.minVersion),
                                 static_cast<uint32_t>(options.maxVersion));
  dispatchCall(&server, std::move(exchange));
}

PendingCall::~PendingCall() {
  if (procedure) {
    if (args) procedure->freeArgs(args);
    if (reply) procedure->freeReply(reply);
  }
  free(args);
  free(reply);
}

int PendingCall::fd() const {
  return exchange ? exchange->fd() : -1;
}

bool runsAside(uint32_t procedure) {
  switch (procedure) {
    case 59:   // SQL
    case 61:   // processes
    case 116:  // SQL of active links
    case 117:  // processes of active links
    case 182:  // waits for cache events
      return true;
    default:
      return false;
  }
}

void completeCall(PendingCall& pending) {
  Server& server = *pending.server;
  const zq::transport::Procedure& p = *pending.procedure;
  Faults& faults = server.faults();
  void* args = pending.args;
  void* reply = pending.reply;
  zq::model::CodecScope scope(pending.version, codecContext());
  zq::transport::RequestHeader* in = p.argsHeader ? p.argsHeader(args) : nullptr;
  zq::transport::RequestHeader* out = p.replyHeader ? p.replyHeader(reply) : nullptr;
  Call call{
      server,           p, pending.version, args, reply, p.statusOf ? p.statusOf(reply) : nullptr,
      pending.principal};
  if (pending.admitted) {
    if (faults.refuseProcedure.load() == p.number && call.status) {
      ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, zq::kMsgUnknownServerSetting, nullptr);
    } else {
      Handler handler = handlers().find(p.number);
      // A call that another may cancel (procedure 81) registers under the
      // session its reply carries.
      std::shared_ptr<CallControl> control;
      if (out) control = server.running().enter(out->cacheId, call.principal.realUser);
      if (control) {
        control->procedure = p.number;
        control->fd = pending.fd();
      }
      {
        CurrentCall current(control.get());
        std::unique_lock<std::mutex> store;
        if (!server.debugger().holdStore(p, store)) {
          if (call.status)
            ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, zq::kMsgWfdStoreHeld, nullptr);
        } else if (handler) {
          handler(call);
        }
      }
      if (control) server.running().leave(control);
    }
  }
  if (in && out && in->responseSize && out->lastChunk &&
      Faults::take(faults.chunksWithoutToken)) {
    out->lastChunk = 0;
    out->chunkToken = 0;
  }
  server.administration().countCall(p.number, failed(call.status));
  if (in && out) server.sessions().noteExchange(p.number, *in, *out);
  addServerLog(call);
  // A refused change changed nothing: sent again it runs again (a client
  // that retries after fixing the cause must not get the old refusal).
  if (pending.cacheable && !failed(call.status))
    server.duplicates().remember(pending.duplicateKey, encodeReply(p, reply));
  const bool lose = Faults::take(faults.loseReplies);
  const bool garble = !lose && Faults::take(faults.garbleReplies);
  auto replyProc =
      garble ? reinterpret_cast<xdrproc_t>(garbage) : reinterpret_cast<xdrproc_t>(p.reply);
  Exchange& ex = *pending.exchange;
  const bool asClaimed = Faults::take(faults.answerLayoutAfter);
  const uint32_t layout = asClaimed ? 0 : faults.answerLayout.load();
  zq::model::CodecScope answerScope(layout ? static_cast<int>(layout) : pending.version,
                                    codecContext());
  const bool sent = !lose && (pending.enveloped && !garble
                                  ? answerEnvelope(server, ex, p, reply, pending.keySet)
                                  : ex.sendReply(replyProc, reply));
  if (!sent)
    ex.drop();
  else
    faults.callsAnswered++;
}

}  // namespace zqserver
