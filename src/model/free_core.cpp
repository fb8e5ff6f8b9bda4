// The Free family for the core value and list types.
#include "model/describe_core.h"
#include "model/free_impl.h"
#include "zqapi/zq_free.h"

using zq::model::freeExport;

extern "C" {

void FreeZQAccessNameList(ZQAccessNameList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQBooleanList(ZQBooleanList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQCoordList(ZQCoordList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQEntryIdList(ZQEntryIdList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQEntryListFieldList(ZQEntryListFieldList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQIndexList(ZQIndexList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQInternalIdList(ZQInternalIdList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQNameList(ZQNameList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQPermissionList(ZQPermissionList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQServerNameList(ZQServerNameList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQSortList(ZQSortList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQStatusHistoryList(ZQStatusHistoryList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQTimestampList(ZQTimestampList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQUnsignedIntList(ZQUnsignedIntList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQBooleanListList(ZQBooleanListList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQEntryIdListList(ZQEntryIdListList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQEntryListFieldListList(ZQEntryListFieldListList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQIndexListList(ZQIndexListList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQInternalIdListList(ZQInternalIdListList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQSortListList(ZQSortListList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQPermissionListList(ZQPermissionListList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQAccessNamePtrList(ZQAccessNamePtrList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQNamePtrList(ZQNamePtrList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQTextStringList(ZQTextStringList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQUnsignedIntPtrList(ZQUnsignedIntPtrList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQValueStruct(ZQValueStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQValueList(ZQValueList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQValueListList(ZQValueListList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQFieldValueStruct(ZQFieldValueStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQFieldValueList(ZQFieldValueList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQServerInfoList(ZQServerInfoList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQFieldValueListList(ZQFieldValueListList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQByteList(ZQByteList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQBufStruct(ZQBufStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQLocStruct(ZQLocStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQAttachStruct(ZQAttachStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQPropStruct(ZQPropStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQPropList(ZQPropList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQPropListList(ZQPropListList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQEntryListList(ZQEntryListList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQEntryListFieldValueStruct(ZQEntryListFieldValueStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQEntryListFieldValueList(ZQEntryListFieldValueList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQGroupInfoList(ZQGroupInfoList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQDiaryList(ZQDiaryList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQStatusListList(ZQStatusListList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQDisplayInstanceStruct(ZQDisplayInstanceStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQDisplayInstanceList(ZQDisplayInstanceList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQDisplayInstanceListList(ZQDisplayInstanceListList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}

// Structure pointer lists own only the contents of what they point to.

void FreeZQValuePtrList(ZQValuePtrList* value, ZQBoolean freeStruct) {
  if (!value) return;
  if (value->count && value->items)
    for (uint32_t i = 0; i < value->count; ++i) FreeZQValueStruct(value->items[i], 0);
  if (value->count) zq::freeBlock(value->items);
  value->count = 0;
  value->items = nullptr;
  if (freeStruct) zq::freeBlock(value);
}

void FreeZQPermissionListPtrList(ZQPermissionListPtrList* value, ZQBoolean freeStruct) {
  if (!value) return;
  if (value->count && value->items)
    for (uint32_t i = 0; i < value->count; ++i) FreeZQPermissionList(value->items[i], 0);
  if (value->count) zq::freeBlock(value->items);
  value->count = 0;
  value->items = nullptr;
  if (freeStruct) zq::freeBlock(value);
}

void FreeZQDisplayInstanceListPtrList(ZQDisplayInstanceListPtrList* value, ZQBoolean freeStruct) {
  if (!value) return;
  if (value->count && value->items)
    for (uint32_t i = 0; i < value->count; ++i) FreeZQDisplayInstanceList(value->items[i], 0);
  if (value->count) zq::freeBlock(value->items);
  value->count = 0;
  value->items = nullptr;
  if (freeStruct) zq::freeBlock(value);
}

}  // extern "C"
