// Handlers of the form and field procedures.
#include <strings.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "accounts.h"
#include "form_handlers.h"
#include "server.h"
#include "zqapi/zq_definitions.h"
#include "zqapi/zq_free.h"

namespace zqserver {
namespace {

using namespace zq::transport;
namespace w = zq::transport::wanted;
namespace c = zq::transport::changed;

// ---- forms -----------------------------------------------------------------------------------

void getSchema(Request<proc::GetSchema>& call) {
  auto& a = call.args();
  call.server.faults().lastWantedMask = a.wanted;
  FormDefinitions defs(call.server.store());
  auto row = defs.findForm(textOf(a.name));
  if (!row) return report(call, zq::kMsgNoSuchForm, textOf(a.name));
  if (report(call, defs.readForm(*row, call.reply().schema)))
    keepWanted(call.reply().schema, a.wanted, schemaPartRules());
}

void setSchema(Request<proc::SetSchema>& call) {
  auto& a = call.args();
  call.server.faults().lastChangedMask = a.changed;
  FormDefinitions defs(call.server.store());
  if (report(call, defs.setForm(textOf(a.name), textOf(a.newName), a.changed, a.schema,
                                actorOf(a.header)))) {
    syncPermissions(call, defs, textOf(a.name));
    if (a.newName && *a.newName) syncPermissions(call, defs, textOf(a.newName));
  }
}

void createSchema(Request<proc::CreateSchema>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  if (report(call, defs.createForm(textOf(a.name), a.schema, actorOf(a.header))))
    syncPermissions(call, defs, textOf(a.name));
}

void deleteSchema(Request<proc::DeleteSchema>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  if (report(call, defs.deleteForm(textOf(a.name), a.option)))
    syncPermissions(call, defs, textOf(a.name));
}

// The forms a list call selects, with their parts.
struct Listed {
  Definition row;
  OwnedParts<SchemaParts> parts;
};

// The conditions: changed since, of a kind, having every field of fieldIds
// and every property of properties (null: any).
std::vector<std::unique_ptr<Listed>> selectForms(FormDefinitions& defs, ZQTimestamp changedSince,
                                                 uint32_t schemaType,
                                                 const ZQInternalIdList& fieldIds,
                                                 const ZQPropList* properties) {
  std::vector<std::unique_ptr<Listed>> out;
  for (Definition& row : defs.store().list(DefinitionKind::form, 0, changedSince)) {
    auto item = std::make_unique<Listed>();
    if (!defs.readForm(row, item->parts.p).ok()) continue;
    if (schemaType != ZQ_LIST_SCHEMA_ALL && item->parts.p.kind.schemaType != schemaType) continue;
    bool hasFields = true;
    for (uint32_t i = 0; hasFields && fieldIds.items && i < fieldIds.count; ++i)
      hasFields =
          defs.store().findById(DefinitionKind::field, row.rowId, fieldIds.items[i]).has_value();
    if (!hasFields ||
        (properties && !propertiesMatch(item->parts.p.common.properties, *properties)))
      continue;
    item->row = std::move(row);
    out.push_back(std::move(item));
  }
  return out;
}

void getListSchema(Request<proc::GetListSchema>& call) {
  FormDefinitions defs(call.server.store());
  std::vector<std::string> names;
  auto& a = call.args();
  for (auto& f : selectForms(defs, a.changedSince, a.schemaType, a.fieldIds, &a.properties))
    names.push_back(f->row.name);
  if (!wireNames(names, call.reply().names)) report(call, zq::kMsgNoMemory);
}

// A form's alias: its first view of the locale (empty: any) and of one of
// the types (none: any); the form's own name when it has none.
std::string aliasOf(FormDefinitions& defs, const Definition& form, const std::string& locale,
                    const ZQUnsignedIntList& types) {
  for (const Definition& v : defs.store().list(DefinitionKind::view, form.rowId)) {
    OwnedParts<ViewParts> view;
    if (!defs.readView(v, view.p).ok()) continue;
    if (!locale.empty() && locale != textOf(view.p.locale)) continue;
    bool typeOk = types.count == 0 || !types.items;
    for (uint32_t i = 0; !typeOk && i < types.count; ++i)
      typeOk = types.items[i] == view.p.viewType;
    if (typeOk) return v.name;
  }
  return form.name;
}

void getListSchemaWithAlias(Request<proc::GetListSchemaWithAlias>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  std::vector<std::string> names, aliases;
  for (auto& f : selectForms(defs, a.changedSince, a.schemaType, a.fieldIds, &a.properties)) {
    names.push_back(f->row.name);
    aliases.push_back(aliasOf(defs, f->row, textOf(a.locale), a.viewTypes));
  }
  if (!wireNames(names, call.reply().names) || !wireNames(aliases, call.reply().aliases))
    report(call, zq::kMsgNoMemory);
}

void getMultipleSchemas(Request<proc::GetMultipleSchemas>& call) {
  auto& a = call.args();
  auto& r = call.reply();
  call.server.faults().lastWantedMask = a.wanted;
  FormDefinitions defs(call.server.store());
  // The forms asked for by name, or every form the conditions select.
  std::vector<std::unique_ptr<Listed>> forms;
  auto selected = selectForms(defs, a.changedSince, a.schemaType, a.fieldIds, nullptr);
  if (a.names.count && a.names.items) {
    for (uint32_t i = 0; i < a.names.count; ++i) {
      const std::string name(a.names.items[i], strnlen(a.names.items[i], sizeof(ZQNameType)));
      std::unique_ptr<Listed> hit;
      for (auto& f : selected)
        if (f && strcasecmp(f->row.name.c_str(), name.c_str()) == 0) hit = std::move(f);
      if (!hit) {
        hit = std::make_unique<Listed>();
        hit->row.name = name;
        hit->row.rowId = 0;
      }
      forms.push_back(std::move(hit));
    }
  } else {
    forms = std::move(selected);
  }
  const uint32_t n = static_cast<uint32_t>(forms.size());
  const uint32_t m = a.wanted;
  const bool ok = sized(r.exists, n, m & w::kMultiSchemaExists) &&
                  sized(r.names, n, m & w::kMultiSchemaNames) &&
                  sized(r.kinds, n, m & w::kMultiSchemaKinds) &&
                  sized(r.inheritance, n, m & w::kMultiSchemaInheritance) &&
                  sized(r.permissions, n, m & w::kMultiSchemaPermissions) &&
                  sized(r.subAdminGroups, n, m & w::kMultiSchemaSubAdmins) &&
                  sized(r.getListFields, n, m & w::kMultiSchemaGetListFields) &&
                  sized(r.sorts, n, m & w::kMultiSchemaSort) &&
                  sized(r.indexes, n, m & w::kMultiSchemaIndexes) &&
                  sized(r.archives, n, m & w::kMultiSchemaArchive) &&
                  sized(r.audits, n, m & w::kMultiSchemaAudit) &&
                  sized(r.defaultViews, n, m & w::kMultiSchemaDefaultView) &&
                  sized(r.helpTexts, n, m & w::kMultiSchemaHelp) &&
                  sized(r.timestamps, n, m & w::kMultiSchemaTimestamps) &&
                  sized(r.owners, n, m & w::kMultiSchemaOwners) &&
                  sized(r.lastChanged, n, m & w::kMultiSchemaLastChanged) &&
                  sized(r.diaries, n, m & w::kMultiSchemaDiaries) &&
                  sized(r.properties, n, m & w::kMultiSchemaProperties);
  if (!ok) return report(call, zq::kMsgNoMemory);
  for (uint32_t i = 0; i < n; ++i) {
    Listed& f = *forms[i];
    ZQNameType name{};
    zq::copyName(name, f.row.name.c_str(), sizeof name);
    putItem(r.names, i, name);
    if (f.row.rowId == 0) continue;
    ZQBoolean there = 1;
    putItem(r.exists, i, there);
    SchemaParts& p = f.parts.p;
    putItem(r.kinds, i, p.kind);
    putItem(r.inheritance, i, p.inheritance);
    putItem(r.permissions, i, p.permissions);
    putItem(r.subAdminGroups, i, p.subAdminGroups);
    putItem(r.getListFields, i, p.getListFields);
    putItem(r.sorts, i, p.sort);
    putItem(r.indexes, i, p.indexes);
    putItem(r.archives, i, p.archive);
    putItem(r.audits, i, p.audit);
    putItem(r.defaultViews, i, p.defaultView);
    putItem(r.helpTexts, i, p.common.helpText);
    putItem(r.timestamps, i, p.common.timestamp);
    putItem(r.owners, i, p.common.owner);
    putItem(r.lastChanged, i, p.common.lastChanged);
    putItem(r.diaries, i, p.common.changeDiary);
    putItem(r.properties, i, p.common.properties);
  }
}

// ---- fields ----------------------------------------------------------------------------------

void getField(Request<proc::GetField>& call) {
  auto& a = call.args();
  call.server.faults().lastWantedMask = a.wanted;
  FormDefinitions defs(call.server.store());
  answerGet(call, defs, a.form, DefinitionKind::field, a.fieldId, zq::kMsgNoSuchField, a.wanted,
            call.reply().field, &FormDefinitions::readField, fieldPartRules());
}

void setField(Request<proc::SetField>& call) {
  auto& a = call.args();
  call.server.faults().lastChangedMask = a.changed;
  FormDefinitions defs(call.server.store());
  // The set options (bits 12 and 13) change nothing the server keeps.
  if (report(call, defs.setField(textOf(a.form), a.fieldId, a.changed & ~c::kFieldSetOptions,
                                 a.field, actorOf(a.header))))
    syncPermissions(call, defs, textOf(a.form));
}

void createField(Request<proc::CreateField>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  ZQInternalId id = a.fieldId;
  if (report(call, defs.createField(textOf(a.form), id, a.field, actorOf(a.header)))) {
    call.reply().id = id;
    syncPermissions(call, defs, textOf(a.form));
  }
}

void deleteField(Request<proc::DeleteField>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  if (report(call, defs.deleteField(textOf(a.form), a.id)))
    syncPermissions(call, defs, textOf(a.form));
}

void deleteMultipleFields(Request<proc::DeleteMultipleFields>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  std::vector<ZQInternalId> ids;
  for (uint32_t i = 0; a.fieldIds.items && i < a.fieldIds.count; ++i)
    ids.push_back(a.fieldIds.items[i]);
  if (report(call, defs.deleteFields(textOf(a.form), ids)))
    syncPermissions(call, defs, textOf(a.form));
}

// Field-type selector bits by data type.
uint32_t fieldTypeBit(uint32_t dataType) {
  switch (dataType) {
    case ZQ_DATA_TYPE_TRIM:
      return ZQ_FIELD_TYPE_TRIM;
    case ZQ_DATA_TYPE_CONTROL:
      return ZQ_FIELD_TYPE_CONTROL;
    case ZQ_DATA_TYPE_PAGE:
      return ZQ_FIELD_TYPE_PAGE;
    case ZQ_DATA_TYPE_PAGE_HOLDER:
      return ZQ_FIELD_TYPE_PAGE_HOLDER;
    case ZQ_DATA_TYPE_TABLE:
      return ZQ_FIELD_TYPE_TABLE;
    case ZQ_DATA_TYPE_COLUMN:
      return ZQ_FIELD_TYPE_COLUMN;
    case ZQ_DATA_TYPE_ATTACH_POOL:
      return ZQ_FIELD_TYPE_ATTACH_POOL;
    default:
      return ZQ_FIELD_TYPE_DATA;
  }
}

void getListField(Request<proc::GetListField>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  auto form = formOf(call, defs, a.form);
  if (!form) return;
  std::vector<ZQInternalId> ids;
  for (const Definition& row :
       defs.store().list(DefinitionKind::field, form->rowId, a.changedSince)) {
    OwnedParts<FieldParts> f;
    if (!defs.readField(row, f.p).ok()) continue;
    if (a.fieldType == 0 || (a.fieldType & fieldTypeBit(f.p.dataType))) ids.push_back(row.objectId);
  }
  ZQInternalIdList& out = call.reply().ids;
  if (!sized(out, static_cast<uint32_t>(ids.size()), true)) return report(call, zq::kMsgNoMemory);
  for (size_t i = 0; i < ids.size(); ++i) out.items[i] = ids[i];
}

void getMultipleFields(Request<proc::GetMultipleFields>& call) {
  auto& a = call.args();
  auto& r = call.reply();
  call.server.faults().lastWantedMask = a.wanted;
  FormDefinitions defs(call.server.store());
  auto form = formOf(call, defs, a.form);
  if (!form) return;
  std::vector<ZQInternalId> ids;
  if (a.fieldIds.count && a.fieldIds.items) {
    ids.assign(a.fieldIds.items, a.fieldIds.items + a.fieldIds.count);
  } else {
    for (const Definition& row : defs.store().list(DefinitionKind::field, form->rowId))
      ids.push_back(row.objectId);
  }
  const uint32_t n = static_cast<uint32_t>(ids.size());
  const uint32_t m = a.wanted;
  const bool ok = sized(r.exists, n, m & w::kMultiFieldExists) &&
                  sized(r.ids, n, m & w::kMultiFieldIds) &&
                  sized(r.names, n, m & w::kMultiFieldNames) &&
                  sized(r.mappings, n, m & w::kMultiFieldMappings) &&
                  sized(r.dataTypes, n, m & w::kMultiFieldDataTypes) &&
                  sized(r.options, n, m & w::kMultiFieldOptions) &&
                  sized(r.createModes, n, m & w::kMultiFieldCreateModes) &&
                  sized(r.optionBits, n, m & w::kMultiFieldOptionBits) &&
                  sized(r.defaults, n, m & w::kMultiFieldDefaults) &&
                  sized(r.permissions, n, m & w::kMultiFieldPermissions) &&
                  sized(r.limits, n, m & w::kMultiFieldLimits) &&
                  sized(r.displays, n, m & w::kMultiFieldDisplays) &&
                  sized(r.helpTexts, n, m & w::kMultiFieldHelp) &&
                  sized(r.timestamps, n, m & w::kMultiFieldTimestamps) &&
                  sized(r.owners, n, m & w::kMultiFieldOwners) &&
                  sized(r.lastChanged, n, m & w::kMultiFieldLastChanged) &&
                  sized(r.diaries, n, m & w::kMultiFieldDiaries);
  if (!ok) return report(call, zq::kMsgNoMemory);
  for (uint32_t i = 0; i < n; ++i) {
    ZQInternalId id = ids[i];  // putItem takes what it is given
    putItem(r.ids, i, id);
    auto row = defs.store().findById(DefinitionKind::field, form->rowId, ids[i]);
    OwnedParts<FieldParts> f;
    if (!row || !defs.readField(*row, f.p).ok()) continue;
    ZQBoolean there = 1;
    putItem(r.exists, i, there);
    FieldParts& p = f.p;
    putItem(r.names, i, p.fieldName);
    putItem(r.mappings, i, p.mapping);
    putItem(r.dataTypes, i, p.dataType);
    putItem(r.options, i, p.option);
    putItem(r.createModes, i, p.createMode);
    putItem(r.optionBits, i, p.optionBits);
    putItem(r.defaults, i, p.defaultValue);
    putItem(r.permissions, i, p.permissions);
    putItem(r.limits, i, p.limit);
    putItem(r.displays, i, p.displays);
    putItem(r.helpTexts, i, p.common.helpText);
    putItem(r.timestamps, i, p.common.timestamp);
    putItem(r.owners, i, p.common.owner);
    putItem(r.lastChanged, i, p.common.lastChanged);
    putItem(r.diaries, i, p.common.changeDiary);
  }
}

// Item i of a per-field list moved into a part, when the list has it.
template <class L, class T>
bool takeItem(L& list, uint32_t i, T& part) {
  if (!list.items || i >= list.count || !list.items[i]) return false;
  if constexpr (std::is_array_v<T>) {
    memcpy(part, *list.items[i], sizeof(T));
  } else {
    zq::model::release(part);
    part = *list.items[i];
    *list.items[i] = T{};
  }
  return true;
}
template <class L>
bool takeNumber(L& list, uint32_t i, uint32_t& part) {
  if (!list.items || i >= list.count || !list.items[i]) return false;
  part = *list.items[i];
  return true;
}
bool takeText(ZQTextStringList& list, uint32_t i, char*& part) {
  if (!list.items || i >= list.count || !list.items[i]) return false;
  ZQFree(part);
  part = list.items[i];
  list.items[i] = nullptr;
  return true;
}

// Field i of the per-field lists, and the parts it gives.
uint32_t fieldOf(FieldLists& l, uint32_t i, FieldParts& p) {
  uint32_t given = 0;
  if (takeItem(l.names, i, p.fieldName)) given |= c::kFieldName;
  if (takeItem(l.mappings, i, p.mapping)) given |= c::kFieldMapping;
  takeNumber(l.dataTypes, i, p.dataType);
  if (takeNumber(l.options, i, p.option)) given |= c::kFieldOption;
  if (takeNumber(l.createModes, i, p.createMode)) given |= c::kFieldCreateMode;
  if (takeNumber(l.optionBits, i, p.optionBits)) given |= c::kFieldOptionBits;
  if (takeItem(l.defaults, i, p.defaultValue)) given |= c::kFieldDefault;
  if (takeItem(l.permissions, i, p.permissions)) given |= c::kFieldPermissions;
  if (takeItem(l.limits, i, p.limit)) given |= c::kFieldLimit;
  if (takeItem(l.displays, i, p.displays)) given |= c::kFieldDisplays;
  if (takeText(l.helpTexts, i, p.common.helpText)) given |= c::kFieldHelp;
  if (takeItem(l.owners, i, p.common.owner)) given |= c::kFieldOwner;
  if (takeText(l.diaries, i, p.common.changeDiary)) given |= c::kFieldDiary;
  return given;
}

void createMultipleFields(Request<proc::CreateMultipleFields>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  const Actor actor = actorOf(a.header);
  DefinitionUnit unit(defs.sql());
  for (uint32_t i = 0; a.fieldIds.items && i < a.fieldIds.count; ++i) {
    OwnedParts<FieldParts> field;
    fieldOf(a.fields, i, field.p);
    ZQInternalId id = a.fieldIds.items[i];
    if (id == 0) return report(call, zq::kMsgIdMissing);
    if (!report(call, defs.createField(textOf(a.form), id, field.p, actor))) return;
  }
  if (!unit.commit()) return report(call, zq::kMsgStoreFailure);
  syncPermissions(call, defs, textOf(a.form));
}

// Each field on its own: a field that fails keeps its message in its own
// status list (and in the call's), the others are changed.
void setMultipleFields(Request<proc::SetMultipleFields>& call) {
  auto& a = call.args();
  auto& r = call.reply();
  FormDefinitions defs(call.server.store());
  const Actor actor = actorOf(a.header);
  const uint32_t n = a.fieldIds.items ? a.fieldIds.count : 0;
  if (!sized(r.fieldStatus, n, true)) return report(call, zq::kMsgNoMemory);
  for (uint32_t i = 0; i < n; ++i) {
    OwnedParts<FieldParts> field;
    const uint32_t given = fieldOf(a.fields, i, field.p);
    const StoreResult result =
        defs.setField(textOf(a.form), a.fieldIds.items[i], given, field.p, actor);
    if (result.ok()) continue;
    ZQAddStatus(&r.fieldStatus.items[i], ZQ_MESSAGE_ERROR, result.message,
                result.appended.empty() ? nullptr : result.appended.c_str());
    report(call, result);
  }
  syncPermissions(call, defs, textOf(a.form));
}

}  // namespace

// Access is decided by the accounts from the permissions a form's stored
// definitions hold: hand them over after every change of the form or its
// fields (a form that is gone is forgotten).
void syncPermissions(Call& call, FormDefinitions& defs, const std::string& form) {
  Accounts& accounts = call.server.accounts();
  accounts.forgetForm(form);
  auto row = defs.findForm(form);
  if (!row) return;
  OwnedParts<SchemaParts> schema;
  if (defs.readForm(*row, schema.p).ok()) accounts.setFormPermissions(form, schema.p.permissions);
  for (const Definition& f : defs.store().list(DefinitionKind::field, row->rowId, 0)) {
    OwnedParts<FieldParts> field;
    if (defs.readField(f, field.p).ok() && field.p.permissions.count)
      accounts.setFieldPermissions(form, f.objectId, field.p.permissions);
  }
}

void syncAllPermissions(Call& call) {
  call.server.accounts().forgetAllForms();
  FormDefinitions defs(call.server.store());
  for (const Definition& form : defs.store().listAll(DefinitionKind::form))
    syncPermissions(call, defs, form.name);
}

void serveDefinitions(Handlers& h) {
  h.serve<proc::GetSchema, getSchema>();
  h.serve<proc::SetSchema, setSchema>();
  h.serve<proc::CreateSchema, createSchema>();
  h.serve<proc::DeleteSchema, deleteSchema>();
  h.serve<proc::GetListSchema, getListSchema>();
  h.serve<proc::GetListSchemaWithAlias, getListSchemaWithAlias>();
  h.serve<proc::GetMultipleSchemas, getMultipleSchemas>();
  h.serve<proc::GetField, getField>();
  h.serve<proc::SetField, setField>();
  h.serve<proc::CreateField, createField>();
  h.serve<proc::DeleteField, deleteField>();
  h.serve<proc::DeleteMultipleFields, deleteMultipleFields>();
  h.serve<proc::GetListField, getListField>();
  h.serve<proc::GetMultipleFields, getMultipleFields>();
  h.serve<proc::CreateMultipleFields, createMultipleFields>();
  h.serve<proc::SetMultipleFields, setMultipleFields>();
  serveViewsAndImages(h);
  serveSupportFiles(h);
  serveWorkflowDefinitions(h);
}

}  // namespace zqserver
