// Entry calls and transactions against zqserverd on loopback.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "entry_store.h"
#include "frame/context.h"
#include "handlers_entries.h"
#include "security/key_material.h"
#include "support/field_values.h"
#include "support/server_fixture.h"
#include "transport/state.h"

using zqtest::Status;

namespace {

constexpr ZQInternalId kTitle = 536870913;
constexpr ZQInternalId kCount = 536870914;
constexpr ZQInternalId kFile = 536870915;
constexpr ZQInternalId kPassword = 102;

using zqtest::integer;
using zqtest::text;

ZQFieldValueStruct attachment(ZQInternalId id, ZQAttachStruct* a) {
  ZQFieldValueStruct fv{};
  fv.fieldId = id;
  fv.value.dataType = ZQ_DATA_TYPE_ATTACH;
  fv.value.u.attachmentValue = a;
  return fv;
}

// A value list that releases what a call returned into it.
struct Values : ZQFieldValueList {
  Values() : ZQFieldValueList{0, nullptr} {}
  ~Values() { FreeZQFieldValueList(this, 0); }
  const ZQValueStruct* find(ZQInternalId id) const {
    for (uint32_t i = 0; i < count; ++i)
      if (items[i].fieldId == id) return &items[i].value;
    return nullptr;
  }
};

struct Ids {
  ZQEntryIdType id{};
  ZQEntryIdList list{1, &id};
  explicit Ids(const char* s) { memcpy(id, s, strnlen(s, sizeof id - 1)); }
};

std::string tempFile(const std::string& name, const std::string& content) {
  std::string path = ::testing::TempDir() + name + "-" + std::to_string(getpid());
  FILE* f = fopen(path.c_str(), "wb");
  fwrite(content.data(), 1, content.size(), f);
  fclose(f);
  return path;
}

std::string repeated(size_t n) {
  std::string s;
  for (size_t i = 0; i < n; ++i) s += static_cast<char>('a' + (i * 7 + i / 13) % 26);
  return s;
}

}  // namespace

class Entries : public zqtest::ServerTest {
 protected:
  void SetUp() override {
    zqtest::ServerTest::SetUp();
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store
                    .createForm("Tickets", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"},
                                            {kCount, ZQ_DATA_TYPE_INTEGER, "Count"},
                                            {kFile, ZQ_DATA_TYPE_ATTACH, "File"},
                                            {kPassword, ZQ_DATA_TYPE_CHAR, "Password"}})
                    .ok());
  }

  std::string create(std::vector<ZQFieldValueStruct> values, Status& s) {
    ZQFieldValueList list{static_cast<uint32_t>(values.size()), values.data()};
    ZQEntryIdType id = "junk";
    EXPECT_LT(ZQCreateEntry(&control_, "Tickets", &list, id, &s), 2) << s.count;
    return id;
  }

  int get(const char* id, std::vector<ZQInternalId> fields, Values& out, Status& s) {
    Ids ids(id);
    ZQInternalIdList wanted{static_cast<uint32_t>(fields.size()), fields.data()};
    return ZQGetEntry(&control_, "Tickets", &ids.list, &wanted, &out, &s);
  }

  uint64_t entryCount() {
    uint64_t n = 0;
    zqserver::EntryStore(server_->store()).count("Tickets", n);
    return n;
  }
  uint64_t calls() { return server_->faults().callsReceived.load(); }
};

TEST_F(Entries, CreateGetSetDeleteRoundTrip) {
  Status s;
  const std::string id = create({text(kTitle, "Printer jams"), integer(kCount, 3)}, s);
  EXPECT_EQ(id, "000000000000001");
  EXPECT_STREQ(control_.context->lastEntryId, "000000000000001");
  EXPECT_EQ(create({text(kTitle, "Second")}, s), "000000000000002");

  Values out;
  ASSERT_EQ(get(id.c_str(), {kCount, kTitle, 1}, out, s), 0);
  ASSERT_EQ(out.count, 3u);  // in the order asked
  EXPECT_EQ(out.items[0].value.u.integerValue, 3);
  EXPECT_STREQ(out.items[1].value.u.charValue, "Printer jams");
  EXPECT_STREQ(out.items[2].value.u.charValue, "000000000000001");

  Ids ids(id.c_str());
  ZQFieldValueStruct change = text(kTitle, "Printer fixed");
  ZQFieldValueList changes{1, &change};
  ASSERT_EQ(ZQSetEntry(&control_, "Tickets", &ids.list, &changes, 0, 0, &s), 0);
  Values after;
  ASSERT_EQ(get(id.c_str(), {kTitle}, after, s), 0);
  EXPECT_STREQ(after.items[0].value.u.charValue, "Printer fixed");

  ASSERT_EQ(ZQDeleteEntry(&control_, "Tickets", &ids.list, 0, &s), 0);
  Values gone;
  EXPECT_EQ(get(id.c_str(), {kTitle}, gone, s), 2);
  EXPECT_TRUE(s.has(zqserver::kMsgNoSuchEntry));
  EXPECT_EQ(gone.count, 0u);
}

