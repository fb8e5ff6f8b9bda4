// Wire descriptions of the definition records (records_definitions.h).
#pragma once

#include "model/model.h"
#include "model/describe.h"
#include "transport/describe_queries.h"
#include "transport/describe_records.h"
#include "transport/records_definitions.h"

namespace zq::model {

namespace detail {

// Release, copy and print see every member whatever the shape, so that
// nothing a record owns is missed.
template <class V>
constexpr bool everyMember() {
  return V::kPass == Pass::release || V::kPass == Pass::copy || V::kPass == Pass::print;
}

template <class V>
bool storedShape(transport::Shape shape) {
  return everyMember<V>() || shape == transport::Shape::stored;
}

// Help text, timestamp, owner, last changed, change diary and, for the
// kinds that have them, the object properties, in that order.
template <class V>
void describeCommon(V& v, transport::CommonProps& c, transport::Shape shape, bool properties) {
  v.string(c.helpText, kUnbounded, "Help Text:");
  if (storedShape<V>(shape)) v.i32(c.timestamp, "Last Update Time:");
  v.name(c.owner, NameKind::access, "Owner:");
  if (storedShape<V>(shape)) v.name(c.lastChanged, NameKind::access, "Last Changed:");
  v.string(c.changeDiary, kUnbounded, "Change Diary:");
  if (properties || everyMember<V>()) v.member(c.properties, "properties");
}

// A text that may be absent: a presence word, then the string.
template <class V>
void optionalString(V& v, char*& s, Label label) {
  if constexpr (everyMember<V>()) {
    v.string(s, kUnbounded, label);
  } else {
    uint32_t present = s != nullptr;
    v.u32(present, "present");
    if (present)
      v.string(s, kUnbounded, label);
    else if constexpr (V::kPass == Pass::decode)
      s = nullptr;
  }
}

// A list of structures behind pointers, each of which may be absent. The
// caller's lists of this kind do not own what they point to; a decoded
// record owns every node it read.
template <class V, class L>
void optionalItems(V& v, L& list, Label label) {
  using T = std::remove_pointer_t<std::remove_reference_t<decltype(*list.items)>>;
  v.ptrList(
      list.count, list.items, [](auto& w, T& item) { describe(w, item); }, label);
}

template <class V>
void optionalTexts(V& v, ZQTextStringList& list, Label label) {
  v.list(
      list.count, list.items, [](auto& w, char*& s) { optionalString(w, s, "text"); }, label);
}

}  // namespace detail

template <class V>
void describe(V& v, transport::WireText& t) {
  v.text(t.length, t.text, "name");
}

template <class V>
void describe(V& v, transport::WireTextList& s) {
  list(v, s);
}

// ---- forms -----------------------------------------------------------------------------------

template <class V>
void describeSchemaParts(V& v, transport::SchemaParts& s, transport::Shape shape) {
  v.member(s.kind, "kind");
  v.member(s.inheritance, "inheritance");
  v.member(s.permissions, "permissions");
  v.member(s.subAdminGroups, "subAdminGroups");
  v.member(s.getListFields, "getListFields");
  v.member(s.sort, "sort");
  v.member(s.indexes, "indexes");
  // Archiving and auditing arrived with version 10.
  if (since(v, 10) || detail::everyMember<V>()) {
    v.member(s.archive, "archive");
    v.member(s.audit, "audit");
  }
  v.name(s.defaultView, NameKind::plain, "Default VUI:");
  detail::describeCommon(v, s.common, shape, true);
}

// The parts as a whole: everything, as replies and the server's copy hold them.
template <class V>
void describe(V& v, transport::SchemaParts& s) {
  describeSchemaParts(v, s, transport::Shape::stored);
}

template <class V>
void describe(V& v, transport::GetSchemaArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.name, "name");
  v.u32(r.wanted, "wanted");
}

template <class V>
void describe(V& v, transport::GetSchemaReply& r) {
  v.member(r.header);
  describeSchemaParts(v, r.schema, transport::Shape::stored);
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::SetSchemaArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.name, "name");
  detail::argumentName(v, r.newName, "newName");
  v.u32(r.changed, "changed");
  describeSchemaParts(v, r.schema, transport::Shape::request);
  v.u32(r.option, "option");
}

template <class V>
void describe(V& v, transport::CreateSchemaArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.name, "name");
  describeSchemaParts(v, r.schema, transport::Shape::request);
  v.u32(r.option, "option");
}

template <class V>
void describe(V& v, transport::DeleteByNameArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.name, "name");
  v.u32(r.option, "option");
}

