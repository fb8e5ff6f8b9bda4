// Deep copies of workflow actions, menus, field limits and the definition
// structures.
#include "model/copy_impl.h"
#include "model/describe_defs.h"
#include "zqapi/zq_defs.h"

namespace zq::model {
namespace {

int32_t checkMenu(const ZQCharMenuStruct& menu);

// Menu and item types are checked before anything is copied, so that a bad
// type deep in a tree leaves no half-made copy behind.
int32_t checkMenuItem(const ZQCharMenuItemStruct& item) {
  switch (item.type) {
    case ZQ_MENU_ITEM_NONE:
    case ZQ_MENU_ITEM_VALUE:
      return ZQ_COPY_OK;
    case ZQ_MENU_ITEM_MENU:
      return item.u.childMenu ? checkMenu(*item.u.childMenu) : ZQ_COPY_OK;
    default:
      return ZQ_COPY_BAD_MENU_ITEM_TYPE;
  }
}

int32_t checkMenu(const ZQCharMenuStruct& menu) {
  if (menu.menuType > ZQ_CHAR_MENU_DATA_DICTIONARY) return ZQ_COPY_BAD_MENU_TYPE;
  if (menu.menuType != ZQ_CHAR_MENU_LIST || !menu.u.menuList.items) return ZQ_COPY_OK;
  for (uint32_t i = 0; i < menu.u.menuList.count; ++i) {
    const int32_t result = checkMenuItem(menu.u.menuList.items[i]);
    if (result != ZQ_COPY_OK) return result;
  }
  return ZQ_COPY_OK;
}

template <class T>
int32_t copyChecked(T* destination, const T* source, int32_t (*check)(const T&)) {
  if (destination && source) {
    const int32_t result = check(*source);
    if (result != ZQ_COPY_OK) {
      memset(static_cast<void*>(destination), 0, sizeof(T));  // menu type 0
      return result;
    }
  }
  return copyExport(destination, source);
}

}  // namespace
}  // namespace zq::model

using zq::model::copyExport;

extern "C" {

// clang-format off
int32_t ZQCopyEnumItemList(ZQEnumItemList* destination, const ZQEnumItemList* source) { return copyExport(destination, source); }
int32_t ZQCopyFieldLimitStruct(ZQFieldLimitStruct* destination, const ZQFieldLimitStruct* source) { return copyExport(destination, source); }
int32_t ZQCopyNotifyStruct(ZQNotifyStruct* destination, const ZQNotifyStruct* source) { return copyExport(destination, source); }
int32_t ZQCopyPushFieldsStruct(ZQPushFieldsStruct* destination, const ZQPushFieldsStruct* source) { return copyExport(destination, source); }
int32_t ZQCopyPushFieldsList(ZQPushFieldsList* destination, const ZQPushFieldsList* source) { return copyExport(destination, source); }
int32_t ZQCopySQLStruct(ZQSQLStruct* destination, const ZQSQLStruct* source) { return copyExport(destination, source); }
int32_t ZQCopyFilterActionStruct(ZQFilterActionStruct* destination, const ZQFilterActionStruct* source) { return copyExport(destination, source); }
int32_t ZQCopyFilterActionList(ZQFilterActionList* destination, const ZQFilterActionList* source) { return copyExport(destination, source); }
int32_t ZQCopyActiveLinkActionStruct(ZQActiveLinkActionStruct* destination, const ZQActiveLinkActionStruct* source) { return copyExport(destination, source); }
int32_t ZQCopyActiveLinkActionList(ZQActiveLinkActionList* destination, const ZQActiveLinkActionList* source) { return copyExport(destination, source); }
int32_t ZQCopyCurrencyPrecisionList(ZQCurrencyPrecisionList* destination, const ZQCurrencyPrecisionList* source) { return copyExport(destination, source); }
int32_t ZQCopyVuiInfoList(ZQVuiInfoList* destination, const ZQVuiInfoList* source) { return copyExport(destination, source); }
int32_t ZQCopyVuiInfoStruct(ZQVuiInfoStruct* destination, const ZQVuiInfoStruct* source) { return copyExport(destination, source); }
int32_t ZQCopyFieldInfoList(ZQFieldInfoList* destination, const ZQFieldInfoList* source) { return copyExport(destination, source); }
int32_t ZQCopyFieldInfoStruct(ZQFieldInfoStruct* destination, const ZQFieldInfoStruct* source) { return copyExport(destination, source); }
int32_t ZQCopyWorkflowConnectStruct(ZQWorkflowConnectStruct* destination, const ZQWorkflowConnectStruct* source) { return copyExport(destination, source); }
int32_t ZQCopyReferenceList(ZQReferenceList* destination, const ZQReferenceList* source) { return copyExport(destination, source); }
int32_t ZQCopySupportFileInfoStruct(ZQSupportFileInfoStruct* destination, const ZQSupportFileInfoStruct* source) { return copyExport(destination, source); }
int32_t ZQCopySupportFileInfoList(ZQSupportFileInfoList* destination, const ZQSupportFileInfoList* source) { return copyExport(destination, source); }
// clang-format on

int32_t ZQCopyCharMenuStruct(ZQCharMenuStruct* destination, const ZQCharMenuStruct* source) {
  return zq::model::copyChecked(destination, source, &zq::model::checkMenu);
}

int32_t ZQCopyCharMenuItemStruct(ZQCharMenuItemStruct* destination,
                                 const ZQCharMenuItemStruct* source) {
  return zq::model::copyChecked(destination, source, &zq::model::checkMenuItem);
}

}  // extern "C"
