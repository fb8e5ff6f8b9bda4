// The allocators of the library heap (ordinals 850 to 853): whatever the
// library hands out is released with ZQFree.
#include "frame/frame.h"

extern "C" {

void* ZQAlloc(size_t size) { return zq::alloc(size); }

void* ZQRealloc(void* ptr, size_t size) { return zq::reallocate(ptr, size); }

void ZQFree(void* ptr) { zq::freeBlock(ptr); }

void* ZQCalloc(size_t count, size_t size) { return zq::allocZeroed(count, size); }

}  // extern "C"
