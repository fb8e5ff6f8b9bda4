/** \file
 * Server administration and the other server calls: settings, statistics,
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

/**@{*/
/** Releases what the structure owns; with freeStruct its own block
 * too, otherwise it is left reset for reuse. */
void FreeZQUserLicenseList(ZQUserLicenseList* value, ZQBoolean freeStruct);
void FreeZQUserInfoList(ZQUserInfoList* value, ZQBoolean freeStruct);
void FreeZQLocalizedRequestList(ZQLocalizedRequestList* value, ZQBoolean freeStruct);
void FreeZQLocaleList(ZQLocaleList* value, ZQBoolean freeStruct);
void FreeZQObjectChangeTimesList(ZQObjectChangeTimesList* value, ZQBoolean freeStruct);
/**@}*/

/* ---- settings, statistics, full-text settings ---------------------------- */

/** Changes server settings (administrators). Every item is checked before
 * anything is sent; the text of password-bearing settings in the caller's
 * list is replaced by its protected form (new strings the caller releases
 * with the list). An empty list gives 216; each bad item adds its message
 * with the setting number appended: 123 unknown or not settable, 217 read
 * only, 219 a value neither null nor of the setting's type. */
int ZQSetServerInfo(ZQControlStruct* control, ZQServerInfoList* settings, ZQStatusList* status);
/** Reads server statistics 1 to 74 into result (cleared first; release
 * with FreeZQServerInfoList). An empty request gives 122; each number
 * outside 1 to 74 adds 256 with the number appended. */
int ZQGetServerStatistics(ZQControlStruct* control, ZQServerInfoRequestList* request,
                          ZQServerInfoList* result, ZQStatusList* status);
/** Reads full-text settings 1 to 9 (ZQ_FULLTEXT_...) into result (cleared
 * first; release with FreeZQFullTextInfoList). An empty request gives 122;
 * each number outside 1 to 9 adds 654 with the number appended. */
int ZQGetFullTextInfo(ZQControlStruct* control, ZQFullTextInfoRequestList* request,
                      ZQFullTextInfoList* result, ZQStatusList* status);
/** Changes full-text settings (administrators). Every item is checked
 * before anything is sent: an empty list gives 651; a value the setting does
 * not take adds 652, an unknown setting 654, each with its number appended. */
int ZQSetFullTextInfo(ZQControlStruct* control, ZQFullTextInfoList* settings, ZQStatusList* status);

/* ---- users, groups, roles ------------------------------------------------- */

/** The rights of the control record's user: administrator,
 * sub-administrator, may customize. Each output may be null and is cleared
 * first. */
int ZQVerifyUser(ZQControlStruct* control, ZQBoolean* administrator, ZQBoolean* subAdministrator,
                 ZQBoolean* customize, ZQStatusList* status);
/** The users of a list: listType ZQ_USER_LIST_... (0 to 4, else 235);
 * changedSince for ZQ_USER_LIST_CHANGED. users is cleared first (null: 105)
 * and released with FreeZQUserInfoList. */
int ZQGetListUser(ZQControlStruct* control, uint32_t listType, ZQTimestamp changedSince,
                  ZQUserInfoList* users, ZQStatusList* status);
/** The groups of a user (null: every group); a given password travels
 * protected when the server can read it so (always from protocol 10 on,
 * never up to 7). groups is cleared first (null: 105) and released with
 * FreeZQGroupInfoList. A user name of more than 254 characters gives 103; a
 * password longer than 30 bytes in the server's character set 559. */
int ZQGetListGroup(ZQControlStruct* control, const char* userName, const char* password,
                   ZQGroupInfoList* groups, ZQStatusList* status);
/** The roles of a user in an application (either name may be null). A
 * given password always travels protected. roles is cleared first (null: 105) and
 * released with FreeZQRoleInfoList; 103 and 559 as for ZQGetListGroup. */
int ZQGetListRole(ZQControlStruct* control, const char* applicationName, const char* userName,
                  const char* password, ZQRoleInfoList* roles, ZQStatusList* status);

