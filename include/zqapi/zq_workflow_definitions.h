/* Workflow definitions on the server: filters, active links, escalations,
 * character menus and containers. The calls of each kind follow the pattern
 * described at the top of zq_definitions.h (get, set, create, delete, list,
 * get several).
 *
 * Gets ask the server only for the optional outputs passed (the wanted-output
 * mask below); sets send only the parts passed (the changed-parts mask), and
 * a set with nothing to change returns the warning 54 without contacting the
 * server. A new name is sent only when it differs from the current one
 * (case-sensitive comparison). */
#ifndef ZQAPI_ZQ_WORKFLOW_DEFINITIONS_H
#define ZQAPI_ZQ_WORKFLOW_DEFINITIONS_H

#include "zq_defs.h"
#include "zq_qual.h"
#include "zq_session.h"
#include "zq_types.h"
#include "zq_workflow.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- escalation times ------------------------------------------------------ */

#define ZQ_ESCALATION_INTERVAL 1 /* every `interval` seconds */
#define ZQ_ESCALATION_CALENDAR 2 /* at `minute` of the hours, days and weekdays masked */

typedef struct ZQEscalationTimeStruct {
  uint32_t kind; /* ZQ_ESCALATION_... */
  union {
    int32_t interval;
    struct {
      int32_t monthday; /* bit 0: the 1st of the month */
      int32_t weekday;  /* bit 0: Sunday */
      int32_t hourmask; /* bit 0: midnight */
      uint32_t minute;
    } date;
  } u;
} ZQEscalationTimeStruct;

typedef struct ZQEscalationTimeList {
  uint32_t count;
  ZQEscalationTimeStruct* items;
} ZQEscalationTimeList;

/* The bits of a filter's operation set. */
#define ZQ_OPERATION_GET 1
#define ZQ_OPERATION_SET 2
#define ZQ_OPERATION_CREATE 4
#define ZQ_OPERATION_DELETE 8
#define ZQ_OPERATION_MERGE 16
#define ZQ_OPERATION_GUIDE 32
#define ZQ_OPERATION_SERVICE 64

/* The error handler of a filter or active link is enabled. */
#define ZQ_ERROR_HANDLER_ENABLED 1

/* ---- filters --------------------------------------------------------------- */

int ZQGetFilter(ZQControlStruct* control, const char* name, uint32_t* order,
                ZQWorkflowConnectStruct* forms, uint32_t* operations, uint32_t* enable,
                ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                ZQFilterActionList* elseActions, char** helpText, ZQTimestamp* timestamp,
                ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                ZQPropList* properties, uint32_t* errorOptions, ZQNameType errorName,
                ZQStatusList* status);
int ZQSetFilter(ZQControlStruct* control, const char* name, const char* newName,
                uint32_t* order, ZQWorkflowConnectStruct* forms, uint32_t* operations,
                uint32_t* enable, ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                ZQFilterActionList* elseActions, const char* helpText, const char* owner,
                const char* changeDiary, ZQPropList* properties, uint32_t* errorOptions,
                const char* errorName, ZQStatusList* status);
int ZQCreateFilter(ZQControlStruct* control, const char* name, uint32_t order,
                   ZQWorkflowConnectStruct* forms, uint32_t operations, uint32_t enable,
                   ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                   ZQFilterActionList* elseActions, const char* helpText, const char* owner,
                   const char* changeDiary, ZQPropList* properties, uint32_t errorOptions,
                   const char* errorName, ZQStatusList* status);
int ZQDeleteFilter(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                   ZQStatusList* status);
/* form null or empty: the filters of every form. */
int ZQGetListFilter(ZQControlStruct* control, const char* form, ZQTimestamp changedSince,
                    ZQPropList* properties, ZQNameList* names, ZQStatusList* status);
int ZQGetMultipleFilters(ZQControlStruct* control, ZQTimestamp changedSince,
                         ZQNameList* wantedNames, ZQBooleanList* exists, ZQNameList* names,
                         ZQUnsignedIntList* orders, ZQWorkflowConnectList* forms,
                         ZQUnsignedIntList* operations, ZQUnsignedIntList* enables,
                         ZQQualifierList* qualifiers, ZQFilterActionListList* ifActions,
                         ZQFilterActionListList* elseActions, ZQTextStringList* helpTexts,
                         ZQTimestampList* timestamps, ZQAccessNameList* owners,
                         ZQAccessNameList* lastChanged, ZQTextStringList* changeDiaries,
                         ZQPropListList* properties, ZQUnsignedIntList* errorOptions,
                         ZQNameList* errorNames, ZQStatusList* status);

/* ---- active links ---------------------------------------------------------- */

