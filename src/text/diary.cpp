// ZQEncodeDiary and ZQDecodeDiary: the exported calls around the diary
// text codec of model/history_text.h.
#include "diag/record.h"
#include "frame/alloc.h"
#include "diag/hooks.h"
#include "frame/status.h"
#include "model/history_text.h"
#include "text/qual_entry.h"
#include "zqapi/zq_text.h"

extern "C" {

int ZQEncodeDiary(ZQControlStruct* control, const ZQDiaryList* list, char** text,
                  ZQStatusList* status) {
  if (text) *text = nullptr;
  ZQThreadContext* ctx;
  if (int rc = zq::text::openTextCall(control, status, ctx)) return rc;
  if (!text) return zq::addError(status, zq::kMsgMissingOutput);
  zq::diag::command(ctx, control, zq::diag::Command::EncodeDiary, list);
  const int rc = zq::model::encodeDiary(list, text, status);
  zq::diag::outputs(ctx, text);
  return zq::diag::finishCall(ctx, rc, status);
}

int ZQDecodeDiary(ZQControlStruct* control, const char* text, ZQDiaryList* list,
                  ZQStatusList* status) {
  if (list) {
    list->count = 0;
    list->items = nullptr;
  }
  ZQThreadContext* ctx;
  if (int rc = zq::text::openTextCall(control, status, ctx)) return rc;
  if (!list) return zq::addError(status, zq::kMsgMissingOutput);
  zq::diag::command(ctx, control, zq::diag::Command::DecodeDiary);
  const int rc = zq::model::decodeDiary(text, list, status);
  zq::diag::outputs(ctx, list);
  return zq::diag::finishCall(ctx, rc, status);
}

}  // extern "C"
