// The Free family of the administration structures (zq_admin.h).
#include "model/describe_admin.h"
#include "model/free_impl.h"

using zq::model::freeExport;

extern "C" {

// clang-format off
void FreeZQUserLicenseList(ZQUserLicenseList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQUserInfoList(ZQUserInfoList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQLocalizedRequestList(ZQLocalizedRequestList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQLocaleList(ZQLocaleList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQObjectChangeTimesList(ZQObjectChangeTimesList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
// clang-format on

}  // extern "C"
