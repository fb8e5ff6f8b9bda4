#include <gtest/gtest.h>

#include <string>

#include "frame/alloc.h"
#include "support/session.h"

using zqtest::Status;

TEST(AddStatus, KeepsSeverityOrderNewestFirst) {
  Status s;
  EXPECT_EQ(ZQAddStatus(&s, ZQ_MESSAGE_WARNING, 1001, nullptr), 1);
  EXPECT_EQ(ZQAddStatus(&s, ZQ_MESSAGE_ERROR, 1002, nullptr), 2);
  EXPECT_EQ(ZQAddStatus(&s, ZQ_MESSAGE_NOTE, 1003, nullptr), 2);
  EXPECT_EQ(ZQAddStatus(&s, ZQ_MESSAGE_ERROR, 1004, nullptr), 2);
  using E = std::pair<uint32_t, int32_t>;
  EXPECT_EQ(s.entries(), (std::vector<E>{{2, 1004}, {2, 1002}, {1, 1001}, {0, 1003}}));
}

TEST(AddStatus, TextsComeFromTheCatalogOnlyForCatalogNumbers) {
  Status s;
  ZQAddStatus(&s, ZQ_MESSAGE_ERROR, 12345, nullptr);
  ZQAddStatus(&s, ZQ_MESSAGE_NOTE, 8914, nullptr);
  ZQAddStatus(&s, ZQ_MESSAGE_ERROR, 0, nullptr);
  ZQAddStatus(&s, ZQ_MESSAGE_ERROR, 161, nullptr);
  ASSERT_EQ(s.count, 4u);
  EXPECT_STRNE(s.items[0].message, "");  // 161 has a text
  for (uint32_t i = 1; i < 4; ++i) {
    ASSERT_NE(s.items[i].message, nullptr);
    EXPECT_STREQ(s.items[i].message, "") << s.items[i].messageNumber;
  }
}

TEST(AddStatus, AppendedTextIsCutOrOmitted) {
  Status s;
  std::string long300(300, 'x');
  ZQAddStatus(&s, ZQ_MESSAGE_ERROR, 103, long300.c_str());
  ZQAddStatus(&s, ZQ_MESSAGE_ERROR, 103, "");
  ZQAddStatusNumber(&s, ZQ_MESSAGE_ERROR, 103, 4294967295u);
  EXPECT_STREQ(s.items[0].appended, "4294967295");
  EXPECT_EQ(s.items[1].appended, nullptr);
  EXPECT_EQ(std::string(s.items[2].appended), std::string(255, 'x'));
}

TEST(AddStatus, NullListAndStalePointer) {
  EXPECT_EQ(ZQAddStatus(nullptr, ZQ_MESSAGE_ERROR, 1, nullptr), 2);
  Status s;
  s.items = reinterpret_cast<ZQStatusStruct*>(0x1);  // stale pointer in an empty list
  EXPECT_EQ(ZQAddStatus(&s, ZQ_MESSAGE_WARNING, 68, nullptr), 1);
  EXPECT_EQ(s.count, 1u);
}

TEST(AddStatus, OutOfMemoryLeavesTheListValid) {
  Status s;
  ZQAddStatus(&s, ZQ_MESSAGE_WARNING, 68, nullptr);
  for (long n = 0; n < 3; ++n) {
    zq::testing::failAllocationsAfter(n);
    int rc = ZQAddStatus(&s, ZQ_MESSAGE_ERROR, 103, "appended");
    zq::testing::failAllocationsAfter(-1);
    EXPECT_EQ(rc, 3) << "failing after " << n;
  }
  // The array grew only where it could; every entry is still releasable.
  EXPECT_EQ(s.count, 3u);
  EXPECT_NE(s.items[0].message, nullptr);  // text allocated, appended failed
  EXPECT_EQ(s.items[0].appended, nullptr);
  EXPECT_EQ(s.items[1].message, nullptr);  // array grew, text failed
  EXPECT_EQ(s.items[2].messageNumber, 68);
}

namespace {

void add(ZQStatusList* l, uint32_t type, int32_t number) { ZQAddStatus(l, type, number, nullptr); }

}  // namespace

TEST(MergeStatusLists, ServerEntriesFollowCallerEntriesOfTheSameType) {
  Status server, caller;
  add(&server, 0, 9);
  add(&server, 2, 302);
  add(&caller, 1, 50);
  ZQStatusList* r = ZQMergeStatusLists(&server, &caller, &caller);
  EXPECT_EQ(r, &caller);
  using E = std::pair<uint32_t, int32_t>;
  EXPECT_EQ(caller.entries(), (std::vector<E>{{2, 302}, {1, 50}, {0, 9}}));
  EXPECT_EQ(server.count, 0u);
  EXPECT_EQ(server.items, nullptr);
}

TEST(MergeStatusLists, SixRuns) {
  Status first, second, result;
  add(&first, 0, 10);
  add(&first, 1, 11);
  add(&first, 2, 12);
  add(&second, 0, 20);
  add(&second, 1, 21);
  add(&second, 2, 22);
  ZQMergeStatusLists(&first, &second, &result);
  using E = std::pair<uint32_t, int32_t>;
  EXPECT_EQ(result.entries(),
            (std::vector<E>{{2, 22}, {2, 12}, {1, 21}, {1, 11}, {0, 20}, {0, 10}}));
  EXPECT_EQ(first.count + second.count, 0u);
}

TEST(MergeStatusLists, EmptyListsMoveOrClear) {
  Status server, caller;
  add(&server, 2, 302);
  add(&server, 0, 9);
  ZQMergeStatusLists(&server, &caller, &caller);
  using E = std::pair<uint32_t, int32_t>;
  EXPECT_EQ(caller.entries(), (std::vector<E>{{2, 302}, {0, 9}}));
  EXPECT_EQ(server.count, 0u);

  Status empty1, empty2;
  ZQMergeStatusLists(&empty1, &empty2, &empty2);
  EXPECT_EQ(empty2.count, 0u);
  // Null inputs leave the result alone.
  EXPECT_EQ(ZQMergeStatusLists(nullptr, &caller, &caller), &caller);
  EXPECT_EQ(caller.count, 2u);
}

TEST(MergeStatusLists, OutOfMemoryKeepsTheMoreSevereList) {
  Status server, caller;
  add(&server, 1, 51);
  add(&caller, 2, 302);
  zq::testing::failAllocationsAfter(0);
  ZQMergeStatusLists(&server, &caller, &caller);
  zq::testing::failAllocationsAfter(-1);
  // The caller's error list is kept; adding 154 failed too, as memory is gone.
  ASSERT_GE(caller.count, 1u);
  EXPECT_EQ(caller.items[0].messageNumber, 302);
  EXPECT_EQ(server.count, 0u);

  Status a, b;
  add(&a, 2, 1);
  add(&b, 2, 2);
  zq::testing::failOnlyAllocation(0);  // the merge fails, adding 154 does not
  ZQMergeStatusLists(&a, &b, &b);
  zq::testing::failAllocationsAfter(-1);
  using E = std::pair<uint32_t, int32_t>;
  EXPECT_EQ(b.entries(), (std::vector<E>{{2, 154}, {2, 2}}));  // second wins a tie
  EXPECT_EQ(a.count, 0u);
}
