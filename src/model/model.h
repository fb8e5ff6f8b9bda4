// What the model offers the rest of the library: the codec (encode, decode,
// release, deep copy and the RPC library's entry point), the status-history
// and diary text codecs, and the descriptions
// of the core values and lists and of qualifications and assignments, which
// most records hold. The descriptions of definitions, workflow actions,
// menus, the debugger and export items are model/describe.h. Other
// subsystems include these two headers only.
#pragma once

#include "model/codec.h"
#include "model/describe_core.h"
#include "model/describe_qual.h"
#include "model/history_text.h"
