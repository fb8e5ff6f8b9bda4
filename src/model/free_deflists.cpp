// Release of the lists the definition calls add.
#include "model/describe_deflists.h"
#include "model/free_impl.h"

using zq::model::freeExport;

extern "C" {

void FreeZQLocaleList(ZQLocaleList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQDisplayList(ZQDisplayList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQObjectInfoStruct(ZQObjectInfoStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQObjectInfoList(ZQObjectInfoList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}

}  // extern "C"
