// Session start and stop, and the client identity the session sends.
#include "calls/session.h"

#include "call/call.h"
#include "frame/frame.h"

extern "C" {

int ZQInitialization(ZQControlStruct* control, ZQStatusList* status) {
  return zq::call::initializeSession(control, nullptr, nullptr, 1, false, status);
}

int ZQInitializationWithLogs(ZQControlStruct* control, const char* commandFile,
                             const char* resultFile, ZQBoolean tracePrint,
                             ZQStatusList* status) {
  return zq::call::initializeSession(control, commandFile, resultFile, tracePrint, true, status);
}

int ZQTermination(ZQControlStruct* control, ZQStatusList* status) {
  return zq::call::terminateSession(control, status);
}

int ZQGetClientIdentity(ZQControlStruct* control, char** identity, ZQStatusList* status) {
  // The arguments are checked before the context is looked up.
  if (!status) return ZQ_RETURN_BAD_STATUS;
  zq::clearStatus(status);
  if (!control || !identity) return zq::addError(status, zq::kMsgNullArgument);
  zq::call::Frame call(control, status, zq::call::OnEntry::keepStatus);
  if (!call) return call.rc();
  *identity = zq::dupString(zq::clientIdentity(call.context(), control).c_str());
  if (!*identity) return zq::addError(status, zq::kMsgCopyNoMemory);
  return ZQ_RETURN_OK;
}

}  // extern "C"
