// The key exchange of a binding, as remote steps of the library: the
// server's encryption information (procedure 97), then the two messages of
// the exchange (95 and 96). The cryptography is security's; this sends.
#pragma once

#include <cstdint>

#include "frame/frame.h"
#include "transport/transport.h"

namespace zq::call {

// Runs the key exchange for a binding whose encryption byte is on. A
// binding the server does not encrypt gets its byte cleared. Returns the
// status list's code; on 2 or more the binding holds no keys.
int exchangeKeys(ZQThreadContext* ctx, ZQControlStruct* control, uint32_t queue,
                 transport::Binding& binding, bool useCallLock, ZQStatusList* status);
// True while a key exchange runs on the context.
bool exchangingKeys(ZQThreadContext* ctx);
// Negotiates the keys of the current binding of a queue again (inside a
// driver run: its calls do not take the call lock).
int renegotiateKeys(ZQThreadContext* ctx, ZQControlStruct* control, uint32_t queue,
                    ZQStatusList* status);

}  // namespace zq::call
