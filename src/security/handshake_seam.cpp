#include "security/handshake_seam.h"

#include <cstdlib>
#include <cstring>

#include "call/driver.h"
#include "frame/status.h"
#include "security/envelope.h"
#include "security/envelope_call.h"
#include "security/errors.h"
#include "security/handshake.h"
#include "security/key_material.h"
#include "security/lifecycle.h"
#include "security/provider.h"
#include "security/trace.h"
#include "transport/procedures.h"
#include "transport/state.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_security.h"

namespace zq::security {
namespace {

using transport::Binding;

// A status list of its own that releases itself.
struct LocalStatus : ZQStatusList {
  LocalStatus() : ZQStatusList{0, nullptr} {}
  ~LocalStatus() { FreeZQStatusList(this, 0); }
  LocalStatus(const LocalStatus&) = delete;
  LocalStatus& operator=(const LocalStatus&) = delete;
  bool has(int32_t number) const {
    for (uint32_t i = 0; i < count; ++i)
      if (items[i].messageNumber == number) return true;
    return false;
  }
  void mergeInto(ZQStatusList* status) { ZQMergeStatusLists(this, status, status); }
};

struct DepthGuard {
  explicit DepthGuard(SecurityState* s) : state(s) { ++state->handshakeDepth; }
  ~DepthGuard() { --state->handshakeDepth; }
  SecurityState* state;
};

// One message of the exchange through the frame's remote step, on the
// binding's queue and without client properties.
int exchange(ZQControlStruct* control, uint32_t procedure, uint32_t queue, bool useCallLock,
             void* args, void** reply, ZQStatusList* status) {
  ZQThreadContext* ctx = control->context;
  const transport::Procedure* p = transport::findProcedure(procedure);
  if (!p) return addError(status, kErrHandshake);
  RemoteCall call{control, p,          queue, ctx->settings.timeoutNormal, kMsgTimeoutRetrieve,
                  false,   useCallLock};
  return callRemote(call, args, reply, status);
}

// Step 1: what the server says about encryption. A server that does not know
// the items (message 91), or that predates them, does not encrypt.
int askEncryptionInfo(ZQThreadContext* ctx, ZQControlStruct* control, uint32_t queue,
                      bool useCallLock, EncryptionInfo& info, ZQStatusList* status) {
  transport::ServerRecord* server = transport::findServer(ctx, control->server);
  if (server && server->version < static_cast<int>(kFirstKeyExchangeVersion)) return ZQ_RETURN_OK;
  uint32_t tags[4];
  memcpy(tags, kEncryptionInfoTags, sizeof tags);
  transport::ServerInfoArgs args{};
  args.settings.count = 4;
  args.settings.items = tags;
  void* reply = nullptr;
  LocalStatus local;
  int rc = exchange(control, kProcedureEncryptionInfo, queue, useCallLock, &args, &reply, &local);
  if (rc >= ZQ_RETURN_ERROR) {
    if (local.has(kMsgUnknownEncryptionInfo)) return ZQ_RETURN_OK;
    local.mergeInto(status);
    return rc;
  }
  local.mergeInto(status);
  rc = readEncryptionInfo(static_cast<transport::ServerInfoReply*>(reply)->settings, info);
  return rc == kOk ? ZQ_RETURN_OK : addError(status, rc);
}

int runExchange(ZQThreadContext* ctx, ZQEncryptStateStruct* engine, ZQControlStruct* control,
                uint32_t queue, Binding& binding, bool useCallLock, ZQStatusList* status) {
  EncryptionInfo info;
  int rc = askEncryptionInfo(ctx, control, queue, useCallLock, info, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  bool encrypt = false;
  rc = decideEncryption(info, engine, control->server, status, encrypt);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if (!encrypt) {
    binding.encryptionOn = false;
    return returnCode(status);
  }

  binding.encryptionOn = true;
  ClientKeyExchange keys(engine);
  transport::KeyHelloArgs hello{};
  if ((rc = keys.start(hello.clientRandom)) != kOk) return addError(status, rc);
  void* reply = nullptr;
  rc = exchange(control, kProcedureKeyHello, queue, useCallLock, &hello, &reply, status);
  wipe(hello.clientRandom, sizeof hello.clientRandom);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  keys.acceptHello(static_cast<transport::KeyHelloReply*>(reply)->serverRandom);

  Buffer secret;
  transport::KeyTransferArgs transfer{};
  if ((rc = keys.keyTransfer(info, secret, transfer.verifier)) != kOk) return addError(status, rc);
  transfer.secretLength = static_cast<uint32_t>(secret.size());
  transfer.secret = secret.data();
  rc = exchange(control, kProcedureKeyTransfer, queue, useCallLock, &transfer, &reply, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  auto* answer = static_cast<transport::KeyTransferReply*>(reply);
  if ((rc = keys.finish(answer->block, answer->blockLength, binding.keys)) != kOk)
    return addError(status, rc, control->server);
  return returnCode(status);
}

}  // namespace

bool providerLoaded() {
  return externalProviderLoaded();
}

bool handshakeInProgress(ZQThreadContext* ctx) {
  SecurityState* s = stateOf(ctx);
  return s && s->handshakeDepth > 0;
}

int handshake(ZQThreadContext* ctx, ZQControlStruct* control, uint32_t queue, Binding& binding,
              bool useCallLock, ZQStatusList* status) {
  SecurityState* state = stateOf(ctx);
  if (!state || !control) return addError(status, kErrHandshake);
  DepthGuard depth(state);
  trace::line(trace::kEntry, "-->KeyExchange %s\n", control->server);
  binding.keys.release();
  int rc = runExchange(ctx, &state->engine, control, queue, binding, useCallLock, status);
  if (rc >= ZQ_RETURN_ERROR) {
    binding.keys.release();
    trace::line(trace::kFailures, "-->KeyExchange Failed:(%d)\n",
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
  return handshake(ctx, control, resolved, *binding, false, status);
}

bool sendThroughEnvelope(ZQThreadContext* ctx, Binding* binding, int version, __rpc_client* client,
                         uint32_t procedure, platform::XdrProc encode, void* args,
                         platform::XdrProc decode, void* reply, uint32_t timeoutSeconds,
                         int* rpcStatus) {
  if (!binding || isKeyExchangeProcedure(procedure) ||
      !envelopeApplies(binding->encryptionOn, static_cast<uint32_t>(version), providerLoaded()))
    return false;
  if (!binding->keys.hasKeys()) {
    ctx->rekeyNeeded = 1;
    *rpcStatus = platform::kRpcCantSend;
    return true;
  }
  int error = kOk;
  *rpcStatus = callThroughEnvelope(ctx, client, procedure, encode, args, decode, reply,
                                   binding->keys, timeoutSeconds, &error);
  if (error != kOk)
    if (SecurityState* s = stateOf(ctx)) s->envelopeError = error;
  return true;
}

int takeEnvelopeError(ZQThreadContext* ctx) {
  SecurityState* s = stateOf(ctx);
  if (!s) return kOk;
  int error = s->envelopeError;
  s->envelopeError = kOk;
  return error;
}

std::string protectSourceIdentity(const std::string& plain) {
  char* text = nullptr;
  if (EncryptCharData(1, plain.c_str(), keys::kSourceIdentityKeyText, &text) != kOk || !text)
    return "";
  // The config file keeps one value per line; the decoder skips the breaks
  // anyway, so they go.
  std::string out;
  for (const char* p = text; *p; ++p)
    if (*p != '\n' && *p != '\r') out += *p;
  wipe(text, strlen(text));
  ZQFree(text);
  return out;
}

bool unprotectSourceIdentity(const std::string& stored, std::string& plain) {
  plain.clear();
  char* text = nullptr;
  if (DecryptCharData(1, stored.c_str(), keys::kSourceIdentityKeyText, &text) != kOk || !text) {
    ZQFree(text);
    return false;
  }
  plain = text;
  wipe(text, strlen(text));
  ZQFree(text);
  return true;
}

}  // namespace zq::security
