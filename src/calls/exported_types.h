// The exported structure types and their Free and Copy functions: one row
// per type, from which calls/free.cpp and calls/copy.cpp generate the
// FreeZQ... and ZQCopy... definitions and calls/ordinals.cpp the ordinal rows
// of the copies. The public headers declare every one of them, so a row
// whose generated function does not match its declaration does not compile.
//
//   X(Name, Free, Copy, Ordinal)
//     Name     the type without its ZQ prefix: type ZQ<Name>, FreeZQ<Name>,
//              ZQCopy<Name>
//     Free     generated  releases what the value owns by its description
//              own        written by hand in calls/ (a reset rule or another
//                         shape: pointer lists, FreeZQStatusList, ...)
//              none       the type has no Free function
//     Copy     generated  deep copy by its description, the common results
//              own        written by hand in calls/copy.cpp (spare room,
//                         type checks)
//              none       the type has no copy
//     Ordinal  the copy's ordinal; 0 without a copy
//
// Beside the rows: FreeListZQCharMenuStruct (calls/free.cpp),
// ZQCopyInternalIdListWithSpare (calls/copy.cpp, ordinal 1020) and the second
// ordinals of two copies (1004, 1052; calls/ordinals.cpp).
#pragma once

// clang-format off
#define ZQ_EXPORTED_TYPES(X) \
  /* core values and lists (zq_types.h) */ \
  X(AccessNameList,                     generated, generated, 1008) \
  X(AccessNamePtrList,                  generated, none,      0) \
  X(AttachStruct,                       generated, none,      0) \
  X(BooleanList,                        generated, none,      0) \
  X(BufStruct,                          generated, none,      0) \
  X(ByteList,                           generated, none,      0) \
  X(CoordList,                          generated, none,      0) \
  X(CurrencyStruct,                     none,      generated, 1061) \
  X(DiaryList,                          generated, none,      0) \
  X(DisplayInstanceList,                generated, generated, 1019) \
  X(DisplayInstanceListList,            generated, none,      0) \
  X(DisplayInstanceListPtrList,         own,       none,      0) \
  X(DisplayInstanceStruct,              generated, generated, 1018) \
  X(EntryIdList,                        generated, generated, 1065) \
  X(EntryIdListList,                    generated, none,      0) \
  X(EntryListFieldList,                 generated, generated, 1013) \
  X(EntryListFieldListList,             generated, none,      0) \
  X(EntryListFieldValueList,            generated, generated, 1066) \
  X(EntryListFieldValueStruct,          generated, none,      0) \
  X(EntryListList,                      generated, none,      0) \
  X(FieldValueList,                     generated, generated, 1022) \
  X(FieldValueListList,                 generated, none,      0) \
  X(FieldValueStruct,                   generated, generated, 1016) \
  X(GroupInfoList,                      generated, none,      0) \
  X(IndexList,                          generated, none,      0) \
  X(IndexListList,                      generated, none,      0) \
  X(InternalIdList,                     generated, generated, 1007) \
  X(InternalIdListList,                 generated, none,      0) \
  X(LocStruct,                          generated, none,      0) \
  X(NameList,                           generated, own,       1005) \
  X(NamePtrList,                        generated, none,      0) \
  X(PermissionList,                     generated, generated, 1003) \
  X(PermissionListList,                 generated, none,      0) \
  X(PermissionListPtrList,              own,       none,      0) \
  X(PropList,                           generated, generated, 1017) \
  X(PropListList,                       generated, none,      0) \
  X(PropStruct,                         generated, none,      0) \
  X(ServerInfoList,                     generated, none,      0) \
  X(ServerInfoStruct,                   none,      generated, 1062) \
  X(ServerNameList,                     generated, none,      0) \
  X(SortList,                           generated, generated, 1012) \
  X(SortListList,                       generated, none,      0) \
  X(StatusHistoryList,                  generated, generated, 1015) \
  X(StatusList,                         own,       generated, 1057) \
  X(StatusListList,                     generated, none,      0) \
  X(StatusStruct,                       none,      generated, 1056) \
  X(TextStringList,                     generated, generated, 1006) \
  X(TimestampList,                      generated, none,      0) \
  X(UnsignedIntList,                    generated, none,      0) \
  X(UnsignedIntPtrList,                 generated, none,      0) \
  X(ValueList,                          generated, generated, 1023) \
  X(ValueListList,                      generated, none,      0) \
  X(ValuePtrList,                       own,       none,      0) \
  X(ValueStruct,                        generated, generated, 1002) \
  /* lists of lists declared with the Free family (zq_free.h) */ \
  X(BooleanListList,                    generated, none,      0) \
  /* qualifications, arithmetic and assignments (zq_qual.h) */ \
  X(ArithOpAssignStruct,                generated, generated, 1031) \
  X(ArithOpStruct,                      generated, generated, 1027) \
  X(AssignFieldStruct,                  generated, generated, 1029) \
  X(AssignFilterApiStruct,              none,      generated, 1001) \
  X(AssignSQLStruct,                    generated, generated, 1034) \
  X(AssignStruct,                       generated, generated, 1035) \
  X(DDEStruct,                          generated, generated, 1033) \
  X(FieldAssignList,                    generated, generated, 1036) \
  X(FieldAssignStruct,                  generated, generated, 1030) \
  X(FieldValueOrArithStruct,            generated, generated, 1026) \
  X(FunctionAssignStruct,               generated, generated, 1032) \
  X(QualifierList,                      generated, none,      0) \
  X(QualifierStruct,                    generated, generated, 1028) \
  X(QueryStruct,                        none,      generated, 1025) \
  X(RelOpStruct,                        generated, generated, 1024) \
  /* entry calls (zq_entries.h) */ \
  X(BulkEntryReturnList,                generated, none,      0) \
  /* workflow actions, menus and field limits (zq_workflow.h) */ \
  X(ActiveLinkActionList,               generated, generated, 1051) \
  X(ActiveLinkActionListList,           generated, none,      0) \
  X(ActiveLinkActionStruct,             generated, generated, 1050) \
  X(COMMethodList,                      generated, none,      0) \
  X(COMMethodParmList,                  generated, none,      0) \
  X(COMValueStruct,                     generated, none,      0) \
  X(CharMenuItemStruct,                 generated, own,       1042) \
  X(CharMenuList,                       generated, none,      0) \
  X(CharMenuSSStruct,                   generated, none,      0) \
  X(CharMenuStruct,                     generated, own,       1043) \
  X(CharMenuStructList,                 generated, none,      0) \
  X(CurrencyPrecisionList,              none,      generated, 1060) \
  X(EnumItemList,                       generated, generated, 1009) \
  X(FieldLimitList,                     generated, none,      0) \
  X(FieldLimitPtrList,                  own,       none,      0) \
  X(FieldLimitStruct,                   generated, generated, 1010) \
  X(FilterActionList,                   generated, generated, 1041) \
  X(FilterActionListList,               generated, none,      0) \
  X(FilterActionNotifyAdvanced,         own,       none,      0) \
  X(FilterActionStruct,                 generated, generated, 1040) \
  X(MacroParmList,                      generated, none,      0) \
  X(NotifyStruct,                       none,      generated, 1021) \
  X(PushFieldsList,                     generated, generated, 1038) \
  X(PushFieldsStruct,                   none,      generated, 1037) \
  X(SQLStruct,                          generated, generated, 1039) \
  /* definitions, administration and results (zq_defs.h) */ \
  X(ArchiveInfoList,                    generated, none,      0) \
  X(ArchiveInfoStruct,                  generated, none,      0) \
  X(AuditInfoList,                      generated, none,      0) \
  X(AuditInfoStruct,                    generated, none,      0) \
  X(CompoundSchema,                     generated, none,      0) \
  X(CompoundSchemaList,                 generated, none,      0) \
  X(ContainerInfoList,                  generated, none,      0) \
  X(ContainerOwnerObjList,              generated, none,      0) \
  X(ContainerOwnerObjListList,          generated, none,      0) \
  X(ContainerTypeList,                  generated, none,      0) \
  X(DataMappingInfoList,                generated, none,      0) \
  X(DataMappingInfoStruct,              generated, none,      0) \
  X(EntryBlockList,                     generated, none,      0) \
  X(EntryBlockStruct,                   generated, none,      0) \
  X(FieldInfoList,                      generated, generated, 1047) \
  X(FieldInfoStruct,                    generated, generated, 1048) \
  X(FieldMappingList,                   generated, none,      0) \
  X(FieldMappingPtrList,                generated, none,      0) \
  X(FullTextInfoList,                   generated, none,      0) \
  X(FullTextInfoRequestList,            generated, none,      0) \
  X(ImageDataList,                      generated, none,      0) \
  X(ImageDataStruct,                    generated, none,      0) \
  X(MultiSchemaArithOpStruct,           generated, none,      0) \
  X(MultiSchemaFieldIdList,             generated, none,      0) \
  X(MultiSchemaFieldValueList,          generated, none,      0) \
  X(MultiSchemaFieldValueListList,      generated, none,      0) \
  X(MultiSchemaFieldValueOrArithStruct, generated, none,      0) \
  X(MultiSchemaFieldValueStruct,        generated, none,      0) \
  X(MultiSchemaQualifierStruct,         generated, none,      0) \
  X(MultiSchemaQueryFromList,           generated, none,      0) \
  X(MultiSchemaQueryFromStruct,         generated, none,      0) \
  X(MultiSchemaRecursiveQueryStruct,    generated, none,      0) \
  X(MultiSchemaRelOpStruct,             generated, none,      0) \
  X(MultiSchemaSortList,                generated, none,      0) \
  X(MultiSchemaValueSetQueryStruct,     generated, none,      0) \
  X(ReferenceList,                      generated, generated, 1053) \
  X(ReferenceListList,                  generated, none,      0) \
  X(ReferenceStruct,                    generated, none,      0) \
  X(ReferenceTypeList,                  generated, none,      0) \
  X(RoleInfoList,                       generated, none,      0) \
  X(SchemaInheritanceList,              generated, none,      0) \
  X(SchemaInheritanceListList,          generated, none,      0) \
  X(SchemaInheritanceStruct,            generated, none,      0) \
  X(ServerInfoRequestList,              generated, none,      0) \
  X(SignalList,                         generated, none,      0) \
  X(StatisticsResultList,               generated, none,      0) \
  X(SupportFileInfoList,                generated, generated, 1055) \
  X(SupportFileInfoStruct,              none,      generated, 1054) \
  X(VuiInfoList,                        generated, generated, 1045) \
  X(VuiInfoStruct,                      none,      generated, 1046) \
  X(WorkflowConnectList,                generated, none,      0) \
  X(WorkflowConnectStruct,              generated, generated, 1049) \
  /* workflow debugger (zq_debugger.h) */ \
  X(WfdBreakpoint,                      generated, generated, 1014) \
  X(WfdBreakpointList,                  generated, none,      0) \
  X(WfdCurrentLocation,                 generated, none,      0) \
  X(WfdStepStruct,                      generated, generated, 1011) \
  X(WfdUserContext,                     generated, generated, 1064) \
  X(WfdUserContextList,                 generated, generated, 1063) \
  /* export and import (zq_export.h) */ \
  X(StructItemList,                     generated, generated, 1058) \
  X(StructItemStruct,                   generated, generated, 1059) \
  /* administration (zq_admin.h) */ \
  X(LocaleList,                         generated, none,      0) \
  X(LocalizedRequestList,               generated, none,      0) \
  X(ObjectChangeTimesList,              generated, none,      0) \
  X(UserInfoList,                       generated, none,      0) \
  X(UserLicenseList,                    generated, none,      0) \
  /* lists of the definition calls (zq_definitions.h) */ \
  X(DisplayList,                        generated, none,      0) \
  X(ObjectInfoList,                     generated, none,      0) \
  X(ObjectInfoStruct,                   generated, none,      0) \
  /* bulk transaction results (zq_entries.h) */ \
  X(BulkEntryReturn,                    own,       none,      0)
// clang-format on
