// What the session calls need from the transport.
#pragma once

#include "frame/context.h"

namespace zq::transport {

// Creates the context's RPC runtime state; false when it cannot.
bool createRuntime(ZQThreadContext* ctx);
// Ends every server session the context opened (procedure 47 per binding)
// and releases the connection caches. Messages are discarded.
void endSessions(ZQControlStruct* control, ZQThreadContext* ctx);
// Releases the reply records and the runtime state.
void releaseContext(ZQThreadContext* ctx);

}  // namespace zq::transport
