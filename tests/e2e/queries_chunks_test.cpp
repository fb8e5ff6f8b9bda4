// Chunked retrieval against a server that hands out a new cache id with
// every reply: each follow-up request carries the previous reply's chunk
// token and cache id, and results of reals and currencies spread over
// several replies come back whole.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "entry_store.h"
#include "support/server_fixture.h"
#include "zqapi/zq_queries.h"
#include "zqapi/zqapi.h"

using zqtest::Status;

namespace {

constexpr ZQInternalId kText = 8;
constexpr ZQInternalId kNumber = 536870913;
constexpr ZQInternalId kReal = 536870914;
constexpr ZQInternalId kMoney = 536870915;

const ZQValueStruct* valueOf(const ZQFieldValueList* values, ZQInternalId id) {
  for (uint32_t i = 0; values && i < values->count; ++i)
    if (values->items[i].fieldId == id) return &values->items[i].value;
  return nullptr;
}

// One entry of form "M" as the test stored it.
struct Money {
  std::string id;
  std::string text;
  double real;
  std::string amount;
  std::string code;
  std::vector<std::pair<std::string, std::string>> functional;  // value, code
};

// Compares a returned real and currency with what was stored.
void expectMoney(const Money& m, const ZQValueStruct* real, const ZQValueStruct* money) {
  ASSERT_NE(real, nullptr);
  ASSERT_EQ(real->dataType, (uint32_t)ZQ_DATA_TYPE_REAL);
  EXPECT_EQ(std::memcmp(&real->u.realValue, &m.real, sizeof m.real), 0)
      << real->u.realValue << " " << m.real;
  ASSERT_NE(money, nullptr);
  ASSERT_EQ(money->dataType, (uint32_t)ZQ_DATA_TYPE_CURRENCY);
  const ZQCurrencyStruct* c = money->u.currencyValue;
  ASSERT_NE(c, nullptr);
  EXPECT_STREQ(c->value, m.amount.c_str());
  EXPECT_STREQ(c->currencyCode, m.code.c_str());
  EXPECT_EQ(c->conversionDate, 1700000000);
  ASSERT_EQ(c->functionalCurrencies.count, m.functional.size());
  for (size_t k = 0; k < m.functional.size(); ++k) {
    EXPECT_STREQ(c->functionalCurrencies.items[k].value, m.functional[k].first.c_str());
    EXPECT_STREQ(c->functionalCurrencies.items[k].currencyCode, m.functional[k].second.c_str());
  }
}

}  // namespace

class RenewedCacheIds : public zqtest::ServerTest {
 protected:
  void SetUp() override {
    ServerTest::SetUp();
    server_->faults().renewCacheIdPerChunk = true;
  }

