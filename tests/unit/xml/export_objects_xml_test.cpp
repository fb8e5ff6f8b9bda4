// The ordinal-only readers (842 entry to create, 843 lock block, 844 rows of
// a form): documents written by libzqxmlutil, valid against docs/zqxml.xsd,
// read back member by member through the ordinals; hand-written bad
// documents are refused and leave the caller's outputs as they were.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/frame.h"
#include "support/xml_schema.h"
#include "xml/xml.h"
#include "zqapi/zqapi.h"

namespace {

using EntryCreateFn = int (*)(ZQControlStruct*, ZQXMLInputDoc*, char*, ZQFieldValueList*,
                              ZQStatusList*);
using LockBlockFn = int (*)(ZQControlStruct*, ZQXMLParsedStream*, uint32_t*, char**,
                            ZQStructItemList*, char**, char**, ZQStatusList*);
using SchemaDataFn = int (*)(ZQControlStruct*, ZQXMLParsedStream*, const char*, uint32_t, uint32_t,
                             ZQInternalIdList*, ZQFieldValueListList*, ZQStatusList*);
// libzqxmlutil's own writers (libzqapi does not forward them).
using SetLockBlockFn = int (*)(ZQXMLOutputDoc*, uint32_t, const char*, ZQStructItemList*,
                               const char*, const char*, ZQStatusList*);
using SetSchemaDataFn = int (*)(ZQXMLOutputDoc*, const char*, ZQInternalIdList*,
                                ZQFieldValueListList*, ZQStatusList*);
using LibraryEntryCreateFn = int (*)(ZQXMLInputDoc*, char*, uint32_t, ZQFieldValueList*,
                                     ZQStatusList*);

// An entry point of the XML library libzqapi has loaded.
template <class Fn>
Fn fromLoadedLibrary(const char* name) {
  Dl_info info{};
  void* any = zq::xml::address(zq::xml::Slot::InitXMLParser);
  if (!any || !dladdr(any, &info)) return nullptr;
  void* h = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
  void* fn = h ? dlsym(h, name) : nullptr;
  if (h) dlclose(h);
  return reinterpret_cast<Fn>(fn);
}

ZQValueStruct charValue(const char* s) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_CHAR;
  v.u.charValue = zq::dupString(s);
  return v;
}

// Row r of a form: its id (field 1), a text, and every other row a number.
ZQFieldValueList row(uint32_t r) {
  ZQFieldValueList l{};
  l.count = r % 2 ? 3 : 2;
  l.items = static_cast<ZQFieldValueStruct*>(zq::allocZeroed(l.count, sizeof *l.items));
  char id[16];
  snprintf(id, sizeof id, "%015u", r + 1);
  l.items[0] = {1, charValue(id)};
  l.items[1] = {8, charValue(r == 2 ? "" : "Disk <full> & \"slow\"")};
  if (l.count == 3) {
    l.items[2].fieldId = 7;
    l.items[2].value.dataType = ZQ_DATA_TYPE_INTEGER;
    l.items[2].value.u.integerValue = -static_cast<int32_t>(r);
  }
  return l;
}

void expectSameRow(const ZQFieldValueList& a, const ZQFieldValueList& b) {
  ASSERT_EQ(a.count, b.count);
  for (uint32_t i = 0; i < a.count; ++i) {
    EXPECT_EQ(a.items[i].fieldId, b.items[i].fieldId);
    const ZQValueStruct &x = a.items[i].value, &y = b.items[i].value;
    ASSERT_EQ(x.dataType, y.dataType);
    if (x.dataType == ZQ_DATA_TYPE_CHAR) {
      EXPECT_STREQ(x.u.charValue, y.u.charValue);
    } else if (x.dataType == ZQ_DATA_TYPE_INTEGER) {
      EXPECT_EQ(x.u.integerValue, y.u.integerValue);
    }
  }
}

