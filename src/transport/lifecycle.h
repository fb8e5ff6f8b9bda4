// What the session calls need from the transport.
#pragma once

#include "frame/frame.h"

namespace zq::transport {

// Creates the context's RPC runtime state; false when it cannot.
bool createRuntime(ZQThreadContext* ctx);
// Releases the reply records and the runtime state.
void releaseContext(ZQThreadContext* ctx);

}  // namespace zq::transport
