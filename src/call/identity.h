// The client identity sent as client property 2.
#pragma once

#include <string>

#include "frame/frame.h"

namespace zq {

// The context's client identity, created on first use: the installation's
// API source identity, else the client host identity.
std::string clientIdentity(ZQThreadContext* ctx, ZQControlStruct* control);
// The same text where the context keeps it (valid while the context lives).
const char* clientIdentityText(ZQThreadContext* ctx, ZQControlStruct* control);

}  // namespace zq
