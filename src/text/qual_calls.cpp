// The exported encode and decode calls of qualifications and assignments,
// and the single-value exports (ordinals 847 and 848).
#include <cstdio>
#include <cstring>

#include "diag/record.h"
#include "frame/context.h"
#include "diag/hooks.h"
#include "frame/status.h"
#include "platform/charset.h"
#include "text/qual_checks.h"
#include "text/qual_entry.h"
#include "text/qual_text.h"
#include "zqapi/zq_text.h"

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

template <class Tree, class Check, class Encode, class Record>
int encodeCall(ZQControlStruct* control, int charset, const Tree* tree, bool empty, char** text,
               ZQStatusList* status, Check check, Encode encode, Record record) {
  if (text) *text = nullptr;
  ZQThreadContext* ctx;
  if (int rc = openTextCall(control, status, ctx)) return rc;
  ctx->detailBuffer[0] = '\0';
  if (!text) return addError(status, kMsgMissingOutput);
  record(ctx);
  auto work = [&]() -> int {
    if (!tree || empty) return ZQ_RETURN_OK;
    LengthCounter counter;
    if (int rc = lengthCounterFor(ctx, charset, counter, status)) return rc;
    if (int rc = check(tree, status); rc >= ZQ_RETURN_ERROR) return rc;
    EncodeResult result = encode(tree, counter);
    if (result.error) return addError(status, result.error);
    *text = result.text;
    return returnCode(status);
  };
  const int rc = work();
  diag::outputs(ctx, text);
  return diag::finishCall(ctx, rc, status);
}

template <class Tree, class Decode>
int decodeCall(ZQControlStruct* control, int charset, const char* text, Tree* out,
               ZQStatusList* status, Decode decode, diag::Command command) {
  ZQThreadContext* ctx;
  if (int rc = openTextCall(control, status, ctx)) return rc;
  ctx->detailBuffer[0] = '\0';
  if (!out) return addError(status, kMsgMissingOutput);
  diag::command(ctx, control, command, diag::LongText{text});
  auto work = [&]() -> int {
    if (!text || !*text) return ZQ_RETURN_OK;
    LengthCounter counter;
    if (int rc = lengthCounterFor(ctx, charset, counter, status)) return rc;
    size_t len = strlen(text), consumed = 0;
    if (int32_t error = decode(text, len, counter, out, &consumed, ctx->detailBuffer))
      return decodeFailure(ctx, error, status);
    noteTrailingText(consumed, len, status);
    return returnCode(status);
  };
  const int rc = work();
  diag::outputs(ctx, out);
  return diag::finishCall(ctx, rc, status);
}

}  // namespace
}  // namespace zq::text

using namespace zq::text;

extern "C" {

int ZQEncodeZQQualifierStructC(ZQControlStruct* control, int charset, const ZQQualifierStruct* qual,
                               char** text, ZQStatusList* status) {
  return encodeCall(control, charset, qual, qual && qual->operation == ZQ_COND_OP_NONE, text,
                    status, checkQualifier, encodeQualifierText, [&](ZQThreadContext* ctx) {
                      zq::diag::command(ctx, control, zq::diag::Command::EncodeZQQualifierStruct,
                                        qual);
                    });
}

int ZQEncodeZQQualifierStruct(ZQControlStruct* control, const ZQQualifierStruct* qual, char** text,
                              ZQStatusList* status) {
  return ZQEncodeZQQualifierStructC(control, kCharsetOfSession, qual, text, status);
}

int ZQDecodeZQQualifierStructC(ZQControlStruct* control, int charset, const char* text,
                               ZQQualifierStruct* qual, ZQStatusList* status) {
  if (qual) qual->operation = ZQ_COND_OP_NONE;
  return decodeCall(control, charset, text, qual, status, decodeQualifierText,
                    zq::diag::Command::DecodeZQQualifierStruct);
}

int ZQDecodeZQQualifierStruct(ZQControlStruct* control, const char* text, ZQQualifierStruct* qual,
                              ZQStatusList* status) {
  return ZQDecodeZQQualifierStructC(control, kCharsetOfSession, text, qual, status);
}

int ZQEncodeZQAssignStructC(ZQControlStruct* control, int charset, const ZQAssignStruct* assign,
                            char** text, ZQStatusList* status) {
  // An assignment has no recorded argument form: the command line names the call only.
  return encodeCall(control, charset, assign, assign && assign->assignType == ZQ_ASSIGN_TYPE_NONE,
                    text, status, checkAssign, encodeAssignText, [&](ZQThreadContext* ctx) {
                      zq::diag::command(ctx, control, zq::diag::Command::EncodeZQAssignStruct);
                    });
}

int ZQEncodeZQAssignStruct(ZQControlStruct* control, const ZQAssignStruct* assign, char** text,
                           ZQStatusList* status) {
  return ZQEncodeZQAssignStructC(control, kCharsetOfSession, assign, text, status);
}

int ZQDecodeZQAssignStructC(ZQControlStruct* control, int charset, const char* text,
                            ZQAssignStruct* assign, ZQStatusList* status) {
  if (assign) assign->assignType = ZQ_ASSIGN_TYPE_NONE;
  return decodeCall(control, charset, text, assign, status, decodeAssignText,
                    zq::diag::Command::DecodeZQAssignStruct);
}

int ZQDecodeZQAssignStruct(ZQControlStruct* control, const char* text, ZQAssignStruct* assign,
                           ZQStatusList* status) {
  return ZQDecodeZQAssignStructC(control, kCharsetOfSession, text, assign, status);
}

int ZQEncodeValueText(const ZQValueStruct* value, uint32_t* position, uint32_t limit,
                      char* buffer) {
  if (!value || !position || !buffer) return zq::kMsgNullArgument;
  if (value->dataType > ZQ_DATA_TYPE_DISPLAY) return zq::kMsgBadDataType;
  return encodeValueInto(value, position, limit, buffer);
}

int ZQDecodeValueText(const char** cursor, ZQValueStruct* value) {
  if (value) memset(value, 0, sizeof *value);
  if (!cursor || !*cursor || !value) return zq::kMsgNullArgument;
  ZQThreadContext* ctx = zq::currentContext();
  char* detail = ctx ? ctx->detailBuffer : nullptr;
  if (detail) detail[0] = '\0';
  size_t consumed = 0;
  int32_t error =
      decodeValueText(*cursor, strlen(*cursor), LengthCounter(), value, &consumed, detail);
  if (error) return error;
  *cursor += consumed;
  return 0;
}

}  // extern "C"
