// The XML entry calls against zqserverd on loopback: documents written and
// read with the XML calls of the library, the entry operations run by the
// server on what the documents hold.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "calls/entries.h"
#include "entry_store.h"
#include "frame/context.h"
#include "security/key_material.h"
#include "security/protection.h"
#include "support/field_values.h"
#include "support/server_fixture.h"

using zqtest::Status;

namespace {

constexpr ZQInternalId kTitle = 536870913;
constexpr ZQInternalId kCount = 536870914;

using zqtest::integer;
using zqtest::text;

// A document written by one of the Push calls.
struct Doc : ZQXMLOutputDoc {
  Doc() : ZQXMLOutputDoc{} { docType = ZQ_XML_DOC_CHAR_STR; }
  ~Doc() { FreeZQXMLOutputDoc(this, 0); }
  const char* text() const { return u.charBuffer; }
};

// An output document of an XML entry call.
struct Output {
  char* doc = nullptr;
  ~Output() { ZQFree(doc); }
  ZQXMLInputDoc input() const {
    ZQXMLInputDoc in{};
    in.docType = ZQ_XML_DOC_CHAR_STR;
    in.u.charBuffer = doc;
    return in;
  }
};

struct Ids {
  ZQEntryIdType id{};
  ZQEntryIdList list{1, &id};
  explicit Ids(const char* s) { memcpy(id, s, strnlen(s, sizeof id - 1)); }
};

}  // namespace

class XmlEntries : public zqtest::ServerTest {
 protected:
  void SetUp() override {
    zqtest::ServerTest::SetUp();
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store
                    .createForm("Tickets", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"},
                                            {kCount, ZQ_DATA_TYPE_INTEGER, "Count"}})
                    .ok());
  }

  void createRequest(Doc& doc, const char* title, int32_t count) {
    ZQFieldValueStruct values[2] = {text(kTitle, title), integer(kCount, count)};
    ZQFieldValueList list{2, values};
    Status s;
    ASSERT_EQ(ZQPushCreateEntryToXML(&control_, &doc, ZQ_XML_PART_REQUEST, 0, "Tickets", &list,
                                     nullptr, nullptr, &s),
              0);
  }
  void deleteRequest(Doc& doc, const char* id) {
    Ids ids(id);
    Status s;
    ASSERT_EQ(ZQPushDeleteEntryToXML(&control_, &doc, ZQ_XML_PART_REQUEST, 0, "Tickets", &ids.list,
                                     0, nullptr, &s),
              0);
  }
  // The entry id a create's output document holds.
  std::string createdId(const Output& out) {
    ZQXMLInputDoc in = out.input();
    ZQNameType form{};
    ZQEntryIdType id{};
    Status s, reply;
    EXPECT_EQ(ZQPullCreateEntryFromXML(&control_, &in, form, nullptr, id, &reply, &s), 0);
    return id;
  }
  uint64_t entryCount() {
    uint64_t n = 0;
    zqserver::EntryStore(server_->store()).count("Tickets", n);
    return n;
  }
  uint64_t calls() { return server_->faults().callsReceived.load(); }
};

TEST_F(XmlEntries, CreateGetSetDeleteByDocuments) {
  Status s;
  Doc create;
  createRequest(create, "Printer jams", 3);
  Output created;
  ASSERT_EQ(ZQXMLCreateEntry(&control_, nullptr, create.text(), nullptr, nullptr, &created.doc,
                             s.fresh()),
            0);
  ASSERT_NE(created.doc, nullptr);
  const std::string id = createdId(created);
  EXPECT_EQ(id, "000000000000001");

  Ids ids(id.c_str());
  ZQInternalId wanted[2] = {kCount, kTitle};
  ZQInternalIdList fields{2, wanted};
  Doc get;
  ASSERT_EQ(ZQPushGetEntryToXML(&control_, &get, ZQ_XML_PART_REQUEST, 0, "Tickets", &ids.list,
                                &fields, nullptr, nullptr, s.fresh()),
            0);
  auto title = [&]() -> std::string {
    Output got;
    EXPECT_EQ(ZQXMLGetEntry(&control_, nullptr, get.text(), nullptr, nullptr, &got.doc, s.fresh()),
              0);
    ZQXMLInputDoc in = got.input();
    ZQNameType form{};
    ZQFieldValueList values{};
    Status reply, pulled;
    EXPECT_EQ(
        ZQPullGetEntryFromXML(&control_, &in, form, nullptr, nullptr, &values, &reply, &pulled), 0);
    std::string t;
    if (values.count == 2) {
      EXPECT_EQ(values.items[0].value.u.integerValue, 3);
      t = values.items[1].value.u.charValue;
    }
    FreeZQFieldValueList(&values, 0);
    return t;
  };
  EXPECT_EQ(title(), "Printer jams");

  ZQFieldValueStruct change = text(kTitle, "Printer fixed");
  ZQFieldValueList changes{1, &change};
  Doc set;
  ASSERT_EQ(ZQPushSetEntryToXML(&control_, &set, ZQ_XML_PART_REQUEST, 0, "Tickets", &ids.list,
                                &changes, 0, 0, nullptr, s.fresh()),
            0);
  Output setOut;
  ASSERT_EQ(ZQXMLSetEntry(&control_, nullptr, nullptr, nullptr, set.text(), nullptr, nullptr,
                          &setOut.doc, s.fresh()),
            0);
  EXPECT_NE(setOut.doc, nullptr);
  EXPECT_EQ(title(), "Printer fixed");

  Doc del;
  deleteRequest(del, id.c_str());
  ASSERT_EQ(ZQXMLDeleteEntry(&control_, nullptr, del.text(), nullptr, nullptr, nullptr, s.fresh()),
            0);
  EXPECT_EQ(entryCount(), 0u);

  // A get without an output still runs and brings the server's messages.
  EXPECT_EQ(ZQXMLGetEntry(&control_, nullptr, get.text(), nullptr, nullptr, nullptr, s.fresh()), 2);
  EXPECT_TRUE(s.has(zqserver::kMsgNoSuchEntry));
}

