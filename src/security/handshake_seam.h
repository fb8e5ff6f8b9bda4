// What the call wrapper, the driver and the client identity need from the
// security subsystem.
#pragma once

#include <cstdint>
#include <string>

#include "frame/frame.h"
#include "platform/platform.h"
#include "security/handshake.h"

namespace zq::security {

// True when an external encryption provider is loaded (not the built-in one).
bool providerLoaded();

// The call wrapper's encryption step with the keys of the current binding
// of the current queue (null when nothing is bound). Returns false when the call does not use the envelope (the wrapper
// sends it as it is); otherwise the RPC status is in *rpcStatus. A binding
// without keys sets the re-key flag and fails the attempt.
bool sendThroughEnvelope(ZQThreadContext* ctx, BindingKeys* keys, bool encryptionOn, int version,
                         __rpc_client* client, uint32_t procedure, platform::XdrProc encode,
                         void* args, platform::XdrProc decode, void* reply,
                         uint32_t timeoutSeconds, int* rpcStatus);
// The error of the last envelope that failed on this side of the wire, which
// the driver reports (a reply that cannot be read never passes as success);
// cleared by reading. 0 when none.
int takeEnvelopeError(ZQThreadContext* ctx);

// Enciphers and deciphers the stored API source identity.
std::string protectSourceIdentity(const std::string& plain);
bool unprotectSourceIdentity(const std::string& stored, std::string& plain);

}  // namespace zq::security
