// What every handler adds to its reply: error messages into the reply's
// status list, the outcome of a store operation, and the texts of its
// arguments (a null text is the empty one).
#pragma once

#include <cstdint>
#include <string>

#include "dispatch.h"
#include "entry_store.h"
#include "zqapi/zq_session.h"

namespace zqserver {

inline void addError(Call& call, int32_t message, const std::string& appended = {}) {
  if (call.status)
    ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, message,
                appended.empty() ? nullptr : appended.c_str());
}
inline void report(Call& call, int32_t message, const std::string& appended = {}) {
  addError(call, message, appended);
}
// True when the operation succeeded; otherwise its message is added.
inline bool report(Call& call, const StoreResult& r) {
  if (!r.ok()) addError(call, r.message, r.appended);
  return r.ok();
}

// The reply's header, whatever the procedure.
inline zq::transport::RequestHeader& outHeader(Call& call) {
  return *call.procedure.replyHeader(call.replyRecord);
}

inline std::string textOf(const char* s) {
  return s ? s : "";
}

}  // namespace zqserver
