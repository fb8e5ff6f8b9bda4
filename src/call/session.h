// Session start and stop: the thread context of a control record, its
// settings, runtimes and logs, and the end of every server session it opened.
#pragma once

#include <cstdint>

#include "zqapi/zq_session.h"

namespace zq::call {

// Creates the control record's context. carryHostIdentity keeps the client
// host identity of the context the record held before (initialization with
// logs). Returns the status list's code; a failure leaves no context.
int initializeSession(ZQControlStruct* control, const char* commandFile, const char* resultFile,
                      uint8_t tracePrint, bool carryHostIdentity, ZQStatusList* status);
// Ends the server sessions of the context (procedure 47 per binding) and,
// unless the caller manages the cache id, releases the context. Always 0.
int terminateSession(ZQControlStruct* control, ZQStatusList* status);

}  // namespace zq::call
