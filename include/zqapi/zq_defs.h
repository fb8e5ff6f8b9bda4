/** \file
 * Definition, administration and result structures: workflow connections,
 * form kinds, field mappings, inheritance, archiving and auditing, containers,
 * images, entry blocks, statistics, full-text settings, roles, signals, the
 * field, view and support-file info records, and the structures of queries
 * over several forms. */
#ifndef ZQAPI_ZQ_DEFS_H
#define ZQAPI_ZQ_DEFS_H

#include "zq_types.h"
#include "zq_qual.h"
#include "zq_workflow.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- workflow connection --------------------------------------------- */
#define ZQ_WORKFLOW_CONN_NONE 0
#define ZQ_WORKFLOW_CONN_SCHEMA_LIST 1

/* The forms a filter, escalation or active link belongs to. */
typedef struct ZQWorkflowConnectStruct {
  uint32_t type;          /* ZQ_WORKFLOW_CONN_... */
  ZQNameList* schemaList; /* type ZQ_WORKFLOW_CONN_SCHEMA_LIST; may be null */
} ZQWorkflowConnectStruct;

typedef struct ZQWorkflowConnectList {
  uint32_t count;
  ZQWorkflowConnectStruct* items;
} ZQWorkflowConnectList;

/* ---- form kind -------------------------------------------------------- */
#define ZQ_SCHEMA_NONE 0
#define ZQ_SCHEMA_REGULAR 1
#define ZQ_SCHEMA_JOIN 2
#define ZQ_SCHEMA_VIEW 3
#define ZQ_SCHEMA_DIALOG 4
#define ZQ_SCHEMA_VENDOR 5

/* Table names: 2047 characters and the terminator (255 before version 12). */
#define ZQ_MAX_TABLE_NAME_SIZE 2047

typedef struct ZQJoinSchema {
  ZQNameType joinMemberA;
  ZQNameType joinMemberB;
  ZQQualifierStruct joinQualifier;
  uint32_t joinOption;
} ZQJoinSchema;

typedef struct ZQViewSchema {
  char viewTableName[ZQ_MAX_TABLE_NAME_SIZE + 1];
  ZQNameType extraName;
} ZQViewSchema;

typedef struct ZQVendorSchema {
  ZQNameType vendorName;
  char vendorTableName[ZQ_MAX_TABLE_NAME_SIZE + 1];
} ZQVendorSchema;

typedef struct ZQCompoundSchema {
  uint32_t schemaType; /* ZQ_SCHEMA_... */
  union {
    ZQJoinSchema join;
    ZQViewSchema view;
    ZQVendorSchema vendor;
  } u;
} ZQCompoundSchema;

typedef struct ZQCompoundSchemaList {
  uint32_t count;
  ZQCompoundSchema* items;
} ZQCompoundSchemaList;

/* ---- field mapping ---------------------------------------------------- */
#define ZQ_FIELD_MAPPING_NONE 0
#define ZQ_FIELD_MAPPING_REGULAR 1
#define ZQ_FIELD_MAPPING_JOIN 2
#define ZQ_FIELD_MAPPING_VIEW 3
#define ZQ_FIELD_MAPPING_VENDOR 4
#define ZQ_FIELD_MAPPING_INHERITED 5

typedef struct ZQJoinMappingStruct {
  uint32_t schemaIndex;
  ZQInternalId fieldId;
} ZQJoinMappingStruct;

typedef struct ZQExternalMappingStruct {
  ZQNameType externalFieldName;
} ZQExternalMappingStruct;

/* Type 5: the external name and two words carried unchanged. */
typedef struct ZQInheritedMappingStruct {
  ZQNameType externalFieldName;
  uint32_t word1;
  uint32_t word2;
} ZQInheritedMappingStruct;

typedef struct ZQFieldMappingStruct {
  uint32_t fieldType; /* ZQ_FIELD_MAPPING_... */
  union {
    ZQJoinMappingStruct join;
    ZQExternalMappingStruct view;   /* 3 */
    ZQExternalMappingStruct vendor; /* 4 */
    ZQInheritedMappingStruct inherited;
  } u;
} ZQFieldMappingStruct;

