// Entry queries against zqserverd on loopback: qualifications, sorting,
// windows and chunked retrieval.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "entry_store.h"
#include "frame/alloc.h"
#include "frame/context.h"
#include "store.h"
#include "platform/compress.h"
#include "support/server_fixture.h"
#include "zqapi/zq_queries.h"
#include "zqapi/zq_server.h"

using zqtest::Status;

namespace {

ZQFieldValueStruct charField(ZQInternalId id, const char* text) {
  ZQFieldValueStruct f{};
  f.fieldId = id;
  f.value.dataType = ZQ_DATA_TYPE_CHAR;
  f.value.u.charValue = const_cast<char*>(text);
  return f;
}
ZQFieldValueStruct intField(ZQInternalId id, int32_t n) {
  ZQFieldValueStruct f{};
  f.fieldId = id;
  f.value.dataType = ZQ_DATA_TYPE_INTEGER;
  f.value.u.integerValue = n;
  return f;
}

// A relational node owning its parts for the duration of a test.
struct Relation {
  ZQRelOpStruct rel{};
  ZQQualifierStruct qual{};
  Relation(uint32_t op, ZQInternalId field, ZQValueStruct value) {
    rel.operation = op;
    rel.left.tag = ZQ_FIELD;
    rel.left.u.fieldId = field;
    rel.right.tag = ZQ_VALUE;
    rel.right.u.value = value;
    qual.operation = ZQ_COND_OP_REL_OP;
    qual.u.relation = &rel;
  }
};
ZQValueStruct intValue(int32_t n) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_INTEGER;
  v.u.integerValue = n;
  return v;
}
ZQValueStruct charValue(const char* s) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_CHAR;
  v.u.charValue = const_cast<char*>(s);
  return v;
}

}  // namespace

namespace {

// The value of a field in an entry's list (null when absent).
const ZQValueStruct* valueOf(const ZQFieldValueList* values, ZQInternalId id) {
  for (uint32_t i = 0; values && i < values->count; ++i)
    if (values->items[i].fieldId == id) return &values->items[i].value;
  return nullptr;
}

std::string textOf(const ZQFieldValueList* values, ZQInternalId id) {
  const ZQValueStruct* v = valueOf(values, id);
  return v && v->dataType == ZQ_DATA_TYPE_CHAR && v->u.charValue ? v->u.charValue : "<none>";
}

// Owns a list from a query and releases it.
struct FieldValueEntries : ZQEntryListFieldValueList {
  FieldValueEntries() : ZQEntryListFieldValueList{0, nullptr} {}
  ~FieldValueEntries() { FreeZQEntryListFieldValueList(this, 0); }
};

std::string longText(int seed, size_t length) {
  std::string s;
  for (size_t i = 0; i < length; ++i) s += static_cast<char>('a' + (seed * 7 + i) % 26);
  return s;
}

}  // namespace

class Queries : public zqtest::ServerTest {
 protected:
  // Form "Q" with a character field 8 and an integer field 536870913.
  static constexpr ZQInternalId kNumber = 536870913;

  void fill(int count) {
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store
                    .createForm("Q", {{8, ZQ_DATA_TYPE_CHAR, "Text"},
                                      {kNumber, ZQ_DATA_TYPE_INTEGER, "Number"}})
                    .ok());
    ASSERT_TRUE(store.begin());
    for (int i = 0; i < count; ++i) {
      std::string text = "entry " + std::to_string(i);
      ZQFieldValueStruct items[2] = {charField(8, text.c_str()), intField(kNumber, i % 7)};
      ZQFieldValueList values{2, items};
      std::string id;
      ASSERT_TRUE(store.create("Q", values, "Demo", id).ok());
    }
    ASSERT_TRUE(store.commit());
  }

  void setResponseSize(int32_t size) {
    ZQValueStruct v{};
    v.dataType = ZQ_DATA_TYPE_INTEGER;
    v.u.integerValue = size;
    Status s;
    ASSERT_EQ(ZQSetSessionVariable(&control_, ZQ_SESSVAR_RESPONSE_SIZE, &v, &s), 0);
  }

  // The same over ZQGetListEntryWithFields (the form holds 20000 entries).
  void listWithFieldsIsTheSameWhateverTheResponseSize() {
    Status s;
    std::vector<std::string> results[2];
    int k = 0;
    for (int32_t size : {4096, 10000000}) {
      setResponseSize(size);
      FieldValueEntries out;
      uint32_t matches = 0;
      const uint64_t before = server_->faults().callsReceived;
      s.reset();
      ASSERT_EQ(ZQGetListEntryWithFields(&control_, "Q", nullptr, nullptr, nullptr, 0, 0, 0, &out,
                                         &matches, &s),
                0);
      const uint64_t calls = server_->faults().callsReceived - before;
      EXPECT_EQ(matches, 20000u);
      if (size == 4096) {
        EXPECT_GT(calls, 5u);
      } else {
        EXPECT_EQ(calls, 1u);
      }
      for (uint32_t i = 0; i < out.count; ++i)
        results[k].push_back(
            std::string(out.items[i].entryId.items[0]) + "/" + textOf(out.items[i].fieldValues, 8) +
            "/" + std::to_string(valueOf(out.items[i].fieldValues, kNumber)->u.integerValue));
      ++k;
    }
    EXPECT_EQ(results[0].size(), 20000u);
    EXPECT_EQ(results[0], results[1]);
  }

  std::vector<std::string> ids(const ZQEntryListList& list) {
    std::vector<std::string> out;
    for (uint32_t i = 0; i < list.count; ++i) out.push_back(list.items[i].entryId.items[0]);
    return out;
  }
};

