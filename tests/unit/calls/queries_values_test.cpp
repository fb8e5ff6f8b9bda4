// Gathering the values of several entries reply by reply: a text cut between
// two replies is joined only where the server marked the cut.
#include <gtest/gtest.h>

#include <cstring>

#include "calls/queries_values.h"
#include "frame/alloc.h"
#include "zqapi/zq_free.h"

namespace {

using zq::calls::FlatValues;
using zq::transport::kContinuesPreviousValue;
using zq::transport::MultipleEntriesReply;

// A reply holding one list with one value (owned by the reply's lists).
struct OneValueReply {
  MultipleEntriesReply reply{};
  OneValueReply(ZQInternalId field, uint32_t type, const char* text, bool marked) {
    reply.header.continuation = marked ? kContinuesPreviousValue : 0;
    reply.valuesPerEntry = 1;
    reply.valueCount = 1;
    reply.values.count = 1;
    reply.values.items = static_cast<ZQFieldValueList*>(ZQCalloc(1, sizeof(ZQFieldValueList)));
    ZQFieldValueList& list = reply.values.items[0];
    list.count = 1;
    list.items = static_cast<ZQFieldValueStruct*>(ZQCalloc(1, sizeof(ZQFieldValueStruct)));
    list.items[0].fieldId = field;
    list.items[0].value.dataType = type;
    if (type == ZQ_DATA_TYPE_CHAR)
      list.items[0].value.u.charValue = zq::dupString(text);
    else
      list.items[0].value.u.integerValue = 7;
  }
  ~OneValueReply() { FreeZQFieldValueListList(&reply.values, 0); }
};

}  // namespace

TEST(FlatValues, JoinsOnlyAMarkedCutOfTheSameTextField) {
  struct Case {
    const char* why;
    ZQInternalId firstField, secondField;
    uint32_t secondType;
    bool marked;
    size_t expectedCount;
  } cases[] = {
      {"marked cut of one field", 8, 8, ZQ_DATA_TYPE_CHAR, true, 1},
      {"two whole values of one field", 8, 8, ZQ_DATA_TYPE_CHAR, false, 2},
      {"status history is never joined", 15, 15, ZQ_DATA_TYPE_CHAR, true, 2},
      {"field id 0 is never joined", 0, 0, ZQ_DATA_TYPE_CHAR, true, 2},
      {"another field", 8, 9, ZQ_DATA_TYPE_CHAR, true, 2},
      {"not a text", 8, 8, ZQ_DATA_TYPE_INTEGER, true, 2},
  };
  for (const Case& c : cases) {
    FlatValues flat;
    OneValueReply first(c.firstField, ZQ_DATA_TYPE_CHAR, "abc", false);
    OneValueReply second(c.secondField, c.secondType, "def", c.marked);
    ASSERT_TRUE(flat.append(first.reply)) << c.why;
    ASSERT_TRUE(flat.append(second.reply)) << c.why;
    ASSERT_EQ(flat.values().size(), c.expectedCount) << c.why;
    EXPECT_STREQ(flat.values()[0].value.u.charValue, c.expectedCount == 1 ? "abcdef" : "abc")
        << c.why;
  }
}

TEST(FlatValues, AMarkOnTheFirstReplyJoinsNothing) {
  FlatValues flat;
  OneValueReply first(8, ZQ_DATA_TYPE_CHAR, "abc", true);
  ASSERT_TRUE(flat.append(first.reply));
  ASSERT_EQ(flat.values().size(), 1u);
  EXPECT_STREQ(flat.values()[0].value.u.charValue, "abc");
}

TEST(FlatValues, RunningOutOfMemoryWhileJoiningKeepsBothParts) {
  FlatValues flat;
  OneValueReply first(8, ZQ_DATA_TYPE_CHAR, "abc", false);
  OneValueReply second(8, ZQ_DATA_TYPE_CHAR, "def", true);
  ASSERT_TRUE(flat.append(first.reply));
  zq::testing::failAllocationsAfter(0);
  const bool ok = flat.append(second.reply);
  zq::testing::failAllocationsAfter(-1);
  EXPECT_FALSE(ok);
  EXPECT_STREQ(flat.values()[0].value.u.charValue, "abc");  // released by both owners
}
