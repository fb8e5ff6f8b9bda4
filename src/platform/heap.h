// The library heap: malloc and its relatives behind a switch that lets tests
// fail a chosen allocation. Every block the library allocates, and every
// block handed to a caller, comes from here, so that out-of-memory tests
// reach each one. It sits in the lowest layer because compression hands
// out heap blocks too; the rest of the library names it through
// frame/alloc.h.
#pragma once

#include <cstddef>

namespace zq::platform {

void* heapAlloc(size_t size);
void* heapAllocZeroed(size_t count, size_t size);
void* heapReallocate(void* block, size_t size);
// A null block is ignored.
void heapFree(void* block);

}  // namespace zq::platform

namespace zq::testing {
// After n more successful allocations, every allocation fails; -1 disables.
void failAllocationsAfter(long n);
// Only the allocation after n more successful ones fails; -1 disables.
void failOnlyAllocation(long n);
// Number of allocations that failed since the last call of failAllocationsAfter.
long failedAllocations();
}  // namespace zq::testing
