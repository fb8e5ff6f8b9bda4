// Wire vectors of the XML entry procedures: the documents travel as plain
// strings behind the request header (119: four, 120: six, 122: five), the
// reply as the output document and the status list; queued XML operations of
// a bulk transaction carry their documents in place of a form name. Written
// by hand from the XDR rules.
#include "golden/wire.h"
#include "transport/describe_entries.h"

namespace zqgolden {
namespace {

namespace tr = zq::transport;

class XmlEntriesGolden : public GoldenTest {};

constexpr const char* kCreate =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<zqxml xmlns=\"urn:zqapi:xml\" version=\"1\"><createEntry><request>"
    "<form>Tickets</form></request></createEntry></zqxml>\n";

TEST_F(XmlEntriesGolden, CreateRequestCarriesFourDocuments) {
  tr::XmlCreateEntryArgs args{};
  args.documents[0] = text("");
  args.documents[1] = text(kCreate);
  args.documents[2] = text("map");
  args.documents[3] = text("");
  const Wire golden = emptyHeader()
                          .w(0)  // the empty first document
                          .str(kCreate)
                          .w(3)
                          .w(0x6d617000)  // "map", padding
                          .w(0);
  expectEncodes(args, 14, golden);
  tr::XmlCreateEntryArgs back = decodes<tr::XmlCreateEntryArgs>(golden, 14);
  EXPECT_STREQ(back.documents[0], "");
  EXPECT_STREQ(back.documents[1], kCreate);
  EXPECT_STREQ(back.documents[2], "map");
  EXPECT_STREQ(back.documents[3], "");
  zq::model::release(back);
}

TEST_F(XmlEntriesGolden, ReplyCarriesTheOutputDocumentThenTheMessages) {
  ZQStatusStruct warning{ZQ_MESSAGE_WARNING, 302, text("No such entry"), text("4")};
  tr::XmlDocumentReply reply{};
  reply.outputDoc = text("<r/>");
  reply.status = {1, &warning};
  const Wire golden = emptyHeader()
                          .w(4)
                          .w(0x3c722f3e)  // "<r/>"
                          .w(1)
                          .w(1)
                          .w(302)
                          .w(13)
                          .w(0x4e6f2073)  // "No s"
                          .w(0x75636820)  // "uch "
                          .w(0x656e7472)  // "entr"
                          .w(0x79000000)  // "y", padding
                          .w(1)
                          .w(0x34000000);  // "4", padding
  expectEncodes(reply, 14, golden);
  tr::XmlDocumentReply back = decodes<tr::XmlDocumentReply>(golden, 14);
  EXPECT_STREQ(back.outputDoc, "<r/>");
  ASSERT_EQ(back.status.count, 1u);
  EXPECT_EQ(back.status.items[0].messageNumber, 302);
  EXPECT_STREQ(back.status.items[0].appended, "4");
  zq::model::release(back);
}

TEST_F(XmlEntriesGolden, DeleteRequestCarriesFiveDocuments) {
  tr::XmlDeleteEntryArgs args{};
  const char* docs[5] = {"a", "bc", "def", "ghij", ""};
  for (int k = 0; k < 5; ++k) args.documents[k] = text(docs[k]);
  const Wire golden = emptyHeader()
                          .w(1)
                          .w(0x61000000)
                          .w(2)
                          .w(0x62630000)
                          .w(3)
                          .w(0x64656600)
                          .w(4)
                          .w(0x6768696a)
                          .w(0);
  expectEncodes(args, 14, golden);
}

TEST_F(XmlEntriesGolden, QueuedXmlOperationsCarryTheirDocuments) {
  tr::BulkOperation ops[3] = {};
  ops[0].kind = ZQ_BULK_ENTRY_XML_CREATE;
  ops[1].kind = ZQ_BULK_ENTRY_XML_SET;
  ops[2].kind = ZQ_BULK_ENTRY_XML_DELETE;
  for (auto& op : ops)
    for (auto& doc : op.documents) doc = text("x");
  tr::BulkEntryArgs args{};
  args.count = 3;
  args.operations = ops;
  auto docs = [](int n) {
    Wire w;
    for (int k = 0; k < n; ++k) w.w(1).w(0x78000000);
    return w;
  };
  const Wire golden = emptyHeader()
                          .w(3)
                          .w(5)
                          .then(emptyHeader())
                          .then(docs(4))
                          .w(6)
                          .then(emptyHeader())
                          .then(docs(6))
                          .w(7)
                          .then(emptyHeader())
                          .then(docs(5));
  expectEncodes(args, 14, golden);
  tr::BulkEntryArgs back = decodes<tr::BulkEntryArgs>(golden, 14);
  ASSERT_EQ(back.count, 3u);
  EXPECT_EQ(back.operations[1].kind, uint32_t{ZQ_BULK_ENTRY_XML_SET});
  EXPECT_STREQ(back.operations[1].documents[5], "x");
  EXPECT_EQ(back.operations[1].form, nullptr);
  EXPECT_EQ(back.operations[2].documents[5], nullptr);  // delete has five
  zq::model::release(back);
}

}  // namespace
}  // namespace zqgolden
