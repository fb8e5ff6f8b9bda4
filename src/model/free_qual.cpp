// The Free family for qualifications, arithmetic and assignments.
#include "model/describe_qual.h"
#include "model/free_impl.h"
#include "zqapi/zq_free.h"

using zq::model::freeExport;

extern "C" {

// Every released pointer is nulled and every released list emptied, including
// those of a qualification list kept by the caller, so a second free is harmless.
void FreeZQQualifierStruct(ZQQualifierStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQQualifierList(ZQQualifierList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQRelOpStruct(ZQRelOpStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQFieldValueOrArithStruct(ZQFieldValueOrArithStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQArithOpStruct(ZQArithOpStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQAssignStruct(ZQAssignStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQAssignFieldStruct(ZQAssignFieldStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQArithOpAssignStruct(ZQArithOpAssignStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQFunctionAssignStruct(ZQFunctionAssignStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQDDEStruct(ZQDDEStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQAssignSQLStruct(ZQAssignSQLStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQFieldAssignStruct(ZQFieldAssignStruct* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}
void FreeZQFieldAssignList(ZQFieldAssignList* value, ZQBoolean freeStruct) {
  freeExport(value, freeStruct);
}

}  // extern "C"