class XmlExportObjects : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_LT(ZQInitialization(&control_, &status_), 2);
    FreeZQStatusList(&status_, 0);
    entryCreate_ = reinterpret_cast<EntryCreateFn>(ZQGetOrdinal(842));
    lockBlock_ = reinterpret_cast<LockBlockFn>(ZQGetOrdinal(843));
    schemaData_ = reinterpret_cast<SchemaDataFn>(ZQGetOrdinal(844));
    ASSERT_TRUE(entryCreate_ && lockBlock_ && schemaData_);
    // A header loads the library; its own writers come from it.
    ASSERT_EQ(ZQSetDocHeaderToXML(&control_, &out_, &status_), 0);
    setLockBlock_ = fromLoadedLibrary<SetLockBlockFn>("SetLockBlockToXML");
    setSchemaData_ = fromLoadedLibrary<SetSchemaDataFn>("SetSchemaDataToXML");
    ASSERT_TRUE(setLockBlock_ && setSchemaData_);
  }
  void TearDown() override {
    FreeZQXMLOutputDoc(&out_, 0);
    FreeZQXMLParsedStream(&parsed_, 0);
    FreeZQStatusList(&status_, 0);
    ZQTermination(&control_, &status_);
    FreeZQStatusList(&status_, 0);
  }
  std::string why() const {
    return status_.count && status_.items[0].appended ? status_.items[0].appended : "";
  }
  int parse(const char* text) {
    ZQXMLInputDoc in{};
    in.docType = ZQ_XML_DOC_CHAR_STR;
    in.u.charBuffer = const_cast<char*>(text);
    return ZQParseXMLDocument(&control_, &in, nullptr, &parsed_, nullptr, nullptr, &status_);
  }
  // Ends the document, checks it against the schema and parses it.
  void finishAndParse() {
    ASSERT_EQ(ZQSetDocFooterToXML(&control_, &out_, &status_), 0) << why();
    ASSERT_NE(out_.u.charBuffer, nullptr);
    EXPECT_TRUE(zqtest::validAgainstXmlSchema(out_.u.charBuffer)) << out_.u.charBuffer;
    ASSERT_EQ(parse(out_.u.charBuffer), 0) << why();
  }
  // The status holds exactly one refusal of a document.
  void expectRefused(int rc) {
    EXPECT_EQ(rc, ZQ_RETURN_ERROR);
    ASSERT_EQ(status_.count, 1u);
    EXPECT_EQ(status_.items[0].messageNumber, zq::kMsgXmlUnreadable);
    FreeZQStatusList(&status_, 0);
  }

  ZQControlStruct control_{};
  ZQStatusList status_{};
  ZQXMLOutputDoc out_{};
  ZQXMLParsedStream parsed_{};
  EntryCreateFn entryCreate_ = nullptr;
  LockBlockFn lockBlock_ = nullptr;
  SchemaDataFn schemaData_ = nullptr;
  SetLockBlockFn setLockBlock_ = nullptr;
  SetSchemaDataFn setSchemaData_ = nullptr;
};

TEST_F(XmlExportObjects, LockBlockBesideDefinitionsRoundTrips) {
  ZQCharMenuStruct menu{};
  menu.menuType = ZQ_CHAR_MENU_LIST;
  ASSERT_EQ(ZQSetMenuToXML(&control_, &out_, "Priorities", nullptr, nullptr, 1, &menu, nullptr, 0,
                           "Demo", "Demo", nullptr, nullptr, &status_),
            0)
      << why();
  ZQStructItemStruct item{};
  item.type = ZQ_STRUCT_ITEM_CHAR_MENU;
  strcpy(item.name, "Priorities");
  ZQStructItemList locked{1, &item};
  ASSERT_EQ(setLockBlock_(&out_, 2, "key & <secret>", &locked, "Service", nullptr, &status_), 0)
      << why();
  // One lock per document: a second is refused and the first stays.
  expectRefused(setLockBlock_(&out_, 1, "other", nullptr, nullptr, nullptr, &status_));
  finishAndParse();

  // The lock is not one of the document's definitions.
  ZQStructItemList objects{};
  ASSERT_EQ(ZQGetListXMLObjects(&control_, &parsed_, &objects, &status_), 0) << why();
  EXPECT_EQ(objects.count, 1u);
  FreeZQStructItemList(&objects, 0);

  uint32_t type = 0;
  char* key = nullptr;
  char* block = nullptr;
  char* owner = reinterpret_cast<char*>(1);  // a nil owner comes back null
  ZQStructItemList got{};
  ASSERT_EQ(lockBlock_(&control_, &parsed_, &type, &key, &got, &block, &owner, &status_), 0)
      << why();
  EXPECT_EQ(type, 2u);
  EXPECT_STREQ(key, "key & <secret>");
  EXPECT_STREQ(block, "Service");
  EXPECT_EQ(owner, nullptr);
  ASSERT_EQ(got.count, 1u);
  EXPECT_EQ(got.items[0].type, uint32_t{ZQ_STRUCT_ITEM_CHAR_MENU});
  EXPECT_STREQ(got.items[0].name, "Priorities");
  EXPECT_EQ(got.items[0].selectedElements.count, 0u);
  zq::freeBlock(key);
  zq::freeBlock(block);
  FreeZQStructItemList(&got, 0);
}

