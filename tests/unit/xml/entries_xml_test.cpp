// Entry requests and replies through libzqxmlutil: round trips checked member
// by member, documents valid against docs/zqxml.xsd, a golden document
// written by hand, and refused input that leaves the caller's outputs alone.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include <cstring>
#include <string>

#include "frame/frame.h"
#include "support/xml_schema.h"
#include "zqapi/zqapi.h"

namespace {

ZQValueStruct charValue(const char* s) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_CHAR;
  v.u.charValue = zq::dupString(s);
  return v;
}

// Values of several kinds, with text that needs escaping.
ZQFieldValueList sampleValues() {
  ZQFieldValueList l{};
  l.count = 6;
  l.items = static_cast<ZQFieldValueStruct*>(zq::allocZeroed(l.count, sizeof *l.items));
  l.items[0] = {8, charValue("Printer on fire & <smoke> \"now\"")};
  l.items[1].fieldId = 7;
  l.items[1].value.dataType = ZQ_DATA_TYPE_ENUM;
  l.items[1].value.u.enumValue = 2;
  l.items[2].fieldId = 3;
  l.items[2].value.dataType = ZQ_DATA_TYPE_INTEGER;
  l.items[2].value.u.integerValue = -5;
  l.items[3].fieldId = 9;
  l.items[3].value.dataType = ZQ_DATA_TYPE_REAL;
  l.items[3].value.u.realValue = 0.1;
  l.items[4].fieldId = 10;  // the null value
  l.items[5].fieldId = 11;
  l.items[5].value.dataType = ZQ_DATA_TYPE_BYTES;
  auto* bytes = static_cast<ZQByteList*>(zq::allocZeroed(1, sizeof(ZQByteList)));
  bytes->type = 1;
  bytes->count = 3;
  bytes->bytes = static_cast<unsigned char*>(zq::alloc(3));
  memcpy(bytes->bytes, "\x00\xff\x10", 3);
  l.items[5].value.u.byteListValue = bytes;
  return l;
}

void expectSameValues(const ZQFieldValueList& a, const ZQFieldValueList& b) {
  ASSERT_EQ(a.count, b.count);
  for (uint32_t i = 0; i < a.count; ++i) {
    SCOPED_TRACE(i);
    const ZQValueStruct& x = a.items[i].value;
    const ZQValueStruct& y = b.items[i].value;
    EXPECT_EQ(a.items[i].fieldId, b.items[i].fieldId);
    ASSERT_EQ(x.dataType, y.dataType);
    switch (x.dataType) {
      case ZQ_DATA_TYPE_CHAR:
        EXPECT_STREQ(x.u.charValue, y.u.charValue);
        break;
      case ZQ_DATA_TYPE_ENUM:
        EXPECT_EQ(x.u.enumValue, y.u.enumValue);
        break;
      case ZQ_DATA_TYPE_INTEGER:
        EXPECT_EQ(x.u.integerValue, y.u.integerValue);
        break;
      case ZQ_DATA_TYPE_REAL:
        EXPECT_EQ(x.u.realValue, y.u.realValue);  // exactly: 17 digits
        break;
      case ZQ_DATA_TYPE_BYTES:
        ASSERT_NE(y.u.byteListValue, nullptr);
        EXPECT_EQ(x.u.byteListValue->type, y.u.byteListValue->type);
        ASSERT_EQ(x.u.byteListValue->count, y.u.byteListValue->count);
        EXPECT_EQ(
            memcmp(x.u.byteListValue->bytes, y.u.byteListValue->bytes, x.u.byteListValue->count),
            0);
        break;
      default:
        break;
    }
  }
}

ZQEntryIdList entryIds(const char* id) {
  ZQEntryIdList l{};
  l.count = 1;
  l.items = static_cast<ZQEntryIdType*>(zq::allocZeroed(1, sizeof(ZQEntryIdType)));
  strcpy(l.items[0], id);
  return l;
}

ZQStatusList serverMessages() {
  ZQStatusList s{};
  zq::addWarning(&s, 4201, nullptr);
  return s;
}

