// Wire vectors of the bulk entry transaction (procedure 134): the queued
// operations, each with its kind, its own request header, the form and the
// arguments of its kind, and the per-operation results; written by hand from
// the XDR rules, checked against the encoder and read back member by member.
#include "golden/wire.h"
#include "transport/describe_entries.h"

namespace zqgolden {
namespace {

namespace tr = zq::transport;

class BulkGolden : public GoldenTest {};

TEST_F(BulkGolden, QueuedOperationsOfEveryKind) {
  ZQEntryIdType id = "000000000000004";
  ZQFieldValueStruct value{};
  value.fieldId = 8;
  value.value.dataType = ZQ_DATA_TYPE_CHAR;
  value.value.u.charValue = text("x");
  tr::BulkOperation ops[4] = {};
  for (auto& op : ops) {
    op.form = text("Orders");
    op.values = {1, &value};
  }
  ops[0].kind = ZQ_BULK_ENTRY_CREATE;
  ops[1].kind = ZQ_BULK_ENTRY_SET;
  ops[1].entryId = {1, &id};
  ops[1].getTime = 1262304000;
  ops[1].option = 1;
  ops[2].kind = ZQ_BULK_ENTRY_DELETE;
  ops[2].entryId = {1, &id};
  ops[2].values = {};
  ops[2].option = 2;
  ops[3].kind = ZQ_BULK_ENTRY_MERGE;
  ops[3].option = 4;  // the merge type
  tr::BulkEntryArgs args{};
  args.count = 4;
  args.operations = ops;

  const auto start = [](uint32_t kind) { return Wire().w(kind).then(emptyHeader()).str("Orders"); };
  const Wire values = Wire().w(1).w(8).w(4).str("x");
  const Wire entry = Wire().w(1).name("000000000000004", 16);
  const Wire golden = emptyHeader()
                          .w(4)
                          .then(start(1))
                          .then(values)
                          .then(start(2))
                          .then(entry)
                          .then(values)
                          .w(1262304000)
                          .w(1)
                          .then(start(3))
                          .then(entry)
                          .w(2)
                          .then(start(4))
                          .then(values)
                          .w(4);
  expectEncodes(args, 14, golden);

  tr::BulkEntryArgs back = decodes<tr::BulkEntryArgs>(golden, 14);
  ASSERT_EQ(back.count, 4u);
  for (uint32_t k = 0; k < 4; ++k) {
    EXPECT_EQ(back.operations[k].kind, k + 1);
    EXPECT_STREQ(back.operations[k].form, "Orders");
  }
  const tr::BulkOperation& set = back.operations[1];
  ASSERT_EQ(set.entryId.count, 1u);
  EXPECT_STREQ(set.entryId.items[0], "000000000000004");
  ASSERT_EQ(set.values.count, 1u);
  EXPECT_EQ(set.values.items[0].fieldId, 8u);
  EXPECT_STREQ(set.values.items[0].value.u.charValue, "x");
  EXPECT_EQ(set.getTime, 1262304000);
  EXPECT_EQ(set.option, 1u);
  EXPECT_EQ(back.operations[2].option, 2u);
  EXPECT_EQ(back.operations[2].values.count, 0u);
  EXPECT_EQ(back.operations[3].option, 4u);
  zq::model::release(back);

  ops[3].kind = 8;  // no such kind
  expectRefused(args, 14);
}

TEST_F(BulkGolden, ResultsOfEveryKind) {
  ZQStatusStruct warning{ZQ_MESSAGE_WARNING, 302, text("No such entry"), text("4")};
  ZQBulkEntryReturn results[4] = {};
  results[0].entryCallType = ZQ_BULK_ENTRY_CREATE;
  setName(results[0].u.entry.entryId, "000000000000005");
  results[1].entryCallType = ZQ_BULK_ENTRY_DELETE;
  results[1].u.status = {1, &warning};
  results[2].entryCallType = ZQ_BULK_ENTRY_XML_SET;
  results[2].u.xml.outputDoc = text("<e/>");
  results[3].entryCallType = ZQ_BULK_ENTRY_XML_DELETE;
  tr::BulkEntryReply reply{};
  reply.results = {4, results};
  const Wire golden = emptyHeader()
                          .w(4)
                          .w(1)
                          .name("000000000000005", 16)
                          .w(0)  // the new id, no messages
                          .w(3)
                          .w(1)
                          .w(1)
                          .w(302)
                          .str("No such entry")
                          .str("4")
                          .w(6)
                          .str("<e/>")
                          .w(0)
                          .w(7)
                          .w(0)
                          .w(0);  // the reply's own status list
  expectEncodes(reply, 14, golden);
  tr::BulkEntryReply back = decodes<tr::BulkEntryReply>(golden, 14);
  ASSERT_EQ(back.results.count, 4u);
  const ZQBulkEntryReturn* r = back.results.items;
  EXPECT_EQ(r[0].entryCallType, uint32_t{ZQ_BULK_ENTRY_CREATE});
  EXPECT_STREQ(r[0].u.entry.entryId, "000000000000005");
  EXPECT_EQ(r[0].u.entry.status.count, 0u);
  ASSERT_EQ(r[1].u.status.count, 1u);
  EXPECT_EQ(r[1].u.status.items[0].messageType, uint32_t{ZQ_MESSAGE_WARNING});
  EXPECT_EQ(r[1].u.status.items[0].messageNumber, 302);
  EXPECT_STREQ(r[1].u.status.items[0].message, "No such entry");
  EXPECT_STREQ(r[1].u.status.items[0].appended, "4");
  EXPECT_STREQ(r[2].u.xml.outputDoc, "<e/>");
  EXPECT_EQ(r[2].u.xml.status.count, 0u);
  EXPECT_EQ(r[3].entryCallType, uint32_t{ZQ_BULK_ENTRY_XML_DELETE});
  zq::model::release(back);

  expectUnreadable<ZQBulkEntryReturn>(Wire().w(8), 14);
}

}  // namespace
}  // namespace zqgolden