TEST_F(Entries, ServerErrorsReachTheCaller) {
  Status s;
  ZQFieldValueStruct v = text(kTitle, "x");
  ZQFieldValueList list{1, &v};
  ZQEntryIdType id = "junk";
  EXPECT_EQ(ZQCreateEntry(&control_, "NoSuchForm", &list, id, &s), 2);
  EXPECT_TRUE(s.has(zqserver::kMsgNoSuchForm));
  EXPECT_STREQ(id, "");
  s.reset();
  ZQFieldValueStruct wrong = text(kCount, "three");
  ZQFieldValueList bad{1, &wrong};
  EXPECT_EQ(ZQCreateEntry(&control_, "Tickets", &bad, id, &s), 2);
  EXPECT_TRUE(s.has(zqserver::kMsgWrongDataType));
  EXPECT_EQ(entryCount(), 0u);
}

TEST_F(Entries, SetWithoutValuesNeverContactsTheServer) {
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);
  const uint64_t before = calls();
  Ids ids("000000000000001");
  ZQFieldValueList empty{0, nullptr};
  EXPECT_EQ(ZQSetEntry(&control_, "Tickets", &ids.list, &empty, 0, 0, &s), 0);
  EXPECT_EQ(ZQSetEntry(&control_, "", nullptr, nullptr, 0, 0, &s), 0);  // no check either
  EXPECT_EQ(s.count, 0u);
  ZQFieldValueStruct v = text(kTitle, "x");
  ZQFieldValueList one{1, &v};
  EXPECT_EQ(ZQSetEntry(&control_, "Tickets", nullptr, &one, 0, 0, &s), 0);  // null id list
  EXPECT_EQ(calls(), before);
}

TEST_F(Entries, NullPointerValuesBecomeNull) {
  Status s;
  ZQFieldValueStruct v = text(kTitle, nullptr);
  ZQFieldValueList list{1, &v};
  ZQEntryIdType id;
  ASSERT_EQ(ZQCreateEntry(&control_, "Tickets", &list, id, &s), 0);
  EXPECT_EQ(v.value.dataType, ZQ_DATA_TYPE_NULL);  // the caller's own structure
  Values out;
  ASSERT_EQ(get(id, {kTitle}, out, s), 0);
  EXPECT_EQ(out.items[0].value.dataType, ZQ_DATA_TYPE_NULL);
}

