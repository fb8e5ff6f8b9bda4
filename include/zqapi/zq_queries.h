/* Entry queries and chunked retrieval.
 *
 * Results larger than one reply arrive in slices of at most the response
 * size of the control record (session variable, 4096 to 10000000 bytes);
 * the calls gather them and hand back one result. A retrieval fails with 2
 * and an empty result when ZQCloseNetworkConnections stops it. */
#ifndef ZQAPI_ZQ_QUERIES_H
#define ZQAPI_ZQ_QUERIES_H

#include "zq_defs.h"
#include "zq_qual.h"
#include "zq_session.h"
#include "zq_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Entries of a form matching a qualification (null: all), sorted, within
 * the retrieval window (first entry, maximum count; 0: no maximum). */
int ZQGetListEntry(ZQControlStruct* control, const char* form, ZQQualifierStruct* qualifier,
                   ZQEntryListFieldList* fields, ZQSortList* sort, uint32_t firstRetrieve,
                   uint32_t maxRetrieve, ZQBoolean useLocale, ZQEntryListList* entries,
                   uint32_t* numMatches, ZQStatusList* status);

#ifdef __cplusplus
}
#endif

#endif
