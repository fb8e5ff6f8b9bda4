// Arenas of the library heap: values inside are blocks for the caller,
// released with their owner; running out of memory on the way.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/heap.h"

using namespace zq::platform;

TEST(HeapArena, ValuesLiveUntilTheirOwnerIsFreed) {
  HeapArena* arena = heapArenaCreate();
  ASSERT_NE(arena, nullptr);
  std::vector<char*> values;
  // Enough to need several blocks, and one value larger than any block.
  for (int i = 0; i < 5000; ++i) {
    auto* p = static_cast<char*>(heapArenaTake(arena, 100));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % alignof(std::max_align_t), 0u);
    snprintf(p, 100, "value %d", i);
    values.push_back(p);
  }
  auto* huge = static_cast<char*>(heapArenaTake(arena, 20u << 20));
  ASSERT_NE(huge, nullptr);
  memset(huge, 'x', 20u << 20);
  EXPECT_GE(heapArenaSize(arena), (20u << 20) + 5000 * 100);

  void* owner = heapAlloc(64);
  ASSERT_TRUE(heapArenaAttach(arena, owner));
  EXPECT_FALSE(heapArenaAttach(arena, owner));  // one owner only
  // Freeing a value is a no-op: the others, and itself, stay readable.
  heapFree(values[10]);
  heapFree(huge + (1u << 20));
  EXPECT_STREQ(values[10], "value 10");
  EXPECT_STREQ(values[4999], "value 4999");
  // Reallocating a value gives an ordinary block holding its bytes, even
  // when it asks for more than the block the value sits in has left.
  auto* own = static_cast<char*>(heapReallocate(values[20], 32));
  ASSERT_NE(own, nullptr);
  EXPECT_STREQ(own, "value 20");
  heapFree(own);
  auto* tail = static_cast<char*>(heapReallocate(huge + (20u << 20) - 4, 1u << 20));
  ASSERT_NE(tail, nullptr);
  EXPECT_EQ(memcmp(tail, "xxxx", 4), 0);
  heapFree(tail);
  // The owner moves when reallocated and still takes the arena along.
  void* moved = heapReallocate(owner, 1u << 20);
  ASSERT_NE(moved, nullptr);
  EXPECT_STREQ(values[30], "value 30");
  heapFree(moved);  // the sanitizer sees blocks left behind
  // Blocks of ordinary memory are untouched by all this.
  void* plain = heapAlloc(16);
  heapFree(plain);
}

TEST(HeapArena, UnownedArenasAreDestroyedWhole) {
  heapArenaDestroy(nullptr);
  HeapArena* arena = heapArenaCreate();
  ASSERT_NE(arena, nullptr);
  for (int i = 0; i < 100; ++i) ASSERT_NE(heapArenaTake(arena, 10000), nullptr);
  void* owner = heapAlloc(8);
  ASSERT_TRUE(heapArenaAttach(arena, owner));
  // Destroyed with an owner: the owner stays an ordinary block.
  heapArenaDestroy(arena);
  heapFree(owner);
  EXPECT_EQ(heapArenaTake(nullptr, 8), nullptr);
  EXPECT_FALSE(heapArenaAttach(nullptr, owner));
}

TEST(HeapArena, RunningOutOfMemory) {
  zq::testing::failOnlyAllocation(0);
  EXPECT_EQ(heapArenaCreate(), nullptr);
  HeapArena* arena = heapArenaCreate();
  ASSERT_NE(arena, nullptr);
  zq::testing::failOnlyAllocation(0);
  EXPECT_EQ(heapArenaTake(arena, 10), nullptr);
  EXPECT_NE(heapArenaTake(arena, 10), nullptr);
  EXPECT_EQ(heapArenaTake(arena, SIZE_MAX - 8), nullptr);
  zq::testing::failOnlyAllocation(-1);
  heapArenaDestroy(arena);
}