typedef struct ZQFieldMappingList {
  uint32_t count;
  ZQFieldMappingStruct* items;
} ZQFieldMappingList;

/* Owns each pointed-to mapping. */
typedef struct ZQFieldMappingPtrList {
  uint32_t count;
  ZQFieldMappingStruct** items;
} ZQFieldMappingPtrList;

/* ---- inheritance between forms (carried unchanged) -------------------- */
typedef struct ZQDataMappingInfoStruct {
  uint32_t mappingType;
  ZQNameType sourceName;
  ZQNameType targetName;
  ZQInternalIdList fieldIds;
  uint32_t word1;
  uint32_t word2;
  uint32_t word3;
} ZQDataMappingInfoStruct;

typedef struct ZQDataMappingInfoList {
  uint32_t count;
  ZQDataMappingInfoStruct* items;
} ZQDataMappingInfoList;

typedef struct ZQSchemaInheritanceStruct {
  ZQNameType schemaName;
  ZQBoolean flag;
  uint32_t inheritanceType;
  ZQDataMappingInfoList dataMappingList;
} ZQSchemaInheritanceStruct;

typedef struct ZQSchemaInheritanceList {
  uint32_t count;
  ZQSchemaInheritanceStruct* items;
} ZQSchemaInheritanceList;

typedef struct ZQSchemaInheritanceListList {
  uint32_t count;
  ZQSchemaInheritanceList* items;
} ZQSchemaInheritanceListList;

/* ---- archiving ---------------------------------------------------------- */
#define ZQ_ARCHIVE_FORM 0x01
#define ZQ_ARCHIVE_FILE_XML 0x04
#define ZQ_ARCHIVE_FILE_ARX 0x08
/* Destination selectors as read from the server: 0x20 a form (selector 1
 * or 3), 0x40 selector 2 or 3. */
#define ZQ_ARCHIVE_SELECTOR_FORM 0x20
#define ZQ_ARCHIVE_SELECTOR_TWO 0x40

/* archiveType is a bit set. The destination holds formName when bit 0x01 or
 * 0x20 is set, otherwise dirPath when bit 0x04 or 0x08 is set. */
typedef struct ZQArchiveInfoStruct {
  uint32_t enable;
  uint32_t archiveType; /* 0: no archiving */
  union {
    ZQNameType formName;
    char* dirPath; /* at most 256 characters on the wire */
  } u;
  int32_t monthday;
  int32_t weekday;
  int32_t hourmask;
  uint32_t minute;
  ZQQualifierStruct qualifier;
  ZQNameType archiveFrom;
} ZQArchiveInfoStruct;

typedef struct ZQArchiveInfoList {
  uint32_t count;
  ZQArchiveInfoStruct* items;
} ZQArchiveInfoList;

/* ---- auditing ------------------------------------------------------------ */
typedef struct ZQAuditInfoStruct {
  uint32_t enable;
  uint32_t auditType; /* 0: no auditing */
  ZQNameType formName;
  ZQQualifierStruct qualifier;
  uint32_t auditFlags; /* travels from protocol version 14 on */
} ZQAuditInfoStruct;

typedef struct ZQAuditInfoList {
  uint32_t count;
  ZQAuditInfoStruct* items;
} ZQAuditInfoList;

/* ---- containers ------------------------------------------------------------ */
typedef struct ZQContainerOwnerObj {
  uint32_t type;
  ZQNameType ownerName;
} ZQContainerOwnerObj;

typedef struct ZQContainerOwnerObjList {
  uint32_t count;
  ZQContainerOwnerObj* items;
} ZQContainerOwnerObjList;

typedef struct ZQContainerOwnerObjListList {
  uint32_t count;
  ZQContainerOwnerObjList* items;
} ZQContainerOwnerObjListList;

typedef struct ZQContainerInfo {
  ZQNameType name;
  uint32_t type;
  ZQContainerOwnerObjList ownerList;
} ZQContainerInfo;

