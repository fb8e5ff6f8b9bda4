// Character menus as the definition store keeps them (kind menu): the
// record begins with the refresh code and the menu definition, at the
// records' version; what follows (help text, owner, properties) is the
// definition calls' business.
#pragma once

#include <string>

#include "definition_store.h"
#include "zqapi/zq_workflow.h"

namespace zqserver {

// The definition of the menu named name into out (the caller releases it).
// False when there is none or its record cannot be read.
bool storedMenu(DefinitionStore& defs, const std::string& name, ZQCharMenuStruct& out);

// Stores a menu definition under name (tests and start-up loading).
StoreResult storeMenu(DefinitionStore& defs, const std::string& name, const ZQCharMenuStruct& menu,
                      const std::string& owner);

}  // namespace zqserver
