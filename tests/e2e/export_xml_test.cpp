// An export in its XML form: the definitions zqserverd exports (a form with
// its fields, a filter, a menu), the export's lock and the entries of its
// form, written into one XML document of many objects, read back equal.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "definitions_fixture.h"
#include "entry_store.h"
#include "support/field_values.h"
#include "support/server_fixture.h"
#include "support/xml_schema.h"
#include "zqapi/zq_transfer.h"
#include "zqapi/zq_workflow_definitions.h"
#include "zqxmlutil.h"

using zqtest::Status;

namespace {

constexpr ZQInternalId kTitle = 536870913;

struct Doc : ZQXMLOutputDoc {
  Doc() : ZQXMLOutputDoc{} { docType = ZQ_XML_DOC_CHAR_STR; }
  ~Doc() { FreeZQXMLOutputDoc(this, 0); }
};

struct Parsed : ZQXMLParsedStream {
  Parsed() : ZQXMLParsedStream{} {}
  ~Parsed() { FreeZQXMLParsedStream(this, 0); }
};

ZQStructItemStruct item(uint32_t type, const char* name) {
  ZQStructItemStruct i{};
  i.type = type;
  strncpy(i.name, name, sizeof i.name - 1);
  return i;
}

}  // namespace

class ExportXml : public zqtest::ServerTest {
 protected:
  void SetUp() override {
    zqtest::ServerTest::SetUp();
    snprintf(control_.charSet, sizeof control_.charSet, "%s", "UTF-8");
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store.createForm("Tickets", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"}}).ok());
    Status s;
    ZQNameType tickets = "Tickets";
    ZQNameList names{1, &tickets};
    ZQWorkflowConnectStruct forms{};
    forms.type = ZQ_WORKFLOW_CONN_SCHEMA_LIST;
    forms.schemaList = &names;
    ASSERT_EQ(zqtest::createNoteFilter(&control_, "Seen", 7, &forms, "seen & <noted>", "help",
                                       s.fresh()),
              0);
    ASSERT_EQ(zqtest::createOneItemMenu(&control_, "Numbers", s.fresh()), 0);
    for (const char* title : {"Printer jams", "Disk <full> & slow"}) {
      ZQFieldValueStruct v = zqtest::text(kTitle, title);
      ZQFieldValueList values{1, &v};
      ZQEntryIdType id = "";
      ASSERT_EQ(ZQCreateEntry(&control_, "Tickets", &values, id, s.fresh()), 0);
      ids_.push_back(id);
    }
  }

  // The entry ids and titles of the form, as zqserverd gives them.
  ZQFieldValueListList rows() {
    ZQFieldValueListList out{
        static_cast<uint32_t>(ids_.size()),
        static_cast<ZQFieldValueList*>(zq::allocZeroed(ids_.size(), sizeof(ZQFieldValueList)))};
    ZQInternalId wanted[] = {1, kTitle};
    ZQInternalIdList fields{2, wanted};
    for (size_t i = 0; i < ids_.size(); ++i) {
      ZQEntryIdType id{};
      strncpy(id, ids_[i].c_str(), sizeof id - 1);
      ZQEntryIdList one{1, &id};
      Status s;
      EXPECT_EQ(ZQGetEntry(&control_, "Tickets", &one, &fields, &out.items[i], &s), 0);
    }
    return out;
  }

  std::vector<std::string> ids_;
};

TEST_F(ExportXml, DefinitionsLockAndDataOfAnExportRoundTripThroughOneDocument) {
  Status s;
  std::vector<ZQStructItemStruct> exported = {
      item(ZQ_STRUCT_ITEM_SCHEMA, "Tickets"), item(ZQ_STRUCT_ITEM_SCHEMA_DATA, "Tickets"),
      item(ZQ_STRUCT_ITEM_FILTER, "Seen"), item(ZQ_STRUCT_ITEM_CHAR_MENU, "Numbers")};
  ZQStructItemList items{static_cast<uint32_t>(exported.size()), exported.data()};
  ZQLockStruct lock{1, "lock & key"};
  char* text = nullptr;
  ASSERT_EQ(ZQExport(&control_, &items, nullptr, 0, &lock, &text, s.fresh()), 0);
  const std::string native = text ? text : "";
  ZQFree(text);
  for (const char* block :
       {"\nform: Tickets\n", "\nfilter: Seen\n", "\nmenu: Numbers\n", "\nentry: Tickets\n"})
    EXPECT_NE(native.find(block), std::string::npos) << block;

  // The same export as one XML document: each exported definition as the
  // server gives it, the lock, the entries.
  Doc doc;
  ASSERT_EQ(ZQSetDocHeaderToXML(&control_, &doc, s.fresh()), 0);

  ZQCompoundSchema kind{};
  ZQTimestamp formTime = 0;
  ZQAccessNameType formOwner{}, formChanged{};
  ASSERT_EQ(ZQGetSchema(&control_, "Tickets", &kind, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, &formTime, formOwner,
                        formChanged, nullptr, nullptr, s.fresh()),
            0);
  ZQInternalIdList fieldIds{};
  ASSERT_EQ(ZQGetListField(&control_, "Tickets", 0, ZQ_FIELD_TYPE_ALL, &fieldIds, s.fresh()), 0);
  ASSERT_EQ(ZQSetSchemaToXML(&control_, &doc, "Tickets", nullptr, nullptr, &kind, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "", 0, &fieldIds,
                             nullptr, nullptr, formTime, formOwner, formChanged, nullptr, nullptr,
                             0, s.fresh()),
            0);
  struct Field {
    ZQInternalId id;
    ZQNameType name;
    uint32_t dataType, option, createMode;
  };
  std::vector<Field> fields(fieldIds.count);
  for (uint32_t i = 0; i < fieldIds.count; ++i) {
    Field& f = fields[i];
    f.id = fieldIds.items[i];
    ZQFieldMappingStruct mapping{};
    ZQFieldLimitStruct limit{};
    ASSERT_EQ(ZQGetField(&control_, "Tickets", f.id, f.name, &mapping, &f.dataType, &f.option,
                         &f.createMode, nullptr, nullptr, nullptr, &limit, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr, s.fresh()),
              0);
    ASSERT_EQ(ZQSetFieldToXML(&control_, &doc, "Tickets", f.name, f.id, &mapping, f.dataType,
                              f.option, f.createMode, 0, nullptr, nullptr, &limit, nullptr, nullptr,
                              0, "Demo", "Demo", nullptr, nullptr, s.fresh()),
              0)
        << f.name;
    FreeZQFieldLimitStruct(&limit, 0);
  }

  uint32_t order = 0, opSet = 0, enable = 0;
  ZQWorkflowConnectStruct forms{};
  ZQFilterActionList actions{};
  char* help = nullptr;
  ASSERT_EQ(
      ZQGetFilter(&control_, "Seen", &order, &forms, &opSet, &enable, nullptr, &actions, nullptr,
                  &help, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, s.fresh()),
      0);
  ASSERT_EQ(ZQSetFilterToXML(&control_, &doc, "Seen", nullptr, nullptr, order, &forms, opSet,
                             enable, nullptr, &actions, nullptr, help, 0, "Demo", "Demo", nullptr,
                             nullptr, 0, "", s.fresh()),
            0);

  uint32_t refresh = 0;
  ZQCharMenuStruct menu{};
  ASSERT_EQ(ZQGetCharMenu(&control_, "Numbers", &refresh, &menu, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr, s.fresh()),
            0);
  ASSERT_EQ(ZQSetMenuToXML(&control_, &doc, "Numbers", nullptr, nullptr, refresh, &menu, nullptr, 0,
                           "Demo", "Demo", nullptr, nullptr, s.fresh()),
            0);

  ASSERT_EQ(
      SetLockBlockToXML(&doc, lock.lockType, lock.lockKey, &items, nullptr, nullptr, s.fresh()), 0);
  ZQInternalId dataIds[] = {1, kTitle};
  ZQInternalIdList dataFields{2, dataIds};
  ZQFieldValueListList data = rows();
  ASSERT_EQ(SetSchemaDataToXML(&doc, "Tickets", &dataFields, &data, s.fresh()), 0);
  ASSERT_EQ(ZQSetDocFooterToXML(&control_, &doc, s.fresh()), 0);
  ASSERT_NE(doc.u.charBuffer, nullptr);
  EXPECT_TRUE(zqtest::validAgainstXmlSchema(doc.u.charBuffer)) << doc.u.charBuffer;

  // Read back.
  Parsed parsed;
  ZQXMLInputDoc in{};
  in.docType = ZQ_XML_DOC_CHAR_STR;
  in.u.charBuffer = doc.u.charBuffer;
  ASSERT_EQ(ZQParseXMLDocument(&control_, &in, nullptr, &parsed, nullptr, nullptr, s.fresh()), 0);
  ZQStructItemList objects{};
  ASSERT_EQ(ZQGetListXMLObjects(&control_, &parsed, &objects, s.fresh()), 0);
  EXPECT_EQ(objects.count, 3 + fieldIds.count);  // form, fields, filter, menu
  FreeZQStructItemList(&objects, 0);

  ZQCompoundSchema gotKind{};
  ZQInternalIdList gotFieldIds{};
  ZQTimestamp gotTime = 0;
  ZQAccessNameType gotOwner{}, gotChanged{};
  ASSERT_EQ(ZQGetSchemaFromXML(&control_, &parsed, "Tickets", nullptr, nullptr, &gotKind, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, &gotFieldIds, nullptr, nullptr, &gotTime, gotOwner,
                               gotChanged, nullptr, nullptr, nullptr, s.fresh()),
            0);
  EXPECT_EQ(gotKind.schemaType, kind.schemaType);
  EXPECT_EQ(gotTime, formTime);
  EXPECT_STREQ(gotOwner, formOwner);
  EXPECT_STREQ(gotChanged, formChanged);
  ASSERT_EQ(gotFieldIds.count, fieldIds.count);
  EXPECT_EQ(memcmp(gotFieldIds.items, fieldIds.items, fieldIds.count * sizeof(ZQInternalId)), 0);
  FreeZQInternalIdList(&gotFieldIds, 0);

  for (const Field& f : fields) {
    SCOPED_TRACE(f.name);
    ZQInternalId id = 0;
    uint32_t dataType = 0, option = 0, createMode = 0;
    ASSERT_EQ(ZQGetFieldFromXML(&control_, &parsed, "Tickets", f.name, &id, nullptr, &dataType,
                                &option, &createMode, nullptr, nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, s.fresh()),
              0);
    EXPECT_EQ(id, f.id);
    EXPECT_EQ(dataType, f.dataType);
    EXPECT_EQ(option, f.option);
    EXPECT_EQ(createMode, f.createMode);
  }

  uint32_t gotOrder = 0, gotOpSet = 0, gotEnable = 0;
  ZQWorkflowConnectStruct gotForms{};
  ZQFilterActionList gotActions{};
  char* gotHelp = nullptr;
  ASSERT_EQ(
      ZQGetFilterFromXML(&control_, &parsed, "Seen", nullptr, nullptr, &gotOrder, &gotForms,
                         &gotOpSet, &gotEnable, nullptr, &gotActions, nullptr, &gotHelp, nullptr,
                         nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, s.fresh()),
      0);
  EXPECT_EQ(gotOrder, order);
  EXPECT_EQ(order, 7u);
  EXPECT_EQ(gotOpSet, opSet);
  EXPECT_EQ(gotEnable, enable);
  EXPECT_STREQ(gotHelp, "help");
  ASSERT_EQ(gotForms.type, uint32_t{ZQ_WORKFLOW_CONN_SCHEMA_LIST});
  ASSERT_EQ(gotForms.schemaList->count, 1u);
  EXPECT_STREQ(gotForms.schemaList->items[0], "Tickets");
  ASSERT_EQ(gotActions.count, 1u);
  EXPECT_EQ(gotActions.items[0].action, uint32_t{ZQ_FILTER_ACTION_MESSAGE});
  EXPECT_EQ(gotActions.items[0].u.message.messageNumber, 10001);
  EXPECT_STREQ(gotActions.items[0].u.message.message, "seen & <noted>");

  uint32_t gotRefresh = 0;
  ZQCharMenuStruct gotMenu{};
  ASSERT_EQ(ZQGetMenuFromXML(&control_, &parsed, "Numbers", nullptr, nullptr, &gotRefresh, &gotMenu,
                             nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, s.fresh()),
            0);
  EXPECT_EQ(gotRefresh, uint32_t{ZQ_MENU_REFRESH_OPEN});
  ASSERT_EQ(gotMenu.menuType, uint32_t{ZQ_CHAR_MENU_LIST});
  ASSERT_EQ(gotMenu.u.menuList.count, 1u);
  EXPECT_STREQ(gotMenu.u.menuList.items[0].label, "One");
  EXPECT_STREQ(gotMenu.u.menuList.items[0].u.value, "1");

  uint32_t lockType = 0;
  char* lockKey = nullptr;
  ZQStructItemList locked{};
  ASSERT_EQ(ZQGetLockBlockFromXML(&control_, &parsed, &lockType, &lockKey, &locked, nullptr,
                                  nullptr, s.fresh()),
            0);
  EXPECT_EQ(lockType, lock.lockType);
  EXPECT_STREQ(lockKey, lock.lockKey);
  ASSERT_EQ(locked.count, items.count);
  for (uint32_t i = 0; i < items.count; ++i) {
    EXPECT_EQ(locked.items[i].type, items.items[i].type);
    EXPECT_STREQ(locked.items[i].name, items.items[i].name);
  }

  ZQInternalIdList gotDataIds{};
  ZQFieldValueListList gotRows{};
  ASSERT_EQ(
      ZQGetSchemaDataFromXML(&control_, &parsed, "Tickets", 0, 0, &gotDataIds, &gotRows, s.fresh()),
      0);
  EXPECT_EQ(gotDataIds.count, 2u);
  ASSERT_EQ(gotRows.count, data.count);
  for (uint32_t r = 0; r < data.count; ++r) {
    ASSERT_EQ(gotRows.items[r].count, data.items[r].count);
    for (uint32_t i = 0; i < data.items[r].count; ++i) {
      EXPECT_EQ(gotRows.items[r].items[i].fieldId, data.items[r].items[i].fieldId);
      EXPECT_STREQ(gotRows.items[r].items[i].value.u.charValue,
                   data.items[r].items[i].value.u.charValue);
    }
  }
  EXPECT_STREQ(gotRows.items[1].items[0].value.u.charValue, ids_[1].c_str());

  FreeZQInternalIdList(&fieldIds, 0);
  FreeZQWorkflowConnectStruct(&forms, 0);
  FreeZQWorkflowConnectStruct(&gotForms, 0);
  FreeZQFilterActionList(&actions, 0);
  FreeZQFilterActionList(&gotActions, 0);
  ZQFree(help);
  ZQFree(gotHelp);
  FreeZQCharMenuStruct(&menu, 0);
  FreeZQCharMenuStruct(&gotMenu, 0);
  ZQFree(lockKey);
  FreeZQStructItemList(&locked, 0);
  FreeZQInternalIdList(&gotDataIds, 0);
  FreeZQFieldValueListList(&gotRows, 0);
  FreeZQFieldValueListList(&data, 0);
}
