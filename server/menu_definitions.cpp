#include "menu_definitions.h"

#include <ctime>

#include "model/describe.h"

namespace zqserver {

// The leading part of a stored menu record.
struct StoredMenuHead {
  uint32_t refreshCode;
  ZQCharMenuStruct menu;
};

}  // namespace zqserver

namespace zq::model {
template <class V>
void describe(V& v, zqserver::StoredMenuHead& h) {
  v.u32(h.refreshCode, "Refresh code:");
  v.member(h.menu, "menu");
}
}  // namespace zq::model

namespace zqserver {

bool storedMenu(DefinitionStore& defs, const std::string& name, ZQCharMenuStruct& out) {
  out = ZQCharMenuStruct{};
  const std::optional<Definition> d = defs.find(DefinitionKind::menu, 0, name);
  if (!d) return false;
  StoredMenuHead head{};
  if (!decodeRecord(d->record, head)) {
    zq::model::release(head);
    return false;
  }
  out = head.menu;
  return true;
}

StoreResult storeMenu(DefinitionStore& defs, const std::string& name, const ZQCharMenuStruct& menu,
                      const std::string& owner) {
  StoredMenuHead head{1, menu};
  Definition d;
  d.kind = DefinitionKind::menu;
  d.name = name;
  d.owner = owner;
  d.created = d.changed = time(nullptr);
  if (!encodeRecord(head, d.record)) return StoreResult{zq::kMsgNoMemory, {}};
  return defs.insert(d);
}

}  // namespace zqserver
