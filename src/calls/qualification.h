// Shared parts of the qualification-language calls.
#pragma once

#include "qualify/qualify.h"
#include "zqapi/zq_session.h"

namespace zq::calls {

// The form's field table as the qualification language sees it; the
// messages of the calls made go to status. The status list's code.
int readFieldTable(ZQControlStruct* control, const char* form, const char* viewLabel,
                   qualify::FieldTable& table, ZQStatusList* status);

// The current keyword values of a call on control for form and view.
qualify::KeywordValue keywordValues(ZQControlStruct* control, const char* form,
                                    const char* viewLabel);

}  // namespace zq::calls
