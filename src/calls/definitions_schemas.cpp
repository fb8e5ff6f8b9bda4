// The form calls: get, set, create, delete, list and get several.
#include "calls/checks.h"
#include "calls/definition_checks.h"
#include "calls/definitions.h"
#include "diag/diag.h"
#include "diag/record_described.h"
#include "zqapi/zq_definitions.h"

namespace zq::calls {
namespace {

using call::Call;
using defs::Mask;
namespace proc = transport::proc;
namespace wanted = transport::wanted;
namespace changed = transport::changed;

// The parts of a set or create, in the order of their checks.
struct SchemaInput {
  ZQCompoundSchema* kind;
  ZQSchemaInheritanceList* inheritance;
  ZQPermissionList* permissions;
  ZQInternalIdList* subAdminGroups;
  ZQEntryListFieldList* getListFields;
  ZQSortList* sort;
  ZQIndexList* indexes;
  ZQArchiveInfoStruct* archive;
  ZQAuditInfoStruct* audit;
  const char* defaultView;
  const char* helpText;
  const char* owner;
  const char* changeDiary;
  ZQPropList* properties;
};

int checkSchemaInput(SchemaInput& in, bool isSet, ZQStatusList* status) {
  int rc = checks::checkSchemaKind(in.kind, isSet, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkItems(in.inheritance, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkPermissions(in.permissions, true, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkItems(in.subAdminGroups, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkEntryListFields(in.getListFields, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkSortList(in.sort, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkIndexes(in.indexes, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkArchive(in.archive, status);
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(in.defaultView, 1, status);
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(in.owner, 1, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkProperties(in.properties, status);
  return rc;
}

// The request's parts: the given ones borrowed, the others empty.
void fillParts(transport::SchemaParts& p, const SchemaInput& in) {
  if (in.kind) p.kind = *in.kind;
  if (in.inheritance) p.inheritance = *in.inheritance;
  if (in.permissions) p.permissions = *in.permissions;
  if (in.subAdminGroups) p.subAdminGroups = *in.subAdminGroups;
  if (in.getListFields) p.getListFields = *in.getListFields;
  if (in.sort) p.sort = *in.sort;
  if (in.indexes) p.indexes = *in.indexes;
  if (in.archive) p.archive = *in.archive;
  if (in.audit) p.audit = *in.audit;
  copyName(p.defaultView, in.defaultView, sizeof p.defaultView);
  p.common.helpText = const_cast<char*>(in.helpText);
  copyName(p.common.owner, in.owner, sizeof p.common.owner);
  p.common.changeDiary = const_cast<char*>(in.changeDiary);
  if (in.properties) p.common.properties = *in.properties;
}

template <class P, class... A>
void recordInput(Call<P>& call, diag::Command command, const SchemaInput& in, const A&... head) {
  call.record(command, head..., diag::described(in.kind), diag::described(in.inheritance),
              diag::described(in.permissions), in.subAdminGroups, in.getListFields, in.sort,
              diag::described(in.indexes), diag::described(in.archive), diag::described(in.audit),
              in.defaultView, diag::LongText{in.helpText}, in.owner, diag::LongText{in.changeDiary},
              diag::described(in.properties));
}

// The list calls' checks: control record, the name passed on, the field ids
// and the property conditions.
int checkListInput(call::Frame& call, const char* name, ZQInternalIdList* fieldIds,
                   ZQPropList* properties) {
  int rc = ZQCheckControl(call.control(), call.status());
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(name, 1, call.status());
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkItems(fieldIds, call.status());
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkProperties(properties, call.status());
  return rc;
}

template <class A>
void fillListArgs(A& a, ZQTimestamp changedSince, uint32_t schemaType, const char* name,
                  ZQInternalIdList* fieldIds, ZQPropList* properties) {
  a.changedSince = changedSince;
  a.schemaType = schemaType;
  a.name = const_cast<char*>(name ? name : "");
  if (fieldIds) a.fieldIds = *fieldIds;
  if (properties) a.properties = *properties;
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQGetSchema(ZQControlStruct* control, const char* name, ZQCompoundSchema* schema,
                ZQSchemaInheritanceList* inheritance, ZQPermissionList* permissions,
                ZQInternalIdList* subAdminGroups, ZQEntryListFieldList* getListFields,
                ZQSortList* sort, ZQIndexList* indexes, ZQArchiveInfoStruct* archive,
                ZQAuditInfoStruct* audit, ZQNameType defaultView, char** helpText,
                ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
                char** changeDiary, ZQPropList* properties, ZQStatusList* status) {
  defs::clearAll(schema, inheritance, permissions, subAdminGroups, getListFields, sort, indexes,
                 archive, audit, defaultView, helpText, timestamp, owner, lastChanged, changeDiary,
                 properties);
  Call<proc::GetSchema> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(name, 0, status)))
    return call.rc();
  call.record(diag::Command::GetSchema, name);
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    a.wanted = Mask()(schema, wanted::kSchemaKind)(permissions, wanted::kSchemaPermissions)(
                   subAdminGroups, wanted::kSchemaSubAdmins)(
                   getListFields, wanted::kSchemaGetListFields)(sort, wanted::kSchemaSort)(
                   indexes, wanted::kSchemaIndexes)(helpText, wanted::kSchemaHelp)(
                   changeDiary, wanted::kSchemaDiary)(properties, wanted::kSchemaProperties)(
                   archive, wanted::kSchemaArchive)(audit, wanted::kSchemaAudit)(
                   owner, wanted::kSchemaOwner)(lastChanged, wanted::kSchemaLastChanged)
                   .value();
    if (auto* reply = call.send()) {
      transport::SchemaParts& s = reply->schema;
      defs::take(schema, s.kind);
      defs::take(inheritance, s.inheritance);
      defs::take(permissions, s.permissions);
      defs::take(subAdminGroups, s.subAdminGroups);
      defs::take(getListFields, s.getListFields);
      defs::take(sort, s.sort);
      defs::take(indexes, s.indexes);
      defs::take(archive, s.archive);
      defs::take(audit, s.audit);
      defs::takeName(defaultView, s.defaultView, sizeof(ZQNameType));
      defs::take(helpText, s.common.helpText);
      if (timestamp) *timestamp = s.common.timestamp;
      defs::takeName(owner, s.common.owner, sizeof(ZQAccessNameType));
      defs::takeName(lastChanged, s.common.lastChanged, sizeof(ZQAccessNameType));
      defs::take(changeDiary, s.common.changeDiary);
      defs::take(properties, s.common.properties);
    }
  }
  return call.finish(schema, permissions, subAdminGroups, getListFields, sort, indexes, archive,
                     audit, defaultView, helpText, timestamp, owner, lastChanged, changeDiary,
                     properties);
}

int ZQSetSchema(ZQControlStruct* control, const char* name, const char* newName,
                ZQCompoundSchema* schema, ZQSchemaInheritanceList* inheritance,
                ZQPermissionList* permissions, ZQInternalIdList* subAdminGroups,
                ZQEntryListFieldList* getListFields, ZQSortList* sort, ZQIndexList* indexes,
                ZQArchiveInfoStruct* archive, ZQAuditInfoStruct* audit, const char* defaultView,
                const char* helpText, const char* owner, const char* changeDiary,
                ZQPropList* properties, uint32_t option, ZQStatusList* status) {
  Call<proc::SetSchema> call(control, status);
  if (!call || call.refused(ZQCheckControlAndNames(control, name, newName, status)))
    return call.rc();
  const char* rename = defs::renameTo(name, newName);
  const bool kindGiven = schema && schema->schemaType != ZQ_SCHEMA_NONE;
  const uint32_t parts =
      Mask()(*rename != '\0', changed::kSchemaName)(kindGiven, changed::kSchemaKind)(
          inheritance, changed::kSchemaInheritance)(permissions, changed::kSchemaPermissions)(
          subAdminGroups, changed::kSchemaSubAdmins)(getListFields, changed::kSchemaGetListFields)(
          sort, changed::kSchemaSort)(indexes, changed::kSchemaIndexes)(
          archive, changed::kSchemaArchive)(audit, changed::kSchemaAudit)(
          defaultView, changed::kSchemaDefaultView)(helpText, changed::kSchemaHelp)(
          owner, changed::kSchemaOwner)(changeDiary, changed::kSchemaDiary)(
          properties, changed::kSchemaProperties)
          .value();
  if (parts == 0) return defs::nothingToChange(call);
  SchemaInput in{schema,   inheritance, permissions, subAdminGroups, getListFields,
                 sort,     indexes,     archive,     audit,          defaultView,
                 helpText, owner,       changeDiary, properties};
  if (call.refused(checkSchemaInput(in, true, status))) return call.rc();
  recordInput(call, diag::Command::SetSchema, in, name, newName);
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    a.newName = const_cast<char*>(rename);
    a.changed = parts;
    fillParts(a.schema, in);
    if (!kindGiven) a.schema.kind = ZQCompoundSchema{};
    a.option = option;
    call.send();
  }
  return call.finish();
}

int ZQCreateSchema(ZQControlStruct* control, const char* name, ZQCompoundSchema* schema,
                   ZQSchemaInheritanceList* inheritance, ZQPermissionList* permissions,
                   ZQInternalIdList* subAdminGroups, ZQEntryListFieldList* getListFields,
                   ZQSortList* sort, ZQIndexList* indexes, ZQArchiveInfoStruct* archive,
                   ZQAuditInfoStruct* audit, const char* defaultView, const char* helpText,
                   const char* owner, const char* changeDiary, ZQPropList* properties,
                   uint32_t option, ZQStatusList* status) {
  Call<proc::CreateSchema> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(name, 0, status)))
    return call.rc();
  SchemaInput in{schema,   inheritance, permissions, subAdminGroups, getListFields,
                 sort,     indexes,     archive,     audit,          defaultView,
                 helpText, owner,       changeDiary, properties};
  if (call.refused(checkSchemaInput(in, false, status))) return call.rc();
  recordInput(call, diag::Command::CreateSchema, in, name);
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    fillParts(a.schema, in);
    a.option = option;
    call.send();
  }
  return call.finish();
}

int ZQDeleteSchema(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                   ZQStatusList* status) {
  return defs::deleteByName<proc::DeleteSchema>(diag::Command::DeleteSchema, control, name,
                                                deleteOption, status);
}

int ZQGetListSchema(ZQControlStruct* control, ZQTimestamp changedSince, uint32_t schemaType,
                    const char* name, ZQInternalIdList* fieldIds, ZQPropList* properties,
                    ZQNameList* names, ZQStatusList* status) {
  defs::clear(names);
  Call<proc::GetListSchema> call(control, status);
  if (!call || call.refused(checkListInput(call, name, fieldIds, properties))) return call.rc();
  if (!names) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetListSchema, static_cast<uint32_t>(changedSince), schemaType, name,
              fieldIds, diag::described(properties));
  if (call.bind()) {
    fillListArgs(call.args(), changedSince, schemaType, name, fieldIds, properties);
    if (auto* reply = call.send()) call.raise(defs::convertNames(reply->names, names, status));
  }
  return call.finish(names);
}

int ZQGetListSchemaWithAlias(ZQControlStruct* control, ZQTimestamp changedSince,
                             uint32_t schemaType, const char* name, ZQInternalIdList* fieldIds,
                             ZQPropList* properties, const char* locale,
                             ZQUnsignedIntList* viewTypes, ZQNameList* names, ZQNameList* aliases,
                             ZQStatusList* status) {
  defs::clearAll(names, aliases);
  Call<proc::GetListSchemaWithAlias> call(control, status);
  if (!call || call.refused(checkListInput(call, name, fieldIds, properties))) return call.rc();
  if (locale && ZQServerTextLength(locale) > ZQ_MAX_LOCALE_SIZE) return call.fail(kMsgTooLong);
  if (call.refused(checks::checkItems(viewTypes, status))) return call.rc();
  call.record(diag::Command::GetListSchemaWithAlias, static_cast<uint32_t>(changedSince),
              schemaType, name, fieldIds, diag::described(properties), locale, viewTypes);
  if (call.bind()) {
    auto& a = call.args();
    fillListArgs(a, changedSince, schemaType, name, fieldIds, properties);
    a.locale = const_cast<char*>(locale ? locale : "");
    if (viewTypes) a.viewTypes = *viewTypes;
    if (auto* reply = call.send()) {
      call.raise(defs::convertNames(reply->names, names, status));
      call.raise(defs::convertNames(reply->aliases, aliases, status));
    }
  }
  return call.finish(names, aliases);
}

int ZQGetMultipleSchemas(ZQControlStruct* control, ZQTimestamp changedSince, uint32_t schemaType,
                         ZQNameList* wantedNames, ZQInternalIdList* fieldIds, ZQBooleanList* exists,
                         ZQNameList* names, ZQCompoundSchemaList* schemas,
                         ZQSchemaInheritanceListList* inheritance,
                         ZQPermissionListList* permissions, ZQInternalIdListList* subAdminGroups,
                         ZQEntryListFieldListList* getListFields, ZQSortListList* sorts,
                         ZQIndexListList* indexes, ZQArchiveInfoList* archives,
                         ZQAuditInfoList* audits, ZQNameList* defaultViews,
                         ZQTextStringList* helpTexts, ZQTimestampList* timestamps,
                         ZQAccessNameList* owners, ZQAccessNameList* lastChanged,
                         ZQTextStringList* changeDiaries, ZQPropListList* properties,
                         ZQStatusList* status) {
  defs::clearAll(exists, names, schemas, inheritance, permissions, subAdminGroups, getListFields,
                 sorts, indexes, archives, audits, defaultViews, helpTexts, timestamps, owners,
                 lastChanged, changeDiaries, properties);
  Call<proc::GetMultipleSchemas> call(control, status);
  if (!call || call.refusedControl() ||
      call.refused(checks::checkNameList(wantedNames, true, status)) ||
      call.refused(checks::checkItems(fieldIds, status)))
    return call.rc();
  call.record(diag::Command::GetMultipleSchemas, static_cast<uint32_t>(changedSince), schemaType,
              wantedNames, fieldIds);
  if (call.bind()) {
    namespace w = transport::wanted;
    auto& a = call.args();
    a.changedSince = changedSince;
    a.schemaType = schemaType;
    if (wantedNames) a.names = *wantedNames;
    if (fieldIds) a.fieldIds = *fieldIds;
    a.wanted =
        Mask()(exists, w::kMultiSchemaExists)(names, w::kMultiSchemaNames)(
            schemas, w::kMultiSchemaKinds)(inheritance, w::kMultiSchemaInheritance)(
            permissions, w::kMultiSchemaPermissions)(subAdminGroups, w::kMultiSchemaSubAdmins)(
            getListFields, w::kMultiSchemaGetListFields)(sorts, w::kMultiSchemaSort)(
            indexes, w::kMultiSchemaIndexes)(archives, w::kMultiSchemaArchive)(
            audits, w::kMultiSchemaAudit)(defaultViews, w::kMultiSchemaDefaultView)(
            helpTexts, w::kMultiSchemaHelp)(timestamps, w::kMultiSchemaTimestamps)(
            owners, w::kMultiSchemaOwners)(lastChanged, w::kMultiSchemaLastChanged)(
            changeDiaries, w::kMultiSchemaDiaries)(properties, w::kMultiSchemaProperties)
            .value();
    if (auto* r = call.send()) {
      defs::take(exists, r->exists);
      defs::take(names, r->names);
      defs::take(schemas, r->kinds);
      defs::take(inheritance, r->inheritance);
      defs::take(permissions, r->permissions);
      defs::take(subAdminGroups, r->subAdminGroups);
      defs::take(getListFields, r->getListFields);
      defs::take(sorts, r->sorts);
      defs::take(indexes, r->indexes);
      defs::take(archives, r->archives);
      defs::take(audits, r->audits);
      defs::take(defaultViews, r->defaultViews);
      defs::take(helpTexts, r->helpTexts);
      defs::take(timestamps, r->timestamps);
      defs::take(owners, r->owners);
      defs::take(lastChanged, r->lastChanged);
      defs::take(changeDiaries, r->diaries);
      defs::take(properties, r->properties);
    }
  }
  return call.finish(exists, names, schemas, permissions, subAdminGroups, getListFields, sorts,
                     indexes, archives, audits, defaultViews, helpTexts, timestamps, owners,
                     lastChanged, changeDiaries, properties);
}

}  // extern "C"
