// Entry queries against zqserverd on loopback: qualifications, sorting,
// windows and chunked retrieval.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry_store.h"
#include "frame/context.h"
#include "store.h"
#include "support/server_fixture.h"
#include "zqapi/zq_queries.h"

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

class Queries : public zqtest::ServerTest {
 protected:
  // Form "Q" with a character field 8 and an integer field 536870913.
  static constexpr ZQInternalId kNumber = 536870913;

  void fill(int count) {
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store.createForm("Q", {{8, ZQ_DATA_TYPE_CHAR, "Text"},
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
  ASSERT_EQ(ZQGetListEntry(&control_, "Q", &like.qual, nullptr, nullptr, 0, 0, 0, &out, nullptr, &s),
            0);
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
    ASSERT_EQ(ZQGetListEntry(&control_, "Q", nullptr, nullptr, nullptr, 0, 0, 0, &out, &matches, &s),
              0);
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
    EXPECT_EQ(ZQGetListEntry(&control_, c.form, c.qual, c.fields, c.sort, 0, 0, 0, c.out, nullptr, &s),
              2)
        << c.message;
    EXPECT_TRUE(s.has(c.message)) << c.message;
    if (c.out) {
      EXPECT_EQ(out.count, 0u);
    }
  }
  EXPECT_EQ(ZQGetListEntry(&control_, "Q", nullptr, nullptr, nullptr, 0, 0, 0, &out, nullptr,
                           nullptr),
            4);
}