TEST_F(XmlExportObjects, RowsOfAFormAreReadInWindows) {
  ZQInternalId ids[] = {1, 7, 8};
  ZQInternalIdList fieldIds{3, ids};
  ZQFieldValueListList rows{};
  rows.count = 5;
  rows.items = static_cast<ZQFieldValueList*>(zq::allocZeroed(5, sizeof(ZQFieldValueList)));
  for (uint32_t r = 0; r < 5; ++r) rows.items[r] = row(r);
  // Two forms: each reader call picks its own.
  ZQFieldValueListList other{
      1, static_cast<ZQFieldValueList*>(zq::allocZeroed(1, sizeof(ZQFieldValueList)))};
  other.items[0] = row(9);
  ASSERT_EQ(setSchemaData_(&out_, "Other", &fieldIds, &other, &status_), 0) << why();
  ASSERT_EQ(setSchemaData_(&out_, "HelpDesk", &fieldIds, &rows, &status_), 0) << why();
  expectRefused(setSchemaData_(&out_, "HelpDesk", &fieldIds, &rows, &status_));
  // A value of a field the data does not list would not read back.
  ZQInternalIdList fewer{1, ids};
  expectRefused(setSchemaData_(&out_, "Third", &fewer, &rows, &status_));
  finishAndParse();

  const struct {
    uint32_t first, max, from, count;
  } windows[] = {{0, 0, 0, 5}, {1, 2, 1, 2}, {4, 10, 4, 1}, {3, 0, 3, 2}, {5, 1, 0, 0}};
  for (const auto& w : windows) {
    SCOPED_TRACE(testing::Message() << "first " << w.first << " max " << w.max);
    ZQInternalIdList gotIds{};
    ZQFieldValueListList got{};
    ASSERT_EQ(schemaData_(&control_, &parsed_, "HelpDesk", w.first, w.max, &gotIds, &got, &status_),
              0)
        << why();
    ASSERT_EQ(gotIds.count, 3u);
    EXPECT_EQ(memcmp(gotIds.items, ids, sizeof ids), 0);
    ASSERT_EQ(got.count, w.count);
    for (uint32_t i = 0; i < w.count; ++i) expectSameRow(got.items[i], rows.items[w.from + i]);
    FreeZQInternalIdList(&gotIds, 0);
    FreeZQFieldValueListList(&got, 0);
  }
  ZQFieldValueListList got{};
  ASSERT_EQ(schemaData_(&control_, &parsed_, "Other", 0, 0, nullptr, &got, &status_), 0) << why();
  ASSERT_EQ(got.count, 1u);
  expectSameRow(got.items[0], other.items[0]);
  FreeZQFieldValueListList(&got, 0);
  FreeZQFieldValueListList(&rows, 0);
  FreeZQFieldValueListList(&other, 0);
}

TEST_F(XmlExportObjects, EntryToCreateIsTheRequestOfACreateEntry) {
  ZQFieldValueList values = row(1);
  ASSERT_EQ(ZQPushCreateEntryToXML(&control_, &out_, ZQ_XML_PART_REQUEST, 0, "HelpDesk", &values,
                                   nullptr, nullptr, &status_),
            0)
      << why();
  EXPECT_TRUE(zqtest::validAgainstXmlSchema(out_.u.charBuffer)) << out_.u.charBuffer;
  ZQXMLInputDoc in{};
  in.docType = ZQ_XML_DOC_CHAR_STR;
  in.u.charBuffer = out_.u.charBuffer;
  ZQNameType form = {};
  ZQFieldValueList got{};
  ASSERT_EQ(entryCreate_(&control_, &in, form, &got, &status_), 0) << why();
  EXPECT_STREQ(form, "HelpDesk");
  expectSameRow(got, values);
  FreeZQFieldValueList(&got, 0);

  // Checking only: nothing handed over.
  auto check = fromLoadedLibrary<LibraryEntryCreateFn>("GetComplexEntryCreateFromXML");
  ASSERT_NE(check, nullptr);
  ZQNameType untouched = "untouched";
  ASSERT_EQ(check(&in, untouched, 1, &got, &status_), 0) << why();
  EXPECT_STREQ(untouched, "untouched");
  EXPECT_EQ(got.count, 0u);
  EXPECT_EQ(got.items, nullptr);
  FreeZQFieldValueList(&values, 0);
}

