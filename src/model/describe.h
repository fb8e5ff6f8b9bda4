// The model's heavier companion: model/model.h and every other structure
// description (definitions, administration and results, workflow actions,
// menus and field limits, the debugger's records, export items). Only what
// encodes, releases or copies those structures needs it.
#pragma once

#include "model/describe_admin.h"
#include "model/describe_debugger.h"
#include "model/describe_deflists.h"
#include "model/describe_defs.h"
#include "model/describe_export.h"
#include "model/describe_workflow.h"
#include "model/model.h"
