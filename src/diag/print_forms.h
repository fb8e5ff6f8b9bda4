// The trace forms of the structures: what the trace log shows of a
// structure beyond a walk of its members. Members are named by the labels
// their descriptions give them (src/model/describe_*.h), which are the
// trace's own labels.
#pragma once

#include <span>

#include "diag/print_words.h"
#include "model/model.h"
#include "zqapi/zq_admin.h"
#include "zqapi/zq_defs.h"
#include "zqapi/zq_qual.h"
#include "zqapi/zq_types.h"
#include "zqapi/zq_workflow.h"

namespace zq::diag {

// Where lines print relative to the prefix of their structure.
enum class Indent : uint8_t {
  same,        // at the prefix; labels carry their own blanks
  nested,      // at the prefix of a nested structure
  nestedPlus,  // three blanks further: under a line that has three of its own
};

// A list written on wrapped lines rather than one item a line.
enum class Packing : uint8_t {
  none,
  shortItems,  // numbers and short names: lines stay below column 79
  longItems,   // names of up to 255 characters: below column 271
};

// How one member prints, by its label.
struct Look {
  model::Label label = nullptr;
  const Words* words = nullptr;    // a tag or keyword: written as its word
  bool wordAlone = false;          // ... without the label
  bool hidden = false;             // not shown
  bool asSigned = false;           // a word shown as a signed number
  bool joinUntilZero = false;      // an id array: the ids before the first 0, joined by ", "
  bool stopAtZero = false;         // a 0 here ends the structure's lines
  const char* nullText = nullptr;  // shown after the label for a null text
  const char* caption = nullptr;   // a line written before the member
  Indent indent = Indent::same;    // where a structure member prints
  Indent items = Indent::nested;   // where the items of a list member print
  Indent rest = Indent::same;      // where the members after this one print
};

struct TraceForm {
  const char* heading = nullptr;  // the structure's first line
  bool counted = false;           // the heading opens the structure's list: its count follows
  const char* variant = nullptr;  // the heading's %s: the caller's label, else this
  Packing packing = Packing::none;
  Indent members = Indent::same;  // where the members print
  Indent items = Indent::nested;  // where the items of the structure's list print
  std::span<const Look> looks = {};
  // A structure without a form of its own: its members under the label its
  // parent gives it.
  bool labelAsCaption = false;
};

template <class T>
inline constexpr TraceForm kTraceForm{.labelAsCaption = true};

#define ZQ_TRACE_FORM(T, ...)                \
  template <>                                \
  inline constexpr TraceForm kTraceForm<T> { \
    __VA_ARGS__                              \
  }

namespace looks {
using namespace words;

// Tags whose word opens the line, with the rest of the structure one level in.
inline constexpr Look kQualifier[] = {
    {.label = "   Operation:", .words = &kQualifierOperations, .rest = Indent::nested},
    {.label = "fieldId", .hidden = true}};
inline constexpr Look kRelation[] = {
    {.label = "   Operation:", .words = &kRelations, .rest = Indent::nested}};
inline constexpr Look kArithmeticOperation[] = {
    {.label = "   Operation:", .words = &kArithmetic, .rest = Indent::nested}};
inline constexpr Look kOperand[] = {
    {.label = "   Tag:", .words = &kOperandTags, .rest = Indent::nested}};
inline constexpr Look kAssign[] = {
    {.label = "Assign Value:", .words = &kAssignTypes, .rest = Indent::nested}};
inline constexpr Look kFilterAction[] = {
    {.label = "Filter Action Struct:", .words = &kFilterActions, .rest = Indent::nested}};
inline constexpr Look kActiveLinkAction[] = {
    {.label = "Active Link Action Struct:", .words = &kActiveLinkActions, .rest = Indent::nested}};
inline constexpr Look kMenu[] = {
    {.label = "Type of Menu:", .words = &kMenuTypes, .rest = Indent::nested}};
inline constexpr Look kServerInfo[] = {
    {.label = "   Server Info Struct:", .words = &kServerSettings, .rest = Indent::nestedPlus}};
inline constexpr Look kFullTextInfo[] = {
    {.label = "   FullText Info Struct:", .words = &kFullText, .rest = Indent::nestedPlus}};

}  // namespace looks

// ---- values and lists ----------------------------------------------------------------

ZQ_TRACE_FORM(ZQValueList, .heading = "Value List:", .counted = true);
ZQ_TRACE_FORM(ZQValueListList, .heading = "Value List List:", .counted = true);
ZQ_TRACE_FORM(ZQFieldValueList, .heading = "Field Value List:", .counted = true);
ZQ_TRACE_FORM(ZQFieldValueListList, .heading = "Field Value List List:", .counted = true);
ZQ_TRACE_FORM(ZQServerInfoList, .heading = "Server Info List:", .counted = true,
              .items = Indent::same);
ZQ_TRACE_FORM(ZQServerInfoStruct, .looks = looks::kServerInfo);
ZQ_TRACE_FORM(ZQPropList, .heading = "Property List:", .counted = true, .items = Indent::same);
ZQ_TRACE_FORM(ZQPropStruct, .heading = "   Property Struct:", .members = Indent::nestedPlus);

namespace looks {
inline constexpr Look kDisplayInstances[] = {
    {.label = "commonProperties", .caption = "   Common Properties:", .indent = Indent::nestedPlus},
    {.label = "   VUI Specific Properties:", .items = Indent::nestedPlus}};
}  // namespace looks
ZQ_TRACE_FORM(ZQDisplayInstanceList, .heading = "Display Instance List",
              .looks = looks::kDisplayInstances);
ZQ_TRACE_FORM(ZQDisplayInstanceStruct);

ZQ_TRACE_FORM(ZQNameList, .heading = "Name List:", .packing = Packing::longItems);
ZQ_TRACE_FORM(ZQAccessNameList, .heading = "Name List:", .packing = Packing::longItems);
ZQ_TRACE_FORM(ZQServerNameList, .heading = "Server Name List:", .packing = Packing::shortItems);
ZQ_TRACE_FORM(ZQInternalIdList, .heading = "Id List:", .packing = Packing::shortItems);
ZQ_TRACE_FORM(ZQUnsignedIntList, .heading = "List:", .packing = Packing::shortItems);

ZQ_TRACE_FORM(ZQStatusList, .heading = "Status List :", .counted = true, .items = Indent::same);

// ---- entries, sorting, permissions -----------------------------------------------------

ZQ_TRACE_FORM(ZQEntryListFieldList, .heading = "Entry List Field List:", .counted = true);
ZQ_TRACE_FORM(ZQEntryListFieldStruct, .heading = "Entry List Field Struct:");
ZQ_TRACE_FORM(ZQEntryListList, .heading = "Entry List List:", .counted = true,
              .items = Indent::same);
ZQ_TRACE_FORM(ZQEntryListStruct, .heading = "   Entry List Struct:", .members = Indent::nestedPlus);
ZQ_TRACE_FORM(ZQEntryListFieldValueList, .heading = "Entry List Field Value List:", .counted = true,
              .items = Indent::same);
namespace looks {
inline constexpr Look kEntryWithValues[] = {
    {.label = "fieldValues", .caption = "Entry Field/Value List:"}};
}  // namespace looks
ZQ_TRACE_FORM(ZQEntryListFieldValueStruct,
              .heading = "Entry List Struct:", .members = Indent::nested,
              .looks = looks::kEntryWithValues);

ZQ_TRACE_FORM(ZQSortList, .heading = "Sort List:", .counted = true, .items = Indent::same);
namespace looks {
inline constexpr Look kSort[] = {{.label = "      Sort Order:", .words = &kSortOrders}};
}  // namespace looks
ZQ_TRACE_FORM(ZQSortStruct, .heading = "   Sort Struct:", .looks = looks::kSort);

ZQ_TRACE_FORM(ZQIndexList, .heading = "Index List:", .counted = true);

ZQ_TRACE_FORM(ZQPermissionList, .heading = "Permission List:", .counted = true,
              .items = Indent::same);
namespace looks {
inline constexpr Look kPermission[] = {{.label = "      Permissions:", .words = &kPermissions}};
}  // namespace looks
ZQ_TRACE_FORM(ZQPermissionStruct, .heading = "   Permission Struct:", .looks = looks::kPermission);

ZQ_TRACE_FORM(ZQGroupInfoList, .heading = "Group Info List:", .counted = true,
              .items = Indent::same);
namespace looks {
inline constexpr Look kGroupInfo[] = {{.label = "      Group type:", .words = &kGroupTypes},
                                      {.label = "Group name:", .indent = Indent::nestedPlus},
                                      {.label = "groupExtra", .hidden = true}};
}  // namespace looks
ZQ_TRACE_FORM(ZQGroupInfoStruct, .heading = "   Group Info Struct:", .looks = looks::kGroupInfo);

ZQ_TRACE_FORM(ZQRoleInfoList, .heading = "Role Info List:", .counted = true, .items = Indent::same);
ZQ_TRACE_FORM(ZQRoleInfoStruct, .heading = "   Role Info Struct:");

ZQ_TRACE_FORM(ZQUserInfoList, .heading = "User Info List:", .counted = true, .items = Indent::same);
ZQ_TRACE_FORM(ZQObjectChangeTimesList, .heading = "Object Change Times List:", .counted = true,
              .items = Indent::same);

// ---- qualifications and assignments --------------------------------------------------

ZQ_TRACE_FORM(ZQQualifierStruct, .heading = "Qualifier Struct:", .looks = looks::kQualifier);
ZQ_TRACE_FORM(ZQRelOpStruct, .heading = "Relational Operation:", .looks = looks::kRelation);
ZQ_TRACE_FORM(ZQArithOpStruct,
              .heading = "Arithmetic Operation:", .looks = looks::kArithmeticOperation);
ZQ_TRACE_FORM(ZQFieldValueOrArithStruct,
              .heading = "Field, Value, or Arithmetic Struct:", .looks = looks::kOperand);

namespace looks {
inline constexpr Look kHistoryOperand[] = {{.label = "User or Time:", .words = &kUserOrTime}};
inline constexpr Look kQuery[] = {{.label = "Multi Value Code:", .words = &kMultiValue}};
}  // namespace looks
ZQ_TRACE_FORM(ZQStatusHistoryOperand, .looks = looks::kHistoryOperand);
ZQ_TRACE_FORM(ZQQueryStruct, .looks = looks::kQuery);

ZQ_TRACE_FORM(ZQAssignStruct, .looks = looks::kAssign);
namespace looks {
inline constexpr Look kAssignField[] = {{.label = "Tag:", .words = &kAssignFieldTags},
                                        {.label = "No Match Option:", .words = &kNoMatch},
                                        {.label = "Multi Match Option:", .words = &kMultiMatch}};
inline constexpr Look kArithmeticAssign[] = {
    {.label = "   Operation:", .words = &kArithmetic},
    {.label = "Left operand:", .caption = "Left operand:", .indent = Indent::nested},
    {.label = "Right operand:", .caption = "Right operand:", .indent = Indent::nested}};
inline constexpr Look kFunction[] = {{.label = "   Function code:", .words = &kFunctions}};
inline constexpr Look kFilterApi[] = {{.label = "Assign List:", .caption = "Input Values List:"},
                                      {.label = "Value Index:", .asSigned = true}};
}  // namespace looks
ZQ_TRACE_FORM(ZQAssignFieldStruct, .looks = looks::kAssignField);
ZQ_TRACE_FORM(ZQArithOpAssignStruct,
              .heading = "Arithmetic Operation:", .looks = looks::kArithmeticAssign);
ZQ_TRACE_FORM(ZQFunctionAssignStruct, .heading = "Function:", .looks = looks::kFunction);
ZQ_TRACE_FORM(ZQDDEStruct, .heading = "DDE Struct:", .members = Indent::nested);
namespace looks {
inline constexpr Look kAssignSql[] = {{.label = "No Match Option:", .words = &kNoMatch},
                                      {.label = "Multi Match Option:", .words = &kMultiMatch}};
}  // namespace looks
ZQ_TRACE_FORM(ZQAssignSQLStruct, .looks = looks::kAssignSql);
ZQ_TRACE_FORM(ZQAssignFilterApiStruct, .heading = "   Assign Filter Api Struct",
              .looks = looks::kFilterApi);
ZQ_TRACE_FORM(ZQFieldAssignStruct, .heading = "Field Assign Struct:", .members = Indent::nested);
ZQ_TRACE_FORM(ZQFieldAssignList, .heading = "Field Assign List:", .counted = true);

// ---- workflow actions ------------------------------------------------------------------

namespace looks {
inline constexpr Look kFilterStatus[] = {{.label = "   Message type:", .words = &kMessageTypes}};
inline constexpr Look kMessage[] = {{.label = "   Message type:", .words = &kWorkflowMessageTypes}};
inline constexpr Look kPushFields[] = {
    {.label = "Target:", .caption = "Target:", .indent = Indent::nested},
    {.label = "Source:", .caption = "Source:", .indent = Indent::nested}};
inline constexpr Look kSql[] = {{.label = "   SQL Command:", .nullText = "NULL"}};
inline constexpr Look kCharacteristics[] = {{.label = "option", .hidden = true},
                                            {.label = "   Char Menu:", .nullText = "NULL"},
                                            {.label = "properties", .indent = Indent::nested}};
inline constexpr Look kOpenDialog[] = {
    {.label = "   Input Values:", .caption = "   Input Values:"},
    {.label = "   Output Values:", .caption = "   Output Values:"}};
}  // namespace looks
ZQ_TRACE_FORM(ZQFilterStatusStruct,
              .heading = "Filter Status Struct:", .looks = looks::kFilterStatus);
ZQ_TRACE_FORM(ZQMessageStruct, .heading = "Message Struct:", .looks = looks::kMessage);
ZQ_TRACE_FORM(ZQSetFieldsStruct);
ZQ_TRACE_FORM(ZQPushFieldsAction);
ZQ_TRACE_FORM(ZQPushFieldsStruct, .heading = "Push Fields Struct:", .members = Indent::nested,
              .looks = looks::kPushFields);
ZQ_TRACE_FORM(ZQPushFieldsList, .heading = "Push Fields List:", .counted = true);
ZQ_TRACE_FORM(ZQSQLStruct, .heading = "SQL Struct:", .looks = looks::kSql);
ZQ_TRACE_FORM(ZQCallGuideStruct, .heading = "Call Guide Struct:");
ZQ_TRACE_FORM(ZQExitGuideStruct, .heading = "Exit Guide Struct:");
ZQ_TRACE_FORM(ZQGotoGuideLabelStruct, .heading = "Goto Guide Label Struct:");
ZQ_TRACE_FORM(ZQWaitStruct, .heading = "Wait Struct:");
ZQ_TRACE_FORM(ZQCloseWindowStruct, .heading = "Close Window Struct:");
ZQ_TRACE_FORM(ZQActiveLinkMacroStruct, .heading = "Active Link Macro Struct:");
ZQ_TRACE_FORM(ZQOutboundAutomationStruct, .heading = "Outbound Automation Struct:");
ZQ_TRACE_FORM(ZQFieldCharacteristicsStruct,
              .heading = "Field Characteristics Struct:", .looks = looks::kCharacteristics);
ZQ_TRACE_FORM(ZQOpenDialogStruct, .heading = "Open Dialog Struct:", .looks = looks::kOpenDialog);
ZQ_TRACE_FORM(ZQSvcActionStruct, .heading = "Svc Action Struct:");
ZQ_TRACE_FORM(ZQFilterActionStruct, .looks = looks::kFilterAction);
ZQ_TRACE_FORM(ZQFilterActionList, .heading = "%s Action List:", .counted = true,
              .variant = "Filter");
ZQ_TRACE_FORM(ZQActiveLinkActionStruct, .looks = looks::kActiveLinkAction);
ZQ_TRACE_FORM(ZQActiveLinkActionList, .heading = "Active Link %s Action List:", .counted = true,
              .variant = "If");

// ---- character menus and field limits ---------------------------------------------------

namespace looks {
inline constexpr Look kMenuItem[] = {{.label = "childMenu", .indent = Indent::nested}};
inline constexpr Look kMenuQuery[] = {{.label = "qualifier", .indent = Indent::nested},
                                      {.label = "   Label Field Id:", .joinUntilZero = true}};
inline constexpr Look kMenuFile[] = {{.label = "File Location:", .words = &kFileLocations},
                                     {.label = "   Filename:", .nullText = ""}};
inline constexpr Look kDictionaryMenu[] = {
    {.label = "menuKind", .words = &kDictionaryMenus, .wordAlone = true}};
inline constexpr Look kLimit[] = {{.label = "Field Limit Struct:", .words = &kLimitTypes},
                                  {.label = "   Attach Type:", .words = &kAttachTypes}};
inline constexpr Look kCurrencyLimits[] = {{.label = "functionalCurrencies", .hidden = true},
                                           {.label = "allowedCurrencies", .hidden = true}};
}  // namespace looks
ZQ_TRACE_FORM(ZQCharMenuStruct, .heading = "Char Menu Struct:", .looks = looks::kMenu);
ZQ_TRACE_FORM(ZQCharMenuList, .heading = "Character Menu List:", .counted = true);
ZQ_TRACE_FORM(ZQCharMenuItemStruct, .heading = "Char Menu Item Struct:", .looks = looks::kMenuItem);
ZQ_TRACE_FORM(ZQCharMenuQueryStruct,
              .heading = "Char Menu Query Struct:", .looks = looks::kMenuQuery);
ZQ_TRACE_FORM(ZQCharMenuFileStruct, .looks = looks::kMenuFile);
ZQ_TRACE_FORM(ZQCharMenuDDStruct,
              .heading = "Char Menu DD Struct:", .looks = looks::kDictionaryMenu);
ZQ_TRACE_FORM(ZQFieldLimitStruct, .looks = looks::kLimit);
ZQ_TRACE_FORM(ZQCharacterLimits);
ZQ_TRACE_FORM(ZQCurrencyFieldLimits, .looks = looks::kCurrencyLimits);
ZQ_TRACE_FORM(ZQTableFieldLimits);
ZQ_TRACE_FORM(ZQColumnFieldLimits);

// ---- definitions ----------------------------------------------------------------------------

namespace looks {
inline constexpr Look kMapping[] = {{.label = "   Type:", .words = &kMappings}};
inline constexpr Look kCompoundSchema[] = {
    {.label = "Compound Schema Info:", .words = &kSchemaTypes},
    {.label = "joinQualifier", .indent = Indent::nested},
    {.label = "   Join option", .asSigned = true},
    {.label = "extraName", .hidden = true}};
// Type 0 means no archiving or auditing: nothing more to say.
inline constexpr Look kArchive[] = {{.label = "Type:", .stopAtZero = true}};
inline constexpr Look kAudit[] = {{.label = "Type:", .stopAtZero = true},
                                  {.label = "auditFlags", .hidden = true}};
inline constexpr Look kContainerInfo[] = {{.label = "ownerList", .indent = Indent::nested}};
inline constexpr Look kReference[] = {
    {.label = "Group List:", .caption = "   External Reference:", .indent = Indent::nested},
    {.label = "value", .indent = Indent::nested}};
}  // namespace looks
ZQ_TRACE_FORM(ZQFieldMappingStruct, .heading = "Field Mapping:", .looks = looks::kMapping);
ZQ_TRACE_FORM(ZQCompoundSchema, .looks = looks::kCompoundSchema);
ZQ_TRACE_FORM(ZQArchiveInfoStruct, .heading = "Archive Struct:", .members = Indent::nested,
              .looks = looks::kArchive);
ZQ_TRACE_FORM(ZQAuditInfoStruct, .heading = "Audit Struct:", .members = Indent::nested,
              .looks = looks::kAudit);
ZQ_TRACE_FORM(ZQContainerOwnerObjList, .heading = "Container Owner Object List:", .counted = true);
ZQ_TRACE_FORM(ZQContainerOwnerObj, .heading = "Container Owner Object:");
ZQ_TRACE_FORM(ZQContainerInfoList, .heading = "Container Info List:", .counted = true);
ZQ_TRACE_FORM(ZQContainerInfo, .heading = "Container Info:", .looks = looks::kContainerInfo);
ZQ_TRACE_FORM(ZQReferenceList, .heading = "Container Reference List:", .counted = true);
ZQ_TRACE_FORM(ZQReferenceStruct, .heading = "Container Reference Struct:");
ZQ_TRACE_FORM(ZQReferenceObj, .looks = looks::kReference);
ZQ_TRACE_FORM(ZQEntryBlockList, .heading = "Entry Block List:", .counted = true,
              .items = Indent::same);
ZQ_TRACE_FORM(ZQFullTextInfoList, .heading = "FullText Info List:", .counted = true,
              .items = Indent::same);
ZQ_TRACE_FORM(ZQFullTextInfoStruct, .looks = looks::kFullTextInfo);

#undef ZQ_TRACE_FORM

}  // namespace zq::diag