typedef struct ZQContainerInfoList {
  uint32_t count;
  ZQContainerInfo* items;
} ZQContainerInfoList;

typedef struct ZQContainerTypeList {
  uint32_t count;
  int32_t* items;
} ZQContainerTypeList;

typedef struct ZQReferenceTypeList {
  uint32_t count;
  int32_t* items;
} ZQReferenceTypeList;

#define ZQ_REFERENCE_INTERNAL 0
#define ZQ_REFERENCE_EXTERNAL 1

typedef struct ZQExtReferenceStruct {
  ZQInternalIdList groupList;
  ZQValueStruct value;
} ZQExtReferenceStruct;

typedef struct ZQReferenceObj {
  uint32_t dataType; /* ZQ_REFERENCE_... */
  union {
    ZQNameType name;
    ZQExtReferenceStruct extRef;
  } u;
} ZQReferenceObj;

typedef struct ZQReferenceStruct {
  char* label;
  char* description;
  uint32_t type;
  ZQReferenceObj reference;
} ZQReferenceStruct;

typedef struct ZQReferenceList {
  uint32_t count;
  ZQReferenceStruct* items;
} ZQReferenceList;

typedef struct ZQReferenceListList {
  uint32_t count;
  ZQReferenceList* items;
} ZQReferenceListList;

/* ---- images and entry blocks ---------------------------------------------- */
typedef struct ZQImageDataStruct {
  uint32_t size;
  unsigned char* bytes;
} ZQImageDataStruct;

typedef struct ZQImageDataList {
  uint32_t count;
  ZQImageDataStruct* items;
} ZQImageDataList;

/* One compressed block of entries. */
typedef struct ZQEntryBlockStruct {
  uint32_t blockSize;
  unsigned char* bytes;
} ZQEntryBlockStruct;

typedef struct ZQEntryBlockList {
  uint32_t count;
  ZQEntryBlockStruct* items;
} ZQEntryBlockList;

/* ---- statistics, full text, roles, settings, signals ------------------------ */
typedef struct ZQStatisticsResultStruct {
  ZQValueList groupByValues; /* empty without grouping */
  ZQValueStruct result;
} ZQStatisticsResultStruct;

typedef struct ZQStatisticsResultList {
  uint32_t count;
  ZQStatisticsResultStruct* items;
} ZQStatisticsResultList;

#define ZQ_FULLTEXT_COLLECTION_DIRECTORY 1
#define ZQ_FULLTEXT_STOPWORD 2
#define ZQ_FULLTEXT_REINDEX 3
#define ZQ_FULLTEXT_CASE_SENSITIVE_SRCH 4
#define ZQ_FULLTEXT_STATE 5
#define ZQ_FULLTEXT_FTS_MATCH_OP 6

typedef struct ZQFullTextInfoStruct {
  uint32_t infoType; /* ZQ_FULLTEXT_... */
  union {
    ZQValueList valueList; /* ZQ_FULLTEXT_STOPWORD */
    ZQValueStruct value;   /* the other types */
  } u;
} ZQFullTextInfoStruct;

typedef struct ZQFullTextInfoList {
  uint32_t count;
  ZQFullTextInfoStruct* items;
} ZQFullTextInfoList;

typedef struct ZQFullTextInfoRequestList {
  uint32_t count;
  uint32_t* items;
} ZQFullTextInfoRequestList;

typedef struct ZQRoleInfoStruct {
  ZQInternalId roleId;
  ZQAccessNameType roleName;
  uint32_t roleType;
} ZQRoleInfoStruct;

typedef struct ZQRoleInfoList {
  uint32_t count;
  ZQRoleInfoStruct* items;
} ZQRoleInfoList;

typedef struct ZQServerInfoRequestList {
  uint32_t count;
  uint32_t* items;
} ZQServerInfoRequestList;

typedef struct ZQSignalStruct {
  uint32_t type;
  char* argument;
} ZQSignalStruct;

typedef struct ZQSignalList {
  uint32_t count;
  ZQSignalStruct* items;
} ZQSignalList;

