#include "transport/lifecycle.h"

namespace zq::transport {

// No connections exist yet: nothing to create, end or release.
bool createRuntime(ZQThreadContext*) { return true; }
void endSessions(ZQControlStruct*, ZQThreadContext*) {}
void releaseContext(ZQThreadContext* ctx) { ctx->transport.reset(); }

}  // namespace zq::transport
