#include "security/handshake_seam.h"

#include <cstdlib>
#include <cstring>

#include "frame/frame.h"
#include "security/envelope.h"
#include "security/envelope_call.h"
#include "security/errors.h"
#include "security/handshake.h"
#include "security/key_material.h"
#include "security/lifecycle.h"
#include "security/protection.h"
#include "security/provider.h"
#include "security/trace.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_security.h"

namespace zq::security {

bool providerLoaded() {
  return externalProviderLoaded();
}

bool sendThroughEnvelope(ZQThreadContext* ctx, BindingKeys* keys, bool encryptionOn, int version,
                         __rpc_client* client, uint32_t procedure, platform::XdrProc encode,
                         void* args, platform::XdrProc decode, void* reply, uint32_t timeoutSeconds,
                         int* rpcStatus) {
  if (!keys || isKeyExchangeProcedure(procedure) ||
      !envelopeApplies(encryptionOn, static_cast<uint32_t>(version), providerLoaded()))
    return false;
  if (!keys->hasKeys()) {
    ctx->rekeyNeeded = 1;
    *rpcStatus = platform::kRpcCantSend;
    return true;
  }
  int error = kOk;
  *rpcStatus = callThroughEnvelope(ctx, client, procedure, encode, args, decode, reply, *keys,
                                   timeoutSeconds, &error);
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
  if (encryptCharData(1, plain.c_str(), keys::kSourceIdentityKeyText, &text) != kOk || !text)
    return "";
  // The config file keeps one value per line; the decoder skips the breaks
  // anyway, so they go.
  std::string out;
  for (const char* p = text; *p; ++p)
    if (*p != '\n' && *p != '\r') out += *p;
  wipe(text, strlen(text));
  zq::freeBlock(text);
  return out;
}

bool unprotectSourceIdentity(const std::string& stored, std::string& plain) {
  plain.clear();
  char* text = nullptr;
  if (decryptCharData(1, stored.c_str(), keys::kSourceIdentityKeyText, &text) != kOk || !text) {
    zq::freeBlock(text);
    return false;
  }
  plain = text;
  wipe(text, strlen(text));
  zq::freeBlock(text);
  return true;
}

}  // namespace zq::security
