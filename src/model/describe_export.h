// Descriptions of the export and import item list (zq_export.h).
#pragma once

#include <cstring>
#include <type_traits>

#include "frame/frame.h"
#include "model/describe_core.h"
#include "zqapi/zq_export.h"

namespace zq::model {

// The copy pass of a list whose copy gets room to grow: a zero-filled array
// with room for the next multiple of step items, each item then made to own
// its memory by its description.
template <class V, class T>
void copyListWithSpare(V& v, uint32_t& count, T*& items, uint32_t step) {
  if (!count || !items || !v.ok()) {
    count = 0;
    items = nullptr;
    return;
  }
  const size_t room = size_t{count / step} * step + step;
  auto* copy = static_cast<T*>(zq::allocZeroed(room, sizeof(T)));
  if (!copy) {
    v.noMemory();
    count = 0;
    items = nullptr;
    return;
  }
  memcpy(static_cast<void*>(copy), items, size_t{count} * sizeof(T));
  items = copy;
  for (uint32_t i = 0; i < count; ++i) describe(v, items[i]);
}

template <class V>
void describe(V& v, ZQStructItemStruct& s) {
  v.u32(s.type, "type");
  v.name(s.name, NameKind::plain, "name");
  if constexpr (V::kPass == Pass::copy) {
    // An empty list stays without an array; any other gets room to grow.
    if (!v.ok() || !s.selectedElements.count) {
      s.selectedElements = ZQNameList{};
      return;
    }
    const ZQNameList source = s.selectedElements;
    if (!copyWithSpare(s.selectedElements, source, 10)) {
      s.selectedElements = ZQNameList{};
      v.noMemory();
    }
  } else {
    v.member(s.selectedElements, "selectedElements");
  }
}

template <class V>
void describe(V& v, ZQStructItemList& s) {
  if constexpr (V::kPass == Pass::copy)
    copyListWithSpare(v, s.count, s.items, 10);
  else
    list(v, s);
}

}  // namespace zq::model
