// The transport's heavier companion: transport/transport.h and the wire
// descriptions of the request header and of the entry, query and transport
// records, for what encodes, releases or copies records itself.
#pragma once

#include "transport/describe_entries.h"
#include "transport/describe_menus.h"
#include "transport/describe_queries.h"
#include "transport/describe_admin.h"
#include "transport/describe_alerts.h"
#include "transport/describe_debugger.h"
#include "transport/describe_definitions.h"
#include "transport/describe_workflow_defs.h"
#include "transport/describe_records.h"
#include "transport/transport.h"
