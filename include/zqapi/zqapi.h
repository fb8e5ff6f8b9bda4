/** \file
 * libzqapi: C client library of the zq ticketing and workflow server.
 * Include this header; it pulls in every public part of the interface. */
#ifndef ZQAPI_ZQAPI_H
#define ZQAPI_ZQAPI_H

#include "zq_types.h"
#include "zq_session.h"
#include "zq_qual.h"
#include "zq_free.h"
#include "zq_copy.h"
#include "zq_workflow.h"
#include "zq_defs.h"
#include "zq_definitions.h"
#include "zq_workflow_definitions.h"
#include "zq_security.h"
#include "zq_text.h"
#include "zq_datetime.h"
#include "zq_server.h"
#include "zq_entries.h"
#include "zq_queries.h"
#include "zq_diag.h"
#include "zq_export.h"
#include "zq_alerts.h"
#include "zq_transfer.h"
#include "zq_debugger.h"
#include "zq_admin.h"
#include "zq_menus.h"
#include "zq_xml.h"

#endif /* ZQAPI_ZQAPI_H */
