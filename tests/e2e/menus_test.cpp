// ZQExpandCharMenu end to end: client menu files (with locale variants),
// SQL menus built from zqserverd's rows, nested list menus, and failures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>

#include "support/server_fixture.h"
#include "support/menu_show.h"
#include "zqapi/zqapi.h"

namespace {

using zqtest::Status;

using zqtest::show;

class Menus : public zqtest::ServerTest {
 protected:
  void TearDown() override {
    for (const std::string& f : files_) unlink(f.c_str());
    ServerTest::TearDown();
  }
  std::string writeFile(const std::string& name, const std::string& content) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << content;
    files_.push_back(path);
    return path;
  }
  ZQCharMenuStruct fileMenu(const std::string& path) {
    ZQCharMenuStruct m{};
    m.menuType = ZQ_CHAR_MENU_FILE;
    m.u.menuFile.fileLocation = ZQ_MENU_FILE_CLIENT;
    m.u.menuFile.filename = const_cast<char*>(path.c_str());
    return m;
  }
  std::vector<std::string> files_;
};

TEST_F(Menus, ClientFileWithNestedTabsAndValues) {
  const std::string base = "menu-" + std::to_string(getpid());
  const std::string path = writeFile(base, "# states\nOpen\\1\nClosed\nMore\n\tFixed\\2\n");
  ZQCharMenuStruct menu = fileMenu(path);
  ZQCharMenuStruct out{};
  Status s;
  ASSERT_EQ(ZQExpandCharMenu(&control_, &menu, &out, s.fresh()), 0);
  EXPECT_EQ(show(out), "Open=1, Closed=Closed, More{Fixed=2}");
  FreeZQCharMenuStruct(&out, 0);

  // The locale's variant is read before the plain file.
  writeFile(base + ".fr_CA", "Ouvert\\1\n");
  writeFile(base + ".fr", "Ouvert (fr)\\1\n");
  strcpy(control_.locale, "fr_CA.UTF-8");
  ASSERT_EQ(ZQExpandCharMenu(&control_, &menu, &out, s.fresh()), 0);
  EXPECT_EQ(show(out), "Ouvert=1");
  FreeZQCharMenuStruct(&out, 0);
  strcpy(control_.locale, "fr_BE.UTF-8");
  ASSERT_EQ(ZQExpandCharMenu(&control_, &menu, &out, s.fresh()), 0);
  EXPECT_EQ(show(out), "Ouvert (fr)=1");
  FreeZQCharMenuStruct(&out, 0);
  control_.locale[0] = '\0';
}

TEST_F(Menus, FileFaultsNameTheFileAndLeaveNoMenu) {
  const struct {
    std::string content;
    int32_t message;
  } cases[] = {
      {"\tOrphan\n", zq::kMsgBadCharMenu},
      {"Top\n" + std::string(15, '\t') + "x\n", zq::kMsgMenuTooDeep},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string path = writeFile("bad-menu-" + std::to_string(n++), c.content);
    ZQCharMenuStruct menu = fileMenu(path);
    ZQCharMenuStruct out{};
    Status s;
    EXPECT_EQ(ZQExpandCharMenu(&control_, &menu, &out, s.fresh()), ZQ_RETURN_ERROR);
    EXPECT_EQ(out.menuType, 0u);
    ASSERT_TRUE(s.has(c.message));
    if (c.message == zq::kMsgBadCharMenu) {
      EXPECT_STREQ(s.items[0].appended, path.c_str());
    }
  }
  const std::string nowhere = "/nonexistent/menu";
  ZQCharMenuStruct missing = fileMenu(nowhere);
  ZQCharMenuStruct out{};
  Status s;
  EXPECT_EQ(ZQExpandCharMenu(&control_, &missing, &out, s.fresh()), ZQ_RETURN_ERROR);
  ASSERT_TRUE(s.has(zq::kMsgMenuFileOpen));
  EXPECT_NE(std::string(s.items[0].appended).find("/nonexistent/menu"), std::string::npos)
      << s.items[0].appended;
}

TEST_F(Menus, SqlMenuFromTheServersRows) {
  ZQCharMenuStruct menu{};
  menu.menuType = ZQ_CHAR_MENU_SQL;
  strcpy(menu.u.menuSQL.serverName, "@");
  menu.u.menuSQL.sqlCommand = const_cast<char*>(
      "SELECT 'A', 'x', 1 UNION ALL SELECT 'A', 'y', 2 UNION ALL SELECT 'B', 'z', 3 "
      "UNION ALL SELECT 'B', 'z', 3 ORDER BY 1, 2");
  menu.u.menuSQL.labelIndex[0] = 1;
  menu.u.menuSQL.labelIndex[1] = 2;
  menu.u.menuSQL.valueIndex = 3;
  ZQCharMenuStruct out{};
  Status s;
  ASSERT_EQ(ZQExpandCharMenu(&control_, &menu, &out, s.fresh()), 0)
      << (s.count ? s.items[0].messageNumber : 0);
  EXPECT_EQ(show(out), "A{x=1, y=2}, B{z=3}");
  FreeZQCharMenuStruct(&out, 0);

  // A list menu holding the SQL menu expands it in place.
  ZQCharMenuItemStruct item{};
  strcpy(item.label, "Choices");
  item.type = ZQ_MENU_ITEM_MENU;
  item.u.childMenu = &menu;
  ZQCharMenuStruct list{};
  list.menuType = ZQ_CHAR_MENU_LIST;
  list.u.menuList = {1, &item};
  ASSERT_EQ(ZQExpandCharMenu(&control_, &list, &out, s.fresh()), 0);
  EXPECT_EQ(show(out), "Choices{A{x=1, y=2}, B{z=3}}");
  FreeZQCharMenuStruct(&out, 0);

  menu.u.menuSQL.sqlCommand = const_cast<char*>("SELECT FROM nowhere");
  EXPECT_EQ(ZQExpandCharMenu(&control_, &list, &out, s.fresh()), ZQ_RETURN_ERROR);
  EXPECT_EQ(out.menuType, 0u);
}

TEST_F(Menus, UnknownTypesAndMissingArguments) {
  ZQCharMenuStruct menu{};
  menu.menuType = 9;
  ZQCharMenuStruct out{};
  Status s;
  EXPECT_EQ(ZQExpandCharMenu(&control_, &menu, &out, s.fresh()), ZQ_RETURN_ERROR);
  EXPECT_TRUE(s.has(zq::kMsgBadMenuType));
  EXPECT_EQ(out.menuType, 0u);
  EXPECT_EQ(ZQExpandCharMenu(&control_, nullptr, &out, s.fresh()), ZQ_RETURN_ERROR);
  EXPECT_TRUE(s.has(zq::kMsgBadCharMenu));
  menu.menuType = ZQ_CHAR_MENU_NONE;
  EXPECT_EQ(ZQExpandCharMenu(&control_, &menu, nullptr, s.fresh()), 0);
  EXPECT_EQ(ZQExpandCharMenu(&control_, &menu, &out, nullptr), 4);
}

}  // namespace
