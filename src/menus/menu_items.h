// Building list menus item by item.
#pragma once

#include <string_view>

#include "zqapi/zq_workflow.h"

namespace zq::menus {

// Appends a value item (label cut to 254 characters, value to 255); the
// array grows by growth items at a time. False when memory ran out.
bool appendValue(ZQCharMenuList& list, std::string_view label, std::string_view value,
                 uint32_t growth);
// Appends a sub-menu item with a new empty list menu; its menu, or null.
ZQCharMenuStruct* appendSubMenu(ZQCharMenuList& list, std::string_view label, uint32_t growth);
// Turns a value item into a sub-menu item (its value released) holding a
// new empty list menu; the menu, or null.
ZQCharMenuStruct* openSubMenu(ZQCharMenuItemStruct& item);

}  // namespace zq::menus
