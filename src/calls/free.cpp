// The Free family. Every row of the exported type list with a generated Free
// releases what the value owns by the value's description (which also
// applies the type's reset rule) and, with freeStruct, the block itself. The
// functions below the generated ones keep rules of their own.
#include "calls/exported_types.h"
#include "frame/frame.h"
#include "model/describe.h"
#include "transport/describe.h"
#include "zqapi/zqapi.h"

namespace {

template <class T>
void freeExported(T* value, ZQBoolean freeStruct) {
  if (!value) return;
  zq::model::release(*value);
  if (freeStruct) zq::freeBlock(value);
}

// Structure pointer lists own the array and the contents of what each item
// points to, not the items' blocks.
template <class L>
void freePointedContents(L* value, ZQBoolean freeStruct) {
  if (!value) return;
  zq::model::releasePointedContents(*value);
  if (freeStruct) zq::freeBlock(value);
}

}  // namespace

extern "C" {

#define ZQ_FREE_generated(Name)                              \
  void FreeZQ##Name(ZQ##Name* value, ZQBoolean freeStruct) { \
    freeExported(value, freeStruct);                         \
  }
#define ZQ_FREE_own(Name)
#define ZQ_FREE_none(Name)
#define ZQ_DEFINE_FREE(Name, Free, Copy, Ordinal) ZQ_FREE_##Free(Name)
ZQ_EXPORTED_TYPES(ZQ_DEFINE_FREE)
#undef ZQ_DEFINE_FREE

// A kept result is zero-filled, so that it reads as empty afterwards.
void FreeZQBulkEntryReturn(ZQBulkEntryReturn* value, ZQBoolean freeStruct) {
  if (!value) return;
  zq::model::release(*value);
  *value = ZQBulkEntryReturn{};
  if (freeStruct) zq::freeBlock(value);
}

void FreeZQValuePtrList(ZQValuePtrList* value, ZQBoolean freeStruct) {
  freePointedContents(value, freeStruct);
}

void FreeZQPermissionListPtrList(ZQPermissionListPtrList* value, ZQBoolean freeStruct) {
  freePointedContents(value, freeStruct);
}

void FreeZQDisplayInstanceListPtrList(ZQDisplayInstanceListPtrList* value, ZQBoolean freeStruct) {
  freePointedContents(value, freeStruct);
}

// The limits pointed to are not the list's: only their contents are released.
void FreeZQFieldLimitPtrList(ZQFieldLimitPtrList* value, ZQBoolean freeStruct) {
  freePointedContents(value, freeStruct);
}

// Takes the address of the pointer. The nine strings are released and nulled
// even when the block is kept, so that a second free finds nothing to release.
void FreeZQFilterActionNotifyAdvanced(ZQFilterActionNotifyAdvanced** value, ZQBoolean freeStruct) {
  if (!value || !*value) return;
  zq::model::release(**value);
  if (freeStruct) {
    zq::freeBlock(*value);
    *value = nullptr;
  }
}

// Only the items of a list menu; a menu of another type is left as it is,
// since resetting its type would lose what it owns.
void FreeListZQCharMenuStruct(ZQCharMenuStruct* value, ZQBoolean freeStruct) {
  if (!value) return;
  if (value->menuType == ZQ_CHAR_MENU_LIST) {
    zq::model::release(value->u.menuList);
    value->menuType = 0;
  }
  if (freeStruct) zq::freeBlock(value);
}

}  // extern "C"