TEST_F(Queries, ListEntryWithQualificationSortAndWindow) {
  fill(30);
  Relation rel(ZQ_REL_OP_EQUAL, kNumber, intValue(3));
  ZQSortStruct byText{8, ZQ_SORT_DESCENDING};
  ZQSortList sort{1, &byText};
  ZQEntryListList out{};
  uint32_t matches = 0;
  Status s;
  ASSERT_EQ(ZQGetListEntry(&control_, "Q", &rel.qual, nullptr, &sort, 1, 2, 0, &out, &matches, &s),
            0)
      << s.count;
  // Entries 3, 10, 17, 24 match; descending text: 3, 24, 17, 10; window 1..2.
  EXPECT_EQ(matches, 4u);
  ASSERT_EQ(out.count, 2u);
  EXPECT_STREQ(out.items[0].shortDescription, "entry 24");
  EXPECT_STREQ(out.items[1].shortDescription, "entry 17");
  EXPECT_EQ(control_.context->lastMatchCount, 4u);
  FreeZQEntryListList(&out, 0);
}

TEST_F(Queries, LikeAndIn) {
  fill(12);
  Status s;
  ZQEntryListList out{};
  Relation like(ZQ_REL_OP_LIKE, 8, charValue("entry 1%"));
  ASSERT_EQ(
      ZQGetListEntry(&control_, "Q", &like.qual, nullptr, nullptr, 0, 0, 0, &out, nullptr, &s), 0);
  EXPECT_EQ(out.count, 3u);  // 1, 10, 11
  EXPECT_EQ(control_.context->lastMatchCount, 3u);
  FreeZQEntryListList(&out, 0);

  ZQValueStruct set[2] = {intValue(0), intValue(6)};
  ZQRelOpStruct in{};
  in.operation = ZQ_REL_OP_IN;
  in.left.tag = ZQ_FIELD;
  in.left.u.fieldId = kNumber;
  in.right.tag = ZQ_VALUE_SET;
  in.right.u.valueSet = {2, set};
  ZQQualifierStruct q{};
  q.operation = ZQ_COND_OP_REL_OP;
  q.u.relation = &in;
  ASSERT_EQ(ZQGetListEntry(&control_, "Q", &q, nullptr, nullptr, 0, 0, 0, &out, nullptr, &s), 0);
  EXPECT_EQ(out.count, 3u);  // i % 7 in {0, 6}: entries 0, 6 and 7
  FreeZQEntryListList(&out, 0);
}

TEST_F(Queries, ResultIsTheSameWhateverTheResponseSize) {
  fill(20000);
  Status s;
  std::vector<std::string> small, large;
  for (int32_t size : {4096, 10000000}) {
    setResponseSize(size);
    ZQEntryListList out{};
    uint32_t matches = 0;
    uint64_t before = server_->faults().callsReceived;
    ASSERT_EQ(
        ZQGetListEntry(&control_, "Q", nullptr, nullptr, nullptr, 0, 0, 0, &out, &matches, &s), 0);
    uint64_t calls = server_->faults().callsReceived - before;
    EXPECT_EQ(matches, 20000u);
    (size == 4096 ? small : large) = ids(out);
    if (size == 4096)
      EXPECT_GT(calls, 10u);
    else
      EXPECT_EQ(calls, 1u);
    FreeZQEntryListList(&out, 0);
  }
  EXPECT_EQ(small.size(), 20000u);
  EXPECT_EQ(small, large);
  listWithFieldsIsTheSameWhateverTheResponseSize();
}

TEST_F(Queries, ServerErrorsReachTheCaller) {
  fill(1);
  Status s;
  ZQEntryListList out{};
  EXPECT_EQ(ZQGetListEntry(&control_, "NoSuchForm", nullptr, nullptr, nullptr, 0, 0, 0, &out,
                           nullptr, &s),
            2);
  EXPECT_TRUE(s.has(zqserver::kMsgNoSuchForm));
  EXPECT_EQ(out.count, 0u);
}

TEST_F(Queries, ArgumentChecks) {
  Status s;
  ZQEntryListList out{5, reinterpret_cast<ZQEntryListStruct*>(0x1)};
  ZQSortStruct badSort{8, 3};
  ZQSortList sort{1, &badSort};
  ZQEntryListFieldStruct badField{8, 0, ""};
  ZQEntryListFieldList fields{1, &badField};
  ZQSortList noItems{2, nullptr};
  ZQQualifierStruct badQual{};
  badQual.operation = 9;
  struct Case {
    const char* form;
    ZQQualifierStruct* qual;
    ZQEntryListFieldList* fields;
    ZQSortList* sort;
    ZQEntryListList* out;
    int32_t message;
  } cases[] = {
      {"", nullptr, nullptr, nullptr, &out, 102},
      {nullptr, nullptr, nullptr, nullptr, &out, 102},
      {"Q", &badQual, nullptr, nullptr, &out, 142},
      {"Q", nullptr, &fields, nullptr, &out, 214},
      {"Q", nullptr, nullptr, &sort, &out, 153},
      {"Q", nullptr, nullptr, &noItems, &out, 165},
      {"Q", nullptr, nullptr, nullptr, nullptr, 105},
  };
  for (const Case& c : cases) {
    s.reset();
    out = {5, reinterpret_cast<ZQEntryListStruct*>(0x1)};
    EXPECT_EQ(
        ZQGetListEntry(&control_, c.form, c.qual, c.fields, c.sort, 0, 0, 0, c.out, nullptr, &s), 2)
        << c.message;
    EXPECT_TRUE(s.has(c.message)) << c.message;
    if (c.out) {
      EXPECT_EQ(out.count, 0u);
    }
  }
  EXPECT_EQ(
      ZQGetListEntry(&control_, "Q", nullptr, nullptr, nullptr, 0, 0, 0, &out, nullptr, nullptr),
      4);
}