/* User and group administration on a context of their own: no control
 * record, the server named (at most 64 characters) and reached on port
 * (0: through the port mapper). The values travel as they are; zqserverd
 * reads them as documented here. accessKey (at most 16 characters) is the
 * server's access key for these calls; a server without users takes any. */
/** Creates a user: userName (at most 255 characters), password (at most
 * 31), e-mail address, notification mechanism (ZQ_NOTIFY_...), groups,
 * licence, full name and default locale. Returns 4 for a null status list;
 * an empty server gives 150, a text too long 103 with the argument's name
 * appended; the server's messages come back in status. */
int ZQCreateUser(const char* server, int32_t port, const char* accessKey, const char* userName,
                 const char* password, const char* emailAddress, uint32_t notifyMechanism,
                 const ZQInternalIdList* groupIds, const ZQUserLicenseStruct* license,
                 const char* fullName, const char* defaultLocale, ZQStatusList* status);
/** Deletes a user (name at most 255 characters); checks and results as for
 * ZQCreateUser. */
int ZQDeleteUser(const char* server, int32_t port, const char* accessKey, const char* userName,
                 ZQStatusList* status);
/** Creates a group: name (at most 255 characters), long name, id, type,
 * description, category and flags; checks and results as for ZQCreateUser.
 * groupType ZQ_GROUP_TYPE_VIEW or ZQ_GROUP_TYPE_CHANGE; longName at most 254
 * characters. */
int ZQCreateGroup(const char* server, int32_t port, const char* accessKey, const char* groupName,
                  const char* longName, ZQInternalId groupId, uint32_t groupType,
                  const char* description, uint32_t category, uint32_t flags, ZQStatusList* status);
/** Deletes a group by name (at most 255 characters); checks and results as
 * for ZQCreateUser. */
int ZQDeleteGroup(const char* server, int32_t port, const char* accessKey, const char* groupName,
                  ZQStatusList* status);

#define ZQ_GROUP_TYPE_VIEW 1
#define ZQ_GROUP_TYPE_CHANGE 2

/* ---- localized texts, currency ratios ------------------------------------- */

/* Message types of localized requests. */
#define ZQ_LOCAL_TEXT_SYSTEM_MESSAGE 0

/** A localized text of the server in the control record's locale: value
 * (release with FreeZQValueStruct) and the time it last changed; either
 * output may be null and is cleared first. A null request returns 4. The
 * texts of the connection failures (type 0, names "90" to "94") return 0
 * and empty outputs without contacting the server. A server without
 * localized texts gives 9056. */
int ZQGetLocalizedValue(ZQControlStruct* control, ZQLocalizedRequestStruct* request,
                        ZQValueStruct* value, ZQTimestamp* timestamp, ZQStatusList* status);
/** Several localized texts at once: item i of values and of timestamps
 * answers request i; either output may be null. A null request list returns
 * 4; 9056 as for ZQGetLocalizedValue. */
int ZQGetMultipleLocalizedValues(ZQControlStruct* control, ZQLocalizedRequestList* requests,
                                 ZQValueList* values, ZQTimestampList* timestamps,
                                 ZQStatusList* status);
/** Local: the ratio of two currencies in a ratio set text ("USDEUR0.9/USDJPY150"
 * sorted by key), as a decimal value; the null value when the set has none
 * or a code is not 3 characters long. A null ratio gives 155. */
int ZQGetCurrencyRatio(ZQControlStruct* control, const char* ratioSet, const char* sourceCode,
                       const char* targetCode, ZQValueStruct* ratio, ZQStatusList* status);
/** One ratio set per requested time (0: the current set), as texts for
 * ZQGetCurrencyRatio. ratioSets is cleared first (null: 105) and released
 * with FreeZQTextStringList. */
int ZQGetMultipleCurrencyRatioSets(ZQControlStruct* control, ZQTimestampList* ratioTimes,
                                   ZQTextStringList* ratioSets, ZQStatusList* status);

/* ---- applications and entry points ---------------------------------------- */

/** The names of the states an application can be in. states is cleared
 * first (null: 105) and released with FreeZQNameList. */
