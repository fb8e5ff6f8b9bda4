#include "workflow_definitions.h"

#include <strings.h>

namespace zqserver {
namespace {

using namespace zq::transport;
namespace w = zq::transport::wanted;
namespace c = zq::transport::changed;

constexpr size_t kMaxName = 254;

StoreResult fail(int32_t message, std::string appended = {}) {
  return StoreResult{message, std::move(appended)};
}

StoreResult nameCheck(const std::string& name) {
  if (name.empty()) return fail(zq::kMsgNameRequired);
  if (name.size() > kMaxName) return fail(zq::kMsgTooLong, name);
  return {};
}

// A text member moved out of parts (the stamp appends it to the diary).
struct TakenText {
  char* text = nullptr;
  explicit TakenText(char*& member) : text(member) { member = nullptr; }
  ~TakenText() { ZQFree(text); }
};

template <class P>
StoreResult stampAndEncode(P& parts, const Actor& actor, const char* newOwner, const char* diary,
                           Definition& d) {
  if (!stampCommon(parts.common, actor.user, actor.now, newOwner, diary))
    return fail(zq::kMsgNoMemory);
  if (!encodeRecord(parts, d.record)) return fail(zq::kMsgBadEncoding, d.name);
  stampColumns(d, parts.common);
  return {};
}

// ---- the part tables ------------------------------------------------------------------------

#define ZQ_COMMON_PARTS(prefix)                                                \
  ZQ_DEFINITION_PART(common.helpText, w::k##prefix##Help, c::k##prefix##Help), \
      ZQ_DEFINITION_PART(common.owner, w::k##prefix##Owner, 0),                \
      ZQ_DEFINITION_PART(common.lastChanged, w::k##prefix##LastChanged, 0),    \
      ZQ_DEFINITION_PART(common.changeDiary, w::k##prefix##Diary, 0),          \
      ZQ_DEFINITION_PART(common.properties, w::k##prefix##Properties, c::k##prefix##Properties)

namespace filter {
using P = FilterParts;
constexpr PartRule<P> kRules[] = {
    ZQ_DEFINITION_PART(order, 0, c::kFilterOrder),
    ZQ_DEFINITION_PART(forms, 0, c::kFilterForms),
    ZQ_DEFINITION_PART(operations, 0, c::kFilterOperations),
    ZQ_DEFINITION_PART(enable, 0, c::kFilterEnable),
    ZQ_DEFINITION_PART(qualifier, w::kFilterQualifier, c::kFilterQualifier),
    ZQ_DEFINITION_PART(ifActions, w::kFilterIf, c::kFilterIf),
    ZQ_DEFINITION_PART(elseActions, w::kFilterElse, c::kFilterElse),
    ZQ_COMMON_PARTS(Filter),
    ZQ_DEFINITION_PART(errorOptions, w::kFilterErrorOptions, c::kFilterErrorOptions),
    ZQ_DEFINITION_PART(errorName, w::kFilterErrorName, c::kFilterErrorName),
};
}  // namespace filter

namespace link {
using P = ActiveLinkParts;
constexpr PartRule<P> kRules[] = {
    ZQ_DEFINITION_PART(order, 0, c::kLinkOrder),
    ZQ_DEFINITION_PART(forms, 0, c::kLinkForms),
    ZQ_DEFINITION_PART(groups, 0, c::kLinkGroups),
    ZQ_DEFINITION_PART(executeMask, 0, c::kLinkExecute),
    ZQ_DEFINITION_PART(controlField, 0, c::kLinkControlField),
    ZQ_DEFINITION_PART(focusField, 0, c::kLinkFocusField),
    ZQ_DEFINITION_PART(enable, 0, c::kLinkEnable),
    ZQ_DEFINITION_PART(qualifier, w::kLinkQualifier, c::kLinkQualifier),
    ZQ_DEFINITION_PART(ifActions, w::kLinkIf, c::kLinkIf),
    ZQ_DEFINITION_PART(elseActions, w::kLinkElse, c::kLinkElse),
    ZQ_COMMON_PARTS(Link),
    ZQ_DEFINITION_PART(errorOptions, w::kLinkErrorOptions, c::kLinkErrorOptions),
    ZQ_DEFINITION_PART(errorName, w::kLinkErrorName, c::kLinkErrorName),
};
}  // namespace link

namespace escalation {
using P = EscalationParts;
constexpr PartRule<P> kRules[] = {
    ZQ_DEFINITION_PART(time, 0, c::kEscalationTime),
    ZQ_DEFINITION_PART(forms, 0, c::kEscalationForms),
    ZQ_DEFINITION_PART(enable, 0, c::kEscalationEnable),
    ZQ_DEFINITION_PART(qualifier, w::kEscalationQualifier, c::kEscalationQualifier),
    ZQ_DEFINITION_PART(ifActions, w::kEscalationIf, c::kEscalationIf),
    ZQ_DEFINITION_PART(elseActions, w::kEscalationElse, c::kEscalationElse),
    ZQ_COMMON_PARTS(Escalation),
};
}  // namespace escalation

namespace menu {
using P = MenuParts;
constexpr PartRule<P> kRules[] = {
    ZQ_DEFINITION_PART(refreshCode, 0, c::kMenuRefresh),
    ZQ_DEFINITION_PART(menu, w::kMenuDefinition, c::kMenuDefinition),
    ZQ_COMMON_PARTS(Menu),
};
}  // namespace menu

namespace container {
using P = ContainerParts;
constexpr PartRule<P> kRules[] = {
    ZQ_DEFINITION_PART(permissions, w::kContainerPermissions, c::kContainerPermissions),
    ZQ_DEFINITION_PART(subAdminGroups, w::kContainerSubAdmins, c::kContainerSubAdmins),
    ZQ_DEFINITION_PART(ownerObjects, w::kContainerOwnerObjects, c::kContainerOwnerObjects),
    ZQ_DEFINITION_PART(label, w::kContainerLabel, c::kContainerLabel),
    ZQ_DEFINITION_PART(description, w::kContainerDescription, c::kContainerDescription),
    ZQ_DEFINITION_PART(type, 0, c::kContainerType),
    ZQ_DEFINITION_PART(references, w::kContainerReferences, c::kContainerReferences),
    ZQ_COMMON_PARTS(Container),
};
}  // namespace container

}  // namespace

#define ZQ_WORKFLOW_KIND_DEF(P, ns, storeKind, prefix)                    \
  const DefinitionKind WorkflowKind<P>::kind = DefinitionKind::storeKind; \
  const uint32_t WorkflowKind<P>::nameBit = c::k##prefix##Name;           \
  const uint32_t WorkflowKind<P>::ownerBit = c::k##prefix##Owner;         \
  const uint32_t WorkflowKind<P>::diaryBit = c::k##prefix##Diary;         \
  std::span<const PartRule<P>> WorkflowKind<P>::rules() {                 \
    return ns::kRules;                                                    \
  }
ZQ_WORKFLOW_KIND_DEF(FilterParts, filter, filter, Filter)
ZQ_WORKFLOW_KIND_DEF(ActiveLinkParts, link, activeLink, Link)
ZQ_WORKFLOW_KIND_DEF(EscalationParts, escalation, escalation, Escalation)
ZQ_WORKFLOW_KIND_DEF(MenuParts, menu, menu, Menu)
ZQ_WORKFLOW_KIND_DEF(ContainerParts, container, container, Container)
#undef ZQ_WORKFLOW_KIND_DEF

template <class P>
StoreResult WorkflowDefinitions::read(const Definition& row, P& out) {
  return decodeRecord(row.record, out) ? StoreResult{} : fail(zq::kMsgBadDefinition, row.name);
}

template <class P>
StoreResult WorkflowDefinitions::create(const std::string& name, P& parts, const Actor& actor) {
  StoreResult r = nameCheck(name);
  if (!r.ok()) return r;
  Definition d;
  d.kind = WorkflowKind<P>::kind;
  d.name = name;
  {
    TakenText diary(parts.common.changeDiary);
    r = stampAndEncode(parts, actor, nullptr, diary.text, d);
  }
  return r.ok() ? defs_.insert(d) : r;
}

template <class P>
StoreResult WorkflowDefinitions::set(const std::string& name, const std::string& newName,
                                     uint32_t changed, P& given, const Actor& actor) {
  auto row = defs_.find(WorkflowKind<P>::kind, 0, name);
  if (!row) return fail(zq::kMsgNoSuchDefinition, name);
  OwnedParts<P> stored;
  StoreResult r = read(*row, stored.p);
  if (!r.ok()) return r;
  applyChanges(stored.p, given, changed, WorkflowKind<P>::rules());
  if ((changed & WorkflowKind<P>::nameBit) && !newName.empty()) {
    if (!(r = nameCheck(newName)).ok()) return r;
    row->name = newName;
  }
  r = stampAndEncode(
      stored.p, actor, (changed & WorkflowKind<P>::ownerBit) ? given.common.owner : nullptr,
      (changed & WorkflowKind<P>::diaryBit) ? given.common.changeDiary : nullptr, *row);
  return r.ok() ? defs_.update(*row) : r;
}

template <class P>
StoreResult WorkflowDefinitions::remove(const std::string& name) {
  auto row = defs_.find(WorkflowKind<P>::kind, 0, name);
  if (!row) return fail(zq::kMsgNoSuchDefinition, name);
  return defs_.remove(row->rowId);
}

#define ZQ_WORKFLOW_INSTANTIATE(P)                                                           \
  template StoreResult WorkflowDefinitions::read<P>(const Definition&, P&);                  \
  template StoreResult WorkflowDefinitions::create<P>(const std::string&, P&, const Actor&); \
  template StoreResult WorkflowDefinitions::set<P>(const std::string&, const std::string&,   \
                                                   uint32_t, P&, const Actor&);              \
  template StoreResult WorkflowDefinitions::remove<P>(const std::string&);
ZQ_WORKFLOW_INSTANTIATE(FilterParts)
ZQ_WORKFLOW_INSTANTIATE(ActiveLinkParts)
ZQ_WORKFLOW_INSTANTIATE(EscalationParts)
ZQ_WORKFLOW_INSTANTIATE(MenuParts)
ZQ_WORKFLOW_INSTANTIATE(ContainerParts)
#undef ZQ_WORKFLOW_INSTANTIATE

bool connects(const ZQWorkflowConnectStruct& forms, const std::string& form) {
  if (form.empty()) return true;
  if (forms.type != ZQ_WORKFLOW_CONN_SCHEMA_LIST || !forms.schemaList) return false;
  const ZQNameList& l = *forms.schemaList;
  for (uint32_t i = 0; i < l.count && l.items; ++i)
    if (strcasecmp(l.items[i], form.c_str()) == 0) return true;
  return false;
}

}  // namespace zqserver
