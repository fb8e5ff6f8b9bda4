// The thread context look-up and the checks of the frame, for callers that
// build calls of their own.
#include "frame/frame.h"

extern "C" {

ZQThreadContext* ZQGetThreadContext(ZQControlStruct* control, ZQStatusList* status) {
  return zq::findContext(control, status);
}

int ZQCheckControl(ZQControlStruct* control, ZQStatusList* status) {
  return zq::checkControl(control, status);
}

int ZQCheckName(const char* name, ZQBoolean emptyAllowed, ZQStatusList* status) {
  return zq::checkName(name, emptyAllowed != 0, status);
}

int ZQCheckControlAndName(ZQControlStruct* control, const char* name, ZQBoolean emptyAllowed,
                          ZQStatusList* status) {
  return zq::checkControlAndName(control, name, emptyAllowed != 0, status);
}

int ZQCheckControlAndNames(ZQControlStruct* control, const char* requiredName,
                           const char* optionalName, ZQStatusList* status) {
  return zq::checkControlAndNames(control, requiredName, optionalName, status);
}

size_t ZQServerTextLength(const char* text) { return zq::serverTextLength(text); }

}  // extern "C"
