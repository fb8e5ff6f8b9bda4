// Every description visits every member of its structure.
//
// The round-trip and copy tests compare structures through dumps that walk
// the same descriptions, so a member a description leaves out is invisible to
// them. This test looks at memory instead: a visitor (coverage_visitor.h)
// records the address range of every member the visitor calls receive by
// reference, and the visited bytes of a structure must cover every byte of
// sizeof(T) except padding.
//
// Why this is sound:
// - Padding comes from the compiler, not from us: __builtin_clear_padding
//   clears exactly the padding bits of an object filled with ones. Gaps
//   between visited members are not taken for padding, so a small member
//   hidden in what looks like an alignment gap is still seen.
// - A description shows different members in different protocol versions,
//   wire directions and union arms. Each structure is run zeroed through
//   versions 7 to 14, encoding and decoding, and then once for every
//   candidate value (1 to 100 and every single bit) of every 32-bit word a
//   run visits, one word at a time: tags, kinds and flag words that select
//   members are found by trying them, not listed by hand. The coverage is the
//   union of the runs that the description accepts.
// - A union is covered byte-wise by its largest arm, so that alone would not
//   see a member missing from a smaller arm. For each union the table names
//   its selector and, per arm, the tags that select it: every tag the
//   description accepts must visit bytes of its own arm only, every arm must
//   be visited whole by its tags, and the arms together must cover the union.
// - Members of a nested structure with a description of its own count as
//   visited as a whole; that type is checked on its own, and the test fails
//   when a description reaches a type missing from the table. Items that a
//   description visits with a function of its own (v.list and v.pointer with
//   a function) are checked the same way on an item of their own.
// - The table is complete: the test reads the public headers and the
//   transport records and fails for a structure that is neither checked nor
//   listed below with the reason it has no description; at compile time,
//   every checked type has a description and every listed one has none.
// Members the visitor cannot see by address are listed with their reason:
// those that never travel, and those a description sends through a local
// copy (a word assembled from bytes, an aliasing pointer).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "model/describe.h"
#include "transport/describe.h"
#include "unit/model/coverage_check.h"
#include "zqapi/zqapi.h"