TEST_F(Queries, ListEntryWithFieldsReturnsTypedValuesInColumnOrder) {
  fill(30);
  Relation rel(ZQ_REL_OP_EQUAL, kNumber, intValue(3));
  ZQSortStruct byText{8, ZQ_SORT_ASCENDING};
  ZQSortList sort{1, &byText};
  ZQEntryListFieldStruct columns[3] = {{kNumber, 10, " "}, {1, 15, " "}, {8, 20, ""}};
  ZQEntryListFieldList fields{3, columns};
  FieldValueEntries out;
  uint32_t matches = 0;
  Status s;
  s.reset();
  ASSERT_EQ(ZQGetListEntryWithFields(&control_, "Q", &rel.qual, &fields, &sort, 0, 0, 0, &out,
                                     &matches, &s),
            0);
  EXPECT_EQ(matches, 4u);
  ASSERT_EQ(out.count, 4u);
  const char* expected[] = {"entry 10", "entry 17", "entry 24", "entry 3"};
  for (uint32_t i = 0; i < 4; ++i) {
    const ZQFieldValueList* v = out.items[i].fieldValues;
    ASSERT_EQ(v->count, 3u);
    EXPECT_EQ(v->items[0].fieldId, kNumber);
    EXPECT_EQ(v->items[0].value.dataType, (uint32_t)ZQ_DATA_TYPE_INTEGER);
    EXPECT_EQ(v->items[0].value.u.integerValue, 3);
    // Field 1 repeats the entry id line.
    EXPECT_EQ(textOf(v, 1), std::string(out.items[i].entryId.items[0]));
    EXPECT_EQ(textOf(v, 8), expected[i]);
  }
  EXPECT_EQ(control_.context->lastMatchCount, 4u);

  // Without a match count the last match count is the number returned.
  FieldValueEntries window;
  s.reset();
  ASSERT_EQ(ZQGetListEntryWithFields(&control_, "Q", nullptr, &fields, &sort, 2, 5, 0, &window,
                                     nullptr, &s),
            0);
  EXPECT_EQ(window.count, 5u);
  EXPECT_EQ(control_.context->lastMatchCount, 5u);
}

TEST_F(Queries, OneEntryWithFieldsTakesTheFirstInSortOrder) {
  fill(10);
  ZQSortStruct byText{8, ZQ_SORT_DESCENDING};
  ZQSortList sort{1, &byText};
  FieldValueEntries out;
  uint32_t matches = 0;
  Status s;
  s.reset();
  ASSERT_EQ(ZQGetOneEntryWithFields(&control_, "Q", nullptr, nullptr, &sort, 0, &out, &matches, &s),
            0);
  EXPECT_EQ(matches, 10u);
  ASSERT_EQ(out.count, 1u);
  EXPECT_EQ(textOf(out.items[0].fieldValues, 8), "entry 9");
  s.reset();
  FieldValueEntries none;
  EXPECT_EQ(ZQGetOneEntryWithFields(&control_, "NoSuchForm", nullptr, nullptr, nullptr, 0, &none,
                                    nullptr, &s),
            2);
  EXPECT_TRUE(s.has(zqserver::kMsgNoSuchForm));
  EXPECT_EQ(none.count, 0u);
}

// Long texts force the server to cut values between replies.
class LongTextQueries : public Queries {
 protected:
  void fillLong(int count, size_t length) {
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store
                    .createForm("L", {{8, ZQ_DATA_TYPE_CHAR, "Text"},
                                      {15, ZQ_DATA_TYPE_CHAR, "History"},
                                      {kNumber, ZQ_DATA_TYPE_INTEGER, "Number"}})
                    .ok());
    ASSERT_TRUE(store.begin());
    for (int i = 0; i < count; ++i) {
      texts_.push_back(longText(i, length + i * 37));
      histories_.push_back(longText(i + 1, length / 2 + i));
      ZQFieldValueStruct items[3] = {charField(8, texts_.back().c_str()),
                                     charField(15, histories_.back().c_str()),
                                     intField(kNumber, i)};
      ZQFieldValueList values{3, items};
      std::string id;
      ASSERT_TRUE(store.create("L", values, "Demo", id).ok());
      ids_.push_back(id);
    }
    ASSERT_TRUE(store.commit());
  }
  std::vector<std::string> texts_, histories_, ids_;
};

