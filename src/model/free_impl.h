// Shared body of the exported free functions.
#pragma once

#include "model/codec.h"

namespace zq::model {

// Releases what value owns, applies the type's reset rule, and with
// freeStruct releases the block itself.
template <class T>
void freeExport(T* value, ZQBoolean freeStruct) {
  if (!value) return;
  release(*value);
  if (freeStruct) zq::freeBlock(value);
}

}  // namespace zq::model
