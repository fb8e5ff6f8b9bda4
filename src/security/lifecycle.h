// What the session calls need from the security subsystem.
#pragma once

#include "frame/context.h"

namespace zq::security {

// Loads the encryption provider once per process (9011 when incomplete) and
// prepares the context's engine state. Returns the status list's code.
int initializeContext(ZQThreadContext* ctx, ZQStatusList* status);
void releaseContext(ZQThreadContext* ctx);

}  // namespace zq::security