  // Form "M": text (hard to compress, so that results need several
  // replies), number, real and currency (none, one or two functional
  // currencies).
  void fill(int count, size_t textLength) {
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store
                    .createForm("M", {{kText, ZQ_DATA_TYPE_CHAR, "Text"},
                                      {kNumber, ZQ_DATA_TYPE_INTEGER, "Number"},
                                      {kReal, ZQ_DATA_TYPE_REAL, "Real"},
                                      {kMoney, ZQ_DATA_TYPE_CURRENCY, "Money"}})
                    .ok());
    const double reals[] = {0.1, -1.5e300, 5e-324, -0.0, 1.0 / 3, 123456789.125, -7.0};
    std::mt19937 random(22);
    const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    ASSERT_TRUE(store.begin());
    for (int i = 0; i < count; ++i) {
      Money m;
      for (size_t k = 0; k < textLength; ++k) m.text += letters[random() % 64];
      m.real = reals[i % 7];
      m.amount = std::to_string(i) + ".50";
      m.code = i % 2 ? "USD" : "EUR";
      if (i % 3 >= 1) m.functional.push_back({std::to_string(i * 2) + ".00", "GBP"});
      if (i % 3 == 2) m.functional.push_back({"9", "JPY"});

      std::vector<ZQFunctionalCurrencyStruct> functional;
      for (auto& f : m.functional) {
        ZQFunctionalCurrencyStruct fc{};
        fc.value = const_cast<char*>(f.first.c_str());
        strcpy(fc.currencyCode, f.second.c_str());
        functional.push_back(fc);
      }
      ZQCurrencyStruct money{};
      money.value = const_cast<char*>(m.amount.c_str());
      strcpy(money.currencyCode, m.code.c_str());
      money.conversionDate = 1700000000;
      money.functionalCurrencies = {static_cast<uint32_t>(functional.size()),
                                    functional.empty() ? nullptr : functional.data()};
      ZQFieldValueStruct items[4]{};
      items[0].fieldId = kText;
      items[0].value.dataType = ZQ_DATA_TYPE_CHAR;
      items[0].value.u.charValue = const_cast<char*>(m.text.c_str());
      items[1].fieldId = kNumber;
      items[1].value.dataType = ZQ_DATA_TYPE_INTEGER;
      items[1].value.u.integerValue = i;
      items[2].fieldId = kReal;
      items[2].value.dataType = ZQ_DATA_TYPE_REAL;
      items[2].value.u.realValue = m.real;
      items[3].fieldId = kMoney;
      items[3].value.dataType = ZQ_DATA_TYPE_CURRENCY;
      items[3].value.u.currencyValue = &money;
      ZQFieldValueList values{4, items};
      ASSERT_TRUE(store.create("M", values, "Demo", m.id).ok());
      entries_.push_back(std::move(m));
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

  // Runs a call and returns the exchanges of its procedure, in order.
  template <class Call>
  std::vector<zqserver::Sessions::Exchange> exchangesOf(uint32_t procedure, Call&& call) {
    const uint64_t before = server_->faults().callsReceived;
    call();
    const uint64_t calls = server_->faults().callsReceived - before;
    auto all = server_->sessions().recentExchanges();
    EXPECT_LE(calls, all.size());
    std::vector<zqserver::Sessions::Exchange> out;
    for (size_t i = all.size() - std::min<size_t>(calls, all.size()); i < all.size(); ++i)
      if (all[i].procedure == procedure) out.push_back(all[i]);
    return out;
  }

  static ZQMultiSchemaFieldIdStruct column(ZQInternalId id) {
    ZQMultiSchemaFieldIdStruct f{};
    strcpy(f.queryFromAlias, "m");
    f.fieldId = id;
    return f;
  }

  std::vector<Money> entries_;
};

TEST_F(RenewedCacheIds, EachFollowUpCarriesThePreviousRepliesTokenAndCacheId) {
  fill(40, 300);
  setResponseSize(4096);
  ZQEntryListFieldStruct listColumns[3] = {{kText, 200, " "}, {kReal, 10, " "}, {kMoney, 10, ""}};
  ZQEntryListFieldList listFields{3, listColumns};
  std::vector<ZQEntryIdType> idStore(entries_.size());
  std::vector<ZQEntryIdList> idLists;
  for (size_t i = 0; i < entries_.size(); ++i) {
    strcpy(idStore[i], entries_[i].id.c_str());
    idLists.push_back({1, &idStore[i]});
  }
  ZQEntryIdListList ids{static_cast<uint32_t>(idLists.size()), idLists.data()};
  ZQInternalId wanted[3] = {kText, kReal, kMoney};
  ZQInternalIdList wantedFields{3, wanted};
  ZQMultiSchemaQueryFromStruct source{};
  source.type = ZQ_MULTI_SCHEMA_SOURCE_FORM;
  strcpy(source.u.schemaName, "M");
  strcpy(source.queryFromAlias, "m");
  ZQMultiSchemaQueryFromList from{1, &source};
  ZQMultiSchemaFieldIdStruct multiColumns[3] = {column(kText), column(kReal), column(kMoney)};
  ZQMultiSchemaFieldIdList multiFields{3, multiColumns};

  struct Case {
    const char* call;
    uint32_t procedure;
    std::function<int(Status&)> run;  // runs the call, checks its result, returns its code
  } cases[] = {
      {"ZQGetListEntryWithFields", 73,
       [&](Status& s) {
         ZQEntryListFieldValueList out{};
         const int rc = ZQGetListEntryWithFields(&control_, "M", nullptr, &listFields, nullptr, 0,
                                                 0, 0, &out, nullptr, &s);
         EXPECT_EQ(out.count, entries_.size());
         for (uint32_t i = 0; i < out.count && i < entries_.size(); ++i)
           expectMoney(entries_[i], valueOf(out.items[i].fieldValues, kReal),
                       valueOf(out.items[i].fieldValues, kMoney));
         FreeZQEntryListFieldValueList(&out, 0);
         return rc;
       }},
      {"ZQGetListEntry", 5,
       [&](Status& s) {
         ZQEntryListList out{};
         const int rc = ZQGetListEntry(&control_, "M", nullptr, &listFields, nullptr, 0, 0, 0, &out,
                                       nullptr, &s);
         EXPECT_EQ(out.count, entries_.size());
         for (uint32_t i = 0; i < out.count && i < entries_.size(); ++i)
           EXPECT_STREQ(out.items[i].entryId.items[0], entries_[i].id.c_str());
         FreeZQEntryListList(&out, 0);
         return rc;
       }},
      {"ZQGetMultipleEntries", 67,
       [&](Status& s) {
         ZQBooleanList exists{};
         ZQFieldValueListList values{};
         const int rc =
             ZQGetMultipleEntries(&control_, "M", &ids, &wantedFields, &exists, &values, &s);
         EXPECT_EQ(values.count, entries_.size());
         for (uint32_t i = 0; i < values.count && i < entries_.size(); ++i)
           expectMoney(entries_[i], valueOf(&values.items[i], kReal),
                       valueOf(&values.items[i], kMoney));
         FreeZQBooleanList(&exists, 0);
         FreeZQFieldValueListList(&values, 0);
         return rc;
       }},
      {"ZQGetListEntryWithMultiSchemaFields", 171,
       [&](Status& s) {
         ZQMultiSchemaFieldValueListList rows{};
         const int rc = ZQGetListEntryWithMultiSchemaFields(&control_, &from, &multiFields, nullptr,
                                                            nullptr, 0, 0, 0, &rows, nullptr, &s);
         EXPECT_EQ(rows.count, entries_.size());
         for (uint32_t i = 0; i < rows.count && i < entries_.size(); ++i) {
           EXPECT_EQ(rows.items[i].count, 3u);
           if (rows.items[i].count == 3)
             expectMoney(entries_[i], &rows.items[i].items[1].value, &rows.items[i].items[2].value);
         }
         FreeZQMultiSchemaFieldValueListList(&rows, 0);
         return rc;
       }},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    Status s;
    int rc = -1;
    const auto seen = exchangesOf(c.procedure, [&] { rc = c.run(s); });
    EXPECT_EQ(rc, 0) << (s.count ? s.items[0].messageNumber : 0);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front().chunkToken, 0);
    for (size_t k = 0; k < seen.size(); ++k) {
      EXPECT_NE(seen[k].repliedCacheId, seen[k].cacheId) << k;  // the server renewed it
      EXPECT_EQ(seen[k].lastChunk, k + 1 == seen.size()) << k;
      if (k == 0) continue;
      EXPECT_EQ(seen[k].cacheId, seen[k - 1].repliedCacheId) << k;
      EXPECT_EQ(seen[k].chunkToken, seen[k - 1].repliedToken) << k;
      EXPECT_NE(seen[k].chunkToken, 0) << k;
    }
    EXPECT_EQ(control_.cacheId, seen.back().repliedCacheId);
  }
}

