// Wire vectors of query results, statistics and server settings, alone and in
// their reply records, written by hand from the XDR rules, checked against
// the encoder and read back member by member.
#include "golden/wire.h"
#include "transport/describe_queries.h"
#include "transport/describe_records.h"

namespace zqgolden {
namespace {

namespace tr = zq::transport;

class ResultsGolden : public GoldenTest {};

// Entry ids of 16 bytes, then the short description (at most 129 bytes in
// version 7, 255 from 8); the reply adds the number of matches and the status.
TEST_F(ResultsGolden, EntryListReply) {
  ZQEntryIdType ids[2] = {"000000000000001", "000000000000002"};
  ZQEntryListStruct hits[2] = {};
  hits[0].entryId = {1, &ids[0]};
  hits[0].shortDescription = text("First");
  hits[1].entryId = {2, ids};  // one entry named by two ids (a join)
  hits[1].shortDescription = nullptr;
  tr::ListEntryReply reply{};
  reply.entries = {2, hits};
  reply.matches = 40;
  const Wire entries = Wire()
                           .w(2)
                           .w(1)
                           .name("000000000000001", 16)
                           .str("First")
                           .w(2)
                           .name("000000000000001", 16)
                           .name("000000000000002", 16)
                           .str("");
  const Wire golden = emptyHeader().then(entries).w(40).w(0);
  expectEncodes(reply, 14, golden);
  tr::ListEntryReply back = decodes<tr::ListEntryReply>(golden, 14);
  ASSERT_EQ(back.entries.count, 2u);
  EXPECT_STREQ(back.entries.items[0].shortDescription, "First");
  ASSERT_EQ(back.entries.items[1].entryId.count, 2u);
  EXPECT_STREQ(back.entries.items[1].entryId.items[1], "000000000000002");
  EXPECT_EQ(back.matches, 40u);
  EXPECT_EQ(back.status.count, 0u);
  zq::model::release(back);

  ZQEntryListList list = reply.entries;
  expectEncodes(list, 7, entries);
}

// Each hit: its ids, then its values through a pointer (absent: 0).
TEST_F(ResultsGolden, EntriesWithFieldValues) {
  ZQEntryIdType id = "000000000000009";
  ZQFieldValueStruct values[2] = {};
  values[0].fieldId = 8;
  values[0].value.dataType = ZQ_DATA_TYPE_CHAR;
  values[0].value.u.charValue = text("abc");
  values[1].fieldId = 7;
  values[1].value.dataType = ZQ_DATA_TYPE_ENUM;
  values[1].value.u.enumValue = 2;
  ZQFieldValueList fields{2, values};
  ZQEntryListFieldValueStruct hits[2] = {};
  hits[0].entryId = {1, &id};
  hits[0].fieldValues = &fields;
  hits[1].entryId = {1, &id};
  hits[1].fieldValues = nullptr;
  tr::OneEntryReply reply{};
  reply.entries = {2, hits};
  reply.matches = 1;
  const Wire golden = emptyHeader()
                          .w(2)
                          .w(1)
                          .name("000000000000009", 16)
                          .w(1)  // values present
                          .w(2)
                          .w(8)
                          .w(4)
                          .str("abc")
                          .w(7)
                          .w(6)
                          .w(2)
                          .w(1)
                          .name("000000000000009", 16)
                          .w(0)  // no values
                          .w(1)
                          .w(0);
  expectEncodes(reply, 14, golden);
  tr::OneEntryReply back = decodes<tr::OneEntryReply>(golden, 14);
  ASSERT_EQ(back.entries.count, 2u);
  ASSERT_NE(back.entries.items[0].fieldValues, nullptr);
  const ZQFieldValueList& got = *back.entries.items[0].fieldValues;
  ASSERT_EQ(got.count, 2u);
  EXPECT_EQ(got.items[0].fieldId, 8u);
  EXPECT_STREQ(got.items[0].value.u.charValue, "abc");
  EXPECT_EQ(got.items[1].value.dataType, uint32_t{ZQ_DATA_TYPE_ENUM});
  EXPECT_EQ(got.items[1].value.u.enumValue, 2u);
  EXPECT_EQ(back.entries.items[1].fieldValues, nullptr);
  EXPECT_EQ(back.matches, 1u);
  zq::model::release(back);
}

// Each result: the group-by values, then the statistic.
TEST_F(ResultsGolden, StatisticsReply) {
  ZQValueStruct group{};
  group.dataType = ZQ_DATA_TYPE_CHAR;
  group.u.charValue = text("Open");
  ZQStatisticsResultStruct results[2] = {};
  results[0].groupByValues = {1, &group};
  results[0].result.dataType = ZQ_DATA_TYPE_INTEGER;
  results[0].result.u.integerValue = 12;
  results[1].result.dataType = ZQ_DATA_TYPE_REAL;
  results[1].result.u.realValue = 0.5;
  tr::StatisticsReply reply{};
  reply.results = {2, results};
  const Wire golden =
      emptyHeader().w(2).w(1).w(4).str("Open").w(2).w(12).w(0).w(3).w(0x3FE00000).w(0).w(0);
  expectEncodes(reply, 14, golden);
  tr::StatisticsReply back = decodes<tr::StatisticsReply>(golden, 14);
  ASSERT_EQ(back.results.count, 2u);
  ASSERT_EQ(back.results.items[0].groupByValues.count, 1u);
  EXPECT_STREQ(back.results.items[0].groupByValues.items[0].u.charValue, "Open");
  EXPECT_EQ(back.results.items[0].result.u.integerValue, 12);
  EXPECT_EQ(back.results.items[1].groupByValues.count, 0u);
  EXPECT_EQ(back.results.items[1].result.u.realValue, 0.5);
  zq::model::release(back);
}

// Setting numbers go out; the reply pairs each number with its value.
TEST_F(ResultsGolden, ServerSettingsRequestAndReply) {
  uint32_t wanted[] = {6, 31};
  tr::ServerInfoArgs args{};
  args.settings = {2, wanted};
  expectEncodes(args, 14, emptyHeader().w(2).w(6).w(31));

  ZQServerInfoStruct settings[2] = {};
  settings[0].operation = 6;
  settings[0].value.dataType = ZQ_DATA_TYPE_CHAR;
  settings[0].value.u.charValue = text("7.5.00");
  settings[1].operation = 31;
  settings[1].value.dataType = ZQ_DATA_TYPE_INTEGER;
  settings[1].value.u.integerValue = 1;
  tr::ServerInfoReply reply{};
  reply.settings = {2, settings};
  ZQStatusStruct note{ZQ_MESSAGE_NOTE, 8914, text("log"), nullptr};
  reply.status = {1, &note};
  const Wire golden =
      emptyHeader().w(2).w(6).w(4).str("7.5.00").w(31).w(2).w(1).w(1).w(0).w(8914).str("log").str(
          "");
  expectEncodes(reply, 14, golden);
  tr::ServerInfoReply back = decodes<tr::ServerInfoReply>(golden, 14);
  ASSERT_EQ(back.settings.count, 2u);
  EXPECT_EQ(back.settings.items[0].operation, 6u);
  EXPECT_STREQ(back.settings.items[0].value.u.charValue, "7.5.00");
  EXPECT_EQ(back.settings.items[1].operation, 31u);
  EXPECT_EQ(back.settings.items[1].value.u.integerValue, 1);
  ASSERT_EQ(back.status.count, 1u);
  EXPECT_EQ(back.status.items[0].messageNumber, 8914);
  EXPECT_STREQ(back.status.items[0].message, "log");
  zq::model::release(back);

  ZQServerInfoRequestList request{2, wanted};
  expectEncodes(request, 7, Wire().w(2).w(6).w(31));
}

}  // namespace
}  // namespace zqgolden
