// The command table: for every exported call that leaves a trace, the name
// its records carry, its command code, what it records and which outputs its
// result record shows, in which order and under which labels.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace zq::diag {

// One row per call, in the order of the table in commands.cpp.
enum class Command : uint16_t {
  // entries
  CreateEntry,
  MergeEntry,
  GetEntry,
  ServiceEntry,
  SetEntry,
  DeleteEntry,
  GetEntryBLOB,
  GetEntryBlock,
  GetMultipleEntries,
  GetListEntry,
  GetListEntryBlocks,
  GetListEntryWithMultiSchemaFields,
  GetListEntryWithFields,
  GetOneEntryWithFields,
  GetEntryStatistics,
  GetListSQL,
  LoadZQQualifierStruct,
  // forms and fields
  CreateSchema,
  SetSchema,
  GetSchema,
  DeleteSchema,
  GetListSchema,
  GetListSchemaWithAlias,
  GetMultipleSchemas,
  GetListExtSchemaCandidates,
  GetMultipleExtFieldCandidates,
  CreateField,
  CreateMultipleFields,
  SetField,
  SetMultipleFields,
  GetField,
  DeleteField,
  DeleteMultipleFields,
  GetListField,
  GetMultipleFields,
  // menus
  CreateCharMenu,
  SetCharMenu,
  GetCharMenu,
  DeleteCharMenu,
  GetListCharMenu,
  GetMultipleCharMenus,
  ExpandCharMenu,
  ExpandSSMenu,
  // workflow
  CreateFilter,
  SetFilter,
  GetFilter,
  DeleteFilter,
  GetListFilter,
  GetMultipleFilters,
  CreateActiveLink,
  SetActiveLink,
  GetActiveLink,
  DeleteActiveLink,
  GetListActiveLink,
  GetMultipleActiveLinks,
  CreateEscalation,
  SetEscalation,
  GetEscalation,
  DeleteEscalation,
  GetListEscalation,
  GetMultipleEscalations,
  // views, containers, images, support files
  CreateVUI,
  SetVUI,
  GetVUI,
  DeleteVUI,
  GetListVUI,
  GetMultipleVUIs,
  CreateContainer,
  SetContainer,
  GetContainer,
  DeleteContainer,
  GetListContainer,
  GetMultipleContainers,
  CreateImage,
  SetImage,
  GetImage,
  DeleteImage,
  GetListImage,
  GetMultipleImages,
  SetSupportFile,
  GetSupportFile,
  DeleteSupportFile,
  CreateSupportFile,
  GetListSupportFile,
  // server, users, administration
  GetServerInfo,
  SetServerInfo,
  GetServerStatistics,
  GetFullTextInfo,
  SetFullTextInfo,
  GetListGroup,
  GetListRole,
  GetListUser,
  VerifyUser,
  GetLocalizedValue,
  GetMultipleLocalizedValues,
  GetSessionConfiguration,
  SetSessionConfiguration,
  GetCurrencyRatio,
  GetMultipleCurrencyRatioSets,
  GetMultipleEntryPoints,
  GetListApplicationState,
  GetApplicationState,
  SetApplicationState,
  ValidateFormCache,
  GetObjectChangeTimes,
  GetCacheEvent,
  CreateUser,
  DeleteUser,
  CreateGroup,
  DeleteGroup,
  // alerts
  CreateAlertEvent,
  RegisterForAlerts,
  DeregisterForAlerts,
  GetListAlertUser,
  GetAlertCount,
  DecodeAlertMessage,
  // transactions
  BeginBulkEntryTransaction,
  EndBulkEntryTransaction,
  BeginClientManagedTransaction,
  EndClientManagedTransaction,
  // export, import, SQL, processes, signals
  Export,
  Import,
  ImportFromFile,
  UnImport,
  ExecuteProcess,
  ExecuteProcessForActiveLink,
  GetListSQLForActiveLink,
  Signal,
  SetImpersonatedUser,
  Cancel,
  // XML entries
  XMLCreateEntry,
  XMLSetEntry,
  XMLGetEntry,
  XMLServiceEntry,
  XMLDeleteEntry,
  // workflow debugger
  RunEscalation,
  WfdClearAllBreakpoints,
  WfdClearBreakpoint,
  WfdExecute,
  WfdGetCurrentLocation,
  WfdGetDebugMode,
  WfdGetFieldValues,
  WfdGetFilterQual,
  WfdGetKeywordValue,
  WfdGetUserContext,
  WfdListBreakpoints,
  WfdSetBreakpoint,
  WfdSetDebugMode,
  WfdSetFieldValues,
  WfdSetQualifierResult,
  WfdTerminateAPI,
  // session, connections and text
  Initialization,
  Termination,
  GetServerCharSet,
  GetClientCharSet,
  GetListServer,
  CloseNetworkConnections,
  EncodeZQQualifierStruct,
  DecodeZQQualifierStruct,
  EncodeZQAssignStruct,
  DecodeZQAssignStruct,
  EncodeDiary,
  DecodeDiary,
  EncodeStatusHistory,
  DecodeStatusHistory,
  kCount
};

// What a call records.
enum class Records : uint8_t {
  commandAndResult,     // a command record on entry, a result record at the end
  noteOnly,             // no command record; its name and start time are noted and
                        // the result record follows
  resultUnderLastName,  // no command record; the result record carries the
                        // name of the last command record (workflow debugger)
  nothing,              // neither (or left to the call it performs)
};

// How one output of a result record is shown.
enum class Form : uint8_t {
  text,             // label, a blank and the text (the label alone for null)
  number,           // label, a blank and the signed decimal value
  flag,             // label and TRUE or FALSE
  diary,            // the diary list under its label, or "   DECODE DIARY FAILURE"
  names,            // packed list under its label
  structure,        // the print routine (label: the routine's variant, if any)
  valuePrefixed,    // a value printed with the label as its prefix word
  workflowForms,    // "Schema List:" of a workflow connection that holds one
  escalationTime,   // interval, or the day, weekday, hour and minute masks
  unlabeledNames,   // packed list without a label
  unlabeledNumber,  // the number alone
};

struct ResultItem {
  const char* label;
  Form form;
};

// When the outputs are shown besides "return code below 2".
enum class Show : uint8_t {
  belowError,       // return code below 2 and flag 0x20 clear
  wheneverReplied,  // whenever the remote call itself succeeded (images)
  wheneverPassed,   // whenever passed and flag 0x20 clear
  afterStatus,      // below 2, written after the status list (bulk results)
};

struct CommandInfo {
  Command id;
  const char* call;      // the exported name
  const char* recorded;  // the name the records carry
  const char* code;      // the command code ("" for calls without one)
  Records records;
  Show show;
  // Calls returning several definitions: the line naming each block; the
  // items then repeat per definition.
  const char* blockLabel;
  std::vector<ResultItem> items;
};

const CommandInfo& commandInfo(Command id);
// The whole table, in enum order.
const std::vector<CommandInfo>& commandTable();
// The row of a command code, or null.
const CommandInfo* findByCode(std::string_view code);

}  // namespace zq::diag
