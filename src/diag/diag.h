// What diagnostics offer the layers above: the command and result records of
// a call, the trace-log epilogue and the server-log capture, the logs'
// lifecycle, and the per-context state behind ZQSetLogging. Other
// subsystems include this header only.
#pragma once

#include "diag/commands.h"
#include "diag/hooks.h"
#include "diag/lifecycle.h"
#include "diag/record.h"
#include "diag/record_admin.h"
#include "diag/state.h"
