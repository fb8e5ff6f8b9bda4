// Menus from the rows of an SQL query: the label columns give the levels,
// the value column the values.
#include <cstdio>
#include <cstring>
#include <ctime>

#include "frame/frame.h"
#include "menus/menu_items.h"
#include "menus/menus.h"
#include "text/text.h"

namespace zq::menus {
namespace {

constexpr uint32_t kRowGrowth = 10;

// Column (1-based) of a row as menu text; empty beyond the row.
std::string columnText(const ZQValueList& row, int32_t column) {
  if (column < 1 || static_cast<uint32_t>(column) > row.count) return {};
  const ZQValueStruct& v = row.items[column - 1];
  char buffer[64];
  switch (v.dataType) {
    case ZQ_DATA_TYPE_INTEGER:
      return std::to_string(v.u.integerValue);
    case ZQ_DATA_TYPE_ENUM:
      return std::to_string(static_cast<int32_t>(v.u.enumValue));
    case ZQ_DATA_TYPE_REAL:
      snprintf(buffer, sizeof buffer, "%g", v.u.realValue);
      return buffer;
    case ZQ_DATA_TYPE_CHAR:
      return v.u.charValue ? v.u.charValue : "";
    case ZQ_DATA_TYPE_DIARY:
      return v.u.diaryValue ? v.u.diaryValue : "";
    case ZQ_DATA_TYPE_DECIMAL:
      return v.u.decimalValue ? v.u.decimalValue : "";
    case ZQ_DATA_TYPE_TIME:
      return text::dates::localTimeText(&text::dates::formatTimestamp, v.u.timestampValue);
    case ZQ_DATA_TYPE_TIME_OF_DAY: {
      struct tm t {};
      t.tm_hour = v.u.timeOfDayValue / 3600;
      t.tm_min = v.u.timeOfDayValue / 60 % 60;
      t.tm_sec = v.u.timeOfDayValue % 60;
      char out[256];
      text::dates::formatTimestampTime(out, sizeof out, &t);
      return out;
    }
    case ZQ_DATA_TYPE_DATE: {
      char out[ZQ_DATE_TEXT_SIZE];
      text::dates::formatDate(v.u.dateValue, out);
      return out;
    }
    case ZQ_DATA_TYPE_CURRENCY:
      if (!v.u.currencyValue) return {};
      return std::string(v.u.currencyValue->value ? v.u.currencyValue->value : "") + " " +
             v.u.currencyValue->currencyCode;
    default:
      return {};
  }
}

bool sameItem(const ZQCharMenuItemStruct& item, const std::string& label,
              const std::string& value) {
  return item.type == ZQ_MENU_ITEM_VALUE && label == item.label && item.u.value &&
         value == item.u.value;
}

// A sub-menu holding one value item without a label is that value.
void collapse(ZQCharMenuList& list) {
  for (uint32_t i = 0; i < list.count; ++i) {
    ZQCharMenuItemStruct& item = list.items[i];
    if (item.type != ZQ_MENU_ITEM_MENU || !item.u.childMenu) continue;
    ZQCharMenuStruct* child = item.u.childMenu;
    collapse(child->u.menuList);  // at most five levels deep
    ZQCharMenuList& inner = child->u.menuList;
    if (inner.count == 1 && inner.items[0].type == ZQ_MENU_ITEM_VALUE && !inner.items[0].label[0]) {
      char* value = inner.items[0].u.value;
      freeBlock(inner.items);
      freeBlock(child);
      item.type = ZQ_MENU_ITEM_VALUE;
      item.u.value = value;
    }
  }
}

}  // namespace

int32_t menuFromRows(const ZQValueListList& rows,
                     const int32_t (&labelColumns)[ZQ_MENU_LABEL_FIELDS], int32_t valueColumn,
                     ZQCharMenuStruct& out) {
  out = ZQCharMenuStruct{};
  out.menuType = ZQ_CHAR_MENU_LIST;
  int levels = 0;
  while (levels < ZQ_MENU_LABEL_FIELDS && labelColumns[levels] != 0) ++levels;
  if (levels == 0) levels = 1;
  try {
    for (uint32_t r = 0; r < rows.count; ++r) {
      const ZQValueList& row = rows.items[r];
      ZQCharMenuStruct* menu = &out;
      for (int level = 0; level + 1 < levels; ++level) {
        const std::string label = columnText(row, labelColumns[level]);
        ZQCharMenuList& list = menu->u.menuList;
        ZQCharMenuItemStruct* last = list.count ? &list.items[list.count - 1] : nullptr;
        if (last && last->type == ZQ_MENU_ITEM_MENU && last->u.childMenu && label == last->label) {
          menu = last->u.childMenu;
        } else if (!(menu = appendSubMenu(list, label, kRowGrowth))) {
          return kMsgNoMemory;
        }
      }
      const std::string label = columnText(row, labelColumns[levels - 1]);
      const std::string value = valueColumn == 0 ? std::string() : columnText(row, valueColumn);
      ZQCharMenuList& list = menu->u.menuList;
      bool known = false;
      for (uint32_t i = 0; i < list.count && !known; ++i)
        known = sameItem(list.items[i], label, value);
      if (!known && !appendValue(list, label, value, kRowGrowth)) return kMsgNoMemory;
    }
    collapse(out.u.menuList);
  } catch (...) {
    return kMsgNoMemory;
  }
  return 0;
}

}  // namespace zq::menus
