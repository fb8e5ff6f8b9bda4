// The export and import item list: wire forms, release, and the copies
// 1058 and 1059 with their rounded capacities.
#include <malloc.h>

#include "zqapi/zq_session.h"
#include "unit/model/extra_support.h"
#include "unit/model/fixtures.h"
#include "zqapi/zq_export.h"

namespace {

using zqtest::extra::CodecTest;
using zqtest::extra::Wire;
namespace fx = zqtest::fx;

ZQStructItemStruct item(uint32_t type, const char* name, std::initializer_list<const char*> parts) {
  ZQStructItemStruct s{};
  s.type = type;
  fx::setName(s.name, name);
  if (parts.size()) s.selectedElements = fx::names(parts);
  return s;
}

// count items, every third one with part names.
ZQStructItemList items(uint32_t count) {
  ZQStructItemList l{count, static_cast<ZQStructItemStruct*>(
                                ZQCalloc(count ? count : 1, sizeof(ZQStructItemStruct)))};
  for (uint32_t i = 0; i < count; ++i) {
    const std::string name = "Form " + std::to_string(i);
    l.items[i] = i % 3 ? item(1, name.c_str(), {}) : item(5, name.c_str(), {"Field A", "Field B"});
  }
  return l;
}

struct ItemList : ZQStructItemList {
  explicit ItemList(ZQStructItemList l) : ZQStructItemList(l) {}
  ~ItemList() { FreeZQStructItemList(this, 0); }
};

// Room of an array the library allocated, in items (exact under ASan).
template <class T>
size_t roomOf(const T* items) {
  return malloc_usable_size(const_cast<T*>(items)) / sizeof(T);
}

class StructItems : public CodecTest {};

TEST_F(StructItems, RoundTripInEveryVersion) {
  ItemList list(items(4));
  list.items[1].type = 0x20000005;
  for (int version = 7; version <= 14; ++version) {
    zqtest::extra::roundTrip<ZQStructItemList>(list, version, FreeZQStructItemList);
    zqtest::extra::roundTrip<ZQStructItemStruct>(list.items[0], version, FreeZQStructItemStruct);
  }
}

// Names are 31 bytes in version 7 and 255 from 8; the part names follow as
// a name list.
TEST_F(StructItems, GoldenWireForms) {
  ZQStructItemStruct s = item(2, "AB", {"C"});
  struct Case {
    int version;
    size_t width;
  };
  for (const Case& c : {Case{7, 31}, Case{8, 255}, Case{14, 255}}) {
    SCOPED_TRACE(c.version);
    const Wire expected = Wire{}.u32(2).fixed("AB", c.width).u32(1).fixed("C", c.width);
    std::vector<char> wire;
    ASSERT_TRUE(zq::model::encodeToBuffer(s, c.version, wire));
    EXPECT_EQ(wire, expected.bytes);
    ZQStructItemList one{1, &s};
    ASSERT_TRUE(zq::model::encodeToBuffer(one, c.version, wire));
    std::vector<char> listed = Wire{}.u32(1).bytes;
    listed.insert(listed.end(), expected.bytes.begin(), expected.bytes.end());
    EXPECT_EQ(wire, listed);
  }
  FreeZQStructItemStruct(&s, 0);
}

TEST_F(StructItems, TruncatedInputFails) {
  ItemList list(items(2));
  zqtest::extra::truncatedInputFails<ZQStructItemList>(list, 7, FreeZQStructItemList);
  zqtest::extra::truncatedInputFails<ZQStructItemList>(list, 14, FreeZQStructItemList);
}

// Each item owns its part names: releasing the list releases them (ASan
// reports a leak otherwise) and leaves an empty list that frees again.
TEST_F(StructItems, FreeReleasesThePartNamesAndResets) {
  ZQStructItemList list = items(3);
  FreeZQStructItemList(&list, 0);
  EXPECT_EQ(list.count, 0u);
  EXPECT_EQ(list.items, nullptr);
  FreeZQStructItemList(&list, 0);

  auto* heap = static_cast<ZQStructItemList*>(ZQAlloc(sizeof(ZQStructItemList)));
  *heap = items(2);
  FreeZQStructItemList(heap, 1);

  ZQStructItemStruct one = item(5, "Form", {"A"});
  FreeZQStructItemStruct(&one, 0);
  EXPECT_EQ(one.selectedElements.count, 0u);
  EXPECT_EQ(one.selectedElements.items, nullptr);
  FreeZQStructItemStruct(nullptr, 1);
  FreeZQStructItemList(nullptr, 1);
}

TEST_F(StructItems, CopiesAreIndependentOfTheirSource) {
  ItemList list(items(7));
  zqtest::extra::copyIsIndependent<ZQStructItemList>(list, ZQCopyStructItemList,
                                                     FreeZQStructItemList);
  zqtest::extra::copyIsIndependent<ZQStructItemStruct>(list.items[0], ZQCopyStructItemStruct,
                                                       FreeZQStructItemStruct);
}

// The item array gets room for the next multiple of 10 above its count, the
// spare slots zeroed.
TEST_F(StructItems, ListCopyRoundsItsCapacity) {
  struct Case {
    uint32_t count;
    size_t room;
  };
  for (const Case& c : {Case{1, 10}, Case{9, 10}, Case{10, 20}, Case{25, 30}, Case{30, 40}}) {
    SCOPED_TRACE(c.count);
    ItemList source(items(c.count));
    ZQStructItemList copy;
    ASSERT_EQ(ZQCopyStructItemList(&copy, &source), 0);
    ASSERT_EQ(copy.count, c.count);
    EXPECT_GE(roomOf(copy.items), c.room);
    EXPECT_LT(roomOf(copy.items), c.room + 10);
    for (size_t i = c.count; i < c.room; ++i)
      EXPECT_TRUE(zqtest::extra::allZero(copy.items[i])) << i;
    FreeZQStructItemList(&copy, 0);
  }
}

// The part names are copied with the name-list copy (room to grow); an empty
// list stays without an array, as does a list of count 0 that has one.
TEST_F(StructItems, ItemCopyUsesTheNameListCopy) {
  ZQStructItemStruct s = item(0x40000001, "Guide", {"One", "Two", "Three"});
  ZQStructItemStruct copy;
  ASSERT_EQ(ZQCopyStructItemStruct(&copy, &s), 0);
  EXPECT_EQ(copy.type, 0x40000001u);
  EXPECT_STREQ(copy.name, "Guide");
  ASSERT_EQ(copy.selectedElements.count, 3u);
  EXPECT_NE(copy.selectedElements.items, s.selectedElements.items);
  EXPECT_GE(roomOf(copy.selectedElements.items), 10u);
  EXPECT_STREQ(copy.selectedElements.items[2], "Three");
  EXPECT_EQ(copy.selectedElements.items[9][0], '\0');
  FreeZQStructItemStruct(&copy, 0);

  s.selectedElements.count = 0;  // the array stays the caller's
  ASSERT_EQ(ZQCopyStructItemStruct(&copy, &s), 0);
  EXPECT_EQ(copy.selectedElements.count, 0u);
  EXPECT_EQ(copy.selectedElements.items, nullptr);
  s.selectedElements.count = 3;
  FreeZQStructItemStruct(&s, 0);
}

TEST_F(StructItems, CopiesFailCleanlyAtEveryAllocation) {
  ItemList list(items(12));
  // One array, then the part names of every third item.
  EXPECT_EQ(zqtest::extra::copyFailsCleanly<ZQStructItemList>(list, ZQCopyStructItemList,
                                                              FreeZQStructItemList),
            5);
  EXPECT_EQ(zqtest::extra::copyFailsCleanly<ZQStructItemStruct>(
                list.items[0], ZQCopyStructItemStruct, FreeZQStructItemStruct),
            1);
}

TEST_F(StructItems, NullArguments) {
  ItemList list(items(1));
  ZQStructItemList copy = list;  // overwritten, not freed
  EXPECT_EQ(ZQCopyStructItemList(&copy, nullptr), 0);
  EXPECT_TRUE(zqtest::extra::allZero(copy));
  EXPECT_EQ(ZQCopyStructItemList(nullptr, nullptr), 0);
  EXPECT_EQ(ZQCopyStructItemList(nullptr, &list), 155);
  ZQStructItemStruct one = list.items[0];
  EXPECT_EQ(ZQCopyStructItemStruct(&one, nullptr), 0);
  EXPECT_TRUE(zqtest::extra::allZero(one));
  EXPECT_EQ(ZQCopyStructItemStruct(nullptr, &list.items[0]), 155);
}

TEST_F(StructItems, OrdinalsGiveTheCopies) {
  EXPECT_EQ(ZQGetOrdinal(1058), reinterpret_cast<void*>(&ZQCopyStructItemList));
  EXPECT_EQ(ZQGetOrdinal(1059), reinterpret_cast<void*>(&ZQCopyStructItemStruct));
}

}  // namespace