namespace zqtest::coverage {
namespace {

namespace tr = zq::transport;

#define AT(x)            \
  [](auto& s) -> auto& { \
    return s.x;          \
  }
#define CHECK_TYPE(T) Check<T>(#T)
#define CHECK_RECORD(T) Check<tr::T>(#T)
#define TAGGED(region, selector) tagged(#region, AT(region), #selector, AT(selector))
#define ARM(member, ...) arm(#member, AT(member), is({__VA_ARGS__}))
#define ARM_IF(member, pred) arm(#member, AT(member), pred)
#define NOT_VISITED(member, reason) notVisited(#member, AT(member), reason)
#define ARM_OF(T, parent) undescribed<T>(#T, true, "described inline as an arm of " parent)
#define READ_ONLY "kept by the server: requests never carry it"
#define NO_PROPERTIES "fields and views carry no object properties"
#define OPTIONAL_TEXTS \
  "optional texts: a presence word, then the text only when present (none in the probe)"
#define NAME_AS_TEXT "a fixed name that requests send as a text through a pointer to it"
#define NO_WIRE(T, reason) undescribed<T>(#T, false, reason)

bool fieldLike(uint32_t t) {
  return t == ZQ_FIELD || (t >= 12 && t <= 26) || t == ZQ_FIELD_TRAN || t == ZQ_FIELD_DB ||
         t == ZQ_FIELD_CURRENT;
}
bool currencyField(uint32_t t) {
  return t == ZQ_CURRENCY_FLD || t == ZQ_CURRENCY_FLD_TRAN || t == ZQ_CURRENCY_FLD_DB ||
         t == ZQ_CURRENCY_FLD_CURRENT;
}

const std::vector<TypeCheck>& checkedTypes() {
  static const std::vector<TypeCheck> all = {
      // ---- core values and lists ----
      CHECK_TYPE(ZQByteList),
      CHECK_TYPE(ZQCoordStruct),
      CHECK_TYPE(ZQCoordList),
      CHECK_TYPE(ZQBufStruct),
      CHECK_TYPE(ZQLocStruct)
          .TAGGED(u, locationType)
          .ARM(u.filename, ZQ_LOC_FILENAME)
          .ARM(u.buffer, ZQ_LOC_BUFFER),
      CHECK_TYPE(ZQAttachStruct),
      CHECK_TYPE(ZQFunctionalCurrencyStruct),
      CHECK_TYPE(ZQFunctionalCurrencyList),
      CHECK_TYPE(ZQCurrencyStruct),
      CHECK_TYPE(ZQValueStruct)
          .TAGGED(u, dataType)
          .ARM(u.keywordNumber, ZQ_DATA_TYPE_KEYWORD)
          .ARM(u.integerValue, ZQ_DATA_TYPE_INTEGER)
          .ARM(u.realValue, ZQ_DATA_TYPE_REAL)
          .ARM(u.charValue, ZQ_DATA_TYPE_CHAR, ZQ_DATA_TYPE_VIEW, ZQ_DATA_TYPE_DISPLAY)
          .ARM(u.diaryValue, ZQ_DATA_TYPE_DIARY)
          .ARM(u.enumValue, ZQ_DATA_TYPE_ENUM)
          .ARM(u.timestampValue, ZQ_DATA_TYPE_TIME)
          .ARM(u.bitmaskValue, ZQ_DATA_TYPE_BITMASK)
          .ARM(u.byteListValue, ZQ_DATA_TYPE_BYTES)
          .ARM(u.decimalValue, ZQ_DATA_TYPE_DECIMAL)
          .ARM(u.attachmentValue, ZQ_DATA_TYPE_ATTACH)
          .ARM(u.currencyValue, ZQ_DATA_TYPE_CURRENCY)
          .ARM(u.dateValue, ZQ_DATA_TYPE_DATE)
          .ARM(u.timeOfDayValue, ZQ_DATA_TYPE_TIME_OF_DAY)
          .ARM(u.ulongValue, ZQ_DATA_TYPE_ULONG)
          .ARM(u.coordListValue, ZQ_DATA_TYPE_COORDS),
      CHECK_TYPE(ZQValueList),
      CHECK_TYPE(ZQValueListList),
      CHECK_TYPE(ZQFieldValueStruct),
      CHECK_TYPE(ZQFieldValueList),
      CHECK_TYPE(ZQFieldValueListList),
      CHECK_TYPE(ZQServerInfoStruct),
      CHECK_TYPE(ZQServerInfoList),
      CHECK_TYPE(ZQPropStruct),
      CHECK_TYPE(ZQPropList),
      CHECK_TYPE(ZQPropListList),
      CHECK_TYPE(ZQNameList),
      CHECK_TYPE(ZQAccessNameList),
      CHECK_TYPE(ZQServerNameList),
      CHECK_TYPE(ZQEntryIdList),
      CHECK_TYPE(ZQEntryIdListList),
      CHECK_TYPE(ZQInternalIdList),
      CHECK_TYPE(ZQInternalIdListList),
      CHECK_TYPE(ZQUnsignedIntList),
      CHECK_TYPE(ZQBooleanList),
      CHECK_TYPE(ZQBooleanListList),
      CHECK_TYPE(ZQTimestampList),
      CHECK_TYPE(ZQTextStringList),
      CHECK_TYPE(ZQNamePtrList),
      CHECK_TYPE(ZQAccessNamePtrList),
      CHECK_TYPE(ZQUnsignedIntPtrList),
      CHECK_TYPE(ZQEntryListFieldStruct),
      CHECK_TYPE(ZQEntryListFieldList),
      CHECK_TYPE(ZQEntryListFieldListList),
      CHECK_TYPE(ZQEntryListStruct),
      CHECK_TYPE(ZQEntryListList),
      CHECK_TYPE(ZQEntryListFieldValueStruct),
      CHECK_TYPE(ZQEntryListFieldValueList),
      CHECK_TYPE(ZQSortStruct),
      CHECK_TYPE(ZQSortList),
      CHECK_TYPE(ZQSortListList),
      CHECK_TYPE(ZQIndexStruct),
      CHECK_TYPE(ZQIndexList),
      CHECK_TYPE(ZQIndexListList),
      CHECK_TYPE(ZQStatusHistoryStruct),
      CHECK_TYPE(ZQStatusHistoryList),
      CHECK_TYPE(ZQDiaryStruct),
      CHECK_TYPE(ZQDiaryList),
      CHECK_TYPE(ZQPermissionStruct),
      CHECK_TYPE(ZQPermissionList),
      CHECK_TYPE(ZQPermissionListList),
      CHECK_TYPE(ZQGroupInfoStruct),
      CHECK_TYPE(ZQGroupInfoList),
      CHECK_TYPE(ZQStatusStruct),
      CHECK_TYPE(ZQStatusList),
      CHECK_TYPE(ZQStatusListList),
      CHECK_TYPE(ZQDisplayInstanceStruct),
      CHECK_TYPE(ZQDisplayInstanceList),
      CHECK_TYPE(ZQDisplayInstanceListList),

      // ---- qualifications and assignments ----
      CHECK_TYPE(ZQStatusHistoryOperand),
      CHECK_TYPE(ZQCurrencyPartStruct),
      CHECK_TYPE(ZQQueryStruct),
      CHECK_TYPE(ZQFieldValueOrArithStruct)
          .TAGGED(u, tag)
          .ARM_IF(u.fieldId, fieldLike)
          .ARM(u.value, ZQ_VALUE)
          .ARM(u.arithOp, ZQ_ARITHMETIC)
          .ARM(u.statHistory, ZQ_STAT_HISTORY)
          .ARM(u.valueSet, ZQ_VALUE_SET)
          .ARM_IF(u.currencyField, currencyField)
          .ARM(u.variable, ZQ_LOCAL_VARIABLE)
          .ARM(u.query, ZQ_QUERY),
      CHECK_TYPE(ZQArithOpStruct),
      CHECK_TYPE(ZQRelOpStruct),
      CHECK_TYPE(ZQQualifierStruct)
          .TAGGED(u, operation)
          .ARM(u.andOr, ZQ_COND_OP_AND, ZQ_COND_OP_OR)
          .ARM(u.operand, ZQ_COND_OP_NOT)
          .ARM(u.relation, ZQ_COND_OP_REL_OP)
          .ARM(u.fieldId, ZQ_COND_OP_FROM_FIELD),
      CHECK_TYPE(ZQQualifierList),
      CHECK_TYPE(ZQAssignFieldStruct)
          .TAGGED(u, tag)
          .ARM(u.fieldId, ZQ_FIELD)
          .ARM(u.statHistory, ZQ_STAT_HISTORY)
          .ARM(u.currencyField, ZQ_CURRENCY_FLD),
      CHECK_TYPE(ZQArithOpAssignStruct),
      CHECK_TYPE(ZQFunctionAssignStruct),
      CHECK_TYPE(ZQDDEStruct),
      CHECK_TYPE(ZQAssignSQLStruct),
      CHECK_TYPE(ZQAssignFilterApiStruct),
      CHECK_TYPE(ZQAssignStruct)
          .TAGGED(u, assignType)
          .ARM(u.value, ZQ_ASSIGN_TYPE_VALUE)
          .ARM(u.field, ZQ_ASSIGN_TYPE_FIELD)
          .ARM(u.process, ZQ_ASSIGN_TYPE_PROCESS)
          .ARM(u.arithOp, ZQ_ASSIGN_TYPE_ARITH)
          .ARM(u.function, ZQ_ASSIGN_TYPE_FUNCTION)
          .ARM(u.dde, ZQ_ASSIGN_TYPE_DDE)
          .ARM(u.sql, ZQ_ASSIGN_TYPE_SQL)
          .ARM(u.filterApi, ZQ_ASSIGN_TYPE_FILTER_API),
      CHECK_TYPE(ZQFieldAssignStruct),
      CHECK_TYPE(ZQFieldAssignList),

      // ---- workflow actions ----
      CHECK_TYPE(ZQFilterActionNotifyAdvanced),
      CHECK_TYPE(ZQNotifyStruct),
      CHECK_TYPE(ZQFilterStatusStruct),
      CHECK_TYPE(ZQMessageStruct),
      CHECK_TYPE(ZQSetFieldsStruct),
      CHECK_TYPE(ZQPushFieldsStruct),
      CHECK_TYPE(ZQPushFieldsList),
      CHECK_TYPE(ZQPushFieldsAction),
      CHECK_TYPE(ZQSQLStruct),
      CHECK_TYPE(ZQGotoActionStruct),
      CHECK_TYPE(ZQCallGuideStruct),
      CHECK_TYPE(ZQExitGuideStruct),
      CHECK_TYPE(ZQCloseWindowStruct),
      CHECK_TYPE(ZQGotoGuideLabelStruct),
      CHECK_TYPE(ZQWaitStruct),
      CHECK_TYPE(ZQSvcActionStruct),
      CHECK_TYPE(ZQMacroParmStruct),
      CHECK_TYPE(ZQMacroParmList),
      CHECK_TYPE(ZQActiveLinkMacroStruct),
      CHECK_TYPE(ZQFieldCharacteristicsStruct),
      CHECK_TYPE(ZQCOMValueStruct)
          .TAGGED(u, valueType)
          .ARM(u.fieldId, ZQ_COM_VALUE_FIELD)
          .ARM(u.value, ZQ_COM_VALUE_VALUE),
      CHECK_TYPE(ZQCOMMethodParmStruct),
      CHECK_TYPE(ZQCOMMethodParmList),
      CHECK_TYPE(ZQCOMMethodStruct),
      CHECK_TYPE(ZQCOMMethodList),
      CHECK_TYPE(ZQOutboundAutomationStruct),
      CHECK_TYPE(ZQOpenDialogStruct),
      CHECK_TYPE(ZQFilterActionStruct)
          .TAGGED(u, action)
          .ARM(u.notify, ZQ_FILTER_ACTION_NOTIFY)
          .ARM(u.message, ZQ_FILTER_ACTION_MESSAGE)
          .ARM(u.logFile, ZQ_FILTER_ACTION_LOG)
          .ARM(u.setFields, ZQ_FILTER_ACTION_FIELDS)
          .ARM(u.process, ZQ_FILTER_ACTION_PROCESS)
          .ARM(u.pushFields, ZQ_FILTER_ACTION_FIELDP)
          .ARM(u.sqlCommand, ZQ_FILTER_ACTION_SQL)
          .ARM(u.gotoAction, ZQ_FILTER_ACTION_GOTOACTION)
          .ARM(u.callGuide, ZQ_FILTER_ACTION_CALLGUIDE)
          .ARM(u.exitGuide, ZQ_FILTER_ACTION_EXITGUIDE)
          .ARM(u.gotoGuideLabel, ZQ_FILTER_ACTION_GOTOGUIDELABEL)
          .ARM(u.serviceAction, ZQ_FILTER_ACTION_SERVICE),
      CHECK_TYPE(ZQFilterActionList),
      CHECK_TYPE(ZQFilterActionListList),
      CHECK_TYPE(ZQActiveLinkActionStruct)
          .TAGGED(u, action)
          .ARM(u.macro, ZQ_ACTIVE_LINK_ACTION_MACRO)
          .ARM(u.setFields, ZQ_ACTIVE_LINK_ACTION_FIELDS)
          .ARM(u.process, ZQ_ACTIVE_LINK_ACTION_PROCESS)
          .ARM(u.message, ZQ_ACTIVE_LINK_ACTION_MESSAGE)
          .ARM(u.characteristics, ZQ_ACTIVE_LINK_ACTION_SET_CHAR)
          .ARM(u.dde, ZQ_ACTIVE_LINK_ACTION_DDE)
          .ARM(u.pushFields, ZQ_ACTIVE_LINK_ACTION_FIELDP)
          .ARM(u.sqlCommand, ZQ_ACTIVE_LINK_ACTION_SQL)
          .ARM(u.automation, ZQ_ACTIVE_LINK_ACTION_AUTO)
          .ARM(u.openDialog, ZQ_ACTIVE_LINK_ACTION_OPENDLG)
          .ARM(u.closeWindow, ZQ_ACTIVE_LINK_ACTION_CLOSEWND)
          .ARM(u.callGuide, ZQ_ACTIVE_LINK_ACTION_CALLGUIDE)
          .ARM(u.exitGuide, ZQ_ACTIVE_LINK_ACTION_EXITGUIDE)
          .ARM(u.gotoGuideLabel, ZQ_ACTIVE_LINK_ACTION_GOTOGUIDELABEL)
          .ARM(u.waitAction, ZQ_ACTIVE_LINK_ACTION_WAIT)
          .ARM(u.gotoAction, ZQ_ACTIVE_LINK_ACTION_GOTOACTION)
          .ARM(u.serviceAction, ZQ_ACTIVE_LINK_ACTION_SERVICE),
      CHECK_TYPE(ZQActiveLinkActionList),
      CHECK_TYPE(ZQActiveLinkActionListList),

      // ---- character menus ----
      CHECK_TYPE(ZQCharMenuItemStruct)
          .TAGGED(u, type)
          .ARM(u.value, ZQ_MENU_ITEM_VALUE)
          .ARM(u.childMenu, ZQ_MENU_ITEM_MENU),
      CHECK_TYPE(ZQCharMenuList),
      CHECK_TYPE(ZQCharMenuQueryStruct),
      CHECK_TYPE(ZQCharMenuFileStruct),
      CHECK_TYPE(ZQCharMenuSQLStruct),
      CHECK_TYPE(ZQCharMenuSSStruct)
          .NOT_VISITED(serverName, "the client's: never travels (released and copied only)")
          .NOT_VISITED(extra, "the client's: never travels (released and copied only)"),
      CHECK_TYPE(ZQCharMenuDDStruct)
          .TAGGED(u, menuKind)
          .ARM(u.formDefn, ZQ_MENU_DD_FORM)
          .ARM(u.fieldDefn, ZQ_MENU_DD_FIELD),
      CHECK_TYPE(ZQCharMenuStruct)
          .TAGGED(u, menuType)
          .ARM(u.menuList, ZQ_CHAR_MENU_LIST)
          .ARM(u.menuQuery, ZQ_CHAR_MENU_QUERY)
          .ARM(u.menuFile, ZQ_CHAR_MENU_FILE)
          .ARM(u.menuSQL, ZQ_CHAR_MENU_SQL)
          .ARM(u.menuSS, ZQ_CHAR_MENU_SS)
          .ARM(u.menuDD, ZQ_CHAR_MENU_DATA_DICTIONARY),
      CHECK_TYPE(ZQCharMenuStructList),

      // ---- field limits ----
      CHECK_TYPE(ZQEnumItemStruct),
      CHECK_TYPE(ZQEnumItemList),
      CHECK_TYPE(ZQEnumeratedQuery),
      CHECK_TYPE(ZQEnumeratedLimits)
          .TAGGED(u, enumKind)
          .ARM(u.values, ZQ_ENUM_STYLE_REGULAR)
          .ARM(u.customValues, ZQ_ENUM_STYLE_CUSTOM)
          .ARM(u.query, ZQ_ENUM_STYLE_QUERY),
      CHECK_TYPE(ZQCharacterLimits),
      CHECK_TYPE(ZQCurrencyPrecision),
      CHECK_TYPE(ZQCurrencyPrecisionList),
      CHECK_TYPE(ZQCurrencyFieldLimits),
      CHECK_TYPE(ZQTableFieldLimits),
      CHECK_TYPE(ZQColumnFieldLimits),
      CHECK_TYPE(ZQFieldLimitStruct)
          .TAGGED(u, dataType)
          .ARM(u.intLimits, ZQ_DATA_TYPE_INTEGER)
          .ARM(u.realLimits, ZQ_DATA_TYPE_REAL)
          .ARM(u.charLimits, ZQ_DATA_TYPE_CHAR)
          .ARM(u.diaryLimits, ZQ_DATA_TYPE_DIARY)
          .ARM(u.enumLimits, ZQ_DATA_TYPE_ENUM)
          .ARM(u.maskLimits, ZQ_DATA_TYPE_BITMASK)
          .ARM(u.decimalLimits, ZQ_DATA_TYPE_DECIMAL)
          .ARM(u.attachLimits, ZQ_DATA_TYPE_ATTACH)
          .ARM(u.currencyLimits, ZQ_DATA_TYPE_CURRENCY)
          .ARM(u.dateLimits, ZQ_DATA_TYPE_DATE)
          .ARM(u.tableLimits, ZQ_DATA_TYPE_TABLE)
          .ARM(u.columnLimits, ZQ_DATA_TYPE_COLUMN)
          .ARM(u.viewLimits, ZQ_DATA_TYPE_VIEW)
          .ARM(u.displayLimits, ZQ_DATA_TYPE_DISPLAY),
      CHECK_TYPE(ZQFieldLimitList),

      // ---- definitions, administration and results ----
      CHECK_TYPE(ZQWorkflowConnectStruct)
          .itemsNotVisited("schemaList@8 > items@8",
                           "from version 8 the form names travel as counted texts built from "
                           "a copy of each name's length and address"),
      CHECK_TYPE(ZQWorkflowConnectList),
      CHECK_TYPE(ZQCompoundSchema)
          .TAGGED(u, schemaType)
          .ARM(u.join, ZQ_SCHEMA_JOIN)
          .ARM(u.view, ZQ_SCHEMA_VIEW)
          .ARM(u.vendor, ZQ_SCHEMA_VENDOR),
      CHECK_TYPE(ZQCompoundSchemaList),
      CHECK_TYPE(ZQFieldMappingStruct)
          .TAGGED(u, fieldType)
          .ARM(u.join, ZQ_FIELD_MAPPING_JOIN)
          .ARM(u.view, ZQ_FIELD_MAPPING_VIEW)
          .ARM(u.vendor, ZQ_FIELD_MAPPING_VENDOR)
          .ARM(u.inherited, ZQ_FIELD_MAPPING_INHERITED),
      CHECK_TYPE(ZQFieldMappingList),
      CHECK_TYPE(ZQFieldMappingPtrList),
      CHECK_TYPE(ZQDataMappingInfoStruct),
      CHECK_TYPE(ZQDataMappingInfoList),
      CHECK_TYPE(ZQSchemaInheritanceStruct),
      CHECK_TYPE(ZQSchemaInheritanceList),
      CHECK_TYPE(ZQSchemaInheritanceListList),
      CHECK_TYPE(ZQArchiveInfoStruct)
          .TAGGED(u, archiveType)
          .ARM_IF(
              u.formName,
              [](uint32_t t) { return (t & (ZQ_ARCHIVE_FORM | ZQ_ARCHIVE_SELECTOR_FORM)) != 0; })
          .ARM_IF(u.dirPath,
                  [](uint32_t t) {
                    return (t & (ZQ_ARCHIVE_FORM | ZQ_ARCHIVE_SELECTOR_FORM)) == 0 &&
                           (t & (ZQ_ARCHIVE_FILE_XML | ZQ_ARCHIVE_FILE_ARX)) != 0;
                  }),
      CHECK_TYPE(ZQArchiveInfoList),
      CHECK_TYPE(ZQAuditInfoStruct),
      CHECK_TYPE(ZQAuditInfoList),
      CHECK_TYPE(ZQContainerOwnerObj),
      CHECK_TYPE(ZQContainerOwnerObjList),
      CHECK_TYPE(ZQContainerOwnerObjListList),
      CHECK_TYPE(ZQContainerInfo),
      CHECK_TYPE(ZQContainerInfoList),
      CHECK_TYPE(ZQContainerTypeList),
      CHECK_TYPE(ZQReferenceTypeList),
      CHECK_TYPE(ZQReferenceObj)
          .TAGGED(u, dataType)
          .ARM(u.name, ZQ_REFERENCE_INTERNAL)
          .ARM(u.extRef, ZQ_REFERENCE_EXTERNAL),
      CHECK_TYPE(ZQReferenceStruct),
      CHECK_TYPE(ZQReferenceList),
      CHECK_TYPE(ZQReferenceListList),
      CHECK_TYPE(ZQImageDataStruct),
      CHECK_TYPE(ZQImageDataList),
      CHECK_TYPE(ZQEntryBlockStruct),
      CHECK_TYPE(ZQEntryBlockList),
      CHECK_TYPE(ZQStatisticsResultStruct),
      CHECK_TYPE(ZQStatisticsResultList),
      CHECK_TYPE(ZQFullTextInfoStruct)
          .TAGGED(u, infoType)
          .ARM(u.valueList, ZQ_FULLTEXT_STOPWORD)
          .ARM(u.value, ZQ_FULLTEXT_COLLECTION_DIRECTORY, ZQ_FULLTEXT_REINDEX,
               ZQ_FULLTEXT_CASE_SENSITIVE_SRCH, ZQ_FULLTEXT_STATE, ZQ_FULLTEXT_FTS_MATCH_OP),
      CHECK_TYPE(ZQFullTextInfoList),
      CHECK_TYPE(ZQFullTextInfoRequestList),
      CHECK_TYPE(ZQRoleInfoStruct),
      CHECK_TYPE(ZQRoleInfoList),
      CHECK_TYPE(ZQServerInfoRequestList),
      CHECK_TYPE(ZQSignalStruct),
      CHECK_TYPE(ZQSignalList),
      CHECK_TYPE(ZQFieldInfoStruct),
      CHECK_TYPE(ZQFieldInfoList),
      CHECK_TYPE(ZQVuiInfoStruct),
      CHECK_TYPE(ZQVuiInfoList),
      CHECK_TYPE(ZQSupportFileInfoStruct)
          .NOT_VISITED(content,
                       "visited through a copy of the pointer as unsigned char*, which the "
                       "visitor cannot tell from a local"),
      CHECK_TYPE(ZQSupportFileInfoList),

      // ---- queries over several forms ----
      CHECK_TYPE(ZQMultiSchemaFieldIdStruct),
      CHECK_TYPE(ZQMultiSchemaFieldIdList),
      CHECK_TYPE(ZQMultiSchemaStatHistoryValue),
      CHECK_TYPE(ZQMultiSchemaCurrencyPartStruct),
      CHECK_TYPE(ZQMultiSchemaFieldValueOrArithStruct)
          .TAGGED(u, tag)
          .ARM_IF(u.fieldId, fieldLike)
          .ARM(u.value, ZQ_VALUE)
          .ARM(u.arithOp, ZQ_ARITHMETIC)
          .ARM(u.statHistory, ZQ_STAT_HISTORY)
          .ARM(u.valueSet, ZQ_VALUE_SET)
          .ARM_IF(u.currencyField, currencyField)
          .ARM(u.valueSetQuery, ZQ_MULTI_VALUE_SET_QUERY)
          .ARM(u.variable, ZQ_LOCAL_VARIABLE)
          .ARM(u.query, ZQ_QUERY),
      CHECK_TYPE(ZQMultiSchemaArithOpStruct),
      CHECK_TYPE(ZQMultiSchemaRelOpStruct),
      CHECK_TYPE(ZQMultiSchemaQualifierStruct)
          .TAGGED(u, operation)
          .ARM(u.andor, ZQ_COND_OP_AND, ZQ_COND_OP_OR)
          .ARM(u.notQual, ZQ_COND_OP_NOT)
          .ARM(u.relOp, ZQ_COND_OP_REL_OP)
          .ARM(u.fieldId, ZQ_COND_OP_FROM_FIELD),
      CHECK_TYPE(ZQMultiSchemaQueryFromStruct)
          .TAGGED(u, type)
          .ARM(u.schemaName, ZQ_MULTI_SCHEMA_SOURCE_FORM)
          .ARM(u.recursiveQuery, ZQ_MULTI_SCHEMA_SOURCE_RECURSIVE),
      CHECK_TYPE(ZQMultiSchemaQueryFromList),
      CHECK_TYPE(ZQMultiSchemaRecursiveQueryStruct),
      CHECK_TYPE(ZQMultiSchemaValueSetQueryStruct),
      CHECK_TYPE(ZQMultiSchemaSortStruct),
      CHECK_TYPE(ZQMultiSchemaSortList),
      CHECK_TYPE(ZQMultiSchemaFieldValueStruct),
      CHECK_TYPE(ZQMultiSchemaFieldValueList),
      CHECK_TYPE(ZQMultiSchemaFieldValueListList),

      // ---- workflow debugger and export ----
      CHECK_TYPE(ZQWfdCurrentLocation),
      CHECK_TYPE(ZQWfdStepStruct),
      CHECK_TYPE(ZQWfdBreakpoint)
          .NOT_VISITED(qualifier,
                       "the condition travels inline: the node it points to (or an empty "
                       "condition) is sent, and a node of its own is allocated when reading")
          .TAGGED(name, flags)
          .ARM_IF(name.text, [](uint32_t t) { return (t & ZQ_WFD_BREAKPOINT_NAME_INLINE) == 0; })
          .ARM_IF(name.buffer, [](uint32_t t) { return (t & ZQ_WFD_BREAKPOINT_NAME_INLINE) != 0; }),
      CHECK_TYPE(ZQWfdBreakpointList),
      CHECK_TYPE(ZQWfdUserContext),
      CHECK_TYPE(ZQWfdUserContextList),
      CHECK_TYPE(ZQStructItemStruct),
      CHECK_TYPE(ZQStructItemList),

      // ---- bulk entry results ----
      CHECK_TYPE(ZQBulkEntryReturn)
          .TAGGED(u, entryCallType)
          .ARM(u.entry, ZQ_BULK_ENTRY_CREATE, ZQ_BULK_ENTRY_MERGE)
          .ARM(u.status, ZQ_BULK_ENTRY_SET, ZQ_BULK_ENTRY_DELETE, ZQ_BULK_ENTRY_XML_DELETE)
          .ARM(u.xml, ZQ_BULK_ENTRY_XML_CREATE, ZQ_BULK_ENTRY_XML_SET),
      CHECK_TYPE(ZQBulkEntryReturnList),

      // ---- request and reply records ----
      CHECK_RECORD(RequestHeader),
      CHECK_RECORD(ServerInfoArgs),
      CHECK_RECORD(ServerInfoReply),
      CHECK_RECORD(HeaderOnlyArgs),
      CHECK_RECORD(StatusReply),
      CHECK_RECORD(KeyHelloArgs)
          .NOT_VISITED(clientRandom, "travels as big-endian words assembled from the bytes"),
      CHECK_RECORD(KeyHelloReply)
          .NOT_VISITED(serverRandom, "travels as big-endian words assembled from the bytes"),
      CHECK_RECORD(KeyTransferArgs),
      CHECK_RECORD(KeyTransferReply),
      CHECK_RECORD(EnvelopeArgs),
      CHECK_RECORD(EnvelopeReply),
      CHECK_RECORD(GetEntryArgs),
      CHECK_RECORD(GetEntryReply),
      CHECK_RECORD(SetEntryArgs),
      CHECK_RECORD(CreateEntryArgs),
      CHECK_RECORD(EntryIdReply),
      CHECK_RECORD(DeleteEntryArgs),
      CHECK_RECORD(MergeEntryArgs),
      CHECK_RECORD(ServiceEntryArgs),
      // One size stands for the template: the description is the same loop.
      Check<tr::XmlDocumentsArgs<5>>("XmlDocumentsArgs"),
      CHECK_RECORD(XmlDocumentReply),
      CHECK_RECORD(BulkOperation),
      CHECK_RECORD(BulkEntryArgs),
      CHECK_RECORD(BulkEntryReply),
      CHECK_RECORD(BeginTransactionReply),
      CHECK_RECORD(EndTransactionArgs),
      CHECK_RECORD(ListEntryArgs),
      CHECK_RECORD(ListEntryReply),
      CHECK_RECORD(ListEntryWithFieldsReply),
      CHECK_RECORD(OneEntryArgs),
      CHECK_RECORD(OneEntryReply),
      CHECK_RECORD(ListEntryBlocksArgs),
      CHECK_RECORD(ListEntryBlocksReply),
      CHECK_RECORD(StatisticsArgs),
      CHECK_RECORD(StatisticsReply),
      CHECK_RECORD(MultipleEntriesArgs),
      CHECK_RECORD(MultipleEntriesReply),
      CHECK_RECORD(AlertCountArgs),
      CHECK_RECORD(AlertCountReply),
      CHECK_RECORD(AlertRegistrationArgs),
      CHECK_RECORD(AlertUsersReply),
      CHECK_RECORD(ExportArgs),
      CHECK_RECORD(ExportReply),
      CHECK_RECORD(ImportArgs),
      CHECK_RECORD(WfdWordArgs),
      CHECK_RECORD(WfdExecuteReply),
      CHECK_RECORD(WfdLocationReply),
      CHECK_RECORD(WfdFieldValuesReply),
      CHECK_RECORD(WfdSetFieldValuesArgs),
      CHECK_RECORD(WfdWordReply),
      CHECK_RECORD(WfdQualifierReply),
      CHECK_RECORD(WfdKeywordReply),
      CHECK_RECORD(WfdUserContextReply),
      CHECK_RECORD(WfdBreakpointArgs),
      CHECK_RECORD(WfdBreakpointListReply),
      CHECK_RECORD(EntryBlobArgs),
      CHECK_RECORD(EntryBlobReply),
      CHECK_RECORD(MultiSchemaArgs),
      CHECK_RECORD(TextSliceReply),

      // ---- administration and definition lists ----
      CHECK_TYPE(ZQDisplayList),
      CHECK_TYPE(ZQDisplayStruct),
      CHECK_TYPE(ZQLocaleList),
      CHECK_TYPE(ZQLocalizedRequestList),
      CHECK_TYPE(ZQLocalizedRequestStruct),
      CHECK_TYPE(ZQObjectChangeTimesList),
      CHECK_TYPE(ZQObjectChangeTimesStruct),
      CHECK_TYPE(ZQObjectInfoList),
      CHECK_TYPE(ZQObjectInfoStruct),
      CHECK_TYPE(ZQUserInfoList),
      CHECK_TYPE(ZQUserInfoStruct),
      CHECK_TYPE(ZQUserLicenseList),
      CHECK_TYPE(ZQUserLicenseStruct),

      // ---- administration and definition records ----
      CHECK_RECORD(ImageParts),
      CHECK_RECORD(ApplicationStateArgs),
      CHECK_RECORD(CacheEventArgs),
      CHECK_RECORD(CacheEventReply),
      CHECK_RECORD(CreateGroupArgs),
      CHECK_RECORD(CreateUserArgs),
      CHECK_RECORD(CurrencyRatioSetsArgs),
      CHECK_RECORD(CurrencyRatioSetsReply),
      CHECK_RECORD(DeleteByIdArgs),
      CHECK_RECORD(DeleteByNameArgs),
      CHECK_RECORD(DeleteFieldsArgs),
      CHECK_RECORD(DeleteNamedArgs),
      CHECK_RECORD(DeleteSupportFileArgs),
      CHECK_RECORD(DeleteViewArgs),
      CHECK_RECORD(EndSessionArgs),
      CHECK_RECORD(EntryIdsReply),
      CHECK_RECORD(EntryPointsArgs),
      CHECK_RECORD(EntryPointsReply),
      CHECK_RECORD(ExecuteProcessArgs),
      CHECK_RECORD(ExecuteProcessReply),
      CHECK_RECORD(ExtFieldCandidatesArgs),
      CHECK_RECORD(ExtFieldCandidatesReply),
      CHECK_RECORD(ExtSchemaCandidatesArgs),
      CHECK_RECORD(ExtSchemaCandidatesReply),
      CHECK_RECORD(GetFieldArgs),
      CHECK_RECORD(GetFullTextInfoArgs),
      CHECK_RECORD(GetFullTextInfoReply),
      CHECK_RECORD(GetImageArgs),
      CHECK_RECORD(GetImageReply),
      CHECK_RECORD(GetListGroupArgs),
      CHECK_RECORD(GetListGroupReply),
      CHECK_RECORD(GetListRoleArgs),
      CHECK_RECORD(GetListRoleReply),
      CHECK_RECORD(GetListSQLArgs),
      CHECK_RECORD(GetListSQLReply),
      CHECK_RECORD(GetListUserArgs),
      CHECK_RECORD(GetListUserReply),
      CHECK_RECORD(GetMultipleFieldsArgs),
      CHECK_RECORD(GetMultipleFieldsReply),
      CHECK_RECORD(GetMultipleImagesArgs),
      CHECK_RECORD(GetMultipleImagesReply),
      CHECK_RECORD(GetMultipleSchemasArgs),
      CHECK_RECORD(GetMultipleSchemasReply),
      CHECK_RECORD(GetMultipleViewsArgs),
      CHECK_RECORD(GetMultipleViewsReply),
      CHECK_RECORD(GetSchemaArgs),
      CHECK_RECORD(GetSchemaReply),
      CHECK_RECORD(GetSupportFileArgs),
      CHECK_RECORD(GetSupportFileReply),
      CHECK_RECORD(MenuFileArgs),
      CHECK_RECORD(MenuFileReply),
      CHECK_RECORD(QueryMenuArgs),
      CHECK_RECORD(ServerMenuArgs),
      CHECK_RECORD(DataDictionaryMenuArgs),
      CHECK_RECORD(MenuReply),
      CHECK_RECORD(GetViewArgs),
      CHECK_RECORD(IdListReply),
      CHECK_RECORD(IdReply),
      CHECK_RECORD(ListFieldArgs),
      CHECK_RECORD(ListImageArgs),
      CHECK_RECORD(ListSchemaArgs),
      CHECK_RECORD(ListSchemaWithAliasArgs),
      CHECK_RECORD(ListSupportFileArgs),
      CHECK_RECORD(ListViewArgs),
      CHECK_RECORD(LocalizedValueArgs),
      CHECK_RECORD(LocalizedValueReply),
      CHECK_RECORD(LocalizedValuesArgs),
      CHECK_RECORD(LocalizedValuesReply),
      CHECK_RECORD(NameArgs),
      CHECK_RECORD(NameListReply),
      CHECK_RECORD(NamesAndAliasesReply),
      CHECK_RECORD(ObjectChangeTimesReply),
      CHECK_RECORD(PrivateReply),
      CHECK_RECORD(ProcessForActiveLinkArgs),
      CHECK_RECORD(ProcessForActiveLinkReply),
      CHECK_RECORD(SQLForActiveLinkArgs),
      CHECK_RECORD(SQLForActiveLinkReply),
      CHECK_RECORD(SchemaParts),
      CHECK_RECORD(SetFieldsReply),
      CHECK_RECORD(SetFullTextInfoArgs),
      CHECK_RECORD(SetServerInfoArgs),
      CHECK_RECORD(SetSupportFileArgs),
      CHECK_RECORD(SignalArgs),
      CHECK_RECORD(StateNamesReply),
      CHECK_RECORD(StateReply),
      CHECK_RECORD(SupportFileKey),
      CHECK_RECORD(TextNameListReply),
      CHECK_RECORD(ValidateFormCacheArgs),
      CHECK_RECORD(VerifyUserReply),
      CHECK_RECORD(WireText),
      CHECK_RECORD(WireTextList),
      // Workflow definition records.
      CHECK_RECORD(ActiveLinkParts),
      CHECK_RECORD(ContainerParts),
      CHECK_RECORD(EscalationParts),
      CHECK_RECORD(FilterParts),
      CHECK_RECORD(GetContainerArgs),
      CHECK_RECORD(GetMultipleActiveLinksReply),
      CHECK_RECORD(GetMultipleContainersArgs),
      CHECK_RECORD(GetMultipleContainersReply),
      CHECK_RECORD(GetMultipleEscalationsReply),
      CHECK_RECORD(GetMultipleFiltersReply),
      CHECK_RECORD(GetMultipleMenusReply),
      CHECK_RECORD(GetMultipleNamedArgs),
      CHECK_RECORD(ListContainerArgs),
      CHECK_RECORD(ListContainerReply),
      CHECK_RECORD(ListMenuArgs),
      CHECK_RECORD(ListWorkflowArgs),
      CHECK_RECORD(MenuParts),
      CHECK_RECORD(MultipleCommon),
      CHECK_RECORD(CreateContainerArgs)
          .NOT_VISITED(parts.common.timestamp, READ_ONLY)
          .NOT_VISITED(parts.common.lastChanged, READ_ONLY)
          .NOT_VISITED(parts.common.owner, NAME_AS_TEXT),
      CHECK_RECORD(SetContainerArgs)
          .NOT_VISITED(parts.common.timestamp, READ_ONLY)
          .NOT_VISITED(parts.common.lastChanged, READ_ONLY)
          .NOT_VISITED(parts.common.owner, NAME_AS_TEXT),
      Check<tr::GetNamedArgs<tr::FilterParts>>("GetNamedArgs<FilterParts>"),
      Check<tr::GetNamedReply<tr::FilterParts>>("GetNamedReply<FilterParts>"),
      Check<tr::SetNamedArgs<tr::FilterParts>>("SetNamedArgs<FilterParts>")
          .NOT_VISITED(parts.common.timestamp, READ_ONLY)
          .NOT_VISITED(parts.common.lastChanged, READ_ONLY)
          .NOT_VISITED(parts.common.owner, NAME_AS_TEXT)
          .NOT_VISITED(parts.errorName, NAME_AS_TEXT),
      Check<tr::CreateNamedArgs<tr::FilterParts>>("CreateNamedArgs<FilterParts>")
          .NOT_VISITED(parts.common.timestamp, READ_ONLY)
          .NOT_VISITED(parts.common.lastChanged, READ_ONLY)
          .NOT_VISITED(parts.common.owner, NAME_AS_TEXT)
          .NOT_VISITED(parts.errorName, NAME_AS_TEXT),
      Check<tr::GetNamedArgs<tr::ActiveLinkParts>>("GetNamedArgs<ActiveLinkParts>"),
      Check<tr::GetNamedReply<tr::ActiveLinkParts>>("GetNamedReply<ActiveLinkParts>"),
      Check<tr::SetNamedArgs<tr::ActiveLinkParts>>("SetNamedArgs<ActiveLinkParts>")
          .NOT_VISITED(parts.common.timestamp, READ_ONLY)
          .NOT_VISITED(parts.common.lastChanged, READ_ONLY)
          .NOT_VISITED(parts.common.owner, NAME_AS_TEXT)
          .NOT_VISITED(parts.errorName, NAME_AS_TEXT),
      Check<tr::CreateNamedArgs<tr::ActiveLinkParts>>("CreateNamedArgs<ActiveLinkParts>")
          .NOT_VISITED(parts.common.timestamp, READ_ONLY)
          .NOT_VISITED(parts.common.lastChanged, READ_ONLY)
          .NOT_VISITED(parts.common.owner, NAME_AS_TEXT)
          .NOT_VISITED(parts.errorName, NAME_AS_TEXT),
      Check<tr::GetNamedArgs<tr::EscalationParts>>("GetNamedArgs<EscalationParts>"),
      Check<tr::GetNamedReply<tr::EscalationParts>>("GetNamedReply<EscalationParts>"),
      Check<tr::SetNamedArgs<tr::EscalationParts>>("SetNamedArgs<EscalationParts>")
          .NOT_VISITED(parts.common.timestamp, READ_ONLY)
          .NOT_VISITED(parts.common.lastChanged, READ_ONLY)
          .NOT_VISITED(parts.common.owner, NAME_AS_TEXT),
      Check<tr::CreateNamedArgs<tr::EscalationParts>>("CreateNamedArgs<EscalationParts>")
          .NOT_VISITED(parts.common.timestamp, READ_ONLY)
          .NOT_VISITED(parts.common.lastChanged, READ_ONLY)
          .NOT_VISITED(parts.common.owner, NAME_AS_TEXT),
      Check<tr::GetNamedArgs<tr::MenuParts>>("GetNamedArgs<MenuParts>"),
      Check<tr::GetNamedReply<tr::MenuParts>>("GetNamedReply<MenuParts>"),
      Check<tr::SetNamedArgs<tr::MenuParts>>("SetNamedArgs<MenuParts>")
          .NOT_VISITED(parts.common.timestamp, READ_ONLY)
          .NOT_VISITED(parts.common.lastChanged, READ_ONLY)
          .NOT_VISITED(parts.common.owner, NAME_AS_TEXT),
      Check<tr::CreateNamedArgs<tr::MenuParts>>("CreateNamedArgs<MenuParts>")
          .NOT_VISITED(parts.common.timestamp, READ_ONLY)
          .NOT_VISITED(parts.common.lastChanged, READ_ONLY)
          .NOT_VISITED(parts.common.owner, NAME_AS_TEXT),
      CHECK_TYPE(ZQEscalationTimeStruct),
      CHECK_TYPE(ZQEscalationTimeList),
      // Definition records: what a shape leaves out, and why.
      CHECK_RECORD(FieldParts).NOT_VISITED(common.properties, NO_PROPERTIES),
      CHECK_RECORD(GetFieldReply).NOT_VISITED(field.common.properties, NO_PROPERTIES),
      CHECK_RECORD(CreateFieldArgs)
          .NOT_VISITED(field.common.timestamp, READ_ONLY)
          .NOT_VISITED(field.common.lastChanged, READ_ONLY)
          .NOT_VISITED(field.common.properties, NO_PROPERTIES),
      CHECK_RECORD(SetFieldArgs)
          .NOT_VISITED(field.dataType, "a set never changes a field's data type")
          .NOT_VISITED(field.common.timestamp, READ_ONLY)
          .NOT_VISITED(field.common.lastChanged, READ_ONLY)
          .NOT_VISITED(field.common.properties, NO_PROPERTIES),
      CHECK_RECORD(CreateFieldsArgs)
          .itemsNotVisited("helpTexts@368", OPTIONAL_TEXTS)
          .itemsNotVisited("diaries@400", OPTIONAL_TEXTS),
      CHECK_RECORD(SetFieldsArgs)
          .itemsNotVisited("helpTexts@352", OPTIONAL_TEXTS)
          .itemsNotVisited("diaries@384", OPTIONAL_TEXTS),
      CHECK_RECORD(ViewParts).NOT_VISITED(common.properties, NO_PROPERTIES),
      CHECK_RECORD(GetViewReply).NOT_VISITED(view.common.properties, NO_PROPERTIES),
      CHECK_RECORD(CreateViewArgs)
          .NOT_VISITED(view.common.timestamp, READ_ONLY)
          .NOT_VISITED(view.common.lastChanged, READ_ONLY)
          .NOT_VISITED(view.common.properties, NO_PROPERTIES),
      CHECK_RECORD(SetViewArgs)
          .NOT_VISITED(view.common.timestamp, READ_ONLY)
          .NOT_VISITED(view.common.lastChanged, READ_ONLY)
          .NOT_VISITED(view.common.properties, NO_PROPERTIES),
      CHECK_RECORD(CreateSchemaArgs)
          .NOT_VISITED(schema.common.timestamp, READ_ONLY)
          .NOT_VISITED(schema.common.lastChanged, READ_ONLY),
      CHECK_RECORD(SetSchemaArgs)
          .NOT_VISITED(schema.common.timestamp, READ_ONLY)
          .NOT_VISITED(schema.common.lastChanged, READ_ONLY),
      CHECK_RECORD(CreateImageArgs)
          .NOT_VISITED(image.checksum,
                       "computed by the server from the image: requests never carry it")
          .NOT_VISITED(image.common.timestamp, READ_ONLY)
          .NOT_VISITED(image.common.lastChanged, READ_ONLY),
      CHECK_RECORD(SetImageArgs)
          .NOT_VISITED(image.checksum,
                       "computed by the server from the image: requests never carry it")
          .NOT_VISITED(image.common.timestamp, READ_ONLY)
          .NOT_VISITED(image.common.lastChanged, READ_ONLY),
      CHECK_RECORD(ValidateFormCacheReply)
          .itemsNotVisited("changedMenus@184",
                           "counted texts built from a copy of each name's length and address")
          .itemsNotVisited("changedGuides@208",
                           "counted texts built from a copy of each name's length and address"),
  };
  return all;
}

const std::vector<Undescribed>& undescribedTypes() {
  static const std::vector<Undescribed> all = {
      ARM_OF(ZQIntegerLimits, "ZQFieldLimitStruct"),
      ARM_OF(ZQRealLimits, "ZQFieldLimitStruct"),
      ARM_OF(ZQDiaryLimits, "ZQFieldLimitStruct"),
      ARM_OF(ZQDecimalLimits, "ZQFieldLimitStruct"),
      ARM_OF(ZQAttachLimits, "ZQFieldLimitStruct"),
      ARM_OF(ZQDateLimits, "ZQFieldLimitStruct"),
      ARM_OF(ZQViewLimits, "ZQFieldLimitStruct"),
      ARM_OF(ZQDisplayLimits, "ZQFieldLimitStruct"),
      ARM_OF(ZQCharMenuDDFormStruct, "ZQCharMenuDDStruct"),
      ARM_OF(ZQCharMenuDDFieldStruct, "ZQCharMenuDDStruct"),
      ARM_OF(ZQJoinSchema, "ZQCompoundSchema"),
      ARM_OF(ZQViewSchema, "ZQCompoundSchema"),
      ARM_OF(ZQVendorSchema, "ZQCompoundSchema"),
      ARM_OF(ZQJoinMappingStruct, "ZQFieldMappingStruct"),
      ARM_OF(ZQExternalMappingStruct, "ZQFieldMappingStruct"),
      ARM_OF(ZQInheritedMappingStruct, "ZQFieldMappingStruct"),
      ARM_OF(ZQExtReferenceStruct, "ZQReferenceObj"),
      ARM_OF(ZQMultiSchemaAndOrStruct, "ZQMultiSchemaQualifierStruct"),
      ARM_OF(ZQBulkEntryIdReturn, "ZQBulkEntryReturn"),
      ARM_OF(ZQBulkXMLReturn, "ZQBulkEntryReturn"),
      undescribed<zq::transport::CommonProps>("CommonProps", false,
                                              "members described inline by each definition record"),
      undescribed<zq::transport::FieldLists>("FieldLists", false,
                                             "members described inline by procedures 151 and 152"),
      NO_WIRE(ZQControlStruct, "the control record: the request header carries what travels"),
      NO_WIRE(ZQDateStruct, "local date conversions"),
      NO_WIRE(ZQLockStruct, "travels as two members of the export record"),
      NO_WIRE(ZQEncryptKeyStruct, "encryption provider state"),
      NO_WIRE(ZQXMLInputDoc, "a document handed to the XML library"),
      NO_WIRE(ZQXMLOutputDoc, "a document the XML library writes"),
      NO_WIRE(ZQXMLParsedStream, "opaque state of the XML library"),
      NO_WIRE(ZQXMLParserHandle, "opaque state of the XML library"),
      NO_WIRE(ZQPublicKeyStruct, "encryption provider state"),
      NO_WIRE(ZQEncryptStateStruct, "encryption provider state"),
      NO_WIRE(ZQValuePtrList, "owns only what its items hold; no wire form, freed by hand"),
      NO_WIRE(ZQPermissionListPtrList,
              "owns only what its items hold; no wire form, freed by hand"),
      NO_WIRE(ZQDisplayInstanceListPtrList,
              "owns only what its items hold; no wire form, freed by hand"),
      NO_WIRE(ZQFieldLimitPtrList, "owns only what its items hold; no wire form, freed by hand"),
  };
  return all;
}

// ---- where the headers are --------------------------------------------------------------

namespace fs = std::filesystem;

// The source tree: this file's path is absolute, or relative to the build
// folder that holds the test programs' folder.
fs::path sourceRoot() {
  const fs::path self = __FILE__;  // <root>/tests/unit/model/<this file>
  std::vector<fs::path> bases{fs::path()};
  if (self.is_relative()) {
    bases.push_back(fs::current_path());
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0) {
      const fs::path dir = fs::path(std::string(exe, static_cast<size_t>(n))).parent_path();
      bases.push_back(dir.parent_path());
      bases.push_back(dir);
    }
  }
  for (const fs::path& base : bases) {
    std::error_code ec;
    const fs::path file = base / self;
    if (fs::exists(file, ec))
      return fs::weakly_canonical(file).parent_path().parent_path().parent_path().parent_path();
  }
  return {};
}

// Names of the structures defined (not only declared) in the matching files.
std::set<std::string> structuresIn(const fs::path& dir, const std::regex& file,
                                   const std::regex& definition) {
  std::set<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    if (!std::regex_match(entry.path().filename().string(), file)) continue;
    std::ifstream in(entry.path());
    std::stringstream text;
    text << in.rdbuf();
    const std::string source = text.str();
    for (std::sregex_iterator it(source.begin(), source.end(), definition), end; it != end; ++it)
      names.insert((*it)[1]);
  }
  return names;
}

