// Shared body of the exported copy functions.
#pragma once

#include "model/codec.h"
#include "zqapi/zq_copy.h"

namespace zq::model {

// Deep copy with the common rules: a null source empties the destination, a
// failed allocation leaves it empty and gives 300.
template <class T>
int32_t copyExport(T* destination, const T* source) {
  if (!destination) return source ? ZQ_COPY_NO_DESTINATION : ZQ_COPY_OK;
  if (!source) {
    memset(static_cast<void*>(destination), 0, sizeof(T));
    return ZQ_COPY_OK;
  }
  return deepCopy(*destination, *source) ? ZQ_COPY_OK : ZQ_COPY_NO_MEMORY;
}

}  // namespace zq::model
