// Status-history and diary text (see history_text.h).
#include "model/history_text.h"

#include <cstdio>
#include <cstring>

#include "frame/frame.h"

namespace zq::model {

namespace {

// Bytes of a user name kept in either direction: the width of the name
// buffer, so that whatever the encoder writes decodes back unchanged.
constexpr size_t kMaxUser = ZQ_MAX_ACCESS_NAME_SIZE;

// One diary record located in the text: [begin, firstSep) time stamp,
// (firstSep, secondSep) user, (secondSep, end) entry text, *end == 0x03.
struct DiaryRecord {
  const char* begin;
  const char* firstSep;
  const char* secondSep;
  const char* end;
};

// The time stamp and the user must both lie before the record's terminator;
// the entry text runs to the first terminator after the second separator.
bool nextRecord(const char* p, const char* textEnd, DiaryRecord& r) {
  const char* stop = static_cast<const char*>(memchr(p, kRecordTerminator, textEnd - p));
  if (!stop) return false;
  r.begin = p;
  r.firstSep = static_cast<const char*>(memchr(p, kFieldSeparator, stop - p));
  if (!r.firstSep) return false;
  r.secondSep =
      static_cast<const char*>(memchr(r.firstSep + 1, kFieldSeparator, stop - r.firstSep - 1));
  if (!r.secondSep) return false;
  r.end = stop;
  return true;
}

void freeEntries(ZQDiaryStruct* items, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) zq::freeBlock(items[i].value);
  zq::freeBlock(items);
}

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

int encodeDiary(const ZQDiaryList* list, char** text, ZQStatusList* status) {
  *text = nullptr;
  if (!list || list->count == 0 || !list->items) return returnCode(status);

  size_t size = 1;
  for (uint32_t i = 0; i < list->count; ++i) {
    const ZQDiaryStruct& entry = list->items[i];
    size += 10 + 1 + strnlen(entry.user, kMaxUser) + 1 + 1;
    if (entry.value) size += strlen(entry.value);
  }
  auto* out = static_cast<char*>(zq::alloc(size));
  if (!out) return addError(status, kMsgNoMemory);

  char* p = out;
  for (uint32_t i = 0; i < list->count; ++i) {
    const ZQDiaryStruct& entry = list->items[i];
    p += snprintf(p, 11, "%u", entry.timestamp);
    *p++ = kFieldSeparator;
    size_t len = strnlen(entry.user, kMaxUser);
    memcpy(p, entry.user, len);
    p += len;
    *p++ = kFieldSeparator;
    if (entry.value) {
      len = strlen(entry.value);
      memcpy(p, entry.value, len);
      p += len;
    }
    *p++ = kRecordTerminator;
  }
  *p = '\0';
  *text = out;
  return returnCode(status);
}

int decodeDiary(const char* text, ZQDiaryList* list, ZQStatusList* status) {
  list->count = 0;
  list->items = nullptr;
  if (!text || !*text) return returnCode(status);

  const char* textEnd = text + strlen(text);
  uint32_t records = 0;
  DiaryRecord r;
  for (const char* p = text; p < textEnd; p = r.end + 1, ++records)
    if (!nextRecord(p, textEnd, r)) return addError(status, kMsgBadDiaryText);

  auto* items = static_cast<ZQDiaryStruct*>(zq::allocZeroed(records, sizeof(ZQDiaryStruct)));
  if (!items) return addError(status, kMsgNoMemory);

  const char* p = text;
  for (uint32_t i = 0; i < records; ++i, p = r.end + 1) {
    nextRecord(p, textEnd, r);
    ZQDiaryStruct& entry = items[i];
    entry.timestamp = recordTimestamp(r.begin, r.firstSep);
    size_t len = static_cast<size_t>(r.secondSep - r.firstSep - 1);
    if (len > kMaxUser) len = kMaxUser;
    memcpy(entry.user, r.firstSep + 1, len);
    entry.user[len] = '\0';
    len = static_cast<size_t>(r.end - r.secondSep - 1);
    entry.value = static_cast<char*>(zq::alloc(len + 1));
    if (!entry.value) {
      freeEntries(items, i);
      return addError(status, kMsgNoMemory);
    }
    memcpy(entry.value, r.secondSep + 1, len);
    entry.value[len] = '\0';
  }
  list->count = records;
  list->items = items;
  return returnCode(status);
}

}  // namespace zq::model