TEST_F(RenewedCacheIds, FiveChunksOfRealsAndCurrenciesComeBackWhole) {
  // Texts that compress poorly, so many that the compressed list takes
  // four and a half slices of a 4096-byte response size.
  fill(34, 500);
  setResponseSize(4096);
  ZQEntryListFieldValueList out{};
  uint32_t matches = 0;
  Status s;
  const auto seen = exchangesOf(73, [&] {
    EXPECT_EQ(ZQGetListEntryWithFields(&control_, "M", nullptr, nullptr, nullptr, 0, 0, 0, &out,
                                       &matches, &s),
              0)
        << (s.count ? s.items[0].messageNumber : 0);
  });
  EXPECT_EQ(seen.size(), 5u);
  EXPECT_EQ(matches, entries_.size());
  ASSERT_EQ(out.count, entries_.size());
  for (uint32_t i = 0; i < out.count; ++i) {
    SCOPED_TRACE(i);
    const ZQFieldValueList* v = out.items[i].fieldValues;
    EXPECT_STREQ(out.items[i].entryId.items[0], entries_[i].id.c_str());
    EXPECT_STREQ(valueOf(v, kText)->u.charValue, entries_[i].text.c_str());
    EXPECT_EQ(valueOf(v, kNumber)->u.integerValue, static_cast<int32_t>(i));
    expectMoney(entries_[i], valueOf(v, kReal), valueOf(v, kMoney));
  }
  FreeZQEntryListFieldValueList(&out, 0);
}