// Bad documents written by hand: each reader refuses them with one message
// and leaves its outputs alone.
constexpr const char* kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<document xmlns=\"urn:zqapi:xml\" version=\"1\">";
std::string doc(const char* body) {
  return std::string(kHead) + body + "</document>";
}

TEST_F(XmlExportObjects, MalformedDocumentsAreRefusedUntouched) {
  const std::string entryCases[] = {
      doc("<createEntry><reply><entryId>1</entryId><status><items/></status></reply>"
          "</createEntry>"),
      doc("<createEntry><request><form>HelpDesk</form><values><items><item>"
          "<fieldId>eight</fieldId><value><dataType>0</dataType></value></item></items>"
          "</values></request></createEntry>"),
      doc("<createEntry><request><form>HelpDesk</form>"),  // truncated
  };
  for (const std::string& text : entryCases) {
    SCOPED_TRACE(text);
    ZQXMLInputDoc in{};
    in.docType = ZQ_XML_DOC_CHAR_STR;
    in.u.charBuffer = const_cast<char*>(text.c_str());
    ZQNameType form = "untouched";
    ZQFieldValueList values{};
    expectRefused(entryCreate_(&control_, &in, form, &values, &status_));
    EXPECT_STREQ(form, "untouched");
    EXPECT_EQ(values.items, nullptr);
  }

  const std::string lockCases[] = {
      doc("<menu name=\"m\"/>"),  // no lock block
      doc("<lockBlock><lockType>two</lockType><lockKey>k</lockKey><lockedObjects><items/>"
          "</lockedObjects><appBlockName nil=\"true\"/><appOwner nil=\"true\"/></lockBlock>"),
      doc("<lockBlock><lockType>2</lockType><lockKey>k</lockKey><lockedObjects><items><item>"
          "<type>7</type><name>m</name></item></items></lockedObjects></lockBlock>"),
      // Two locks: which one holds is not for the reader to guess.
      doc("<lockBlock><lockType>1</lockType><lockKey>a</lockKey><lockedObjects><items/>"
          "</lockedObjects><appBlockName nil=\"true\"/><appOwner nil=\"true\"/></lockBlock>"
          "<lockBlock><lockType>2</lockType><lockKey>b</lockKey><lockedObjects><items/>"
          "</lockedObjects><appBlockName nil=\"true\"/><appOwner nil=\"true\"/></lockBlock>"),
  };
  for (const std::string& text : lockCases) {
    SCOPED_TRACE(text);
    ASSERT_EQ(parse(text.c_str()), 0) << why();
    uint32_t type = 99;
    char* key = nullptr;
    ZQStructItemList objects{};
    char* block = nullptr;
    expectRefused(
        lockBlock_(&control_, &parsed_, &type, &key, &objects, &block, nullptr, &status_));
    EXPECT_EQ(type, 99u);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(objects.items, nullptr);
    EXPECT_EQ(block, nullptr);
  }

  const char* kIds = "<fieldIds><items><item><value>1</value></item></items></fieldIds>";
  const std::string dataCases[] = {
      doc("<formData name=\"Other\"><fieldIds><items/></fieldIds><rows><items/></rows></formData>"),
      // A value of field 8, which fieldIds does not list.
      doc((std::string("<formData name=\"HelpDesk\">") + kIds +
           "<rows><items><item><items><item><fieldId>8</fieldId><value><dataType>0</dataType>"
           "</value></item></items></item></items></rows></formData>")
              .c_str()),
      doc((std::string("<formData name=\"HelpDesk\">") + kIds + "</formData>").c_str()),
      doc((std::string("<formData name=\"HelpDesk\">") + kIds + "<rows><items/></rows>" +
           "</formData><formData name=\"HelpDesk\">" + kIds + "<rows><items/></rows></formData>")
              .c_str()),
  };
  for (const std::string& text : dataCases) {
    SCOPED_TRACE(text);
    ASSERT_EQ(parse(text.c_str()), 0) << why();
    ZQInternalIdList ids{};
    ZQFieldValueListList rows{};
    expectRefused(schemaData_(&control_, &parsed_, "HelpDesk", 0, 0, &ids, &rows, &status_));
    EXPECT_EQ(ids.items, nullptr);
    EXPECT_EQ(rows.items, nullptr);
  }
}

}  // namespace
