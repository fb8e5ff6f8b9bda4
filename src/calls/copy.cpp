// The deep copies. Every row of the exported type list with a generated Copy
// copies by the value's description with the common results: a null source
// empties the destination, a null destination for a source gives 155, and
// memory running out leaves the destination empty and gives 300. The copies
// below the generated ones add spare room or check types first.
#include "calls/exported_types.h"
#include "frame/frame.h"
#include "model/describe.h"
#include "zqapi/zqapi.h"

namespace {

template <class T>
int32_t copyExported(T* destination, const T* source) {
  if (!destination) return source ? ZQ_COPY_NO_DESTINATION : ZQ_COPY_OK;
  if (!source) {
    memset(static_cast<void*>(destination), 0, sizeof(T));
    return ZQ_COPY_OK;
  }
  return zq::model::deepCopy(*destination, *source) ? ZQ_COPY_OK : ZQ_COPY_NO_MEMORY;
}

// A flat list with room for the next multiple of step items.
template <class List>
int32_t copyWithSpare(List* destination, const List* source, uint32_t step) {
  if (!destination) return source ? ZQ_COPY_NO_DESTINATION : ZQ_COPY_OK;
  if (!source) {
    destination->count = 0;
    destination->items = nullptr;
    return ZQ_COPY_OK;
  }
  return zq::model::copyWithSpare(*destination, *source, step) ? ZQ_COPY_OK : ZQ_COPY_NO_MEMORY;
}

// Menu and item types are checked before anything is copied, so that a bad
// type deep in a tree leaves no half-made copy behind.
template <class T>
int32_t copyChecked(T* destination, const T* source, int32_t (*check)(const T&)) {
  if (destination && source) {
    const int32_t result = check(*source);
    if (result != ZQ_COPY_OK) {
      memset(static_cast<void*>(destination), 0, sizeof(T));  // menu type 0
      return result;
    }
  }
  return copyExported(destination, source);
}

}  // namespace

extern "C" {

#define ZQ_COPY_generated(Name)                                         \
  int32_t ZQCopy##Name(ZQ##Name* destination, const ZQ##Name* source) { \
    return copyExported(destination, source);                           \
  }
#define ZQ_COPY_own(Name)
#define ZQ_COPY_none(Name)
#define ZQ_DEFINE_COPY(Name, Free, Copy, Ordinal) ZQ_COPY_##Copy(Name)
ZQ_EXPORTED_TYPES(ZQ_DEFINE_COPY)
#undef ZQ_DEFINE_COPY

int32_t ZQCopyNameList(ZQNameList* destination, const ZQNameList* source) {
  return copyWithSpare(destination, source, 10);
}

int32_t ZQCopyInternalIdListWithSpare(ZQInternalIdList* destination,
                                      const ZQInternalIdList* source) {
  return copyWithSpare(destination, source, 100);
}

int32_t ZQCopyCharMenuStruct(ZQCharMenuStruct* destination, const ZQCharMenuStruct* source) {
  return copyChecked(destination, source, &zq::model::checkMenuForCopy);
}

int32_t ZQCopyCharMenuItemStruct(ZQCharMenuItemStruct* destination,
                                 const ZQCharMenuItemStruct* source) {
  return copyChecked(destination, source, &zq::model::checkMenuItemForCopy);
}

}  // extern "C"
