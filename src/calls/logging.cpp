// ZQStartRecording, ZQStopRecording and ZQSetLogging.
#include "call/call.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "zqapi/zq_diag.h"

namespace zq::calls {
namespace {

// Logging belongs to one control record: without one there is nothing to
// switch (the frame would otherwise take the thread's current context).
bool refusedWithoutControl(ZQControlStruct* control, ZQStatusList* status, int& rc) {
  if (control || !status) return false;
  clearStatus(status);
  addError(status, kMsgBadContext);
  rc = ZQ_RETURN_FATAL;
  return true;
}

}  // namespace
}  // namespace zq::calls

using namespace zq;

extern "C" {

int ZQStartRecording(ZQControlStruct* control, const char* commandFile, const char* resultFile,
                     ZQStatusList* status) {
  int rc;
  if (calls::refusedWithoutControl(control, status, rc)) return rc;
  call::Frame call(control, status);
  if (!call) return call.rc();
  return diag::openLogs(call.context(), commandFile, resultFile);
}

int ZQStopRecording(ZQControlStruct* control, ZQStatusList* status) {
  int rc;
  if (calls::refusedWithoutControl(control, status, rc)) return rc;
  call::Frame call(control, status);
  if (!call) return call.rc();
  diag::closeLogs(call.context());
  call.context()->loggingFlags = 0;
  return ZQ_RETURN_OK;
}

int ZQSetLogging(ZQControlStruct* control, uint32_t logTypeMask, uint32_t destination, FILE* file,
                 ZQStatusList* status) {
  int rc;
  if (calls::refusedWithoutControl(control, status, rc)) return rc;
  call::Frame call(control, status);
  if (!call) return call.rc();
  diag::DiagState* st = diag::stateOf(call.context());
  if (!st) return call.fail(kMsgNoMemory);
  call.context()->serverLogMask = logTypeMask;
  st->serverLogDestination = destination;
  st->serverLogFile = file;
  return ZQ_RETURN_OK;
}

}  // extern "C"
