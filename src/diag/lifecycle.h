// What the session calls need from the trace log and the recording.
#pragma once

#include "frame/context.h"

namespace zq::diag {

// Opens the command and result logs (null names: the defaults).
int startRecording(ZQThreadContext* ctx, const char* commandFile, const char* resultFile,
                   ZQStatusList* status);
// Trace-log entries of the session calls.
void traceInitialization(ZQThreadContext* ctx, ZQControlStruct* control, ZQStatusList* status);
void traceTerminationStart(ZQThreadContext* ctx, ZQControlStruct* control);
void traceTerminationEnd(ZQThreadContext* ctx, ZQStatusList* status);
// Closes every file and releases the diagnostics state.
void releaseContext(ZQThreadContext* ctx);

}  // namespace zq::diag