// ---- the checks -----------------------------------------------------------------------

TEST(MemberCoverage, EveryDescriptionVisitsEveryMember) {
  if (!kPaddingKnown) GTEST_SKIP() << "the compiler cannot tell padding (__builtin_clear_padding)";
  std::set<std::type_index> reached;
  for (const TypeCheck& c : checkedTypes())
    for (const std::string& problem : c.run(reached)) ADD_FAILURE() << c.name << ": " << problem;

  std::set<std::type_index> checked;
  for (const TypeCheck& c : checkedTypes()) checked.insert(c.type);
  for (const std::type_index& t : reached)
    if (!checked.count(t))
      ADD_FAILURE() << typeName(t.name())
                    << " is visited as a structure of its own but is not in the checked table";
}

TEST(MemberCoverage, TableListsEveryStructureOfTheHeaders) {
  const fs::path root = sourceRoot();
  ASSERT_FALSE(root.empty()) << "the source tree of " << __FILE__ << " is not found";
  std::set<std::string> defined =
      structuresIn(root / "include" / "zqapi", std::regex(R"(zq_\w+\.h)"),
                   std::regex(R"(\bstruct\s+(ZQ\w+)\s*\{)"));
  ASSERT_GT(defined.size(), 100u) << "the public headers are not where they were";
  const std::set<std::string> records =
      structuresIn(root / "src" / "transport", std::regex(R"(records\w*\.h)"),
                   std::regex(R"(\bstruct\s+(\w+)\s*\{)"));
  ASSERT_FALSE(records.empty()) << "the transport records are not where they were";
  defined.insert(records.begin(), records.end());
  const std::set<std::string> envelope =
      structuresIn(root / "src" / "security", std::regex(R"(envelope\.h)"),
                   std::regex(R"(\bstruct\s+(\w+)\s*\{)"));
  ASSERT_FALSE(envelope.empty()) << "the envelope records are not where they were";
  defined.insert(envelope.begin(), envelope.end());

  // A record template is listed once per use, as Name<Parts>.
  std::set<std::string> listed, templates;
  auto add = [&](const std::string& name) {
    EXPECT_TRUE(listed.insert(name).second) << name;
    templates.insert(name.substr(0, name.find('<')));
  };
  for (const TypeCheck& c : checkedTypes()) add(c.name);
  for (const Undescribed& u : undescribedTypes()) add(u.name);
  for (const std::string& name : defined)
    EXPECT_TRUE(templates.count(name)) << name << " is defined in a header but not in the table";
  for (const std::string& name : templates)
    EXPECT_TRUE(defined.count(name)) << name << " is in the table but no header defines it";
}

