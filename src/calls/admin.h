// Shared parts of the administration calls and the other server calls.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "call/frame.h"
#include "zqapi/zq_admin.h"

namespace zq::calls {

// Asks the server for settings on the fast queue (procedure 36) for the
// library's own use: no command or result record. The status list's code.
int askServerInfo(ZQControlStruct* control, std::initializer_list<uint32_t> settings,
                  ZQServerInfoList* result, ZQStatusList* status);

// The version numbers of the control record's server: those its binding
// learnt, else setting 4 asked anew. False (with the messages in status)
// when the server could not tell.
struct ServerVersion {
  int major = 0, minor = 0, maintenance = 0, patch = 0;
  bool atLeast(int ma, int mi, int mt, int pa) const;
};
int serverVersion(ZQControlStruct* control, ServerVersion& out, ZQStatusList* status);

// Protocol version of the control record's server (14 when none is bound).
int protocolVersion(ZQThreadContext* ctx, const ZQControlStruct* control);

}  // namespace zq::calls