TEST_F(LongTextQueries, MultipleEntriesJoinsTextsCutBetweenReplies) {
  fillLong(12, 5000);
  setResponseSize(4096);
  std::vector<ZQEntryIdList> idLists;
  std::vector<ZQEntryIdType> idStore(ids_.size() + 1);
  for (size_t i = 0; i < ids_.size(); ++i) strcpy(idStore[i], ids_[i].c_str());
  strcpy(idStore[ids_.size()], "000000000099999");  // no such entry
  for (auto& id : idStore) idLists.push_back({1, &id});
  ZQEntryIdListList ids{static_cast<uint32_t>(idLists.size()), idLists.data()};

  // One field only: every value has the same field id, so only the
  // server's mark tells a cut text from two whole ones.
  for (std::vector<ZQInternalId> wanted :
       {std::vector<ZQInternalId>{8}, std::vector<ZQInternalId>{8, 15, kNumber}}) {
    ZQInternalIdList fields{static_cast<uint32_t>(wanted.size()), wanted.data()};
    ZQBooleanList exists{};
    ZQFieldValueListList values{};
    Status s;
    const uint64_t before = server_->faults().callsReceived;
    s.reset();
    ASSERT_EQ(ZQGetMultipleEntries(&control_, "L", &ids, &fields, &exists, &values, &s), 0);
    EXPECT_GT(server_->faults().callsReceived - before, 12u);
    ASSERT_EQ(exists.count, ids.count);
    ASSERT_EQ(values.count, ids.count);
    for (size_t i = 0; i < ids_.size(); ++i) {
      EXPECT_TRUE(exists.items[i]);
      ASSERT_EQ(values.items[i].count, wanted.size());
      EXPECT_EQ(textOf(&values.items[i], 8), texts_[i]) << i;
      // Status history values (field 15) are never cut nor joined.
      if (wanted.size() > 1) {
        EXPECT_EQ(textOf(&values.items[i], 15), histories_[i]) << i;
      }
    }
    EXPECT_FALSE(exists.items[ids_.size()]);
    // The missing entry's values take the wanted field ids.
    EXPECT_EQ(values.items[ids_.size()].items[0].fieldId, 8u);
    EXPECT_EQ(values.items[ids_.size()].items[0].value.dataType, (uint32_t)ZQ_DATA_TYPE_NULL);
    FreeZQBooleanList(&exists, 0);
    FreeZQFieldValueListList(&values, 0);
  }
}

TEST_F(LongTextQueries, MultipleEntriesEdgeCases) {
  fillLong(1, 10);
  Status s;
  ZQFieldValueListList values{3, reinterpret_cast<ZQFieldValueList*>(0x1)};
  // A null exists output is refused first.
  s.reset();
  EXPECT_EQ(ZQGetMultipleEntries(&control_, "L", nullptr, nullptr, nullptr, &values, &s), 2);
  EXPECT_TRUE(s.has(292));
  ZQBooleanList exists{2, reinterpret_cast<ZQBoolean*>(0x1)};
  s.reset();
  EXPECT_EQ(ZQGetMultipleEntries(&control_, "L", nullptr, nullptr, &exists, &values, &s), 0);
  EXPECT_EQ(exists.count, 0u);
  EXPECT_EQ(values.count, 0u);
  // Without a value output only the flags come back.
  ZQEntryIdType id;
  strcpy(id, ids_[0].c_str());
  ZQEntryIdList one{1, &id};
  ZQEntryIdListList ids{1, &one};
  s.reset();
  ASSERT_EQ(ZQGetMultipleEntries(&control_, "L", &ids, nullptr, &exists, nullptr, &s), 0);
  ASSERT_EQ(exists.count, 1u);
  EXPECT_TRUE(exists.items[0]);
  FreeZQBooleanList(&exists, 0);
}

// A server of protocol version 9 answers procedure 73 with structured
// chunks; an entry cut between two of them is completed in place.
class StructuredQueries : public LongTextQueries {
 protected:
  void configure(zqserver::Options& o) override { o.maxVersion = 9; }
};

TEST_F(StructuredQueries, EntriesCutBetweenChunksAreJoined) {
  fillLong(8, 3000);
  setResponseSize(4096);
  ZQEntryListFieldStruct columns[3] = {{kNumber, 10, " "}, {8, 20, " "}, {15, 20, ""}};
  ZQEntryListFieldList fields{3, columns};
  FieldValueEntries out;
  uint32_t matches = 0;
  Status s;
  s.reset();
  ASSERT_EQ(ZQGetListEntryWithFields(&control_, "L", nullptr, &fields, nullptr, 0, 0, 0, &out,
                                     &matches, &s),
            0);
  EXPECT_EQ(server_->faults().lastVersion, 9u);
  EXPECT_EQ(matches, 8u);
  ASSERT_EQ(out.count, 8u);
  for (uint32_t i = 0; i < out.count; ++i) {
    EXPECT_EQ(std::string(out.items[i].entryId.items[0]), ids_[i]);
    const ZQFieldValueList* v = out.items[i].fieldValues;
    ASSERT_EQ(v->count, 3u);
    EXPECT_EQ(valueOf(v, kNumber)->u.integerValue, static_cast<int32_t>(i));
    EXPECT_EQ(textOf(v, 8), texts_[i]) << i;
    EXPECT_EQ(textOf(v, 15), histories_[i]) << i;
  }
}

TEST_F(Queries, StopFromAnotherThreadEndsTheRetrieval) {
  fill(3000);
  setResponseSize(4096);
  server_->faults().delayCalls = 1000;
  server_->faults().delayMs = 30;
  ZQEntryListList out{};
  Status s;
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Status t;
    ZQCloseNetworkConnections(&control_, &t);
  });
  s.reset();
  const int rc =
      ZQGetListEntry(&control_, "Q", nullptr, nullptr, nullptr, 0, 0, 0, &out, nullptr, &s);
  stopper.join();
  server_->faults().delayCalls = 0;
  EXPECT_EQ(rc, 2);
  EXPECT_EQ(out.count, 0u);
  EXPECT_EQ(out.items, nullptr);
}

