// Every remote procedure of the protocol, in number order:
//   X(Name, number, first version, last version, queue, time-out, time-out message, Args, Reply)
//
// Name is the exported call without its ZQ prefix; a procedure shared by several calls is named
// after its main one, and the internal steps of menu expansion, the ordinal-only exports and the
// key exchange are named for what they do. The versions are the first and the last protocol
// version that has the procedure. Numbers with stubs but no caller in the library (26 to 31, 58,
// 70, 98, 137 to 150, 180) are left out.
//
// Queue, time-out and time-out message are what the procedure's calls ask the driver for. Where
// calls share a procedure the row holds the first call's values and the others pass their own
// (47: termination sends it on every queue, the ordinal export on each queue with the normal
// time-out). The time-out is a class read from ZQAPITIMEOUTS (Normal, Long, ExtraLong), a fixed
// number of seconds (Fixed), or the extra-long class but never less than the given seconds
// (ExtraLongAtLeast, for export and import). The message is the one the driver reports on a
// time-out: a change, a retrieval or a query.
//
// Args and Reply are the record types; void where the records are not written yet.
#pragma once

// clang-format off
#define ZQ_PROCEDURES(X)                                                                                                  \
  X(GetEntry, 1, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, GetEntryArgs, GetEntryReply)                                   \
  X(SetEntry, 2, 7, 14, Fast, Normal, kMsgTimeoutChange, SetEntryArgs, StatusReply)                                       \
  X(CreateEntry, 3, 7, 14, Fast, Normal, kMsgTimeoutChange, CreateEntryArgs, EntryIdReply)                                \
  X(DeleteEntry, 4, 7, 14, Fast, Normal, kMsgTimeoutChange, DeleteEntryArgs, StatusReply)                                 \
  X(GetListEntry, 5, 7, 14, List, Long, kMsgTimeoutQuery, ListEntryArgs, ListEntryReply)                                  \
  X(GetEntryStatistics, 6, 7, 14, List, Long, kMsgTimeoutQuery, StatisticsArgs, StatisticsReply)                          \
  X(GetSchema, 7, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, GetSchemaArgs, GetSchemaReply)                                \
  X(SetSchema, 8, 7, 14, Admin, ExtraLong, kMsgTimeoutChange, SetSchemaArgs, StatusReply)                                 \
  X(CreateSchema, 9, 7, 14, Admin, ExtraLong, kMsgTimeoutChange, CreateSchemaArgs, StatusReply)                           \
  X(DeleteSchema, 10, 7, 14, Admin, ExtraLong, kMsgTimeoutChange, DeleteByNameArgs, StatusReply)                          \
  X(GetListSchema, 11, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, ListSchemaArgs, TextNameListReply)                        \
  X(GetField, 12, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, GetFieldArgs, GetFieldReply)                                  \
  X(SetField, 13, 7, 14, Admin, ExtraLong, kMsgTimeoutChange, SetFieldArgs, StatusReply)                                  \
  X(CreateField, 14, 7, 14, Admin, ExtraLong, kMsgTimeoutChange, CreateFieldArgs, IdReply)                                \
  X(GetListField, 15, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, ListFieldArgs, IdListReply)                               \
  X(GetCharMenu, 16, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, GetMenuArgs, GetMenuReply)                                 \
  X(SetCharMenu, 17, 7, 14, Admin, Long, kMsgTimeoutChange, SetMenuArgs, StatusReply)                                     \
  X(CreateCharMenu, 18, 7, 14, Admin, Long, kMsgTimeoutChange, CreateMenuArgs, StatusReply)                               \
  X(DeleteCharMenu, 19, 7, 14, Admin, Long, kMsgTimeoutChange, DeleteByNameArgs, StatusReply)                             \
  X(GetListCharMenu, 20, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, ListMenuArgs, TextNameListReply)                       \
  X(GetFilter, 21, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, GetFilterArgs, GetFilterReply)                               \
  X(SetFilter, 22, 7, 14, Admin, Normal, kMsgTimeoutChange, SetFilterArgs, StatusReply)                                   \
  X(CreateFilter, 23, 7, 14, Admin, Normal, kMsgTimeoutChange, CreateFilterArgs, StatusReply)                             \
  X(DeleteFilter, 24, 7, 14, Admin, Normal, kMsgTimeoutChange, DeleteByNameArgs, StatusReply)                             \
  X(GetListFilter, 25, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, ListWorkflowArgs, TextNameListReply)                     \
  X(VerifyUser, 32, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, HeaderOnlyArgs, VerifyUserReply)                            \
  X(GetListGroup, 33, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, GetListGroupArgs, GetListGroupReply)                      \
  X(Export, 34, 7, 14, List, ExtraLongAtLeast(28800), kMsgTimeoutRetrieve, ExportArgs, ExportReply)                                    \
  X(Import, 35, 7, 14, Admin, ExtraLongAtLeast(28800), kMsgTimeoutChange, ImportArgs, StatusReply)                                     \
  X(GetServerInfo, 36, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, ServerInfoArgs, ServerInfoReply)                         \
  X(MergeEntry, 37, 7, 14, Fast, Normal, kMsgTimeoutChange, MergeEntryArgs, EntryIdReply)                                 \
  X(GetActiveLink, 38, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, GetActiveLinkArgs, GetActiveLinkReply)                   \
  X(SetActiveLink, 39, 7, 14, Admin, Normal, kMsgTimeoutChange, SetActiveLinkArgs, StatusReply)                           \
  X(CreateActiveLink, 40, 7, 14, Admin, Normal, kMsgTimeoutChange, CreateActiveLinkArgs, StatusReply)                     \
  X(DeleteActiveLink, 41, 7, 14, Admin, Normal, kMsgTimeoutChange, DeleteByNameArgs, StatusReply)                         \
  X(GetListActiveLink, 42, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, ListWorkflowArgs, TextNameListReply)                 \
  X(DeleteField, 43, 7, 14, Admin, ExtraLong, kMsgTimeoutChange, DeleteByIdArgs, StatusReply)                             \
  X(SetServerInfo, 44, 7, 14, Admin, Normal, kMsgTimeoutChange, SetServerInfoArgs, StatusReply)                           \
  X(GetMenuFile, 45, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, MenuFileArgs, MenuFileReply)                               \
  X(GetListUser, 46, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, GetListUserArgs, GetListUserReply)                         \
  X(EndSession, 47, 7, 14, Admin, Fixed(1), kMsgTimeoutChange, EndSessionArgs, StatusReply)                               \
  X(GetEscalation, 48, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, GetEscalationArgs, GetEscalationReply)                   \
  X(SetEscalation, 49, 7, 14, Admin, Normal, kMsgTimeoutChange, SetEscalationArgs, StatusReply)                           \
  X(CreateEscalation, 50, 7, 14, Admin, Normal, kMsgTimeoutChange, CreateEscalationArgs, StatusReply)                     \
  X(DeleteEscalation, 51, 7, 14, Admin, Normal, kMsgTimeoutChange, DeleteByNameArgs, StatusReply)                         \
  X(GetListEscalation, 52, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, ListWorkflowArgs, TextNameListReply)                 \
  X(SetFullTextInfo, 53, 7, 14, Admin, Long, kMsgTimeoutChange, SetFullTextInfoArgs, StatusReply)                         \
  X(GetFullTextInfo, 54, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, GetFullTextInfoArgs, GetFullTextInfoReply)             \
  X(ExpandQueryMenu, 55, 7, 14, List, Long, kMsgTimeoutRetrieve, QueryMenuArgs, MenuReply)                                \
  X(DeleteMultipleFields, 56, 7, 14, Admin, ExtraLong, kMsgTimeoutChange, DeleteFieldsArgs, StatusReply)                  \
  X(GetServerStatistics, 57, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, ServerInfoArgs, ServerInfoReply)                   \
  X(GetListSQL, 59, 7, 14, List, Long, kMsgTimeoutRetrieve, GetListSQLArgs, GetListSQLReply)                              \
  X(GetNamesOrdinal312, 60, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, NameArgs, NameListReply)                            \
  X(ExecuteProcess, 61, 7, 14, List, Normal, kMsgTimeoutChange, ExecuteProcessArgs, ExecuteProcessReply)                  \
  X(GetVUI, 62, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, GetViewArgs, GetViewReply)                                      \
  X(SetVUI, 63, 7, 14, Admin, Normal, kMsgTimeoutChange, SetViewArgs, StatusReply)                                        \
  X(CreateVUI, 64, 7, 14, Admin, Normal, kMsgTimeoutChange, CreateViewArgs, IdReply)                                      \
  X(DeleteVUI, 65, 7, 14, Admin, Normal, kMsgTimeoutChange, DeleteViewArgs, StatusReply)                                  \
  X(GetListVUI, 66, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, ListViewArgs, IdListReply)                                  \
  X(GetMultipleEntries, 67, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, MultipleEntriesArgs, MultipleEntriesReply)          \
  X(GetSupportFile, 68, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, GetSupportFileArgs, GetSupportFileReply)                \
  X(SetSupportFile, 69, 7, 14, Admin, Long, kMsgTimeoutChange, SetSupportFileArgs, StatusReply)                           \
  X(DeleteSupportFile, 71, 7, 14, Admin, Normal, kMsgTimeoutChange, DeleteSupportFileArgs, StatusReply)                   \
  X(GetListSupportFile, 72, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, ListSupportFileArgs, IdListReply)                   \
  X(GetListEntryWithFields, 73, 7, 14, List, Long, kMsgTimeoutQuery, ListEntryArgs, ListEntryWithFieldsReply)             \
  X(GetContainer, 74, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, GetContainerArgs, GetContainerReply)                      \
  X(SetContainer, 75, 7, 14, Admin, ExtraLong, kMsgTimeoutChange, SetContainerArgs, StatusReply)                          \
  X(CreateContainer, 76, 7, 14, Admin, ExtraLong, kMsgTimeoutChange, CreateContainerArgs, StatusReply)                    \
  X(DeleteContainer, 77, 7, 14, Admin, ExtraLong, kMsgTimeoutChange, DeleteByNameArgs, StatusReply)                       \
  X(GetListContainer, 78, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, ListContainerArgs, ListContainerReply)                \
  X(GetMultipleFields, 79, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, GetMultipleFieldsArgs, GetMultipleFieldsReply)       \
  X(GetEntryBLOB, 80, 7, 14, Fast, Long, kMsgTimeoutRetrieve, EntryBlobArgs, EntryBlobReply)                              \
  X(Cancel, 81, 7, 14, Fast, Normal, kMsgTimeoutChange, HeaderOnlyArgs, StatusReply)                                      \
  X(GetMultipleActiveLinks, 82, 8, 14, List, Long, kMsgTimeoutRetrieve, GetMultipleNamedArgs, GetMultipleActiveLinksReply) \
  X(GetMultipleFilters, 83, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, GetMultipleNamedArgs, GetMultipleFiltersReply)      \
  X(GetMultipleEscalations, 84, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, GetMultipleNamedArgs, GetMultipleEscalationsReply) \
  X(GetMultipleContainers, 85, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, GetMultipleContainersArgs, GetMultipleContainersReply) \
  X(GetMultipleSchemas, 86, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, GetMultipleSchemasArgs, GetMultipleSchemasReply)    \
  X(GetMultipleCharMenus, 87, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, GetMultipleNamedArgs, GetMultipleMenusReply)      \
  X(GetMultipleVUIs, 88, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, GetMultipleViewsArgs, GetMultipleViewsReply)           \
  X(CreateUser, 90, 7, 14, Fast, Normal, kMsgTimeoutChange, CreateUserArgs, PrivateReply)                                 \
  X(DeleteUser, 91, 7, 14, Fast, Normal, kMsgTimeoutChange, DeleteNamedArgs, PrivateReply)                                \
  X(CreateGroup, 92, 7, 14, Fast, Normal, kMsgTimeoutChange, CreateGroupArgs, PrivateReply)                               \
  X(DeleteGroup, 93, 7, 14, Fast, Normal, kMsgTimeoutChange, DeleteNamedArgs, PrivateReply)                               \
  X(ValidateFormCache, 94, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, ValidateFormCacheArgs, ValidateFormCacheReply)       \
  X(KeyHello, 95, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, KeyHelloArgs, KeyHelloReply)                                  \
  X(KeyTransfer, 96, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, KeyTransferArgs, KeyTransferReply)                         \
  X(EncryptionInfo, 97, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, ServerInfoArgs, ServerInfoReply)                        \
  X(GetLocalizedValue, 99, 8, 14, List, Normal, kMsgTimeoutRetrieve, LocalizedValueArgs, LocalizedValueReply)             \
  X(Signal, 100, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, SignalArgs, StatusReply)                                       \
  X(GetListSchemaWithAlias, 101, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, ListSchemaWithAliasArgs, NamesAndAliasesReply) \
  X(RegisterForAlerts, 102, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, AlertRegistrationArgs, StatusReply)                                         \
  X(DeregisterForAlerts, 103, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, AlertRegistrationArgs, StatusReply)                                       \
  X(GetListAlertUser, 104, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, HeaderOnlyArgs, AlertUsersReply)                                          \
  X(GetListExtSchemaCandidates, 106, 8, 14, List, ExtraLong, kMsgTimeoutRetrieve, ExtSchemaCandidatesArgs, ExtSchemaCandidatesReply) \
  X(GetMultipleExtFieldCandidates, 107, 8, 14, List, ExtraLong, kMsgTimeoutRetrieve, ExtFieldCandidatesArgs, ExtFieldCandidatesReply) \
  X(ExpandSSMenu, 108, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, ServerMenuArgs, MenuReply)                               \
  X(GetMultipleLocalizedValues, 114, 8, 14, List, Normal, kMsgTimeoutRetrieve, LocalizedValuesArgs, LocalizedValuesReply) \
  X(GetAlertCount, 115, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, AlertCountArgs, AlertCountReply)                                             \
  X(GetListSQLForActiveLink, 116, 8, 14, List, Long, kMsgTimeoutRetrieve, SQLForActiveLinkArgs, SQLForActiveLinkReply)    \
  X(ExecuteProcessForActiveLink, 117, 8, 14, List, Normal, kMsgTimeoutChange, ProcessForActiveLinkArgs, ProcessForActiveLinkReply) \
  X(ExpandDataDictionaryMenu, 118, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, DataDictionaryMenuArgs, MenuReply)           \
  X(XMLCreateEntry, 119, 9, 14, Fast, Normal, kMsgTimeoutRetrieve, XmlCreateEntryArgs, XmlDocumentReply)                  \
  X(XMLSetEntry, 120, 9, 14, Fast, Normal, kMsgTimeoutRetrieve, XmlSetEntryArgs, XmlDocumentReply)                        \
  X(XMLGetEntry, 121, 9, 14, Fast, Long, kMsgTimeoutRetrieve, XmlGetEntryArgs, XmlDocumentReply)                          \
  X(XMLDeleteEntry, 122, 9, 14, Fast, Normal, kMsgTimeoutRetrieve, XmlDeleteEntryArgs, StatusReply)                       \
  X(GetMultipleCurrencyRatioSets, 123, 9, 14, Fast, Normal, kMsgTimeoutRetrieve, CurrencyRatioSetsArgs, CurrencyRatioSetsReply) \
  X(UnImport, 124, 10, 14, Admin, ExtraLong, kMsgTimeoutChange, ImportArgs, StatusReply)                                               \
  X(GetMultipleEntryPoints, 125, 10, 14, Fast, Normal, kMsgTimeoutRetrieve, EntryPointsArgs, EntryPointsReply)            \
  X(GetListRole, 126, 10, 14, Fast, Normal, kMsgTimeoutRetrieve, GetListRoleArgs, GetListRoleReply)                       \
  X(GetListApplicationState, 127, 10, 14, Fast, Normal, kMsgTimeoutRetrieve, HeaderOnlyArgs, StateNamesReply)             \
  X(GetApplicationState, 128, 10, 14, Fast, Normal, kMsgTimeoutRetrieve, NameArgs, StateReply)                            \
  X(SetApplicationState, 129, 10, 14, Admin, Normal, kMsgTimeoutChange, ApplicationStateArgs, StatusReply)                \
  X(GetEntryIdsOrdinal845, 132, 10, 14, Fast, Normal, kMsgTimeoutRetrieve, NameArgs, EntryIdsReply)                       \
  X(GetEntryIdsOrdinal846, 133, 10, 14, Fast, Normal, kMsgTimeoutRetrieve, NameArgs, EntryIdsReply)                       \
  X(EndBulkEntryTransaction, 134, 10, 14, List, Long, kMsgTimeoutChange, BulkEntryArgs, BulkEntryReply)                   \
  X(GetListEntryBlocks, 135, 11, 14, List, Long, kMsgTimeoutQuery, ListEntryBlocksArgs, ListEntryBlocksReply)             \
  X(ServiceEntry, 136, 12, 14, Fast, Normal, kMsgTimeoutRetrieve, ServiceEntryArgs, GetEntryReply)                        \
  X(CreateMultipleFields, 151, 13, 14, Admin, ExtraLong, kMsgTimeoutChange, CreateFieldsArgs, StatusReply)                \
  X(SetMultipleFields, 152, 13, 14, Admin, ExtraLong, kMsgTimeoutChange, SetFieldsArgs, SetFieldsReply)                   \
  X(XMLServiceEntry, 153, 13, 14, Fast, Normal, kMsgTimeoutRetrieve, XmlServiceEntryArgs, XmlDocumentReply)               \
  X(GetListImage, 154, 14, 14, Fast, Normal, kMsgTimeoutRetrieve, ListImageArgs, TextNameListReply)                        \
  X(GetImage, 155, 14, 14, Fast, Normal, kMsgTimeoutRetrieve, GetImageArgs, GetImageReply)                                \
  X(SetImage, 156, 14, 14, Admin, Long, kMsgTimeoutChange, SetImageArgs, StatusReply)                                     \
  X(CreateImage, 157, 14, 14, Admin, Long, kMsgTimeoutChange, CreateImageArgs, StatusReply)                               \
  X(DeleteImage, 158, 14, 14, Admin, Normal, kMsgTimeoutChange, DeleteByNameArgs, StatusReply)                            \
  X(WfdExecute, 159, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, WfdWordArgs, WfdExecuteReply)                      \
  X(WfdGetCurrentLocation, 160, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, WfdWordArgs, WfdLocationReply)          \
  X(WfdGetFieldValues, 161, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, WfdWordArgs, WfdFieldValuesReply)           \
  X(WfdSetFieldValues, 162, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, WfdSetFieldValuesArgs, StatusReply)         \
  X(GetObjectChangeTimes, 163, 14, 14, Fast, Normal, kMsgTimeoutChange, HeaderOnlyArgs, ObjectChangeTimesReply)           \
  X(WfdGetDebugMode, 164, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, HeaderOnlyArgs, WfdWordReply)                 \
  X(WfdSetDebugMode, 165, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, WfdWordArgs, StatusReply)                     \
  X(GetMultipleImages, 166, 14, 14, List, Normal, kMsgTimeoutRetrieve, GetMultipleImagesArgs, GetMultipleImagesReply)     \
  X(WfdGetFilterQual, 167, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, HeaderOnlyArgs, WfdQualifierReply)           \
  X(WfdSetQualifierResult, 168, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, WfdWordArgs, StatusReply)               \
  X(RunEscalation, 169, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, WfdWordArgs, StatusReply)                       \
  X(WfdTerminateAPI, 170, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, WfdWordArgs, StatusReply)                     \
  X(GetListEntryWithMultiSchemaFields, 171, 14, 14, List, Long, kMsgTimeoutQuery, MultiSchemaArgs, TextSliceReply)        \
  X(BeginClientManagedTransaction, 172, 14, 14, Fast, Normal, kMsgTimeoutRetrieve, HeaderOnlyArgs, BeginTransactionReply) \
  X(EndClientManagedTransaction, 173, 14, 14, Fast, Normal, kMsgTimeoutRetrieve, EndTransactionArgs, StatusReply)         \
  X(WfdGetKeywordValue, 174, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, WfdWordArgs, WfdKeywordReply)              \
  X(WfdSetBreakpoint, 175, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, WfdBreakpointArgs, StatusReply)              \
  X(WfdClearBreakpoint, 176, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, WfdWordArgs, StatusReply)                  \
  X(WfdListBreakpoints, 177, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, HeaderOnlyArgs, WfdBreakpointListReply)    \
  X(WfdClearAllBreakpoints, 178, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, HeaderOnlyArgs, StatusReply)           \
  X(WfdGetUserContext, 179, 14, 14, Admin, Fixed(86400), kMsgTimeoutRetrieve, WfdWordArgs, WfdUserContextReply)           \
  X(GetOneEntryWithFields, 181, 14, 14, List, Long, kMsgTimeoutQuery, OneEntryArgs, OneEntryReply)                        \
  X(GetCacheEvent, 182, 14, 14, Fast, Fixed(28800), kMsgTimeoutRetrieve, CacheEventArgs, CacheEventReply)
// clang-format on
