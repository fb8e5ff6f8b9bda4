// Wire descriptions of the workflow definition records (records_workflow.h).
//
// Requests carry the common properties as texts (help, owner of at most
// 255, diary) then the object properties; replies and the stored copy carry
// help and diary as counted texts, the timestamp, the owner and the last
// changer as fixed names. Filters and active links append their error
// handler (options, name) after the reply's status list.
#pragma once

#include <cstring>

#include "transport/describe_definitions.h"
#include "transport/records_workflow.h"

namespace zq::model {

namespace detail {

// A fixed name sent as a text of at most 255 characters.
template <class V, size_t N>
void nameAsText(V& v, char (&name)[N], Label label) {
  if constexpr (everyMember<V>()) {
    v.name(name, NameKind::access, label);
  } else if constexpr (V::kPass == Pass::decode) {
    char* s = nullptr;
    v.string(s, 255, label);
    if (v.ok()) copyName(name, s ? s : "", N);
    zq::freeBlock(s);
  } else {
    char* s = name;
    v.string(s, 255, label);
  }
}

// A text sent as a counted text holding its terminator.
template <class V>
void countedText(V& v, char*& s, Label label) {
  if constexpr (everyMember<V>()) {
    v.string(s, kUnbounded, label);
  } else if constexpr (V::kPass == Pass::decode) {
    uint32_t length = 0;
    v.text(length, s, label);
  } else {
    const uint32_t length = s ? static_cast<uint32_t>(strlen(s) + 1) : 0;
    v.text(length, s, label);
  }
}

template <class V>
void describeWorkflowCommon(V& v, transport::CommonProps& c, transport::Shape shape) {
  if (storedShape<V>(shape)) {
    countedText(v, c.helpText, "Help Text:");
    v.i32(c.timestamp, "Last Update Time:");
    v.name(c.owner, NameKind::access, "Owner:");
    v.name(c.lastChanged, NameKind::access, "Last Changed:");
    countedText(v, c.changeDiary, "Change Diary:");
  } else {
    v.string(c.helpText, kUnbounded, "Help Text:");
    nameAsText(v, c.owner, "Owner:");
    v.string(c.changeDiary, kUnbounded, "Change Diary:");
  }
  v.member(c.properties, "properties");
}

// The error handler: a name of 255 in replies, a text in requests.
template <class V, class P>
void describeErrorHandler(V& v, P& p, transport::Shape shape) {
  v.u32(p.errorOptions, "Error Handler Options:");
  if (storedShape<V>(shape))
    v.name(p.errorName, NameKind::plain, "Error Handler Name:");
  else
    nameAsText(v, p.errorName, "Error Handler Name:");
}

// Whether a part set carries an error handler after the status list.
template <class P>
constexpr bool kHasErrorHandler =
    std::is_same_v<P, transport::FilterParts> || std::is_same_v<P, transport::ActiveLinkParts>;

}  // namespace detail

template <class V>
void describe(V& v, ZQEscalationTimeStruct& t) {
  v.u32(t.kind, "kind");
  switch (t.kind) {
    case ZQ_ESCALATION_INTERVAL:
      v.i32(t.u.interval, "Interval:");
      break;
    case ZQ_ESCALATION_CALENDAR:
      v.i32(t.u.date.monthday, "Monthday:");
      v.i32(t.u.date.weekday, "Weekday:");
      v.i32(t.u.date.hourmask, "Hourmask:");
      v.u32(t.u.date.minute, "Minute:");
      break;
    default:
      v.badTag();
      break;
  }
}
inline void resetFreed(FreeVisitor&, ZQEscalationTimeStruct& t) {
  t = ZQEscalationTimeStruct{};
}
template <class V>
void describe(V& v, ZQEscalationTimeList& s) {
  list(v, s);
}

// ---- the parts, up to the status list -------------------------------------------------------

template <class V>
void describeBody(V& v, transport::FilterParts& p, transport::Shape shape) {
  v.u32(p.order, "Filter order:");
  v.member(p.forms, "forms");
  v.u32(p.operations, "Operations Bitmask:");
  v.u32(p.enable, "Enable Flag:");
  v.member(p.qualifier, "qualifier");
  v.member(p.ifActions, "ifActions");
  v.member(p.elseActions, "elseActions");
  detail::describeWorkflowCommon(v, p.common, shape);
}

template <class V>
void describeBody(V& v, transport::ActiveLinkParts& p, transport::Shape shape) {
  v.u32(p.order, "Execution order:");
  v.member(p.forms, "forms");
  v.member(p.groups, "groups");
  v.u32(p.executeMask, "Execute Bitmask:");
  v.u32(p.controlField, "Control Field:");
  v.u32(p.focusField, "Focus Field:");
  v.u32(p.enable, "Enable Flag:");
  v.member(p.qualifier, "qualifier");
  v.member(p.ifActions, "ifActions");
  v.member(p.elseActions, "elseActions");
  detail::describeWorkflowCommon(v, p.common, shape);
}

template <class V>
void describeBody(V& v, transport::EscalationParts& p, transport::Shape shape) {
  v.member(p.time, "time");
  v.member(p.forms, "forms");
  v.u32(p.enable, "Enable Flag:");
  v.member(p.qualifier, "qualifier");
  v.member(p.ifActions, "ifActions");
  v.member(p.elseActions, "elseActions");
  detail::describeWorkflowCommon(v, p.common, shape);
}

template <class V>
void describeBody(V& v, transport::MenuParts& p, transport::Shape shape) {
  v.u32(p.refreshCode, "Refresh code:");
  v.member(p.menu, "menu");
  detail::describeWorkflowCommon(v, p.common, shape);
}

template <class V>
void describeBody(V& v, transport::ContainerParts& p, transport::Shape shape) {
  v.member(p.permissions, "permissions");
  v.member(p.subAdminGroups, "subAdminGroups");
  v.member(p.ownerObjects, "ownerObjects");
  v.string(p.label, kUnbounded, "Label:");
  v.string(p.description, kUnbounded, "Description:");
  v.u32(p.type, "Type:");
  v.member(p.references, "references");
  detail::describeWorkflowCommon(v, p.common, shape);
}

template <class V, class P>
void describeTail(V& v, P& p, transport::Shape shape) {
  if constexpr (detail::kHasErrorHandler<P>) detail::describeErrorHandler(v, p, shape);
}

// The parts as the server keeps them.
#define ZQ_WORKFLOW_PARTS(P)                      \
  template <class V>                              \
  void describe(V& v, transport::P& p) {          \
    describeBody(v, p, transport::Shape::stored); \
    describeTail(v, p, transport::Shape::stored); \
  }
ZQ_WORKFLOW_PARTS(FilterParts)
ZQ_WORKFLOW_PARTS(ActiveLinkParts)
ZQ_WORKFLOW_PARTS(EscalationParts)
ZQ_WORKFLOW_PARTS(MenuParts)
ZQ_WORKFLOW_PARTS(ContainerParts)
#undef ZQ_WORKFLOW_PARTS

// ---- records ---------------------------------------------------------------------------------

template <class V, class P>
void describe(V& v, transport::GetNamedArgs<P>& r) {
  v.member(r.header);
  detail::argumentName(v, r.name, "name");
  v.u32(r.wanted, "wanted");
}

template <class V, class P>
void describe(V& v, transport::GetNamedReply<P>& r) {
  v.member(r.header);
  describeBody(v, r.parts, transport::Shape::stored);
  v.member(r.status);
  describeTail(v, r.parts, transport::Shape::stored);
}

template <class V, class P>
void describe(V& v, transport::SetNamedArgs<P>& r) {
  v.member(r.header);
  detail::argumentName(v, r.name, "name");
  detail::argumentName(v, r.newName, "newName");
  v.u32(r.changed, "changed");
  describeBody(v, r.parts, transport::Shape::request);
  describeTail(v, r.parts, transport::Shape::request);
}

template <class V, class P>
void describe(V& v, transport::CreateNamedArgs<P>& r) {
  v.member(r.header);
  detail::argumentName(v, r.name, "name");
  describeBody(v, r.parts, transport::Shape::request);
  describeTail(v, r.parts, transport::Shape::request);
}

template <class V>
void describe(V& v, transport::GetContainerArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.name, "name");
  v.member(r.refTypes, "refTypes");
  v.u32(r.wanted, "wanted");
}

