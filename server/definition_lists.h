// The pieces the server's definition handlers share, whatever the kind: the
// list calls' conditions (changed since, object properties), the names they
// answer with, and the per-definition lists of the get-multiple calls.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "call_status.h"
#include "definition_store.h"
#include "dispatch.h"
#include "frame/alloc.h"

namespace zqserver {

// Every property of `wanted` is among `have` with an equal value (values
// compared by their wire form).
bool propertiesMatch(const ZQPropList& have, const ZQPropList& wanted);

// Names as the list replies carry them: counted texts with their terminator.
bool wireNames(const std::vector<std::string>& names, zq::transport::WireTextList& out);

// A list of a get-multiple reply: n zeroed items when the output is wanted,
// nothing otherwise. False when memory runs out.
template <class L>
bool sized(L& list, uint32_t n, bool wanted) {
  if (!wanted || n == 0) return true;
  list.items =
      static_cast<std::remove_pointer_t<decltype(list.items)>*>(ZQCalloc(n, sizeof(*list.items)));
  if (!list.items) return false;
  list.count = n;
  return true;
}

// Item i of a wanted list takes a part (moved: the part is left empty).
template <class L, class T>
void putItem(L& list, uint32_t i, T& part) {
  if (!list.items) return;
  if constexpr (std::is_array_v<T>) {
    memcpy(list.items[i], part, sizeof(T));
  } else {
    list.items[i] = part;
    part = T{};
  }
}

// The definitions a get-multiple call answers about: one per name or id
// asked for (null when there is none), or every one there is.
struct Wanted {
  std::vector<std::optional<Definition>> rows;
  uint32_t count() const { return static_cast<uint32_t>(rows.size()); }
};

}  // namespace zqserver