int ZQGetActiveLink(ZQControlStruct* control, const char* name, uint32_t* order,
                    ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups,
                    uint32_t* executeMask, ZQInternalId* controlField, ZQInternalId* focusField,
                    uint32_t* enable, ZQQualifierStruct* qualifier,
                    ZQActiveLinkActionList* ifActions, ZQActiveLinkActionList* elseActions,
                    char** helpText, ZQTimestamp* timestamp, ZQAccessNameType owner,
                    ZQAccessNameType lastChanged, char** changeDiary, ZQPropList* properties,
                    uint32_t* errorOptions, ZQNameType errorName, ZQStatusList* status);
int ZQSetActiveLink(ZQControlStruct* control, const char* name, const char* newName,
                    uint32_t* order, ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups,
                    uint32_t* executeMask, ZQInternalId* controlField, ZQInternalId* focusField,
                    uint32_t* enable, ZQQualifierStruct* qualifier,
                    ZQActiveLinkActionList* ifActions, ZQActiveLinkActionList* elseActions,
                    const char* helpText, const char* owner, const char* changeDiary,
                    ZQPropList* properties, uint32_t* errorOptions, const char* errorName,
                    ZQStatusList* status);
int ZQCreateActiveLink(ZQControlStruct* control, const char* name, uint32_t order,
                       ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups,
                       uint32_t executeMask, ZQInternalId* controlField, ZQInternalId* focusField,
                       uint32_t enable, ZQQualifierStruct* qualifier,
                       ZQActiveLinkActionList* ifActions, ZQActiveLinkActionList* elseActions,
                       const char* helpText, const char* owner, const char* changeDiary,
                       ZQPropList* properties, uint32_t errorOptions, const char* errorName,
                       ZQStatusList* status);
int ZQDeleteActiveLink(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                       ZQStatusList* status);
int ZQGetListActiveLink(ZQControlStruct* control, const char* form, ZQTimestamp changedSince,
                        ZQPropList* properties, ZQNameList* names, ZQStatusList* status);
int ZQGetMultipleActiveLinks(
    ZQControlStruct* control, ZQTimestamp changedSince, ZQNameList* wantedNames,
    ZQBooleanList* exists, ZQNameList* names, ZQUnsignedIntList* orders,
    ZQWorkflowConnectList* forms, ZQInternalIdListList* groups, ZQUnsignedIntList* executeMasks,
    ZQInternalIdList* controlFields, ZQInternalIdList* focusFields, ZQUnsignedIntList* enables,
    ZQQualifierList* qualifiers, ZQActiveLinkActionListList* ifActions,
    ZQActiveLinkActionListList* elseActions, ZQTextStringList* helpTexts,
    ZQTimestampList* timestamps, ZQAccessNameList* owners, ZQAccessNameList* lastChanged,
    ZQTextStringList* changeDiaries, ZQPropListList* properties, ZQUnsignedIntList* errorOptions,
    ZQNameList* errorNames, ZQStatusList* status);

/* ---- escalations ----------------------------------------------------------- */

int ZQGetEscalation(ZQControlStruct* control, const char* name, ZQEscalationTimeStruct* time,
                    ZQWorkflowConnectStruct* forms, uint32_t* enable,
                    ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                    ZQFilterActionList* elseActions, char** helpText, ZQTimestamp* timestamp,
                    ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                    ZQPropList* properties, ZQStatusList* status);
int ZQSetEscalation(ZQControlStruct* control, const char* name, const char* newName,
                    ZQEscalationTimeStruct* time, ZQWorkflowConnectStruct* forms,
                    uint32_t* enable, ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                    ZQFilterActionList* elseActions, const char* helpText, const char* owner,
                    const char* changeDiary, ZQPropList* properties, ZQStatusList* status);
int ZQCreateEscalation(ZQControlStruct* control, const char* name, ZQEscalationTimeStruct* time,
                       ZQWorkflowConnectStruct* forms, uint32_t enable,
                       ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                       ZQFilterActionList* elseActions, const char* helpText, const char* owner,
                       const char* changeDiary, ZQPropList* properties, ZQStatusList* status);
int ZQDeleteEscalation(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                       ZQStatusList* status);
int ZQGetListEscalation(ZQControlStruct* control, const char* form, ZQTimestamp changedSince,
                        ZQPropList* properties, ZQNameList* names, ZQStatusList* status);
int ZQGetMultipleEscalations(ZQControlStruct* control, ZQTimestamp changedSince,
                             ZQNameList* wantedNames, ZQBooleanList* exists, ZQNameList* names,
                             ZQEscalationTimeList* times, ZQWorkflowConnectList* forms,
                             ZQUnsignedIntList* enables, ZQQualifierList* qualifiers,
                             ZQFilterActionListList* ifActions,
                             ZQFilterActionListList* elseActions, ZQTextStringList* helpTexts,
                             ZQTimestampList* timestamps, ZQAccessNameList* owners,
                             ZQAccessNameList* lastChanged, ZQTextStringList* changeDiaries,
                             ZQPropListList* properties, ZQStatusList* status);

