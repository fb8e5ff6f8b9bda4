// What the transport offers the layers above it: the procedure table with
// its records, the per-context caches (servers, bindings, options), binding
// a control record, the call wrapper and the runtime's lifecycle. The wire
// descriptions of the records are transport/describe.h. Other subsystems
// include these two headers only.
#pragma once

#include "transport/binding.h"
#include "transport/lifecycle.h"
#include "transport/procedures.h"
#include "transport/state.h"
#include "transport/translation.h"
#include "transport/wrapper.h"
