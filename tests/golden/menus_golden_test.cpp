// Wire vectors of the character menus in their version-7 and newer forms,
// written by hand from the XDR rules, checked against the encoder and read
// back member by member: list, query, file, SQL, server-side and
// data-dictionary menus.
#include "golden/wire.h"
#include "model/describe_workflow.h"

namespace zqgolden {
namespace {

class MenusGolden : public GoldenTest {};

TEST_F(MenusGolden, ListMenuReadsBackItemByItem) {
  ZQCharMenuItemStruct items[2] = {};
  setName(items[0].label, "Open");
  items[0].type = ZQ_MENU_ITEM_VALUE;
  items[0].u.value = text("1");
  setName(items[1].label, "Closed");
  items[1].type = ZQ_MENU_ITEM_VALUE;
  items[1].u.value = text("2");
  ZQCharMenuStruct menu{};
  menu.menuType = ZQ_CHAR_MENU_LIST;
  menu.u.menuList = {2, items};
  for (int version : {7, 14}) {
    const size_t width = version == 7 ? 31 : 255;
    const Wire golden =
        Wire().w(1).w(2).name("Open", width).w(1).str("1").name("Closed", width).w(1).str("2");
    expectEncodes(menu, version, golden);
    ZQCharMenuStruct back = decodes<ZQCharMenuStruct>(golden, version);
    ASSERT_EQ(back.u.menuList.count, 2u);
    EXPECT_STREQ(back.u.menuList.items[1].label, "Closed");
    EXPECT_EQ(back.u.menuList.items[1].type, uint32_t{ZQ_MENU_ITEM_VALUE});
    EXPECT_STREQ(back.u.menuList.items[1].u.value, "2");
    FreeZQCharMenuStruct(&back, 0);
  }
}

// Version 7: one label field and a 31-character form; from 10 the samples.
TEST_F(MenusGolden, QueryMenuInItsOldestAndNewestForm) {
  ZQCharMenuStruct menu{};
  menu.menuType = ZQ_CHAR_MENU_QUERY;
  ZQCharMenuQueryStruct& q = menu.u.menuQuery;
  setName(q.schemaName, "People");
  setName(q.serverName, "srv");
  q.qualifier.operation = ZQ_COND_OP_NONE;
  q.labelFieldId[0] = 8;
  q.labelFieldId[1] = 536870913;
  q.valueFieldId = 1;
  q.sortOnLabel = 1;
  setName(q.sampleSchemaName, "S");
  setName(q.sampleServerName, "T");
  const Wire v7 = Wire().w(2).name("People", 31).name("srv", 65).w(0).w(8).w(1).w(1);
  const Wire v14 = Wire()
                       .w(2)
                       .name("People", 255)
                       .name("srv", 65)
                       .w(0)
                       .w(8)
                       .w(536870913)
                       .w(0)
                       .w(0)
                       .w(0)
                       .w(1)
                       .w(1)
                       .name("S", 255)
                       .name("T", 65);
  expectEncodes(menu, 7, v7);
  expectEncodes(menu, 14, v14);

  ZQCharMenuStruct old = decodes<ZQCharMenuStruct>(v7, 7);
  EXPECT_STREQ(old.u.menuQuery.schemaName, "People");
  EXPECT_EQ(old.u.menuQuery.labelFieldId[0], 8u);
  EXPECT_EQ(old.u.menuQuery.labelFieldId[1], 0u);
  EXPECT_EQ(old.u.menuQuery.valueFieldId, 1u);
  EXPECT_EQ(old.u.menuQuery.sortOnLabel, 1);
  EXPECT_STREQ(old.u.menuQuery.sampleSchemaName, "");
  FreeZQCharMenuStruct(&old, 0);

  ZQCharMenuStruct back = decodes<ZQCharMenuStruct>(v14, 14);
  const ZQCharMenuQueryStruct& b = back.u.menuQuery;
  EXPECT_STREQ(b.serverName, "srv");
  EXPECT_EQ(b.qualifier.operation, 0u);
  EXPECT_EQ(b.labelFieldId[1], 536870913u);
  EXPECT_STREQ(b.sampleSchemaName, "S");
  EXPECT_STREQ(b.sampleServerName, "T");
  FreeZQCharMenuStruct(&back, 0);
}

TEST_F(MenusGolden, SqlMenuReadsBackItsIndexes) {
  ZQCharMenuStruct menu{};
  menu.menuType = ZQ_CHAR_MENU_SQL;
  setName(menu.u.menuSQL.serverName, "db");
  menu.u.menuSQL.sqlCommand = text("select a, b from t");
  menu.u.menuSQL.labelIndex[0] = 1;
  menu.u.menuSQL.labelIndex[1] = 2;
  menu.u.menuSQL.valueIndex = 2;
  const Wire v7 = Wire().w(4).name("db", 65).str("select a, b from t").w(1).w(2);
  const Wire v14 =
      Wire().w(4).name("db", 65).str("select a, b from t").w(1).w(2).w(0).w(0).w(0).w(2);
  expectEncodes(menu, 7, v7);
  expectEncodes(menu, 14, v14);
  for (const auto& [version, golden] : {std::pair{7, v7}, std::pair{14, v14}}) {
    ZQCharMenuStruct back = decodes<ZQCharMenuStruct>(golden, version);
    EXPECT_STREQ(back.u.menuSQL.serverName, "db");
    EXPECT_STREQ(back.u.menuSQL.sqlCommand, "select a, b from t");
    EXPECT_EQ(back.u.menuSQL.labelIndex[0], 1);
    EXPECT_EQ(back.u.menuSQL.labelIndex[1], version == 7 ? 0 : 2);
    EXPECT_EQ(back.u.menuSQL.valueIndex, 2);
    FreeZQCharMenuStruct(&back, 0);
  }
}

TEST_F(MenusGolden, FileMenu) {
  ZQCharMenuStruct menu{};
  menu.menuType = ZQ_CHAR_MENU_FILE;
  menu.u.menuFile.fileLocation = ZQ_MENU_FILE_CLIENT;
  menu.u.menuFile.filename = text("/menus/colors.txt");
  const Wire golden = Wire().w(3).w(2).str("/menus/colors.txt");
  for (int version : {7, 14}) {
    expectEncodes(menu, version, golden);
    ZQCharMenuStruct back = decodes<ZQCharMenuStruct>(golden, version);
    EXPECT_EQ(back.u.menuFile.fileLocation, uint32_t{ZQ_MENU_FILE_CLIENT});
    EXPECT_STREQ(back.u.menuFile.filename, "/menus/colors.txt");
    FreeZQCharMenuStruct(&back, 0);
  }
}

// From version 8: the menu name, keyword and parameter lists (field id and
// value), the qualification list. The server name and the extra text are
// the client's and never travel.
TEST_F(MenusGolden, ServerSideMenuSendsNeitherServerNorExtra) {
  ZQFieldValueStruct keyword{};
  keyword.fieldId = 1;
  keyword.value.dataType = ZQ_DATA_TYPE_CHAR;
  keyword.value.u.charValue = text("k");
  ZQQualifierStruct qualifier{};
  qualifier.operation = ZQ_COND_OP_FROM_FIELD;
  qualifier.u.fieldId = 7;
  ZQCharMenuStruct menu{};
  menu.menuType = ZQ_CHAR_MENU_SS;
  ZQCharMenuSSStruct& ss = menu.u.menuSS;
  setName(ss.menuName, "Lookup");
  ss.keywordList = {1, &keyword};
  ss.parameterList = {0, nullptr};
  ss.qualifierList = {1, &qualifier};
  ss.serverName = text("client side");
  ss.extra = text("also client side");
  expectRefused(menu, 7);
  const Wire golden = Wire()
                          .w(5)
                          .name("Lookup", 255)
                          .w(1)
                          .w(1)
                          .w(4)
                          .str("k")  // keywords
                          .w(0)      // parameters
                          .w(1)
                          .w(5)
                          .w(7);  // qualifications
  expectEncodes(menu, 8, golden);
  ZQCharMenuStruct back = decodes<ZQCharMenuStruct>(golden, 14);
  const ZQCharMenuSSStruct& b = back.u.menuSS;
  EXPECT_STREQ(b.menuName, "Lookup");
  ASSERT_EQ(b.keywordList.count, 1u);
  EXPECT_EQ(b.keywordList.items[0].fieldId, 1u);
  EXPECT_STREQ(b.keywordList.items[0].value.u.charValue, "k");
  EXPECT_EQ(b.parameterList.count, 0u);
  ASSERT_EQ(b.qualifierList.count, 1u);
  EXPECT_EQ(b.qualifierList.items[0].u.fieldId, 7u);
  EXPECT_EQ(b.serverName, nullptr);
  EXPECT_EQ(b.extra, nullptr);
  FreeZQCharMenuStruct(&back, 0);
}

TEST_F(MenusGolden, DataDictionaryMenuOfFormsAndOfFields) {
  ZQCharMenuStruct forms{};
  forms.menuType = ZQ_CHAR_MENU_DATA_DICTIONARY;
  setName(forms.u.menuDD.serverName, "srv");
  forms.u.menuDD.nameType = 1;
  forms.u.menuDD.valueFormat = 2;
  forms.u.menuDD.menuKind = ZQ_MENU_DD_FORM;
  forms.u.menuDD.u.formDefn = {3, 1};
  expectRefused(forms, 7);
  const Wire formsWire = Wire().w(6).name("srv", 65).w(1).w(2).w(1).w(3).w(1);
  expectEncodes(forms, 8, formsWire);
  ZQCharMenuStruct back = decodes<ZQCharMenuStruct>(formsWire, 8);
  EXPECT_STREQ(back.u.menuDD.serverName, "srv");
  EXPECT_EQ(back.u.menuDD.nameType, 1u);
  EXPECT_EQ(back.u.menuDD.valueFormat, 2u);
  EXPECT_EQ(back.u.menuDD.u.formDefn.schemaType, 3u);
  EXPECT_EQ(back.u.menuDD.u.formDefn.includeHidden, 1);

  ZQCharMenuStruct fields = forms;
  fields.u.menuDD.menuKind = ZQ_MENU_DD_FIELD;
  fields.u.menuDD.u.fieldDefn.fieldType = 4;
  setName(fields.u.menuDD.u.fieldDefn.formName, "Orders");
  const Wire fieldsWire = Wire().w(6).name("srv", 65).w(1).w(2).w(2).w(4).name("Orders", 255);
  expectEncodes(fields, 14, fieldsWire);
  back = decodes<ZQCharMenuStruct>(fieldsWire, 14);
  EXPECT_EQ(back.u.menuDD.u.fieldDefn.fieldType, 4u);
  EXPECT_STREQ(back.u.menuDD.u.fieldDefn.formName, "Orders");

  fields.u.menuDD.menuKind = 3;
  expectRefused(fields, 14);
}

TEST_F(MenusGolden, MenuListAndTypesThatCarryNothingOrFail) {
  ZQCharMenuStruct menus[2] = {};
  menus[1].menuType = ZQ_CHAR_MENU_FILE;
  menus[1].u.menuFile.fileLocation = ZQ_MENU_FILE_SERVER;
  menus[1].u.menuFile.filename = nullptr;  // travels as an empty string
  ZQCharMenuStructList list{2, menus};
  const Wire golden = Wire().w(2).w(0).w(3).w(1).w(0);
  expectEncodes(list, 7, golden);
  ZQCharMenuStructList back = decodes<ZQCharMenuStructList>(golden, 7);
  ASSERT_EQ(back.count, 2u);
  EXPECT_EQ(back.items[0].menuType, 0u);
  EXPECT_EQ(back.items[1].u.menuFile.fileLocation, uint32_t{ZQ_MENU_FILE_SERVER});
  FreeZQCharMenuStructList(&back, 0);

  ZQCharMenuStruct unknown{};
  unknown.menuType = 7;
  expectRefused(unknown, 14);
  expectUnreadable<ZQCharMenuStruct>(Wire().w(7), 14);
}

}  // namespace
}  // namespace zqgolden
