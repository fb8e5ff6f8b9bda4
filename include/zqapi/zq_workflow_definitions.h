/** \file
 * Workflow definitions on the server: filters, active links, escalations,
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

/** Reads a filter: the outputs passed (see the file comment). */
int ZQGetFilter(ZQControlStruct* control, const char* name, uint32_t* order,
                ZQWorkflowConnectStruct* forms, uint32_t* operations, uint32_t* enable,
                ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                ZQFilterActionList* elseActions, char** helpText, ZQTimestamp* timestamp,
                ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                ZQPropList* properties, uint32_t* errorOptions, ZQNameType errorName,
                ZQStatusList* status);
/** Changes the parts passed of a filter (see the file comment). */
int ZQSetFilter(ZQControlStruct* control, const char* name, const char* newName,
                uint32_t* order, ZQWorkflowConnectStruct* forms, uint32_t* operations,
                uint32_t* enable, ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                ZQFilterActionList* elseActions, const char* helpText, const char* owner,
                const char* changeDiary, ZQPropList* properties, uint32_t* errorOptions,
                const char* errorName, ZQStatusList* status);
/** Creates a filter after checking it (see the file comment). */
int ZQCreateFilter(ZQControlStruct* control, const char* name, uint32_t order,
                   ZQWorkflowConnectStruct* forms, uint32_t operations, uint32_t enable,
                   ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                   ZQFilterActionList* elseActions, const char* helpText, const char* owner,
                   const char* changeDiary, ZQPropList* properties, uint32_t errorOptions,
                   const char* errorName, ZQStatusList* status);
/** Deletes a filter (see the file comment). */
int ZQDeleteFilter(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                   ZQStatusList* status);
/* form null or empty: the filters of every form. */
/** Lists the names of the filters asked for (see the file comment). */
int ZQGetListFilter(ZQControlStruct* control, const char* form, ZQTimestamp changedSince,
                    ZQPropList* properties, ZQNameList* names, ZQStatusList* status);
/** Reads several filters by name (see the file comment). */
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

/** Reads an active link: the outputs passed (see the file comment). */
int ZQGetActiveLink(ZQControlStruct* control, const char* name, uint32_t* order,
                    ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups,
                    uint32_t* executeMask, ZQInternalId* controlField, ZQInternalId* focusField,
                    uint32_t* enable, ZQQualifierStruct* qualifier,
                    ZQActiveLinkActionList* ifActions, ZQActiveLinkActionList* elseActions,
                    char** helpText, ZQTimestamp* timestamp, ZQAccessNameType owner,
                    ZQAccessNameType lastChanged, char** changeDiary, ZQPropList* properties,
                    uint32_t* errorOptions, ZQNameType errorName, ZQStatusList* status);
/** Changes the parts passed of an active link (see the file comment). */
int ZQSetActiveLink(ZQControlStruct* control, const char* name, const char* newName,
                    uint32_t* order, ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups,
                    uint32_t* executeMask, ZQInternalId* controlField, ZQInternalId* focusField,
                    uint32_t* enable, ZQQualifierStruct* qualifier,
                    ZQActiveLinkActionList* ifActions, ZQActiveLinkActionList* elseActions,
                    const char* helpText, const char* owner, const char* changeDiary,
                    ZQPropList* properties, uint32_t* errorOptions, const char* errorName,
                    ZQStatusList* status);
/** Creates an active link after checking it (see the file comment). */
int ZQCreateActiveLink(ZQControlStruct* control, const char* name, uint32_t order,
                       ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups,
                       uint32_t executeMask, ZQInternalId* controlField, ZQInternalId* focusField,
                       uint32_t enable, ZQQualifierStruct* qualifier,
                       ZQActiveLinkActionList* ifActions, ZQActiveLinkActionList* elseActions,
                       const char* helpText, const char* owner, const char* changeDiary,
                       ZQPropList* properties, uint32_t errorOptions, const char* errorName,
                       ZQStatusList* status);
/** Deletes an active link (see the file comment). */
int ZQDeleteActiveLink(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                       ZQStatusList* status);
/** Lists the names of the active links asked for (see the file comment). */
int ZQGetListActiveLink(ZQControlStruct* control, const char* form, ZQTimestamp changedSince,
                        ZQPropList* properties, ZQNameList* names, ZQStatusList* status);
/** Reads several active links by name (see the file comment). */
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

/** Reads an escalation: the outputs passed (see the file comment). */
int ZQGetEscalation(ZQControlStruct* control, const char* name, ZQEscalationTimeStruct* time,
                    ZQWorkflowConnectStruct* forms, uint32_t* enable,
                    ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                    ZQFilterActionList* elseActions, char** helpText, ZQTimestamp* timestamp,
                    ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                    ZQPropList* properties, ZQStatusList* status);
/** Changes the parts passed of an escalation (see the file comment). */
int ZQSetEscalation(ZQControlStruct* control, const char* name, const char* newName,
                    ZQEscalationTimeStruct* time, ZQWorkflowConnectStruct* forms,
                    uint32_t* enable, ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                    ZQFilterActionList* elseActions, const char* helpText, const char* owner,
                    const char* changeDiary, ZQPropList* properties, ZQStatusList* status);