template <class V>
void describe(V& v, transport::ListSchemaArgs& r) {
  v.member(r.header);
  v.i32(r.changedSince, "changedSince");
  v.u32(r.schemaType, "schemaType");
  detail::argumentName(v, r.name, "name");
  v.member(r.fieldIds, "fieldIds");
  v.member(r.properties, "properties");
}

template <class V>
void describe(V& v, transport::TextNameListReply& r) {
  v.member(r.header);
  v.member(r.names, "names");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::ListSchemaWithAliasArgs& r) {
  v.member(r.header);
  v.i32(r.changedSince, "changedSince");
  v.u32(r.schemaType, "schemaType");
  detail::argumentName(v, r.name, "name");
  v.member(r.fieldIds, "fieldIds");
  v.member(r.properties, "properties");
  v.string(r.locale, ZQ_MAX_LOCALE_SIZE, "locale");
  v.member(r.viewTypes, "viewTypes");
}

template <class V>
void describe(V& v, transport::NamesAndAliasesReply& r) {
  v.member(r.header);
  v.member(r.names, "names");
  v.member(r.aliases, "aliases");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::GetMultipleSchemasArgs& r) {
  v.member(r.header);
  v.i32(r.changedSince, "changedSince");
  v.u32(r.schemaType, "schemaType");
  v.member(r.names, "names");
  v.member(r.fieldIds, "fieldIds");
  v.u32(r.wanted, "wanted");
}

template <class V>
void describe(V& v, transport::GetMultipleSchemasReply& r) {
  v.member(r.header);
  v.member(r.exists, "exists");
  v.member(r.names, "names");
  v.member(r.kinds, "kinds");
  v.member(r.inheritance, "inheritance");
  v.member(r.permissions, "permissions");
  v.member(r.subAdminGroups, "subAdminGroups");
  v.member(r.getListFields, "getListFields");
  v.member(r.sorts, "sorts");
  v.member(r.indexes, "indexes");
  if (since(v, 10) || detail::everyMember<V>()) {
    v.member(r.archives, "archives");
    v.member(r.audits, "audits");
  }
  v.member(r.defaultViews, "defaultViews");
  v.member(r.helpTexts, "helpTexts");
  v.member(r.timestamps, "timestamps");
  v.member(r.owners, "owners");
  v.member(r.lastChanged, "lastChanged");
  v.member(r.diaries, "diaries");
  v.member(r.properties, "properties");
  v.member(r.status);
}

// ---- fields ---------------------------------------------------------------------------------

// The data type travels in replies and creates, not in sets.
template <class V>
void describeFieldParts(V& v, transport::FieldParts& s, transport::Shape shape, bool dataType) {
  v.name(s.fieldName, NameKind::plain, "Field Name:");
  v.member(s.mapping, "mapping");
  if (dataType || detail::everyMember<V>()) v.u32(s.dataType, "Data Type:");
  v.u32(s.option, "Field Option:");
  v.u32(s.createMode, "Field Create Mode:");
  v.u32(s.optionBits, "Field Bit Option:");
  v.member(s.defaultValue, "defaultValue");
  v.member(s.permissions, "permissions");
  v.member(s.limit, "limit");
  v.member(s.displays, "displays");
  detail::describeCommon(v, s.common, shape, false);
}

template <class V>
void describe(V& v, transport::FieldParts& s) {
  describeFieldParts(v, s, transport::Shape::stored, true);
}

template <class V>
void describe(V& v, transport::GetFieldArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.u32(r.fieldId, "fieldId");
  v.u32(r.wanted, "wanted");
}

template <class V>
void describe(V& v, transport::GetFieldReply& r) {
  v.member(r.header);
  describeFieldParts(v, r.field, transport::Shape::stored, true);
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::SetFieldArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.u32(r.fieldId, "fieldId");
  v.u32(r.changed, "changed");
  describeFieldParts(v, r.field, transport::Shape::request, false);
}

template <class V>
void describe(V& v, transport::CreateFieldArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.u32(r.fieldId, "fieldId");
  v.u32(r.reservedIdOk, "reservedIdOk");
  describeFieldParts(v, r.field, transport::Shape::request, true);
}

template <class V>
void describe(V& v, transport::IdReply& r) {
  v.member(r.header);
  v.u32(r.id, "id");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::DeleteByIdArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.u32(r.id, "id");
  v.u32(r.option, "option");
}

template <class V>
void describe(V& v, transport::DeleteFieldsArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.member(r.fieldIds, "fieldIds");
  v.u32(r.option, "option");
}

