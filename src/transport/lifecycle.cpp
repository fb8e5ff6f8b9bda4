#include "transport/lifecycle.h"

#include "transport/state.h"
#include "transport/wrapper.h"

namespace zq::transport {
// libtirpc needs no per-context runtime; the transport state is created on
// first use.
bool createRuntime(ZQThreadContext*) { return true; }

void releaseContext(ZQThreadContext* ctx) {
  releaseResultSlots(ctx);
  ctx->transport.reset();
}

}  // namespace zq::transport
