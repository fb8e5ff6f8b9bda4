// What binding, the call wrapper, the driver and the client identity need
// from the security subsystem.
#pragma once

#include <cstdint>
#include <string>

#include "frame/context.h"
#include "platform/rpc.h"

namespace zq::transport {
struct Binding;
}

namespace zq::security {

// True when an external encryption provider is loaded (not the built-in one).
bool providerLoaded();

// Runs the key exchange for a binding whose encryption byte is on: asks the
// server for its encryption information (procedure 97), decides, and when
// the binding encrypts, agrees keys with procedures 95 and 96. A binding the
// server does not encrypt gets its encryption byte cleared. Returns the
// status list's code; on 2 or more the binding holds no keys.
int handshake(ZQThreadContext* ctx, ZQControlStruct* control, uint32_t queue,
              transport::Binding& binding, bool useCallLock, ZQStatusList* status);
// True while a key exchange runs on the context: the bindings it makes for
// its own messages leave the first-contact settings to the binding that
// started it, which asks for them once the keys exist.
bool handshakeInProgress(ZQThreadContext* ctx);
// Negotiates the keys of the current binding of a queue again (inside a
// driver run: its calls do not take the call lock).
int renegotiateKeys(ZQThreadContext* ctx, ZQControlStruct* control, uint32_t queue,
                    ZQStatusList* status);

// The call wrapper's encryption step for the current binding of the current
// queue. Returns false when the call does not use the envelope (the wrapper
// sends it as it is); otherwise the RPC status is in *rpcStatus. A binding
// without keys sets the re-key flag and fails the attempt.
bool sendThroughEnvelope(ZQThreadContext* ctx, transport::Binding* binding, int version,
                         __rpc_client* client, uint32_t procedure, platform::XdrProc encode,
                         void* args, platform::XdrProc decode, void* reply, uint32_t timeoutSeconds,
                         int* rpcStatus);
// The error of the last envelope that failed on this side of the wire, which
// the driver reports (a reply that cannot be read never passes as success);
// cleared by reading. 0 when none.
int takeEnvelopeError(ZQThreadContext* ctx);

// Enciphers and deciphers the stored API source identity.
std::string protectSourceIdentity(const std::string& plain);
bool unprotectSourceIdentity(const std::string& stored, std::string& plain);

}  // namespace zq::security
