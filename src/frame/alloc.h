// The library heap under the names the library uses. Every block handed to
// a caller comes from here, so that callers can release it with ZQFree, and
// so that tests can make the Nth allocation fail (zq::testing, below).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"
#include "zqapi/zq_session.h"

namespace zq {

inline void* alloc(size_t size) {
  return platform::heapAlloc(size);
}
inline void* allocZeroed(size_t count, size_t size) {
  return platform::heapAllocZeroed(count, size);
}
inline void* reallocate(void* block, size_t size) {
  return platform::heapReallocate(block, size);
}
// Releases one block; null is ignored.
inline void freeBlock(void* block) {
  platform::heapFree(block);
}

// Duplicates text into the library heap, cut to maxLength characters.
// Null text gives null; failure gives null.
char* dupString(const char* text, size_t maxLength = SIZE_MAX);

// Copies src into a fixed-width name buffer of width bytes, always terminated.
void copyName(char* dst, const char* src, size_t width);

// A text a request carries: the empty text for null (the wire has no null
// text). Request records hold char*, never written through.
inline char* orEmpty(const char* s) {
  static char empty[] = "";
  return s ? const_cast<char*>(s) : empty;
}

// zq::testing::failAllocationsAfter, failOnlyAllocation, failedAllocations:
// see platform/heap.h.

}  // namespace zq