TEST_F(Entries, MergeByEntryId) {
  Status s;
  const std::string id = create({text(kTitle, "Original")}, s);
  struct Case {
    uint32_t mergeType;
    int rc;
    const char* expectId;
    const char* title;
  } cases[] = {
      {ZQ_MERGE_DUP_ERROR, 2, "", "Original"},
      {ZQ_MERGE_DUP_MERGE, 0, "000000000000001", "Merged"},
      {ZQ_MERGE_DUP_NEW_ID, 0, "000000000000002", "Merged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mergeType);
    s.reset();
    ZQFieldValueStruct fv[] = {text(1, id.c_str()), text(kTitle, "Merged")};
    ZQFieldValueList list{2, fv};
    ZQEntryIdType out = "junk";
    EXPECT_EQ(ZQMergeEntry(&control_, "Tickets", &list, c.mergeType, out, &s), c.rc);
    EXPECT_STREQ(out, c.expectId);
    Values got;
    Status s2;
    ASSERT_EQ(get(id.c_str(), {kTitle}, got, s2), 0);
    EXPECT_STREQ(got.items[0].value.u.charValue, c.title);
  }
}

TEST_F(Entries, AttachmentsTravelCompressedAndComeBackInflated) {
  const std::string content = repeated(20000);
  const std::string path = tempFile("attach", content);
  const std::string emptyPath = tempFile("empty", "");
  struct Case {
    const char* label;
    bool file;
    int32_t originalSize;
    std::string expect;
  } cases[] = {
      {"file", true, 0, content},
      {"file cut to its original size", true, 100, content.substr(0, 100)},
      {"original size above the file", true, 50000, content},
      {"buffer", false, 0, content},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    Status s;
    ZQAttachStruct a{};
    a.name = const_cast<char*>("report.txt");
    a.originalSize = c.originalSize;
    if (c.file) {
      a.location.locationType = ZQ_LOC_FILENAME;
      a.location.u.filename = const_cast<char*>(path.c_str());
    } else {
      a.location.locationType = ZQ_LOC_BUFFER;
      a.location.u.buffer.size = static_cast<uint32_t>(content.size());
      a.location.u.buffer.bytes =
          reinterpret_cast<unsigned char*>(const_cast<char*>(content.data()));
    }
    const std::string id = create({attachment(kFile, &a)}, s);
    // The caller's structure is left as it was.
    EXPECT_EQ(a.location.locationType, c.file ? ZQ_LOC_FILENAME : ZQ_LOC_BUFFER);

    // Stored compressed.
    ZQValueStruct stored{};
    ASSERT_TRUE(
        zqserver::EntryStore(server_->store()).attachment("Tickets", id, kFile, stored).ok());
    ASSERT_EQ(stored.dataType, ZQ_DATA_TYPE_ATTACH);
    EXPECT_EQ(stored.u.attachmentValue->originalSize, static_cast<int32_t>(c.expect.size()));
    EXPECT_LT(stored.u.attachmentValue->compressedSize, static_cast<int32_t>(c.expect.size()));
    FreeZQValueStruct(&stored, 0);

    Values out;
    ASSERT_EQ(get(id.c_str(), {kFile}, out, s), 0);
    const ZQAttachStruct* got = out.items[0].value.u.attachmentValue;
    ASSERT_NE(got, nullptr);
    EXPECT_STREQ(got->name, "report.txt");
    EXPECT_EQ(got->originalSize, static_cast<int32_t>(c.expect.size()));
    ASSERT_EQ(got->location.locationType, ZQ_LOC_BUFFER);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(got->location.u.buffer.bytes),
                          got->location.u.buffer.size),
              c.expect);
  }

  // An empty file: an attachment without content.
  Status s;
  ZQAttachStruct empty{};
  empty.name = const_cast<char*>("empty.txt");
  empty.location.locationType = ZQ_LOC_FILENAME;
  empty.location.u.filename = const_cast<char*>(emptyPath.c_str());
  const std::string id = create({attachment(kFile, &empty)}, s);
  Values out;
  ASSERT_EQ(get(id.c_str(), {kFile}, out, s), 0);
  EXPECT_EQ(out.items[0].value.u.attachmentValue->location.locationType, 0u);
  EXPECT_EQ(out.items[0].value.u.attachmentValue->originalSize, 0);
  unlink(path.c_str());
  unlink(emptyPath.c_str());
}

TEST_F(Entries, AttachmentFailuresEndTheCall) {
  Status s;
  ZQAttachStruct a{};
  a.name = const_cast<char*>("missing.txt");
  a.location.locationType = ZQ_LOC_FILENAME;
  a.location.u.filename = const_cast<char*>("/nonexistent/zq/missing.txt");
  ZQFieldValueStruct fv = attachment(kFile, &a);
  ZQFieldValueList list{1, &fv};
  ZQEntryIdType id;
  EXPECT_EQ(ZQCreateEntry(&control_, "Tickets", &list, id, &s), 2);
  EXPECT_EQ(s.appendedOf(342), "/nonexistent/zq/missing.txt");
  s.reset();
  a.location.locationType = 7;
  EXPECT_EQ(ZQCreateEntry(&control_, "Tickets", &list, id, &s), 2);
  EXPECT_TRUE(s.has(8700));
  s.reset();
  a.location.locationType = 0;
  a.originalSize = -1;
  EXPECT_EQ(ZQCreateEntry(&control_, "Tickets", &list, id, &s), 2);
  EXPECT_TRUE(s.has(8703));
  EXPECT_EQ(entryCount(), 0u);
}

class LimitedEntries : public Entries {
 protected:
  void configure(zqserver::Options& o) override { o.settings[333] = int32_t{64}; }
};