TEST_F(XmlEntries, UnreadableDocumentsAreRefusedWithTheirMessage) {
  Status s;
  struct Case {
    const char* what;
    const char* doc;
  } cases[] = {
      {"not XML", "<unclosed"},
      {"a foreign root", "<?xml version=\"1.0\"?><other/>"},
      {"empty", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Output out;
    EXPECT_EQ(ZQXMLCreateEntry(&control_, nullptr, c.doc, nullptr, nullptr, &out.doc, s.fresh()),
              2);
    EXPECT_TRUE(s.has(zq::kMsgXmlUnreadable));
  }
  EXPECT_EQ(entryCount(), 0u);
}

TEST_F(XmlEntries, QueuedInABulkTransactionWithTheEntryDocumentProtected) {
  Status s;
  Doc first;
  createRequest(first, "Existing", 1);
  Output made;
  ASSERT_EQ(
      ZQXMLCreateEntry(&control_, nullptr, first.text(), nullptr, nullptr, &made.doc, s.fresh()),
      0);
  const std::string existing = createdId(made);

  ASSERT_EQ(ZQBeginBulkEntryTransaction(&control_, s.fresh()), 0);
  const uint64_t before = calls();
  Doc create;
  createRequest(create, "Queued", 2);
  Output none;
  EXPECT_EQ(
      ZQXMLCreateEntry(&control_, "in-map", create.text(), nullptr, "opt", &none.doc, s.fresh()),
      0);
  EXPECT_EQ(none.doc, nullptr);
  Doc del;
  deleteRequest(del, existing.c_str());
  EXPECT_EQ(ZQXMLDeleteEntry(&control_, nullptr, del.text(), nullptr, nullptr, nullptr, s.fresh()),
            0);
  EXPECT_EQ(calls(), before);
  EXPECT_EQ(entryCount(), 1u);

  // The queue holds copies of every document, the entry document protected.
  auto* state = zq::calls::entryState(control_.context);
  ASSERT_NE(state, nullptr);
  ASSERT_EQ(state->queue.size(), 2u);
  const auto& op = state->queue[0];
  EXPECT_EQ(op.kind, uint32_t{ZQ_BULK_ENTRY_XML_CREATE});
  EXPECT_STREQ(op.documents[0], "in-map");
  EXPECT_STREQ(op.documents[2], "");
  EXPECT_STREQ(op.documents[3], "opt");
  ASSERT_NE(op.documents[1], nullptr);
  EXPECT_STRNE(op.documents[1], create.text());
  char* opened = nullptr;
  ASSERT_EQ(zq::security::decryptCharData(1, op.documents[1], zq::security::keys::kDocumentKeyText,
                                          &opened),
            0);
  EXPECT_STREQ(opened, create.text());
  ZQFree(opened);
  EXPECT_EQ(state->queue[1].kind, uint32_t{ZQ_BULK_ENTRY_XML_DELETE});
  EXPECT_STREQ(state->queue[1].documents[1], del.text());  // travels unchanged

  ZQBulkEntryReturnList results{};
  ASSERT_EQ(ZQEndBulkEntryTransaction(&control_, ZQ_BULK_ENTRY_ACTION_SEND, &results, s.fresh()),
            0);
  ASSERT_EQ(results.count, 2u);
  EXPECT_EQ(results.items[0].entryCallType, uint32_t{ZQ_BULK_ENTRY_XML_CREATE});
  Output reply;
  reply.doc = results.items[0].u.xml.outputDoc;
  results.items[0].u.xml.outputDoc = nullptr;
  EXPECT_EQ(createdId(reply), "000000000000002");
  EXPECT_EQ(results.items[1].entryCallType, uint32_t{ZQ_BULK_ENTRY_XML_DELETE});
  EXPECT_EQ(results.items[1].u.status.count, 0u);
  FreeZQBulkEntryReturnList(&results, 0);
  EXPECT_EQ(entryCount(), 1u);  // one created, one deleted
}

TEST_F(XmlEntries, ServiceAnswersWithTheEntryAndTheInputsLaidOverIt) {
  Status s;
  Doc create;
  createRequest(create, "Printer jams", 3);
  Output made;
  ASSERT_EQ(
      ZQXMLCreateEntry(&control_, nullptr, create.text(), nullptr, nullptr, &made.doc, s.fresh()),
      0);
  Ids ids(createdId(made).c_str());
  ZQInternalId wanted[2] = {kCount, kTitle};
  ZQInternalIdList fields{2, wanted};
  Doc query;
  ASSERT_EQ(ZQPushGetEntryToXML(&control_, &query, ZQ_XML_PART_REQUEST, 0, "Tickets", &ids.list,
                                &fields, nullptr, nullptr, s.fresh()),
            0);
  Doc input;
  ZQFieldValueStruct change = text(kTitle, "Serviced");
  ZQFieldValueList changes{1, &change};
  ASSERT_EQ(ZQPushCreateEntryToXML(&control_, &input, ZQ_XML_PART_REQUEST, 0, "Tickets", &changes,
                                   nullptr, nullptr, s.fresh()),
            0);
  Output out;
  ASSERT_EQ(ZQXMLServiceEntry(&control_, nullptr, query.text(), "in-map", input.text(), nullptr,
                              nullptr, &out.doc, s.fresh()),
            0);
  ZQXMLInputDoc in = out.input();
  ZQFieldValueList values{};
  Status reply, pulled;
  ASSERT_EQ(
      ZQPullGetEntryFromXML(&control_, &in, nullptr, nullptr, nullptr, &values, &reply, &pulled),
      0);
  ASSERT_EQ(values.count, 2u);
  EXPECT_EQ(values.items[0].value.u.integerValue, 3);
  EXPECT_STREQ(values.items[1].value.u.charValue, "Serviced");
  FreeZQFieldValueList(&values, 0);
  EXPECT_EQ(entryCount(), 1u);
}

// A client working in Latin-9: its entry document reaches the server in the
// server's character set, and the output comes back in Latin-9, declared so.
TEST_F(XmlEntries, DocumentsAreConvertedBetweenCharacterSets) {
  strcpy(control_.charSet, "ISO-8859-15");
  const std::string doc =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?>\n"
      "<document xmlns=\"urn:zqapi:xml\" version=\"1\"><createEntry><request>"
      "<form>Tickets</form><values><items><item><fieldId>536870913</fieldId><value><dataType>" +
      std::to_string(ZQ_DATA_TYPE_CHAR) +
      "</dataType><charValue>Caf\xe9</charValue></value></item></items></values></request>"
      "</createEntry></document>\n";
  Status s;
  Output made;
  ASSERT_EQ(
      ZQXMLCreateEntry(&control_, nullptr, doc.c_str(), nullptr, nullptr, &made.doc, s.fresh()), 0);
  ZQFieldValueList stored{};
  ASSERT_TRUE(zqserver::EntryStore(server_->store())
                  .get("Tickets", "000000000000001", nullptr, stored)
                  .ok());
  bool found = false;
  for (uint32_t i = 0; i < stored.count; ++i)
    if (stored.items[i].fieldId == kTitle) {
      found = true;
      EXPECT_STREQ(stored.items[i].value.u.charValue, "Caf\xc3\xa9");
    }
  EXPECT_TRUE(found);
  FreeZQFieldValueList(&stored, 0);

  Ids ids("000000000000001");
  ZQInternalId wanted = kTitle;
  ZQInternalIdList fields{1, &wanted};
  Doc get;
  ASSERT_EQ(ZQPushGetEntryToXML(&control_, &get, ZQ_XML_PART_REQUEST, 0, "Tickets", &ids.list,
                                &fields, nullptr, nullptr, s.fresh()),
            0);
  Output got;
  ASSERT_EQ(ZQXMLGetEntry(&control_, nullptr, get.text(), nullptr, nullptr, &got.doc, s.fresh()),
            0);
  ASSERT_NE(got.doc, nullptr);
  const std::string text = got.doc;
  EXPECT_NE(text.find("Caf\xe9<"), std::string::npos) << text;
  EXPECT_EQ(text.find("\xc3\xa9"), std::string::npos);
  EXPECT_NE(text.find("encoding=\"ISO-8859-15\""), std::string::npos) << text.substr(0, 60);
}
