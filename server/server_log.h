// The server's own log output, returned to clients that ask for it.
#pragma once

#include "dispatch.h"

namespace zqserver {

// When the request header's log mask asks for server log output, adds it to
// the reply's status list as note 8914 (the log text is the note's message).
void addServerLog(Call& call);

}  // namespace zqserver