TEST_F(LimitedEntries, AttachmentAboveTheServerLimitIsRefused) {
  std::string content;
  for (int i = 0; i < 4000; ++i) content += std::to_string(i * 7919 % 10007);
  Status s;
  ZQAttachStruct a{};
  a.name = const_cast<char*>("big.txt");
  a.location.locationType = ZQ_LOC_BUFFER;
  a.location.u.buffer.size = static_cast<uint32_t>(content.size());
  a.location.u.buffer.bytes = reinterpret_cast<unsigned char*>(content.data());
  ZQFieldValueStruct fv = attachment(kFile, &a);
  ZQFieldValueList list{1, &fv};
  ZQEntryIdType id;
  ASSERT_EQ(ping(&control_, s), 0);
  const uint64_t before = calls();
  EXPECT_EQ(ZQCreateEntry(&control_, "Tickets", &list, id, &s), 2);
  EXPECT_TRUE(s.has(8703));
  EXPECT_EQ(calls(), before);
  // A small one passes.
  s.reset();
  a.location.u.buffer.size = 10;
  EXPECT_EQ(ZQCreateEntry(&control_, "Tickets", &list, id, &s), 0);
  // Service calls are not held to the limit.
  s.reset();
  a.location.u.buffer.size = static_cast<uint32_t>(content.size());
  ZQInternalId outId = kTitle;
  ZQInternalIdList outIds{1, &outId};
  Values out;
  EXPECT_EQ(ZQServiceEntry(&control_, "Tickets", nullptr, &list, &outIds, &out, &s), 0);
}

TEST_F(Entries, PasswordFieldTravelsAsDigestAndComesBackProtected) {
  Status s;
  const std::string id = create({text(kPassword, "secret")}, s);
  Values stored;
  ASSERT_TRUE(zqserver::EntryStore(server_->store()).get("Tickets", id, nullptr, stored).ok());
  const ZQValueStruct* digest = stored.find(kPassword);
  ASSERT_NE(digest, nullptr);
  ASSERT_EQ(strlen(digest->u.charValue), 28u);  // never the plain text
  EXPECT_STRNE(digest->u.charValue, "secret");

  Values out;
  ASSERT_EQ(get(id.c_str(), {kPassword}, out, s), 0);
  const char* shown = out.items[0].value.u.charValue;
  ASSERT_EQ(strlen(shown), 120u);
  char work[ZQ_PROTECTED_PASSWORD_SIZE];
  snprintf(work, sizeof work, "%s", shown);
  ASSERT_EQ(DecryptPasswordEx(zq::security::keys::kHeaderPasswordKey, work), 0);
  EXPECT_STREQ(work, digest->u.charValue);

  // A digest text travels unchanged.
  s.reset();
  std::string digestText = digest->u.charValue;
  const std::string id2 = create({text(kPassword, digestText.c_str())}, s);
  Values stored2;
  ASSERT_TRUE(zqserver::EntryStore(server_->store()).get("Tickets", id2, nullptr, stored2).ok());
  EXPECT_STREQ(stored2.find(kPassword)->u.charValue, digestText.c_str());

  // A stored value of 254 characters reaches the caller as it is.
  const std::string longValue(254, 'p');
  ZQFieldValueStruct raw = text(kPassword, longValue.c_str());
  ZQFieldValueList rawList{1, &raw};
  ASSERT_TRUE(zqserver::EntryStore(server_->store()).set("Tickets", id2, rawList, "").ok());
  Values back;
  ASSERT_EQ(get(id2.c_str(), {kPassword}, back, s), 0);
  EXPECT_EQ(std::string(back.items[0].value.u.charValue), longValue);
}

