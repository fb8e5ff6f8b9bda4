// Session variables: the parts of a thread context a caller may read and set.
#include <cstring>

#include "frame/alloc.h"
#include "frame/context.h"
#include "frame/status.h"

namespace {

// Common start of the session calls: status list, then the context.
ZQThreadContext* enter(ZQControlStruct* control, ZQStatusList* status, int& rc) {
  if (!status) {
    rc = ZQ_RETURN_BAD_STATUS;
    return nullptr;
  }
  zq::clearStatus(status);
  ZQThreadContext* ctx = ZQGetThreadContext(control, status);
  rc = ctx ? ZQ_RETURN_OK : ZQ_RETURN_FATAL;
  return ctx;
}

int setSource(ZQControlStruct* control, ZQStatusList* status, auto assign) {
  // No status list is required here; a missing context is fatal.
  ZQThreadContext* ctx = ZQGetThreadContext(control, status);
  if (!control || !ctx) return ZQ_RETURN_FATAL;
  assign(*ctx);
  return ZQ_RETURN_OK;
}

int getString(ZQValueStruct* value, const char* text, ZQStatusList* status) {
  value->dataType = ZQ_DATA_TYPE_CHAR;
  value->u.charValue = nullptr;
  if (!text) return ZQ_RETURN_OK;
  value->u.charValue = zq::dupString(text);
  if (!value->u.charValue) {
    zq::addError(status, zq::kMsgNoMemory);
    return ZQ_RETURN_ERROR;
  }
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
  int rc;
  ZQThreadContext* ctx = enter(control, status, rc);
  if (!ctx) return rc;
  if (!value) return ZQ_RETURN_ERROR;
  zq::Settings& s = ctx->settings;
  const uint32_t type = value->dataType;
  const bool isInt = type == ZQ_DATA_TYPE_INTEGER;
  const bool isUlong = type == ZQ_DATA_TYPE_ULONG;
  const int32_t i = value->u.integerValue;
  switch (variableId) {
    case ZQ_SESSVAR_RESPONSE_SIZE:
      if (!isInt) return ZQ_RETURN_ERROR;
      s.responseSize = static_cast<uint32_t>(i);
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_TIMEOUT_NORMAL:
      if (!isInt) return ZQ_RETURN_ERROR;
      s.timeoutNormal = static_cast<uint32_t>(i);
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_TIMEOUT_LONG:
      if (!isInt) return ZQ_RETURN_ERROR;
      s.timeoutLong = static_cast<uint32_t>(i);
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_TIMEOUT_XLONG:
      if (!isInt) return ZQ_RETURN_ERROR;
      s.timeoutExtraLong = static_cast<uint32_t>(i);
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_RPC_PROGRAM:
      if (!isUlong) return ZQ_RETURN_ERROR;
      s.rpcProgram = value->u.ulongValue;
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_CACHE_ID_MANAGED:
      if (!isInt) return ZQ_RETURN_ERROR;
      ctx->cacheIdManaged = static_cast<uint8_t>(i);
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_CLIENT_TYPE:
      if (!isInt) return ZQ_RETURN_ERROR;
      s.clientType = i;
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_CLIENT_OPTION:
      if (!isInt) return ZQ_RETURN_ERROR;
      s.clientOption = i;
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_HEADER_FLAG:
      if (!isInt || (i != 0 && i != 1)) return ZQ_RETURN_ERROR;
      s.headerFlag = i;
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_SETTINGS_FLAG:
      if (!isInt) return ZQ_RETURN_ERROR;
      s.settingsFlag = static_cast<uint8_t>(i);
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_LAST_MATCH_COUNT:
      if (!isInt) return ZQ_RETURN_ERROR;
      ctx->lastMatchCount = static_cast<uint32_t>(i);
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_PROGRAM_GIVEN:
      if (!isInt) return ZQ_RETURN_ERROR;
      s.programGiven = i != 0;
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_CALLER_WORD:
      if (!isUlong) return ZQ_RETURN_ERROR;
      s.callerWord = value->u.ulongValue;
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_MAX_RESULT_SIZE:
      if (!isUlong || value->u.ulongValue < zq::kMinMaxResultSize) return ZQ_RETURN_ERROR;
      s.maxResultSize = value->u.ulongValue;
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_CLIENT_IDENTITY:
      if (type != ZQ_DATA_TYPE_CHAR) return ZQ_RETURN_ERROR;
      if (value->u.charValue) {
        zq::copyName(ctx->clientHostIdentity, value->u.charValue, sizeof ctx->clientHostIdentity);
        zq::copyName(ctx->clientIdentity, value->u.charValue, sizeof ctx->clientIdentity);
      } else {
        ctx->clientIdentity[0] = '\0';
      }
      return ZQ_RETURN_OK;
    default:
      return ZQ_RETURN_ERROR;  // unknown or read-only
  }
}

int ZQGetSessionVariable(ZQControlStruct* control, uint32_t variableId, ZQValueStruct* value,
                         ZQStatusList* status) {
  int rc;
  ZQThreadContext* ctx = enter(control, status, rc);
  if (!ctx) return rc;
  if (!value) return ZQ_RETURN_ERROR;
  const zq::Settings& s = ctx->settings;
  auto setInt = [&](int32_t v) {
    value->dataType = ZQ_DATA_TYPE_INTEGER;
    value->u.integerValue = v;
    return ZQ_RETURN_OK;
  };
  auto recordName = [](const std::string& name) { return name.empty() ? nullptr : name.c_str(); };
  switch (variableId) {
    case ZQ_SESSVAR_RESPONSE_SIZE: return setInt(static_cast<int32_t>(s.responseSize));
    case ZQ_SESSVAR_TIMEOUT_NORMAL: return setInt(static_cast<int32_t>(s.timeoutNormal));
    case ZQ_SESSVAR_TIMEOUT_LONG: return setInt(static_cast<int32_t>(s.timeoutLong));
    case ZQ_SESSVAR_TIMEOUT_XLONG: return setInt(static_cast<int32_t>(s.timeoutExtraLong));
    case ZQ_SESSVAR_RPC_PROGRAM:
      value->dataType = ZQ_DATA_TYPE_ULONG;
      value->u.ulongValue = s.rpcProgram;
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_CACHE_ID_MANAGED: return setInt(ctx->cacheIdManaged);
    case ZQ_SESSVAR_CLIENT_TYPE: return setInt(s.clientType);
    case ZQ_SESSVAR_CLIENT_OPTION: return setInt(s.clientOption);
    case ZQ_SESSVAR_HEADER_FLAG: return setInt(s.headerFlag);
    case ZQ_SESSVAR_RECORDING_COMMAND_FILE:
      return getString(value, recordName(ctx->recordCommandFile), status);
    case ZQ_SESSVAR_RECORDING_RESULT_FILE:
      return getString(value, recordName(ctx->recordResultFile), status);
    case ZQ_SESSVAR_SETTINGS_FLAG: return setInt(s.settingsFlag);
    case ZQ_SESSVAR_LAST_MATCH_COUNT: return setInt(static_cast<int32_t>(ctx->lastMatchCount));
    case ZQ_SESSVAR_EMPTY_TEXT: return getString(value, "", status);
    case ZQ_SESSVAR_PROGRAM_GIVEN: return setInt(s.programGiven ? 1 : 0);
    case ZQ_SESSVAR_CALLER_WORD:
      // Reported under data type 64, as callers of this variable expect.
      value->dataType = 64;
      value->u.ulongValue = s.callerWord;
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_CLIENT_IDENTITY: return getString(value, ctx->clientIdentity, status);
    case ZQ_SESSVAR_MAX_RESULT_SIZE:
      value->dataType = ZQ_DATA_TYPE_ULONG;
      value->u.ulongValue = s.maxResultSize;
      return ZQ_RETURN_OK;
    default: return ZQ_RETURN_ERROR;
  }
}

}  // extern "C"
