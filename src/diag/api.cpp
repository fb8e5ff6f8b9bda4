// ZQStartRecording, ZQStopRecording and ZQSetLogging.
#include "diag/lifecycle.h"
#include "diag/state.h"
#include "call/driver.h"
#include "frame/status.h"
#include "zqapi/zq_diag.h"

namespace {

// Logging belongs to one control record: without one there is nothing to
// switch (the frame would otherwise take the thread's current context).
zq::CallEntry enterLogging(ZQControlStruct* control, ZQStatusList* status) {
  if (!control && status) {
    zq::clearStatus(status);
    zq::CallEntry e;
    zq::addError(status, zq::kMsgBadContext);
    e.rc = ZQ_RETURN_FATAL;
    return e;
  }
  return zq::enterCall(control, status);
}

}  // namespace

extern "C" {

int ZQStartRecording(ZQControlStruct* control, const char* commandFile, const char* resultFile,
                     ZQStatusList* status) {
  zq::CallEntry e = enterLogging(control, status);
  if (!e.ok()) return e.rc;
  return zq::diag::openLogs(e.ctx, commandFile, resultFile);
}

int ZQStopRecording(ZQControlStruct* control, ZQStatusList* status) {
  zq::CallEntry e = enterLogging(control, status);
  if (!e.ok()) return e.rc;
  zq::diag::closeLogs(e.ctx);
  e.ctx->loggingFlags = 0;
  return ZQ_RETURN_OK;
}

int ZQSetLogging(ZQControlStruct* control, uint32_t logTypeMask, uint32_t destination, FILE* file,
                 ZQStatusList* status) {
  zq::CallEntry e = enterLogging(control, status);
  if (!e.ok()) return e.rc;
  zq::diag::DiagState* st = zq::diag::stateOf(e.ctx);
  if (!st) return zq::addError(status, zq::kMsgNoMemory);
  e.ctx->serverLogMask = logTypeMask;
  st->serverLogDestination = destination;
  st->serverLogFile = file;
  return ZQ_RETURN_OK;
}

}  // extern "C"
