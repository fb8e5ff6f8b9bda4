#include "frame/status.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "frame/alloc.h"
#include "frame/messages.h"

namespace {

constexpr size_t kMaxText = 255;

bool hasCatalogText(int32_t number) {
  if (number == zq::kMsgServerLogNote) return false;
  return (number >= 1 && number <= 9999) || (number >= 120000 && number <= 120999);
}

}  // namespace

namespace zq {

int addStatus(ZQStatusList* status, uint32_t messageType, int32_t messageNumber,
              const char* appended) {
  if (!status) return ZQ_RETURN_ERROR;
  if (status->count == 0) status->items = nullptr;
  if (status->count >= 0x10000000u) return ZQ_RETURN_FATAL;

  auto* items = static_cast<ZQStatusStruct*>(
      reallocate(status->items, (status->count + 1) * sizeof(ZQStatusStruct)));
  if (!items) return ZQ_RETURN_FATAL;
  status->items = items;

  uint32_t pos = 0;
  while (pos < status->count && items[pos].messageType > messageType) ++pos;
  memmove(&items[pos + 1], &items[pos], (status->count - pos) * sizeof(ZQStatusStruct));
  status->count++;
  ZQStatusStruct& entry = items[pos];
  entry.messageType = messageType;
  entry.messageNumber = messageNumber;
  entry.message = nullptr;
  entry.appended = nullptr;

  char text[ZQ_MESSAGE_TEXT_SIZE] = {};
  if (hasCatalogText(messageNumber)) messageText(messageNumber, text);
  entry.message = dupString(text, kMaxText);
  if (!entry.message) return ZQ_RETURN_FATAL;

  if (appended && *appended) {
    entry.appended = dupString(appended, kMaxText);
    if (!entry.appended) return ZQ_RETURN_FATAL;
  }
  return static_cast<int>(items[0].messageType);
}

int addStatusNumber(ZQStatusList* status, uint32_t messageType, int32_t messageNumber,
                    uint32_t number) {
  char text[16];
  snprintf(text, sizeof text, "%u", number);
  return addStatus(status, messageType, messageNumber, text);
}

void releaseStatusList(ZQStatusList* status, bool freeStruct) {
  if (!status) return;
  // An empty list may carry a stale pointer: only a counted array is ours.
  if (status->count && status->items) {
    for (uint32_t i = 0; i < status->count; ++i) {
      freeBlock(status->items[i].message);
      freeBlock(status->items[i].appended);
    }
    freeBlock(status->items);
  }
  status->count = 0;
  status->items = nullptr;
  if (freeStruct) freeBlock(status);
}

ZQStatusList* mergeStatusLists(ZQStatusList* first, ZQStatusList* second, ZQStatusList* result) {
  if (!first || !second) return result;
  auto moveInto = [&](ZQStatusList* from) {
    if (!result || result == from) return;
    result->count = from->count;
    result->items = from->items;
    from->count = 0;
    from->items = nullptr;
  };

  if (first->count == 0) {
    if (second->count == 0) {
      if (result && result != second) {
        result->count = 0;
        result->items = nullptr;
      }
    } else {
      moveInto(second);
    }
    return result;
  }
  if (second->count == 0) {
    moveInto(first);
    return result;
  }

  uint32_t total = first->count + second->count;
  auto* merged = static_cast<ZQStatusStruct*>(alloc(total * sizeof(ZQStatusStruct)));
  if (!merged) {
    // Keep the more severe list (second on a tie) and say that memory ran out.
    bool keepSecond = second->items[0].messageType >= first->items[0].messageType;
    ZQStatusList* keep = keepSecond ? second : first;
    ZQStatusList* drop = keepSecond ? first : second;
    ZQStatusList kept = *keep;
    keep->count = 0;
    keep->items = nullptr;
    releaseStatusList(drop);
    if (result) {
      *result = kept;
      addError(result, kMsgNoMemory);
    } else {
      releaseStatusList(&kept);
    }
    return result;
  }

  uint32_t n = 0, i1 = 0, i2 = 0;
  auto take = [&](ZQStatusList* from, uint32_t& idx, auto pred) {
    while (idx < from->count && pred(from->items[idx].messageType)) merged[n++] = from->items[idx++];
  };
  auto severe = [](uint32_t t) { return t >= 2; };
  auto nonNote = [](uint32_t t) { return t != 0; };
  auto any = [](uint32_t) { return true; };
  take(second, i2, severe);
  take(first, i1, severe);
  take(second, i2, nonNote);
  take(first, i1, nonNote);
  take(second, i2, any);
  take(first, i1, any);

  freeBlock(first->items);
  freeBlock(second->items);
  first->count = second->count = 0;
  first->items = second->items = nullptr;
  if (result) {
    result->items = merged;
    result->count = total;
  } else {
    ZQStatusList orphan{total, merged};
    releaseStatusList(&orphan);
  }
  return result;
}

}  // namespace zq