TEST_F(Queries, StatisticsWithAndWithoutGroups) {
  fill(14);  // numbers 0..6 twice
  Status s;
  ZQFieldValueOrArithStruct target{};
  target.tag = ZQ_FIELD;
  target.u.fieldId = kNumber;
  struct Case {
    uint32_t statistic;
    double expected;
  } cases[] = {{1, 14}, {2, 42}, {3, 3.0}, {4, 0}, {5, 6}};
  for (const Case& c : cases) {
    ZQStatisticsResultList out{};
    s.reset();
    ASSERT_EQ(
        ZQGetEntryStatistics(&control_, "Q", nullptr, &target, c.statistic, nullptr, &out, &s), 0);
    ASSERT_EQ(out.count, 1u) << c.statistic;
    const ZQValueStruct& v = out.items[0].result;
    const double got = v.dataType == ZQ_DATA_TYPE_REAL ? v.u.realValue : v.u.integerValue;
    EXPECT_DOUBLE_EQ(got, c.expected) << c.statistic;
    FreeZQStatisticsResultList(&out, 0);
  }
  // Count of entries per number, numbers 3 and above.
  Relation atLeast3(ZQ_REL_OP_GREATER_EQUAL, kNumber, intValue(3));
  ZQInternalId by = kNumber;
  ZQInternalIdList groupBy{1, &by};
  ZQStatisticsResultList out{};
  s.reset();
  ASSERT_EQ(ZQGetEntryStatistics(&control_, "Q", &atLeast3.qual, nullptr, 1, &groupBy, &out, &s),
            0);
  ASSERT_EQ(out.count, 4u);
  for (uint32_t i = 0; i < 4; ++i) {
    ASSERT_EQ(out.items[i].groupByValues.count, 1u);
    EXPECT_EQ(out.items[i].groupByValues.items[0].u.integerValue, static_cast<int32_t>(3 + i));
    EXPECT_EQ(out.items[i].result.u.integerValue, 2);
  }
  FreeZQStatisticsResultList(&out, 0);
  // Argument checks: statistic range, then the output.
  s.reset();
  EXPECT_EQ(ZQGetEntryStatistics(&control_, "Q", nullptr, nullptr, 6, nullptr, &out, &s), 2);
  EXPECT_TRUE(s.has(126));
  s.reset();
  EXPECT_EQ(ZQGetEntryStatistics(&control_, "Q", nullptr, nullptr, 1, nullptr, nullptr, &s), 2);
  EXPECT_TRUE(s.has(105));
}

TEST_F(Queries, BlocksAreDecodedLocally) {
  fill(25);
  ZQEntryListFieldStruct columns[2] = {{8, 20, " "}, {kNumber, 10, ""}};
  ZQEntryListFieldList fields{2, columns};
  ZQEntryBlockList blocks{};
  uint32_t rows = 0, matches = 0;
  Status s;
  s.reset();
  ASSERT_EQ(ZQGetListEntryBlocks(&control_, "Q", nullptr, &fields, nullptr, 10, 0, 0, 0, &blocks,
                                 &rows, &matches, &s),
            0);
  EXPECT_EQ(rows, 25u);
  EXPECT_EQ(matches, 25u);
  ASSERT_EQ(blocks.count, 3u);
  uint32_t seen = 0;
  for (uint32_t b = 0; b < blocks.count; ++b) {
    FieldValueEntries part;
    s.reset();
    ASSERT_EQ(ZQGetEntryBlock(&blocks, b, &part, &s), 0);
    for (uint32_t i = 0; i < part.count; ++i, ++seen)
      EXPECT_EQ(textOf(part.items[i].fieldValues, 8), "entry " + std::to_string(seen));
  }
  EXPECT_EQ(seen, 25u);

  FieldValueEntries part;
  s.reset();
  EXPECT_EQ(ZQGetEntryBlock(&blocks, 3, &part, &s), 2);  // index == count
  EXPECT_TRUE(s.has(441));
  EXPECT_EQ(s.appendedOf(441), "entryBlockList");
  s.reset();
  EXPECT_EQ(ZQGetEntryBlock(nullptr, 0, &part, &s), 2);
  EXPECT_EQ(s.appendedOf(442), "entryBlockList");
  s.reset();
  EXPECT_EQ(ZQGetEntryBlock(&blocks, 0, nullptr, &s), 2);
  EXPECT_TRUE(s.has(105));
  s.reset();
  EXPECT_EQ(ZQGetEntryBlock(&blocks, 0, &part, nullptr), 4);
  // A damaged block fails to inflate (160) and leaves the output empty.
  blocks.items[0].bytes[0] ^= 0xFF;
  s.reset();
  EXPECT_EQ(ZQGetEntryBlock(&blocks, 0, &part, &s), 2);
  EXPECT_TRUE(s.has(160));
  EXPECT_EQ(part.count, 0u);
  FreeZQEntryBlockList(&blocks, 0);
}