template <class V>
void describe(V& v, transport::ListFieldArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.i32(r.changedSince, "changedSince");
  v.u32(r.fieldType, "fieldType");
}

template <class V>
void describe(V& v, transport::IdListReply& r) {
  v.member(r.header);
  v.member(r.ids, "ids");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::GetMultipleFieldsArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.member(r.fieldIds, "fieldIds");
  v.u32(r.wanted, "wanted");
}

template <class V>
void describe(V& v, transport::GetMultipleFieldsReply& r) {
  v.member(r.header);
  v.member(r.exists, "exists");
  v.member(r.ids, "ids");
  v.member(r.names, "names");
  v.member(r.mappings, "mappings");
  v.member(r.dataTypes, "dataTypes");
  v.member(r.options, "options");
  v.member(r.createModes, "createModes");
  v.member(r.optionBits, "optionBits");
  v.member(r.defaults, "defaults");
  v.member(r.permissions, "permissions");
  v.member(r.limits, "limits");
  v.member(r.displays, "displays");
  v.member(r.helpTexts, "helpTexts");
  v.member(r.timestamps, "timestamps");
  v.member(r.owners, "owners");
  v.member(r.lastChanged, "lastChanged");
  v.member(r.diaries, "diaries");
  v.member(r.status);
}

template <class V>
void describeFieldLists(V& v, transport::FieldLists& s) {
  v.member(s.names, "names");
  v.member(s.mappings, "mappings");
  v.member(s.dataTypes, "dataTypes");
  v.member(s.options, "options");
  v.member(s.createModes, "createModes");
  v.member(s.optionBits, "optionBits");
  detail::optionalItems(v, s.defaults, "defaults");
  detail::optionalItems(v, s.permissions, "permissions");
  detail::optionalItems(v, s.limits, "limits");
  detail::optionalItems(v, s.displays, "displays");
  detail::optionalTexts(v, s.helpTexts, "helpTexts");
  v.member(s.owners, "owners");
  detail::optionalTexts(v, s.diaries, "diaries");
}

template <class V>
void describe(V& v, transport::CreateFieldsArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.member(r.fieldIds, "fieldIds");
  v.member(r.reservedIdOk, "reservedIdOk");
  describeFieldLists(v, r.fields);
}

template <class V>
void describe(V& v, transport::SetFieldsArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.member(r.fieldIds, "fieldIds");
  describeFieldLists(v, r.fields);
  v.member(r.setOptions, "setOptions");
}

template <class V>
void describe(V& v, transport::SetFieldsReply& r) {
  v.member(r.header);
  v.member(r.fieldStatus, "fieldStatus");
  v.member(r.status);
}

// ---- views ----------------------------------------------------------------------------------

template <class V>
void describeViewParts(V& v, transport::ViewParts& s, transport::Shape shape) {
  v.name(s.viewName, NameKind::plain, "VUI Name:");
  v.string(s.locale, ZQ_MAX_LOCALE_SIZE, "Locale:");
  v.u32(s.viewType, "VUI Type:");
  v.member(s.displayProperties, "displayProperties");
  detail::describeCommon(v, s.common, shape, false);
}

template <class V>
void describe(V& v, transport::ViewParts& s) {
  describeViewParts(v, s, transport::Shape::stored);
}

template <class V>
void describe(V& v, transport::GetViewArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.u32(r.viewId, "viewId");
  v.u32(r.wanted, "wanted");
}

template <class V>
void describe(V& v, transport::GetViewReply& r) {
  v.member(r.header);
  describeViewParts(v, r.view, transport::Shape::stored);
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::SetViewArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.u32(r.viewId, "viewId");
  v.u32(r.changed, "changed");
  describeViewParts(v, r.view, transport::Shape::request);
}

template <class V>
void describe(V& v, transport::CreateViewArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.u32(r.viewId, "viewId");
  describeViewParts(v, r.view, transport::Shape::request);
}

template <class V>
void describe(V& v, transport::DeleteViewArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.u32(r.viewId, "viewId");
}

template <class V>
void describe(V& v, transport::ListViewArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.i32(r.changedSince, "changedSince");
}

template <class V>
void describe(V& v, transport::GetMultipleViewsArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.member(r.viewIds, "viewIds");
  v.i32(r.changedSince, "changedSince");
  v.u32(r.wanted, "wanted");
}