TEST(MemberCoverage, InlineArmsAreCheckedAsArms) {
  std::set<std::type_index> arms;
  for (const TypeCheck& c : checkedTypes()) arms.insert(c.armTypes.begin(), c.armTypes.end());
  for (const Undescribed& u : undescribedTypes())
    if (u.inlineArm) {
      EXPECT_TRUE(arms.count(u.type)) << u.name << " is no arm of a union of the table";
    }
}

}  // namespace

// ---- the check itself sees what a description leaves out --------------------------------

namespace probe {

struct Sample {
  uint32_t kind;
  union {
    struct {
      double low;
      double high;
      int32_t precision;  // left out
    } range;
    char text[40];
  } u;
  ZQBoolean flag;  // left out, in what an offset-based check would take for padding
  ZQBoolean shown;
  uint32_t later;  // visited from version 10 on
  uint32_t never;  // left out
};

template <class V>
void describe(V& v, Sample& s) {
  v.u32(s.kind, "kind");
  if (s.kind == 1) {
    v.real(s.u.range.low, "low");
    v.real(s.u.range.high, "high");
  } else if (s.kind == 2 || s.kind == 3) {
    v.name(s.u.text, "text");
  }
  v.flag(s.shown, "shown");
  if (v.version() >= 10) v.u32(s.later, "later");
}

}  // namespace probe