/** Creates an escalation after checking it (see the file comment). */
int ZQCreateEscalation(ZQControlStruct* control, const char* name, ZQEscalationTimeStruct* time,
                       ZQWorkflowConnectStruct* forms, uint32_t enable,
                       ZQQualifierStruct* qualifier, ZQFilterActionList* ifActions,
                       ZQFilterActionList* elseActions, const char* helpText, const char* owner,
                       const char* changeDiary, ZQPropList* properties, ZQStatusList* status);
/** Deletes an escalation (see the file comment). */
int ZQDeleteEscalation(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                       ZQStatusList* status);
/** Lists the names of the escalations asked for (see the file comment). */
int ZQGetListEscalation(ZQControlStruct* control, const char* form, ZQTimestamp changedSince,
                        ZQPropList* properties, ZQNameList* names, ZQStatusList* status);
/** Reads several escalations by name (see the file comment). */
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

/** Reads a character menu: the outputs passed (see the file comment). */
int ZQGetCharMenu(ZQControlStruct* control, const char* name, uint32_t* refreshCode,
                  ZQCharMenuStruct* menu, char** helpText, ZQTimestamp* timestamp,
                  ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                  ZQPropList* properties, ZQStatusList* status);
/** Changes the parts passed of a character menu (see the file comment). */
int ZQSetCharMenu(ZQControlStruct* control, const char* name, const char* newName,
                  uint32_t* refreshCode, ZQCharMenuStruct* menu, const char* helpText,
                  const char* owner, const char* changeDiary, ZQPropList* properties,
                  ZQStatusList* status);
/** Creates a character menu after checking it (see the file comment). */
int ZQCreateCharMenu(ZQControlStruct* control, const char* name, uint32_t refreshCode,
                     ZQCharMenuStruct* menu, const char* helpText, const char* owner,
                     const char* changeDiary, ZQPropList* properties, ZQStatusList* status);
/** Deletes a character menu (see the file comment). */
int ZQDeleteCharMenu(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                     ZQStatusList* status);
/* The three lists are passed to the server unchanged (null: empty). */
/** Lists the names of the character menus asked for (see the file comment). */
int ZQGetListCharMenu(ZQControlStruct* control, ZQTimestamp changedSince, ZQNameList* forms,
                      ZQNameList* referencing, ZQPropList* properties, ZQNameList* names,
                      ZQStatusList* status);
/** Reads several character menus by name (see the file comment). */
int ZQGetMultipleCharMenus(ZQControlStruct* control, ZQTimestamp changedSince,
                           ZQNameList* wantedNames, ZQBooleanList* exists, ZQNameList* names,
                           ZQUnsignedIntList* refreshCodes, ZQCharMenuStructList* menus,
                           ZQTextStringList* helpTexts, ZQTimestampList* timestamps,
                           ZQAccessNameList* owners, ZQAccessNameList* lastChanged,
                           ZQTextStringList* changeDiaries, ZQPropListList* properties,
                           ZQStatusList* status);

/* ---- containers ------------------------------------------------------------ */

/** Reads a container: the outputs passed (see the file comment). */
int ZQGetContainer(ZQControlStruct* control, const char* name, ZQReferenceTypeList* refTypes,
                   ZQPermissionList* permissions, ZQInternalIdList* subAdminGroups,
                   ZQContainerOwnerObjList* ownerObjects, char** label, char** description,
                   uint32_t* type, ZQReferenceList* references, char** helpText,
                   ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
                   char** changeDiary, ZQPropList* properties, ZQStatusList* status);
/** Changes the parts passed of a container (see the file comment). */
int ZQSetContainer(ZQControlStruct* control, const char* name, const char* newName,
                   ZQPermissionList* permissions, ZQInternalIdList* subAdminGroups,
                   ZQContainerOwnerObjList* ownerObjects, const char* label,
                   const char* description, uint32_t* type, ZQReferenceList* references,
                   uint32_t option, const char* helpText, const char* owner,
                   const char* changeDiary, ZQPropList* properties, ZQStatusList* status);
/** Creates a container after checking it (see the file comment). */
int ZQCreateContainer(ZQControlStruct* control, const char* name, ZQPermissionList* permissions,
                      ZQInternalIdList* subAdminGroups, ZQContainerOwnerObjList* ownerObjects,
                      const char* label, const char* description, uint32_t type,
                      ZQReferenceList* references, uint32_t option, const char* helpText,
                      const char* owner, const char* changeDiary, ZQPropList* properties,
                      ZQStatusList* status);
/** Deletes a container (see the file comment). */
int ZQDeleteContainer(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                      ZQStatusList* status);
/* types null or empty: every type; ownerObjects null or empty: every owner. */
/** Lists the names of the containers asked for (see the file comment). */
int ZQGetListContainer(ZQControlStruct* control, ZQTimestamp changedSince,
                       ZQContainerTypeList* types, uint32_t attributes,
                       ZQContainerOwnerObjList* ownerObjects, ZQPropList* properties,
                       ZQContainerInfoList* containers, ZQStatusList* status);
/** Reads several containers by name (see the file comment). */
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
