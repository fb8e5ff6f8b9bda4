/** \file
 * Core value and list types of libzqapi.
 *
 * Every structure a caller receives is owned by the caller: strings, arrays
 * and pointed-to structures inside it come from the library heap (ZQAlloc)
 * and are released with the matching FreeZQ... function or ZQFree.
 * A list is a count followed by a pointer to a contiguous array; a list with
 * count 0 may carry a null pointer. */
#ifndef ZQAPI_ZQ_TYPES_H
#define ZQAPI_ZQ_TYPES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- return codes ---------------------------------------------------- */
typedef int32_t ZQReturnCode;
#define ZQ_RETURN_OK 0
#define ZQ_RETURN_WARNING 1
#define ZQ_RETURN_ERROR 2
#define ZQ_RETURN_FATAL 3
#define ZQ_RETURN_BAD_STATUS 4

/* ---- names and identifiers (widths include the terminator) ----------- */
#define ZQ_MAX_NAME_SIZE 254
#define ZQ_MAX_ACCESS_NAME_SIZE 254
#define ZQ_MAX_SERVER_SIZE 64
#define ZQ_MAX_ENTRYID_SIZE 15
#define ZQ_MAX_CURRENCY_CODE_SIZE 3

typedef char ZQNameType[ZQ_MAX_NAME_SIZE + 1];
typedef char ZQAccessNameType[ZQ_MAX_ACCESS_NAME_SIZE + 1];
typedef char ZQServerNameType[ZQ_MAX_SERVER_SIZE + 1];
typedef char ZQEntryIdType[ZQ_MAX_ENTRYID_SIZE + 1];
typedef char ZQCurrencyCodeType[ZQ_MAX_CURRENCY_CODE_SIZE + 1];
typedef uint32_t ZQInternalId;
typedef int32_t ZQTimestamp;
typedef unsigned char ZQBoolean;

/* ---- data types of ZQValueStruct ------------------------------------- */
#define ZQ_DATA_TYPE_NULL 0
#define ZQ_DATA_TYPE_KEYWORD 1
#define ZQ_DATA_TYPE_INTEGER 2
#define ZQ_DATA_TYPE_REAL 3
#define ZQ_DATA_TYPE_CHAR 4
#define ZQ_DATA_TYPE_DIARY 5
#define ZQ_DATA_TYPE_ENUM 6
#define ZQ_DATA_TYPE_TIME 7
#define ZQ_DATA_TYPE_BITMASK 8
#define ZQ_DATA_TYPE_BYTES 9
#define ZQ_DATA_TYPE_DECIMAL 10
#define ZQ_DATA_TYPE_ATTACH 11
#define ZQ_DATA_TYPE_CURRENCY 12
#define ZQ_DATA_TYPE_DATE 13
#define ZQ_DATA_TYPE_TIME_OF_DAY 14
#define ZQ_DATA_TYPE_JOIN 30
#define ZQ_DATA_TYPE_TRIM 31
#define ZQ_DATA_TYPE_CONTROL 32
#define ZQ_DATA_TYPE_PAGE 35
#define ZQ_DATA_TYPE_PAGE_HOLDER 36
#define ZQ_DATA_TYPE_ATTACH_POOL 37
#define ZQ_DATA_TYPE_ULONG 40
#define ZQ_DATA_TYPE_COORDS 41
#define ZQ_DATA_TYPE_VIEW 42
#define ZQ_DATA_TYPE_DISPLAY 43

/* ---- value payloads --------------------------------------------------- */
typedef struct ZQByteList {
  uint32_t type; /* kind of bytes; not interpreted by the library */
  uint32_t count;
  unsigned char* bytes;
} ZQByteList;

typedef struct ZQCoordStruct {
  int32_t x;
  int32_t y;
} ZQCoordStruct;

typedef struct ZQCoordList {
  uint32_t count;
  ZQCoordStruct* items;
} ZQCoordList;

typedef struct ZQBufStruct {
  uint32_t size;
  unsigned char* bytes;
} ZQBufStruct;

#define ZQ_LOC_FILENAME 1
#define ZQ_LOC_BUFFER 2

typedef struct ZQLocStruct {
  uint32_t locationType;
  union {
    char* filename;     /* ZQ_LOC_FILENAME: path of a file on the client */
    ZQBufStruct buffer; /* ZQ_LOC_BUFFER */
  } u;
} ZQLocStruct;

typedef struct ZQAttachStruct {
  char* name;             /* the attachment's file name */
  int32_t originalSize;   /* size before compression */
  int32_t compressedSize; /* size after compression */
  ZQLocStruct location;
} ZQAttachStruct;

typedef struct ZQFunctionalCurrencyStruct {
  char* value;
  ZQCurrencyCodeType currencyCode;
} ZQFunctionalCurrencyStruct;

typedef struct ZQFunctionalCurrencyList {
  uint32_t count;
  ZQFunctionalCurrencyStruct* items;
} ZQFunctionalCurrencyList;

