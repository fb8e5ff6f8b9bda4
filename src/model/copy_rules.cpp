// Per-type rules of the deep copies that do not fit in a description: the
// buffer of the server-log note, and the type checks of menus.
#include <cstring>

#include "frame/frame.h"
#include "model/describe_core.h"
#include "model/describe_workflow.h"
#include "zqapi/zq_copy.h"

namespace zq::model {

bool copyStatusMessage(ZQStatusStruct& s) {
  if (!s.message) return true;
  if (s.messageType != ZQ_MESSAGE_NOTE || s.messageNumber != kMsgServerLogNote) {
    s.message = dupString(s.message);
    return s.message != nullptr;
  }
  const size_t len = strlen(s.message);
  const size_t room = (len / 8192 + 1) * 8192;
  auto* buffer = static_cast<char*>(alloc(room));
  if (buffer) memcpy(buffer, s.message, len + 1);
  s.message = buffer;
  return buffer != nullptr;
}

int32_t checkMenuItemForCopy(const ZQCharMenuItemStruct& item) {
  switch (item.type) {
    case ZQ_MENU_ITEM_NONE:
    case ZQ_MENU_ITEM_VALUE:
      return ZQ_COPY_OK;
    case ZQ_MENU_ITEM_MENU:
      return item.u.childMenu ? checkMenuForCopy(*item.u.childMenu) : ZQ_COPY_OK;
    default:
      return ZQ_COPY_BAD_MENU_ITEM_TYPE;
  }
}

int32_t checkMenuForCopy(const ZQCharMenuStruct& menu) {
  if (menu.menuType > ZQ_CHAR_MENU_DATA_DICTIONARY) return ZQ_COPY_BAD_MENU_TYPE;
  if (menu.menuType != ZQ_CHAR_MENU_LIST || !menu.u.menuList.items) return ZQ_COPY_OK;
  for (uint32_t i = 0; i < menu.u.menuList.count; ++i) {
    const int32_t result = checkMenuItemForCopy(menu.u.menuList.items[i]);
    if (result != ZQ_COPY_OK) return result;
  }
  return ZQ_COPY_OK;
}

}  // namespace zq::model
