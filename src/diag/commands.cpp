// The command table (see commands.h). Items are listed in the order of the
// call's output parameters; a structure item's label is its print variant.
#include "diag/commands.h"

#include <string>

namespace zq::diag {
namespace {

using F = Form;
using Items = std::vector<ResultItem>;

CommandInfo row(Command id, const char* call, const char* code, Items items = {}) {
  return CommandInfo{
      id, call, call, code, Records::commandAndResult, Show::belowError, nullptr, std::move(items)};
}
CommandInfo multiple(Command id, const char* call, const char* code, const char* block,
                     Items items) {
  CommandInfo c = row(id, call, code, std::move(items));
  c.blockLabel = block;
  return c;
}
CommandInfo silent(Command id, const char* call) {
  CommandInfo c = row(id, call, "");
  c.records = Records::nothing;
  return c;
}
CommandInfo debugger(Command id, const char* call) {
  CommandInfo c = row(id, call, "");
  c.records = Records::resultUnderLastName;
  return c;
}
CommandInfo noted(Command id, const char* call, const char* code, Items items = {}) {
  CommandInfo c = row(id, call, code, std::move(items));
  c.records = Records::noteOnly;
  return c;
}
CommandInfo with(CommandInfo c, Show show) {
  c.show = show;
  return c;
}
CommandInfo named(CommandInfo c, const char* recorded) {
  c.recorded = recorded;
  return c;
}

constexpr ResultItem kStruct{nullptr, F::structure};
constexpr ResultItem kMatches{"Number of matches:", F::number};

// The five items every definition ends with, with or without the three
// blanks of a definition block.
Items tail(bool block) {
  if (block)
    return {{"   Help Text:", F::text},
            {"   Last Update Time:", F::number},
            {"   Owner:", F::text},
            {"   Last Changed:", F::text},
            {"   Change Diary:", F::diary}};
  return {{"Help Text:", F::text},
          {"Last Update Time:", F::number},
          {"Owner:", F::text},
          {"Last Changed:", F::text},
          {"Change Diary:", F::diary}};
}
Items join(Items a, const Items& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<CommandInfo> buildTable() {
  using C = Command;
  std::vector<CommandInfo> t;
  auto add = [&](CommandInfo c) { t.push_back(std::move(c)); };

  // entries
  add(row(C::CreateEntry, "ZQCreateEntry", "ce", {{"Entry id:", F::text}}));
  add(row(C::MergeEntry, "ZQMergeEntry", "me", {{"Entry id:", F::text}}));
  add(row(C::GetEntry, "ZQGetEntry", "ge", {kStruct}));
  add(row(C::ServiceEntry, "ZQServiceEntry", "sve", {kStruct}));
  add(row(C::SetEntry, "ZQSetEntry", "se"));
  add(row(C::DeleteEntry, "ZQDeleteEntry", "de"));
  add(row(C::GetEntryBLOB, "ZQGetEntryBLOB", "geb"));
  add(silent(C::GetEntryBlock, "ZQGetEntryBlock"));
  add(row(C::GetMultipleEntries, "ZQGetMultipleEntries", "gme", {kStruct}));
  add(row(C::GetListEntry, "ZQGetListEntry", "gle", {kStruct, kMatches}));
  add(row(C::GetListEntryBlocks, "ZQGetListEntryBlocks", "gleb", {kStruct, kMatches}));
  add(named(row(C::GetListEntryWithMultiSchemaFields, "ZQGetListEntryWithMultiSchemaFields",
                "glewmsf", {kStruct, kMatches}),
            "LogGetListEntryWithMultiSchemaFields"));
  add(row(C::GetListEntryWithFields, "ZQGetListEntryWithFields", "glewf", {kStruct, kMatches}));
  add(row(C::GetOneEntryWithFields, "ZQGetOneEntryWithFields", "goewf", {kStruct, kMatches}));
  add(row(C::GetEntryStatistics, "ZQGetEntryStatistics", "stat", {kStruct}));
  add(row(C::GetListSQL, "ZQGetListSQL", "glsql", {kStruct, kMatches}));
  add(named(row(C::LoadZQQualifierStruct, "ZQLoadZQQualifierStruct", "lqs", {kStruct}),
            "ZQLoadQualifierStruct"));

  // forms and fields
  const Items schema = join({kStruct,
                             kStruct,
                             {"Sub Admin Group List:", F::names},
                             kStruct,
                             kStruct,
                             kStruct,
                             kStruct,
                             kStruct,
                             {"Default VUI:", F::text}},
                            join(tail(false), {kStruct}));
  add(row(C::CreateSchema, "ZQCreateSchema", "cs"));
  add(row(C::SetSchema, "ZQSetSchema", "ss"));
  add(row(C::GetSchema, "ZQGetSchema", "gs", schema));
  add(row(C::DeleteSchema, "ZQDeleteSchema", "ds"));
  add(row(C::GetListSchema, "ZQGetListSchema", "gls", {{"Schema List:", F::names}}));
  add(row(C::GetListSchemaWithAlias, "ZQGetListSchemaWithAlias", "glsa",
          {{"Schema List:", F::names}, {"Alias List:", F::names}}));
  add(multiple(C::GetMultipleSchemas, "ZQGetMultipleSchemas", "gms", "Schema Name:",
               join({kStruct,
                     kStruct,
                     {"   Sub Admin Group List:", F::names},
                     kStruct,
                     kStruct,
                     kStruct,
                     kStruct,
                     kStruct,
                     {"   Default VUI:", F::text}},
                    join(tail(true), {kStruct}))));
  add(row(C::GetListExtSchemaCandidates, "ZQGetListExtSchemaCandidates", "glxsc"));
  add(row(C::GetMultipleExtFieldCandidates, "ZQGetMultipleExtFieldCandidates", "gmxfc",
          {kStruct, kStruct, {"Datatype: ", F::number}}));
  add(row(C::CreateField, "ZQCreateField", "csf"));
  add(row(C::CreateMultipleFields, "ZQCreateMultipleFields", "cmsf"));
  add(row(C::SetField, "ZQSetField", "ssf"));
  add(row(C::SetMultipleFields, "ZQSetMultipleFields", "smsf"));
  add(row(C::GetField, "ZQGetField", "gsf",
          join({{"Field Name:", F::text},
                kStruct,
                {"Data Type:", F::number},
                {"Field Option:", F::number},
                {"Field Create Mode:", F::number},
                {"Field Bit Option:", F::number},
                kStruct,
                kStruct,
                kStruct,
                kStruct},
               tail(false))));
  add(row(C::DeleteField, "ZQDeleteField", "dsf"));
  add(row(C::DeleteMultipleFields, "ZQDeleteMultipleFields", "dmsf"));
  add(row(C::GetListField, "ZQGetListField", "glsf", {{"Field Id List:", F::names}}));
  add(multiple(C::GetMultipleFields, "ZQGetMultipleFields", "gmsf", "Field ID:",
               join({{"   Field Name:", F::text},
                     kStruct,
                     {"   Data Type:", F::number},
                     {"   Field Option:", F::number},
                     {"   Field Create Mode:", F::number},
                     {"   Field Bit Option:", F::number},
                     kStruct,
                     kStruct,
                     kStruct,
                     kStruct},
                    tail(true))));

  // menus
  add(row(C::CreateCharMenu, "ZQCreateCharMenu", "cc"));
  add(row(C::SetCharMenu, "ZQSetCharMenu", "sc"));
  add(row(C::GetCharMenu, "ZQGetCharMenu", "gc",
          join(join({{"Refresh code:", F::number}, kStruct}, tail(false)), {kStruct})));
  add(row(C::DeleteCharMenu, "ZQDeleteCharMenu", "dc"));
  add(row(C::GetListCharMenu, "ZQGetListCharMenu", "glc", {{"Character Menu List:", F::names}}));
  add(multiple(C::GetMultipleCharMenus, "ZQGetMultipleCharMenus", "gmc", "Char Menu Name:",
               join(join({{"   Refresh Code:", F::number}, kStruct}, tail(true)), {kStruct})));
  add(row(C::ExpandCharMenu, "ZQExpandCharMenu", "ec", {kStruct}));
  add(row(C::ExpandSSMenu, "ZQExpandSSMenu", "essm", {kStruct}));

  // workflow
  add(row(C::CreateFilter, "ZQCreateFilter", "cf"));
  add(row(C::SetFilter, "ZQSetFilter", "sf"));
  add(row(
      C::GetFilter, "ZQGetFilter", "gf",
      join(
          join({{"Filter order:", F::number},
                {"Schema List:", F::workflowForms},
                {"Operations Bitmask:", F::number},
                {"Enable Flag:", F::number},
                kStruct,
                {"Filter If", F::structure},
                {"Filter Else", F::structure}},
               tail(false)),
          {kStruct, {"ErrorFilter Options Bitmask:", F::number}, {"ErrorFilter Name:", F::text}})));
  add(row(C::DeleteFilter, "ZQDeleteFilter", "df"));
  add(row(C::GetListFilter, "ZQGetListFilter", "glf", {{"Filter List:", F::names}}));
  add(multiple(C::GetMultipleFilters, "ZQGetMultipleFilters", "gmf", "Filter Name:",
               join(join({{"   Execution Order:", F::number},
                          {"   Schema List:", F::workflowForms},
                          {"   Operations Bitmask:", F::number},
                          {"   Enable Flag:", F::number},
                          kStruct,
                          {"If", F::structure},
                          {"Else", F::structure}},
                         tail(true)),
                    {kStruct,
                     {"   ErrorFilter Options Bitmask:", F::number},
                     {"   ErrorFilter Name:", F::text}})));
  add(row(C::CreateActiveLink, "ZQCreateActiveLink", "cal"));
  add(row(C::SetActiveLink, "ZQSetActiveLink", "sal"));
  add(row(C::GetActiveLink, "ZQGetActiveLink", "gal",
          join(join({{"Execution order:", F::number},
                     {"Schema List:", F::workflowForms},
                     {"Group List:", F::names},
                     {"Execute Bitmask:", F::number},
                     {"Control Field:", F::number},
                     {"Focus Field:", F::number},
                     {"Enable Flag:", F::number},
                     kStruct,
                     {"If", F::structure},
                     {"Else", F::structure}},
                    tail(false)),
               {kStruct,
                {"Error active link Options Bitmask:", F::number},
                {"Error active link Name:", F::text}})));
  add(row(C::DeleteActiveLink, "ZQDeleteActiveLink", "dal"));
  add(row(C::GetListActiveLink, "ZQGetListActiveLink", "glal", {{"Active Link List:", F::names}}));
  add(multiple(C::GetMultipleActiveLinks, "ZQGetMultipleActiveLinks", "gmal", "Active Link Name:",
               join(join({{"   Execution Order:", F::number},
                          {"   Schema List:", F::workflowForms},
                          {"   Group List:", F::names},
                          {"   Execute Bitmask:", F::number},
                          {"   Control Field:", F::number},
                          {"   Focus Field:", F::number},
                          {"   Enable Flag:", F::number},
                          kStruct,
                          {"If", F::structure},
                          {"Else", F::structure}},
                         tail(true)),
                    {kStruct,
                     {"   ErrorActlink Options Bitmask:", F::number},
                     {"   ErrorActlink Name:", F::text}})));
  add(row(C::CreateEscalation, "ZQCreateEscalation", "ces"));
  add(row(C::SetEscalation, "ZQSetEscalation", "ses"));
  add(row(C::GetEscalation, "ZQGetEscalation", "ges",
          join(join({{"Escalation", F::escalationTime},
                     {"Schema List:", F::workflowForms},
                     {"Enable Flag:", F::number},
                     kStruct,
                     {"Escalation If", F::structure},
                     {"Escalation Else", F::structure}},
                    tail(false)),
               {kStruct})));
  add(row(C::DeleteEscalation, "ZQDeleteEscalation", "des"));
  add(row(C::GetListEscalation, "ZQGetListEscalation", "gles", {{"Escalation List:", F::names}}));
  add(multiple(C::GetMultipleEscalations, "ZQGetMultipleEscalations", "gmes", "Escalation Name:",
               join(join({{"   Fire", F::escalationTime},
                          {"   Schema List:", F::workflowForms},
                          {"   Enable Flag:", F::number},
                          kStruct,
                          {"If", F::structure},
                          {"Else", F::structure}},
                         tail(true)),
                    {kStruct})));

  // views, containers, images, support files
  add(row(C::CreateVUI, "ZQCreateVUI", "cv", {{"VUI Id:", F::number}}));
  add(row(C::SetVUI, "ZQSetVUI", "sv"));
  add(row(C::GetVUI, "ZQGetVUI", "gv",
          join({{"VUI Name:", F::text}, {"Locale:", F::text}, {"VUI Type:", F::number}, kStruct},
               tail(false))));
  add(row(C::DeleteVUI, "ZQDeleteVUI", "dv"));
  add(row(C::GetListVUI, "ZQGetListVUI", "glsv", {{"VUI Id List:", F::names}}));
  add(multiple(
      C::GetMultipleVUIs, "ZQGetMultipleVUIs", "gmv", "VUI Id:",
      join(join({{"VUI Name:", F::text}, {"VUI Type:", F::number}, {"   Locale:", F::text}},
                tail(true)),
           {kStruct})));
  add(row(C::CreateContainer, "ZQCreateContainer", "cco"));
  add(row(C::SetContainer, "ZQSetContainer", "sco"));
  add(row(C::GetContainer, "ZQGetContainer", "gco",
          join(join({kStruct,
                     {"Sub Admin Group List:", F::names},
                     kStruct,
                     {"Label:", F::text},
                     {"Description:", F::text},
                     {"Type:", F::number},
                     kStruct},
                    tail(false)),
               {kStruct})));
  add(row(C::DeleteContainer, "ZQDeleteContainer", "dco"));
  add(row(C::GetListContainer, "ZQGetListContainer", "glco", {kStruct}));
  add(multiple(C::GetMultipleContainers, "ZQGetMultipleContainers", "gmco", "Container Name:",
               join(join({{"Permissions", F::structure},
                          {"Sub Admin Group List:", F::names},
                          kStruct,
                          {"Label:", F::text},
                          {"Description:", F::text},
                          {"Type:", F::number},
                          kStruct},
                         tail(false)),
                    {kStruct})));
  add(row(C::CreateImage, "ZQCreateImage", "ci"));
  add(row(C::SetImage, "ZQSetImage", "si"));
  add(with(row(C::GetImage, "ZQGetImage", "gi",
               {{"Image Type:", F::text},
                {"Image Size:", F::number},
                {"CheckSum:", F::text},
                {"Description:", F::text},
                {"Help Text:", F::text},
                {"Last Update Time:", F::number},
                {"Owner:", F::text},
                {"Last Changed:", F::text},
                kStruct,
                {"Change Diary:", F::diary}}),
           Show::wheneverReplied));
  add(row(C::DeleteImage, "ZQDeleteImage", "di"));
  add(row(C::GetListImage, "ZQGetListImage", "gli", {{"Image List:", F::names}}));
  add(with(multiple(C::GetMultipleImages, "ZQGetMultipleImages", "gmi", "\nImage Name:",
                    {{"   Image Type:", F::text},
                     {"   CheckSum:", F::text},
                     {"   Description:", F::text},
                     {"   Help Text:", F::text},
                     {"   Last Update Time:", F::number},
                     {"   Owner:", F::text},
                     {"   Last Changed:", F::text},
                     kStruct,
                     {"   Change Diary:", F::diary}}),
           Show::wheneverReplied));
  add(row(C::SetSupportFile, "ZQSetSupportFile", "sfl"));
  add(row(C::GetSupportFile, "ZQGetSupportFile", "gfl", {{"Timestamp:", F::number}}));
  add(row(C::DeleteSupportFile, "ZQDeleteSupportFile", "dfl"));
  add(silent(C::CreateSupportFile, "ZQCreateSupportFile"));  // recorded by ZQSetSupportFile
  add(silent(C::GetListSupportFile, "ZQGetListSupportFile"));

  // server, users, administration
  add(row(C::GetServerInfo, "ZQGetServerInfo", "gsi", {kStruct}));
  add(row(C::SetServerInfo, "ZQSetServerInfo", "ssi"));
  add(row(C::GetServerStatistics, "ZQGetServerStatistics", "gss", {kStruct}));
  add(row(C::GetFullTextInfo, "ZQGetFullTextInfo", "gft", {kStruct}));
  add(row(C::SetFullTextInfo, "ZQSetFullTextInfo", "sft"));
  add(row(C::GetListGroup, "ZQGetListGroup", "glg", {kStruct}));
  add(row(C::GetListRole, "ZQGetListRole", "glr", {kStruct}));
  add(row(C::GetListUser, "ZQGetListUser", "glu", {kStruct}));
  add(row(C::VerifyUser, "ZQVerifyUser", "ver",
          {{"Admin Flag:", F::flag}, {"SubAdmin Flag:", F::flag}, {"Customize Flag:", F::flag}}));
  add(row(C::GetLocalizedValue, "ZQGetLocalizedValue", "glv",
          {{"Localized ", F::valuePrefixed}, {"Timestamp:", F::number}}));
  add(row(C::GetMultipleLocalizedValues, "ZQGetMultipleLocalizedValues", "gmlv",
          {{"   Localized ", F::valuePrefixed}, {"   Timestamp:", F::number}}));
  add(row(C::GetSessionConfiguration, "ZQGetSessionConfiguration", "gsc", {kStruct}));
  add(row(C::SetSessionConfiguration, "ZQSetSessionConfiguration", "ssc"));
  add(row(C::GetCurrencyRatio, "ZQGetCurrencyRatio", "gcr", {kStruct}));
  add(row(C::GetMultipleCurrencyRatioSets, "ZQGetMultipleCurrencyRatioSets", "gmcrs",
          {{"Currency Ratio Sets :", F::structure}}));
  add(multiple(C::GetMultipleEntryPoints, "ZQGetMultipleEntryPoints", "gmep", "Entry Point Name:",
               {{"Entry Point Type:", F::number},
                {"Entry Point Display Label:", F::text},
                {"Owner Application Name:", F::text},
                {"Owner Application Display Label:", F::text},
                {"Permissions", F::structure},
                kStruct,
                {"Description:", F::text},
                kStruct,
                {"Help Text:", F::text},
                {"Last Update Time:", F::number},
                kStruct}));
  add(row(C::GetListApplicationState, "ZQGetListApplicationState", "glas",
          {{"State Name List:", F::names}}));
  add(row(C::GetApplicationState, "ZQGetApplicationState", "gas", {{"Current State:", F::text}}));
  add(row(C::SetApplicationState, "ZQSetApplicationState", "sas"));
  add(row(C::ValidateFormCache, "ZQValidateFormCache", "vfc",
          {{"Form Last Changed:", F::number},
           {"Number Active Links:", F::number},
           {"Number Changed Active Links:", F::number},
           {"Changed Menu List:", F::names},
           {"Groups Last Changed:", F::number},
           {"User Last Changed:", F::number},
           {"Changed Guide List:", F::names}}));
  add(with(row(C::GetObjectChangeTimes, "ZQGetObjectChangeTimes", "goct", {kStruct}),
           Show::wheneverPassed));
  add(row(C::GetCacheEvent, "ZQGetCacheEvent", "gce",
          {{"", F::unlabeledNames}, {"", F::unlabeledNumber}}));
  add(silent(C::CreateUser, "ZQCreateUser"));
  add(silent(C::DeleteUser, "ZQDeleteUser"));
  add(silent(C::CreateGroup, "ZQCreateGroup"));
  add(silent(C::DeleteGroup, "ZQDeleteGroup"));

  // alerts
  add(row(C::CreateAlertEvent, "ZQCreateAlertEvent", "cae", {{"Entry Id:", F::text}}));
  add(row(C::RegisterForAlerts, "ZQRegisterForAlerts", "rfa"));
  add(row(C::DeregisterForAlerts, "ZQDeregisterForAlerts", "dfa"));
  add(row(C::GetListAlertUser, "ZQGetListAlertUser", "glau", {{"User List:", F::names}}));
  add(row(C::GetAlertCount, "ZQGetAlertCount", "gac", {{"Alert Count:", F::number}}));
  add(row(C::DecodeAlertMessage, "ZQDecodeAlertMessage", "dcam",
          {{"Timestamp:", F::number},
           {"Source Type:", F::number},
           {"Priority:", F::number},
           {"Alert Text:", F::text},
           {"Source Tag:", F::text},
           {"Server Name:", F::text},
           {"Server Address:", F::text},
           {"Form Name:", F::text},
           {"Object Id:", F::text}}));

  // transactions
  add(row(C::BeginBulkEntryTransaction, "ZQBeginBulkEntryTransaction", "bbet"));
  add(with(row(C::EndBulkEntryTransaction, "ZQEndBulkEntryTransaction", "ebet", {kStruct}),
           Show::afterStatus));
  add(silent(C::BeginClientManagedTransaction, "ZQBeginClientManagedTransaction"));
  add(silent(C::EndClientManagedTransaction, "ZQEndClientManagedTransaction"));

  // export, import, SQL, processes, signals
  add(row(C::Export, "ZQExport", "exp"));
  add(row(C::Import, "ZQImport", "imp"));
  add(silent(C::ImportFromFile, "ZQImportFromFile"));  // recorded by ZQImport
  add(row(C::UnImport, "ZQUnImport", "unimp"));
  add(row(C::ExecuteProcess, "ZQExecuteProcess", "proc",
          {{"Return Status:", F::number}, {"Process Output:", F::text}}));
  add(row(C::ExecuteProcessForActiveLink, "ZQExecuteProcessForActiveLink", "epal",
          {{"Return Status:", F::number},
           {"Process Output:", F::text},
           {"Returned Command:", F::text}}));
  add(row(C::GetListSQLForActiveLink, "ZQGetListSQLForActiveLink", "sqlal",
          {kStruct, {"Number of Matches:", F::number}, {"Returned Command:", F::text}}));
  add(row(C::Signal, "ZQSignal", "sig"));
  add(silent(C::SetImpersonatedUser, "ZQSetImpersonatedUser"));
  add(silent(C::Cancel, "ZQCancel"));

  // XML entries
  add(row(C::XMLCreateEntry, "ZQXMLCreateEntry", "xmlce"));
  add(row(C::XMLSetEntry, "ZQXMLSetEntry", "xmlse"));
  add(row(C::XMLGetEntry, "ZQXMLGetEntry", "xmlge"));
  add(row(C::XMLServiceEntry, "ZQXMLServiceEntry", "xmlsve"));
  add(row(C::XMLDeleteEntry, "ZQXMLDeleteEntry", "xmlde"));

  // workflow debugger: no command record; the result carries the last name
  add(debugger(C::RunEscalation, "ZQRunEscalation"));
  add(debugger(C::WfdClearAllBreakpoints, "ZQWfdClearAllBreakpoints"));
  add(debugger(C::WfdClearBreakpoint, "ZQWfdClearBreakpoint"));
  add(debugger(C::WfdExecute, "ZQWfdExecute"));
  add(debugger(C::WfdGetCurrentLocation, "ZQWfdGetCurrentLocation"));
  add(debugger(C::WfdGetDebugMode, "ZQWfdGetDebugMode"));
  add(debugger(C::WfdGetFieldValues, "ZQWfdGetFieldValues"));
  add(debugger(C::WfdGetFilterQual, "ZQWfdGetFilterQual"));
  add(debugger(C::WfdGetKeywordValue, "ZQWfdGetKeywordValue"));
  add(debugger(C::WfdGetUserContext, "ZQWfdGetUserContext"));
  add(debugger(C::WfdListBreakpoints, "ZQWfdListBreakpoints"));
  add(debugger(C::WfdSetBreakpoint, "ZQWfdSetBreakpoint"));
  add(debugger(C::WfdSetDebugMode, "ZQWfdSetDebugMode"));
  add(debugger(C::WfdSetFieldValues, "ZQWfdSetFieldValues"));
  add(debugger(C::WfdSetQualifierResult, "ZQWfdSetQualifierResult"));
  add(debugger(C::WfdTerminateAPI, "ZQWfdTerminateAPI"));

  // session, connections and text
  add(row(C::Initialization, "ZQInitialization", "init"));
  add(row(C::Termination, "ZQTermination", "term"));
  add(row(C::GetServerCharSet, "ZQGetServerCharSet", "gscs", {{"Char Set:", F::text}}));
  add(row(C::GetClientCharSet, "ZQGetClientCharSet", "gccs", {{"Char Set:", F::text}}));
  add(row(C::GetListServer, "ZQGetListServer", "svr", {{"Server List:", F::names}}));
  add(row(C::CloseNetworkConnections, "ZQCloseNetworkConnections", "cnc"));
  add(row(C::EncodeZQQualifierStruct, "ZQEncodeZQQualifierStruct", "ecqal",
          {{"Qualifier Text:", F::text}}));
  add(row(C::DecodeZQQualifierStruct, "ZQDecodeZQQualifierStruct", "dcqal", {kStruct}));
  add(row(C::EncodeZQAssignStruct, "ZQEncodeZQAssignStruct", "ecasn", {{"Assign Text:", F::text}}));
  add(row(C::DecodeZQAssignStruct, "ZQDecodeZQAssignStruct", "dcasn", {kStruct}));
  add(row(C::EncodeDiary, "ZQEncodeDiary", "ecdia", {{"Diary Text:", F::text}}));
  add(noted(C::DecodeDiary, "ZQDecodeDiary", "", {kStruct}));
  add(row(C::EncodeStatusHistory, "ZQEncodeStatusHistory", "echst",
          {{"Status History Text:", F::text}}));
  add(noted(C::DecodeStatusHistory, "ZQDecodeStatusHistory", "", {kStruct}));
  return t;
}

}  // namespace

const std::vector<CommandInfo>& commandTable() {
  static const std::vector<CommandInfo> table = buildTable();
  return table;
}

const CommandInfo& commandInfo(Command id) {
  return commandTable()[static_cast<size_t>(id)];
}

const CommandInfo* findByCode(std::string_view code) {
  if (code.empty()) return nullptr;
  for (const CommandInfo& c : commandTable())
    if (code == c.code) return &c;
  return nullptr;
}

}  // namespace zq::diag
