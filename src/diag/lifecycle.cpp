#include "diag/lifecycle.h"

#include "frame/alloc.h"

namespace zq::diag {

// Until the log writers exist, recording remembers the file names only.
int startRecording(ZQThreadContext* ctx, const char* commandFile, const char* resultFile,
                   ZQStatusList*) {
  ctx->recordCommandFile = commandFile ? commandFile : "zqapicmd.log";
  ctx->recordResultFile = resultFile ? resultFile : "zqapires.log";
  ctx->traceOn = true;
  return ZQ_RETURN_OK;
}

void traceInitialization(ZQThreadContext*, ZQControlStruct*, ZQStatusList*) {}
void traceTerminationStart(ZQThreadContext*, ZQControlStruct*) {}
void traceTerminationEnd(ZQThreadContext*, ZQStatusList*) {}

void releaseContext(ZQThreadContext* ctx) {
  ctx->traceOn = false;
  ctx->recordCommandFile.clear();
  ctx->recordResultFile.clear();
  ctx->diag.reset();
}

}  // namespace zq::diag
