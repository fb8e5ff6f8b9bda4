// Argument checks of the definition calls: the parts of forms, fields and
// views, and the workflow-definition checks they share with the workflow
// kinds (field limits, archive settings, schedules). Like the shared checks
// (checks.h) each adds its error message to the status list and returns 2
// or more on the first fault, 0 when the argument is sound; a warning
// (type 1) lets the call go on and returns 1.
//
// Some checks repair the caller's structure in place (a character limit's
// null pattern becomes an empty string, a value whose payload pointer is
// null becomes the null value); the repair stays whether or not a later
// check fails.
#pragma once

#include <cstdint>

#include "frame/frame.h"
#include "zqapi/zq_defs.h"
#include "zqapi/zq_session.h"
#include "zqapi/zq_workflow.h"

namespace zq::checks {

// A fixed-width name by the name check: empty 102 unless allowed, 255 or
// more characters (or no terminator) 103.
int checkFixedName(const char* name, size_t width, bool emptyAllowed, ZQStatusList* status);

// Empty 102 unless allowed; more than 64 characters 103.
int checkServerName(const char* name, size_t width, bool emptyAllowed, ZQStatusList* status);

// Null or empty passes; count without items 165; each value by checkValue.
int checkProperties(ZQPropList* properties, ZQStatusList* status);

// Null passes; empty: the warning 50 unless allowed; count without items
// 165; a permission above 2 gives 128 followed by 127.
int checkPermissions(const ZQPermissionList* permissions, bool emptyAllowed,
                     ZQStatusList* status);

// Count without items 165; an index with 0 or more than 16 fields 211.
int checkIndexes(const ZQIndexList* indexes, ZQStatusList* status);

// Count without items 165.
template <class L>
int checkItems(const L* list, ZQStatusList* status) {
  return list && list->count && !list->items ? addError(status, kMsgCountWithoutItems)
                                             : ZQ_RETURN_OK;
}

// Form kind: 0 (or none) gives 265 unless it means "unchanged"; 1, 3, 4 and
// 5 pass; a join needs two member names passing the name check (266) and a
// join qualification passing the qualifier check (267); other kinds 269.
int checkSchemaKind(ZQCompoundSchema* kind, bool noneMeansUnchanged, ZQStatusList* status);

// The calendar rules of a schedule (escalation times, archive settings):
// a day of the month or of the week 248, an hour 249, a minute of at most
// 59 250. Returns the message number, 0 when the schedule passes; adds
// nothing.
int32_t scheduleMessage(int32_t monthday, int32_t weekday, int32_t hourmask, uint32_t minute);

// Archive settings (8993, 8995, and 248 to 250 for the schedule).
int checkArchive(const ZQArchiveInfoStruct* archive, ZQStatusList* status);

// Field limits by their data type; a failure gives 129 unless a rule names
// another number. A null limit passes.
int checkFieldLimit(ZQFieldLimitStruct* limit, ZQStatusList* status);

// A limit of another type than the field's (other than "no limits") 167.
int checkLimitMatchesType(const ZQFieldLimitStruct* limit, uint32_t dataType,
                          ZQStatusList* status);

// Field mapping: none or 0 and 1 pass; a join member index other than 0 or
// 1 gives 271; a view column name 272 and a vendor field name 8727 when
// empty or too long; other types 273.
int checkFieldMapping(const ZQFieldMappingStruct* mapping, ZQStatusList* status);

// A default value for a field of dataType (0: the type is not known, so the
// rules that need it do not apply): attachments, tables, columns and views
// take only the null value and other types the value check (either 111);
// a character or display default of more than 255 characters 180; a value
// of another type than null, keyword or the field's 166 (when compareType).
int checkDefaultValue(ZQValueStruct* value, uint32_t dataType, bool compareType,
                      ZQStatusList* status);

// The common properties and each view's properties by checkProperties,
// count without items 165, one view named twice 257.
int checkDisplayInstances(ZQDisplayInstanceList* displays, ZQStatusList* status);

}  // namespace zq::checks
