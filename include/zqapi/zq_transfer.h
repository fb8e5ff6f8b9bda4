/** \file
 * Export and import calls: definitions written out as text and read back,
 * and the removal of what an import created. */
#ifndef ZQAPI_ZQ_TRANSFER_H
#define ZQAPI_ZQ_TRANSFER_H

#include <stdio.h>

#include "zq_export.h"
#include "zq_session.h"
#include "zq_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Item types zqserverd exports and imports (other valid types pass the
 * checks and are refused by the server as unknown). */
#define ZQ_STRUCT_ITEM_SCHEMA 1      /* a form with its fields, views and support files */
#define ZQ_STRUCT_ITEM_SCHEMA_DATA 2 /* export only */
#define ZQ_STRUCT_ITEM_FILTER 3
#define ZQ_STRUCT_ITEM_SCHEMA_MAIL 4 /* export only */
#define ZQ_STRUCT_ITEM_ACTIVE_LINK 5
#define ZQ_STRUCT_ITEM_CHAR_MENU 7
#define ZQ_STRUCT_ITEM_ESCALATION 8
#define ZQ_STRUCT_ITEM_CONTAINER 11
#define ZQ_STRUCT_ITEM_IMAGE 18

/* Import options of zqserverd: by default an import creates what is new
 * and replaces what exists; with this bit a definition that exists already
 * refuses the whole import. */
#define ZQ_IMPORT_OPTION_NO_OVERWRITE 1u

/* Lock information of an export, sent unchanged. */
typedef struct ZQLockStruct {
  uint32_t lockType;
  ZQNameType lockKey;
} ZQLockStruct;

/** Exports the listed definitions (at least one). exportText receives the
 * text (release with ZQFree); a text that is not XML begins with the line
 * "char-set: " and the client's character set. lock may be null. */
int ZQExport(ZQControlStruct* control, ZQStructItemList* items, const char* displayTag,
             uint32_t viewType, ZQLockStruct* lock, char** exportText, ZQStatusList* status);
/** As ZQExport, the text written into an open file (null: 295; a failed
 * write: 301). */
int ZQExportToFile(ZQControlStruct* control, ZQStructItemList* items, const char* displayTag,
                   uint32_t viewType, ZQLockStruct* lock, FILE* file, ZQStatusList* status);
/** Imports a text that an export wrote: the listed definitions (null or
 * empty: all of it). The text's character set is its XML declaration's,
 * else that of a first "char-set:" line, else the client's. */
int ZQImport(ZQControlStruct* control, ZQStructItemList* items, const char* importText,
             uint32_t option, ZQStatusList* status);
/** As ZQImport, the text read from an open file (null or empty: 295). */
int ZQImportFromFile(ZQControlStruct* control, ZQStructItemList* items, FILE* file, uint32_t option,
                     ZQStatusList* status);
/** Removes what an import of the text created (the listed definitions, or
 * all of it). */
int ZQUnImport(ZQControlStruct* control, ZQStructItemList* items, const char* importText,
               uint32_t option, ZQStatusList* status);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_TRANSFER_H */
