// Status list helpers shared by every subsystem.
#pragma once

#include "zqapi/zq_session.h"

namespace zq {

// Message numbers the frame itself reports.
enum Msg : int32_t {
  kMsgBadEnvProgram = 68,
  kMsgNoConnection = 90,
  kMsgRpcFailure = 91,
  kMsgTimeoutChange = 92,
  kMsgTimeoutRetrieve = 93,
  kMsgTimeoutQuery = 94,
  kMsgNoRpcContext = 95,
  kMsgNameRequired = 102,
  kMsgTooLong = 103,
  kMsgUserRequired = 149,
  kMsgServerRequired = 150,
  kMsgNoMemory = 154,
  kMsgBadContext = 161,
  kMsgCopyNoMemory = 300,
  kMsgBadCharset = 8853,
  kMsgServerLogNote = 8914,
  kMsgServerLogWrite = 8915,
  kMsgIncompleteProvider = 9011,
};

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
