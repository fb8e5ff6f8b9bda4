// Definition objects in XML form. Each object is an element of the document
// (its kind) with a name attribute (and, for fields and views, a form
// attribute) holding the members below, then the kind's parts written by
// their one description (transport/describe_definitions.h,
// transport/describe_workflow_defs.h). The wrappers carry only what the
// XML calls add to the parts: the application block, and the ids.
#pragma once

#include "transport/describe_definitions.h"
#include "transport/describe_workflow_defs.h"
// The descriptions above must be declared before the visitors see them.
#include "visitors.h"

namespace zq::xmlutil {

using transport::CommonProps;

// The application block and owner every named kind carries.
struct AppBlock {
  char* blockName;
  char* owner;
};
template <class V>
void describeAppBlock(V& v, AppBlock& a) {
  v.string(a.blockName, model::kUnbounded, "appBlockName");
  v.string(a.owner, model::kUnbounded, "appOwner");
}

struct SchemaObject {
  AppBlock app;
  uint32_t nextFieldId;
  ZQInternalIdList fieldIds;
  ZQInternalIdList vuiIds;
  uint32_t option;
  transport::SchemaParts parts;
};
template <class V>
void describe(V& v, SchemaObject& o) {
  describeAppBlock(v, o.app);
  v.u32(o.nextFieldId, "nextFieldId");
  v.member(o.fieldIds, "fieldIds");
  v.member(o.vuiIds, "vuiIds");
  v.u32(o.option, "option");
  v.member(o.parts, "parts");
}

// The field's parts leave out the object properties; its XML form keeps them.
struct FieldObject {
  ZQInternalId fieldId;
  transport::FieldParts parts;
};
template <class V>
void describe(V& v, FieldObject& o) {
  v.u32(o.fieldId, "fieldId");
  v.member(o.parts, "parts");
  if constexpr (V::kPass != Pass::release) v.member(o.parts.common.properties, "properties");
}

struct ViewObject {
  ZQInternalId vuiId;
  transport::ViewParts parts;
};
template <class V>
void describe(V& v, ViewObject& o) {
  v.u32(o.vuiId, "vuiId");
  v.member(o.parts, "parts");
}

struct ImageObject {
  AppBlock app;
  transport::ImageParts parts;
};
template <class V>
void describe(V& v, ImageObject& o) {
  describeAppBlock(v, o.app);
  v.member(o.parts, "parts");
}

// Filters, escalations, menus and containers: the block, then the parts.
template <class P>
struct NamedObject {
  AppBlock app;
  P parts;
};
template <class V, class P>
void describe(V& v, NamedObject<P>& o) {
  describeAppBlock(v, o.app);
  v.member(o.parts, "parts");
}

// Active links carry their sub-administrator groups beside the parts.
struct ActiveLinkObject {
  AppBlock app;
  ZQInternalIdList subAdminGroups;
  transport::ActiveLinkParts parts;
};
template <class V>
void describe(V& v, ActiveLinkObject& o) {
  describeAppBlock(v, o.app);
  v.member(o.subAdminGroups, "subAdminGroups");
  v.member(o.parts, "parts");
}

// Data-distribution mappings and pools exist only in XML form here, so
// their parts are described here, once.
struct DsoMappingObject {
  AppBlock app;
  ZQNameType fromForm;
  ZQServerNameType fromServer;
  ZQNameType toForm;
  ZQServerNameType toServer;
  uint32_t enable, updateCode, transferMode, mapType, returnMapType, defaultMap, duplicateAction,
      returnDuplicateAction, patternMatch, requiredFields;
  char* mapping;
  char* returnMapping;
  ZQQualifierStruct match;
  CommonProps common;
};
template <class V>
void describe(V& v, DsoMappingObject& o) {
  describeAppBlock(v, o.app);
  v.name(o.fromForm, NameKind::plain, "fromForm");
  v.name(o.fromServer, NameKind::plain, "fromServer");
  v.name(o.toForm, NameKind::plain, "toForm");
  v.name(o.toServer, NameKind::plain, "toServer");
  v.u32(o.enable, "enable");
  v.u32(o.updateCode, "updateCode");
  v.u32(o.transferMode, "transferMode");
  v.u32(o.mapType, "mapType");
  v.u32(o.returnMapType, "returnMapType");
  v.u32(o.defaultMap, "defaultMap");
  v.u32(o.duplicateAction, "duplicateAction");
  v.u32(o.returnDuplicateAction, "returnDuplicateAction");
  v.u32(o.patternMatch, "patternMatch");
  v.u32(o.requiredFields, "requiredFields");
  v.string(o.mapping, model::kUnbounded, "mapping");
  v.string(o.returnMapping, model::kUnbounded, "returnMapping");
  v.member(o.match, "match");
  model::detail::describeCommon(v, o.common, transport::Shape::stored, true);
}

struct DsoPoolObject {
  AppBlock app;
  uint32_t enable, defaultPool, threadCount;
  char* connection;
  uint32_t polling, pollingInterval;
  CommonProps common;
};
template <class V>
void describe(V& v, DsoPoolObject& o) {
  describeAppBlock(v, o.app);
  v.u32(o.enable, "enable");
  v.u32(o.defaultPool, "defaultPool");
  v.u32(o.threadCount, "threadCount");
  v.string(o.connection, model::kUnbounded, "connection");
  v.u32(o.polling, "polling");
  v.u32(o.pollingInterval, "pollingInterval");
  model::detail::describeCommon(v, o.common, transport::Shape::stored, true);
}

}  // namespace zq::xmlutil
