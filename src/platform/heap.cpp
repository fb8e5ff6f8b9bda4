#include "platform/heap.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <new>
#include <unordered_map>

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
  void* owner = nullptr;
};

namespace {

static_assert(sizeof(HeapArena::Block) <= HeapArena::kHeader);

// Which addresses belong to arenas, and which ordinary blocks own them.
struct ArenaRegistry {
  std::mutex lock;
  std::map<uintptr_t, std::pair<uintptr_t, HeapArena*>> ranges;  // start -> end, arena
  std::unordered_map<void*, HeapArena*> owners;
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
  uintptr_t start = 0, end = 0;
  unsigned long generation = 0;
};
thread_local RecentBlock t_recent;

bool anyArena() { return g_arenas.load(std::memory_order_acquire) > 0; }

// The arena range holding p, or end(); called under the lock.
auto rangeOf(ArenaRegistry& r, const void* p) {
  const auto at = reinterpret_cast<uintptr_t>(p);
  auto it = r.ranges.upper_bound(at);
  if (it == r.ranges.begin()) return r.ranges.end();
  --it;
  return at < it->second.first ? it : r.ranges.end();
}

void dropArena(HeapArena* a) {
  {
    ArenaRegistry& r = arenas();
    std::lock_guard<std::mutex> hold(r.lock);
    for (HeapArena::Block* b = a->blocks; b; b = b->next)
      r.ranges.erase(reinterpret_cast<uintptr_t>(b) + HeapArena::kHeader);
    if (a->owner) r.owners.erase(a->owner);
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
  const auto at = reinterpret_cast<uintptr_t>(p);
  if (at >= t_recent.start && at < t_recent.end &&
      t_recent.generation == g_generation.load(std::memory_order_acquire))
    return true;
  HeapArena* owned = nullptr;
  {
    ArenaRegistry& r = arenas();
    std::lock_guard<std::mutex> hold(r.lock);
    const auto o = r.owners.find(p);
    if (o == r.owners.end()) {
      const auto in = rangeOf(r, p);
      if (in == r.ranges.end()) return false;
      t_recent = {in->first, in->second.first, g_generation.load(std::memory_order_acquire)};
      return true;
    }
    owned = o->second;
    r.owners.erase(o);
    owned->owner = nullptr;
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
    if (auto o = r.owners.find(block); o != r.owners.end()) {
      void* moved = mayAllocate() ? realloc(block, size) : nullptr;
      if (moved && moved != block) {
        auto node = r.owners.extract(o);
        node.key() = moved;
        node.mapped()->owner = moved;
        r.owners.insert(std::move(node));
      }
      return moved;
    }
    if (auto in = r.ranges.end(); (in = rangeOf(r, block)) != r.ranges.end()) {
      // A value of an arena becomes an ordinary block with its bytes.
      void* copy = mayAllocate() ? malloc(size ? size : 1) : nullptr;
      if (!copy) return nullptr;
      const size_t room = in->second.first - reinterpret_cast<uintptr_t>(block);
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
      r.ranges.emplace(reinterpret_cast<uintptr_t>(data),
                       std::make_pair(reinterpret_cast<uintptr_t>(data) + want, a));
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
  return p;
}

bool heapArenaAttach(HeapArena* a, void* owner) {
  if (!a || !owner || a->owner) return false;
  ArenaRegistry& r = arenas();
  std::lock_guard<std::mutex> hold(r.lock);
  try {
    r.owners.emplace(owner, a);
  } catch (...) {
    return false;
  }
  a->owner = owner;
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
