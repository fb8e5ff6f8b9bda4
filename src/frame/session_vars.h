// Session variables: the parts of a thread context a caller may read and set.
#pragma once

#include <cstdint>

#include "frame/context.h"

namespace zq {

// Stores a variable after checking its data type: 0, or 2 (no message) for
// an unknown or read-only variable or a wrong data type.
int setSessionVariable(ZQThreadContext& ctx, uint32_t variableId, const ZQValueStruct& value);
// Fills the data type and the value (texts duplicated: 154 when memory runs
// out); 2 without a message for an unknown variable.
int getSessionVariable(ZQThreadContext& ctx, uint32_t variableId, ZQValueStruct& value,
                       ZQStatusList* status);

}  // namespace zq
