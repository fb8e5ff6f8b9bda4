#include "text/qual_api.h"

#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "text/qual_checks.h"
#include "text/qual_text.h"

namespace zq::text {
namespace {

// The character-set argument decides how length fields count. The text in
// memory is in the session's client character set, so -2 (that same set)
// and every other negative value count plain bytes. The setting lives in
// the call itself: nothing of the thread's state changes, so nothing needs
// restoring on the way out.
int lengthCounterFor(const ZQThreadContext* ctx, int charset, LengthCounter& counter,
                     ZQStatusList* status) {
  counter = LengthCounter();
  if (charset < 0) return 0;
  uint32_t id = static_cast<uint32_t>(charset);
  if (!*platform::charsetName(id)) return addError(status, kMsgBadCharset);
  counter = LengthCounter(ctx->clientCharset, id);
  return 0;
}

// A decoder failure: one ERROR entry with the detail, when there is one.
int decodeFailure(ZQThreadContext* ctx, int32_t number, ZQStatusList* status) {
  return addError(status, number, ctx->detailBuffer[0] ? ctx->detailBuffer : nullptr);
}

// Text after the last separator read is ignored, with a warning giving that
// separator's offset.
void noteTrailingText(size_t consumed, size_t len, ZQStatusList* status) {
  if (consumed >= len) return;
  char offset[24];
  snprintf(offset, sizeof offset, "%zu", consumed - 1);
  addWarning(status, kMsgTrailingText, offset);
}

template <class Tree, class Check, class Encode>
int encodeTree(ZQThreadContext* ctx, int charset, const Tree* tree, bool empty, char** text,
               ZQStatusList* status, Check check, Encode encode) {
  if (!tree || empty) return ZQ_RETURN_OK;
  LengthCounter counter;
  if (int rc = lengthCounterFor(ctx, charset, counter, status)) return rc;
  if (int rc = check(tree, status); rc >= ZQ_RETURN_ERROR) return rc;
  EncodeResult result = encode(tree, counter);
  if (result.error) return addError(status, result.error);
  *text = result.text;
  return returnCode(status);
}

template <class Tree, class Decode>
int decodeTree(ZQThreadContext* ctx, int charset, const char* text, Tree* out, ZQStatusList* status,
               Decode decode) {
  if (!text || !*text) return ZQ_RETURN_OK;
  LengthCounter counter;
  if (int rc = lengthCounterFor(ctx, charset, counter, status)) return rc;
  size_t len = strlen(text), consumed = 0;
  if (int32_t error = decode(text, len, counter, out, &consumed, ctx->detailBuffer))
    return decodeFailure(ctx, error, status);
  noteTrailingText(consumed, len, status);
  return returnCode(status);
}

}  // namespace

int encodeQualifier(ZQThreadContext* ctx, int charset, const ZQQualifierStruct* qual, char** text,
                    ZQStatusList* status) {
  return encodeTree(ctx, charset, qual, qual && qual->operation == ZQ_COND_OP_NONE, text, status,
                    checkQualifier, encodeQualifierText);
}

int decodeQualifier(ZQThreadContext* ctx, int charset, const char* text, ZQQualifierStruct* qual,
                    ZQStatusList* status) {
  return decodeTree(ctx, charset, text, qual, status, decodeQualifierText);
}

int encodeAssign(ZQThreadContext* ctx, int charset, const ZQAssignStruct* assign, char** text,
                 ZQStatusList* status) {
  return encodeTree(ctx, charset, assign, assign && assign->assignType == ZQ_ASSIGN_TYPE_NONE, text,
                    status, checkAssign, encodeAssignText);
}

int decodeAssign(ZQThreadContext* ctx, int charset, const char* text, ZQAssignStruct* assign,
                 ZQStatusList* status) {
  return decodeTree(ctx, charset, text, assign, status, decodeAssignText);
}

int encodeSingleValue(const ZQValueStruct* value, uint32_t* position, uint32_t limit,
                      char* buffer) {
  if (!value || !position || !buffer) return kMsgNullArgument;
  if (value->dataType > ZQ_DATA_TYPE_DISPLAY) return kMsgBadDataType;
  return encodeValueInto(value, position, limit, buffer);
}

int decodeSingleValue(const char** cursor, ZQValueStruct* value) {
  if (value) memset(value, 0, sizeof *value);
  if (!cursor || !*cursor || !value) return kMsgNullArgument;
  ZQThreadContext* ctx = currentContext();
  char* detail = ctx ? ctx->detailBuffer : nullptr;
  if (detail) detail[0] = '\0';
  size_t consumed = 0;
  int32_t error =
      decodeValueText(*cursor, strlen(*cursor), LengthCounter(), value, &consumed, detail);
  if (error) return error;
  *cursor += consumed;
  return 0;
}

}  // namespace zq::text