class XmlEntries : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_LT(ZQInitialization(&control_, &status_), 2);
    FreeZQStatusList(&status_, 0);
  }
  void TearDown() override {
    FreeZQXMLOutputDoc(&out_, 0);
    FreeZQStatusList(&status_, 0);
    ZQTermination(&control_, &status_);
    FreeZQStatusList(&status_, 0);
  }
  ZQXMLInputDoc input() {
    ZQXMLInputDoc in{};
    in.docType = ZQ_XML_DOC_CHAR_STR;
    in.u.charBuffer = out_.u.charBuffer;
    return in;
  }

  ZQControlStruct control_{};
  ZQStatusList status_{};
  ZQXMLOutputDoc out_{};
};

TEST_F(XmlEntries, CreateRoundTripsThroughAValidDocument) {
  ZQFieldValueList values = sampleValues();
  ZQStatusList messages = serverMessages();
  ASSERT_EQ(ZQPushCreateEntryToXML(&control_, &out_, ZQ_XML_PART_BOTH, 0, "HelpDesk", &values,
                                   "000000000000042", &messages, &status_),
            0)
      << (status_.count ? status_.items[0].appended : "");
  ASSERT_NE(out_.u.charBuffer, nullptr);
  EXPECT_EQ(strncmp(out_.u.charBuffer, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 38), 0);
  EXPECT_TRUE(zqtest::validAgainstXmlSchema(out_.u.charBuffer)) << out_.u.charBuffer;

  ZQXMLInputDoc in = input();
  ZQNameType form = {};
  ZQFieldValueList back{};
  ZQEntryIdType id = {};
  ZQStatusList backMessages{};
  ASSERT_EQ(ZQPullCreateEntryFromXML(&control_, &in, form, &back, id, &backMessages, &status_), 0);
  EXPECT_STREQ(form, "HelpDesk");
  EXPECT_STREQ(id, "000000000000042");
  expectSameValues(values, back);
  ASSERT_EQ(backMessages.count, 1u);
  EXPECT_EQ(backMessages.items[0].messageType, uint32_t{ZQ_MESSAGE_WARNING});
  EXPECT_EQ(backMessages.items[0].messageNumber, 4201);
  EXPECT_STREQ(backMessages.items[0].message, messages.items[0].message);
  EXPECT_EQ(backMessages.items[0].appended, nullptr);

  FreeZQFieldValueList(&values, 0);
  FreeZQFieldValueList(&back, 0);
  FreeZQStatusList(&messages, 0);
  FreeZQStatusList(&backMessages, 0);
}

