// What binding, the call wrapper and the driver need from the security
// subsystem.
#pragma once

#include <cstdint>
#include <string>

#include "frame/context.h"

namespace zq::transport {
struct Binding;
}

namespace zq::security {

// True when an external encryption provider is loaded.
bool providerLoaded();
// Runs the key exchange for a new binding (encryption byte on). Returns the
// status list's code; a binding the server does not encrypt gets its
// encryption byte cleared.
int handshake(ZQThreadContext* ctx, ZQControlStruct* control, uint32_t queue,
              transport::Binding& binding, bool useCallLock, ZQStatusList* status);
// Negotiates the keys of the current binding of a queue again.
int renegotiateKeys(ZQThreadContext* ctx, ZQControlStruct* control, uint32_t queue,
                    ZQStatusList* status);
// Protects the password for the request header into out (121 bytes):
// the legacy scramble keyed with operationTime below version 12, the
// cipher text from 12 on.
void protectHeaderPassword(const char* password, int32_t operationTime, bool cipher, char out[121]);
// Enciphers and deciphers the stored API source identity.
std::string protectSourceIdentity(const std::string& plain);
bool unprotectSourceIdentity(const std::string& stored, std::string& plain);

}  // namespace zq::security
