/** \file
 * Entries: create, change, delete, merge, read and service single entries;
 * bulk (client-side) and client-managed (server-side) transactions. */
#ifndef ZQAPI_ZQ_ENTRIES_H
#define ZQAPI_ZQ_ENTRIES_H

#include "zq_session.h"
#include "zq_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Merge types of ZQMergeEntry (passed to the server unchanged). */
#define ZQ_MERGE_DUP_ERROR 1     /* an existing entry id is an error */
#define ZQ_MERGE_DUP_NEW_ID 2    /* an existing entry id gets a new id */
#define ZQ_MERGE_DUP_OVERWRITE 3 /* the existing entry is replaced */
#define ZQ_MERGE_DUP_MERGE 4     /* the existing entry gets the given fields */

/** Creates an entry. entryId (may be null) receives the new id; it is empty
 * when the create was queued in an open bulk transaction. */
int ZQCreateEntry(ZQControlStruct* control, const char* form, ZQFieldValueList* values,
                  ZQEntryIdType entryId, ZQStatusList* status);

/** Changes the given fields of an entry. An empty value list changes nothing
 * and returns 0 without contacting the server. */
int ZQSetEntry(ZQControlStruct* control, const char* form, ZQEntryIdList* entryId,
               ZQFieldValueList* values, ZQTimestamp getTime, uint32_t option,
               ZQStatusList* status);

/** Deletes an entry; option is passed to the server unchanged. */
int ZQDeleteEntry(ZQControlStruct* control, const char* form, ZQEntryIdList* entryId,
                  uint32_t option, ZQStatusList* status);

/** Creates or updates an entry by its id (field 1) as mergeType says. */
int ZQMergeEntry(ZQControlStruct* control, const char* form, ZQFieldValueList* values,
                 uint32_t mergeType, ZQEntryIdType entryId, ZQStatusList* status);

/** Reads an entry: the fields of fieldIds (null or empty: all). values (may
 * be null) is cleared first; release it with FreeZQFieldValueList.
 * Attachments come back inflated, password fields protected. */
int ZQGetEntry(ZQControlStruct* control, const char* form, ZQEntryIdList* entryId,
               ZQInternalIdList* fieldIds, ZQFieldValueList* values, ZQStatusList* status);

/** Runs the form's service workflow on input values (and the entry when an id
 * is given) and returns the output fields without storing anything. */
int ZQServiceEntry(ZQControlStruct* control, const char* form, ZQEntryIdList* entryId,
                   ZQFieldValueList* inputValues, ZQInternalIdList* outputIds,
                   ZQFieldValueList* outputValues, ZQStatusList* status);

/* ---- bulk transactions ---------------------------------------------------- */

#define ZQ_BULK_ENTRY_CREATE 1
#define ZQ_BULK_ENTRY_SET 2
#define ZQ_BULK_ENTRY_DELETE 3
#define ZQ_BULK_ENTRY_MERGE 4
#define ZQ_BULK_ENTRY_XML_CREATE 5
#define ZQ_BULK_ENTRY_XML_SET 6
#define ZQ_BULK_ENTRY_XML_DELETE 7

#define ZQ_BULK_ENTRY_ACTION_SEND 1
#define ZQ_BULK_ENTRY_ACTION_CANCEL 2

typedef struct ZQBulkEntryIdReturn {
  ZQEntryIdType entryId;
  ZQStatusList status;
} ZQBulkEntryIdReturn;

typedef struct ZQBulkXMLReturn {
  char* outputDoc;
  ZQStatusList status;
} ZQBulkXMLReturn;

/* The outcome of one queued operation, in queue order. */
typedef struct ZQBulkEntryReturn {
  uint32_t entryCallType; /* ZQ_BULK_ENTRY_... */
  union {
    ZQBulkEntryIdReturn entry; /* create, merge */
    ZQStatusList status;       /* set, delete, XML delete */
    ZQBulkXMLReturn xml;       /* XML create, XML set */
  } u;
} ZQBulkEntryReturn;

typedef struct ZQBulkEntryReturnList {
  uint32_t count;
  ZQBulkEntryReturn* items;
} ZQBulkEntryReturnList;

/** Opens a bulk transaction on this thread: later create, set, delete and
 * merge calls are queued (and return 0) until the end call. */
int ZQBeginBulkEntryTransaction(ZQControlStruct* control, ZQStatusList* status);

/** action 1 sends the queue, applied by the server as one unit; action 2
 * discards it. results (may be null) receives one item per operation. */
int ZQEndBulkEntryTransaction(ZQControlStruct* control, uint32_t action,
                              ZQBulkEntryReturnList* results, ZQStatusList* status);

/** Releases what one bulk result owns and zero-fills it; with freeStruct
 * its block too. */
void FreeZQBulkEntryReturn(ZQBulkEntryReturn* value, ZQBoolean freeStruct);
/** Releases the results of ZQEndBulkEntryTransaction and everything they
 * own; with freeStruct the list's own block too. */
void FreeZQBulkEntryReturnList(ZQBulkEntryReturnList* value, ZQBoolean freeStruct);

/* ---- client-managed transactions --------------------------------------- */

#define ZQ_CMT_ACTION_COMMIT 1
#define ZQ_CMT_ACTION_ROLLBACK 2

/**@{*/
/** Opens a server transaction; handle receives its handle (release with
 * ZQFree). Every later call to the server runs inside it until the end
 * call, or until a call to that server fails. */
int ZQBeginClientManagedTransaction(ZQControlStruct* control, char** handle,
                                    ZQStatusList* status);
int ZQEndClientManagedTransaction(ZQControlStruct* control, uint32_t action,
                                  ZQStatusList* status);
/**@}*/

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_ENTRIES_H */
