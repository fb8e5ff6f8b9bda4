#include "platform/heap.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <new>
#include <unordered_map>

#include <sys/mman.h>

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

class HeapArena {
 public:
  struct Block {
    Block* next;
    size_t size;  // bytes after the header
  };
  static constexpr size_t kHeader = 16;
  static constexpr size_t kAlign = alignof(std::max_align_t);
  static constexpr size_t kFirstBlock = 64u << 10;
  static constexpr size_t kLargestBlock = 8u << 20;

  Block* blocks = nullptr;
  unsigned char* cursor = nullptr;
  unsigned char* limit = nullptr;
  size_t nextSize = kFirstBlock;
  size_t total = 0;
  uintptr_t owner = 0;  // hidden (below)
};

namespace {

static_assert(sizeof(HeapArena::Block) <= HeapArena::kHeader);

// The registry keeps addresses with their top bit flipped: ordered as
// before, but no longer pointers to a leak checker, which then still sees
// a result that was never freed (arena and all).
constexpr uintptr_t kHidden = uintptr_t{1} << (sizeof(uintptr_t) * 8 - 1);
uintptr_t hide(const void* p) { return reinterpret_cast<uintptr_t>(p) ^ kHidden; }
template <class T>
T* unhide(uintptr_t v) {
  return reinterpret_cast<T*>(v ^ kHidden);
}

// Which addresses belong to arenas, and which ordinary blocks own them.
struct Range {
  uintptr_t end;    // hidden
  uintptr_t arena;  // hidden
};
struct ArenaRegistry {
  std::mutex lock;
  std::map<uintptr_t, Range> ranges;  // hidden start of a block's values
  std::unordered_map<uintptr_t, uintptr_t> owners;  // hidden owner -> hidden arena
};
// Never destroyed: blocks may still be freed while the process exits.
ArenaRegistry& arenas() {
  static ArenaRegistry* r = new ArenaRegistry;
  return *r;
}
// Live arenas: while there are none, freeing costs nothing more.
std::atomic<long> g_arenas{0};
// Changed whenever an arena goes, so that a thread's remembered block
// (freeing a result visits its values block after block) is never stale.
std::atomic<unsigned long> g_generation{0};
struct RecentBlock {
  uintptr_t start = 0, end = 0;  // hidden
  unsigned long generation = 0;
};
thread_local RecentBlock t_recent;

constexpr size_t kPopulateFrom = 64u << 10;

bool anyArena() { return g_arenas.load(std::memory_order_acquire) > 0; }

// The arena range holding p, or end(); called under the lock.
auto rangeOf(ArenaRegistry& r, const void* p) {
  const uintptr_t at = hide(p);
  auto it = r.ranges.upper_bound(at);
  if (it == r.ranges.begin()) return r.ranges.end();
  --it;
  return at < it->second.end ? it : r.ranges.end();
}

void dropArena(HeapArena* a) {
  {
    ArenaRegistry& r = arenas();
    std::lock_guard<std::mutex> hold(r.lock);
    for (HeapArena::Block* b = a->blocks; b; b = b->next)
      r.ranges.erase(hide(reinterpret_cast<unsigned char*>(b) + HeapArena::kHeader));
    if (a->owner) r.owners.erase(a->owner);
    a->owner = 0;
    g_generation.fetch_add(1, std::memory_order_acq_rel);
  }
  for (HeapArena::Block* b = a->blocks; b;) {
    HeapArena::Block* next = b->next;
    free(b);
    b = next;
  }
  a->~HeapArena();
  free(a);
  g_arenas.fetch_sub(1, std::memory_order_acq_rel);
}

// True when p was an arena's (its owner, now released with the arena, or
// a value inside it, left to its owner).
bool arenaFree(void* p) {
  const uintptr_t at = hide(p);
  if (at >= t_recent.start && at < t_recent.end &&
      t_recent.generation == g_generation.load(std::memory_order_acquire))
    return true;
  HeapArena* owned = nullptr;
  {
    ArenaRegistry& r = arenas();
    std::lock_guard<std::mutex> hold(r.lock);
    const auto o = r.owners.find(at);
    if (o == r.owners.end()) {
      const auto in = rangeOf(r, p);
      if (in == r.ranges.end()) return false;
      t_recent = {in->first, in->second.end, g_generation.load(std::memory_order_acquire)};
      return true;
    }
    owned = unhide<HeapArena>(o->second);
    r.owners.erase(o);
    owned->owner = 0;
  }
  dropArena(owned);
  free(p);
  return true;
}

}  // namespace

