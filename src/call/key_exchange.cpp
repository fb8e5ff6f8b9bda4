#include "call/key_exchange.h"

#include <cstring>

#include "call/remote.h"
#include "frame/frame.h"
#include "security/security.h"
#include "transport/transport.h"
#include "zqapi/zq_free.h"

namespace zq::call {
namespace {

using security::SecurityState;
using transport::Binding;

// A status list of its own that releases itself.
struct LocalStatus : ZQStatusList {
  LocalStatus() : ZQStatusList{0, nullptr} {}
  ~LocalStatus() { zq::releaseStatusList(this); }
  LocalStatus(const LocalStatus&) = delete;
  LocalStatus& operator=(const LocalStatus&) = delete;
  bool has(int32_t number) const {
    for (uint32_t i = 0; i < count; ++i)
      if (items[i].messageNumber == number) return true;
    return false;
  }
  void mergeInto(ZQStatusList* status) { zq::mergeStatusLists(this, status, status); }
};

struct DepthGuard {
  explicit DepthGuard(SecurityState* s) : state(s) { ++state->handshakeDepth; }
  ~DepthGuard() { --state->handshakeDepth; }
  SecurityState* state;
};

// One message of the exchange, on the binding's queue and without client
// properties.
template <class P>
typename P::Reply* exchange(ZQControlStruct* control, uint32_t queue, bool useCallLock,
                            typename P::Args& args, int& rc, ZQStatusList* status) {
  ZQThreadContext* ctx = control->context;
  const Send send{control, P::row(),   queue, ctx->settings.timeoutNormal, kMsgTimeoutRetrieve,
                  false,   useCallLock};
  void* reply = nullptr;
  rc = remoteStep(send, &args, &reply, status);
  return static_cast<typename P::Reply*>(reply);
}

// Step 1: what the server says about encryption. A server that does not know
// the items (message 91), or that predates them, does not encrypt.
int askEncryptionInfo(ZQThreadContext* ctx, ZQControlStruct* control, uint32_t queue,
                      bool useCallLock, security::EncryptionInfo& info, ZQStatusList* status) {
  transport::ServerRecord* server = transport::findServer(ctx, control->server);
  if (server && server->version < static_cast<int>(security::kFirstKeyExchangeVersion))
    return ZQ_RETURN_OK;
  uint32_t tags[4];
  memcpy(tags, security::kEncryptionInfoTags, sizeof tags);
  transport::proc::EncryptionInfo::Args args{};
  args.settings.count = 4;
  args.settings.items = tags;
  LocalStatus local;
  int rc = ZQ_RETURN_OK;
  auto* reply =
      exchange<transport::proc::EncryptionInfo>(control, queue, useCallLock, args, rc, &local);
  if (rc >= ZQ_RETURN_ERROR) {
    if (local.has(security::kMsgUnknownEncryptionInfo)) return ZQ_RETURN_OK;
    local.mergeInto(status);
    return rc;
  }
  local.mergeInto(status);
  rc = security::readEncryptionInfo(reply->settings, info);
  return rc == security::kOk ? ZQ_RETURN_OK : addError(status, rc);
}

int runExchange(ZQThreadContext* ctx, ZQEncryptStateStruct* engine, ZQControlStruct* control,
                uint32_t queue, Binding& binding, bool useCallLock, ZQStatusList* status) {
  security::EncryptionInfo info;
  int rc = askEncryptionInfo(ctx, control, queue, useCallLock, info, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  bool encrypt = false;
  rc = security::decideEncryption(info, engine, control->server, status, encrypt);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if (!encrypt) {
    binding.encryptionOn = false;
    return returnCode(status);
  }

  binding.encryptionOn = true;
  security::ClientKeyExchange keys(engine);
  transport::proc::KeyHello::Args hello{};
  if ((rc = keys.start(hello.clientRandom)) != security::kOk) return addError(status, rc);
  auto* helloReply =
      exchange<transport::proc::KeyHello>(control, queue, useCallLock, hello, rc, status);
  security::wipe(hello.clientRandom, sizeof hello.clientRandom);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  keys.acceptHello(helloReply->serverRandom);

  security::Buffer secret;
  transport::proc::KeyTransfer::Args transfer{};
  if ((rc = keys.keyTransfer(info, secret, transfer.verifier)) != security::kOk)
    return addError(status, rc);
  transfer.secretLength = static_cast<uint32_t>(secret.size());
  transfer.secret = secret.data();
  auto* answer =
      exchange<transport::proc::KeyTransfer>(control, queue, useCallLock, transfer, rc, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if ((rc = keys.finish(answer->block, answer->blockLength, binding.keys)) != security::kOk)
    return addError(status, rc, control->server);
  return returnCode(status);
}

}  // namespace

bool exchangingKeys(ZQThreadContext* ctx) {
  SecurityState* s = security::stateOf(ctx);
  return s && s->handshakeDepth > 0;
}

int exchangeKeys(ZQThreadContext* ctx, ZQControlStruct* control, uint32_t queue, Binding& binding,
                 bool useCallLock, ZQStatusList* status) {
  SecurityState* state = security::stateOf(ctx);
  if (!state || !control) return addError(status, kMsgHandshakeFailed);
  DepthGuard depth(state);
  security::trace::line(security::trace::kEntry, "-->KeyExchange %s\n", control->server);
  binding.keys.release();
  int rc = runExchange(ctx, &state->engine, control, queue, binding, useCallLock, status);
  if (rc >= ZQ_RETURN_ERROR) {
    binding.keys.release();
    security::trace::line(security::trace::kFailures, "-->KeyExchange Failed:(%d)\n",
                          status && status->count ? status->items[0].messageNumber : 0);
  }
  return rc;
}

int renegotiateKeys(ZQThreadContext* ctx, ZQControlStruct* control, uint32_t queue,
                    ZQStatusList* status) {
  transport::TransportState* st = transport::stateOf(ctx);
  if (!st) return addError(status, kMsgNoMemory);
  transport::ServerRecord* server = transport::findServer(ctx, control->server);
  const uint32_t resolved = server ? transport::resolveQueue(ctx, server, queue) : queue;
  Binding* binding = st->current[resolved];
  if (!binding) return ZQ_RETURN_OK;  // nothing bound: the retry binds afresh
  return exchangeKeys(ctx, control, resolved, *binding, false, status);
}

}  // namespace zq::call
