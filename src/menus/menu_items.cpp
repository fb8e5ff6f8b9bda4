#include "menus/menu_items.h"

#include <algorithm>
#include <cstring>

#include "frame/frame.h"

namespace zq::menus {
namespace {

constexpr size_t kLabelMax = sizeof(ZQNameType) - 1;  // 254
constexpr size_t kValueMax = 255;

ZQCharMenuItemStruct* appendItem(ZQCharMenuList& list, std::string_view label, uint32_t growth) {
  if (list.count % growth == 0) {
    void* grown = reallocate(list.items, (list.count + growth) * sizeof(ZQCharMenuItemStruct));
    if (!grown) return nullptr;
    list.items = static_cast<ZQCharMenuItemStruct*>(grown);
  }
  ZQCharMenuItemStruct& item = list.items[list.count];
  item = ZQCharMenuItemStruct{};
  const size_t n = std::min(label.size(), kLabelMax);
  if (n) memcpy(item.label, label.data(), n);  // an empty view may carry no buffer
  item.label[n] = '\0';
  return &item;
}

ZQCharMenuStruct* newListMenu() {
  auto* menu = static_cast<ZQCharMenuStruct*>(allocZeroed(1, sizeof(ZQCharMenuStruct)));
  if (menu) menu->menuType = ZQ_CHAR_MENU_LIST;
  return menu;
}

}  // namespace

bool appendValue(ZQCharMenuList& list, std::string_view label, std::string_view value,
                 uint32_t growth) {
  ZQCharMenuItemStruct* item = appendItem(list, label, growth);
  if (!item) return false;
  const std::string cut(value.substr(0, std::min(value.size(), kValueMax)));
  item->u.value = dupString(cut.c_str());
  if (!item->u.value) return false;
  item->type = ZQ_MENU_ITEM_VALUE;
  ++list.count;
  return true;
}

ZQCharMenuStruct* appendSubMenu(ZQCharMenuList& list, std::string_view label, uint32_t growth) {
  ZQCharMenuItemStruct* item = appendItem(list, label, growth);
  if (!item) return nullptr;
  ZQCharMenuStruct* menu = newListMenu();
  if (!menu) return nullptr;
  item->type = ZQ_MENU_ITEM_MENU;
  item->u.childMenu = menu;
  ++list.count;
  return menu;
}

ZQCharMenuStruct* openSubMenu(ZQCharMenuItemStruct& item) {
  if (item.type == ZQ_MENU_ITEM_MENU && item.u.childMenu) return item.u.childMenu;
  ZQCharMenuStruct* menu = newListMenu();
  if (!menu) return nullptr;
  if (item.type == ZQ_MENU_ITEM_VALUE) freeBlock(item.u.value);
  item.type = ZQ_MENU_ITEM_MENU;
  item.u.childMenu = menu;
  return menu;
}

}  // namespace zq::menus
