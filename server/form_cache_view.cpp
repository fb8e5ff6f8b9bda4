#include "form_cache_view.h"

#include <strings.h>

#include "definition_parts.h"
#include "workflow_definitions.h"

namespace zqserver {
namespace {

using zq::transport::ActiveLinkParts;
using zq::transport::ContainerParts;
using zq::transport::MenuParts;

bool changedSince(const Definition& row, ZQTimestamp since) {
  return since == 0 || row.changed >= since;
}

bool ownedBy(const ZQContainerOwnerObjList& owners, const std::string& form) {
  for (uint32_t i = 0; i < owners.count && owners.items; ++i)
    if (strcasecmp(owners.items[i].ownerName, form.c_str()) == 0) return true;
  return false;
}

}  // namespace

FormCacheView formCacheView(Store& store, const std::string& form,
                            const zq::transport::ValidateFormCacheArgs& since) {
  FormCacheView view;
  WorkflowDefinitions defs(store);
  for (const Definition& row : defs.store().listAll(WorkflowKind<ActiveLinkParts>::kind)) {
    OwnedParts<ActiveLinkParts> link;
    if (!defs.read(row, link.p).ok() || !connects(link.p.forms, form)) continue;
    ++view.activeLinks;
    if (changedSince(row, since.activeLinksSince)) ++view.changedActiveLinks;
  }
  for (const Definition& row : defs.store().listAll(WorkflowKind<MenuParts>::kind))
    if (changedSince(row, since.menusSince)) view.changedMenus.push_back(row.name);
  for (const Definition& row : defs.store().listAll(WorkflowKind<ContainerParts>::kind)) {
    if (!changedSince(row, since.guidesSince)) continue;
    OwnedParts<ContainerParts> container;
    if (!defs.read(row, container.p).ok()) continue;
    const uint32_t type = container.p.type;
    if ((type == kContainerGuide || type == kContainerFilterGuide) &&
        ownedBy(container.p.ownerObjects, form))
      view.changedGuides.push_back(row.name);
  }
  return view;
}

}  // namespace zqserver
