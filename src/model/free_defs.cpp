// The Free family for workflow actions, menus, field limits and the
// definition structures. Everything released is nulled or emptied, so a
// structure kept by the caller can be freed again.
#include "model/describe_defs.h"
#include "model/free_impl.h"
#include "zqapi/zq_defs.h"

using zq::model::freeExport;

extern "C" {

// clang-format off
void FreeZQFilterActionStruct(ZQFilterActionStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQFilterActionList(ZQFilterActionList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQFilterActionListList(ZQFilterActionListList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQActiveLinkActionStruct(ZQActiveLinkActionStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQActiveLinkActionList(ZQActiveLinkActionList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQActiveLinkActionListList(ZQActiveLinkActionListList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQPushFieldsList(ZQPushFieldsList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQMacroParmList(ZQMacroParmList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQCOMValueStruct(ZQCOMValueStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQCOMMethodList(ZQCOMMethodList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQCOMMethodParmList(ZQCOMMethodParmList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQCharMenuStruct(ZQCharMenuStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQCharMenuItemStruct(ZQCharMenuItemStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQCharMenuList(ZQCharMenuList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQCharMenuStructList(ZQCharMenuStructList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQCharMenuSSStruct(ZQCharMenuSSStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQFieldLimitStruct(ZQFieldLimitStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQFieldLimitList(ZQFieldLimitList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQEnumItemList(ZQEnumItemList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQSQLStruct(ZQSQLStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQWorkflowConnectStruct(ZQWorkflowConnectStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQWorkflowConnectList(ZQWorkflowConnectList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQCompoundSchema(ZQCompoundSchema* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQCompoundSchemaList(ZQCompoundSchemaList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQFieldMappingList(ZQFieldMappingList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQFieldMappingPtrList(ZQFieldMappingPtrList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQSchemaInheritanceStruct(ZQSchemaInheritanceStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQSchemaInheritanceList(ZQSchemaInheritanceList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQSchemaInheritanceListList(ZQSchemaInheritanceListList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQDataMappingInfoStruct(ZQDataMappingInfoStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQDataMappingInfoList(ZQDataMappingInfoList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQArchiveInfoStruct(ZQArchiveInfoStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQArchiveInfoList(ZQArchiveInfoList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQAuditInfoStruct(ZQAuditInfoStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQAuditInfoList(ZQAuditInfoList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQContainerOwnerObjList(ZQContainerOwnerObjList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQContainerOwnerObjListList(ZQContainerOwnerObjListList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQContainerInfoList(ZQContainerInfoList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQContainerTypeList(ZQContainerTypeList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQReferenceTypeList(ZQReferenceTypeList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQReferenceStruct(ZQReferenceStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQReferenceList(ZQReferenceList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQReferenceListList(ZQReferenceListList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQImageDataStruct(ZQImageDataStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQImageDataList(ZQImageDataList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQEntryBlockStruct(ZQEntryBlockStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQEntryBlockList(ZQEntryBlockList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQStatisticsResultList(ZQStatisticsResultList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQFullTextInfoList(ZQFullTextInfoList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQFullTextInfoRequestList(ZQFullTextInfoRequestList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQRoleInfoList(ZQRoleInfoList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQServerInfoRequestList(ZQServerInfoRequestList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQSignalList(ZQSignalList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQFieldInfoStruct(ZQFieldInfoStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQFieldInfoList(ZQFieldInfoList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQVuiInfoList(ZQVuiInfoList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQSupportFileInfoList(ZQSupportFileInfoList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQMultiSchemaFieldIdList(ZQMultiSchemaFieldIdList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQMultiSchemaSortList(ZQMultiSchemaSortList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQMultiSchemaQualifierStruct(ZQMultiSchemaQualifierStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQMultiSchemaRelOpStruct(ZQMultiSchemaRelOpStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQMultiSchemaFieldValueOrArithStruct(ZQMultiSchemaFieldValueOrArithStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQMultiSchemaArithOpStruct(ZQMultiSchemaArithOpStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQMultiSchemaQueryFromStruct(ZQMultiSchemaQueryFromStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQMultiSchemaQueryFromList(ZQMultiSchemaQueryFromList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQMultiSchemaRecursiveQueryStruct(ZQMultiSchemaRecursiveQueryStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQMultiSchemaValueSetQueryStruct(ZQMultiSchemaValueSetQueryStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQMultiSchemaFieldValueStruct(ZQMultiSchemaFieldValueStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQMultiSchemaFieldValueList(ZQMultiSchemaFieldValueList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQMultiSchemaFieldValueListList(ZQMultiSchemaFieldValueListList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
// clang-format on

// Takes the address of the pointer. The nine strings are released and nulled
// even when the block is kept, so that a second free finds nothing to release.
void FreeZQFilterActionNotifyAdvanced(ZQFilterActionNotifyAdvanced** value, ZQBoolean freeStruct) {
  if (!value || !*value) return;
  zq::model::release(**value);
  if (freeStruct) {
    zq::freeBlock(*value);
    *value = nullptr;
  }
}

// Only the items of a list menu; a menu of another type is left as it is,
// since resetting its type would lose what it owns.
void FreeListZQCharMenuStruct(ZQCharMenuStruct* value, ZQBoolean freeStruct) {
  if (!value) return;
  if (value->menuType != ZQ_CHAR_MENU_LIST) {
    if (freeStruct) zq::freeBlock(value);
    return;
  }
  FreeZQCharMenuList(&value->u.menuList, 0);
  value->menuType = 0;
  if (freeStruct) zq::freeBlock(value);
}

// The limits pointed to are not the list's: only their contents are released.
void FreeZQFieldLimitPtrList(ZQFieldLimitPtrList* value, ZQBoolean freeStruct) {
  if (!value) return;
  if (value->count && value->items) {
    for (uint32_t i = 0; i < value->count; ++i) FreeZQFieldLimitStruct(value->items[i], 0);
    zq::freeBlock(value->items);
  }
  value->count = 0;
  value->items = nullptr;
  if (freeStruct) zq::freeBlock(value);
}

}  // extern "C"
