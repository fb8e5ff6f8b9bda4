// Older servers end to end: the result-translation switch of procedure 73
// (structured chunks from version 9 and below, the entry list text from 10
// on), and servers that misbehave about their version: one that answers in
// another version's layout, one that drops to an older version between calls,
// one that accepts no version at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "entry_store.h"
#include "store.h"
#include "support/server_fixture.h"
#include "zqapi/zqapi.h"

using zqtest::Status;

namespace {

constexpr ZQInternalId kNumber = 536870913;

ZQFieldValueStruct charField(ZQInternalId id, const char* text) {
  ZQFieldValueStruct f{};
  f.fieldId = id;
  f.value.dataType = ZQ_DATA_TYPE_CHAR;
  f.value.u.charValue = const_cast<char*>(text);
  return f;
}

// Letters that compress poorly, so that the compressed text takes several
// chunks as well.
std::string longText(int seed, size_t length) {
  std::string s;
  uint32_t x = 2654435761u * static_cast<uint32_t>(seed + 1);
  for (size_t i = 0; i < length; ++i) {
    x = x * 1103515245u + 12345u;
    s += static_cast<char>('a' + (x >> 16) % 26);
  }
  return s;
}

std::string show(const Status& s) {
  std::string out;
  for (auto [type, number] : s.entries()) out += " " + std::to_string(number);
  return out;
}

struct FieldValueEntries : ZQEntryListFieldValueList {
  FieldValueEntries() : ZQEntryListFieldValueList{0, nullptr} {}
  ~FieldValueEntries() { FreeZQEntryListFieldValueList(this, 0); }
};

std::string textOf(const ZQFieldValueList* values, ZQInternalId id) {
  for (uint32_t i = 0; values && i < values->count; ++i)
    if (values->items[i].fieldId == id && values->items[i].value.dataType == ZQ_DATA_TYPE_CHAR)
      return values->items[i].value.u.charValue ? values->items[i].value.u.charValue : "";
  return "<none>";
}

class VersionFaults : public zqtest::ServerTest {
 protected:
  int maxVersion_ = 14;
  void configure(zqserver::Options& o) override { o.maxVersion = maxVersion_; }

  // Form "L": entries whose texts are longer than one reply, so that the
  // server cuts values between chunks.
  void fill(int count, size_t length) {
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store
                    .createForm("L", {{8, ZQ_DATA_TYPE_CHAR, "Text"},
                                      {kNumber, ZQ_DATA_TYPE_INTEGER, "Number"}})
                    .ok());
    ASSERT_TRUE(store.begin());
    for (int i = 0; i < count; ++i) {
      texts_.push_back(longText(i, length + i * 41));
      ZQFieldValueStruct items[2] = {charField(8, texts_.back().c_str()), {}};
      items[1].fieldId = kNumber;
      items[1].value.dataType = ZQ_DATA_TYPE_INTEGER;
      items[1].value.u.integerValue = i;
      ZQFieldValueList values{2, items};
      std::string id;
      ASSERT_TRUE(store.create("L", values, "Demo", id).ok());
      ids_.push_back(id);
    }
    ASSERT_TRUE(store.commit());
    ZQValueStruct size{};
    size.dataType = ZQ_DATA_TYPE_INTEGER;
    size.u.integerValue = 4096;  // several chunks
    Status s;
    ASSERT_EQ(ZQSetSessionVariable(&control_, ZQ_SESSVAR_RESPONSE_SIZE, &size, &s), 0);
  }

  int query(FieldValueEntries& out, uint32_t& matches, Status& s) {
    ZQEntryListFieldStruct columns[2] = {{kNumber, 10, " "}, {8, 20, ""}};
    ZQEntryListFieldList fields{2, columns};
    s.reset();
    return ZQGetListEntryWithFields(&control_, "L", nullptr, &fields, nullptr, 0, 0, 0, &out,
                                    &matches, &s);
  }

  void expectWhole(const FieldValueEntries& out, uint32_t matches) {
    EXPECT_EQ(matches, ids_.size());
    ASSERT_EQ(out.count, ids_.size());
    for (uint32_t i = 0; i < out.count; ++i) {
      EXPECT_EQ(std::string(out.items[i].entryId.items[0]), ids_[i]);
      EXPECT_EQ(textOf(out.items[i].fieldValues, 8), texts_[i]) << i;
    }
  }

  std::vector<std::string> texts_, ids_;
};

