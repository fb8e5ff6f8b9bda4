// The outputs part of a result record.
#pragma once

#include <string>
#include <vector>

#include "diag/commands.h"
#include "diag/record.h"

namespace zq::diag {

// Writes the outputs of a call by the items of its table row.
void printOutputs(std::string& out, const CommandInfo& info, const std::vector<OutputRef>& refs);

}  // namespace zq::diag
