// The Free family for the records of the workflow debugger calls. A record
// kept by the caller is zero-filled, so it can be freed again.
#include "model/describe_debugger.h"
#include "model/free_impl.h"

using zq::model::freeExport;

extern "C" {

// clang-format off
void FreeZQWfdCurrentLocation(ZQWfdCurrentLocation* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQWfdStepStruct(ZQWfdStepStruct* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQWfdBreakpoint(ZQWfdBreakpoint* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQWfdBreakpointList(ZQWfdBreakpointList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQWfdUserContext(ZQWfdUserContext* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
void FreeZQWfdUserContextList(ZQWfdUserContextList* value, ZQBoolean freeStruct) { freeExport(value, freeStruct); }
// clang-format on

}  // extern "C"
