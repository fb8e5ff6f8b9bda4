// Deep copies of qualifications, arithmetic and assignments.
#include "model/copy_impl.h"
#include "model/describe_qual.h"

using zq::model::copyExport;

extern "C" {

int32_t ZQCopyAssignFilterApiStruct(ZQAssignFilterApiStruct* destination,
                                    const ZQAssignFilterApiStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyRelOpStruct(ZQRelOpStruct* destination, const ZQRelOpStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyQueryStruct(ZQQueryStruct* destination, const ZQQueryStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyFieldValueOrArithStruct(ZQFieldValueOrArithStruct* destination,
                                      const ZQFieldValueOrArithStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyArithOpStruct(ZQArithOpStruct* destination, const ZQArithOpStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyQualifierStruct(ZQQualifierStruct* destination, const ZQQualifierStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyAssignFieldStruct(ZQAssignFieldStruct* destination,
                                const ZQAssignFieldStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyFieldAssignStruct(ZQFieldAssignStruct* destination,
                                const ZQFieldAssignStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyArithOpAssignStruct(ZQArithOpAssignStruct* destination,
                                  const ZQArithOpAssignStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyFunctionAssignStruct(ZQFunctionAssignStruct* destination,
                                   const ZQFunctionAssignStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyDDEStruct(ZQDDEStruct* destination, const ZQDDEStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyAssignSQLStruct(ZQAssignSQLStruct* destination, const ZQAssignSQLStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyAssignStruct(ZQAssignStruct* destination, const ZQAssignStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyFieldAssignList(ZQFieldAssignList* destination, const ZQFieldAssignList* source) {
  return copyExport(destination, source);
}

}  // extern "C"
