// Status-history text: encoding and decoding, without the call frame.
#include "text/history.h"

#include <cstdio>
#include <cstring>

#include "frame/frame.h"
#include "zqapi/zq_text.h"

namespace zq::text {
namespace {

constexpr size_t kMaxUser = ZQ_MAX_ACCESS_NAME_SIZE;  // bytes of a user name kept

}  // namespace

int encodeStatusHistory(const ZQStatusHistoryList* list, char** text, ZQStatusList* status) {
  *text = nullptr;
  if (!list || list->count == 0 || !list->items) return returnCode(status);

  size_t size = 1;
  for (uint32_t i = 0; i < list->count; ++i) {
    const ZQStatusHistoryStruct& item = list->items[i];
    // Time stamp (at most 10 digits), separator, user, terminator.
    if (item.user[0] != '\0') size += 10 + 1 + strnlen(item.user, kMaxUser);
    size += 1;
  }
  auto* out = static_cast<char*>(zq::alloc(size));
  if (!out) return addError(status, kMsgNoMemory);

  char* p = out;
  for (uint32_t i = 0; i < list->count; ++i) {
    const ZQStatusHistoryStruct& item = list->items[i];
    if (item.user[0] != '\0') {
      p += snprintf(p, 11, "%u", item.timestamp);
      *p++ = kFieldSeparator;
      size_t len = strnlen(item.user, kMaxUser);
      memcpy(p, item.user, len);
      p += len;
    }
    *p++ = kRecordTerminator;
  }
  *p = '\0';
  *text = out;
  return returnCode(status);
}

int decodeStatusHistory(const char* text, ZQStatusHistoryList* list, ZQStatusList* status) {
  list->count = 0;
  list->items = nullptr;
  if (!text || !*text) return returnCode(status);

  // Check the whole text before allocating anything.
  const char* end = text + strlen(text);
  uint32_t records = 0;
  for (const char* p = text; p < end; ++records) {
    const char* stop = static_cast<const char*>(memchr(p, kRecordTerminator, end - p));
    if (!stop) return addError(status, kMsgBadHistoryText);
    if (stop != p && !memchr(p, kFieldSeparator, stop - p))
      return addError(status, kMsgBadHistoryText);
    p = stop + 1;
  }

  auto* items =
      static_cast<ZQStatusHistoryStruct*>(zq::allocZeroed(records, sizeof(ZQStatusHistoryStruct)));
  if (!items) return addError(status, kMsgNoMemory);

  const char* p = text;
  for (uint32_t i = 0; i < records; ++i) {
    const char* stop = static_cast<const char*>(memchr(p, kRecordTerminator, end - p));
    const char* sep = static_cast<const char*>(memchr(p, kFieldSeparator, stop - p));
    if (sep) {
      items[i].timestamp = recordTimestamp(p, sep);
      size_t len = static_cast<size_t>(stop - sep - 1);
      if (len > kMaxUser) len = kMaxUser;
      memcpy(items[i].user, sep + 1, len);
      items[i].user[len] = '\0';
    }
    p = stop + 1;
  }
  list->count = records;
  list->items = items;
  return returnCode(status);
}

}  // namespace zq::text
