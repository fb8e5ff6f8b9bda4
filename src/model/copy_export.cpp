// Deep copies of the export and import item list.
#include "model/copy_impl.h"
#include "model/describe_export.h"

using zq::model::copyExport;

extern "C" {

int32_t ZQCopyStructItemList(ZQStructItemList* destination, const ZQStructItemList* source) {
  return copyExport(destination, source);
}

int32_t ZQCopyStructItemStruct(ZQStructItemStruct* destination, const ZQStructItemStruct* source) {
  return copyExport(destination, source);
}

}  // extern "C"
