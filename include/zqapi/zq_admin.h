/* Server administration and the other server calls: settings, statistics,
 * full-text settings, users, groups and roles, localized texts, currency
 * ratios, application states, entry points, cache checks, SQL, processes,
 * signals, cancel, external candidates, impersonation and the session
 * configuration. */
#ifndef ZQAPI_ZQ_ADMIN_H
#define ZQAPI_ZQ_ADMIN_H

#include "zq_defs.h"
#include "zq_session.h"
#include "zq_types.h"
#include "zq_workflow.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- users --------------------------------------------------------------- */

/* One licence of a user: carried and released as the server sends it. */
typedef struct ZQUserLicenseStruct {
  uint32_t licenseTag;
  uint32_t licenseType;
  uint32_t currentLicenseType;
} ZQUserLicenseStruct;

typedef struct ZQUserLicenseList {
  uint32_t count;
  ZQUserLicenseStruct* items;
} ZQUserLicenseList;

typedef struct ZQUserInfoStruct {
  ZQAccessNameType userName;
  ZQUserLicenseList licenses;
  ZQTimestamp connectTime;
  ZQTimestamp lastAccess;
  uint32_t defaultNotifyMechanism; /* ZQ_NOTIFY_ALERT, ZQ_NOTIFY_EMAIL, ... */
  char* emailAddress;
} ZQUserInfoStruct;

typedef struct ZQUserInfoList {
  uint32_t count;
  ZQUserInfoStruct* items;
} ZQUserInfoList;

/* User list types of ZQGetListUser. */
#define ZQ_USER_LIST_MYSELF 0
#define ZQ_USER_LIST_REGISTERED 1
#define ZQ_USER_LIST_CURRENT 2
#define ZQ_USER_LIST_CHANGED 3
#define ZQ_USER_LIST_INVALID 4

/* ---- localized texts ------------------------------------------------------ */

typedef struct ZQLocalizedRequestStruct {
  ZQNameType name; /* message name; for type 0 the message number as text */
  uint32_t messageType;
  uint32_t index; /* further selector of the server's texts */
} ZQLocalizedRequestStruct;

typedef struct ZQLocalizedRequestList {
  uint32_t count;
  ZQLocalizedRequestStruct* items;
} ZQLocalizedRequestList;

/* ZQLocaleList: zq_defs.h */

/* ---- change times of definitions ----------------------------------------- */

typedef struct ZQObjectChangeTimesStruct {
  int32_t objectType; /* kind of definition */
  ZQTimestamp createTime;
  ZQTimestamp changeTime;
  ZQTimestamp deleteTime;
} ZQObjectChangeTimesStruct;

typedef struct ZQObjectChangeTimesList {
  uint32_t count;
  ZQObjectChangeTimesStruct* items;
} ZQObjectChangeTimesList;

void FreeZQUserLicenseList(ZQUserLicenseList* value, ZQBoolean freeStruct);
void FreeZQUserInfoList(ZQUserInfoList* value, ZQBoolean freeStruct);
void FreeZQLocalizedRequestList(ZQLocalizedRequestList* value, ZQBoolean freeStruct);
void FreeZQLocaleList(ZQLocaleList* value, ZQBoolean freeStruct);
void FreeZQObjectChangeTimesList(ZQObjectChangeTimesList* value, ZQBoolean freeStruct);

/* ---- settings, statistics, full-text settings ---------------------------- */

/* Changes server settings (administrators). Every item is checked before
 * anything is sent; the text of password-bearing settings in the caller's
 * list is replaced by its protected form (new strings the caller releases
 * with the list). */
int ZQSetServerInfo(ZQControlStruct* control, ZQServerInfoList* settings, ZQStatusList* status);
/* Statistics 1 to 74. */
int ZQGetServerStatistics(ZQControlStruct* control, ZQServerInfoRequestList* request,
                          ZQServerInfoList* result, ZQStatusList* status);
/* Full-text settings 1 to 8. */
int ZQGetFullTextInfo(ZQControlStruct* control, ZQFullTextInfoRequestList* request,
                      ZQFullTextInfoList* result, ZQStatusList* status);
int ZQSetFullTextInfo(ZQControlStruct* control, ZQFullTextInfoList* settings, ZQStatusList* status);

/* ---- users, groups, roles ------------------------------------------------- */

/* The caller's rights; each output may be null. */
int ZQVerifyUser(ZQControlStruct* control, ZQBoolean* administrator, ZQBoolean* subAdministrator,
                 ZQBoolean* customize, ZQStatusList* status);
/* listType ZQ_USER_LIST_... (0 to 4); changedSince for ZQ_USER_LIST_CHANGED. */
int ZQGetListUser(ZQControlStruct* control, uint32_t listType, ZQTimestamp changedSince,
                  ZQUserInfoList* users, ZQStatusList* status);
/* The groups of a user (null: every group); a given password travels
 * protected when the server can read it so. */
int ZQGetListGroup(ZQControlStruct* control, const char* userName, const char* password,
                   ZQGroupInfoList* groups, ZQStatusList* status);