/* ---- field, view and support-file info records -------------------------------
 * One definition gathered in one record. No server call fills them; they
 * are copied and released like every other structure. */
typedef struct ZQFieldInfoStruct {
  ZQInternalId fieldId;
  ZQNameType fieldName;
  ZQTimestamp timestamp;
  ZQFieldMappingStruct fieldMap;
  uint32_t dataType;
  uint32_t option;
  uint32_t createMode;
  uint32_t fieldOption;
  ZQValueStruct defaultValue;
  ZQPermissionList permList;
  ZQFieldLimitStruct limit;
  ZQDisplayInstanceList dInstanceList;
  ZQAccessNameType owner;
  ZQAccessNameType lastChanged;
  char* helpText;
  char* changeDiary;
} ZQFieldInfoStruct;

typedef struct ZQFieldInfoList {
  uint32_t count;
  ZQFieldInfoStruct* items;
} ZQFieldInfoList;

#define ZQ_MAX_LOCALE_SIZE 64

/* A list of locales: at most ZQ_MAX_LOCALE_SIZE characters each. */
typedef char ZQLocaleType[ZQ_MAX_LOCALE_SIZE + 1];

typedef struct ZQLocaleList {
  uint32_t count;
  ZQLocaleType* items;
} ZQLocaleList;

typedef struct ZQVuiInfoStruct {
  ZQInternalId vuiId;
  ZQNameType vuiName;
  ZQTimestamp timestamp;
  ZQPropList dPropList;
  ZQAccessNameType owner;
  char locale[ZQ_MAX_LOCALE_SIZE + 1];
  uint32_t vuiType;
  ZQAccessNameType lastChanged;
  char* helpText;
  char* changeDiary;
} ZQVuiInfoStruct;

typedef struct ZQVuiInfoList {
  uint32_t count;
  ZQVuiInfoStruct* items;
} ZQVuiInfoList;

typedef struct ZQSupportFileInfoStruct {
  uint32_t fileType;
  ZQNameType name;
  ZQInternalId fileId;
  ZQTimestamp timestamp;
  uint32_t contentSize; /* bytes in content */
  char* content;        /* may be null */
} ZQSupportFileInfoStruct;

typedef struct ZQSupportFileInfoList {
  uint32_t count;
  ZQSupportFileInfoStruct* items;
} ZQSupportFileInfoList;

/* ======================================================================
 * Queries over several forms (protocol version 14). Field references carry
 * the alias of the form they belong to.
 * ====================================================================== */

typedef struct ZQMultiSchemaFieldIdStruct {
  ZQNameType queryFromAlias;
  ZQInternalId fieldId;
} ZQMultiSchemaFieldIdStruct;

typedef struct ZQMultiSchemaFieldIdList {
  uint32_t count;
  ZQMultiSchemaFieldIdStruct* items;
} ZQMultiSchemaFieldIdList;

typedef struct ZQMultiSchemaStatHistoryValue {
  ZQNameType queryFromAlias;
  uint32_t enumeratedValueIndex;
  uint32_t userOrTime; /* 1 user, 2 time */
} ZQMultiSchemaStatHistoryValue;

typedef struct ZQMultiSchemaCurrencyPartStruct {
  ZQMultiSchemaFieldIdStruct fieldId;
  uint32_t partTag;
  ZQCurrencyCodeType currencyCode;
} ZQMultiSchemaCurrencyPartStruct;

struct ZQMultiSchemaArithOpStruct;
struct ZQMultiSchemaRelOpStruct;
struct ZQMultiSchemaQualifierStruct;
struct ZQMultiSchemaValueSetQueryStruct;
struct ZQMultiSchemaRecursiveQueryStruct;

#define ZQ_MULTI_VALUE_SET_QUERY 7