/* ---- character menus ------------------------------------------------------- */

/* Refresh codes of a menu. */
#define ZQ_MENU_REFRESH_CONNECT 1
#define ZQ_MENU_REFRESH_OPEN 2
#define ZQ_MENU_REFRESH_INTERVAL 3

int ZQGetCharMenu(ZQControlStruct* control, const char* name, uint32_t* refreshCode,
                  ZQCharMenuStruct* menu, char** helpText, ZQTimestamp* timestamp,
                  ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                  ZQPropList* properties, ZQStatusList* status);
int ZQSetCharMenu(ZQControlStruct* control, const char* name, const char* newName,
                  uint32_t* refreshCode, ZQCharMenuStruct* menu, const char* helpText,
                  const char* owner, const char* changeDiary, ZQPropList* properties,
                  ZQStatusList* status);
int ZQCreateCharMenu(ZQControlStruct* control, const char* name, uint32_t refreshCode,
                     ZQCharMenuStruct* menu, const char* helpText, const char* owner,
                     const char* changeDiary, ZQPropList* properties, ZQStatusList* status);
int ZQDeleteCharMenu(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                     ZQStatusList* status);
/* The three lists are passed to the server unchanged (null: empty). */
int ZQGetListCharMenu(ZQControlStruct* control, ZQTimestamp changedSince, ZQNameList* forms,
                      ZQNameList* referencing, ZQPropList* properties, ZQNameList* names,
                      ZQStatusList* status);
int ZQGetMultipleCharMenus(ZQControlStruct* control, ZQTimestamp changedSince,
                           ZQNameList* wantedNames, ZQBooleanList* exists, ZQNameList* names,
                           ZQUnsignedIntList* refreshCodes, ZQCharMenuStructList* menus,
                           ZQTextStringList* helpTexts, ZQTimestampList* timestamps,
                           ZQAccessNameList* owners, ZQAccessNameList* lastChanged,
                           ZQTextStringList* changeDiaries, ZQPropListList* properties,
                           ZQStatusList* status);

/* ---- containers ------------------------------------------------------------ */

int ZQGetContainer(ZQControlStruct* control, const char* name, ZQReferenceTypeList* refTypes,
                   ZQPermissionList* permissions, ZQInternalIdList* subAdminGroups,
                   ZQContainerOwnerObjList* ownerObjects, char** label, char** description,
                   uint32_t* type, ZQReferenceList* references, char** helpText,
                   ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
                   char** changeDiary, ZQPropList* properties, ZQStatusList* status);
int ZQSetContainer(ZQControlStruct* control, const char* name, const char* newName,
                   ZQPermissionList* permissions, ZQInternalIdList* subAdminGroups,
                   ZQContainerOwnerObjList* ownerObjects, const char* label,
                   const char* description, uint32_t* type, ZQReferenceList* references,
                   uint32_t option, const char* helpText, const char* owner,
                   const char* changeDiary, ZQPropList* properties, ZQStatusList* status);
int ZQCreateContainer(ZQControlStruct* control, const char* name, ZQPermissionList* permissions,
                      ZQInternalIdList* subAdminGroups, ZQContainerOwnerObjList* ownerObjects,
                      const char* label, const char* description, uint32_t type,
                      ZQReferenceList* references, uint32_t option, const char* helpText,
                      const char* owner, const char* changeDiary, ZQPropList* properties,
                      ZQStatusList* status);
int ZQDeleteContainer(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                      ZQStatusList* status);
/* types null or empty: every type; ownerObjects null or empty: every owner. */
int ZQGetListContainer(ZQControlStruct* control, ZQTimestamp changedSince,
                       ZQContainerTypeList* types, uint32_t attributes,
                       ZQContainerOwnerObjList* ownerObjects, ZQPropList* properties,
                       ZQContainerInfoList* containers, ZQStatusList* status);
int ZQGetMultipleContainers(ZQControlStruct* control, ZQTimestamp changedSince,
                            ZQNameList* wantedNames, ZQContainerTypeList* typeFilter,
                            uint32_t attributes, ZQContainerOwnerObjList* ownerObjects,
                            ZQReferenceTypeList* refTypes, ZQBooleanList* exists,
                            ZQNameList* names, ZQPermissionListList* permissions,
                            ZQInternalIdListList* subAdminGroups,
                            ZQContainerOwnerObjListList* ownerObjectLists,
                            ZQTextStringList* labels, ZQTextStringList* descriptions,
                            ZQUnsignedIntList* containerTypes, ZQReferenceListList* references,
                            ZQTextStringList* helpTexts, ZQTimestampList* timestamps,
                            ZQAccessNameList* owners, ZQAccessNameList* lastChanged,
                            ZQTextStringList* changeDiaries, ZQPropListList* properties,
                            ZQStatusList* status);

#ifdef __cplusplus
}
#endif

#endif
