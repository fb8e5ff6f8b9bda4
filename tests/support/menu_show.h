// A character menu in one line, such as "Open=1, More{Closed=2}", so that
// tests compare the menus they expect in one line.
#pragma once

#include <string>

#include "zqapi/zqapi.h"

namespace zqtest {

inline std::string show(const ZQCharMenuStruct& m) {
  if (m.menuType != ZQ_CHAR_MENU_LIST) return "?type" + std::to_string(m.menuType);
  std::string out;
  for (uint32_t i = 0; i < m.u.menuList.count; ++i) {
    const ZQCharMenuItemStruct& item = m.u.menuList.items[i];
    if (i) out += ", ";
    out += item.label;
    if (item.type == ZQ_MENU_ITEM_VALUE)
      out += std::string("=") + item.u.value;
    else
      out += "{" + (item.u.childMenu ? show(*item.u.childMenu) : std::string("null")) + "}";
  }
  return out;
}

}  // namespace zqtest
