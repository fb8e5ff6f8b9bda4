#include "form_definitions.h"

#include <sqlite3.h>
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>

#include "store.h"
#include "transport/describe_definitions.h"
#include "zqapi/zq_definitions.h"
#include "zqapi/zq_free.h"

namespace zqserver {
namespace {

using namespace zq::transport;
namespace w = zq::transport::wanted;
namespace c = zq::transport::changed;

constexpr size_t kMaxName = 254;

StoreResult fail(int32_t message, std::string appended = {}) {
  return StoreResult{message, std::move(appended)};
}

std::string fixedText(const char* buf, size_t width) {
  return std::string(buf, strnlen(buf, width));
}
template <size_t N>
std::string fixedText(const char (&buf)[N]) {
  return fixedText(buf, N);
}

bool sameName(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) == 0;
}

template <class P>
using Owned = OwnedParts<P>;

StoreResult nameCheck(const std::string& name) {
  if (name.empty()) return fail(zq::kMsgNameRequired);
  if (name.size() > kMaxName) return fail(zq::kMsgTooLong, name);
  return {};
}

bool tableExists(Store& s, const std::string& table) {
  sqlite3_stmt* st = nullptr;
  bool found = false;
  if (sqlite3_prepare_v2(s.db(),
                         "SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND"
                         " name=?",
                         -1, &st, nullptr) == SQLITE_OK) {
    sqlite3_bind_text(st, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    found = sqlite3_step(st) == SQLITE_ROW;
  }
  sqlite3_finalize(st);
  return found && table.rfind("zq_", 0) != 0;  // the server's own tables are not views' tables
}

bool columnExists(Store& s, const std::string& table, const std::string& column) {
  sqlite3_stmt* st = nullptr;
  bool found = false;
  if (sqlite3_prepare_v2(s.db(), "SELECT 1 FROM pragma_table_info(?) WHERE name=?", -1, &st,
                         nullptr) == SQLITE_OK) {
    sqlite3_bind_text(st, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(st, 2, column.c_str(), -1, SQLITE_TRANSIENT);
    found = sqlite3_step(st) == SQLITE_ROW;
  }
  sqlite3_finalize(st);
  return found;
}

// A text member moved out of parts (the stamp appends it to the diary).
struct TakenText {
  char* text = nullptr;
  explicit TakenText(char*& member) : text(member) { member = nullptr; }
  ~TakenText() { ZQFree(text); }
};

template <class P>
StoreResult stampAndEncode(P& parts, CommonProps& common, const Actor& actor, const char* newOwner,
                           const char* diary, Definition& d) {
  if (!stampCommon(common, actor.user, actor.now, newOwner, diary)) return fail(zq::kMsgNoMemory);
  if (!encodeRecord(parts, d.record)) return fail(zq::kMsgBadEncoding, d.name);
  stampColumns(d, common);
  return {};
}

// A new field or view of a form, under its chosen id: named after its kind
// and id when it has no name, stamped and stored.
template <class P>
StoreResult insertUnderForm(DefinitionStore& defs, DefinitionKind kind, const Definition& formRow,
                            ZQInternalId chosen, const char* unnamed, ZQNameType& name, P& parts,
                            const Actor& actor) {
  Definition d;
  d.kind = kind;
  d.parentId = formRow.rowId;
  d.objectId = chosen;
  d.name = fixedText(name);
  if (d.name.empty()) d.name = std::string(unnamed) + " " + std::to_string(chosen);
  zq::copyName(name, d.name.c_str(), sizeof name);
  StoreResult r;
  {
    TakenText diary(parts.common.changeDiary);
    r = stampAndEncode(parts, parts.common, actor, nullptr, diary.text, d);
  }
  return r.ok() ? defs.insert(d) : r;
}

std::string checksumOf(const ZQImageDataStruct& data) {
  uint64_t h = 1469598103934665603ull;  // FNV-1a
  for (uint32_t i = 0; data.bytes && i < data.size; ++i) {
    h ^= data.bytes[i];
    h *= 1099511628211ull;
  }
  char text[17];
  snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(h));
  return text;
}

bool holdsEntries(uint32_t kind) {
  return kind == ZQ_SCHEMA_REGULAR || kind == ZQ_SCHEMA_JOIN || kind == ZQ_SCHEMA_VIEW;
}

// Data types whose values a form stores; the others are layout.
bool holdsValue(uint32_t dataType) {
  return (dataType >= ZQ_DATA_TYPE_INTEGER && dataType <= ZQ_DATA_TYPE_TIME_OF_DAY) ||
         (dataType >= ZQ_DATA_TYPE_ULONG && dataType <= ZQ_DATA_TYPE_DISPLAY);
}

// ---- part tables ---------------------------------------------------------------------------

namespace schema_rules {
using P = SchemaParts;
const PartRule<P> kRules[] = {
    ZQ_DEFINITION_PART(kind, w::kSchemaKind, c::kSchemaKind),
    ZQ_DEFINITION_PART(inheritance, 0, c::kSchemaInheritance),
    ZQ_DEFINITION_PART(permissions, w::kSchemaPermissions, c::kSchemaPermissions),
    ZQ_DEFINITION_PART(subAdminGroups, w::kSchemaSubAdmins, c::kSchemaSubAdmins),
    ZQ_DEFINITION_PART(getListFields, w::kSchemaGetListFields, c::kSchemaGetListFields),
    ZQ_DEFINITION_PART(sort, w::kSchemaSort, c::kSchemaSort),
    ZQ_DEFINITION_PART(indexes, w::kSchemaIndexes, c::kSchemaIndexes),
    ZQ_DEFINITION_PART(archive, w::kSchemaArchive, c::kSchemaArchive),
    ZQ_DEFINITION_PART(audit, w::kSchemaAudit, c::kSchemaAudit),
    ZQ_DEFINITION_PART(defaultView, 0, c::kSchemaDefaultView),
    ZQ_DEFINITION_PART(common.helpText, w::kSchemaHelp, c::kSchemaHelp),
    ZQ_DEFINITION_PART(common.owner, w::kSchemaOwner, 0),
    ZQ_DEFINITION_PART(common.lastChanged, w::kSchemaLastChanged, 0),
    ZQ_DEFINITION_PART(common.changeDiary, w::kSchemaDiary, 0),
    ZQ_DEFINITION_PART(common.properties, w::kSchemaProperties, c::kSchemaProperties),
};
}  // namespace schema_rules

namespace field_rules {
using P = FieldParts;
const PartRule<P> kRules[] = {
    ZQ_DEFINITION_PART(fieldName, w::kFieldName, c::kFieldName),
    ZQ_DEFINITION_PART(mapping, w::kFieldMapping, c::kFieldMapping),
    ZQ_DEFINITION_PART(dataType, w::kFieldDataType, 0),
    ZQ_DEFINITION_PART(option, w::kFieldOption, c::kFieldOption),
    ZQ_DEFINITION_PART(createMode, w::kFieldCreateMode, c::kFieldCreateMode),
    ZQ_DEFINITION_PART(optionBits, w::kFieldOptionBits, c::kFieldOptionBits),
    ZQ_DEFINITION_PART(defaultValue, w::kFieldDefault, c::kFieldDefault),
    ZQ_DEFINITION_PART(permissions, w::kFieldPermissions, c::kFieldPermissions),
    ZQ_DEFINITION_PART(limit, w::kFieldLimit, c::kFieldLimit),
    ZQ_DEFINITION_PART(displays, w::kFieldDisplays, c::kFieldDisplays),
    ZQ_DEFINITION_PART(common.helpText, w::kFieldHelp, c::kFieldHelp),
    ZQ_DEFINITION_PART(common.owner, w::kFieldOwner, 0),
    ZQ_DEFINITION_PART(common.lastChanged, w::kFieldLastChanged, 0),
    ZQ_DEFINITION_PART(common.changeDiary, w::kFieldDiary, 0),
};
}  // namespace field_rules

namespace view_rules {
using P = ViewParts;
const PartRule<P> kRules[] = {
    ZQ_DEFINITION_PART(viewName, w::kViewName, c::kViewName),
    ZQ_DEFINITION_PART(locale, w::kViewLocale, c::kViewLocale),
    ZQ_DEFINITION_PART(viewType, w::kViewType, c::kViewType),
    ZQ_DEFINITION_PART(displayProperties, w::kViewProperties, c::kViewProperties),
    ZQ_DEFINITION_PART(common.helpText, w::kViewHelp, c::kViewHelp),
    ZQ_DEFINITION_PART(common.owner, w::kViewOwner, 0),
    ZQ_DEFINITION_PART(common.lastChanged, w::kViewLastChanged, 0),
    ZQ_DEFINITION_PART(common.changeDiary, w::kViewDiary, 0),
};
}  // namespace view_rules

namespace image_rules {
using P = ImageParts;
const PartRule<P> kRules[] = {
    ZQ_DEFINITION_PART(data, w::kImageData, c::kImageData),
    ZQ_DEFINITION_PART(imageType, w::kImageType, c::kImageType),
    ZQ_DEFINITION_PART(checksum, w::kImageChecksum, 0),
    ZQ_DEFINITION_PART(description, w::kImageDescription, c::kImageDescription),
    ZQ_DEFINITION_PART(common.helpText, w::kImageHelp, c::kImageHelp),
    ZQ_DEFINITION_PART(common.owner, w::kImageOwner, 0),
    ZQ_DEFINITION_PART(common.lastChanged, w::kImageLastChanged, 0),
    ZQ_DEFINITION_PART(common.changeDiary, w::kImageDiary, 0),
    ZQ_DEFINITION_PART(common.properties, w::kImageProperties, c::kImageProperties),
};
}  // namespace image_rules

std::mutex g_hooksMutex;
std::vector<FormHooks>& hooks() {
  static std::vector<FormHooks> all;
  return all;
}
std::vector<FormHooks> hooksNow() {
  std::lock_guard<std::mutex> lock(g_hooksMutex);
  return hooks();
}

}  // namespace

std::span<const PartRule<SchemaParts>> schemaPartRules() {
  return schema_rules::kRules;
}
std::span<const PartRule<FieldParts>> fieldPartRules() {
  return field_rules::kRules;
}
std::span<const PartRule<ViewParts>> viewPartRules() {
  return view_rules::kRules;
}
std::span<const PartRule<ImageParts>> imagePartRules() {
  return image_rules::kRules;
}

void addFormHooks(FormHooks h) {
  std::lock_guard<std::mutex> lock(g_hooksMutex);
  hooks().push_back(h);
}

Actor actorOf(const zq::transport::RequestHeader& header) {
  return Actor{header.user ? header.user : "", static_cast<int64_t>(time(nullptr))};
}

DefinitionUnit::DefinitionUnit(Store& s) : store_(s), open_(s.exec("SAVEPOINT zq_definitions")) {}

DefinitionUnit::~DefinitionUnit() {
  if (!open_) return;
  store_.exec("ROLLBACK TO zq_definitions");
  store_.exec("RELEASE zq_definitions");
}

bool DefinitionUnit::commit() {
  if (!open_) return false;
  open_ = false;
  return store_.exec("RELEASE zq_definitions");
}

FormDefinitions::FormDefinitions(Store& store) : sql_(store), defs_(store) {}

// ---- forms ---------------------------------------------------------------------------------

std::optional<Definition> FormDefinitions::findForm(const std::string& name) {
  return defs_.find(DefinitionKind::form, 0, name);
}

StoreResult FormDefinitions::formRow(const std::string& form, Definition& out) {
  auto row = findForm(form);
  if (!row) return fail(zq::kMsgNoSuchForm, form);
  out = std::move(*row);
  return {};
}

StoreResult FormDefinitions::readForm(const Definition& row, SchemaParts& out) {
  return decodeRecord(row.record, out) ? StoreResult{} : fail(zq::kMsgBadDefinition, row.name);
}

namespace {

// A form's kind against the store: join members that exist and hold
// entries, a view form's table.
StoreResult checkKind(FormDefinitions& defs, Store& sql, const ZQCompoundSchema& kind,
                      const std::string& self) {
  switch (kind.schemaType) {
    case ZQ_SCHEMA_NONE:
      return fail(zq::kMsgSchemaTypeMissing, self);
    case ZQ_SCHEMA_REGULAR:
    case ZQ_SCHEMA_DIALOG:
    case ZQ_SCHEMA_VENDOR:
      return {};
    case ZQ_SCHEMA_JOIN:
      for (const std::string& member :
           {fixedText(kind.u.join.joinMemberA), fixedText(kind.u.join.joinMemberB)}) {
        if (member.empty()) return fail(zq::kMsgBadJoinMembers, self);
        if (sameName(member, self)) return fail(zq::kMsgBadDefinition, member);
        auto row = defs.findForm(member);
        if (!row) return fail(zq::kMsgNoSuchForm, member);
        Owned<SchemaParts> parts;
        if (!defs.readForm(*row, parts.p).ok() || !holdsEntries(parts.p.kind.schemaType))
          return fail(zq::kMsgBadDefinition, member);
      }
      return {};
    case ZQ_SCHEMA_VIEW: {
      const std::string table = fixedText(kind.u.view.viewTableName);
      if (!tableExists(sql, table)) return fail(zq::kMsgBadDefinition, "table " + table);
      return {};
    }
    default:
      return fail(zq::kMsgBadSchemaType, self);
  }
}

FieldParts fieldPartsOf(const FieldDef& f) {
  FieldParts p{};
  zq::copyName(p.fieldName, f.name.c_str(), sizeof p.fieldName);
  p.mapping.fieldType = ZQ_FIELD_MAPPING_REGULAR;
  p.dataType = f.dataType;
  p.option = f.id == kFieldEntryId ? ZQ_FIELD_OPTION_SYSTEM : ZQ_FIELD_OPTION_OPTIONAL;
  p.createMode = ZQ_FIELD_OPEN_AT_CREATE;
  return p;
}

}  // namespace

StoreResult FormDefinitions::createForm(const std::string& name, SchemaParts& parts,
                                        const Actor& actor, const std::vector<FieldDef>& fields) {
  StoreResult r = nameCheck(name);
  if (r.ok()) r = checkKind(*this, sql_, parts.kind, name);
  if (!r.ok()) return r;
  DefinitionUnit unit(sql_);
  Definition d;
  d.kind = DefinitionKind::form;
  d.name = name;
  {
    TakenText diary(parts.common.changeDiary);
    r = stampAndEncode(parts, parts.common, actor, nullptr, diary.text, d);
  }
  if (r.ok()) r = defs_.insert(d);
  if (r.ok() && parts.kind.schemaType == ZQ_SCHEMA_REGULAR) {
    std::vector<FieldDef> all = fields;
    for (const FieldDef& core : coreFields()) {
      bool given = false;
      for (const FieldDef& f : fields) given = given || f.id == core.id;
      if (!given) all.push_back(core);
    }
    for (const FieldDef& f : all) {
      if (!r.ok()) break;
      if (f.id == 0 || !holdsValue(f.dataType)) {
        r = fail(zq::kMsgBadDataType, std::to_string(f.id));
        break;
      }
      Owned<FieldParts> field;
      field.p = fieldPartsOf(f);
      ZQInternalId id = f.id;
      r = createField(name, id, field.p, actor);
    }
  }
  if (!r.ok()) return r;
  return unit.commit() ? StoreResult{} : fail(zq::kMsgStoreFailure, sql_.error());
}

StoreResult FormDefinitions::setForm(const std::string& name, const std::string& newName,
                                     uint32_t changed, SchemaParts& given, const Actor& actor) {
  Definition row;
  StoreResult r = formRow(name, row);
  if (!r.ok()) return r;
  Owned<SchemaParts> stored;
  if (!(r = readForm(row, stored.p)).ok()) return r;
  const std::string target = (changed & c::kSchemaName) && !newName.empty() ? newName : row.name;
  if (!(r = nameCheck(target)).ok()) return r;
  applyChanges(stored.p, given, changed, schemaPartRules());
  if ((changed & c::kSchemaKind) && !(r = checkKind(*this, sql_, stored.p.kind, target)).ok())
    return r;
  DefinitionUnit unit(sql_);
  const std::string old = row.name;
  row.name = target;
  r = stampAndEncode(stored.p, stored.p.common, actor,
                     (changed & c::kSchemaOwner) ? given.common.owner : nullptr,
                     (changed & c::kSchemaDiary) ? given.common.changeDiary : nullptr, row);
  if (r.ok()) r = defs_.update(row);
  if (r.ok() && old != target) {
    // Join forms name their members: they follow the rename.
    for (Definition& join : defs_.listAll(DefinitionKind::form)) {
      if (!r.ok()) break;
      Owned<SchemaParts> parts;
      if (join.rowId == row.rowId || !readForm(join, parts.p).ok() ||
          parts.p.kind.schemaType != ZQ_SCHEMA_JOIN)
        continue;
      bool touched = false;
      for (ZQNameType* member :
           {&parts.p.kind.u.join.joinMemberA, &parts.p.kind.u.join.joinMemberB}) {
        if (sameName(fixedText(*member), old)) {
          zq::copyName(*member, target.c_str(), sizeof *member);
          touched = true;
        }
      }
      if (!touched) continue;
      if (!encodeRecord(parts.p, join.record)) r = fail(zq::kMsgBadEncoding, join.name);
      if (r.ok()) r = defs_.update(join);
    }
    defs_.renameSupportFilesOf(ZQ_SUPPORT_FILE_FORM, old, target);
    for (const FormHooks& h : hooksNow())
      if (r.ok() && h.renamed) r = h.renamed(*this, old, target, actor);
  }
  if (!r.ok()) return r;
  return unit.commit() ? StoreResult{} : fail(zq::kMsgStoreFailure, sql_.error());
}

StoreResult FormDefinitions::deleteForm(const std::string& name, uint32_t option) {
  Definition row;
  StoreResult r = formRow(name, row);
  if (!r.ok()) return r;
  if (option != ZQ_DELETE_FORCE) {
    for (Definition& other : defs_.listAll(DefinitionKind::form)) {
      Owned<SchemaParts> parts;
      if (other.rowId == row.rowId || !readForm(other, parts.p).ok() ||
          parts.p.kind.schemaType != ZQ_SCHEMA_JOIN)
        continue;
      if (sameName(fixedText(parts.p.kind.u.join.joinMemberA), row.name) ||
          sameName(fixedText(parts.p.kind.u.join.joinMemberB), row.name))
        return fail(zq::kMsgDefinitionInUse, other.name);
    }
  }
  DefinitionUnit unit(sql_);
  r = defs_.remove(row.rowId);
  if (r.ok()) r = dropFormEntries(sql_, row.rowId);
  if (!r.ok()) return r;
  defs_.removeSupportFilesOf(ZQ_SUPPORT_FILE_FORM, row.name);
  for (const FormHooks& h : hooksNow())
    if (h.deleted) h.deleted(*this, row.name);
  return unit.commit() ? StoreResult{} : fail(zq::kMsgStoreFailure, sql_.error());
}

std::optional<FormDef> FormDefinitions::formDef(const std::string& name) {
  auto row = findForm(name);
  if (!row) return std::nullopt;
  Owned<SchemaParts> parts;
  if (!readForm(*row, parts.p).ok()) return std::nullopt;
  FormDef f;
  f.formId = row->rowId;
  f.name = row->name;
  f.kind = parts.p.kind.schemaType;
  if (f.kind == ZQ_SCHEMA_JOIN) {
    ZQJoinSchema& join = parts.p.kind.u.join;
    f.memberA = fixedText(join.joinMemberA);
    f.memberB = fixedText(join.joinMemberB);
    f.joinOption = join.joinOption;
    auto* q = static_cast<ZQQualifierStruct*>(ZQCalloc(1, sizeof(ZQQualifierStruct)));
    if (!q) return std::nullopt;
    *q = join.joinQualifier;  // moved out of the parts
    join.joinQualifier = ZQQualifierStruct{};
    f.joinQualifier = std::shared_ptr<const ZQQualifierStruct>(q, [](const ZQQualifierStruct* p) {
      FreeZQQualifierStruct(const_cast<ZQQualifierStruct*>(p), 1);
    });
  } else if (f.kind == ZQ_SCHEMA_VIEW) {
    f.table = fixedText(parts.p.kind.u.view.viewTableName);
  }
  for (const Definition& d : defs_.list(DefinitionKind::field, row->rowId)) {
    Owned<FieldParts> field;
    if (!readField(d, field.p).ok()) continue;
    FieldDef fd;
    fd.id = d.objectId;
    fd.dataType = field.p.dataType;
    fd.name = d.name;
    const ZQFieldMappingStruct& m = field.p.mapping;
    if (m.fieldType == ZQ_FIELD_MAPPING_JOIN) {
      fd.joinMember = m.u.join.schemaIndex;
      fd.memberField = m.u.join.fieldId;
    } else if (m.fieldType == ZQ_FIELD_MAPPING_VIEW) {
      fd.column = fixedText(m.u.view.externalFieldName);
    }
    f.fields.push_back(std::move(fd));
  }
  return f;
}

// ---- fields --------------------------------------------------------------------------------

StoreResult FormDefinitions::readField(const Definition& row, FieldParts& out) {
  return decodeRecord(row.record, out) ? StoreResult{} : fail(zq::kMsgBadDefinition, row.name);
}

namespace {

// A field's parts against its form.
StoreResult checkField(FormDefinitions& defs, Store& sql, const Definition& formRow,
                       const ZQCompoundSchema& kind, ZQInternalId id, const FieldParts& f) {
  const std::string idText = std::to_string(id);
  if (f.dataType < ZQ_DATA_TYPE_INTEGER || f.dataType > ZQ_DATA_TYPE_DISPLAY)
    return fail(zq::kMsgBadDataType, idText);
  if (f.option < ZQ_FIELD_OPTION_REQUIRED || f.option > ZQ_FIELD_OPTION_DISPLAY)
    return fail(zq::kMsgOptionOutOfRange, idText);
  if (f.createMode != ZQ_FIELD_OPEN_AT_CREATE && f.createMode != ZQ_FIELD_PROTECTED_AT_CREATE)
    return fail(zq::kMsgBadCreateMode, idText);
  const uint32_t defaultType = f.defaultValue.dataType;
  if (defaultType != ZQ_DATA_TYPE_NULL && defaultType != ZQ_DATA_TYPE_KEYWORD &&
      defaultType != f.dataType)
    return fail(zq::kMsgWrongDataType, idText);
  if (f.limit.dataType != 0 && f.limit.dataType != f.dataType)
    return fail(zq::kMsgWrongDataType, idText);
  const ZQFieldMappingStruct& m = f.mapping;
  const bool plain =
      m.fieldType == ZQ_FIELD_MAPPING_NONE || m.fieldType == ZQ_FIELD_MAPPING_REGULAR;
  switch (kind.schemaType) {
    case ZQ_SCHEMA_JOIN: {
      if (plain && !holdsValue(f.dataType)) break;
      if (m.fieldType != ZQ_FIELD_MAPPING_JOIN || m.u.join.schemaIndex > 1)
        return fail(zq::kMsgBadMappingType, idText);
      const std::string member =
          fixedText(m.u.join.schemaIndex == 0 ? kind.u.join.joinMemberA : kind.u.join.joinMemberB);
      auto memberRow = defs.findForm(member);
      auto memberField = memberRow ? defs.store().findById(DefinitionKind::field, memberRow->rowId,
                                                           m.u.join.fieldId)
                                   : std::nullopt;
      const std::string where = member + ":" + std::to_string(m.u.join.fieldId);
      if (!memberField) return fail(zq::kMsgNoSuchField, where);
      Owned<FieldParts> target;
      if (!defs.readField(*memberField, target.p).ok() || target.p.dataType != f.dataType)
        return fail(zq::kMsgWrongDataType, where);
      break;
    }
    case ZQ_SCHEMA_VIEW: {
      if (plain && !holdsValue(f.dataType)) break;
      const std::string column = fixedText(m.u.view.externalFieldName);
      if (m.fieldType != ZQ_FIELD_MAPPING_VIEW) return fail(zq::kMsgBadMappingType, idText);
      if (!columnExists(sql, fixedText(kind.u.view.viewTableName), column))
        return fail(zq::kMsgBadDefinition, "column " + column);
      break;
    }
    case ZQ_SCHEMA_VENDOR:
      if (!plain && m.fieldType != ZQ_FIELD_MAPPING_VENDOR)
        return fail(zq::kMsgBadMappingType, idText);
      break;
    default:
      if (!plain) return fail(zq::kMsgBadMappingType, idText);
      break;
  }
  // Display instances name views of the form, each once.
  for (uint32_t i = 0; f.displays.items && i < f.displays.count; ++i) {
    const ZQInternalId view = f.displays.items[i].vuiId;
    for (uint32_t j = 0; j < i; ++j)
      if (f.displays.items[j].vuiId == view)
        return fail(zq::kMsgDuplicateDisplayView, std::to_string(view));
    if (!defs.store().findById(DefinitionKind::view, formRow.rowId, view))
      return fail(zq::kMsgBadDefinition, "view " + std::to_string(view));
  }
  return {};
}

}  // namespace

StoreResult FormDefinitions::createField(const std::string& form, ZQInternalId& id,
                                         FieldParts& parts, const Actor& actor) {
  Definition formRow;
  StoreResult r = this->formRow(form, formRow);
  if (!r.ok()) return r;
  Owned<SchemaParts> schema;
  if (!(r = readForm(formRow, schema.p)).ok()) return r;
  const ZQInternalId chosen =
      id ? id : defs_.freeObjectId(DefinitionKind::field, formRow.rowId, kFirstFreeId);
  if (chosen == 0) return fail(zq::kMsgBadDefinition, form);
  if (!(r = checkField(*this, sql_, formRow, schema.p.kind, chosen, parts)).ok()) return r;
  r = insertUnderForm(defs_, DefinitionKind::field, formRow, chosen, "Field", parts.fieldName,
                      parts, actor);
  if (r.ok()) id = chosen;
  return r;
}

StoreResult FormDefinitions::setField(const std::string& form, ZQInternalId id, uint32_t changed,
                                      FieldParts& given, const Actor& actor) {
  Definition formRow;
  StoreResult r = this->formRow(form, formRow);
  if (!r.ok()) return r;
  auto row = defs_.findById(DefinitionKind::field, formRow.rowId, id);
  if (!row) return fail(zq::kMsgNoSuchField, std::to_string(id));
  Owned<SchemaParts> schema;
  Owned<FieldParts> stored;
  if (!(r = readForm(formRow, schema.p)).ok() || !(r = readField(*row, stored.p)).ok()) return r;
  applyChanges(stored.p, given, changed, fieldPartRules());
  if (!(r = checkField(*this, sql_, formRow, schema.p.kind, id, stored.p)).ok()) return r;
  if (changed & c::kFieldName) {
    row->name = fixedText(stored.p.fieldName);
    if (row->name.empty()) row->name = "Field " + std::to_string(id);
    if (!(r = nameCheck(row->name)).ok()) return r;
    zq::copyName(stored.p.fieldName, row->name.c_str(), sizeof stored.p.fieldName);
  }
  r = stampAndEncode(stored.p, stored.p.common, actor,
                     (changed & c::kFieldOwner) ? given.common.owner : nullptr,
                     (changed & c::kFieldDiary) ? given.common.changeDiary : nullptr, *row);
  return r.ok() ? defs_.update(*row) : r;
}

StoreResult FormDefinitions::deleteField(const std::string& form, ZQInternalId id) {
  Definition formRow;
  StoreResult r = this->formRow(form, formRow);
  if (!r.ok()) return r;
  auto row = defs_.findById(DefinitionKind::field, formRow.rowId, id);
  if (!row) return fail(zq::kMsgNoSuchField, std::to_string(id));
  Owned<SchemaParts> schema;
  if (!(r = readForm(formRow, schema.p)).ok()) return r;
  if (schema.p.kind.schemaType == ZQ_SCHEMA_REGULAR && isCoreField(id))
    return fail(zq::kMsgCoreField, std::to_string(id));
  DefinitionUnit unit(sql_);
  r = defs_.remove(row->rowId);
  if (r.ok()) r = dropFieldValues(sql_, formRow.rowId, id);
  if (!r.ok()) return r;
  return unit.commit() ? StoreResult{} : fail(zq::kMsgStoreFailure, sql_.error());
}

StoreResult FormDefinitions::deleteFields(const std::string& form,
                                          const std::vector<ZQInternalId>& ids) {
  DefinitionUnit unit(sql_);
  for (ZQInternalId id : ids) {
    StoreResult r = deleteField(form, id);
    if (!r.ok()) return r;
  }
  return unit.commit() ? StoreResult{} : fail(zq::kMsgStoreFailure, sql_.error());
}

// ---- views ---------------------------------------------------------------------------------

StoreResult FormDefinitions::readView(const Definition& row, ViewParts& out) {
  return decodeRecord(row.record, out) ? StoreResult{} : fail(zq::kMsgBadDefinition, row.name);
}

namespace {
StoreResult checkLocale(const char* locale) {
  return locale && strlen(locale) > ZQ_MAX_LOCALE_SIZE ? fail(zq::kMsgTooLong, locale)
                                                       : StoreResult{};
}
}  // namespace

StoreResult FormDefinitions::createView(const std::string& form, ZQInternalId& id, ViewParts& parts,
                                        const Actor& actor) {
  Definition formRow;
  StoreResult r = this->formRow(form, formRow);
  if (!r.ok() || !(r = checkLocale(parts.locale)).ok()) return r;
  const ZQInternalId chosen =
      id ? id : defs_.freeObjectId(DefinitionKind::view, formRow.rowId, kFirstFreeId);
  if (chosen == 0) return fail(zq::kMsgBadDefinition, form);
  r = insertUnderForm(defs_, DefinitionKind::view, formRow, chosen, "View", parts.viewName, parts,
                      actor);
  if (r.ok()) id = chosen;
  return r;
}

StoreResult FormDefinitions::setView(const std::string& form, ZQInternalId id, uint32_t changed,
                                     ViewParts& given, const Actor& actor) {
  Definition formRow;
  StoreResult r = this->formRow(form, formRow);
  if (!r.ok()) return r;
  auto row = defs_.findById(DefinitionKind::view, formRow.rowId, id);
  if (!row) return fail(zq::kMsgNoSuchDefinition, std::to_string(id));
  Owned<ViewParts> stored;
  if (!(r = readView(*row, stored.p)).ok()) return r;
  applyChanges(stored.p, given, changed, viewPartRules());
  if (!(r = checkLocale(stored.p.locale)).ok()) return r;
  if (changed & c::kViewName) {
    row->name = fixedText(stored.p.viewName);
    if (row->name.empty()) row->name = "View " + std::to_string(id);
    zq::copyName(stored.p.viewName, row->name.c_str(), sizeof stored.p.viewName);
  }
  r = stampAndEncode(stored.p, stored.p.common, actor,
                     (changed & c::kViewOwner) ? given.common.owner : nullptr,
                     (changed & c::kViewDiary) ? given.common.changeDiary : nullptr, *row);
  return r.ok() ? defs_.update(*row) : r;
}

StoreResult FormDefinitions::deleteView(const std::string& form, ZQInternalId id) {
  Definition formRow;
  StoreResult r = this->formRow(form, formRow);
  if (!r.ok()) return r;
  auto row = defs_.findById(DefinitionKind::view, formRow.rowId, id);
  if (!row) return fail(zq::kMsgNoSuchDefinition, std::to_string(id));
  return defs_.remove(row->rowId);
}

// ---- images --------------------------------------------------------------------------------

StoreResult FormDefinitions::readImage(const Definition& row, ImageParts& out) {
  return decodeRecord(row.record, out) ? StoreResult{} : fail(zq::kMsgBadDefinition, row.name);
}

namespace {
StoreResult checkImage(ImageParts& parts) {
  if (parts.data.size == 0 || !parts.data.bytes) return fail(zq::kMsgImageDataMissing);
  if (!parts.imageType || !*parts.imageType) return fail(zq::kMsgImageTypeMissing);
  ZQFree(parts.checksum);
  parts.checksum = zq::dupString(checksumOf(parts.data).c_str());
  return parts.checksum ? StoreResult{} : fail(zq::kMsgNoMemory);
}
}  // namespace

StoreResult FormDefinitions::createImage(const std::string& name, ImageParts& parts,
                                         const Actor& actor) {
  StoreResult r = nameCheck(name);
  if (!r.ok() || !(r = checkImage(parts)).ok()) return r;
  Definition d;
  d.kind = DefinitionKind::image;
  d.name = name;
  {
    TakenText diary(parts.common.changeDiary);
    r = stampAndEncode(parts, parts.common, actor, nullptr, diary.text, d);
  }
  return r.ok() ? defs_.insert(d) : r;
}

StoreResult FormDefinitions::setImage(const std::string& name, const std::string& newName,
                                      uint32_t changed, ImageParts& given, const Actor& actor) {
  auto row = defs_.find(DefinitionKind::image, 0, name);
  if (!row) return fail(zq::kMsgNoSuchDefinition, name);
  Owned<ImageParts> stored;
  StoreResult r = readImage(*row, stored.p);
  if (!r.ok()) return r;
  applyChanges(stored.p, given, changed, imagePartRules());
  if (!(r = checkImage(stored.p)).ok()) return r;
  if ((changed & c::kImageName) && !newName.empty()) {
    if (!(r = nameCheck(newName)).ok()) return r;
    row->name = newName;
  }
  r = stampAndEncode(stored.p, stored.p.common, actor,
                     (changed & c::kImageOwner) ? given.common.owner : nullptr,
                     (changed & c::kImageDiary) ? given.common.changeDiary : nullptr, *row);
  return r.ok() ? defs_.update(*row) : r;
}

StoreResult FormDefinitions::deleteImage(const std::string& name) {
  auto row = defs_.find(DefinitionKind::image, 0, name);
  if (!row) return fail(zq::kMsgNoSuchDefinition, name);
  return defs_.remove(row->rowId);
}

}  // namespace zqserver
