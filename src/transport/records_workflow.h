// Argument and reply records of the workflow definition procedures: menus
// (16 to 20, 87), filters (21 to 25, 83), active links (38 to 42, 82),
// escalations (48 to 52, 84) and containers (74 to 78, 85).
//
// As for the other kinds (records_definitions.h) a definition's parts are
// one structure per kind shared by the get reply, the set and create
// requests and the server's stored copy; the shape says which members
// travel.
#pragma once

#include <cstdint>

#include "transport/records_definitions.h"
#include "zqapi/zq_workflow_definitions.h"

namespace zq::transport {

namespace wanted {
// ZQGetFilter; order, connection, operations and enable always come back.
inline constexpr uint32_t kFilterQualifier = 1, kFilterIf = 2, kFilterElse = 4, kFilterHelp = 8,
                          kFilterDiary = 16, kFilterProperties = 32, kFilterOwner = 64,
                          kFilterLastChanged = 128, kFilterErrorOptions = 256,
                          kFilterErrorName = 512;
// ZQGetActiveLink: the same bits as a filter's; order, connection, groups,
// execute mask, control and focus fields and enable always come back.
inline constexpr uint32_t kLinkQualifier = 1, kLinkIf = 2, kLinkElse = 4, kLinkHelp = 8,
                          kLinkDiary = 16, kLinkProperties = 32, kLinkOwner = 64,
                          kLinkLastChanged = 128, kLinkErrorOptions = 256, kLinkErrorName = 512;
// ZQGetEscalation; time, connection and enable always come back.
inline constexpr uint32_t kEscalationQualifier = 1, kEscalationIf = 2, kEscalationElse = 4,
                          kEscalationHelp = 8, kEscalationDiary = 16, kEscalationProperties = 32,
                          kEscalationOwner = 64, kEscalationLastChanged = 128;
// ZQGetCharMenu; the refresh code always comes back.
inline constexpr uint32_t kMenuDefinition = 1, kMenuHelp = 2, kMenuDiary = 4, kMenuProperties = 8,
                          kMenuOwner = 16, kMenuLastChanged = 32;
// ZQGetContainer; the type always comes back.
inline constexpr uint32_t kContainerPermissions = 1, kContainerSubAdmins = 2,
                          kContainerOwnerObjects = 4, kContainerLabel = 8,
                          kContainerDescription = 16, kContainerReferences = 32,
                          kContainerHelp = 64, kContainerDiary = 128, kContainerProperties = 256,
                          kContainerOwner = 512, kContainerLastChanged = 1024;

// The get-multiple calls: one bit per output list in output order.
inline constexpr uint32_t kMultiFilterExists = 1, kMultiFilterNames = 2, kMultiFilterOrders = 4,
                          kMultiFilterForms = 8, kMultiFilterOperations = 16,
                          kMultiFilterEnables = 32, kMultiFilterQualifiers = 64,
                          kMultiFilterIf = 128, kMultiFilterElse = 256, kMultiFilterHelp = 512,
                          kMultiFilterTimestamps = 1024, kMultiFilterOwners = 2048,
                          kMultiFilterLastChanged = 4096, kMultiFilterDiaries = 8192,
                          kMultiFilterProperties = 16384, kMultiFilterErrorOptions = 32768,
                          kMultiFilterErrorNames = 65536;
inline constexpr uint32_t kMultiLinkExists = 1, kMultiLinkNames = 2, kMultiLinkOrders = 4,
                          kMultiLinkForms = 8, kMultiLinkGroups = 16, kMultiLinkExecute = 32,
                          kMultiLinkControlFields = 64, kMultiLinkFocusFields = 128,
                          kMultiLinkEnables = 256, kMultiLinkQualifiers = 512, kMultiLinkIf = 1024,
                          kMultiLinkElse = 2048, kMultiLinkHelp = 4096, kMultiLinkTimestamps = 8192,
                          kMultiLinkOwners = 16384, kMultiLinkLastChanged = 32768,
                          kMultiLinkDiaries = 65536, kMultiLinkProperties = 131072,
                          kMultiLinkErrorOptions = 262144, kMultiLinkErrorNames = 524288;
inline constexpr uint32_t kMultiEscalationExists = 1, kMultiEscalationNames = 2,
                          kMultiEscalationTimes = 4, kMultiEscalationForms = 8,
                          kMultiEscalationEnables = 16, kMultiEscalationQualifiers = 32,
                          kMultiEscalationIf = 64, kMultiEscalationElse = 128,
                          kMultiEscalationHelp = 256, kMultiEscalationTimestamps = 512,
                          kMultiEscalationOwners = 1024, kMultiEscalationLastChanged = 2048,
                          kMultiEscalationDiaries = 4096, kMultiEscalationProperties = 8192;
inline constexpr uint32_t kMultiMenuExists = 1, kMultiMenuNames = 2, kMultiMenuRefresh = 4,
                          kMultiMenuDefinitions = 8, kMultiMenuHelp = 16, kMultiMenuTimestamps = 32,
                          kMultiMenuOwners = 64, kMultiMenuLastChanged = 128,
                          kMultiMenuDiaries = 256, kMultiMenuProperties = 512;
inline constexpr uint32_t kMultiContainerExists = 1, kMultiContainerNames = 2,
                          kMultiContainerPermissions = 4, kMultiContainerSubAdmins = 8,
                          kMultiContainerOwnerObjects = 16, kMultiContainerLabels = 32,
                          kMultiContainerDescriptions = 64, kMultiContainerTypes = 128,
                          kMultiContainerReferences = 256, kMultiContainerHelp = 512,
                          kMultiContainerTimestamps = 1024, kMultiContainerOwners = 2048,
                          kMultiContainerLastChanged = 4096, kMultiContainerDiaries = 8192,
                          kMultiContainerProperties = 16384;
}  // namespace wanted

namespace changed {
// ZQSetFilter, in argument order.
inline constexpr uint32_t kFilterName = 1, kFilterOrder = 2, kFilterForms = 4,
                          kFilterOperations = 8, kFilterEnable = 16, kFilterQualifier = 32,
                          kFilterIf = 64, kFilterElse = 128, kFilterHelp = 256, kFilterOwner = 512,
                          kFilterDiary = 1024, kFilterProperties = 2048, kFilterErrorOptions = 4096,
                          kFilterErrorName = 8192;
// ZQSetActiveLink, in argument order.
inline constexpr uint32_t kLinkName = 1, kLinkOrder = 2, kLinkForms = 4, kLinkGroups = 8,
                          kLinkExecute = 16, kLinkControlField = 32, kLinkFocusField = 64,
                          kLinkEnable = 128, kLinkQualifier = 256, kLinkIf = 512, kLinkElse = 1024,
                          kLinkHelp = 2048, kLinkOwner = 4096, kLinkDiary = 8192,
                          kLinkProperties = 16384, kLinkErrorOptions = 32768,
                          kLinkErrorName = 65536;
// ZQSetEscalation, in argument order.
inline constexpr uint32_t kEscalationName = 1, kEscalationTime = 2, kEscalationForms = 4,
                          kEscalationEnable = 8, kEscalationQualifier = 16, kEscalationIf = 32,
                          kEscalationElse = 64, kEscalationHelp = 128, kEscalationOwner = 256,
                          kEscalationDiary = 512, kEscalationProperties = 1024;
// ZQSetCharMenu, in argument order.
inline constexpr uint32_t kMenuName = 1, kMenuRefresh = 2, kMenuDefinition = 4, kMenuHelp = 8,
                          kMenuOwner = 16, kMenuDiary = 32, kMenuProperties = 64;
// ZQSetContainer, in argument order.
inline constexpr uint32_t kContainerName = 1, kContainerPermissions = 2, kContainerSubAdmins = 4,
                          kContainerOwnerObjects = 8, kContainerLabel = 16,
                          kContainerDescription = 32, kContainerType = 64,
                          kContainerReferences = 128, kContainerHelp = 256, kContainerOwner = 512,
                          kContainerDiary = 1024, kContainerProperties = 2048;
}  // namespace changed

// ---- filters and escalations --------------------------------------------------------------

struct FilterParts {
  uint32_t order;
  ZQWorkflowConnectStruct forms;
  uint32_t operations;
  uint32_t enable;
  ZQQualifierStruct qualifier;
  ZQFilterActionList ifActions;
  ZQFilterActionList elseActions;
  CommonProps common;
  uint32_t errorOptions;  // replies: after the status list
  ZQNameType errorName;
};

struct EscalationParts {
  ZQEscalationTimeStruct time;
  ZQWorkflowConnectStruct forms;
  uint32_t enable;
  ZQQualifierStruct qualifier;
  ZQFilterActionList ifActions;
  ZQFilterActionList elseActions;
  CommonProps common;
};

struct ActiveLinkParts {
  uint32_t order;
  ZQWorkflowConnectStruct forms;
  ZQInternalIdList groups;
  uint32_t executeMask;
  ZQInternalId controlField;
  ZQInternalId focusField;
  uint32_t enable;
  ZQQualifierStruct qualifier;
  ZQActiveLinkActionList ifActions;
  ZQActiveLinkActionList elseActions;
  CommonProps common;
  uint32_t errorOptions;  // replies: after the status list
  ZQNameType errorName;
};

struct MenuParts {
  uint32_t refreshCode;
  ZQCharMenuStruct menu;
  CommonProps common;
};

struct ContainerParts {
  ZQPermissionList permissions;
  ZQInternalIdList subAdminGroups;
  ZQContainerOwnerObjList ownerObjects;
  char* label;
  char* description;
  uint32_t type;
  ZQReferenceList references;
  CommonProps common;
};

// One record shape per kind and direction: the get's request and reply,
// the set's and the create's requests.
template <class P>
struct GetNamedArgs {
  RequestHeader header;
  char* name;
  uint32_t wanted;
};
template <class P>
struct GetNamedReply {
  RequestHeader header;
  P parts;
  ZQStatusList status;
};
template <class P>
struct SetNamedArgs {
  RequestHeader header;
  char* name;
  char* newName;  // empty unless renamed
  uint32_t changed;
  P parts;
};
template <class P>
struct CreateNamedArgs {
  RequestHeader header;
  char* name;
  P parts;
};

// Containers: the get names the reference types wanted; set and create
// carry an option word after the references.
struct GetContainerArgs {
  RequestHeader header;
  char* name;
  ZQReferenceTypeList refTypes;
  uint32_t wanted;
};
struct SetContainerArgs {
  RequestHeader header;
  char* name;
  char* newName;
  uint32_t changed;
  ContainerParts parts;
  uint32_t option;
};
struct CreateContainerArgs {
  RequestHeader header;
  char* name;
  ContainerParts parts;
  uint32_t option;
};

// Procedures 25, 42 and 52: the workflow of one form (empty: of all).
struct ListWorkflowArgs {
  RequestHeader header;
  char* form;
  ZQTimestamp changedSince;
  ZQPropList properties;
};

struct ListMenuArgs {
  RequestHeader header;
  ZQTimestamp changedSince;
  ZQNameList forms;
  ZQNameList referencing;
  ZQPropList properties;
};

struct ListContainerArgs {
  RequestHeader header;
  ZQTimestamp changedSince;
  ZQContainerTypeList types;
  uint32_t attributes;
  ZQContainerOwnerObjList ownerObjects;
  ZQPropList properties;
};
struct ListContainerReply {
  RequestHeader header;
  ZQContainerInfoList containers;
  ZQStatusList status;
};

// Procedures 82, 83, 84 and 87.
struct GetMultipleNamedArgs {
  RequestHeader header;
  ZQTimestamp changedSince;
  ZQNameList names;
  uint32_t wanted;
};
struct GetMultipleContainersArgs {
  RequestHeader header;
  ZQTimestamp changedSince;
  ZQNameList names;
  ZQContainerTypeList types;
  uint32_t attributes;
  ZQContainerOwnerObjList ownerObjects;
  ZQReferenceTypeList refTypes;
  uint32_t wanted;
};

// The lists every get-multiple reply has, one item per definition.
struct MultipleCommon {
  ZQTextStringList helpTexts;
  ZQTimestampList timestamps;
  ZQAccessNameList owners;
  ZQAccessNameList lastChanged;
  ZQTextStringList diaries;
  ZQPropListList properties;
};

struct GetMultipleFiltersReply {
  RequestHeader header;
  ZQBooleanList exists;
  ZQNameList names;
  ZQUnsignedIntList orders;
  ZQWorkflowConnectList forms;
  ZQUnsignedIntList operations;
  ZQUnsignedIntList enables;
  ZQQualifierList qualifiers;
  ZQFilterActionListList ifActions;
  ZQFilterActionListList elseActions;
  MultipleCommon common;
  ZQStatusList status;
  ZQUnsignedIntList errorOptions;
  ZQNameList errorNames;
};

struct GetMultipleActiveLinksReply {
  RequestHeader header;
  ZQBooleanList exists;
  ZQNameList names;
  ZQUnsignedIntList orders;
  ZQWorkflowConnectList forms;
  ZQInternalIdListList groups;
  ZQUnsignedIntList executeMasks;
  ZQInternalIdList controlFields;
  ZQInternalIdList focusFields;
  ZQUnsignedIntList enables;
  ZQQualifierList qualifiers;
  ZQActiveLinkActionListList ifActions;
  ZQActiveLinkActionListList elseActions;
  MultipleCommon common;
  ZQStatusList status;
  ZQUnsignedIntList errorOptions;
  ZQNameList errorNames;
};

struct GetMultipleEscalationsReply {
  RequestHeader header;
  ZQBooleanList exists;
  ZQNameList names;
  ZQEscalationTimeList times;
  ZQWorkflowConnectList forms;
  ZQUnsignedIntList enables;
  ZQQualifierList qualifiers;
  ZQFilterActionListList ifActions;
  ZQFilterActionListList elseActions;
  MultipleCommon common;
  ZQStatusList status;
};

struct GetMultipleMenusReply {
  RequestHeader header;
  ZQBooleanList exists;
  ZQNameList names;
  ZQUnsignedIntList refreshCodes;
  ZQCharMenuStructList menus;
  MultipleCommon common;
  ZQStatusList status;
};

struct GetMultipleContainersReply {
  RequestHeader header;
  ZQBooleanList exists;
  ZQNameList names;
  ZQPermissionListList permissions;
  ZQInternalIdListList subAdminGroups;
  ZQContainerOwnerObjListList ownerObjects;
  ZQTextStringList labels;
  ZQTextStringList descriptions;
  ZQUnsignedIntList types;
  ZQReferenceListList references;
  MultipleCommon common;
  ZQStatusList status;
};

using GetFilterArgs = GetNamedArgs<FilterParts>;
using GetFilterReply = GetNamedReply<FilterParts>;
using SetFilterArgs = SetNamedArgs<FilterParts>;
using CreateFilterArgs = CreateNamedArgs<FilterParts>;
using GetActiveLinkArgs = GetNamedArgs<ActiveLinkParts>;
using GetActiveLinkReply = GetNamedReply<ActiveLinkParts>;
using SetActiveLinkArgs = SetNamedArgs<ActiveLinkParts>;
using CreateActiveLinkArgs = CreateNamedArgs<ActiveLinkParts>;
using GetEscalationArgs = GetNamedArgs<EscalationParts>;
using GetEscalationReply = GetNamedReply<EscalationParts>;
using SetEscalationArgs = SetNamedArgs<EscalationParts>;
using CreateEscalationArgs = CreateNamedArgs<EscalationParts>;
using GetMenuArgs = GetNamedArgs<MenuParts>;
using GetMenuReply = GetNamedReply<MenuParts>;
using SetMenuArgs = SetNamedArgs<MenuParts>;
using CreateMenuArgs = CreateNamedArgs<MenuParts>;
using GetContainerReply = GetNamedReply<ContainerParts>;

}  // namespace zq::transport
