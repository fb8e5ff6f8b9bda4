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

// A large result carved out of a few big blocks instead of one block per
// value. Pointers into the blocks are heap blocks for the caller: freeing
// one is a no-op, reallocating one gives an ordinary block. The whole
// group is released with its owner, an ordinary heap block (a list's item
// array) named by heapArenaAttach; reallocating the owner keeps it owner.
class HeapArena;

// Null without memory.
HeapArena* heapArenaCreate();
// size bytes aligned for any value; null without memory. Not zeroed.
void* heapArenaTake(HeapArena* arena, size_t size);
// From then on freeing owner releases the arena. An arena has one owner;
// false without memory (the arena stays unowned).
bool heapArenaAttach(HeapArena* arena, void* owner);
// Releases an arena and every value in it; its owner, if any, stays an
// ordinary block (null is ignored).
void heapArenaDestroy(HeapArena* arena);
// Bytes of blocks the arena holds.
size_t heapArenaSize(const HeapArena* arena);

}  // namespace zq::platform

namespace zq::testing {
// After n more successful allocations, every allocation fails; -1 disables.
void failAllocationsAfter(long n);
// Only the allocation after n more successful ones fails; -1 disables.
void failOnlyAllocation(long n);
// Number of allocations that failed since the last call of failAllocationsAfter.
long failedAllocations();
}  // namespace zq::testing