typedef struct ZQCurrencyStruct {
  char* value; /* decimal text; empty means no amount */
  ZQCurrencyCodeType currencyCode;
  ZQTimestamp conversionDate;
  ZQFunctionalCurrencyList functionalCurrencies;
} ZQCurrencyStruct;

/* ---- tagged value ----------------------------------------------------- */
typedef struct ZQValueStruct {
  uint32_t dataType;
  union {
    uint32_t keywordNumber;
    int32_t integerValue;
    double realValue;
    char* charValue; /* character, view and display values */
    char* diaryValue;
    uint32_t enumValue;
    ZQTimestamp timestampValue;
    uint32_t bitmaskValue;
    ZQByteList* byteListValue;
    char* decimalValue;
    ZQAttachStruct* attachmentValue;
    ZQCurrencyStruct* currencyValue;
    int32_t dateValue;
    int32_t timeOfDayValue;
    uint32_t ulongValue;
    ZQCoordList* coordListValue;
  } u;
} ZQValueStruct;

typedef struct ZQValueList {
  uint32_t count;
  ZQValueStruct* items;
} ZQValueList;

typedef struct ZQValueListList {
  uint32_t count;
  ZQValueList* items;
} ZQValueListList;

typedef struct ZQValuePtrList {
  uint32_t count;
  ZQValueStruct** items;
} ZQValuePtrList;

typedef struct ZQFieldValueStruct {
  ZQInternalId fieldId;
  ZQValueStruct value;
} ZQFieldValueStruct;

typedef struct ZQFieldValueList {
  uint32_t count;
  ZQFieldValueStruct* items;
} ZQFieldValueList;

typedef struct ZQFieldValueListList {
  uint32_t count;
  ZQFieldValueList* items;
} ZQFieldValueListList;

typedef struct ZQServerInfoStruct {
  uint32_t operation; /* server setting number */
  ZQValueStruct value;
} ZQServerInfoStruct;

typedef struct ZQServerInfoList {
  uint32_t count;
  ZQServerInfoStruct* items;
} ZQServerInfoList;

typedef struct ZQPropStruct {
  uint32_t propertyTag;
  ZQValueStruct value;
} ZQPropStruct;

typedef struct ZQPropList {
  uint32_t count;
  ZQPropStruct* items;
} ZQPropList;

typedef struct ZQPropListList {
  uint32_t count;
  ZQPropList* items;
} ZQPropListList;

/* ---- identifier lists ------------------------------------------------- */
typedef struct ZQNameList {
  uint32_t count;
  ZQNameType* items;
} ZQNameList;

typedef struct ZQAccessNameList {
  uint32_t count;
  ZQAccessNameType* items;
} ZQAccessNameList;

typedef struct ZQServerNameList {
  uint32_t count;
  ZQServerNameType* items;
} ZQServerNameList;

/* The ids that together identify one entry. */
typedef struct ZQEntryIdList {
  uint32_t count;
  ZQEntryIdType* items;
} ZQEntryIdList;

typedef struct ZQEntryIdListList {
  uint32_t count;
  ZQEntryIdList* items;
} ZQEntryIdListList;

typedef struct ZQInternalIdList {
  uint32_t count;
  ZQInternalId* items;
} ZQInternalIdList;

typedef struct ZQInternalIdListList {
  uint32_t count;
  ZQInternalIdList* items;
} ZQInternalIdListList;

typedef struct ZQUnsignedIntList {
  uint32_t count;
  uint32_t* items;
} ZQUnsignedIntList;

typedef struct ZQBooleanList {
  uint32_t count;
  ZQBoolean* items;
} ZQBooleanList;

typedef struct ZQTimestampList {
  uint32_t count;
  ZQTimestamp* items;
} ZQTimestampList;

typedef struct ZQTextStringList {
  uint32_t count;
  char** items;
} ZQTextStringList;

/* Flat pointer lists: each item points to its own block, owned by the list. */
typedef struct ZQNamePtrList {
  uint32_t count;
  ZQNameType** items;
} ZQNamePtrList;

typedef struct ZQAccessNamePtrList {
  uint32_t count;
  ZQAccessNameType** items;
} ZQAccessNamePtrList;

typedef struct ZQUnsignedIntPtrList {
  uint32_t count;
  uint32_t** items;
} ZQUnsignedIntPtrList;

/* ---- entries ---------------------------------------------------------- */
typedef struct ZQEntryListFieldStruct {
  ZQInternalId fieldId;
  uint32_t columnWidth;
  char separator[10];
} ZQEntryListFieldStruct;

typedef struct ZQEntryListFieldList {
  uint32_t count;
  ZQEntryListFieldStruct* items;
} ZQEntryListFieldList;

typedef struct ZQEntryListFieldListList {
  uint32_t count;
  ZQEntryListFieldList* items;
} ZQEntryListFieldListList;

