// Handlers of the query procedures.
#pragma once

#include "dispatch.h"

namespace zqserver {

void getListEntry(Call& call);

}  // namespace zqserver