void* heapAlloc(size_t size) { return mayAllocate() ? malloc(size) : nullptr; }

void* heapAllocZeroed(size_t count, size_t size) {
  return mayAllocate() ? calloc(count, size) : nullptr;
}

void* heapReallocate(void* block, size_t size) {
  if (block && anyArena()) {
    ArenaRegistry& r = arenas();
    std::lock_guard<std::mutex> hold(r.lock);
    if (auto o = r.owners.find(hide(block)); o != r.owners.end()) {
      void* moved = mayAllocate() ? realloc(block, size) : nullptr;
      if (moved && moved != block) {
        auto node = r.owners.extract(o);
        node.key() = hide(moved);
        unhide<HeapArena>(node.mapped())->owner = hide(moved);
        r.owners.insert(std::move(node));
      }
      return moved;
    }
    if (const auto in = rangeOf(r, block); in != r.ranges.end()) {
      // A value of an arena becomes an ordinary block with its bytes.
      void* copy = mayAllocate() ? malloc(size ? size : 1) : nullptr;
      if (!copy) return nullptr;
      const size_t room = static_cast<size_t>(in->second.end - hide(block));
      memcpy(copy, block, size < room ? size : room);
      return copy;
    }
  }
  return mayAllocate() ? realloc(block, size) : nullptr;
}

void heapFree(void* block) {
  if (!block) return;
  if (anyArena() && arenaFree(block)) return;
  free(block);
}

HeapArena* heapArenaCreate() {
  void* memory = mayAllocate() ? malloc(sizeof(HeapArena)) : nullptr;
  if (!memory) return nullptr;
  g_arenas.fetch_add(1, std::memory_order_acq_rel);
  return new (memory) HeapArena;
}

void* heapArenaTake(HeapArena* a, size_t size) {
  if (!a || size > (SIZE_MAX >> 2)) return nullptr;
  size = (size + HeapArena::kAlign - 1) & ~(HeapArena::kAlign - 1);
  if (size > static_cast<size_t>(a->limit - a->cursor)) {
    size_t want = a->nextSize > size ? a->nextSize : size;
    auto* b = static_cast<HeapArena::Block*>(mayAllocate() ? malloc(HeapArena::kHeader + want)
                                                           : nullptr);
    if (!b) return nullptr;
    b->size = want;
    auto* data = reinterpret_cast<unsigned char*>(b) + HeapArena::kHeader;
    try {
      ArenaRegistry& r = arenas();
      std::lock_guard<std::mutex> hold(r.lock);
      r.ranges.emplace(hide(data), Range{hide(data + want), hide(a)});
    } catch (...) {
      free(b);
      return nullptr;
    }
    b->next = a->blocks;
    a->blocks = b;
    a->cursor = data;
    a->limit = data + want;
    a->total += want;
    if (a->nextSize < HeapArena::kLargestBlock) a->nextSize *= 2;
  }
  void* p = a->cursor;
  a->cursor += size;
#ifdef MADV_POPULATE_WRITE
  // A large piece is about to be filled: its pages are faulted in at once
  // (best effort; an older kernel just faults them one by one).
  if (size >= kPopulateFrom) {
    constexpr uintptr_t kPage = 4096;
    const uintptr_t from = (reinterpret_cast<uintptr_t>(p) + kPage - 1) & ~(kPage - 1);
    const uintptr_t to = (reinterpret_cast<uintptr_t>(p) + size) & ~(kPage - 1);
    if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
  }
#endif
  return p;
}

bool heapArenaAttach(HeapArena* a, void* owner) {
  if (!a || !owner || a->owner) return false;
  ArenaRegistry& r = arenas();
  std::lock_guard<std::mutex> hold(r.lock);
  try {
    r.owners.emplace(hide(owner), hide(a));
  } catch (...) {
    return false;
  }
  a->owner = hide(owner);
  return true;
}

void heapArenaDestroy(HeapArena* a) {
  if (a) dropArena(a);
}

size_t heapArenaSize(const HeapArena* a) { return a ? a->total : 0; }

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
