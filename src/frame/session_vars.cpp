#include "frame/session_vars.h"

#include <cstring>
#include <string>

#include "frame/alloc.h"
#include "frame/context.h"
#include "frame/status.h"

namespace zq {
namespace {

int getString(ZQValueStruct* value, const char* text, ZQStatusList* status) {
  value->dataType = ZQ_DATA_TYPE_CHAR;
  value->u.charValue = nullptr;
  if (!text) return ZQ_RETURN_OK;
  value->u.charValue = dupString(text);
  if (!value->u.charValue) {
    addError(status, kMsgNoMemory);
    return ZQ_RETURN_ERROR;
  }
  return ZQ_RETURN_OK;
}

}  // namespace

int setSessionVariable(ZQThreadContext& context, uint32_t variableId, const ZQValueStruct& value) {
  ZQThreadContext* ctx = &context;
  Settings& s = ctx->settings;
  const uint32_t type = value.dataType;
  const bool isInt = type == ZQ_DATA_TYPE_INTEGER;
  const bool isUlong = type == ZQ_DATA_TYPE_ULONG;
  const int32_t i = value.u.integerValue;
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
      s.rpcProgram = value.u.ulongValue;
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
      s.callerWord = value.u.ulongValue;
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_MAX_RESULT_SIZE:
      if (!isUlong || value.u.ulongValue < zq::kMinMaxResultSize) return ZQ_RETURN_ERROR;
      s.maxResultSize = value.u.ulongValue;
      return ZQ_RETURN_OK;
    case ZQ_SESSVAR_CLIENT_IDENTITY:
      if (type != ZQ_DATA_TYPE_CHAR) return ZQ_RETURN_ERROR;
      if (value.u.charValue) {
        copyName(ctx->clientHostIdentity, value.u.charValue, sizeof ctx->clientHostIdentity);
        copyName(ctx->clientIdentity, value.u.charValue, sizeof ctx->clientIdentity);
      } else {
        ctx->clientIdentity[0] = '\0';
      }
      return ZQ_RETURN_OK;
    default:
      return ZQ_RETURN_ERROR;  // unknown or read-only
  }
}

int getSessionVariable(ZQThreadContext& context, uint32_t variableId, ZQValueStruct& out,
                       ZQStatusList* status) {
  ZQThreadContext* ctx = &context;
  ZQValueStruct* value = &out;
  const Settings& s = ctx->settings;
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

}  // namespace zq
