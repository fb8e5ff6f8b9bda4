// Shared body of the exported copy functions.
#pragma once

#include <type_traits>

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

// A flat list copied into an array with room for the next multiple of step
// items, the spare slots zeroed.
template <class List>
inline int32_t copyWithSpare(List* destination, const List* source, uint32_t step) {
  if (!destination) return source ? ZQ_COPY_NO_DESTINATION : ZQ_COPY_OK;
  if (!source || !source->count || !source->items) {
    destination->count = 0;
    destination->items = nullptr;
    return ZQ_COPY_OK;
  }
  using Item = std::remove_pointer_t<decltype(source->items)>;
  const size_t room = size_t{source->count / step} * step + step;
  auto* items = static_cast<Item*>(zq::allocZeroed(room, sizeof(Item)));
  if (!items) {
    destination->count = 0;
    destination->items = nullptr;
    return ZQ_COPY_NO_MEMORY;
  }
  memcpy(static_cast<void*>(items), source->items, size_t{source->count} * sizeof(Item));
  destination->items = items;
  destination->count = source->count;
  return ZQ_COPY_OK;
}

}  // namespace zq::model
