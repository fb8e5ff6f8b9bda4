// The Free family for the export and import item list. Each item owns its
// list of part names, which is released with it.
#include "model/describe_export.h"
#include "model/free_impl.h"

using zq::model::freeExport;

extern "C" {

void FreeZQStructItemStruct(ZQStructItemStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQStructItemList(ZQStructItemList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}

}  // extern "C"