int ZQGetListRole(ZQControlStruct* control, const char* applicationName, const char* userName,
                  const char* password, ZQRoleInfoList* roles, ZQStatusList* status);

/* User and group administration on a context of their own: no control
 * record, the server named (at most 64 characters) and reached on port
 * (0: through the port mapper). The values travel as they are; zqserverd
 * reads them as documented here. accessKey (at most 16 characters) is the
 * server's access key for these calls; a server without users takes any. */
int ZQCreateUser(const char* server, int32_t port, const char* accessKey, const char* userName,
                 const char* password, const char* emailAddress, uint32_t notifyMechanism,
                 const ZQInternalIdList* groupIds, const ZQUserLicenseStruct* license,
                 const char* fullName, const char* defaultLocale, ZQStatusList* status);
int ZQDeleteUser(const char* server, int32_t port, const char* accessKey, const char* userName,
                 ZQStatusList* status);
/* groupType ZQ_GROUP_TYPE_VIEW or ZQ_GROUP_TYPE_CHANGE; longName at most 254
 * characters. */
int ZQCreateGroup(const char* server, int32_t port, const char* accessKey, const char* groupName,
                  const char* longName, ZQInternalId groupId, uint32_t groupType,
                  const char* description, uint32_t category, uint32_t flags, ZQStatusList* status);
int ZQDeleteGroup(const char* server, int32_t port, const char* accessKey, const char* groupName,
                  ZQStatusList* status);

#define ZQ_GROUP_TYPE_VIEW 1
#define ZQ_GROUP_TYPE_CHANGE 2

/* ---- localized texts, currency ratios ------------------------------------- */

/* Message types of localized requests. */
#define ZQ_LOCAL_TEXT_SYSTEM_MESSAGE 0

int ZQGetLocalizedValue(ZQControlStruct* control, ZQLocalizedRequestStruct* request,
                        ZQValueStruct* value, ZQTimestamp* timestamp, ZQStatusList* status);
int ZQGetMultipleLocalizedValues(ZQControlStruct* control, ZQLocalizedRequestList* requests,
                                 ZQValueList* values, ZQTimestampList* timestamps,
                                 ZQStatusList* status);
/* Local: the ratio of two currencies in a ratio set text ("USDEUR0.9/USDJPY150"
 * sorted by key), as a decimal value; the null value when the set has none. */
int ZQGetCurrencyRatio(ZQControlStruct* control, const char* ratioSet, const char* sourceCode,
                       const char* targetCode, ZQValueStruct* ratio, ZQStatusList* status);
/* One ratio set per requested time (0: the current set). */
int ZQGetMultipleCurrencyRatioSets(ZQControlStruct* control, ZQTimestampList* ratioTimes,
                                   ZQTextStringList* ratioSets, ZQStatusList* status);

/* ---- applications and entry points ---------------------------------------- */

int ZQGetListApplicationState(ZQControlStruct* control, ZQNameList* states, ZQStatusList* status);
/* currentState: a buffer of ZQNameType. */
int ZQGetApplicationState(ZQControlStruct* control, const char* application, char* currentState,
                          ZQStatusList* status);
int ZQSetApplicationState(ZQControlStruct* control, const char* application, const char* state,
                          ZQStatusList* status);

/* Entry points of applications: names and types are required, every other
 * output may be null; item i of each list describes entry point i. */
int ZQGetMultipleEntryPoints(ZQControlStruct* control, ZQTimestamp changedSince,
                             ZQNameList* applications, ZQReferenceTypeList* referenceTypes,
                             const char* displayTag, uint32_t vuiType, ZQBoolean hiddenIncluded,
                             ZQNameList* names, ZQUnsignedIntList* types,
                             ZQTextStringList* displayLabels, ZQNameList* ownerApplications,
                             ZQTextStringList* ownerApplicationLabels,
                             ZQPermissionListList* permissions,
                             ZQContainerOwnerObjListList* ownerObjects,
                             ZQTextStringList* descriptions, ZQReferenceListList* references,
                             ZQTextStringList* helpTexts, ZQTimestampList* timestamps,
                             ZQPropListList* properties, ZQStatusList* status);

/* ---- cache checks ------------------------------------------------------------ */

int ZQGetObjectChangeTimes(ZQControlStruct* control, ZQObjectChangeTimesList* times,
                           ZQStatusList* status);
int ZQValidateFormCache(ZQControlStruct* control, const char* form, ZQTimestamp activeLinksSince,
                        ZQTimestamp menusSince, ZQTimestamp guidesSince,
                        ZQTimestamp* formLastChanged, int32_t* activeLinkCount,
                        int32_t* changedActiveLinkCount, ZQNameList* changedMenus,
                        ZQTimestamp* groupsLastChanged, ZQTimestamp* usersLastChanged,
                        ZQNameList* changedGuides, ZQStatusList* status);
