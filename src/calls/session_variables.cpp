// Session variables and the caller's sources of user name, authentication
// string and native authentication.
#include "call/call.h"
#include "frame/frame.h"

namespace {

// No status list is required here; a missing context is fatal.
int setSource(ZQControlStruct* control, ZQStatusList* status, auto assign) {
  ZQThreadContext* ctx = zq::findContext(control, status);
  if (!control || !ctx) return ZQ_RETURN_FATAL;
  assign(*ctx);
  return ZQ_RETURN_OK;
}

}  // namespace

extern "C" {

int ZQSetUserNameSource(ZQControlStruct* control, ZQUserNameSource source, ZQStatusList* status) {
  return setSource(control, status, [&](ZQThreadContext& c) { c.userNameSource = source; });
}

int ZQSetAuthStringSource(ZQControlStruct* control, ZQAuthStringSource source,
                          ZQStatusList* status) {
  return setSource(control, status, [&](ZQThreadContext& c) { c.authStringSource = source; });
}

int ZQSetNativeAuthenticationSource(ZQControlStruct* control,
                                    ZQNativeAuthenticationSource source, ZQStatusList* status) {
  return setSource(control, status, [&](ZQThreadContext& c) { c.nativeAuthSource = source; });
}

int ZQSetSessionVariable(ZQControlStruct* control, uint32_t variableId,
                         const ZQValueStruct* value, ZQStatusList* status) {
  zq::call::Frame call(control, status);
  if (!call) return call.rc();
  if (!value) return ZQ_RETURN_ERROR;
  return zq::setSessionVariable(*call.context(), variableId, *value);
}

int ZQGetSessionVariable(ZQControlStruct* control, uint32_t variableId, ZQValueStruct* value,
                         ZQStatusList* status) {
  zq::call::Frame call(control, status);
  if (!call) return call.rc();
  if (!value) return ZQ_RETURN_ERROR;
  return zq::getSessionVariable(*call.context(), variableId, *value, status);
}

}  // extern "C"