template <class V>
void describe(V& v, transport::GetMultipleViewsReply& r) {
  v.member(r.header);
  v.member(r.exists, "exists");
  v.member(r.ids, "ids");
  v.member(r.names, "names");
  v.member(r.locales, "locales");
  v.member(r.types, "types");
  v.member(r.properties, "properties");
  v.member(r.helpTexts, "helpTexts");
  v.member(r.timestamps, "timestamps");
  v.member(r.owners, "owners");
  v.member(r.lastChanged, "lastChanged");
  v.member(r.diaries, "diaries");
  v.member(r.status);
}

// ---- images ---------------------------------------------------------------------------------

// The image's own order: data, type, timestamp, checksum, description, help
// text, owner, last changed, change diary, object properties.
template <class V>
void describeImageParts(V& v, transport::ImageParts& s, transport::Shape shape) {
  const bool stored = detail::storedShape<V>(shape);
  v.member(s.data, "data");
  v.string(s.imageType, kUnbounded, "Image Type:");
  if (stored) v.i32(s.common.timestamp, "Last Update Time:");
  if (stored) v.string(s.checksum, kUnbounded, "CheckSum:");
  v.string(s.description, kUnbounded, "Description:");
  v.string(s.common.helpText, kUnbounded, "Help Text:");
  v.name(s.common.owner, NameKind::access, "Owner:");
  if (stored) v.name(s.common.lastChanged, NameKind::access, "Last Changed:");
  v.string(s.common.changeDiary, kUnbounded, "Change Diary:");
  v.member(s.common.properties, "properties");
}

template <class V>
void describe(V& v, transport::ImageParts& s) {
  describeImageParts(v, s, transport::Shape::stored);
}

template <class V>
void describe(V& v, transport::GetImageArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.name, "name");
  v.u32(r.wanted, "wanted");
}

template <class V>
void describe(V& v, transport::GetImageReply& r) {
  v.member(r.header);
  describeImageParts(v, r.image, transport::Shape::stored);
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::SetImageArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.name, "name");
  detail::argumentName(v, r.newName, "newName");
  v.u32(r.changed, "changed");
  describeImageParts(v, r.image, transport::Shape::request);
}

template <class V>
void describe(V& v, transport::CreateImageArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.name, "name");
  describeImageParts(v, r.image, transport::Shape::request);
}

template <class V>
void describe(V& v, transport::ListImageArgs& r) {
  v.member(r.header);
  v.member(r.forms, "forms");
  v.i32(r.changedSince, "changedSince");
  v.string(r.imageType, kUnbounded, "imageType");
}

template <class V>
void describe(V& v, transport::GetMultipleImagesArgs& r) {
  v.member(r.header);
  v.i32(r.changedSince, "changedSince");
  v.member(r.names, "names");
  v.u32(r.wanted, "wanted");
}

template <class V>
void describe(V& v, transport::GetMultipleImagesReply& r) {
  v.member(r.header);
  v.member(r.exists, "exists");
  v.member(r.names, "names");
  v.member(r.images, "images");
  v.member(r.types, "types");
  v.member(r.timestamps, "timestamps");
  v.member(r.checksums, "checksums");
  v.member(r.descriptions, "descriptions");
  v.member(r.helpTexts, "helpTexts");
  v.member(r.owners, "owners");
  v.member(r.lastChanged, "lastChanged");
  v.member(r.diaries, "diaries");
  v.member(r.properties, "properties");
  v.member(r.status);
}

// ---- support files ----------------------------------------------------------------------------

template <class V>
void describe(V& v, transport::SupportFileKey& k) {
  v.u32(k.fileType, "fileType");
  detail::argumentName(v, k.name, "name");
  v.u32(k.id, "id");
  v.u32(k.fileId, "fileId");
}

template <class V>
void describe(V& v, transport::GetSupportFileArgs& r) {
  v.member(r.header);
  v.member(r.key, "key");
}

template <class V>
void describe(V& v, transport::GetSupportFileReply& r) {
  v.member(r.header);
  v.i32(r.timestamp, "timestamp");
  detail::countedBytes(v, r.length, r.bytes, "content");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::SetSupportFileArgs& r) {
  v.member(r.header);
  v.member(r.key, "key");
  v.u32(r.totalSize, "totalSize");
  detail::countedBytes(v, r.length, r.bytes, "content");
}

template <class V>
void describe(V& v, transport::DeleteSupportFileArgs& r) {
  v.member(r.header);
  v.member(r.key, "key");
}

template <class V>
void describe(V& v, transport::ListSupportFileArgs& r) {
  v.member(r.header);
  v.u32(r.fileType, "fileType");
  detail::argumentName(v, r.name, "name");
  v.u32(r.id, "id");
  v.i32(r.changedSince, "changedSince");
}

}  // namespace zq::model
