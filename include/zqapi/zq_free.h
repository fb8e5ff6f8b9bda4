/** \file
 * The Free family: releasing what the library handed to a caller.
 *
 * Every function takes the structure and freeStruct (only its low byte
 * counts). Everything the structure owns is released; with freeStruct true
 * the structure's own block is released too, otherwise the structure stays
 * and is reset (counts 0, released pointers null, tags 0 where the type's
 * rule says so) so that it can be freed again or reused. A null value is
 * ignored. FreeZQStatusList is declared in zq_session.h. */
#ifndef ZQAPI_ZQ_FREE_H
#define ZQAPI_ZQ_FREE_H

#include "zq_qual.h"
#include "zq_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* A list of boolean lists. */
typedef struct ZQBooleanListList {
  uint32_t count;
  ZQBooleanList* items;
} ZQBooleanListList;

/* ---- lists of flat items ------------------------------------------------ */
/**@{*/
/** Releases what the structure owns; with freeStruct its own block
 * too, otherwise it is left reset for reuse. */
void FreeZQAccessNameList(ZQAccessNameList* value, ZQBoolean freeStruct);
void FreeZQBooleanList(ZQBooleanList* value, ZQBoolean freeStruct);
void FreeZQCoordList(ZQCoordList* value, ZQBoolean freeStruct);
void FreeZQEntryIdList(ZQEntryIdList* value, ZQBoolean freeStruct);
void FreeZQEntryListFieldList(ZQEntryListFieldList* value, ZQBoolean freeStruct);
void FreeZQIndexList(ZQIndexList* value, ZQBoolean freeStruct);
void FreeZQInternalIdList(ZQInternalIdList* value, ZQBoolean freeStruct);
void FreeZQNameList(ZQNameList* value, ZQBoolean freeStruct);
void FreeZQPermissionList(ZQPermissionList* value, ZQBoolean freeStruct);
void FreeZQServerNameList(ZQServerNameList* value, ZQBoolean freeStruct);
void FreeZQSortList(ZQSortList* value, ZQBoolean freeStruct);
void FreeZQStatusHistoryList(ZQStatusHistoryList* value, ZQBoolean freeStruct);
void FreeZQTimestampList(ZQTimestampList* value, ZQBoolean freeStruct);
void FreeZQUnsignedIntList(ZQUnsignedIntList* value, ZQBoolean freeStruct);
/**@}*/

/* ---- lists of flat lists ------------------------------------------------ */
/**@{*/
/** Releases what the structure owns; with freeStruct its own block
 * too, otherwise it is left reset for reuse. */
void FreeZQBooleanListList(ZQBooleanListList* value, ZQBoolean freeStruct);
void FreeZQEntryIdListList(ZQEntryIdListList* value, ZQBoolean freeStruct);
void FreeZQEntryListFieldListList(ZQEntryListFieldListList* value, ZQBoolean freeStruct);
void FreeZQIndexListList(ZQIndexListList* value, ZQBoolean freeStruct);
void FreeZQInternalIdListList(ZQInternalIdListList* value, ZQBoolean freeStruct);
void FreeZQSortListList(ZQSortListList* value, ZQBoolean freeStruct);
void FreeZQPermissionListList(ZQPermissionListList* value, ZQBoolean freeStruct);
/**@}*/

/* ---- flat pointer lists: each pointed-to block belongs to the list ------ */
/**@{*/
/** Releases what the structure owns; with freeStruct its own block
 * too, otherwise it is left reset for reuse. */
void FreeZQAccessNamePtrList(ZQAccessNamePtrList* value, ZQBoolean freeStruct);
void FreeZQNamePtrList(ZQNamePtrList* value, ZQBoolean freeStruct);
void FreeZQTextStringList(ZQTextStringList* value, ZQBoolean freeStruct);
void FreeZQUnsignedIntPtrList(ZQUnsignedIntPtrList* value, ZQBoolean freeStruct);
/**@}*/

/* ---- values and their payloads -------------------------------------------- */
/**@{*/
/** Releases what the structure owns; with freeStruct its own block
 * too, otherwise it is left reset for reuse. */