int ZQGetListApplicationState(ZQControlStruct* control, ZQNameList* states, ZQStatusList* status);
/** The current state of an application (name required: 102, 103).
 * currentState: a buffer of ZQNameType, emptied first (null: 105); a state
 * of more than 254 characters gives 103. */
int ZQGetApplicationState(ZQControlStruct* control, const char* application, char* currentState,
                          ZQStatusList* status);
/** Puts an application into a state (administrators); both names are
 * required (102, 103). */
int ZQSetApplicationState(ZQControlStruct* control, const char* application, const char* state,
                          ZQStatusList* status);

/** Entry points of applications: names and types are required, every other
 * output may be null; item i of each list describes entry point i.
 * applications (null or empty: all) and the other inputs select them.
 * A null names gives 105 with "entryPointNameList", a null types 105 with
 * "entryPointTypeList". Outputs are cleared first. */
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

/** For each kind of definition, the times of its last create, change and
 * delete. times may be null; release it with FreeZQObjectChangeTimesList. */
int ZQGetObjectChangeTimes(ZQControlStruct* control, ZQObjectChangeTimesList* times,
                           ZQStatusList* status);
/** What changed since a client cached a form's definitions, given the times
 * of its cached active links, menus and guides: the form's last change, its
 * number of active links and of changed ones, the changed menus and guides,
 * and the last change of groups and of users. The form is required (102,
 * 103); every output may be null and is cleared first. */
int ZQValidateFormCache(ZQControlStruct* control, const char* form, ZQTimestamp activeLinksSince,
                        ZQTimestamp menusSince, ZQTimestamp guidesSince,
                        ZQTimestamp* formLastChanged, int32_t* activeLinkCount,
                        int32_t* changedActiveLinkCount, ZQNameList* changedMenus,
                        ZQTimestamp* groupsLastChanged, ZQTimestamp* usersLastChanged,
                        ZQNameList* changedGuides, ZQStatusList* status);
/** Waits (up to 28800 s) for one of the events; occurred and count may be null.
 * eventIds holds ZQ_CACHE_EVENT_... ids; returnOption
 * ZQ_CACHE_EVENT_RETURN_NOW answers at once. occurred receives the events
 * that happened (release with FreeZQUnsignedIntList), count their number. */
int ZQGetCacheEvent(ZQControlStruct* control, ZQUnsignedIntList* eventIds, uint32_t returnOption,
                    ZQUnsignedIntList* occurred, uint32_t* count, ZQStatusList* status);

#define ZQ_CACHE_EVENT_DEFINITION_CHANGE 1
#define ZQ_CACHE_EVENT_GROUP_CHANGE 2
#define ZQ_CACHE_EVENT_USER_CHANGE 3
#define ZQ_CACHE_EVENT_RETURN_NOW 1

/* ---- SQL and processes ------------------------------------------------------- */

/** Runs an SQL statement on the server's database (administrators); one
 * value list per row, at most maxRows rows (0: the server's limit).
 * matches (may be null) receives the number of matching rows. An empty
 * statement gives 261, a null rows 105. Release rows with
 * FreeZQValueListList. */
int ZQGetListSQL(ZQControlStruct* control, const char* sql, uint32_t maxRows, ZQValueListList* rows,
                 uint32_t* matches, ZQStatusList* status);
/** Runs a command on the server; with either output given the server waits
 * for the process and returns its status and output (release with ZQFree).
 * A null command gives 117. */
int ZQExecuteProcess(ZQControlStruct* control, const char* command, int32_t* returnStatus,
                     char** output, ZQStatusList* status);
/** ZQGetListSQL on behalf of an active link; the server may redirect the request
 * to another server, which the call then asks in the caller's name.
 * actionIndex, actionKind and activeLinkOrder travel unchanged; the value
 * lists are sent when not empty. returnedCommand (may be null; release with
 * ZQFree) receives the command the server returns. A redirect (9100) runs
 * ZQGetListSQL on the named server with the caller's outputs; one that cannot
 * be followed gives 9101. A null rows gives 105. */
