#include "frame/alloc.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

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

extern "C" {

void* ZQAlloc(size_t size) { return mayAllocate() ? malloc(size) : nullptr; }

void* ZQRealloc(void* ptr, size_t size) { return mayAllocate() ? realloc(ptr, size) : nullptr; }

void ZQFree(void* ptr) {
  if (ptr) free(ptr);
}

void* ZQCalloc(size_t count, size_t size) { return mayAllocate() ? calloc(count, size) : nullptr; }

}  // extern "C"

namespace zq {

char* dupString(const char* text, size_t maxLength) {
  if (!text) return nullptr;
  size_t len = strnlen(text, maxLength);
  auto* copy = static_cast<char*>(ZQAlloc(len + 1));
  if (!copy) return nullptr;
  memcpy(copy, text, len);
  copy[len] = '\0';
  return copy;
}

void copyName(char* dst, const char* src, size_t width) {
  if (!dst || width == 0) return;
  if (!src) {
    dst[0] = '\0';
    return;
  }
  size_t len = strnlen(src, width - 1);
  memcpy(dst, src, len);
  dst[len] = '\0';
}

namespace testing {

void failAllocationsAfter(long n) {
  g_failed.store(0);
  g_single.store(-1);
  g_allowed.store(n);
}

void failOnlyAllocation(long n) {
  g_failed.store(0);
  g_allowed.store(-1);
  g_single.store(n);
}

long failedAllocations() { return g_failed.load(); }

}  // namespace testing
}  // namespace zq
