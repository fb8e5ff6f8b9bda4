// Deep copies of the records of the workflow debugger calls.
#include "model/copy_impl.h"
#include "model/describe_debugger.h"

using zq::model::copyExport;

extern "C" {

int32_t ZQCopyWfdStepStruct(ZQWfdStepStruct* destination, const ZQWfdStepStruct* source) {
  return copyExport(destination, source);
}

int32_t ZQCopyWfdBreakpoint(ZQWfdBreakpoint* destination, const ZQWfdBreakpoint* source) {
  return copyExport(destination, source);
}

int32_t ZQCopyWfdUserContextList(ZQWfdUserContextList* destination,
                                 const ZQWfdUserContextList* source) {
  return copyExport(destination, source);
}

int32_t ZQCopyWfdUserContext(ZQWfdUserContext* destination, const ZQWfdUserContext* source) {
  return copyExport(destination, source);
}

}  // extern "C"
