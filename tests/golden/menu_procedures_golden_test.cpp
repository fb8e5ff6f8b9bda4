// Wire vectors of the menu procedures' records at version 14, written by
// hand: the request and the reply of procedure 55 (a query menu) and of
// procedure 108 (a menu the server defines).
#include "golden/wire.h"
#include "transport/describe_menus.h"

namespace zqgolden {
namespace {

using zq::transport::MenuReply;
using zq::transport::QueryMenuArgs;
using zq::transport::ServerMenuArgs;

class MenuProceduresGolden : public GoldenTest {};

// The query part of the definition follows the header, without the menu's
// type word.
TEST_F(MenuProceduresGolden, QueryMenuRequest) {
  ZQQualifierStruct none{};
  QueryMenuArgs args{};
  ZQCharMenuQueryStruct& q = args.query;
  setName(q.schemaName, "Tickets");
  setName(q.serverName, "@");
  q.qualifier = none;
  q.labelFieldId[0] = 536870913;
  q.labelFieldId[1] = 8;
  q.valueFieldId = 1;
  q.sortOnLabel = 1;
  const Wire golden = emptyHeader()
                          .name("Tickets", 255)
                          .name("@", 65)
                          .w(0)  // no qualification
                          .w(536870913)
                          .w(8)
                          .zeros(3)  // label fields 3 to 5
                          .w(1)      // value field
                          .w(1)      // sorted on the labels
                          .name("", 255)
                          .name("", 65);
  expectEncodes(args, 14, golden);
  QueryMenuArgs back = decodes<QueryMenuArgs>(golden, 14);
  EXPECT_STREQ(back.query.schemaName, "Tickets");
  EXPECT_STREQ(back.query.serverName, "@");
  EXPECT_EQ(back.query.labelFieldId[0], 536870913u);
  EXPECT_EQ(back.query.labelFieldId[1], 8u);
  EXPECT_EQ(back.query.labelFieldId[2], 0u);
  EXPECT_EQ(back.query.valueFieldId, 1u);
  EXPECT_EQ(back.query.sortOnLabel, 1);
  zq::model::release(back);
}

// A list menu with a value item and a sub-menu, then the status list.
TEST_F(MenuProceduresGolden, QueryMenuReply) {
  const Wire golden = emptyHeader()
                          .w(1)  // list menu
                          .w(2)  // two items
                          .name("Mouse", 255)
                          .w(1)
                          .str("1")
                          .name("Hardware", 255)
                          .w(2)
                          .w(1)  // the sub-menu is present
                          .w(1)  // a list menu
                          .w(1)
                          .name("Disk", 255)
                          .w(1)
                          .str("3")
                          .w(0);  // no messages
  MenuReply back = decodes<MenuReply>(golden, 14);
  ASSERT_EQ(back.menu.menuType, uint32_t{ZQ_CHAR_MENU_LIST});
  ASSERT_EQ(back.menu.u.menuList.count, 2u);
  const ZQCharMenuItemStruct& mouse = back.menu.u.menuList.items[0];
  EXPECT_STREQ(mouse.label, "Mouse");
  EXPECT_STREQ(mouse.u.value, "1");
  const ZQCharMenuItemStruct& hardware = back.menu.u.menuList.items[1];
  EXPECT_STREQ(hardware.label, "Hardware");
  ASSERT_EQ(hardware.type, uint32_t{ZQ_MENU_ITEM_MENU});
  ASSERT_NE(hardware.u.childMenu, nullptr);
  ASSERT_EQ(hardware.u.childMenu->u.menuList.count, 1u);
  EXPECT_STREQ(hardware.u.childMenu->u.menuList.items[0].label, "Disk");
  EXPECT_STREQ(hardware.u.childMenu->u.menuList.items[0].u.value, "3");
  EXPECT_EQ(back.status.count, 0u);
  expectEncodes(back, 14, golden);
  zq::model::release(back);
}

// The menu's name as a fixed name, then keywords and parameters through
// the entry-value routine and the qualifications; the client's server name
// and extra text stay behind.
TEST_F(MenuProceduresGolden, ServerMenuRequest) {
  ZQFieldValueStruct parameter{};
  parameter.fieldId = 536870913;
  parameter.value.dataType = ZQ_DATA_TYPE_INTEGER;
  parameter.value.u.integerValue = -2;
  ServerMenuArgs args{};
  setName(args.request.menuName, "Priorities");
  args.request.parameterList = {1, &parameter};
  args.request.serverName = text("not sent");
  const Wire golden = emptyHeader()
                          .name("Priorities", 255)
                          .w(0)  // keywords
                          .w(1)
                          .w(536870913)
                          .w(2)
                          .i(-2)  // parameters
                          .w(0);  // qualifications
  expectEncodes(args, 14, golden);
  ServerMenuArgs back = decodes<ServerMenuArgs>(golden, 14);
  EXPECT_STREQ(back.request.menuName, "Priorities");
  EXPECT_EQ(back.request.keywordList.count, 0u);
  ASSERT_EQ(back.request.parameterList.count, 1u);
  EXPECT_EQ(back.request.parameterList.items[0].fieldId, 536870913u);
  EXPECT_EQ(back.request.parameterList.items[0].value.u.integerValue, -2);
  EXPECT_EQ(back.request.serverName, nullptr);
  zq::model::release(back);
}

// The stored menu may be another kind of menu: here an SQL menu, which the
// client runs in turn; a message follows it.
TEST_F(MenuProceduresGolden, ServerMenuReply) {
  const Wire golden = emptyHeader()
                          .w(4)  // SQL menu
                          .name("@", 65)
                          .str("SELECT 1")
                          .w(1)
                          .zeros(4)  // label columns 2 to 5
                          .w(1)      // value column
                          .w(1)      // one message
                          .w(1)      // a warning
                          .w(54)
                          .str("")
                          .w(0);
  MenuReply back = decodes<MenuReply>(golden, 14);
  ASSERT_EQ(back.menu.menuType, uint32_t{ZQ_CHAR_MENU_SQL});
  EXPECT_STREQ(back.menu.u.menuSQL.serverName, "@");
  EXPECT_STREQ(back.menu.u.menuSQL.sqlCommand, "SELECT 1");
  EXPECT_EQ(back.menu.u.menuSQL.labelIndex[0], 1);
  EXPECT_EQ(back.menu.u.menuSQL.valueIndex, 1);
  ASSERT_EQ(back.status.count, 1u);
  EXPECT_EQ(back.status.items[0].messageNumber, 54);
  zq::model::release(back);
}

}  // namespace
}  // namespace zqgolden