typedef struct ZQEntryListStruct {
  ZQEntryIdList entryId;
  char* shortDescription;
} ZQEntryListStruct;

typedef struct ZQEntryListList {
  uint32_t count;
  ZQEntryListStruct* items;
} ZQEntryListList;

typedef struct ZQEntryListFieldValueStruct {
  ZQEntryIdList entryId;
  ZQFieldValueList* fieldValues;
} ZQEntryListFieldValueStruct;

typedef struct ZQEntryListFieldValueList {
  uint32_t count;
  ZQEntryListFieldValueStruct* items;
} ZQEntryListFieldValueList;

#define ZQ_SORT_ASCENDING 1
#define ZQ_SORT_DESCENDING 2

typedef struct ZQSortStruct {
  ZQInternalId fieldId;
  uint32_t sortOrder;
} ZQSortStruct;

typedef struct ZQSortList {
  uint32_t count;
  ZQSortStruct* items;
} ZQSortList;

typedef struct ZQSortListList {
  uint32_t count;
  ZQSortList* items;
} ZQSortListList;

#define ZQ_MAX_INDEX_FIELDS 16

typedef struct ZQIndexStruct {
  uint32_t numberOfFields;
  ZQInternalId fieldId[ZQ_MAX_INDEX_FIELDS];
  ZQBoolean uniqueFlag;
  ZQNameType indexName;
  uint32_t indexFlags;
} ZQIndexStruct;

typedef struct ZQIndexList {
  uint32_t count;
  ZQIndexStruct* items;
} ZQIndexList;

typedef struct ZQIndexListList {
  uint32_t count;
  ZQIndexList* items;
} ZQIndexListList;

/* ---- status history and diary ---------------------------------------- */
typedef struct ZQStatusHistoryStruct {
  ZQAccessNameType user; /* empty when the status value was never set */
  uint32_t timestamp;
} ZQStatusHistoryStruct;

typedef struct ZQStatusHistoryList {
  uint32_t count;
  ZQStatusHistoryStruct* items;
} ZQStatusHistoryList;

typedef struct ZQDiaryStruct {
  ZQAccessNameType user;
  uint32_t timestamp;
  char* value;
} ZQDiaryStruct;

typedef struct ZQDiaryList {
  uint32_t count;
  ZQDiaryStruct* items;
} ZQDiaryList;

/* ---- permissions and groups ------------------------------------------ */
#define ZQ_PERMISSIONS_NONE 0
#define ZQ_PERMISSIONS_VIEW 1
#define ZQ_PERMISSIONS_CHANGE 2

typedef struct ZQPermissionStruct {
  ZQInternalId groupId;
  uint32_t permissions;
} ZQPermissionStruct;

typedef struct ZQPermissionList {
  uint32_t count;
  ZQPermissionStruct* items;
} ZQPermissionList;

typedef struct ZQPermissionListList {
  uint32_t count;
  ZQPermissionList* items;
} ZQPermissionListList;

typedef struct ZQPermissionListPtrList {
  uint32_t count;
  ZQPermissionList** items;
} ZQPermissionListPtrList;

typedef struct ZQGroupInfoStruct {
  ZQInternalId groupId;
  uint32_t groupType; /* 1 view, 2 change */
  ZQAccessNameList groupNames;
  uint32_t groupExtra;
} ZQGroupInfoStruct;

typedef struct ZQGroupInfoList {
  uint32_t count;
  ZQGroupInfoStruct* items;
} ZQGroupInfoList;

/* ---- status list -------------------------------------------------------- */
#define ZQ_MESSAGE_NOTE 0
#define ZQ_MESSAGE_WARNING 1
#define ZQ_MESSAGE_ERROR 2

typedef struct ZQStatusStruct {
  uint32_t messageType; /* 0 note, 1 warning, 2 error */
  int32_t messageNumber;
  char* message;  /* never null once the entry is complete */
  char* appended; /* may be null */
} ZQStatusStruct;

typedef struct ZQStatusList {
  uint32_t count;
  ZQStatusStruct* items;
} ZQStatusList;

typedef struct ZQStatusListList {
  uint32_t count;
  ZQStatusList* items;
} ZQStatusListList;

/* ---- display instances ------------------------------------------------ */
typedef struct ZQDisplayInstanceStruct {
  ZQInternalId vuiId;
  ZQPropList properties;
} ZQDisplayInstanceStruct;

typedef struct ZQDisplayInstanceList {
  ZQPropList commonProperties;
  uint32_t count;
  ZQDisplayInstanceStruct* items;
} ZQDisplayInstanceList;

typedef struct ZQDisplayInstanceListList {
  uint32_t count;
  ZQDisplayInstanceList* items;
} ZQDisplayInstanceListList;

typedef struct ZQDisplayInstanceListPtrList {
  uint32_t count;
  ZQDisplayInstanceList** items;
} ZQDisplayInstanceListPtrList;

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_TYPES_H */