TEST_F(XmlEntries, SetDeleteGetAndMergeRoundTrip) {
  ZQFieldValueList values = sampleValues();
  ZQEntryIdList ids = entryIds("000000000000007");
  ZQInternalIdList fields{};
  ZQInternalId fieldIds[] = {1, 8, 536870913u};
  fields.count = 3;
  fields.items = fieldIds;
  ZQXMLInputDoc in{};

  // set: the request only
  ASSERT_EQ(ZQPushSetEntryToXML(&control_, &out_, ZQ_XML_PART_REQUEST, 0, "HelpDesk", &ids, &values,
                                -17, 2, nullptr, &status_),
            0);
  EXPECT_TRUE(zqtest::validAgainstXmlSchema(out_.u.charBuffer)) << out_.u.charBuffer;
  {
    in = input();
    ZQEntryIdList backIds{};
    ZQFieldValueList back{};
    ZQTimestamp getTime = 0;
    uint32_t option = 0;
    ZQStatusList none{};
    ASSERT_EQ(ZQPullSetEntryFromXML(&control_, &in, nullptr, &backIds, &back, &getTime, &option,
                                    &none, &status_),
              0);
    ASSERT_EQ(backIds.count, 1u);
    EXPECT_STREQ(backIds.items[0], "000000000000007");
    expectSameValues(values, back);
    EXPECT_EQ(getTime, -17);
    EXPECT_EQ(option, 2u);
    EXPECT_EQ(none.count, 0u);  // no reply in the document
    FreeZQEntryIdList(&backIds, 0);
    FreeZQFieldValueList(&back, 0);
  }

  // delete
  ASSERT_EQ(ZQPushDeleteEntryToXML(&control_, &out_, ZQ_XML_PART_BOTH, 0, "HelpDesk", &ids, 1,
                                   nullptr, &status_),
            0);
  EXPECT_TRUE(zqtest::validAgainstXmlSchema(out_.u.charBuffer)) << out_.u.charBuffer;
  {
    in = input();
    ZQNameType form = {};
    uint32_t option = 0;
    ASSERT_EQ(ZQPullDeleteEntryFromXML(&control_, &in, form, nullptr, &option, nullptr, &status_),
              0);
    EXPECT_STREQ(form, "HelpDesk");
    EXPECT_EQ(option, 1u);
  }

  // get: field ids in the request, values in the reply
  ASSERT_EQ(ZQPushGetEntryToXML(&control_, &out_, ZQ_XML_PART_BOTH, 0, "HelpDesk", &ids, &fields,
                                &values, nullptr, &status_),
            0);
  EXPECT_TRUE(zqtest::validAgainstXmlSchema(out_.u.charBuffer)) << out_.u.charBuffer;
  {
    in = input();
    ZQInternalIdList backFields{};
    ZQFieldValueList back{};
    ASSERT_EQ(ZQPullGetEntryFromXML(&control_, &in, nullptr, nullptr, &backFields, &back, nullptr,
                                    &status_),
              0);
    ASSERT_EQ(backFields.count, 3u);
    EXPECT_EQ(backFields.items[2], 536870913u);
    expectSameValues(values, back);
    FreeZQInternalIdList(&backFields, 0);
    FreeZQFieldValueList(&back, 0);
  }

  // merge
  ASSERT_EQ(ZQPushMergeEntryToXML(&control_, &out_, ZQ_XML_PART_REQUEST, 0, "HelpDesk", &values,
                                  ZQ_MERGE_DUP_OVERWRITE, nullptr, nullptr, &status_),
            0);
  EXPECT_TRUE(zqtest::validAgainstXmlSchema(out_.u.charBuffer)) << out_.u.charBuffer;
  {
    in = input();
    uint32_t mergeType = 0;
    ASSERT_EQ(ZQPullMergeEntryFromXML(&control_, &in, nullptr, nullptr, &mergeType, nullptr,
                                      nullptr, &status_),
              0);
    EXPECT_EQ(mergeType, uint32_t{ZQ_MERGE_DUP_OVERWRITE});
  }

  // A document of another call is not read as this one.
  in = input();
  EXPECT_EQ(ZQPullCreateEntryFromXML(&control_, &in, nullptr, nullptr, nullptr, nullptr, &status_),
            ZQ_RETURN_ERROR);
  FreeZQFieldValueList(&values, 0);
  FreeZQEntryIdList(&ids, 0);
}

