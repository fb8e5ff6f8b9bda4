// Binding helpers shared with the calls that talk to the server.
#pragma once

#include "frame/context.h"
#include "zqapi/zq_defs.h"

namespace zq::transport {

struct ServerOptions;

// "7.5.00 Patch 004" -> 7, 5, 0, 4; false (fields zero) when malformed.
bool parseServerVersion(const char* text, int& major, int& minor, int& maintenance, int& patch);

// Procedure 36 as the library uses it internally: binds on the fast queue
// and asks without client properties or server-log markers.
int serverInfoRequest(ZQControlStruct* control, ZQServerInfoRequestList* request,
                      ZQServerInfoList* result, bool useCallLock, ZQStatusList* status);

}  // namespace zq::transport
