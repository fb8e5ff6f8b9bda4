// Opening steps shared by the text encoding calls, which run in the calling
// thread's context but never bind a server.
#pragma once

#include "frame/context.h"
#include "frame/status.h"

namespace zq::text {

// Status list present (else 4) and emptied, thread context found (else 3).
// Returns 0 with ctx set, or the return code that ends the call.
inline int openTextCall(ZQControlStruct* control, ZQStatusList* status, ZQThreadContext*& ctx) {
  ctx = nullptr;
  if (!status) return ZQ_RETURN_BAD_STATUS;
  clearStatus(status);
  ctx = ZQGetThreadContext(control, status);
  if (!ctx) return ZQ_RETURN_FATAL;
  return ZQ_RETURN_OK;
}

}  // namespace zq::text