void FreeZQValueStruct(ZQValueStruct* value, ZQBoolean freeStruct);
void FreeZQValueList(ZQValueList* value, ZQBoolean freeStruct);
void FreeZQValueListList(ZQValueListList* value, ZQBoolean freeStruct);
void FreeZQFieldValueStruct(ZQFieldValueStruct* value, ZQBoolean freeStruct);
void FreeZQFieldValueList(ZQFieldValueList* value, ZQBoolean freeStruct);
void FreeZQServerInfoList(ZQServerInfoList* value, ZQBoolean freeStruct);
void FreeZQFieldValueListList(ZQFieldValueListList* value, ZQBoolean freeStruct);
void FreeZQByteList(ZQByteList* value, ZQBoolean freeStruct);
void FreeZQBufStruct(ZQBufStruct* value, ZQBoolean freeStruct);
void FreeZQLocStruct(ZQLocStruct* value, ZQBoolean freeStruct);
void FreeZQAttachStruct(ZQAttachStruct* value, ZQBoolean freeStruct);
void FreeZQPropStruct(ZQPropStruct* value, ZQBoolean freeStruct);
void FreeZQPropList(ZQPropList* value, ZQBoolean freeStruct);
void FreeZQPropListList(ZQPropListList* value, ZQBoolean freeStruct);
/**@}*/

/* ---- structure pointer lists: only the contents of each pointed-to item ---- */
/**@{*/
/** Releases what the structure owns; with freeStruct its own block
 * too, otherwise it is left reset for reuse. */
void FreeZQValuePtrList(ZQValuePtrList* value, ZQBoolean freeStruct);
void FreeZQPermissionListPtrList(ZQPermissionListPtrList* value, ZQBoolean freeStruct);
void FreeZQDisplayInstanceListPtrList(ZQDisplayInstanceListPtrList* value, ZQBoolean freeStruct);
/**@}*/

/* ---- entries, groups, diaries, status lists, display instances -------------- */
/**@{*/
/** Releases what the structure owns; with freeStruct its own block
 * too, otherwise it is left reset for reuse. */
void FreeZQEntryListList(ZQEntryListList* value, ZQBoolean freeStruct);
void FreeZQEntryListFieldValueStruct(ZQEntryListFieldValueStruct* value, ZQBoolean freeStruct);
void FreeZQEntryListFieldValueList(ZQEntryListFieldValueList* value, ZQBoolean freeStruct);
void FreeZQGroupInfoList(ZQGroupInfoList* value, ZQBoolean freeStruct);
void FreeZQDiaryList(ZQDiaryList* value, ZQBoolean freeStruct);
void FreeZQStatusListList(ZQStatusListList* value, ZQBoolean freeStruct);
void FreeZQDisplayInstanceStruct(ZQDisplayInstanceStruct* value, ZQBoolean freeStruct);
void FreeZQDisplayInstanceList(ZQDisplayInstanceList* value, ZQBoolean freeStruct);
void FreeZQDisplayInstanceListList(ZQDisplayInstanceListList* value, ZQBoolean freeStruct);
/**@}*/

/* ---- qualifications, arithmetic and assignments ------------------------------ */
/**@{*/
/** Releases what the structure owns; with freeStruct its own block
 * too, otherwise it is left reset for reuse. */
void FreeZQQualifierStruct(ZQQualifierStruct* value, ZQBoolean freeStruct);
void FreeZQQualifierList(ZQQualifierList* value, ZQBoolean freeStruct);
void FreeZQRelOpStruct(ZQRelOpStruct* value, ZQBoolean freeStruct);
void FreeZQFieldValueOrArithStruct(ZQFieldValueOrArithStruct* value, ZQBoolean freeStruct);
void FreeZQArithOpStruct(ZQArithOpStruct* value, ZQBoolean freeStruct);
void FreeZQAssignStruct(ZQAssignStruct* value, ZQBoolean freeStruct);
void FreeZQAssignFieldStruct(ZQAssignFieldStruct* value, ZQBoolean freeStruct);
void FreeZQArithOpAssignStruct(ZQArithOpAssignStruct* value, ZQBoolean freeStruct);
void FreeZQFunctionAssignStruct(ZQFunctionAssignStruct* value, ZQBoolean freeStruct);
void FreeZQDDEStruct(ZQDDEStruct* value, ZQBoolean freeStruct);
void FreeZQAssignSQLStruct(ZQAssignSQLStruct* value, ZQBoolean freeStruct);
void FreeZQFieldAssignStruct(ZQFieldAssignStruct* value, ZQBoolean freeStruct);
void FreeZQFieldAssignList(ZQFieldAssignList* value, ZQBoolean freeStruct);
/**@}*/

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_FREE_H */