/* The tags of ZQFieldValueOrArithStruct, plus 7: a value-set query. */
typedef struct ZQMultiSchemaFieldValueOrArithStruct {
  uint32_t tag;
  union {
    ZQMultiSchemaFieldIdStruct fieldId;
    ZQValueStruct value;
    struct ZQMultiSchemaArithOpStruct* arithOp;
    ZQMultiSchemaStatHistoryValue statHistory;
    ZQValueList valueSet;
    ZQMultiSchemaCurrencyPartStruct* currencyField;
    struct ZQMultiSchemaValueSetQueryStruct* valueSetQuery;
    uint32_t variable;
    ZQQueryStruct* query;
  } u;
} ZQMultiSchemaFieldValueOrArithStruct;

typedef struct ZQMultiSchemaArithOpStruct {
  uint32_t operation;
  ZQMultiSchemaFieldValueOrArithStruct left;
  ZQMultiSchemaFieldValueOrArithStruct right;
} ZQMultiSchemaArithOpStruct;

typedef struct ZQMultiSchemaRelOpStruct {
  uint32_t operation;
  ZQMultiSchemaFieldValueOrArithStruct left;
  ZQMultiSchemaFieldValueOrArithStruct right;
} ZQMultiSchemaRelOpStruct;

typedef struct ZQMultiSchemaAndOrStruct {
  struct ZQMultiSchemaQualifierStruct* left;
  struct ZQMultiSchemaQualifierStruct* right;
} ZQMultiSchemaAndOrStruct;

typedef struct ZQMultiSchemaQualifierStruct {
  uint32_t operation; /* 0 to 5, as ZQQualifierStruct */
  union {
    ZQMultiSchemaAndOrStruct andor;
    struct ZQMultiSchemaQualifierStruct* notQual;
    ZQMultiSchemaRelOpStruct* relOp;
    ZQMultiSchemaFieldIdStruct fieldId;
  } u;
} ZQMultiSchemaQualifierStruct;

#define ZQ_MULTI_SCHEMA_SOURCE_FORM 0
#define ZQ_MULTI_SCHEMA_SOURCE_NESTED 1
#define ZQ_MULTI_SCHEMA_SOURCE_RECURSIVE 2

/* A source of a query over several forms. Nested queries (type 1) are not
 * supported: they are refused before sending and fail on the wire. */
typedef struct ZQMultiSchemaQueryFromStruct {
  uint32_t type; /* ZQ_MULTI_SCHEMA_SOURCE_... */
  union {
    ZQNameType schemaName;
    void* nestedQuery;
    struct ZQMultiSchemaRecursiveQueryStruct* recursiveQuery;
  } u;
  ZQNameType queryFromAlias;
  uint32_t joinType;
  ZQMultiSchemaQualifierStruct* joinQual; /* may be null */
} ZQMultiSchemaQueryFromStruct;

typedef struct ZQMultiSchemaQueryFromList {
  uint32_t count;
  ZQMultiSchemaQueryFromStruct* items;
} ZQMultiSchemaQueryFromList;

typedef struct ZQMultiSchemaRecursiveQueryStruct {
  ZQNameType queryFromAlias;
  ZQMultiSchemaQueryFromList queryFromList;
  ZQMultiSchemaFieldIdList getListFields;
  ZQMultiSchemaQualifierStruct* startQual;     /* may be null */
  ZQMultiSchemaQualifierStruct* recursionQual; /* may be null */
  int32_t levelsToRetrieve;
} ZQMultiSchemaRecursiveQueryStruct;

typedef struct ZQMultiSchemaValueSetQueryStruct {
  ZQMultiSchemaQueryFromList queryFromList;
  ZQMultiSchemaFieldIdStruct fieldId;
  ZQMultiSchemaQualifierStruct* qualifier; /* may be null */
} ZQMultiSchemaValueSetQueryStruct;

typedef struct ZQMultiSchemaSortStruct {
  ZQMultiSchemaFieldIdStruct fieldId;
  uint32_t sortOrder;
} ZQMultiSchemaSortStruct;

typedef struct ZQMultiSchemaSortList {
  uint32_t count;
  ZQMultiSchemaSortStruct* items;
} ZQMultiSchemaSortList;

typedef struct ZQMultiSchemaFieldValueStruct {
  ZQMultiSchemaFieldIdStruct fieldId;
  ZQValueStruct value;
} ZQMultiSchemaFieldValueStruct;