class BlobQueries : public Queries {
 protected:
  // An entry of form "B" with an attachment field 536870920 holding content.
  std::string create(const std::string& content) {
    zqserver::EntryStore store(server_->store());
    if (!store.form("B")) {
      EXPECT_TRUE(store.createForm("B", {{kAttach, ZQ_DATA_TYPE_ATTACH, "File"}}).ok());
    }
    zq::platform::ZBuffer packed;
    EXPECT_EQ(zq::platform::compressBytes(content.data(), content.size(), packed),
              zq::platform::ZResult::ok);
    ZQAttachStruct a{};
    a.name = const_cast<char*>("content.bin");
    a.originalSize = static_cast<int32_t>(content.size());
    a.compressedSize = static_cast<int32_t>(packed.size);
    a.location.locationType = ZQ_LOC_BUFFER;
    a.location.u.buffer = {static_cast<uint32_t>(packed.size), packed.data};
    ZQFieldValueStruct item{};
    item.fieldId = kAttach;
    item.value.dataType = ZQ_DATA_TYPE_ATTACH;
    item.value.u.attachmentValue = &a;
    ZQFieldValueList values{1, &item};
    std::string id;
    EXPECT_TRUE(store.create("B", values, "Demo", id).ok());
    ZQFree(packed.data);
    return id;
  }
  static constexpr ZQInternalId kAttach = 536870920;
};

TEST_F(BlobQueries, ContentToBufferAndFileCompressedOrNot) {
  setResponseSize(4096);
  std::mt19937 random(7);
  std::string noise(20000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  const std::string text = longText(3, 30000);
  const std::string path = ::testing::TempDir() + "zq-blob-" + std::to_string(getpid());
  // Repetitive text travels compressed, random bytes as they are.
  for (const std::string* content : std::vector<const std::string*>{&text, &noise}) {
    std::string idText = create(*content);
    ZQEntryIdType id;
    strcpy(id, idText.c_str());
    ZQEntryIdList ids{1, &id};
    Status s;
    ZQLocStruct buffer{};
    buffer.locationType = ZQ_LOC_BUFFER;
    const uint64_t before = server_->faults().callsReceived;
    s.reset();
    ASSERT_EQ(ZQGetEntryBLOB(&control_, "B", &ids, kAttach, &buffer, &s), 0);
    ASSERT_EQ(buffer.u.buffer.size, content->size());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer.u.buffer.bytes), buffer.u.buffer.size),
              *content);
    ZQFree(buffer.u.buffer.bytes);
    if (content == &noise) {
      EXPECT_GT(server_->faults().callsReceived - before, 4u);
    }

    ZQLocStruct file{};
    file.locationType = ZQ_LOC_FILENAME;
    file.u.filename = const_cast<char*>(path.c_str());
    s.reset();
    ASSERT_EQ(ZQGetEntryBLOB(&control_, "B", &ids, kAttach, &file, &s), 0);
    std::ifstream in(path, std::ios::binary);
    std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, *content);
    unlink(path.c_str());
  }
}

TEST_F(BlobQueries, LocationAndServerFailures) {
  std::string idText = create("abc");
  ZQEntryIdType id;
  strcpy(id, idText.c_str());
  ZQEntryIdList ids{1, &id};
  Status s;
  ZQLocStruct bad{};
  bad.locationType = 3;
  s.reset();
  EXPECT_EQ(ZQGetEntryBLOB(&control_, "B", &ids, kAttach, &bad, &s), 2);
  EXPECT_TRUE(s.has(8700));
  s.reset();
  EXPECT_EQ(ZQGetEntryBLOB(&control_, "B", &ids, kAttach, nullptr, &s), 2);
  EXPECT_TRUE(s.has(8700));
  // A field without an attachment: the server's error, an empty buffer.
  ZQLocStruct buffer{};
  buffer.locationType = ZQ_LOC_BUFFER;
  s.reset();
  EXPECT_EQ(ZQGetEntryBLOB(&control_, "B", &ids, 8, &buffer, &s), 2);
  EXPECT_EQ(buffer.u.buffer.bytes, nullptr);
  EXPECT_EQ(buffer.u.buffer.size, 0u);
  // A file that cannot be opened.
  ZQLocStruct file{};
  file.locationType = ZQ_LOC_FILENAME;
  file.u.filename = const_cast<char*>("/nonexistent-dir/x");
  s.reset();
  EXPECT_EQ(ZQGetEntryBLOB(&control_, "B", &ids, kAttach, &file, &s), 2);
  EXPECT_TRUE(s.has(342));
}

class MultiFormQueries : public Queries {
 protected:
  void SetUp() override {
    Queries::SetUp();
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store
                    .createForm("People", {{8, ZQ_DATA_TYPE_CHAR, "Name"},
                                           {kNumber, ZQ_DATA_TYPE_INTEGER, "Team"}})
                    .ok());
    ASSERT_TRUE(store
                    .createForm("Teams", {{8, ZQ_DATA_TYPE_CHAR, "Title"},
                                          {kNumber, ZQ_DATA_TYPE_INTEGER, "Number"}})
                    .ok());
    auto add = [&](const char* form, const char* text, int n) {
      ZQFieldValueStruct items[2] = {charField(8, text), intField(kNumber, n)};
      ZQFieldValueList values{2, items};
      std::string id;
      ASSERT_TRUE(store.create(form, values, "Demo", id).ok());
    };
    add("People", "Ada", 1);
    add("People", "Bob", 2);
    add("People", "Cy", 1);
    add("People", "Dee", 9);  // no such team
    add("Teams", "Red", 1);
    add("Teams", "Blue", 2);
  }

  static ZQMultiSchemaQueryFromStruct source(const char* form, const char* alias) {
    ZQMultiSchemaQueryFromStruct f{};
    f.type = ZQ_MULTI_SCHEMA_SOURCE_FORM;
    strcpy(f.u.schemaName, form);
    strcpy(f.queryFromAlias, alias);
    return f;
  }
  static ZQMultiSchemaFieldIdStruct field(const char* alias, ZQInternalId id) {
    ZQMultiSchemaFieldIdStruct f{};
    strcpy(f.queryFromAlias, alias);
    f.fieldId = id;
    return f;
  }
};