// Written by hand from the format's rules (docs/zqxml.xsd).
const char kGoldenCreate[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<document xmlns=\"urn:zqapi:xml\" version=\"1\">\n"
    "  <createEntry>\n"
    "    <request>\n"
    "      <form>Help &amp; Desk</form>\n"
    "      <values>\n"
    "        <items>\n"
    "          <item>\n"
    "            <fieldId>8</fieldId>\n"
    "            <value>\n"
    "              <dataType>4</dataType>\n"
    "              <charValue>a &lt;b&gt;</charValue>\n"
    "            </value>\n"
    "          </item>\n"
    "          <item>\n"
    "            <fieldId>3</fieldId>\n"
    "            <value>\n"
    "              <dataType>2</dataType>\n"
    "              <integerValue>-5</integerValue>\n"
    "            </value>\n"
    "          </item>\n"
    "        </items>\n"
    "      </values>\n"
    "    </request>\n"
    "  </createEntry>\n"
    "</document>\n";

TEST_F(XmlEntries, GoldenDocumentIsWrittenAndReadAsTheRulesSay) {
  ASSERT_TRUE(zqtest::validAgainstXmlSchema(kGoldenCreate));
  ZQFieldValueList values{};
  values.count = 2;
  values.items = static_cast<ZQFieldValueStruct*>(zq::allocZeroed(2, sizeof *values.items));
  values.items[0] = {8, charValue("a <b>")};
  values.items[1].fieldId = 3;
  values.items[1].value.dataType = ZQ_DATA_TYPE_INTEGER;
  values.items[1].value.u.integerValue = -5;

  ASSERT_EQ(ZQPushCreateEntryToXML(&control_, &out_, ZQ_XML_PART_REQUEST, 0, "Help & Desk", &values,
                                   nullptr, nullptr, &status_),
            0);
  EXPECT_STREQ(out_.u.charBuffer, kGoldenCreate);

  ZQXMLInputDoc in{ZQ_XML_DOC_CHAR_STR, {const_cast<char*>(kGoldenCreate)}};
  ZQNameType form = {};
  ZQFieldValueList back{};
  ASSERT_EQ(ZQPullCreateEntryFromXML(&control_, &in, form, &back, nullptr, nullptr, &status_), 0);
  EXPECT_STREQ(form, "Help & Desk");
  expectSameValues(values, back);
  FreeZQFieldValueList(&values, 0);
  FreeZQFieldValueList(&back, 0);
}

std::string nested(int depth) {
  std::string s = "<?xml version=\"1.0\"?><document xmlns=\"urn:zqapi:xml\" version=\"1\">";
  for (int i = 0; i < depth; ++i) s += "<a>";
  for (int i = 0; i < depth; ++i) s += "</a>";
  return s + "</document>";
}

TEST_F(XmlEntries, BadDocumentsAreRefusedAndLeaveTheOutputsAlone) {
  const std::string laughs =
      "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\">"
      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>"
      "<document xmlns=\"urn:zqapi:xml\" version=\"1\"><createEntry><request><form>&c;</form>"
      "<values><items/></values></request></createEntry></document>";
  const std::string external =
      "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
      "<document xmlns=\"urn:zqapi:xml\" version=\"1\"><createEntry><request><form>&x;</form>"
      "<values><items/></values></request></createEntry></document>";
  std::string truncated = kGoldenCreate;
  truncated.resize(truncated.size() / 2);
  std::string wrongVersion = kGoldenCreate;
  wrongVersion.replace(wrongVersion.find("version=\"1\""), 11, "version=\"9\"");
  std::string wrongNamespace = kGoldenCreate;
  wrongNamespace.replace(wrongNamespace.find("urn:zqapi:xml"), 13, "urn:other:xml");
  std::string badNumber = kGoldenCreate;
  badNumber.replace(badNumber.find("-5"), 2, "5x");
  std::string missingMember = kGoldenCreate;
  missingMember.erase(missingMember.find("<fieldId>3</fieldId>"), 20);

  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"malformed", "<document xmlns=\"urn:zqapi:xml\" version=\"1\"><createEntry>"},
      {"truncated", truncated},
      {"entity expansion", laughs},
      {"external entity", external},
      {"deep nesting", nested(100000)},
      {"wrong version", wrongVersion},
      {"wrong namespace", wrongNamespace},
      {"bad number", badNumber},
      {"missing member", missingMember},
      {"empty", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ZQXMLInputDoc in{ZQ_XML_DOC_CHAR_STR, {const_cast<char*>(c.text.c_str())}};
    ZQNameType form = "untouched";
    ZQFieldValueList values{};
    ZQStatusList status{};
    EXPECT_EQ(ZQPullCreateEntryFromXML(&control_, &in, form, &values, nullptr, nullptr, &status),
              ZQ_RETURN_ERROR);
    ASSERT_GE(status.count, 1u);
    EXPECT_EQ(status.items[0].messageNumber, zq::kMsgXmlUnreadable);
    EXPECT_STREQ(form, "untouched");
    EXPECT_EQ(values.count, 0u);
    EXPECT_EQ(values.items, nullptr);
    FreeZQStatusList(&status, 0);
  }
}

TEST_F(XmlEntries, DocumentOfObjectsHasDeclarationNamespaceAndVersion) {
  ASSERT_EQ(ZQSetDocHeaderToXML(&control_, &out_, &status_), 0);
  ASSERT_EQ(ZQSetDocFooterToXML(&control_, &out_, &status_), 0);
  EXPECT_STREQ(out_.u.charBuffer,
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<document xmlns=\"urn:zqapi:xml\" version=\"1\"/>\n");
  EXPECT_TRUE(zqtest::validAgainstXmlSchema(out_.u.charBuffer));

  ZQXMLInputDoc in = input();
  ZQXMLParsedStream parsed{};
  ZQStructItemList objects{};
  ASSERT_EQ(ZQParseXMLDocument(&control_, &in, nullptr, &parsed, nullptr, nullptr, &status_), 0);
  EXPECT_EQ(ZQGetListXMLObjects(&control_, &parsed, &objects, &status_), 0);
  EXPECT_EQ(objects.count, 0u);
  EXPECT_EQ(FreeZQXMLParsedStream(&parsed, 0), 0);
  EXPECT_EQ(parsed.state, nullptr);
}

}  // namespace

