// Argument and reply records of the administration procedures and the other
// server calls: settings, statistics, full text, users, groups, roles,
// localized values, currency ratios, applications, entry points, cache
// checks, SQL, processes, signals, cancel, external candidates, the end of a
// session and the ordinal exports. Strings are borrowed in requests the
// client builds and owned in decoded records.
#pragma once

#include "transport/records.h"
#include "zqapi/zq_admin.h"

namespace zq::transport {

// Procedure 32: the caller's rights.
struct VerifyUserReply {
  RequestHeader header;
  uint8_t administrator;
  uint8_t subAdministrator;
  uint8_t customize;
  ZQStatusList status;
};

// Procedure 33: groups of a user.
struct GetListGroupArgs {
  RequestHeader header;
  char* user;
  char* password;  // empty: none
};
struct GetListGroupReply {
  RequestHeader header;
  ZQGroupInfoList groups;
  ZQStatusList status;
};

// Procedure 44: change server settings (36 and 57 use ServerInfoArgs and
// ServerInfoReply).
struct SetServerInfoArgs {
  RequestHeader header;
  ZQServerInfoList settings;
};

// Procedure 46: users.
struct GetListUserArgs {
  RequestHeader header;
  uint32_t listType;
  ZQTimestamp changedSince;
};
struct GetListUserReply {
  RequestHeader header;
  ZQUserInfoList users;
  ZQStatusList status;
};

// Procedure 47: the end of a session, of an impersonation (the impersonated
// user) or of a user's sessions (ordinal 311). Termination sends no name.
struct EndSessionArgs {
  RequestHeader header;
  char* user;
};

// Procedures 53 and 54: full-text settings.
struct SetFullTextInfoArgs {
  RequestHeader header;
  ZQFullTextInfoList settings;
};
struct GetFullTextInfoArgs {
  RequestHeader header;
  ZQFullTextInfoRequestList request;
};
struct GetFullTextInfoReply {
  RequestHeader header;
  ZQFullTextInfoList settings;
  ZQStatusList status;
};

// Procedure 59: direct SQL.
struct GetListSQLArgs {
  RequestHeader header;
  char* sql;
  uint32_t maxRows;
  uint32_t wantMatches;  // 1: count every row
};
struct GetListSQLReply {
  RequestHeader header;
  ZQValueListList rows;
  uint32_t matches;
  ZQStatusList status;
};

// Procedures 60, 132, 133: a name in, names or entry ids out.
struct NameArgs {
  RequestHeader header;
  char* name;
};
struct NameListReply {
  RequestHeader header;
  ZQNameList names;
  ZQStatusList status;
};
struct EntryIdsReply {
  RequestHeader header;
  ZQEntryIdList ids;
  ZQStatusList status;
};

// Procedure 61: a process.
struct ExecuteProcessArgs {
  RequestHeader header;
  char* command;
  uint32_t wait;  // 1: wait for the process and return its status and output
};
struct ExecuteProcessReply {
  RequestHeader header;
  int32_t returnStatus;
  char* output;
  ZQStatusList status;
};

// Procedures 90 to 93: on a private context, without request header; the
// client host name comes first. The reply is the status list alone.
struct CreateUserArgs {
  char* clientHost;
  char* accessKey;
  char* user;
  char* password;
  char* emailAddress;
  uint32_t notifyMechanism;
  ZQInternalIdList groupIds;
  ZQUserLicenseStruct license;
  char* fullName;
  char* defaultLocale;
};
struct DeleteNamedArgs {  // 91 and 93
  char* clientHost;
  char* accessKey;
  char* name;
};
struct CreateGroupArgs {
  char* clientHost;
  char* accessKey;
  char* groupName;
  ZQNameType longName;
  ZQInternalId groupId;
  uint32_t groupType;
  char* description;
  uint32_t category;
  uint32_t flags;
};
struct PrivateReply {
  ZQStatusList status;
};

// Procedure 94: is the client's cache of a form's definitions current?
struct ValidateFormCacheArgs {
  RequestHeader header;
  char* form;
  ZQTimestamp activeLinksSince;
  ZQTimestamp menusSince;
  ZQTimestamp guidesSince;
};
struct ValidateFormCacheReply {
  RequestHeader header;
  ZQTimestamp formLastChanged;
  int32_t activeLinkCount;
  int32_t changedActiveLinkCount;
  ZQNameList changedMenus;  // counted texts on the wire
  ZQTimestamp groupsLastChanged;
  ZQTimestamp usersLastChanged;
  ZQNameList changedGuides;  // counted texts on the wire
  ZQStatusList status;
};

// Procedures 99 and 114: localized values. Wanted: value 1, timestamp 2.
struct LocalizedValueArgs {
  RequestHeader header;
  ZQLocalizedRequestStruct request;
  uint32_t wanted;
};
struct LocalizedValueReply {
  RequestHeader header;
  ZQValueStruct value;
  ZQTimestamp timestamp;
  ZQStatusList status;
};
struct LocalizedValuesArgs {
  RequestHeader header;
  ZQLocalizedRequestList requests;
  uint32_t wanted;
};
struct LocalizedValuesReply {
  RequestHeader header;
  ZQValueList values;
  ZQTimestampList timestamps;
  ZQStatusList status;
};

// Procedure 100: signals.
struct SignalArgs {
  RequestHeader header;
  ZQSignalList signals;
};

// Procedures 106 and 107: candidates of external data for forms and fields.
struct ExtSchemaCandidatesArgs {
  RequestHeader header;
  uint32_t formType;
};
struct ExtSchemaCandidatesReply {
  RequestHeader header;
  ZQCompoundSchemaList forms;
  ZQStatusList status;
};
struct ExtFieldCandidatesArgs {
  RequestHeader header;
  ZQCompoundSchema form;
};
struct ExtFieldCandidatesReply {
  RequestHeader header;
  ZQFieldMappingList fields;
  ZQFieldLimitList limits;
  ZQUnsignedIntList dataTypes;
  ZQStatusList status;
};

// Procedure 116: SQL on behalf of an active link. Wanted: matches 1, the
// returned command 2. The value lists travel only when non-empty.
struct SQLForActiveLinkArgs {
  RequestHeader header;
  char* sql;
  uint32_t actionIndex;
  uint32_t actionKind;
  uint32_t activeLinkOrder;
  ZQFieldValueList* fieldValues;
  ZQFieldValueList* databaseValues;
  uint32_t maxRows;
  uint32_t wanted;
};
struct SQLForActiveLinkReply {
  RequestHeader header;
  ZQValueListList rows;
  uint32_t matches;
  char* returnedCommand;
  ZQStatusList status;
};

// Procedure 117: a process on behalf of an active link. Wanted: status and
// output 1, the returned command 2.
struct ProcessForActiveLinkArgs {
  RequestHeader header;
  char* command;
  uint32_t actionIndex;
  uint32_t actionKind;
  uint32_t activeLinkOrder;
  uint32_t timerInterval;
  ZQFieldValueList* fieldValues;
  ZQFieldValueList databaseValues;
  uint32_t wanted;
};
struct ProcessForActiveLinkReply {
  RequestHeader header;
  int32_t returnStatus;
  char* output;
  char* returnedCommand;
  ZQStatusList status;
};

// Procedure 123: currency ratio sets, one per requested time.
struct CurrencyRatioSetsArgs {
  RequestHeader header;
  ZQTimestampList ratioTimes;
};
struct CurrencyRatioSetsReply {
  RequestHeader header;
  ZQTextStringList ratioSets;
  ZQStatusList status;
};

// Procedure 125: entry points.
struct EntryPointsArgs {
  RequestHeader header;
  ZQTimestamp changedSince;
  ZQNameList applications;
  ZQReferenceTypeList referenceTypes;
  char* displayTag;
  uint32_t vuiType;
  uint8_t hiddenIncluded;
};
struct EntryPointsReply {
  RequestHeader header;
  ZQNameList names;
  ZQUnsignedIntList types;
  ZQTextStringList displayLabels;
  ZQNameList ownerApplications;
  ZQTextStringList ownerApplicationLabels;
  ZQPermissionListList permissions;
  ZQContainerOwnerObjListList ownerObjects;
  ZQTextStringList descriptions;
  ZQReferenceListList references;
  ZQTextStringList helpTexts;
  ZQTimestampList timestamps;
  ZQPropListList properties;
  ZQStatusList status;
};

// Procedure 126: roles.
struct GetListRoleArgs {
  RequestHeader header;
  char* application;
  char* user;
  char* password;  // empty: none
};
struct GetListRoleReply {
  RequestHeader header;
  ZQRoleInfoList roles;
  ZQStatusList status;
};

// Procedures 127 to 129: application states (128 asks with NameArgs).
struct ApplicationStateArgs {
  RequestHeader header;
  char* application;
  char* state;
};
struct StateNamesReply {
  RequestHeader header;
  ZQNameList states;
  ZQStatusList status;
};
struct StateReply {
  RequestHeader header;
  char* state;
  ZQStatusList status;
};

// Procedure 163: change times of the kinds of definitions.
struct ObjectChangeTimesReply {
  RequestHeader header;
  ZQObjectChangeTimesList times;
  ZQStatusList status;
};

// Procedure 182: wait for cache events.
struct CacheEventArgs {
  RequestHeader header;
  ZQUnsignedIntList eventIds;
  uint32_t returnOption;
};
struct CacheEventReply {
  RequestHeader header;
  ZQUnsignedIntList events;
  uint32_t count;
  ZQStatusList status;
};

}  // namespace zq::transport