TEST_F(MultiFormQueries, JoinByAliasSortedWithOuterJoin) {
  ZQMultiSchemaRelOpStruct on{};
  on.operation = ZQ_REL_OP_EQUAL;
  on.left.tag = ZQ_FIELD;
  on.left.u.fieldId = field("p", kNumber);
  on.right.tag = ZQ_FIELD;
  on.right.u.fieldId = field("t", kNumber);
  ZQMultiSchemaQualifierStruct join{};
  join.operation = ZQ_COND_OP_REL_OP;
  join.u.relOp = &on;
  ZQMultiSchemaQueryFromStruct sources[2] = {source("People", "p"), source("Teams", "t")};
  sources[1].joinQual = &join;
  ZQMultiSchemaQueryFromList from{2, sources};
  ZQMultiSchemaFieldIdStruct columns[2] = {field("p", 8), field("t", 8)};
  ZQMultiSchemaFieldIdList fields{2, columns};
  ZQMultiSchemaSortStruct byName{field("p", 8), ZQ_SORT_DESCENDING};
  ZQMultiSchemaSortList sort{1, &byName};
  struct Case {
    uint32_t joinType;
    std::vector<std::string> rows;
  } cases[] = {
      {0, {"Cy/Red", "Bob/Blue", "Ada/Red"}},
      {1, {"Dee/-", "Cy/Red", "Bob/Blue", "Ada/Red"}},  // left outer keeps Dee
  };
  for (const Case& c : cases) {
    sources[1].joinType = c.joinType;
    ZQMultiSchemaFieldValueListList rows{};
    uint32_t matches = 0;
    Status s;
    s.reset();
    ASSERT_EQ(ZQGetListEntryWithMultiSchemaFields(&control_, &from, &fields, nullptr, &sort, 0, 0,
                                                  0, &rows, &matches, &s),
              0)
        << (s.count ? s.items[0].messageNumber : 0);
    EXPECT_EQ(matches, c.rows.size());
    std::vector<std::string> got;
    for (uint32_t i = 0; i < rows.count; ++i) {
      ASSERT_EQ(rows.items[i].count, 2u);
      EXPECT_STREQ(rows.items[i].items[0].fieldId.queryFromAlias, "p");
      EXPECT_STREQ(rows.items[i].items[1].fieldId.queryFromAlias, "t");
      auto text = [](const ZQValueStruct& v) {
        return v.dataType == ZQ_DATA_TYPE_CHAR ? std::string(v.u.charValue) : std::string("-");
      };
      got.push_back(text(rows.items[i].items[0].value) + "/" + text(rows.items[i].items[1].value));
    }
    EXPECT_EQ(got, c.rows);
    FreeZQMultiSchemaFieldValueListList(&rows, 0);
  }
}

TEST_F(MultiFormQueries, RefusalsAndChecks) {
  ZQMultiSchemaQueryFromStruct sources[2] = {source("People", "p"), source("Teams", "t")};
  ZQMultiSchemaQueryFromList from{2, sources};
  ZQMultiSchemaFieldIdStruct columns[1] = {field("p", 8)};
  ZQMultiSchemaFieldIdList fields{1, columns};
  ZQMultiSchemaFieldValueListList rows{};
  Status s;
  // The server does not run right outer joins and says so.
  sources[1].joinType = 2;
  s.reset();
  EXPECT_EQ(ZQGetListEntryWithMultiSchemaFields(&control_, &from, &fields, nullptr, nullptr, 0, 0,
                                                0, &rows, nullptr, &s),
            2);
  EXPECT_TRUE(s.has(9974));
  EXPECT_EQ(rows.count, 0u);
  sources[1].joinType = 0;

  ZQMultiSchemaQueryFromList empty{0, nullptr};
  s.reset();
  EXPECT_EQ(ZQGetListEntryWithMultiSchemaFields(&control_, &empty, &fields, nullptr, nullptr, 0, 0,
                                                0, &rows, nullptr, &s),
            2);
  EXPECT_TRUE(s.has(9985));
  sources[1].type = ZQ_MULTI_SCHEMA_SOURCE_NESTED;
  s.reset();
  EXPECT_EQ(ZQGetListEntryWithMultiSchemaFields(&control_, &from, &fields, nullptr, nullptr, 0, 0,
                                                0, &rows, nullptr, &s),
            2);
  EXPECT_TRUE(s.has(9982));
  sources[1].type = ZQ_MULTI_SCHEMA_SOURCE_FORM;
  s.reset();
  EXPECT_EQ(ZQGetListEntryWithMultiSchemaFields(&control_, &from, &fields, nullptr, nullptr, 0, 0,
                                                0, nullptr, nullptr, &s),
            2);
  EXPECT_TRUE(s.has(105));
}