TEST_F(Entries, ServiceEntryLaysInputsOverTheEntry) {
  Status s;
  const std::string id = create({text(kTitle, "Stored"), integer(kCount, 5)}, s);
  Ids ids(id.c_str());
  ZQFieldValueStruct in = integer(kCount, 9);
  ZQFieldValueList inputs{1, &in};
  ZQInternalId wanted[] = {kTitle, kCount};
  ZQInternalIdList outIds{2, wanted};
  Values out;
  ASSERT_EQ(ZQServiceEntry(&control_, "Tickets", &ids.list, &inputs, &outIds, &out, &s), 0);
  ASSERT_EQ(out.count, 2u);
  EXPECT_STREQ(out.items[0].value.u.charValue, "Stored");
  EXPECT_EQ(out.items[1].value.u.integerValue, 9);
  // An unusable entry id is sent as none and leaves no message.
  Ids tooLong("0000000000000001");
  tooLong.id[15] = '1';
  Values out2;
  ASSERT_EQ(ZQServiceEntry(&control_, "Tickets", &tooLong.list, &inputs, &outIds, &out2, &s), 0);
  EXPECT_EQ(s.count, 0u);
  EXPECT_EQ(out2.items[0].value.dataType, ZQ_DATA_TYPE_NULL);
  // Nothing was stored.
  Values again;
  ASSERT_EQ(get(id.c_str(), {kCount}, again, s), 0);
  EXPECT_EQ(again.items[0].value.u.integerValue, 5);
}

// ---- bulk transactions ---------------------------------------------------------------

struct BulkResults : ZQBulkEntryReturnList {
  BulkResults() : ZQBulkEntryReturnList{0, nullptr} {}
  ~BulkResults() { FreeZQBulkEntryReturnList(this, 0); }
};

TEST_F(Entries, BulkQueuesAndAppliesAsOneUnit) {
  Status s;
  const std::string existing = create({text(kTitle, "Existing")}, s);
  const uint64_t before = calls();
  ASSERT_EQ(ZQBeginBulkEntryTransaction(&control_, &s), 0);
  EXPECT_EQ(ZQBeginBulkEntryTransaction(&control_, &s), 2);
  EXPECT_TRUE(s.has(9710));

  s.reset();
  EXPECT_EQ(create({text(kTitle, "Queued one")}, s), "");  // queued: no id
  EXPECT_EQ(create({text(kTitle, "Queued two")}, s), "");
  Ids ids(existing.c_str());
  ZQFieldValueStruct change = text(kTitle, "Changed in bulk");
  ZQFieldValueList changes{1, &change};
  EXPECT_EQ(ZQSetEntry(&control_, "Tickets", &ids.list, &changes, 0, 0, &s), 0);
  EXPECT_EQ(ZQDeleteEntry(&control_, "Tickets", &ids.list, 0, &s), 0);
  EXPECT_LE(calls(), before + 1);  // at most the first contact's settings request
  EXPECT_EQ(entryCount(), 1u);

  BulkResults results;
  ASSERT_EQ(ZQEndBulkEntryTransaction(&control_, ZQ_BULK_ENTRY_ACTION_SEND, &results, &s), 0);
  ASSERT_EQ(results.count, 4u);
  EXPECT_EQ(results.items[0].entryCallType, uint32_t{ZQ_BULK_ENTRY_CREATE});
  EXPECT_STREQ(results.items[0].u.entry.entryId, "000000000000002");
  EXPECT_STREQ(results.items[1].u.entry.entryId, "000000000000003");
  EXPECT_EQ(results.items[2].entryCallType, uint32_t{ZQ_BULK_ENTRY_SET});
  EXPECT_EQ(results.items[3].entryCallType, uint32_t{ZQ_BULK_ENTRY_DELETE});
  EXPECT_EQ(results.items[3].u.status.count, 0u);
  EXPECT_EQ(entryCount(), 2u);  // two created, one deleted

  // Closed now.
  EXPECT_EQ(ZQEndBulkEntryTransaction(&control_, ZQ_BULK_ENTRY_ACTION_SEND, nullptr, &s), 2);
  EXPECT_TRUE(s.has(9711));
}

TEST_F(Entries, BulkFailureRollsBackEveryOperation) {
  Status s;
  ASSERT_EQ(ZQBeginBulkEntryTransaction(&control_, &s), 0);
  create({text(kTitle, "Would be created")}, s);
  Ids missing("000000000000099");
  ASSERT_EQ(ZQDeleteEntry(&control_, "Tickets", &missing.list, 0, &s), 0);
  create({text(kTitle, "Never tried")}, s);
  BulkResults results;
  EXPECT_EQ(ZQEndBulkEntryTransaction(&control_, ZQ_BULK_ENTRY_ACTION_SEND, &results, &s), 2);
  EXPECT_TRUE(s.has(9713));
  ASSERT_EQ(results.count, 3u);
  EXPECT_STREQ(results.items[0].u.entry.entryId, "");  // rolled back
  ASSERT_EQ(results.items[1].u.status.count, 1u);
  EXPECT_EQ(results.items[1].u.status.items[0].messageNumber, zqserver::kMsgNoSuchEntry);
  EXPECT_EQ(entryCount(), 0u);
}

