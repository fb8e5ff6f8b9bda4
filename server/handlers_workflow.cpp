// Handlers of the workflow definition procedures: menus, filters, active
// links, escalations and containers. Creating, changing and deleting them
// is for administrators.
#include <strings.h>

#include <string>
#include <vector>

#include "access.h"
#include "definition_lists.h"
#include "server.h"
#include "workflow_definitions.h"

namespace zqserver {
namespace {

using namespace zq::transport;
namespace w = zq::transport::wanted;

template <class Proc, class P = decltype(std::declval<typename Proc::Reply>().parts)>
void getNamed(Request<Proc>& call) {
  auto& a = call.args();
  call.server.faults().lastWantedMask = a.wanted;
  WorkflowDefinitions defs(call.server.store());
  auto row = defs.store().find(WorkflowKind<P>::kind, 0, textOf(a.name));
  if (!row) return report(call, zq::kMsgNoSuchDefinition, textOf(a.name));
  if (report(call, defs.read(*row, call.reply().parts)))
    keepWanted(call.reply().parts, a.wanted, WorkflowKind<P>::rules());
}

template <class Proc>
void setNamed(Request<Proc>& call) {
  if (!requireAdministrator(call)) return;
  auto& a = call.args();
  call.server.faults().lastChangedMask = a.changed;
  WorkflowDefinitions defs(call.server.store());
  report(call, defs.set(textOf(a.name), textOf(a.newName), a.changed, a.parts, actorOf(a.header)));
}

template <class Proc>
void createNamed(Request<Proc>& call) {
  if (!requireAdministrator(call)) return;
  auto& a = call.args();
  WorkflowDefinitions defs(call.server.store());
  report(call, defs.create(textOf(a.name), a.parts, actorOf(a.header)));
}

template <class Proc, class P>
void deleteNamed(Request<Proc>& call) {
  if (!requireAdministrator(call)) return;
  WorkflowDefinitions defs(call.server.store());
  report(call, defs.remove<P>(textOf(call.args().name)));
}

// The definitions of a kind connected to the form (empty: every one), with
// the properties asked for.
template <class Proc, class P>
void listByForm(Request<Proc>& call) {
  auto& a = call.args();
  WorkflowDefinitions defs(call.server.store());
  const std::string form = textOf(a.form);
  std::vector<std::string> names;
  for (const Definition& row : defs.store().list(WorkflowKind<P>::kind, 0, a.changedSince)) {
    OwnedParts<P> parts;
    if (!defs.read(row, parts.p).ok() || !connects(parts.p.forms, form)) continue;
    if (a.properties.count && !propertiesMatch(parts.p.common.properties, a.properties)) continue;
    names.push_back(row.name);
  }
  if (!wireNames(names, call.reply().names)) report(call, zq::kMsgNoMemory);
}

void listMenus(Request<proc::GetListCharMenu>& call) {
  auto& a = call.args();
  WorkflowDefinitions defs(call.server.store());
  std::vector<std::string> names;
  for (const Definition& row : defs.store().list(DefinitionKind::menu, 0, a.changedSince)) {
    OwnedParts<MenuParts> parts;
    if (!defs.read(row, parts.p).ok()) continue;
    if (a.properties.count && !propertiesMatch(parts.p.common.properties, a.properties)) continue;
    names.push_back(row.name);
  }
  if (!wireNames(names, call.reply().names)) report(call, zq::kMsgNoMemory);
}

bool ownedBy(const ZQContainerOwnerObjList& have, const ZQContainerOwnerObjList& wanted) {
  if (!wanted.count) return true;
  for (uint32_t i = 0; i < wanted.count && wanted.items; ++i)
    for (uint32_t j = 0; j < have.count && have.items; ++j)
      if (have.items[j].type == wanted.items[i].type &&
          strcasecmp(have.items[j].ownerName, wanted.items[i].ownerName) == 0)
        return true;
  return false;
}

bool ofType(uint32_t type, const ZQContainerTypeList& types) {
  if (!types.count) return true;
  for (uint32_t i = 0; i < types.count && types.items; ++i)
    if (static_cast<uint32_t>(types.items[i]) == type) return true;
  return false;
}

void listContainers(Request<proc::GetListContainer>& call) {
  auto& a = call.args();
  WorkflowDefinitions defs(call.server.store());
  std::vector<ZQContainerInfo> found;
  const auto rows = defs.store().list(DefinitionKind::container, 0, a.changedSince);
  ZQContainerInfoList& out = call.reply().containers;
  if (!sized(out, static_cast<uint32_t>(rows.size()), true)) return report(call, zq::kMsgNoMemory);
  uint32_t n = 0;
  for (const Definition& row : rows) {
    OwnedParts<ContainerParts> parts;
    if (!defs.read(row, parts.p).ok() || !ofType(parts.p.type, a.types) ||
        !ownedBy(parts.p.ownerObjects, a.ownerObjects))
      continue;
    ZQContainerInfo& info = out.items[n++];
    zq::copyName(info.name, row.name.c_str(), sizeof info.name);
    info.type = parts.p.type;
    info.ownerList = parts.p.ownerObjects;
    parts.p.ownerObjects = {};
  }
  out.count = n;
}

// The names a get-multiple call answers about, and the rows of each.
template <class P>
std::vector<std::string> wantedNames(WorkflowDefinitions& defs, const ZQNameList& names,
                                     ZQTimestamp changedSince) {
  std::vector<std::string> out;
  if (names.count && names.items) {
    for (uint32_t i = 0; i < names.count; ++i)
      out.emplace_back(names.items[i], strnlen(names.items[i], sizeof(ZQNameType)));
  } else {
    for (const Definition& row : defs.store().list(WorkflowKind<P>::kind, 0, changedSince))
      out.push_back(row.name);
  }
  return out;
}

template <class R>
bool sizedCommon(R& r, uint32_t n, uint32_t m, uint32_t help, uint32_t stamps, uint32_t owners,
                 uint32_t changers, uint32_t diaries, uint32_t properties) {
  MultipleCommon& c = r.common;
  return sized(c.helpTexts, n, m & help) && sized(c.timestamps, n, m & stamps) &&
         sized(c.owners, n, m & owners) && sized(c.lastChanged, n, m & changers) &&
         sized(c.diaries, n, m & diaries) && sized(c.properties, n, m & properties);
}

void putCommon(MultipleCommon& c, uint32_t i, CommonProps& p) {
  putItem(c.helpTexts, i, p.helpText);
  putItem(c.timestamps, i, p.timestamp);
  putItem(c.owners, i, p.owner);
  putItem(c.lastChanged, i, p.lastChanged);
  putItem(c.diaries, i, p.changeDiary);
  putItem(c.properties, i, p.properties);
}

// Runs put(i, parts) for each definition there is; names and exists flags
// are filled here.
template <class P, class R, class Put>
void eachWanted(Call& call, WorkflowDefinitions& defs, const std::vector<std::string>& names,
                ZQTimestamp changedSince, R& r, Put put) {
  for (uint32_t i = 0; i < names.size(); ++i) {
    auto row = defs.store().find(WorkflowKind<P>::kind, 0, names[i]);
    ZQNameType name{};
    zq::copyName(name, row ? row->name.c_str() : names[i].c_str(), sizeof name);
    putItem(r.names, i, name);
    OwnedParts<P> parts;
    if (!row || row->changed < changedSince || !defs.read(*row, parts.p).ok()) continue;
    ZQBoolean there = 1;
    putItem(r.exists, i, there);
    put(i, parts.p);
  }
  (void)call;
}

void getMultipleFilters(Request<proc::GetMultipleFilters>& call) {
  auto& a = call.args();
  auto& r = call.reply();
  call.server.faults().lastWantedMask = a.wanted;
  WorkflowDefinitions defs(call.server.store());
  const auto names = wantedNames<FilterParts>(defs, a.names, a.changedSince);
  const uint32_t n = static_cast<uint32_t>(names.size()), m = a.wanted;
  const bool ok =
      sized(r.exists, n, m & w::kMultiFilterExists) &&
      sized(r.names, n, m & w::kMultiFilterNames) &&
      sized(r.orders, n, m & w::kMultiFilterOrders) &&
      sized(r.forms, n, m & w::kMultiFilterForms) &&
      sized(r.operations, n, m & w::kMultiFilterOperations) &&
      sized(r.enables, n, m & w::kMultiFilterEnables) &&
      sized(r.qualifiers, n, m & w::kMultiFilterQualifiers) &&
      sized(r.ifActions, n, m & w::kMultiFilterIf) &&
      sized(r.elseActions, n, m & w::kMultiFilterElse) &&
      sizedCommon(r, n, m, w::kMultiFilterHelp, w::kMultiFilterTimestamps, w::kMultiFilterOwners,
                  w::kMultiFilterLastChanged, w::kMultiFilterDiaries, w::kMultiFilterProperties) &&
      sized(r.errorOptions, n, m & w::kMultiFilterErrorOptions) &&
      sized(r.errorNames, n, m & w::kMultiFilterErrorNames);
  if (!ok) return report(call, zq::kMsgNoMemory);
  eachWanted<FilterParts>(call, defs, names, a.changedSince, r, [&](uint32_t i, FilterParts& p) {
    putItem(r.orders, i, p.order);
    putItem(r.forms, i, p.forms);
    putItem(r.operations, i, p.operations);
    putItem(r.enables, i, p.enable);
    putItem(r.qualifiers, i, p.qualifier);
    putItem(r.ifActions, i, p.ifActions);
    putItem(r.elseActions, i, p.elseActions);
    putCommon(r.common, i, p.common);
    putItem(r.errorOptions, i, p.errorOptions);
    putItem(r.errorNames, i, p.errorName);
  });
}

void getMultipleActiveLinks(Request<proc::GetMultipleActiveLinks>& call) {
  auto& a = call.args();
  auto& r = call.reply();
  call.server.faults().lastWantedMask = a.wanted;
  WorkflowDefinitions defs(call.server.store());
  const auto names = wantedNames<ActiveLinkParts>(defs, a.names, a.changedSince);
  const uint32_t n = static_cast<uint32_t>(names.size()), m = a.wanted;
  const bool ok =
      sized(r.exists, n, m & w::kMultiLinkExists) && sized(r.names, n, m & w::kMultiLinkNames) &&
      sized(r.orders, n, m & w::kMultiLinkOrders) && sized(r.forms, n, m & w::kMultiLinkForms) &&
      sized(r.groups, n, m & w::kMultiLinkGroups) &&
      sized(r.executeMasks, n, m & w::kMultiLinkExecute) &&
      sized(r.controlFields, n, m & w::kMultiLinkControlFields) &&
      sized(r.focusFields, n, m & w::kMultiLinkFocusFields) &&
      sized(r.enables, n, m & w::kMultiLinkEnables) &&
      sized(r.qualifiers, n, m & w::kMultiLinkQualifiers) &&
      sized(r.ifActions, n, m & w::kMultiLinkIf) &&
      sized(r.elseActions, n, m & w::kMultiLinkElse) &&
      sizedCommon(r, n, m, w::kMultiLinkHelp, w::kMultiLinkTimestamps, w::kMultiLinkOwners,
                  w::kMultiLinkLastChanged, w::kMultiLinkDiaries, w::kMultiLinkProperties) &&
      sized(r.errorOptions, n, m & w::kMultiLinkErrorOptions) &&
      sized(r.errorNames, n, m & w::kMultiLinkErrorNames);
  if (!ok) return report(call, zq::kMsgNoMemory);
  eachWanted<ActiveLinkParts>(call, defs, names, a.changedSince, r,
                              [&](uint32_t i, ActiveLinkParts& p) {
                                putItem(r.orders, i, p.order);
                                putItem(r.forms, i, p.forms);
                                putItem(r.groups, i, p.groups);
                                putItem(r.executeMasks, i, p.executeMask);
                                putItem(r.controlFields, i, p.controlField);
                                putItem(r.focusFields, i, p.focusField);
                                putItem(r.enables, i, p.enable);
                                putItem(r.qualifiers, i, p.qualifier);
                                putItem(r.ifActions, i, p.ifActions);
                                putItem(r.elseActions, i, p.elseActions);
                                putCommon(r.common, i, p.common);
                                putItem(r.errorOptions, i, p.errorOptions);
                                putItem(r.errorNames, i, p.errorName);
                              });
}

void getMultipleEscalations(Request<proc::GetMultipleEscalations>& call) {
  auto& a = call.args();
  auto& r = call.reply();
  call.server.faults().lastWantedMask = a.wanted;
  WorkflowDefinitions defs(call.server.store());
  const auto names = wantedNames<EscalationParts>(defs, a.names, a.changedSince);
  const uint32_t n = static_cast<uint32_t>(names.size()), m = a.wanted;
  const bool ok = sized(r.exists, n, m & w::kMultiEscalationExists) &&
                  sized(r.names, n, m & w::kMultiEscalationNames) &&
                  sized(r.times, n, m & w::kMultiEscalationTimes) &&
                  sized(r.forms, n, m & w::kMultiEscalationForms) &&
                  sized(r.enables, n, m & w::kMultiEscalationEnables) &&
                  sized(r.qualifiers, n, m & w::kMultiEscalationQualifiers) &&
                  sized(r.ifActions, n, m & w::kMultiEscalationIf) &&
                  sized(r.elseActions, n, m & w::kMultiEscalationElse) &&
                  sizedCommon(r, n, m, w::kMultiEscalationHelp, w::kMultiEscalationTimestamps,
                              w::kMultiEscalationOwners, w::kMultiEscalationLastChanged,
                              w::kMultiEscalationDiaries, w::kMultiEscalationProperties);
  if (!ok) return report(call, zq::kMsgNoMemory);
  eachWanted<EscalationParts>(call, defs, names, a.changedSince, r,
                              [&](uint32_t i, EscalationParts& p) {
                                putItem(r.times, i, p.time);
                                putItem(r.forms, i, p.forms);
                                putItem(r.enables, i, p.enable);
                                putItem(r.qualifiers, i, p.qualifier);
                                putItem(r.ifActions, i, p.ifActions);
                                putItem(r.elseActions, i, p.elseActions);
                                putCommon(r.common, i, p.common);
                              });
}

void getMultipleMenus(Request<proc::GetMultipleCharMenus>& call) {
  auto& a = call.args();
  auto& r = call.reply();
  call.server.faults().lastWantedMask = a.wanted;
  WorkflowDefinitions defs(call.server.store());
  const auto names = wantedNames<MenuParts>(defs, a.names, a.changedSince);
  const uint32_t n = static_cast<uint32_t>(names.size()), m = a.wanted;
  const bool ok =
      sized(r.exists, n, m & w::kMultiMenuExists) && sized(r.names, n, m & w::kMultiMenuNames) &&
      sized(r.refreshCodes, n, m & w::kMultiMenuRefresh) &&
      sized(r.menus, n, m & w::kMultiMenuDefinitions) &&
      sizedCommon(r, n, m, w::kMultiMenuHelp, w::kMultiMenuTimestamps, w::kMultiMenuOwners,
                  w::kMultiMenuLastChanged, w::kMultiMenuDiaries, w::kMultiMenuProperties);
  if (!ok) return report(call, zq::kMsgNoMemory);
  eachWanted<MenuParts>(call, defs, names, a.changedSince, r, [&](uint32_t i, MenuParts& p) {
    putItem(r.refreshCodes, i, p.refreshCode);
    putItem(r.menus, i, p.menu);
    putCommon(r.common, i, p.common);
  });
}

void getContainer(Request<proc::GetContainer>& call) {
  auto& a = call.args();
  call.server.faults().lastWantedMask = a.wanted;
  WorkflowDefinitions defs(call.server.store());
  auto row = defs.store().find(DefinitionKind::container, 0, textOf(a.name));
  if (!row) return report(call, zq::kMsgNoSuchDefinition, textOf(a.name));
  if (report(call, defs.read(*row, call.reply().parts)))
    keepWanted(call.reply().parts, a.wanted, WorkflowKind<ContainerParts>::rules());
}

void getMultipleContainers(Request<proc::GetMultipleContainers>& call) {
  auto& a = call.args();
  auto& r = call.reply();
  call.server.faults().lastWantedMask = a.wanted;
  WorkflowDefinitions defs(call.server.store());
  const auto names = wantedNames<ContainerParts>(defs, a.names, a.changedSince);
  const uint32_t n = static_cast<uint32_t>(names.size()), m = a.wanted;
  const bool ok = sized(r.exists, n, m & w::kMultiContainerExists) &&
                  sized(r.names, n, m & w::kMultiContainerNames) &&
                  sized(r.permissions, n, m & w::kMultiContainerPermissions) &&
                  sized(r.subAdminGroups, n, m & w::kMultiContainerSubAdmins) &&
                  sized(r.ownerObjects, n, m & w::kMultiContainerOwnerObjects) &&
                  sized(r.labels, n, m & w::kMultiContainerLabels) &&
                  sized(r.descriptions, n, m & w::kMultiContainerDescriptions) &&
                  sized(r.types, n, m & w::kMultiContainerTypes) &&
                  sized(r.references, n, m & w::kMultiContainerReferences) &&
                  sizedCommon(r, n, m, w::kMultiContainerHelp, w::kMultiContainerTimestamps,
                              w::kMultiContainerOwners, w::kMultiContainerLastChanged,
                              w::kMultiContainerDiaries, w::kMultiContainerProperties);
  if (!ok) return report(call, zq::kMsgNoMemory);
  eachWanted<ContainerParts>(call, defs, names, a.changedSince, r,
                             [&](uint32_t i, ContainerParts& p) {
                               putItem(r.permissions, i, p.permissions);
                               putItem(r.subAdminGroups, i, p.subAdminGroups);
                               putItem(r.ownerObjects, i, p.ownerObjects);
                               putItem(r.labels, i, p.label);
                               putItem(r.descriptions, i, p.description);
                               putItem(r.types, i, p.type);
                               putItem(r.references, i, p.references);
                               putCommon(r.common, i, p.common);
                             });
}

}  // namespace

void serveWorkflowDefinitions(Handlers& h) {
  h.serve<proc::GetFilter, getNamed<proc::GetFilter>>();
  h.serve<proc::SetFilter, setNamed<proc::SetFilter>>();
  h.serve<proc::CreateFilter, createNamed<proc::CreateFilter>>();
  h.serve<proc::DeleteFilter, deleteNamed<proc::DeleteFilter, FilterParts>>();
  h.serve<proc::GetListFilter, listByForm<proc::GetListFilter, FilterParts>>();
  h.serve<proc::GetMultipleFilters, getMultipleFilters>();
  h.serve<proc::GetActiveLink, getNamed<proc::GetActiveLink>>();
  h.serve<proc::SetActiveLink, setNamed<proc::SetActiveLink>>();
  h.serve<proc::CreateActiveLink, createNamed<proc::CreateActiveLink>>();
  h.serve<proc::DeleteActiveLink, deleteNamed<proc::DeleteActiveLink, ActiveLinkParts>>();
  h.serve<proc::GetListActiveLink, listByForm<proc::GetListActiveLink, ActiveLinkParts>>();
  h.serve<proc::GetMultipleActiveLinks, getMultipleActiveLinks>();
  h.serve<proc::GetEscalation, getNamed<proc::GetEscalation>>();
  h.serve<proc::SetEscalation, setNamed<proc::SetEscalation>>();
  h.serve<proc::CreateEscalation, createNamed<proc::CreateEscalation>>();
  h.serve<proc::DeleteEscalation, deleteNamed<proc::DeleteEscalation, EscalationParts>>();
  h.serve<proc::GetListEscalation, listByForm<proc::GetListEscalation, EscalationParts>>();
  h.serve<proc::GetMultipleEscalations, getMultipleEscalations>();
  h.serve<proc::GetCharMenu, getNamed<proc::GetCharMenu>>();
  h.serve<proc::SetCharMenu, setNamed<proc::SetCharMenu>>();
  h.serve<proc::CreateCharMenu, createNamed<proc::CreateCharMenu>>();
  h.serve<proc::DeleteCharMenu, deleteNamed<proc::DeleteCharMenu, MenuParts>>();
  h.serve<proc::GetListCharMenu, listMenus>();
  h.serve<proc::GetMultipleCharMenus, getMultipleMenus>();
  h.serve<proc::GetContainer, getContainer>();
  h.serve<proc::SetContainer, setNamed<proc::SetContainer>>();
  h.serve<proc::CreateContainer, createNamed<proc::CreateContainer>>();
  h.serve<proc::DeleteContainer, deleteNamed<proc::DeleteContainer, ContainerParts>>();
  h.serve<proc::GetListContainer, listContainers>();
  h.serve<proc::GetMultipleContainers, getMultipleContainers>();
}

}  // namespace zqserver
