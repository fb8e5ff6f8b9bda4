// Control record and name checks that every call runs before any work. Each
// adds its error to status and returns the list's return code, or 0.
#pragma once

#include <cstddef>

#include "zqapi/zq_session.h"

namespace zq {

// Bytes text takes in the server's character set (never less than its own
// length); 0 without a current context.
size_t serverTextLength(const char* text);

// Context (else 3), user (or a user-name source), the field lengths, the
// server and the character-set name.
int checkControl(ZQControlStruct* control, ZQStatusList* status);
// Empty (unless allowed) or 255 characters and more on the server.
int checkName(const char* name, bool emptyAllowed, ZQStatusList* status);
int checkControlAndName(ZQControlStruct* control, const char* name, bool emptyAllowed,
                        ZQStatusList* status);
// A required name and an optional one (only its length is checked).
int checkControlAndNames(ZQControlStruct* control, const char* requiredName,
                         const char* optionalName, ZQStatusList* status);

}  // namespace zq
