// Status list helpers shared by every subsystem.
#pragma once

#include "frame/message_numbers.h"  // zq::kMsg..., generated from the catalog
#include "zqapi/zq_session.h"

namespace zq {

inline int addError(ZQStatusList* s, int32_t number, const char* appended = nullptr) {
  return ZQAddStatus(s, ZQ_MESSAGE_ERROR, number, appended);
}
inline int addWarning(ZQStatusList* s, int32_t number, const char* appended = nullptr) {
  return ZQAddStatus(s, ZQ_MESSAGE_WARNING, number, appended);
}
inline int addNote(ZQStatusList* s, int32_t number, const char* appended = nullptr) {
  return ZQAddStatus(s, ZQ_MESSAGE_NOTE, number, appended);
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