// The same query at both sides of the switch: the version-9 server answers
// in structured chunks (entries cut between them), the version-10 server
// with the compressed text; the caller sees the same result.
class SwitchByVersion : public VersionFaults, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    maxVersion_ = GetParam();
    VersionFaults::SetUp();
  }
};

TEST_P(SwitchByVersion, ListEntryWithFieldsReturnsTheWholeResult) {
  fill(9, 2500);
  FieldValueEntries out;
  uint32_t matches = 0;
  Status s;
  const uint64_t before = server_->faults().callsReceived;
  ASSERT_EQ(query(out, matches, s), 0);
  EXPECT_EQ(server_->faults().lastVersion, static_cast<uint32_t>(GetParam()));
  EXPECT_GT(server_->faults().callsReceived - before, 2u);  // in several chunks
  expectWhole(out, matches);
  // A second query on the same context starts from a clear switch.
  FieldValueEntries again;
  ASSERT_EQ(query(again, matches, s), 0);
  expectWhole(again, matches);
}

INSTANTIATE_TEST_SUITE_P(Versions, SwitchByVersion, ::testing::Values(9, 10),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "V" + std::to_string(info.param);
                         });

// A reply in a layout other than the version the call was made with never
// reaches the caller: the call fails, its outputs stay empty.
TEST_F(VersionFaults, ReplyInAnotherVersionsLayoutFailsTheCall) {
  struct Case {
    const char* name;
    int serverVersion;
    uint32_t layout;
    int goodCalls;  // chunks answered as claimed before the lie
  };
  const Case cases[] = {
      {"14 answering as 11 from the first reply", 14, 11, 0},
      {"14 answering as 9 from the first reply", 14, 9, 0},
      {"10 answering as 9 from the second chunk", 10, 9, 1},
      {"9 answering as 10 from the second chunk", 9, 10, 1},
  };
  fill(9, 2500);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    server_->faults().highestVersion = static_cast<uint32_t>(c.serverVersion);
    Status s;
    ASSERT_EQ(ping(&control_, s), 0);  // the client settles on the version
    ASSERT_EQ(server_->faults().lastVersion, static_cast<uint32_t>(c.serverVersion));
    server_->faults().answerLayoutAfter = c.goodCalls;
    server_->faults().answerLayout = c.layout;
    FieldValueEntries out;
    uint32_t matches = 7;
    EXPECT_EQ(query(out, matches, s), 2);
    EXPECT_EQ(out.count, 0u);
    EXPECT_EQ(out.items, nullptr);
    EXPECT_EQ(matches, 0u);
    EXPECT_TRUE(s.has(91) || s.has(160) || s.has(9009)) << show(s);
    // Once the server answers as it claims, the same context works again.
    server_->faults().answerLayout = 0;
    FieldValueEntries good;
    ASSERT_EQ(query(good, matches, s), 0) << show(s);
    expectWhole(good, matches);
    server_->faults().highestVersion = 0;
  }
}

// A server replaced by an older one between two calls: the next call steps
// down and works (from 14 to 9 the reply form of procedure 73 changes too).
TEST_F(VersionFaults, ServerDroppingToAnOlderVersionBetweenCalls) {
  fill(6, 2500);
  FieldValueEntries first;
  uint32_t matches = 0;
  Status s;
  ASSERT_EQ(query(first, matches, s), 0);
  EXPECT_EQ(server_->faults().lastVersion, 14u);
  expectWhole(first, matches);
  server_->faults().highestVersion = 9;
  FieldValueEntries second;
  ASSERT_EQ(query(second, matches, s), 0) << show(s);
  EXPECT_EQ(server_->faults().lastVersion, 9u);
  expectWhole(second, matches);
}

// A server that accepts no version: the step-down tries each version once,
// newest to oldest, and gives up; the next call starts again from 14.
TEST_F(VersionFaults, StepDownEndsAfterTheOldestVersion) {
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);
  server_->faults().highestVersion = 1;
  const uint64_t before = server_->faults().callsReceived;
  EXPECT_EQ(ping(&control_, s), 2);
  EXPECT_TRUE(s.has(90)) << show(s);
  EXPECT_EQ(server_->faults().callsReceived - before, 8u);  // versions 14 down to 7
  EXPECT_EQ(server_->faults().lastVersion, 7u);
  server_->faults().highestVersion = 0;
  ASSERT_EQ(ping(&control_, s), 0) << show(s);
  EXPECT_EQ(server_->faults().lastVersion, 14u);
}

}  // namespace
