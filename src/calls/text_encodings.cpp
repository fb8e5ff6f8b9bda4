// The text encodings as exported calls: qualifications and assignments
// (with and without a character-set argument), status histories, diaries,
// and one value by ordinal (847 and 848). They run in the calling thread's
// context but never bind a server.
#include "call/call.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "model/model.h"
#include "text/text.h"
#include "zqapi/zq_text.h"

namespace {

using zq::call::Frame;
namespace diag = zq::diag;
namespace text = zq::text;

// Output cleared, frame entered, the detail buffer emptied, an output
// present, the command recorded, then the encoder; its text is the result.
template <class Tree, class Record, class Encode>
int encodeCall(ZQControlStruct* control, const Tree* tree, char** out, ZQStatusList* status,
               Record record, Encode encode) {
  if (out) *out = nullptr;
  Frame call(control, status);
  if (!call) return call.rc();
  call.context()->detailBuffer[0] = '\0';
  if (!out) return call.fail(zq::kMsgMissingOutput);
  record(call);
  call.setRc(encode(call.context(), tree, out, status));
  return call.finish(out);
}

template <class Tree, class Decode>
int decodeCall(ZQControlStruct* control, const char* in, Tree* out, ZQStatusList* status,
               diag::Command command, Decode decode) {
  Frame call(control, status);
  if (!call) return call.rc();
  call.context()->detailBuffer[0] = '\0';
  if (!out) return call.fail(zq::kMsgMissingOutput);
  call.record(command, diag::LongText{in});
  call.setRc(decode(call.context(), in, out, status));
  return call.finish(out);
}

int encodeQualifier(ZQControlStruct* control, int charset, const ZQQualifierStruct* qual,
                    char** out, ZQStatusList* status) {
  return encodeCall(
      control, qual, out, status,
      [&](Frame& call) { call.record(diag::Command::EncodeZQQualifierStruct, qual); },
      [charset](ZQThreadContext* ctx, const ZQQualifierStruct* q, char** t, ZQStatusList* s) {
        return text::encodeQualifier(ctx, charset, q, t, s);
      });
}

int decodeQualifier(ZQControlStruct* control, int charset, const char* in, ZQQualifierStruct* qual,
                    ZQStatusList* status) {
  if (qual) qual->operation = ZQ_COND_OP_NONE;
  return decodeCall(
      control, in, qual, status, diag::Command::DecodeZQQualifierStruct,
      [charset](ZQThreadContext* ctx, const char* t, ZQQualifierStruct* q, ZQStatusList* s) {
        return text::decodeQualifier(ctx, charset, t, q, s);
      });
}

int encodeAssign(ZQControlStruct* control, int charset, const ZQAssignStruct* assign, char** out,
                 ZQStatusList* status) {
  // An assignment has no recorded argument form: the command line names the call only.
  return encodeCall(
      control, assign, out, status,
      [](Frame& call) { call.record(diag::Command::EncodeZQAssignStruct); },
      [charset](ZQThreadContext* ctx, const ZQAssignStruct* a, char** t, ZQStatusList* s) {
        return text::encodeAssign(ctx, charset, a, t, s);
      });
}

int decodeAssign(ZQControlStruct* control, int charset, const char* in, ZQAssignStruct* assign,
                 ZQStatusList* status) {
  if (assign) assign->assignType = ZQ_ASSIGN_TYPE_NONE;
  return decodeCall(
      control, in, assign, status, diag::Command::DecodeZQAssignStruct,
      [charset](ZQThreadContext* ctx, const char* t, ZQAssignStruct* a, ZQStatusList* s) {
        return text::decodeAssign(ctx, charset, t, a, s);
      });
}

}  // namespace

