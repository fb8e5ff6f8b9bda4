// What the session calls need from the trace log and the recording.
#pragma once

#include "frame/frame.h"

namespace zq::diag {

// Opens the command and result logs (null names: the defaults) in append
// mode and switches logging on; files already open stay. 2 when a file cannot
// be opened (what this call opened is closed again), else 0. No status entry.
int openLogs(ZQThreadContext* ctx, const char* commandFile, const char* resultFile);
// Switches logging off and closes both files.
void closeLogs(ZQThreadContext* ctx);

// Initialization's recording start: openLogs, with warning kMsgLogFileOpen when the
// files cannot be opened (the session then goes on without logging).
int startRecording(ZQThreadContext* ctx, const char* commandFile, const char* resultFile,
                   ZQStatusList* status);
// Trace-log entries of the session calls.
void traceInitialization(ZQThreadContext* ctx, ZQControlStruct* control, ZQStatusList* status);
void traceTerminationStart(ZQThreadContext* ctx, ZQControlStruct* control);
void traceTerminationEnd(ZQThreadContext* ctx, ZQStatusList* status);
// Closes every file and releases the diagnostics state.
void releaseContext(ZQThreadContext* ctx);

}  // namespace zq::diag