typedef struct ZQMultiSchemaFieldValueList {
  uint32_t count;
  ZQMultiSchemaFieldValueStruct* items;
} ZQMultiSchemaFieldValueList;

typedef struct ZQMultiSchemaFieldValueListList {
  uint32_t count;
  ZQMultiSchemaFieldValueList* items;
} ZQMultiSchemaFieldValueListList;

/* ======================================================================
 * Release. freeStruct true also releases the structure's own block; false
 * leaves it reset for reuse (see each structure's rule).
 * ====================================================================== */

/**@{*/
/** Releases everything the structure owns; with freeStruct its own block
 * too, otherwise it is left reset for reuse (see the rule above). */
void FreeZQWorkflowConnectStruct(ZQWorkflowConnectStruct* value, ZQBoolean freeStruct);
void FreeZQWorkflowConnectList(ZQWorkflowConnectList* value, ZQBoolean freeStruct);
void FreeZQCompoundSchema(ZQCompoundSchema* value, ZQBoolean freeStruct);
void FreeZQCompoundSchemaList(ZQCompoundSchemaList* value, ZQBoolean freeStruct);
void FreeZQFieldMappingList(ZQFieldMappingList* value, ZQBoolean freeStruct);
void FreeZQFieldMappingPtrList(ZQFieldMappingPtrList* value, ZQBoolean freeStruct);
void FreeZQSchemaInheritanceStruct(ZQSchemaInheritanceStruct* value, ZQBoolean freeStruct);
void FreeZQSchemaInheritanceList(ZQSchemaInheritanceList* value, ZQBoolean freeStruct);
void FreeZQSchemaInheritanceListList(ZQSchemaInheritanceListList* value, ZQBoolean freeStruct);
void FreeZQDataMappingInfoStruct(ZQDataMappingInfoStruct* value, ZQBoolean freeStruct);
void FreeZQDataMappingInfoList(ZQDataMappingInfoList* value, ZQBoolean freeStruct);
void FreeZQArchiveInfoStruct(ZQArchiveInfoStruct* value, ZQBoolean freeStruct);
void FreeZQArchiveInfoList(ZQArchiveInfoList* value, ZQBoolean freeStruct);
void FreeZQAuditInfoStruct(ZQAuditInfoStruct* value, ZQBoolean freeStruct);
void FreeZQAuditInfoList(ZQAuditInfoList* value, ZQBoolean freeStruct);
void FreeZQContainerOwnerObjList(ZQContainerOwnerObjList* value, ZQBoolean freeStruct);
void FreeZQContainerOwnerObjListList(ZQContainerOwnerObjListList* value, ZQBoolean freeStruct);
void FreeZQContainerInfoList(ZQContainerInfoList* value, ZQBoolean freeStruct);
void FreeZQContainerTypeList(ZQContainerTypeList* value, ZQBoolean freeStruct);
void FreeZQReferenceTypeList(ZQReferenceTypeList* value, ZQBoolean freeStruct);
void FreeZQReferenceStruct(ZQReferenceStruct* value, ZQBoolean freeStruct);
void FreeZQReferenceList(ZQReferenceList* value, ZQBoolean freeStruct);
void FreeZQReferenceListList(ZQReferenceListList* value, ZQBoolean freeStruct);
void FreeZQImageDataStruct(ZQImageDataStruct* value, ZQBoolean freeStruct);
void FreeZQImageDataList(ZQImageDataList* value, ZQBoolean freeStruct);
void FreeZQEntryBlockStruct(ZQEntryBlockStruct* value, ZQBoolean freeStruct);
void FreeZQEntryBlockList(ZQEntryBlockList* value, ZQBoolean freeStruct);
void FreeZQStatisticsResultList(ZQStatisticsResultList* value, ZQBoolean freeStruct);
void FreeZQFullTextInfoList(ZQFullTextInfoList* value, ZQBoolean freeStruct);
void FreeZQFullTextInfoRequestList(ZQFullTextInfoRequestList* value, ZQBoolean freeStruct);
void FreeZQRoleInfoList(ZQRoleInfoList* value, ZQBoolean freeStruct);
void FreeZQServerInfoRequestList(ZQServerInfoRequestList* value, ZQBoolean freeStruct);
void FreeZQSignalList(ZQSignalList* value, ZQBoolean freeStruct);
void FreeZQFieldInfoStruct(ZQFieldInfoStruct* value, ZQBoolean freeStruct);
void FreeZQFieldInfoList(ZQFieldInfoList* value, ZQBoolean freeStruct);
void FreeZQVuiInfoList(ZQVuiInfoList* value, ZQBoolean freeStruct);
void FreeZQSupportFileInfoList(ZQSupportFileInfoList* value, ZQBoolean freeStruct);