extern "C" {

int ZQEncodeZQQualifierStructC(ZQControlStruct* control, int charset, const ZQQualifierStruct* qual,
                               char** text, ZQStatusList* status) {
  return encodeQualifier(control, charset, qual, text, status);
}

int ZQEncodeZQQualifierStruct(ZQControlStruct* control, const ZQQualifierStruct* qual, char** text,
                              ZQStatusList* status) {
  return encodeQualifier(control, zq::text::kCharsetOfSession, qual, text, status);
}

int ZQDecodeZQQualifierStructC(ZQControlStruct* control, int charset, const char* text,
                               ZQQualifierStruct* qual, ZQStatusList* status) {
  return decodeQualifier(control, charset, text, qual, status);
}

int ZQDecodeZQQualifierStruct(ZQControlStruct* control, const char* text, ZQQualifierStruct* qual,
                              ZQStatusList* status) {
  return decodeQualifier(control, zq::text::kCharsetOfSession, text, qual, status);
}

int ZQEncodeZQAssignStructC(ZQControlStruct* control, int charset, const ZQAssignStruct* assign,
                            char** text, ZQStatusList* status) {
  return encodeAssign(control, charset, assign, text, status);
}

int ZQEncodeZQAssignStruct(ZQControlStruct* control, const ZQAssignStruct* assign, char** text,
                           ZQStatusList* status) {
  return encodeAssign(control, zq::text::kCharsetOfSession, assign, text, status);
}

int ZQDecodeZQAssignStructC(ZQControlStruct* control, int charset, const char* text,
                            ZQAssignStruct* assign, ZQStatusList* status) {
  return decodeAssign(control, charset, text, assign, status);
}

int ZQDecodeZQAssignStruct(ZQControlStruct* control, const char* text, ZQAssignStruct* assign,
                           ZQStatusList* status) {
  return decodeAssign(control, zq::text::kCharsetOfSession, text, assign, status);
}

int ZQEncodeStatusHistory(ZQControlStruct* control, const ZQStatusHistoryList* list, char** text,
                          ZQStatusList* status) {
  if (text) *text = nullptr;
  Frame call(control, status);
  if (!call) return call.rc();
  if (!text) return call.fail(zq::kMsgMissingOutput);
  call.record(diag::Command::EncodeStatusHistory, list);
  call.setRc(zq::model::encodeStatusHistory(list, text, status));
  return call.finish(text);
}

int ZQDecodeStatusHistory(ZQControlStruct* control, const char* text, ZQStatusHistoryList* list,
                          ZQStatusList* status) {
  if (list) *list = ZQStatusHistoryList{};
  Frame call(control, status);
  if (!call) return call.rc();
  if (!list) return call.fail(zq::kMsgMissingOutput);
  call.record(diag::Command::DecodeStatusHistory);
  call.setRc(zq::model::decodeStatusHistory(text, list, status));
  return call.finish(list);
}

int ZQEncodeDiary(ZQControlStruct* control, const ZQDiaryList* list, char** text,
                  ZQStatusList* status) {
  if (text) *text = nullptr;
  Frame call(control, status);
  if (!call) return call.rc();
  if (!text) return call.fail(zq::kMsgMissingOutput);
  call.record(diag::Command::EncodeDiary, list);
  call.setRc(zq::model::encodeDiary(list, text, status));
  return call.finish(text);
}

int ZQDecodeDiary(ZQControlStruct* control, const char* text, ZQDiaryList* list,
                  ZQStatusList* status) {
  if (list) *list = ZQDiaryList{};
  Frame call(control, status);
  if (!call) return call.rc();
  if (!list) return call.fail(zq::kMsgMissingOutput);
  call.record(diag::Command::DecodeDiary);
  call.setRc(zq::model::decodeDiary(text, list, status));
  return call.finish(list);
}

int ZQEncodeValueText(const ZQValueStruct* value, uint32_t* position, uint32_t limit,
                      char* buffer) {
  return zq::text::encodeSingleValue(value, position, limit, buffer);
}

int ZQDecodeValueText(const char** cursor, ZQValueStruct* value) {
  return zq::text::decodeSingleValue(cursor, value);
}

}  // extern "C"
