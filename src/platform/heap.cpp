#include "platform/heap.h"

#include <atomic>
#include <cstdlib>

namespace zq::platform {
namespace {

// -1: allocations never fail. Otherwise the number still allowed to succeed.
std::atomic<long> g_allowed{-1};
std::atomic<long> g_failed{0};
std::atomic<long> g_single{-1};  // countdown to one failing allocation

bool mayAllocate() {
  if (g_single.load(std::memory_order_relaxed) >= 0) {
    if (g_single.fetch_sub(1, std::memory_order_relaxed) == 0) {
      g_failed.fetch_add(1, std::memory_order_relaxed);
      return false;
    }
  }
  long n = g_allowed.load(std::memory_order_relaxed);
  if (n < 0) return true;
  while (n > 0) {
    if (g_allowed.compare_exchange_weak(n, n - 1, std::memory_order_relaxed)) return true;
  }
  if (n < 0) return true;
  g_failed.fetch_add(1, std::memory_order_relaxed);
  return false;
}

}  // namespace

void* heapAlloc(size_t size) { return mayAllocate() ? malloc(size) : nullptr; }

void* heapAllocZeroed(size_t count, size_t size) {
  return mayAllocate() ? calloc(count, size) : nullptr;
}

void* heapReallocate(void* block, size_t size) {
  return mayAllocate() ? realloc(block, size) : nullptr;
}

void heapFree(void* block) {
  if (block) free(block);
}

}  // namespace zq::platform

namespace zq::testing {

void failAllocationsAfter(long n) {
  platform::g_failed.store(0);
  platform::g_single.store(-1);
  platform::g_allowed.store(n);
}

void failOnlyAllocation(long n) {
  platform::g_failed.store(0);
  platform::g_allowed.store(-1);
  platform::g_single.store(n);
}

long failedAllocations() { return platform::g_failed.load(); }

}  // namespace zq::testing