void FreeZQMultiSchemaFieldIdList(ZQMultiSchemaFieldIdList* value, ZQBoolean freeStruct);
void FreeZQMultiSchemaSortList(ZQMultiSchemaSortList* value, ZQBoolean freeStruct);
void FreeZQMultiSchemaQualifierStruct(ZQMultiSchemaQualifierStruct* value, ZQBoolean freeStruct);
void FreeZQMultiSchemaRelOpStruct(ZQMultiSchemaRelOpStruct* value, ZQBoolean freeStruct);
void FreeZQMultiSchemaFieldValueOrArithStruct(ZQMultiSchemaFieldValueOrArithStruct* value,
                                              ZQBoolean freeStruct);
void FreeZQMultiSchemaArithOpStruct(ZQMultiSchemaArithOpStruct* value, ZQBoolean freeStruct);
void FreeZQMultiSchemaQueryFromStruct(ZQMultiSchemaQueryFromStruct* value, ZQBoolean freeStruct);
void FreeZQMultiSchemaQueryFromList(ZQMultiSchemaQueryFromList* value, ZQBoolean freeStruct);
void FreeZQMultiSchemaRecursiveQueryStruct(ZQMultiSchemaRecursiveQueryStruct* value,
                                           ZQBoolean freeStruct);
void FreeZQMultiSchemaValueSetQueryStruct(ZQMultiSchemaValueSetQueryStruct* value,
                                          ZQBoolean freeStruct);
void FreeZQMultiSchemaFieldValueStruct(ZQMultiSchemaFieldValueStruct* value, ZQBoolean freeStruct);
void FreeZQMultiSchemaFieldValueList(ZQMultiSchemaFieldValueList* value, ZQBoolean freeStruct);
void FreeZQMultiSchemaFieldValueListList(ZQMultiSchemaFieldValueListList* value,
                                         ZQBoolean freeStruct);
/**@}*/

/* ======================================================================
 * Deep copies (zq_copy.h gives the common rules), also exported by the
 * ordinal given beside each.
 * ====================================================================== */

/** Deep copy (zq_copy.h gives the rules); ordinal 1045 */
int32_t ZQCopyVuiInfoList(ZQVuiInfoList* destination, const ZQVuiInfoList* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1046 */
int32_t ZQCopyVuiInfoStruct(ZQVuiInfoStruct* destination, const ZQVuiInfoStruct* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1047 */
int32_t ZQCopyFieldInfoList(ZQFieldInfoList* destination, const ZQFieldInfoList* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1048 */
int32_t ZQCopyFieldInfoStruct(ZQFieldInfoStruct* destination, const ZQFieldInfoStruct* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1049: the form list gets room for the next
 * multiple of 10 names */
int32_t ZQCopyWorkflowConnectStruct(ZQWorkflowConnectStruct* destination,
                                    const ZQWorkflowConnectStruct* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1053 */
int32_t ZQCopyReferenceList(ZQReferenceList* destination, const ZQReferenceList* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1054 */
int32_t ZQCopySupportFileInfoStruct(ZQSupportFileInfoStruct* destination,
                                    const ZQSupportFileInfoStruct* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1055 */
int32_t ZQCopySupportFileInfoList(ZQSupportFileInfoList* destination,
                                  const ZQSupportFileInfoList* source);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_DEFS_H */