template <class V>
void describe(V& v, transport::SetContainerArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.name, "name");
  detail::argumentName(v, r.newName, "newName");
  v.u32(r.changed, "changed");
  describeBody(v, r.parts, transport::Shape::request);
  v.u32(r.option, "option");
}

template <class V>
void describe(V& v, transport::CreateContainerArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.name, "name");
  describeBody(v, r.parts, transport::Shape::request);
  v.u32(r.option, "option");
}

template <class V>
void describe(V& v, transport::ListWorkflowArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.i32(r.changedSince, "changedSince");
  v.member(r.properties, "properties");
}

template <class V>
void describe(V& v, transport::ListMenuArgs& r) {
  v.member(r.header);
  v.i32(r.changedSince, "changedSince");
  v.member(r.forms, "forms");
  v.member(r.referencing, "referencing");
  v.member(r.properties, "properties");
}

template <class V>
void describe(V& v, transport::ListContainerArgs& r) {
  v.member(r.header);
  v.i32(r.changedSince, "changedSince");
  v.member(r.types, "types");
  v.u32(r.attributes, "attributes");
  v.member(r.ownerObjects, "ownerObjects");
  v.member(r.properties, "properties");
}

template <class V>
void describe(V& v, transport::ListContainerReply& r) {
  v.member(r.header);
  v.member(r.containers, "containers");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::GetMultipleNamedArgs& r) {
  v.member(r.header);
  v.i32(r.changedSince, "changedSince");
  v.member(r.names, "names");
  v.u32(r.wanted, "wanted");
}

