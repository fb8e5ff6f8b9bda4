/** \file
 * Deep copies of public structures.
 *
 * Each function copies source into destination so that both can be
 * released separately with the Free family. The destination is treated as
 * uninitialized: whatever it held is overwritten, never freed. Results:
 * 0 success; 300 out of memory (destination left empty and releasable,
 * source untouched); 155 a null destination for a non-null source. A null
 * source empties the destination and returns 0.
 * Each function is also exported by the ordinal given beside it
 * (ZQGetOrdinal). */
#ifndef ZQAPI_ZQ_COPY_H
#define ZQAPI_ZQ_COPY_H

#include "zq_qual.h"
#include "zq_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define ZQ_COPY_OK 0
#define ZQ_COPY_NO_MEMORY 300
/* a non-null source but no destination */
#define ZQ_COPY_NO_DESTINATION 155

/** Deep copy (see the file comment); ordinal 1001 */
int32_t ZQCopyAssignFilterApiStruct(ZQAssignFilterApiStruct* destination,
                                    const ZQAssignFilterApiStruct* source);
/** Deep copy (see the file comment); ordinal 1002 */
int32_t ZQCopyValueStruct(ZQValueStruct* destination, const ZQValueStruct* source);
/** Deep copy (see the file comment); ordinal 1003 and 1004 */
int32_t ZQCopyPermissionList(ZQPermissionList* destination, const ZQPermissionList* source);
/** Deep copy (see the file comment); ordinal 1005: room for the next multiple of 10 items, spare
 * slots zeroed */
int32_t ZQCopyNameList(ZQNameList* destination, const ZQNameList* source);
/** Deep copy (see the file comment); ordinal 1006 */
int32_t ZQCopyTextStringList(ZQTextStringList* destination, const ZQTextStringList* source);
/** Deep copy (see the file comment); ordinal 1007 */
int32_t ZQCopyInternalIdList(ZQInternalIdList* destination, const ZQInternalIdList* source);
/** Deep copy (see the file comment); ordinal 1008 */
int32_t ZQCopyAccessNameList(ZQAccessNameList* destination, const ZQAccessNameList* source);
/** Deep copy (see the file comment); ordinal 1012 */
int32_t ZQCopySortList(ZQSortList* destination, const ZQSortList* source);
/** Deep copy (see the file comment); ordinal 1013 */
int32_t ZQCopyEntryListFieldList(ZQEntryListFieldList* destination,
                                 const ZQEntryListFieldList* source);
/** Deep copy (see the file comment); ordinal 1015 */
int32_t ZQCopyStatusHistoryList(ZQStatusHistoryList* destination,
                                const ZQStatusHistoryList* source);
/** Deep copy (see the file comment); ordinal 1016 */
int32_t ZQCopyFieldValueStruct(ZQFieldValueStruct* destination, const ZQFieldValueStruct* source);
/** Deep copy (see the file comment); ordinal 1017 */
int32_t ZQCopyPropList(ZQPropList* destination, const ZQPropList* source);
/** Deep copy (see the file comment); ordinal 1018 */
int32_t ZQCopyDisplayInstanceStruct(ZQDisplayInstanceStruct* destination,
                                    const ZQDisplayInstanceStruct* source);
/** Deep copy (see the file comment); ordinal 1019 */
int32_t ZQCopyDisplayInstanceList(ZQDisplayInstanceList* destination,
                                  const ZQDisplayInstanceList* source);
/** Deep copy (see the file comment); ordinal 1020: room for the next multiple of 100 items, spare
 * slots zeroed */
int32_t ZQCopyInternalIdListWithSpare(ZQInternalIdList* destination,
                                      const ZQInternalIdList* source);
/** Deep copy (see the file comment); ordinal 1022; also copies a ZQServerInfoList (same layout) */
int32_t ZQCopyFieldValueList(ZQFieldValueList* destination, const ZQFieldValueList* source);
/** Deep copy (see the file comment); ordinal 1023 */
int32_t ZQCopyValueList(ZQValueList* destination, const ZQValueList* source);
/** Deep copy (see the file comment); ordinal 1024 */
int32_t ZQCopyRelOpStruct(ZQRelOpStruct* destination, const ZQRelOpStruct* source);
/** Deep copy (see the file comment); ordinal 1025 */
int32_t ZQCopyQueryStruct(ZQQueryStruct* destination, const ZQQueryStruct* source);
/** Deep copy (see the file comment); ordinal 1026 */
int32_t ZQCopyFieldValueOrArithStruct(ZQFieldValueOrArithStruct* destination,
                                      const ZQFieldValueOrArithStruct* source);
/** Deep copy (see the file comment); ordinal 1027 */
int32_t ZQCopyArithOpStruct(ZQArithOpStruct* destination, const ZQArithOpStruct* source);
/** Deep copy (see the file comment); ordinal 1028 */
int32_t ZQCopyQualifierStruct(ZQQualifierStruct* destination, const ZQQualifierStruct* source);
/** Deep copy (see the file comment); ordinal 1029 */
int32_t ZQCopyAssignFieldStruct(ZQAssignFieldStruct* destination,
                                const ZQAssignFieldStruct* source);
/** Deep copy (see the file comment); ordinal 1030 */
int32_t ZQCopyFieldAssignStruct(ZQFieldAssignStruct* destination,
                                const ZQFieldAssignStruct* source);
/** Deep copy (see the file comment); ordinal 1031 */
int32_t ZQCopyArithOpAssignStruct(ZQArithOpAssignStruct* destination,
                                  const ZQArithOpAssignStruct* source);
/** Deep copy (see the file comment); ordinal 1032 */
int32_t ZQCopyFunctionAssignStruct(ZQFunctionAssignStruct* destination,
                                   const ZQFunctionAssignStruct* source);
/** Deep copy (see the file comment); ordinal 1033 */
int32_t ZQCopyDDEStruct(ZQDDEStruct* destination, const ZQDDEStruct* source);
/** Deep copy (see the file comment); ordinal 1034 */
int32_t ZQCopyAssignSQLStruct(ZQAssignSQLStruct* destination, const ZQAssignSQLStruct* source);
/** Deep copy (see the file comment); ordinal 1035 */
int32_t ZQCopyAssignStruct(ZQAssignStruct* destination, const ZQAssignStruct* source);
/** Deep copy (see the file comment); ordinal 1036 */
int32_t ZQCopyFieldAssignList(ZQFieldAssignList* destination, const ZQFieldAssignList* source);
/** Deep copy (see the file comment); ordinal 1056 */
int32_t ZQCopyStatusStruct(ZQStatusStruct* destination, const ZQStatusStruct* source);
/** Deep copy (see the file comment); ordinal 1057 */
int32_t ZQCopyStatusList(ZQStatusList* destination, const ZQStatusList* source);
/** Deep copy (see the file comment); ordinal 1061 */
int32_t ZQCopyCurrencyStruct(ZQCurrencyStruct* destination, const ZQCurrencyStruct* source);
/** Deep copy (see the file comment); ordinal 1062 */
int32_t ZQCopyServerInfoStruct(ZQServerInfoStruct* destination, const ZQServerInfoStruct* source);
/** Deep copy (see the file comment); ordinal 1065 */
int32_t ZQCopyEntryIdList(ZQEntryIdList* destination, const ZQEntryIdList* source);
/** Deep copy (see the file comment); ordinal 1066 */
int32_t ZQCopyEntryListFieldValueList(ZQEntryListFieldValueList* destination,
                                      const ZQEntryListFieldValueList* source);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_COPY_H */
