// Status lists: the only way messages reach a caller.
#pragma once

#include "frame/message_numbers.h"  // zq::kMsg..., generated from the catalog
#include "zqapi/zq_session.h"

namespace zq {

// Adds a message with its catalog text, keeping the list ordered by type
// (most severe first, newest first within a type). Returns the list's new
// return code, 2 for a null list, 3 when memory ran out.
int addStatus(ZQStatusList* status, uint32_t messageType, int32_t messageNumber,
              const char* appended);
// The same with a number as the appended text.
int addStatusNumber(ZQStatusList* status, uint32_t messageType, int32_t messageNumber,
                    uint32_t number);
// Releases the entries (and with freeStruct the list itself); the list is
// left empty.
void releaseStatusList(ZQStatusList* status, bool freeStruct = false);
// Moves the entries of both lists into result, the more severe first; both
// sources are left empty. Returns result.
ZQStatusList* mergeStatusLists(ZQStatusList* first, ZQStatusList* second, ZQStatusList* result);

inline int addError(ZQStatusList* s, int32_t number, const char* appended = nullptr) {
  return addStatus(s, ZQ_MESSAGE_ERROR, number, appended);
}
inline int addWarning(ZQStatusList* s, int32_t number, const char* appended = nullptr) {
  return addStatus(s, ZQ_MESSAGE_WARNING, number, appended);
}
inline int addNote(ZQStatusList* s, int32_t number, const char* appended = nullptr) {
  return addStatus(s, ZQ_MESSAGE_NOTE, number, appended);
}

// Moves the messages of a nested call's own list into a call's list, the
// more severe first; from is left empty.
inline void absorbStatus(ZQStatusList* into, ZQStatusList& from) {
  ZQStatusList merged{0, nullptr};
  mergeStatusLists(into, &from, &merged);
  *into = merged;
}

// Return code of a list: the type of its first entry, or 0.
inline int returnCode(const ZQStatusList* s) {
  return (s && s->count && s->items) ? static_cast<int>(s->items[0].messageType) : 0;
}

// Empties a list without releasing anything (the frame's first step).
inline void clearStatus(ZQStatusList* s) {
  s->count = 0;
  s->items = nullptr;
}

}  // namespace zq