int ZQGetListSQLForActiveLink(ZQControlStruct* control, const char* sql, uint32_t actionIndex,
                              uint32_t actionKind, uint32_t activeLinkOrder,
                              ZQFieldValueList* fieldValues, ZQFieldValueList* databaseValues,
                              uint32_t maxRows, ZQValueListList* rows, uint32_t* matches,
                              char** returnedCommand, ZQStatusList* status);
/** ZQExecuteProcess on behalf of an active link, with the same redirect as
 * ZQGetListSQLForActiveLink (the redirected call is ZQExecuteProcess).
 * databaseValues is required (233); its password fields travel protected.
 * A null command gives 117. */
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

/** Sends signals to the server: ZQ_SIGNAL_... with an argument text each.
 * An empty list gives 122. */
int ZQSignal(ZQControlStruct* control, ZQSignalList* signals, ZQStatusList* status);
/** Cancels the call running on the control record's session (from another
 * thread). The request goes out on a context of its own, so it does not
 * wait for the running call; 3 when the control record has no context. */
int ZQCancel(ZQControlStruct* control, ZQStatusList* status);
/** Tables and views of the server's database not yet used by forms (form
 * types ZQ_SCHEMA_NONE to ZQ_SCHEMA_VENDOR), and their columns. A form type
 * above ZQ_SCHEMA_VENDOR gives 233, a null forms 105; release forms with
 * FreeZQCompoundSchemaList. */
int ZQGetListExtSchemaCandidates(ZQControlStruct* control, uint32_t formType,
                                 ZQCompoundSchemaList* forms, ZQStatusList* status);
/** The columns of an external table or view as candidate fields: one
 * mapping, limit and data type per column. form is required (233), so are
 * the three outputs (105); they are cleared first. */
int ZQGetMultipleExtFieldCandidates(ZQControlStruct* control, ZQCompoundSchema* form,
                                    ZQFieldMappingList* fields, ZQFieldLimitList* limits,
                                    ZQUnsignedIntList* dataTypes, ZQStatusList* status);

/* ---- impersonation, session configuration ------------------------------------- */

/** Later calls to the server run as userName (administrators; protocol 12 or
 * later); null or empty ends the impersonation. Keeps the status list.
 * A previous impersonation is ended first (its server session too); a
 * server below protocol 12 then gives 288. */
int ZQSetImpersonatedUser(ZQControlStruct* control, const char* userName, ZQStatusList* status);

/**@{*/
/** Session variables 1 to 9 and 1960 (set), 1 to 11 and 1960 (get).
 * They forward to ZQSetSessionVariable and ZQGetSessionVariable; any other
 * id adds 8948 with the id appended and returns 2. */
int ZQSetSessionConfiguration(ZQControlStruct* control, uint32_t variableId,
                              const ZQValueStruct* value, ZQStatusList* status);
int ZQGetSessionConfiguration(ZQControlStruct* control, uint32_t variableId, ZQValueStruct* value,
                              ZQStatusList* status);
/**@}*/

/* ---- exported by ordinal (ZQGetOrdinal) ---------------------------------------- */

/** 311: ends the sessions of userName on the admin, fast and list queues.
 * Stops with 2 at the first queue whose call fails. */
int ZQEndUserSessions(ZQControlStruct* control, const char* userName, ZQStatusList* status);
/** 312: the names of a form's fields (form required: 102, 103). names is
 * cleared first (null: 105) and released with FreeZQNameList. */
int ZQGetFormFieldNames(ZQControlStruct* control, const char* form, ZQNameList* names,
                        ZQStatusList* status);
/** 840: server setting 182, the largest number of entries a query returns.
 * limit (null: 105) stays 0 when the server answers no number. */
int ZQGetServerEntryLimit(ZQControlStruct* control, int32_t* limit, ZQStatusList* status);
/**@{*/
/** 845: the entry ids of a form; 846: those the caller submitted.
 * ids is cleared first (null: 105) and released with FreeZQEntryIdList. */
int ZQGetFormEntryIds(ZQControlStruct* control, const char* form, ZQEntryIdList* ids,
                      ZQStatusList* status);
int ZQGetOwnEntryIds(ZQControlStruct* control, const char* form, ZQEntryIdList* ids,
                     ZQStatusList* status);
/**@}*/

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_ADMIN_H */
