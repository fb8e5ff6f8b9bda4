#include "security/lifecycle.h"

namespace zq::security {

// Without a provider there is nothing to load yet.
int initializeContext(ZQThreadContext*, ZQStatusList*) { return ZQ_RETURN_OK; }
void releaseContext(ZQThreadContext* ctx) { ctx->security.reset(); }

}  // namespace zq::security
