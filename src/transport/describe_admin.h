// Wire descriptions of the administration records (records_admin.h).
#pragma once

#include "model/model.h"
#include "model/describe.h"
#include "transport/describe_queries.h"
#include "transport/describe_records.h"
#include "transport/records_admin.h"

namespace zq::model {

namespace detail {

template <class V>
void countedNames(V& v, ZQNameList& names, Label label) {
  list(
      v, names, [](auto& w, ZQNameType& n) { describeCountedName(w, n); }, label);
}

template <class V>
void optionalEntryValues(V& v, ZQFieldValueList*& values, Label label) {
  v.pointer(
      values, [](auto& w, ZQFieldValueList& l) { describeEntryValues(w, l); }, label);
}

}  // namespace detail

template <class V>
void describe(V& v, transport::VerifyUserReply& r) {
  v.member(r.header);
  v.flag(r.administrator, "administrator");
  v.flag(r.subAdministrator, "subAdministrator");
  v.flag(r.customize, "customize");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::GetListGroupArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.user, "user");
  v.suspend(Suspend::namesWhenEncoding);  // a protected password is not text
  v.string(r.password, kUnbounded, "password");
  v.resume(Suspend::namesWhenEncoding);
}

template <class V>
void describe(V& v, transport::GetListGroupReply& r) {
  v.member(r.header);
  v.member(r.groups, "groups");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::SetServerInfoArgs& r) {
  v.member(r.header);
  v.member(r.settings, "settings");
}

template <class V>
void describe(V& v, transport::GetListUserArgs& r) {
  v.member(r.header);
  v.u32(r.listType, "listType");
  v.i32(r.changedSince, "changedSince");
}

template <class V>
void describe(V& v, transport::GetListUserReply& r) {
  v.member(r.header);
  v.member(r.users, "users");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::EndSessionArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.user, "user");
}

template <class V>
void describe(V& v, transport::SetFullTextInfoArgs& r) {
  v.member(r.header);
  v.member(r.settings, "settings");
}

template <class V>
void describe(V& v, transport::GetFullTextInfoArgs& r) {
  v.member(r.header);
  v.member(r.request, "request");
}

template <class V>
void describe(V& v, transport::GetFullTextInfoReply& r) {
  v.member(r.header);
  v.member(r.settings, "settings");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::GetListSQLArgs& r) {
  v.member(r.header);
  v.string(r.sql, kUnbounded, "sql");
  v.u32(r.maxRows, "maxRows");
  v.u32(r.wantMatches, "wantMatches");
}

template <class V>
void describe(V& v, transport::GetListSQLReply& r) {
  v.member(r.header);
  v.member(r.rows, "rows");
  v.u32(r.matches, "matches");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::NameArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.name, "name");
}

template <class V>
void describe(V& v, transport::NameListReply& r) {
  v.member(r.header);
  v.member(r.names, "names");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::EntryIdsReply& r) {
  v.member(r.header);
  v.member(r.ids, "ids");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::ExecuteProcessArgs& r) {
  v.member(r.header);
  v.string(r.command, kUnbounded, "command");
  v.u32(r.wait, "wait");
}

template <class V>
void describe(V& v, transport::ExecuteProcessReply& r) {
  v.member(r.header);
  v.i32(r.returnStatus, "returnStatus");
  v.string(r.output, kUnbounded, "output");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::CreateUserArgs& r) {
  v.string(r.clientHost, kUnbounded, "clientHost");
  v.string(r.accessKey, 16, "accessKey");
  v.string(r.user, 255, "user");
  v.string(r.password, 31, "password");
  v.string(r.emailAddress, kUnbounded, "emailAddress");
  v.u32(r.notifyMechanism, "notifyMechanism");
  v.member(r.groupIds, "groupIds");
  v.member(r.license, "license");
  v.string(r.fullName, kUnbounded, "fullName");
  v.string(r.defaultLocale, kUnbounded, "defaultLocale");
}

template <class V>
void describe(V& v, transport::DeleteNamedArgs& r) {
  v.string(r.clientHost, kUnbounded, "clientHost");
  v.string(r.accessKey, 16, "accessKey");
  v.string(r.name, 255, "name");
}

template <class V>
void describe(V& v, transport::CreateGroupArgs& r) {
  v.string(r.clientHost, kUnbounded, "clientHost");
  v.string(r.accessKey, 16, "accessKey");
  v.string(r.groupName, 255, "groupName");
  v.name(r.longName, NameKind::plain, "longName");
  v.u32(r.groupId, "groupId");
  v.u32(r.groupType, "groupType");
  v.string(r.description, kUnbounded, "description");
  v.u32(r.category, "category");
  v.u32(r.flags, "flags");
}

template <class V>
void describe(V& v, transport::PrivateReply& r) {
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::ValidateFormCacheArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.i32(r.activeLinksSince, "activeLinksSince");
  v.i32(r.menusSince, "menusSince");
  v.i32(r.guidesSince, "guidesSince");
}

template <class V>
void describe(V& v, transport::ValidateFormCacheReply& r) {
  v.member(r.header);
  v.i32(r.formLastChanged, "formLastChanged");
  v.i32(r.activeLinkCount, "activeLinkCount");
  v.i32(r.changedActiveLinkCount, "changedActiveLinkCount");
  detail::countedNames(v, r.changedMenus, "changedMenus");
  v.i32(r.groupsLastChanged, "groupsLastChanged");
  v.i32(r.usersLastChanged, "usersLastChanged");
  detail::countedNames(v, r.changedGuides, "changedGuides");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::LocalizedValueArgs& r) {
  v.member(r.header);
  v.member(r.request, "request");
  v.u32(r.wanted, "wanted");
}

