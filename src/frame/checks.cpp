// Control record and name checks that every call runs before any work.
#include <cstring>
#include <string>

#include "frame/context.h"
#include "frame/status.h"
#include "platform/charset.h"

namespace {

// A fixed-width field without its terminator counts as too long, so that no
// check ever reads past the field.
bool fieldTooLong(const char* field, size_t width, size_t max) {
  if (!memchr(field, '\0', width)) return true;
  return ZQServerTextLength(field) > max;
}

}  // namespace

extern "C" {

size_t ZQServerTextLength(const char* text) {
  ZQThreadContext* ctx = zq::currentContext();
  if (!text || !ctx) return 0;
  size_t len = strlen(text);
  if (ctx->clientCharset == ctx->serverCharset) return len;
  std::string converted;
  switch (zq::platform::convert(ctx->clientCharset, ctx->serverCharset, text, len, converted)) {
    case zq::platform::ConvertResult::ok:
      return converted.size() > len ? converted.size() : len;
    case zq::platform::ConvertResult::noMemory:
      return 3 * len + 1;  // makes any length check fail
    default:
      // Text the server cannot take is counted as raw bytes; the wire
      // encoding reports the conversion failure itself.
      return len;
  }
}

int ZQCheckControl(ZQControlStruct* control, ZQStatusList* status) {
  ZQThreadContext* ctx = ZQGetThreadContext(control, status);
  if (!ctx) return ZQ_RETURN_FATAL;
  if (!control || (control->user[0] == '\0' && !ctx->userNameSource))
    return zq::addError(status, zq::kMsgUserRequired);
  if (fieldTooLong(control->user, sizeof control->user, 254))
    return zq::addError(status, zq::kMsgTooLong, "User");
  if (fieldTooLong(control->password, sizeof control->password, 30))
    return zq::addError(status, zq::kMsgTooLong, "Password");
  if (fieldTooLong(control->authString, sizeof control->authString, 2047))
    return zq::addError(status, zq::kMsgTooLong, "Authentication String");
  if (control->server[0] == '\0') return zq::addError(status, zq::kMsgServerRequired);
  if (!memchr(control->server, '\0', sizeof control->server))
    return zq::addError(status, zq::kMsgTooLong, "Server");
  std::string charSet(control->charSet, strnlen(control->charSet, sizeof control->charSet));
  if (!charSet.empty() && (charSet.size() == sizeof control->charSet ||
                           zq::platform::charsetId(charSet.c_str()) == zq::platform::kCharsetUnknown))
    return zq::addError(status, zq::kMsgBadCharset);
  return ZQ_RETURN_OK;
}

int ZQCheckName(const char* name, ZQBoolean emptyAllowed, ZQStatusList* status) {
  if (!name || !*name) {
    if (emptyAllowed) return ZQ_RETURN_OK;
    return zq::addError(status, zq::kMsgNameRequired);
  }
  if (ZQServerTextLength(name) > 254) return zq::addError(status, zq::kMsgTooLong);
  return ZQ_RETURN_OK;
}

int ZQCheckControlAndName(ZQControlStruct* control, const char* name, ZQBoolean emptyAllowed,
                          ZQStatusList* status) {
  int rc = ZQCheckControl(control, status);
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(name, emptyAllowed, status);
  return rc;
}

int ZQCheckControlAndNames(ZQControlStruct* control, const char* requiredName,
                           const char* optionalName, ZQStatusList* status) {
  int rc = ZQCheckControl(control, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  rc = ZQCheckName(requiredName, 0, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if (optionalName && *optionalName && ZQServerTextLength(optionalName) > 254)
    return zq::addError(status, zq::kMsgTooLong);
  return rc;
}

}  // extern "C"