template <class V>
void describe(V& v, transport::GetMultipleContainersArgs& r) {
  v.member(r.header);
  v.i32(r.changedSince, "changedSince");
  v.member(r.names, "names");
  v.member(r.types, "types");
  v.u32(r.attributes, "attributes");
  v.member(r.ownerObjects, "ownerObjects");
  v.member(r.refTypes, "refTypes");
  v.u32(r.wanted, "wanted");
}

template <class V>
void describe(V& v, transport::MultipleCommon& c) {
  v.member(c.helpTexts, "helpTexts");
  v.member(c.timestamps, "timestamps");
  v.member(c.owners, "owners");
  v.member(c.lastChanged, "lastChanged");
  v.member(c.diaries, "diaries");
  v.member(c.properties, "properties");
}

template <class V>
void describe(V& v, transport::GetMultipleFiltersReply& r) {
  v.member(r.header);
  v.member(r.exists, "exists");
  v.member(r.names, "names");
  v.member(r.orders, "orders");
  v.member(r.forms, "forms");
  v.member(r.operations, "operations");
  v.member(r.enables, "enables");
  v.member(r.qualifiers, "qualifiers");
  v.member(r.ifActions, "ifActions");
  v.member(r.elseActions, "elseActions");
  v.member(r.common, "common");
  v.member(r.status);
  v.member(r.errorOptions, "errorOptions");
  v.member(r.errorNames, "errorNames");
}

template <class V>
void describe(V& v, transport::GetMultipleActiveLinksReply& r) {
  v.member(r.header);
  v.member(r.exists, "exists");
  v.member(r.names, "names");
  v.member(r.orders, "orders");
  v.member(r.forms, "forms");
  v.member(r.groups, "groups");
  v.member(r.executeMasks, "executeMasks");
  v.member(r.controlFields, "controlFields");
  v.member(r.focusFields, "focusFields");
  v.member(r.enables, "enables");
  v.member(r.qualifiers, "qualifiers");
  v.member(r.ifActions, "ifActions");
  v.member(r.elseActions, "elseActions");
  v.member(r.common, "common");
  v.member(r.status);
  v.member(r.errorOptions, "errorOptions");
  v.member(r.errorNames, "errorNames");
}

template <class V>
void describe(V& v, transport::GetMultipleEscalationsReply& r) {
  v.member(r.header);
  v.member(r.exists, "exists");
  v.member(r.names, "names");
  v.member(r.times, "times");
  v.member(r.forms, "forms");
  v.member(r.enables, "enables");
  v.member(r.qualifiers, "qualifiers");
  v.member(r.ifActions, "ifActions");
  v.member(r.elseActions, "elseActions");
  v.member(r.common, "common");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::GetMultipleMenusReply& r) {
  v.member(r.header);
  v.member(r.exists, "exists");
  v.member(r.names, "names");
  v.member(r.refreshCodes, "refreshCodes");
  v.member(r.menus, "menus");
  v.member(r.common, "common");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::GetMultipleContainersReply& r) {
  v.member(r.header);
  v.member(r.exists, "exists");
  v.member(r.names, "names");
  v.member(r.permissions, "permissions");
  v.member(r.subAdminGroups, "subAdminGroups");
  v.member(r.ownerObjects, "ownerObjects");
  v.member(r.labels, "labels");
  v.member(r.descriptions, "descriptions");
  v.member(r.types, "types");
  v.member(r.references, "references");
  v.member(r.common, "common");
  v.member(r.status);
}

}  // namespace zq::model
