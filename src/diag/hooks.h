// What every call hands to the trace log and the server-log capture.
#pragma once

#include "frame/frame.h"

namespace zq::diag {

// "+API call" / "-API call" marker lines in the caller's server-log file; a
// failed write adds warning 8915 to status.
void serverLogMarker(ZQThreadContext* ctx, bool start, ZQStatusList* status);
// Moves the server's log text out of a reply's status list (note 8914)
// into the caller's file, as the logging settings ask.
void captureServerLog(ZQThreadContext* ctx, ZQStatusList* replyStatus, ZQStatusList* status);
// Trace-log epilogue of an exported call.
void callEpilogue(ZQThreadContext* ctx, int rc, ZQStatusList* status);
// The end of an exported call: the epilogue, then its return code.
inline int finishCall(ZQThreadContext* ctx, int rc, ZQStatusList* status) {
  callEpilogue(ctx, rc, status);
  return rc;
}

}  // namespace zq::diag
