// What a get and a set do with the parts of a definition, whatever its
// kind: a table of the kind's parts, each with its wanted-output bit (the
// get returns the part only when asked; 0: always returned) and its
// changed-parts bit (the set replaces the stored part when the bit is set;
// 0: the server keeps the part itself).
//
//   using P = zq::transport::ViewParts;
//   constexpr PartRule<P> kViewParts[] = {
//       ZQ_DEFINITION_PART(viewName, wanted::kViewName, changed::kViewName), ...};
//   keepWanted(parts, args.wanted, kViewParts);         // get
//   applyChanges(stored, args.view, args.changed, kViewParts);  // set
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>

#include "frame/alloc.h"
#include "model/codec.h"

namespace zqserver {

// Parts that release themselves (decoded records, replies being built).
template <class P>
struct OwnedParts {
  P p{};
  OwnedParts() = default;
  OwnedParts(const OwnedParts&) = delete;
  OwnedParts& operator=(const OwnedParts&) = delete;
  ~OwnedParts() { zq::model::release(p); }
};

template <class P>
struct PartRule {
  uint32_t wanted;
  uint32_t changed;
  void (*move)(P& to, P& from);  // to's part replaced by from's, from's left empty
  void (*clear)(P& parts);       // the part released and emptied
};

// ---- one part ------------------------------------------------------------------------------

inline void clearPart(char*& text) {
  ZQFree(text);
  text = nullptr;
}
template <size_t N>
void clearPart(char (&name)[N]) {
  memset(name, 0, N);
}
template <class T>
requires std::is_arithmetic_v<T> void clearPart(T& x) {
  x = 0;
}
template <class T>
requires std::is_class_v<T> void clearPart(T& s) {
  zq::model::release(s);
  s = T{};
}

inline void movePart(char*& to, char*& from) {
  ZQFree(to);
  to = from;
  from = nullptr;
}
template <size_t N>
void movePart(char (&to)[N], char (&from)[N]) {
  memcpy(to, from, N);
}
template <class T>
requires std::is_arithmetic_v<T> void movePart(T& to, T& from) {
  to = from;
}
template <class T>
requires std::is_class_v<T> void movePart(T& to, T& from) {
  zq::model::release(to);
  to = from;
  from = T{};
}

#define ZQ_DEFINITION_PART(member, wantedBit, changedBit)                                       \
  PartRule<P> {                                                                                 \
    wantedBit, changedBit, [](P& to, P& from) { movePart(to.member, from.member); },            \
        [](P& p) { clearPart(p.member); }                                                       \
  }

// ---- the table -----------------------------------------------------------------------------

// A get: the parts not asked for are released and travel empty.
template <class P>
void keepWanted(P& parts, uint32_t wanted, std::span<const PartRule<P>> rules) {
  for (const PartRule<P>& r : rules)
    if (r.wanted && !(wanted & r.wanted)) r.clear(parts);
}

// A set: the changed parts of given replace the stored ones.
template <class P>
void applyChanges(P& stored, P& given, uint32_t changed, std::span<const PartRule<P>> rules) {
  for (const PartRule<P>& r : rules)
    if (r.changed && (changed & r.changed)) r.move(stored, given);
}

}  // namespace zqserver
