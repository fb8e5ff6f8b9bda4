// Results of the security routines: 0, or the number of the message that
// reports the failure (frame/message_numbers.h).
#pragma once

#include "frame/frame.h"

namespace zq::security {

inline constexpr int kOk = 0;

}  // namespace zq::security
