// Exports of calls/session.cpp that the public headers do not declare: the
// client identity is exported by ordinal (835) and by its C name only.
#pragma once

#include "zqapi/zq_session.h"

extern "C" int ZQGetClientIdentity(ZQControlStruct* control, char** identity,
                                   ZQStatusList* status);
