/** \file
 * Entry queries and chunked retrieval.
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

/** Entries of a form matching a qualification (null: all), sorted, within
 * the retrieval window (first entry, maximum count; 0: no maximum). */
int ZQGetListEntry(ZQControlStruct* control, const char* form, ZQQualifierStruct* qualifier,
                   ZQEntryListFieldList* fields, ZQSortList* sort, uint32_t firstRetrieve,
                   uint32_t maxRetrieve, ZQBoolean useLocale, ZQEntryListList* entries,
                   uint32_t* numMatches, ZQStatusList* status);

/** As ZQGetListEntry, with the values of the listed fields (none listed:
 * every field of the form). */
int ZQGetListEntryWithFields(ZQControlStruct* control, const char* form,
                             ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields,
                             ZQSortList* sort, uint32_t firstRetrieve, uint32_t maxRetrieve,
                             ZQBoolean useLocale, ZQEntryListFieldValueList* entries,
                             uint32_t* numMatches, ZQStatusList* status);

/** The first matching entry in sort order, with the number of matches. */
int ZQGetOneEntryWithFields(ZQControlStruct* control, const char* form,
                            ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields,
                            ZQSortList* sort, ZQBoolean useLocale,
                            ZQEntryListFieldValueList* entries, uint32_t* numMatches,
                            ZQStatusList* status);

/** The result as compressed blocks of rowsPerBlock entries each; decode one
 * with ZQGetEntryBlock, without further server calls. */
int ZQGetListEntryBlocks(ZQControlStruct* control, const char* form, ZQQualifierStruct* qualifier,
                         ZQEntryListFieldList* fields, ZQSortList* sort, uint32_t rowsPerBlock,
                         uint32_t firstRetrieve, uint32_t maxRetrieve, ZQBoolean useLocale,
                         ZQEntryBlockList* blocks, uint32_t* numReturnedRows, uint32_t* numMatches,
                         ZQStatusList* status);

/** Decodes block `index` of a list from ZQGetListEntryBlocks (local). */
int ZQGetEntryBlock(const ZQEntryBlockList* blocks, uint32_t index,
                    ZQEntryListFieldValueList* entries, ZQStatusList* status);

/** Statistic 1 count, 2 sum, 3 average, 4 minimum, 5 maximum of the target
 * (null or tag 0: entries are counted) over the matching entries, one
 * result per group of the group-by fields. */
int ZQGetEntryStatistics(ZQControlStruct* control, const char* form, ZQQualifierStruct* qualifier,
                         ZQFieldValueOrArithStruct* target, uint32_t statistic,
                         ZQInternalIdList* groupBy, ZQStatisticsResultList* results,
                         ZQStatusList* status);

/** Several entries by id: one exists flag per id and, when values is not
 * null, one value list per id (the wanted fields, or every field). */
int ZQGetMultipleEntries(ZQControlStruct* control, const char* form, ZQEntryIdListList* ids,
                         ZQInternalIdList* fields, ZQBooleanList* exists,
                         ZQFieldValueListList* values, ZQStatusList* status);

/** The content of an attachment field into a file (location type 1) or a
 * buffer the call allocates (type 2; released with ZQFree). */
int ZQGetEntryBLOB(ZQControlStruct* control, const char* form, ZQEntryIdList* id,
                   ZQInternalId fieldId, ZQLocStruct* location, ZQStatusList* status);

/** A query over several forms joined by alias. */
int ZQGetListEntryWithMultiSchemaFields(ZQControlStruct* control, ZQMultiSchemaQueryFromList* from,
                                        ZQMultiSchemaFieldIdList* fields,
                                        ZQMultiSchemaQualifierStruct* qualifier,
                                        ZQMultiSchemaSortList* sort, uint32_t firstRetrieve,
                                        uint32_t maxRetrieve, ZQBoolean useLocale,
                                        ZQMultiSchemaFieldValueListList* rows, uint32_t* numMatches,
                                        ZQStatusList* status);

#ifdef __cplusplus
}
#endif

#endif