TEST_F(Entries, BulkActionsOtherThanSendOrDiscard) {
  Status s;
  ASSERT_EQ(ZQBeginBulkEntryTransaction(&control_, &s), 0);
  // An empty queue ends without a server call, whatever the action.
  const uint64_t before = calls();
  EXPECT_EQ(ZQEndBulkEntryTransaction(&control_, 1, nullptr, &s), 0);
  EXPECT_EQ(calls(), before);

  ASSERT_EQ(ZQBeginBulkEntryTransaction(&control_, &s), 0);
  create({text(kTitle, "Queued")}, s);
  EXPECT_EQ(ZQEndBulkEntryTransaction(&control_, 3, nullptr, &s), 2);
  EXPECT_TRUE(s.has(9712));
  s.reset();
  // Still open with its queue: discard it.
  EXPECT_EQ(ZQEndBulkEntryTransaction(&control_, ZQ_BULK_ENTRY_ACTION_CANCEL, nullptr, &s), 0);
  EXPECT_EQ(entryCount(), 0u);
  EXPECT_EQ(ZQEndBulkEntryTransaction(&control_, 2, nullptr, &s), 2);
  EXPECT_TRUE(s.has(9711));
}

// ---- client-managed transactions -------------------------------------------------------

TEST_F(Entries, ClientManagedTransactionCarriesItsHandle) {
  Status s;
  char* handle = nullptr;
  ASSERT_EQ(ZQBeginClientManagedTransaction(&control_, &handle, &s), 0);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(ZQBeginClientManagedTransaction(&control_, nullptr, &s), 2);
  EXPECT_TRUE(s.has(899));

  Status s2;
  const std::string id = create({text(kTitle, "Inside")}, s2);
  EXPECT_EQ(zqserver::lastTransactionHandleSeen(), handle);
  ASSERT_EQ(ZQEndClientManagedTransaction(&control_, ZQ_CMT_ACTION_ROLLBACK, &s2), 0);
  EXPECT_EQ(entryCount(), 0u);  // rolled back

  // The handle is gone: the next call carries none.
  ASSERT_EQ(ping(&control_, s2), 0);
  create({text(kTitle, "Outside")}, s2);
  EXPECT_EQ(zqserver::lastTransactionHandleSeen(), "");
  EXPECT_EQ(entryCount(), 1u);
  ZQFree(handle);

  // Commit keeps the work.
  ASSERT_EQ(ZQBeginClientManagedTransaction(&control_, &handle, &s2), 0);
  create({text(kTitle, "Committed")}, s2);
  ASSERT_EQ(ZQEndClientManagedTransaction(&control_, ZQ_CMT_ACTION_COMMIT, &s2), 0);
  EXPECT_EQ(entryCount(), 2u);
  ZQFree(handle);
}

TEST_F(Entries, AnErrorInsideAClientManagedTransactionDropsIt) {
  Status s;
  char* handle = nullptr;
  ASSERT_EQ(ZQBeginClientManagedTransaction(&control_, &handle, &s), 0);
  create({text(kTitle, "Inside")}, s);
  Ids missing("000000000000099");
  EXPECT_EQ(ZQDeleteEntry(&control_, "Tickets", &missing.list, 0, &s), 2);
  EXPECT_EQ(zq::transport::findOptions(control_.context, control_.server)->transactionHandle, "");
  EXPECT_EQ(entryCount(), 0u);  // the server rolled back
  s.reset();
  create({text(kTitle, "After")}, s);
  EXPECT_EQ(zqserver::lastTransactionHandleSeen(), "");
  EXPECT_EQ(entryCount(), 1u);
  ZQFree(handle);
}

class OldServerEntries : public Entries {
 protected:
  void configure(zqserver::Options& o) override { o.maxVersion = 13; }
};

TEST_F(OldServerEntries, ClientManagedTransactionsNeedVersion14) {
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);  // learns the version
  char* handle = reinterpret_cast<char*>(0x1);
  EXPECT_EQ(ZQBeginClientManagedTransaction(&control_, &handle, &s), 2);
  EXPECT_TRUE(s.has(288));
  EXPECT_EQ(handle, nullptr);
}