TEST_F(Queries, ArgumentChecksOfTheFieldQueries) {
  Status s;
  ZQSortStruct badSort{8, 3};
  ZQSortList sort{1, &badSort};
  ZQQualifierStruct badQual{};
  badQual.operation = 9;
  struct Case {
    const char* form;
    ZQQualifierStruct* qual;
    ZQSortList* sort;
    bool output;
    int32_t message;
  } cases[] = {
      {"", nullptr, nullptr, true, 102},
      {"Q", &badQual, nullptr, true, 142},
      {"Q", nullptr, &sort, true, 153},
      {"Q", nullptr, nullptr, false, 105},
  };
  for (const Case& c : cases) {
    FieldValueEntries out;
    ZQEntryBlockList blocks{};
    s.reset();
    EXPECT_EQ(ZQGetListEntryWithFields(&control_, c.form, c.qual, nullptr, c.sort, 0, 0, 0,
                                       c.output ? &out : nullptr, nullptr, &s),
              2);
    EXPECT_TRUE(s.has(c.message)) << c.message;
    s.reset();
    EXPECT_EQ(ZQGetOneEntryWithFields(&control_, c.form, c.qual, nullptr, c.sort, 0,
                                      c.output ? &out : nullptr, nullptr, &s),
              2);
    EXPECT_TRUE(s.has(c.message)) << c.message;
    s.reset();
    EXPECT_EQ(ZQGetListEntryBlocks(&control_, c.form, c.qual, nullptr, c.sort, 0, 0, 0, 0,
                                   c.output ? &blocks : nullptr, nullptr, nullptr, &s),
              2);
    EXPECT_TRUE(s.has(c.message)) << c.message;
  }
}

TEST_F(Queries, PasswordValuesInListsAreProtectedExceptThoseOf30Characters) {
  zqserver::EntryStore store(server_->store());
  ASSERT_TRUE(store.createForm("P", {{102, ZQ_DATA_TYPE_CHAR, "Password"}}).ok());
  const std::string thirty(30, 'x');
  for (const char* password : {thirty.c_str(), "secret"}) {
    ZQFieldValueStruct item = charField(102, password);
    ZQFieldValueList values{1, &item};
    std::string id;
    ASSERT_TRUE(store.create("P", values, "Demo", id).ok());
  }
  ZQEntryListFieldStruct column{102, 30, ""};
  ZQEntryListFieldList fields{1, &column};
  for (bool one : {false, true}) {
    FieldValueEntries out;
    Status s;
    ASSERT_EQ(one ? ZQGetOneEntryWithFields(&control_, "P", nullptr, &fields, nullptr, 0, &out,
                                            nullptr, &s)
                  : ZQGetListEntryWithFields(&control_, "P", nullptr, &fields, nullptr, 0, 0, 0,
                                             &out, nullptr, &s),
              0);
    ASSERT_EQ(out.count, one ? 1u : 2u);
    EXPECT_EQ(textOf(out.items[0].fieldValues, 102), thirty);
    if (!one) {
      EXPECT_NE(textOf(out.items[1].fieldValues, 102), "secret");
    }
  }
}

// Every allocation of a call fails in turn (the in-process server shares
// the allocator, so its failures are exercised too): the call fails cleanly
// with an empty output, or succeeds; ASan checks that nothing leaks.
TEST_F(LongTextQueries, RunningOutOfMemoryLeavesOutputsEmpty) {
  fillLong(3, 3000);
  setResponseSize(4096);
  ZQEntryIdType idStore[3];
  ZQEntryIdList idLists[3];
  for (int i = 0; i < 3; ++i) {
    strcpy(idStore[i], ids_[i].c_str());
    idLists[i] = {1, &idStore[i]};
  }
  ZQEntryIdListList ids{3, idLists};
  ZQInternalId wanted[2] = {8, kNumber};
  ZQInternalIdList fields{2, wanted};
  bool listDone = false, multipleDone = false;
  for (long n = 0; n < 5000 && !(listDone && multipleDone); ++n) {
    if (!listDone) {
      FieldValueEntries out;
      Status s;
      zq::testing::failAllocationsAfter(n);
      const int rc = ZQGetListEntryWithFields(&control_, "L", nullptr, nullptr, nullptr, 0, 0, 0,
                                              &out, nullptr, &s);
      const long failed = zq::testing::failedAllocations();
      zq::testing::failAllocationsAfter(-1);
      if (rc >= 2) {
        EXPECT_EQ(out.count, 0u) << n;
        EXPECT_EQ(out.items, nullptr) << n;
      } else if (failed == 0) {
        EXPECT_EQ(out.count, 3u);
        listDone = true;
      }
    }
    if (!multipleDone) {
      ZQBooleanList exists{};
      ZQFieldValueListList values{};
      Status s;
      zq::testing::failAllocationsAfter(n);
      const int rc = ZQGetMultipleEntries(&control_, "L", &ids, &fields, &exists, &values, &s);
      const long failed = zq::testing::failedAllocations();
      zq::testing::failAllocationsAfter(-1);
      if (rc >= 2) {
        EXPECT_EQ(values.count, 0u) << n;
        EXPECT_EQ(values.items, nullptr) << n;
      } else if (failed == 0) {
        ASSERT_EQ(values.count, 3u);
        EXPECT_EQ(textOf(&values.items[2], 8), texts_[2]);
        multipleDone = true;
      }
      FreeZQBooleanList(&exists, 0);
      FreeZQFieldValueListList(&values, 0);
    }
  }
  EXPECT_TRUE(listDone);
  EXPECT_TRUE(multipleDone);
}