namespace {

TEST(MemberCoverage, TheCheckSeesWhatADescriptionLeavesOut) {
  if (!kPaddingKnown) GTEST_SKIP() << "the compiler cannot tell padding (__builtin_clear_padding)";
  using probe::Sample;
  const TypeCheck check = Check<Sample>("Sample").TAGGED(u, kind).ARM(u.range, 1).ARM(u.text, 2);
  std::set<std::type_index> reached;
  const std::vector<std::string> problems = check.run(reached);
  const auto at = [](size_t from, size_t to) {
    return " " + std::to_string(from) + ".." + std::to_string(to);
  };
  const std::string flag = at(offsetof(Sample, flag), offsetof(Sample, flag));
  const std::string never = at(offsetof(Sample, never), offsetof(Sample, never) + 3);
  const size_t precision = offsetof(Sample, u.range.precision) - offsetof(Sample, u.range);
  EXPECT_EQ(
      problems,
      (std::vector<std::string>{
          "bytes" + flag + never + " of " + std::to_string(sizeof(Sample)) + " are never visited",
          "u.range: bytes" + at(precision, precision + 3) +
              " of the arm are never visited by the tags that select it",
          "u: kind 3 visits bytes" + at(offsetof(Sample, u), offsetof(Sample, u) + 39) +
              " outside every arm of the table",
      }));
}

}  // namespace
}  // namespace zqtest::coverage
