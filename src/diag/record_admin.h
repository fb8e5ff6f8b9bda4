// Command-record lines of the administration arguments (zq_admin.h), in the
// building blocks of the recording: counts, then each item's lines.
#pragma once

#include <cstring>
#include <string>

#include "diag/record.h"
#include "zqapi/zq_admin.h"

namespace zq::diag {

inline void writeArg(CommandWriter& w, const ZQServerInfoList* l) {
  const uint32_t n = l && l->items ? l->count : 0;
  w.u32(n);
  for (uint32_t i = 0; i < n; ++i) {
    w.u32(l->items[i].operation);
    w.value(&l->items[i].value);
  }
}
inline void writeArg(CommandWriter& w, const ZQFullTextInfoRequestList* l) {
  w.unsignedList(l ? l->count : 0, l ? l->items : nullptr);
}
inline void writeArg(CommandWriter& w, const ZQFullTextInfoList* l) {
  const uint32_t n = l && l->items ? l->count : 0;
  w.u32(n);
  for (uint32_t i = 0; i < n; ++i) {
    const ZQFullTextInfoStruct& item = l->items[i];
    w.u32(item.infoType);
    if (item.infoType == ZQ_FULLTEXT_STOPWORD)
      w.valueList(&item.u.valueList);
    else
      w.value(&item.u.value);
  }
}
inline void writeArg(CommandWriter& w, const ZQSignalList* l) {
  const uint32_t n = l && l->items ? l->count : 0;
  w.u32(n);
  for (uint32_t i = 0; i < n; ++i) {
    w.u32(l->items[i].type);
    w.name(l->items[i].argument);
  }
}
inline void writeArg(CommandWriter& w, const ZQLocalizedRequestStruct* r) {
  if (!r) return w.name(nullptr);
  w.name(std::string(r->name, strnlen(r->name, sizeof r->name)).c_str());
  w.u32(r->messageType);
  w.u32(r->index);
}
inline void writeArg(CommandWriter& w, const ZQLocalizedRequestList* l) {
  const uint32_t n = l && l->items ? l->count : 0;
  w.u32(n);
  for (uint32_t i = 0; i < n; ++i) writeArg(w, &l->items[i]);
}
inline void writeArg(CommandWriter& w, const ZQTimestampList* l) {
  const uint32_t n = l && l->items ? l->count : 0;
  w.u32(n);
  for (uint32_t i = 0; i < n; ++i) w.i32(l->items[i]);
}
inline void writeArg(CommandWriter& w, const ZQReferenceTypeList* l) {
  const uint32_t n = l && l->items ? l->count : 0;
  w.u32(n);
  for (uint32_t i = 0; i < n; ++i) w.i32(l->items[i]);
}
inline void writeArg(CommandWriter& w, const ZQCompoundSchema* s) {
  if (!s) return w.u32(ZQ_SCHEMA_NONE);
  w.u32(s->schemaType);
  switch (s->schemaType) {
    case ZQ_SCHEMA_VIEW:
      w.name(std::string(s->u.view.viewTableName,
                         strnlen(s->u.view.viewTableName, sizeof s->u.view.viewTableName))
                 .c_str());
      break;
    case ZQ_SCHEMA_VENDOR:
      w.name(std::string(s->u.vendor.vendorName,
                         strnlen(s->u.vendor.vendorName, sizeof s->u.vendor.vendorName))
                 .c_str());
      w.name(std::string(s->u.vendor.vendorTableName,
                         strnlen(s->u.vendor.vendorTableName, sizeof s->u.vendor.vendorTableName))
                 .c_str());
      break;
    default:
      break;
  }
}

}  // namespace zq::diag