// A server that says more is to come but gives no chunk token to ask for it
// by: every chunked retrieval fails with 9009 and hands out nothing, the
// same call succeeding once the server behaves.
class ChunksWithoutToken : public zqtest::ServerTest {
 protected:
  void SetUp() override {
    zqtest::ServerTest::SetUp();
    if (HasFatalFailure()) return;
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store.createForm("T", {{kText, ZQ_DATA_TYPE_CHAR, "Text"}}).ok());
    ZQFieldValueStruct item{};
    item.fieldId = kText;
    item.value.dataType = ZQ_DATA_TYPE_CHAR;
    item.value.u.charValue = const_cast<char*>("only");
    ZQFieldValueList values{1, &item};
    std::string id;
    ASSERT_TRUE(store.create("T", values, "Demo", id).ok());
  }
};

TEST_F(ChunksWithoutToken, EveryChunkedRetrievalFailsWithoutItsLastChunk) {
  struct Case {
    const char* name;
    // Runs the call; *empty tells whether its output holds nothing.
    std::function<int(ZQControlStruct*, Status&, bool* empty)> run;
  };
  static ZQEntryIdType firstId = "000000000000001";
  const Case cases[] = {
      {"GetListEntry",
       [](ZQControlStruct* c, Status& s, bool* empty) {
         ZQEntryListList out{};
         int rc = ZQGetListEntry(c, "T", nullptr, nullptr, nullptr, 0, 0, 0, &out, nullptr, &s);
         *empty = out.count == 0 && out.items == nullptr;
         FreeZQEntryListList(&out, 0);
         return rc;
       }},
      {"GetListEntryWithFields",
       [](ZQControlStruct* c, Status& s, bool* empty) {
         ZQEntryListFieldValueList out{};
         uint32_t matches = 0;
         int rc = ZQGetListEntryWithFields(c, "T", nullptr, nullptr, nullptr, 0, 0, 0, &out,
                                           &matches, &s);
         *empty = out.count == 0 && out.items == nullptr && matches == 0;
         FreeZQEntryListFieldValueList(&out, 0);
         return rc;
       }},
      {"GetOneEntryWithFields",
       [](ZQControlStruct* c, Status& s, bool* empty) {
         ZQEntryListFieldValueList out{};
         uint32_t matches = 0;
         int rc = ZQGetOneEntryWithFields(c, "T", nullptr, nullptr, nullptr, 0, &out, &matches, &s);
         *empty = out.count == 0 && out.items == nullptr;
         FreeZQEntryListFieldValueList(&out, 0);
         return rc;
       }},
      {"GetMultipleEntries",
       [](ZQControlStruct* c, Status& s, bool* empty) {
         ZQEntryIdList id{1, &firstId};
         ZQEntryIdListList ids{1, &id};
         ZQBooleanList exists{};
         ZQFieldValueListList values{};
         int rc = ZQGetMultipleEntries(c, "T", &ids, nullptr, &exists, &values, &s);
         *empty = exists.count == 0 && values.count == 0 && values.items == nullptr;
         FreeZQBooleanList(&exists, 0);
         FreeZQFieldValueListList(&values, 0);
         return rc;
       }},
      {"Export",
       [](ZQControlStruct* c, Status& s, bool* empty) {
         ZQStructItemStruct item{};
         item.type = ZQ_STRUCT_ITEM_SCHEMA;
         strcpy(item.name, "T");
         ZQStructItemList items{1, &item};
         char* text = nullptr;
         int rc = ZQExport(c, &items, nullptr, 0, nullptr, &text, &s);
         *empty = text == nullptr;
         ZQFree(text);
         return rc;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Status s;
    bool empty = false;
    server_->faults().chunksWithoutToken = 1;
    EXPECT_EQ(c.run(&control_, s, &empty), 2);
    EXPECT_TRUE(s.has(9009)) << (s.count ? s.items[0].messageNumber : 0);
    EXPECT_TRUE(empty);
    EXPECT_EQ(server_->faults().chunksWithoutToken.load(), 0);  // the fault was used
    server_->faults().chunksWithoutToken = 0;
    s.reset();
    EXPECT_EQ(c.run(&control_, s, &empty), 0);
    EXPECT_FALSE(empty);
  }
}