/* Waits (up to 28800 s) for one of the events; occurred and count may be null. */
int ZQGetCacheEvent(ZQControlStruct* control, ZQUnsignedIntList* eventIds, uint32_t returnOption,
                    ZQUnsignedIntList* occurred, uint32_t* count, ZQStatusList* status);

#define ZQ_CACHE_EVENT_DEFINITION_CHANGE 1
#define ZQ_CACHE_EVENT_GROUP_CHANGE 2
#define ZQ_CACHE_EVENT_USER_CHANGE 3
#define ZQ_CACHE_EVENT_RETURN_NOW 1

/* ---- SQL and processes ------------------------------------------------------- */

/* Runs an SQL statement on the server's database (administrators); one
 * value list per row, at most maxRows rows (0: the server's limit). */
int ZQGetListSQL(ZQControlStruct* control, const char* sql, uint32_t maxRows, ZQValueListList* rows,
                 uint32_t* matches, ZQStatusList* status);
/* Runs a command on the server; with either output given the server waits
 * for the process and returns its status and output. */
int ZQExecuteProcess(ZQControlStruct* control, const char* command, int32_t* returnStatus,
                     char** output, ZQStatusList* status);
/* The same on behalf of an active link; the server may redirect the request
 * to another server, which the call then asks in the caller's name. */
int ZQGetListSQLForActiveLink(ZQControlStruct* control, const char* sql, uint32_t actionIndex,
                              uint32_t actionKind, uint32_t activeLinkOrder,
                              ZQFieldValueList* fieldValues, ZQFieldValueList* databaseValues,
                              uint32_t maxRows, ZQValueListList* rows, uint32_t* matches,
                              char** returnedCommand, ZQStatusList* status);
int ZQExecuteProcessForActiveLink(ZQControlStruct* control, const char* command,
                                  uint32_t actionIndex, uint32_t actionKind,
                                  uint32_t activeLinkOrder, uint32_t timerInterval,
                                  ZQFieldValueList* fieldValues, ZQFieldValueList* databaseValues,
                                  int32_t* returnStatus, char** output, char** returnedCommand,
                                  ZQStatusList* status);

/* ---- signals, cancel, external data -------------------------------------------- */

#define ZQ_SIGNAL_CONFIG_CHANGED 1
#define ZQ_SIGNAL_GROUP_CACHE_CHANGED 2
#define ZQ_SIGNAL_LICENSE_CHANGED 3
#define ZQ_SIGNAL_ALERT_USER_CHANGED 4
#define ZQ_SIGNAL_DEFINITIONS_CHANGED 5

int ZQSignal(ZQControlStruct* control, ZQSignalList* signals, ZQStatusList* status);
/* Cancels the call running on the control record's session (from another
 * thread). */
int ZQCancel(ZQControlStruct* control, ZQStatusList* status);
/* Tables and views of the server's database not yet used by forms (form
 * types ZQ_SCHEMA_NONE to ZQ_SCHEMA_VENDOR), and their columns. */
int ZQGetListExtSchemaCandidates(ZQControlStruct* control, uint32_t formType,
                                 ZQCompoundSchemaList* forms, ZQStatusList* status);
int ZQGetMultipleExtFieldCandidates(ZQControlStruct* control, ZQCompoundSchema* form,
                                    ZQFieldMappingList* fields, ZQFieldLimitList* limits,
                                    ZQUnsignedIntList* dataTypes, ZQStatusList* status);

/* ---- impersonation, session configuration ------------------------------------- */

/* Later calls to the server run as userName (administrators; protocol 12 or
 * later); null or empty ends the impersonation. Keeps the status list. */
int ZQSetImpersonatedUser(ZQControlStruct* control, const char* userName, ZQStatusList* status);

/* Session variables 1 to 9 and 1960 (set), 1 to 11 and 1960 (get). */
int ZQSetSessionConfiguration(ZQControlStruct* control, uint32_t variableId,
                              const ZQValueStruct* value, ZQStatusList* status);
int ZQGetSessionConfiguration(ZQControlStruct* control, uint32_t variableId, ZQValueStruct* value,
                              ZQStatusList* status);

/* ---- exported by ordinal (ZQGetOrdinal) ---------------------------------------- */

/* 311: ends the sessions of userName on the admin, fast and list queues. */
int ZQEndUserSessions(ZQControlStruct* control, const char* userName, ZQStatusList* status);
/* 312: the names of a form's fields. */
int ZQGetFormFieldNames(ZQControlStruct* control, const char* form, ZQNameList* names,
                        ZQStatusList* status);
/* 840: server setting 182, the largest number of entries a query returns. */
int ZQGetServerEntryLimit(ZQControlStruct* control, int32_t* limit, ZQStatusList* status);
/* 845: the entry ids of a form; 846: those the caller submitted. */
int ZQGetFormEntryIds(ZQControlStruct* control, const char* form, ZQEntryIdList* ids,
                      ZQStatusList* status);
int ZQGetOwnEntryIds(ZQControlStruct* control, const char* form, ZQEntryIdList* ids,
                     ZQStatusList* status);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_ADMIN_H */