// The query calls' forms: structures written by their own descriptions
// (the qualifier's printed labels become element names), read back member by
// member from a document valid against the schema.
TEST_F(XmlEntries, QueryFormsRoundTrip) {
  ZQQualifierStruct inner{};
  ZQQualifierStruct notQual{};
  notQual.operation = ZQ_COND_OP_NOT;
  notQual.u.operand = &inner;
  ZQEntryListFieldStruct column{8, 20, " | "};
  ZQEntryListFieldList columns{1, &column};
  ZQSortStruct order{8, 2};
  ZQSortList sort{1, &order};
  ZQEntryIdType id = "000000000000001";
  ZQEntryListStruct row{{1, &id}, const_cast<char*>("Printer & <co>")};
  ZQEntryListList rows{1, &row};

  ASSERT_EQ(ZQPushGetListEntryToXML(&control_, &out_, ZQ_XML_PART_BOTH, 0, "HelpDesk", &notQual,
                                    &columns, &sort, 5, 10, 1, &rows, 7, &status_),
            0);
  EXPECT_TRUE(zqtest::validAgainstXmlSchema(out_.u.charBuffer)) << out_.u.charBuffer;
  {
    ZQXMLInputDoc in = input();
    ZQNameType form{};
    ZQQualifierStruct q{};
    ZQEntryListFieldList backColumns{};
    ZQSortList backSort{};
    uint32_t first = 0, max = 0, matches = 0;
    ZQBoolean locale = 0;
    ZQEntryListList backRows{};
    ASSERT_EQ(ZQPullGetListEntryFromXML(&control_, &in, form, &q, &backColumns, &backSort, &first,
                                        &max, &locale, &backRows, &matches, &status_),
              0);
    EXPECT_STREQ(form, "HelpDesk");
    EXPECT_EQ(q.operation, uint32_t{ZQ_COND_OP_NOT});
    ASSERT_NE(q.u.operand, nullptr);
    EXPECT_EQ(q.u.operand->operation, uint32_t{ZQ_COND_OP_NONE});
    ASSERT_EQ(backColumns.count, 1u);
    EXPECT_EQ(backColumns.items[0].fieldId, 8u);
    EXPECT_EQ(backColumns.items[0].columnWidth, 20u);
    EXPECT_STREQ(backColumns.items[0].separator, " | ");
    ASSERT_EQ(backSort.count, 1u);
    EXPECT_EQ(backSort.items[0].sortOrder, 2u);
    EXPECT_EQ(first, 5u);
    EXPECT_EQ(max, 10u);
    EXPECT_EQ(locale, 1);
    EXPECT_EQ(matches, 7u);
    ASSERT_EQ(backRows.count, 1u);
    EXPECT_STREQ(backRows.items[0].entryId.items[0], id);
    EXPECT_STREQ(backRows.items[0].shortDescription, "Printer & <co>");
    FreeZQQualifierStruct(&q, 0);
    FreeZQEntryListFieldList(&backColumns, 0);
    FreeZQSortList(&backSort, 0);
    FreeZQEntryListList(&backRows, 0);
  }

  ZQFieldValueList values = sampleValues();
  ZQEntryListFieldValueStruct withFields{{1, &id}, &values};
  ZQEntryListFieldValueList withFieldsRows{1, &withFields};
  FreeZQXMLOutputDoc(&out_, 0);
  out_ = ZQXMLOutputDoc{};
  ASSERT_EQ(
      ZQPushGetListEntryWithFieldsToXML(&control_, &out_, ZQ_XML_PART_BOTH, 0, "HelpDesk", nullptr,
                                        &columns, nullptr, 0, 0, 0, &withFieldsRows, 1, &status_),
      0);
  EXPECT_TRUE(zqtest::validAgainstXmlSchema(out_.u.charBuffer)) << out_.u.charBuffer;
  {
    ZQXMLInputDoc in = input();
    ZQEntryListFieldValueList back{};
    uint32_t matches = 0;
    ASSERT_EQ(
        ZQPullGetListEntryWithFieldsFromXML(&control_, &in, nullptr, nullptr, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, &back, &matches, &status_),
        0);
    ASSERT_EQ(back.count, 1u);
    ASSERT_NE(back.items[0].fieldValues, nullptr);
    expectSameValues(values, *back.items[0].fieldValues);
    EXPECT_EQ(matches, 1u);
    FreeZQEntryListFieldValueList(&back, 0);
  }

  ZQEntryIdList idList{1, &id};
  ZQEntryIdList twoIds[2] = {idList, idList};
  ZQEntryIdListList ids{2, twoIds};
  ZQInternalId wanted[2] = {8, 7};
  ZQInternalIdList fields{2, wanted};
  ZQBoolean found[2] = {1, 0};
  ZQBooleanList exists{2, found};
  ZQFieldValueList lists[2] = {values, {}};
  ZQFieldValueListList valueLists{2, lists};
  ZQStatusList messages = serverMessages();
  FreeZQXMLOutputDoc(&out_, 0);
  out_ = ZQXMLOutputDoc{};
  ASSERT_EQ(ZQPushGetMultipleEntriesToXML(&control_, &out_, ZQ_XML_PART_BOTH, 0, "HelpDesk", &ids,
                                          &fields, &exists, &valueLists, &messages, &status_),
            0);
  EXPECT_TRUE(zqtest::validAgainstXmlSchema(out_.u.charBuffer)) << out_.u.charBuffer;
  {
    ZQXMLInputDoc in = input();
    ZQEntryIdListList backIds{};
    ZQInternalIdList backFields{};
    ZQBooleanList backExists{};
    ZQFieldValueListList backValues{};
    ASSERT_EQ(ZQPullGetMultipleEntriesFromXML(&control_, &in, nullptr, &backIds, &backFields,
                                              &backExists, &backValues, &status_),
              0);
    ASSERT_EQ(backIds.count, 2u);
    EXPECT_STREQ(backIds.items[1].items[0], id);
    ASSERT_EQ(backFields.count, 2u);
    EXPECT_EQ(backFields.items[1], 7u);
    ASSERT_EQ(backExists.count, 2u);
    EXPECT_EQ(backExists.items[0], 1);
    EXPECT_EQ(backExists.items[1], 0);
    ASSERT_EQ(backValues.count, 2u);
    expectSameValues(values, backValues.items[0]);
    EXPECT_EQ(backValues.items[1].count, 0u);
    FreeZQEntryIdListList(&backIds, 0);
    FreeZQInternalIdList(&backFields, 0);
    FreeZQBooleanList(&backExists, 0);
    FreeZQFieldValueListList(&backValues, 0);
  }
  FreeZQStatusList(&messages, 0);
  FreeZQFieldValueList(&values, 0);

  ZQLocStruct file{};
  file.locationType = ZQ_LOC_FILENAME;
  file.u.filename = const_cast<char*>("/tmp/blob.bin");
  FreeZQXMLOutputDoc(&out_, 0);
  out_ = ZQXMLOutputDoc{};
  ASSERT_EQ(ZQPushGetEntryBlobToXML(&control_, &out_, ZQ_XML_PART_BOTH, 0, "HelpDesk", &idList,
                                    536870915, &file, nullptr, &status_),
            0);
  EXPECT_TRUE(zqtest::validAgainstXmlSchema(out_.u.charBuffer)) << out_.u.charBuffer;
  {
    ZQXMLInputDoc in = input();
    ZQInternalId fieldId = 0;
    ZQLocStruct back{};
    ASSERT_EQ(ZQPullGetEntryBlobFromXML(&control_, &in, nullptr, nullptr, &fieldId, &back, nullptr,
                                        &status_),
              0);
    EXPECT_EQ(fieldId, 536870915u);
    EXPECT_EQ(back.locationType, uint32_t{ZQ_LOC_FILENAME});
    EXPECT_STREQ(back.u.filename, "/tmp/blob.bin");
    FreeZQLocStruct(&back, 0);
  }
}
