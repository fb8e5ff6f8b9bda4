#include "frame/checks.h"

#include <cstring>
#include <string>

#include "frame/context.h"
#include "frame/status.h"
#include "platform/platform.h"

namespace zq {
namespace {

// A fixed-width field without its terminator counts as too long, so that no
// check ever reads past the field.
bool fieldTooLong(const char* field, size_t width, size_t max) {
  if (!memchr(field, '\0', width)) return true;
  return serverTextLength(field) > max;
}

}  // namespace

size_t serverTextLength(const char* text) {
  ZQThreadContext* ctx = currentContext();
  if (!text || !ctx) return 0;
  size_t len = strlen(text);
  if (ctx->clientCharset == ctx->serverCharset) return len;
  std::string converted;
  switch (platform::convert(ctx->clientCharset, ctx->serverCharset, text, len, converted)) {
    case platform::ConvertResult::ok:
      return converted.size() > len ? converted.size() : len;
    case platform::ConvertResult::noMemory:
      return 3 * len + 1;  // makes any length check fail
    default:
      // Text the server cannot take is counted as raw bytes; the wire
      // encoding reports the conversion failure itself.
      return len;
  }
}

int checkControl(ZQControlStruct* control, ZQStatusList* status) {
  ZQThreadContext* ctx = findContext(control, status);
  if (!ctx) return ZQ_RETURN_FATAL;
  if (!control || (control->user[0] == '\0' && !ctx->userNameSource))
    return addError(status, kMsgUserRequired);
  if (fieldTooLong(control->user, sizeof control->user, 254))
    return addError(status, kMsgTooLong, "User");
  if (fieldTooLong(control->password, sizeof control->password, 30))
    return addError(status, kMsgTooLong, "Password");
  if (fieldTooLong(control->authString, sizeof control->authString, 2047))
    return addError(status, kMsgTooLong, "Authentication String");
  if (control->server[0] == '\0') return addError(status, kMsgServerRequired);
  if (!memchr(control->server, '\0', sizeof control->server))
    return addError(status, kMsgTooLong, "Server");
  std::string charSet(control->charSet, strnlen(control->charSet, sizeof control->charSet));
  if (!charSet.empty() && (charSet.size() == sizeof control->charSet ||
                           platform::charsetId(charSet.c_str()) == platform::kCharsetUnknown))
    return addError(status, kMsgBadCharset);
  return ZQ_RETURN_OK;
}

int checkName(const char* name, bool emptyAllowed, ZQStatusList* status) {
  if (!name || !*name) {
    if (emptyAllowed) return ZQ_RETURN_OK;
    return addError(status, kMsgNameRequired);
  }
  if (serverTextLength(name) > 254) return addError(status, kMsgTooLong);
  return ZQ_RETURN_OK;
}

int checkControlAndName(ZQControlStruct* control, const char* name, bool emptyAllowed,
                        ZQStatusList* status) {
  int rc = checkControl(control, status);
  if (rc < ZQ_RETURN_ERROR) rc = checkName(name, emptyAllowed, status);
  return rc;
}

int checkControlAndNames(ZQControlStruct* control, const char* requiredName,
                         const char* optionalName, ZQStatusList* status) {
  int rc = checkControl(control, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  rc = checkName(requiredName, false, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if (optionalName && *optionalName && serverTextLength(optionalName) > 254)
    return addError(status, kMsgTooLong);
  return rc;
}

}  // namespace zq
