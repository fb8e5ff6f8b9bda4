// Shared parts of the administration calls and the other server calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "call/call.h"
#include "zqapi/zq_admin.h"

namespace zq::calls {

// Asks the server for settings on the fast queue (procedure 36) for the
// library's own use: no command or result record. The status list's code.
int askServerInfo(ZQControlStruct* control, std::initializer_list<uint32_t> settings,
                  ZQServerInfoList* result, ZQStatusList* status);

// The version numbers of the control record's server: those its binding
// learnt, else setting 4 asked anew. The status list's code.
struct ServerVersion {
  int major = 0, minor = 0, maintenance = 0, patch = 0;
  bool atLeast(int ma, int mi, int mt, int pa) const;
};
int serverVersion(ZQControlStruct* control, ServerVersion& out, ZQStatusList* status);

// Where the password starts in the text of a password-bearing server
// setting: 0 for the whole text (151, 153, 154, 161, 164), after the first
// colon (152, 165) or the second (163), blanks skipped; npos for other
// settings and for a text without its colon.
size_t settingPasswordOffset(uint32_t setting, const char* text);

// Why a server setting may not be changed to a value (123, 217, 219), or 0.
int32_t settingChangeRefusal(const ZQServerInfoStruct& item);

// Rewrites the workflow password that follows a leading "+" from the form
// a server of fromVersion reads to the form one of toVersion reads (30 or
// 120 characters). 0, or the message.
int32_t convertWorkflowPassword(std::string& command, int fromVersion, int toVersion);

// Protocol version of the control record's server (14 when none is bound).
int protocolVersion(ZQThreadContext* ctx, const ZQControlStruct* control);

}  // namespace zq::calls