template <class V>
void describe(V& v, transport::LocalizedValueReply& r) {
  v.member(r.header);
  v.member(r.value, "value");
  v.i32(r.timestamp, "timestamp");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::LocalizedValuesArgs& r) {
  v.member(r.header);
  v.member(r.requests, "requests");
  v.u32(r.wanted, "wanted");
}

template <class V>
void describe(V& v, transport::LocalizedValuesReply& r) {
  v.member(r.header);
  v.member(r.values, "values");
  v.member(r.timestamps, "timestamps");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::SignalArgs& r) {
  v.member(r.header);
  v.member(r.signals, "signals");
}

template <class V>
void describe(V& v, transport::ExtSchemaCandidatesArgs& r) {
  v.member(r.header);
  v.u32(r.formType, "formType");
}

template <class V>
void describe(V& v, transport::ExtSchemaCandidatesReply& r) {
  v.member(r.header);
  v.member(r.forms, "forms");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::ExtFieldCandidatesArgs& r) {
  v.member(r.header);
  v.member(r.form, "form");
}

template <class V>
void describe(V& v, transport::ExtFieldCandidatesReply& r) {
  v.member(r.header);
  v.member(r.fields, "fields");
  v.member(r.limits, "limits");
  v.member(r.dataTypes, "dataTypes");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::SQLForActiveLinkArgs& r) {
  v.member(r.header);
  v.string(r.sql, kUnbounded, "sql");
  v.u32(r.actionIndex, "actionIndex");
  v.u32(r.actionKind, "actionKind");
  v.u32(r.activeLinkOrder, "activeLinkOrder");
  detail::optionalEntryValues(v, r.fieldValues, "fieldValues");
  detail::optionalEntryValues(v, r.databaseValues, "databaseValues");
  v.u32(r.maxRows, "maxRows");
  v.u32(r.wanted, "wanted");
}

template <class V>
void describe(V& v, transport::SQLForActiveLinkReply& r) {
  v.member(r.header);
  v.member(r.rows, "rows");
  v.u32(r.matches, "matches");
  v.string(r.returnedCommand, kUnbounded, "returnedCommand");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::ProcessForActiveLinkArgs& r) {
  v.member(r.header);
  v.string(r.command, kUnbounded, "command");
  v.u32(r.actionIndex, "actionIndex");
  v.u32(r.actionKind, "actionKind");
  v.u32(r.activeLinkOrder, "activeLinkOrder");
  v.u32(r.timerInterval, "timerInterval");
  detail::optionalEntryValues(v, r.fieldValues, "fieldValues");
  describeEntryValues(v, r.databaseValues);
  v.u32(r.wanted, "wanted");
}

template <class V>
void describe(V& v, transport::ProcessForActiveLinkReply& r) {
  v.member(r.header);
  v.i32(r.returnStatus, "returnStatus");
  v.string(r.output, kUnbounded, "output");
  v.string(r.returnedCommand, kUnbounded, "returnedCommand");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::CurrencyRatioSetsArgs& r) {
  v.member(r.header);
  v.member(r.ratioTimes, "ratioTimes");
}

template <class V>
void describe(V& v, transport::CurrencyRatioSetsReply& r) {
  v.member(r.header);
  v.member(r.ratioSets, "ratioSets");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::EntryPointsArgs& r) {
  v.member(r.header);
  v.i32(r.changedSince, "changedSince");
  v.member(r.applications, "applications");
  v.member(r.referenceTypes, "referenceTypes");
  v.string(r.displayTag, kUnbounded, "displayTag");
  v.u32(r.vuiType, "vuiType");
  v.flag(r.hiddenIncluded, "hiddenIncluded");
}

template <class V>
void describe(V& v, transport::EntryPointsReply& r) {
  v.member(r.header);
  v.member(r.names, "names");
  v.member(r.types, "types");
  v.member(r.displayLabels, "displayLabels");
  v.member(r.ownerApplications, "ownerApplications");
  v.member(r.ownerApplicationLabels, "ownerApplicationLabels");
  v.member(r.permissions, "permissions");
  v.member(r.ownerObjects, "ownerObjects");
  v.member(r.descriptions, "descriptions");
  v.member(r.references, "references");
  v.member(r.helpTexts, "helpTexts");
  v.member(r.timestamps, "timestamps");
  v.member(r.properties, "properties");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::GetListRoleArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.application, "application");
  detail::argumentName(v, r.user, "user");
  v.suspend(Suspend::namesWhenEncoding);
  v.string(r.password, kUnbounded, "password");
  v.resume(Suspend::namesWhenEncoding);
}

template <class V>
void describe(V& v, transport::GetListRoleReply& r) {
  v.member(r.header);
  v.member(r.roles, "roles");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::ApplicationStateArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.application, "application");
  detail::argumentName(v, r.state, "state");
}

template <class V>
void describe(V& v, transport::StateNamesReply& r) {
  v.member(r.header);
  v.member(r.states, "states");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::StateReply& r) {
  v.member(r.header);
  v.string(r.state, 255, "state");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::ObjectChangeTimesReply& r) {
  v.member(r.header);
  v.member(r.times, "times");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::CacheEventArgs& r) {
  v.member(r.header);
  v.member(r.eventIds, "eventIds");
  v.u32(r.returnOption, "returnOption");
}

template <class V>
void describe(V& v, transport::CacheEventReply& r) {
  v.member(r.header);
  v.member(r.events, "events");
  v.u32(r.count, "count");
  v.member(r.status);
}

}  // namespace zq::model
