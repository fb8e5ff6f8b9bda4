// Menus zqserverd builds, end to end: query menus through the query
// engine, menu files of the server's menu folder, the menus the definition
// store holds and data-dictionary menus, each seen with the rights of the
// user who asks; and the requests the server or the library refuses.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "accounts.h"
#include "definition_store.h"
#include "entry_store.h"
#include "menu_definitions.h"
#include "store.h"
#include "support/field_values.h"
#include "support/menu_show.h"
#include "support/server_fixture.h"
#include "zqapi/zqapi.h"

namespace {

using zqtest::integer;
using zqtest::show;
using zqtest::Status;
using zqtest::text;

constexpr ZQInternalId kTitle = 8;
constexpr ZQInternalId kCategory = 536870913;
constexpr ZQInternalId kCount = 536870914;
constexpr ZQInternalId kSecret = 536870915;
constexpr ZQInternalId kStaff = 1000;
constexpr const char* kAccessKey = "k3y-for-menus";

std::string messages(const Status& s) {
  std::string out;
  for (uint32_t i = 0; i < s.count; ++i)
    out += std::to_string(s.items[i].messageNumber) + " " +
           (s.items[i].appended ? s.items[i].appended : "") + "; ";
  return out;
}

template <size_t N>
void setName(char (&dst)[N], const std::string& src) {
  memset(dst, 0, N);
  memcpy(dst, src.data(), std::min(src.size(), N - 1));
}

ZQCharMenuStruct queryMenu(const char* form, std::vector<ZQInternalId> labels, ZQInternalId value,
                           bool sorted = true) {
  ZQCharMenuStruct m{};
  m.menuType = ZQ_CHAR_MENU_QUERY;
  setName(m.u.menuQuery.schemaName, form);
  setName(m.u.menuQuery.serverName, "@");
  for (size_t i = 0; i < labels.size(); ++i) m.u.menuQuery.labelFieldId[i] = labels[i];
  m.u.menuQuery.valueFieldId = value;
  m.u.menuQuery.sortOnLabel = sorted;
  return m;
}

ZQCharMenuStruct dictionaryMenu(uint32_t kind, const char* form = "", uint32_t valueFormat = 0) {
  ZQCharMenuStruct m{};
  m.menuType = ZQ_CHAR_MENU_DATA_DICTIONARY;
  setName(m.u.menuDD.serverName, "@");
  m.u.menuDD.menuKind = kind;
  m.u.menuDD.valueFormat = valueFormat;
  if (kind == ZQ_MENU_DD_FIELD) setName(m.u.menuDD.u.fieldDefn.formName, form);
  return m;
}

ZQCharMenuStruct serverMenu(const char* name) {
  ZQCharMenuStruct m{};
  m.menuType = ZQ_CHAR_MENU_SS;
  setName(m.u.menuSS.menuName, name);
  return m;
}

ZQCharMenuStruct serverFile(const char* name) {
  ZQCharMenuStruct m{};
  m.menuType = ZQ_CHAR_MENU_FILE;
  m.u.menuFile.fileLocation = ZQ_MENU_FILE_SERVER;
  m.u.menuFile.filename = const_cast<char*>(name);
  return m;
}

// Tickets (staff may read it, Secret is for administrators) and Payroll
// (administrators only); Admin and Joe (staff) as users; a menu folder.
class ServerMenus : public zqtest::ServerTest {
 protected:
  void configure(zqserver::Options& o) override {
    o.accessKey = kAccessKey;
    o.database = dbPath_;
    o.menuDirectory = menuDir_;
  }

  void SetUp() override {
    const std::string base = ::testing::TempDir() + "zq-menus-" + std::to_string(getpid());
    dbPath_ = base + ".db";
    menuDir_ = base + "-menus";
    unlink(dbPath_.c_str());
    mkdir(menuDir_.c_str(), 0700);
    zqtest::ServerTest::SetUp();
    if (HasFatalFailure()) return;
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store
                    .createForm("Tickets", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"},
                                            {kCategory, ZQ_DATA_TYPE_CHAR, "Category"},
                                            {kCount, ZQ_DATA_TYPE_INTEGER, "Count"},
                                            {kSecret, ZQ_DATA_TYPE_CHAR, "Secret"}})
                    .ok());
    ASSERT_TRUE(store.createForm("Payroll", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"}}).ok());
    Status s;
    ZQInternalId admins[] = {zqserver::kGroupAdministrator};
    ZQInternalIdList adminGroups{1, admins};
    ZQUserLicenseStruct license{};
    ASSERT_EQ(ZQCreateUser("127.0.0.1", server_->port(), "", "Admin", "Adm1n-pw", "", 0,
                           &adminGroups, &license, "Admin", "", s.fresh()),
              0)
        << messages(s);
    ASSERT_EQ(ZQCreateGroup("127.0.0.1", server_->port(), kAccessKey, "Staff", "Staff", kStaff,
                            ZQ_GROUP_TYPE_CHANGE, "", 0, 0, s.fresh()),
              0)
        << messages(s);
    ZQInternalId staff[] = {kStaff};
    ZQInternalIdList staffGroups{1, staff};
    ASSERT_EQ(ZQCreateUser("127.0.0.1", server_->port(), kAccessKey, "Joe", "Jo3-pw", "", 0,
                           &staffGroups, &license, "Joe", "", s.fresh()),
              0)
        << messages(s);
    ZQPermissionStruct staffReads[] = {{kStaff, ZQ_PERMISSIONS_CHANGE}};
    ZQPermissionList tickets{1, staffReads};
    ASSERT_TRUE(server_->accounts().setFormPermissions("Tickets", tickets));
    ZQPermissionStruct adminsOnly[] = {{zqserver::kGroupAdministrator, ZQ_PERMISSIONS_CHANGE}};
    ZQPermissionList restricted{1, adminsOnly};
    ASSERT_TRUE(server_->accounts().setFormPermissions("Payroll", restricted));
    ASSERT_TRUE(server_->accounts().setFieldPermissions("Tickets", kSecret, restricted));

    logIn(&control_, "Admin", "Adm1n-pw");
    struct Ticket {
      const char* title;
      const char* category;
      int32_t count;
    } tickets3[] = {
        {"Printer", "Hardware", 2}, {"Mouse", "Peripheral", 1}, {"Disk", "Hardware", 3}};
    for (const Ticket& t : tickets3) {
      ZQFieldValueStruct values[] = {text(kTitle, t.title), text(kCategory, t.category),
                                     integer(kCount, t.count), text(kSecret, "pin")};
      ZQFieldValueList list{4, values};
      ZQEntryIdType id = "";
      ASSERT_EQ(ZQCreateEntry(&control_, "Tickets", &list, id, s.fresh()), 0) << messages(s);
    }
  }

  void TearDown() override {
    zqtest::ServerTest::TearDown();
    unlink(dbPath_.c_str());
    for (const std::string& f : files_) unlink(f.c_str());
    rmdir(menuDir_.c_str());
  }

  static void logIn(ZQControlStruct* c, const char* user, const char* password) {
    strncpy(c->user, user, sizeof c->user - 1);
    strncpy(c->password, password, sizeof c->password - 1);
  }

  // A control record of Joe's.
  struct Joe {
    ZQControlStruct control = zqtest::makeControl("", "127.0.0.1");
    explicit Joe(ServerMenus& t) {
      logIn(&control, "Joe", "Jo3-pw");
      Status s;
      EXPECT_LT(ZQInitialization(&control, s.fresh()), 2);
      t.usePort(&control);
    }
    ~Joe() {
      Status s;
      ZQTermination(&control, s.fresh());
    }
  };

  void menuFile(const std::string& name, const std::string& content) {
    const std::string path = menuDir_ + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    files_.push_back(path);
  }

  void storeMenu(const char* name, const ZQCharMenuStruct& menu) {
    zqserver::DefinitionStore defs(server_->store());
    ASSERT_TRUE(zqserver::storeMenu(defs, name, menu, "Admin").ok());
  }

  // The expanded menu in one line, or "error" and the message numbers.
  std::string expand(ZQControlStruct* c, ZQCharMenuStruct menu) {
    ZQCharMenuStruct out{};
    Status s;
    const int rc = ZQExpandCharMenu(c, &menu, &out, s.fresh());
    std::string shown;
    if (rc >= ZQ_RETURN_ERROR) {
      shown = out.menuType == 0 ? "error" : "error with a menu left";
      for (uint32_t i = 0; i < s.count; ++i)
        shown += " " + std::to_string(s.items[i].messageNumber);
    } else {
      shown = show(out);
    }
    FreeZQCharMenuStruct(&out, 0);
    return shown;
  }
  std::string expand(ZQCharMenuStruct menu) { return expand(&control_, menu); }

  std::string dbPath_;
  std::string menuDir_;
  std::vector<std::string> files_;
};

TEST_F(ServerMenus, QueryMenusNestTheirLabelsAndFollowTheQualification) {
  ZQRelOpStruct moreThanOne{};
  moreThanOne.operation = ZQ_REL_OP_GREATER;
  moreThanOne.left.tag = ZQ_FIELD;
  moreThanOne.left.u.fieldId = kCount;
  moreThanOne.right.tag = ZQ_VALUE;
  moreThanOne.right.u.value.dataType = ZQ_DATA_TYPE_INTEGER;
  moreThanOne.right.u.value.u.integerValue = 1;
  ZQQualifierStruct counted{};
  counted.operation = ZQ_COND_OP_REL_OP;
  counted.u.relation = &moreThanOne;

  struct Case {
    const char* what;
    ZQCharMenuStruct menu;
    const ZQQualifierStruct* qualifier;
    const char* expected;
  } cases[] = {
      {"one label, sorted", queryMenu("Tickets", {kTitle}, kCount), nullptr,
       "Disk=3, Mouse=1, Printer=2"},
      {"in entry order", queryMenu("Tickets", {kTitle}, kCount, false), nullptr,
       "Printer=2, Mouse=1, Disk=3"},
      {"two labels", queryMenu("Tickets", {kCategory, kTitle}, kTitle), nullptr,
       "Hardware{Disk=Disk, Printer=Printer}, Peripheral{Mouse=Mouse}"},
      {"qualified", queryMenu("Tickets", {kTitle}, kCount), &counted, "Disk=3, Printer=2"},
      {"one row per label", queryMenu("Tickets", {kCategory}, kCategory), nullptr,
       "Hardware=Hardware, Peripheral=Peripheral"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.qualifier) c.menu.u.menuQuery.qualifier = *c.qualifier;
    EXPECT_EQ(expand(c.menu), c.expected);
  }
  // Inside a list menu, the query menu is expanded in place.
  ZQCharMenuStruct query = queryMenu("Tickets", {kTitle}, kCount);
  ZQCharMenuItemStruct item{};
  setName(item.label, "Tickets");
  item.type = ZQ_MENU_ITEM_MENU;
  item.u.childMenu = &query;
  ZQCharMenuStruct list{};
  list.menuType = ZQ_CHAR_MENU_LIST;
  list.u.menuList = {1, &item};
  EXPECT_EQ(expand(list), "Tickets{Disk=3, Mouse=1, Printer=2}");
}

TEST_F(ServerMenus, EachUserSeesOnlyWhatItMayRead) {
  Joe joe(*this);
  // Every form has the core fields.
  const std::string core =
      "Request ID=Request ID, Submitter=Submitter, Create Date=Create Date, Assigned To=Assigned "
      "To, Last Modified By=Last Modified By, Modified Date=Modified Date, Status=Status, "
      "Title=Title, Status History=Status History";
  ZQCharMenuStruct counts = dictionaryMenu(ZQ_MENU_DD_FIELD, "Tickets", 1);
  counts.u.menuDD.u.fieldDefn.fieldType = ZQ_DATA_TYPE_INTEGER;
  const struct {
    const char* what;
    ZQCharMenuStruct menu;
    std::string admin;
    std::string joe;
  } cases[] = {
      {"query menu", queryMenu("Tickets", {kTitle}, kCount), "Disk=3, Mouse=1, Printer=2",
       "Disk=3, Mouse=1, Printer=2"},
      {"query menu of a hidden field", queryMenu("Tickets", {kTitle}, kSecret),
       "Disk=pin, Mouse=pin, Printer=pin", "error 625"},
      {"query menu of a closed form", queryMenu("Payroll", {kTitle}, kTitle), "", "error 625"},
      {"form menu", dictionaryMenu(ZQ_MENU_DD_FORM), "Payroll=Payroll, Tickets=Tickets",
       "Tickets=Tickets"},
      {"field menu", dictionaryMenu(ZQ_MENU_DD_FIELD, "Tickets"),
       core + ", Category=Category, Count=Count, Secret=Secret",
       core + ", Category=Category, Count=Count"},
      {"integer fields by id", counts, "Count=536870914", "Count=536870914"},
      {"field menu of a closed form", dictionaryMenu(ZQ_MENU_DD_FIELD, "Payroll"), core,
       "error 625"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(expand(c.menu), c.admin);
    EXPECT_EQ(expand(&joe.control, c.menu), c.joe);
  }
}

TEST_F(ServerMenus, MenuFilesComeFromTheMenuFolderOnly) {
  menuFile("states", "# states\nOpen\\1\nClosed\n\t\tFixed\\2\n");
  menuFile("states.fr", "Ouvert\\1\n");
  EXPECT_EQ(expand(serverFile("states")), "Open=1, Closed{Fixed=2}");
  // The locale's variant first.
  strcpy(control_.locale, "fr_CA.UTF-8");
  EXPECT_EQ(expand(serverFile("states")), "Ouvert=1");
  control_.locale[0] = '\0';
  // A line nested with nothing above it names the file.
  menuFile("orphan", "\tOrphan\n");
  EXPECT_EQ(expand(serverFile("orphan")), "error 130");

  // Names that leave the folder are refused, a link out of it too; a file
  // that is not there cannot be opened.
  const std::string outside = ::testing::TempDir() + "zq-outside-" + std::to_string(getpid());
  std::ofstream(outside) << "Secret\\1\n";
  files_.push_back(outside);
  const std::string link = menuDir_ + "/link";
  ASSERT_EQ(symlink(outside.c_str(), link.c_str()), 0);
  files_.push_back(link);
  const std::string relative = "../" + outside.substr(outside.rfind('/') + 1);
  const struct {
    std::string name;
    const char* expected;
  } refused[] = {
      {relative, "error 646"}, {outside, "error 646"}, {"link", "error 646"},
      {"missing", "error 67"}, {"", "error 209"},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(expand(serverFile(c.name.c_str())), c.expected);
  }
}

TEST_F(ServerMenus, StoredMenusAreExpandedInTurn) {
  ZQCharMenuItemStruct items[2] = {};
  setName(items[0].label, "High");
  items[0].type = ZQ_MENU_ITEM_VALUE;
  items[0].u.value = const_cast<char*>("1");
  setName(items[1].label, "Low");
  items[1].type = ZQ_MENU_ITEM_VALUE;
  items[1].u.value = const_cast<char*>("2");
  ZQCharMenuStruct priorities{};
  priorities.menuType = ZQ_CHAR_MENU_LIST;
  priorities.u.menuList = {2, items};
  storeMenu("Priorities", priorities);
  storeMenu("Ticket titles", queryMenu("Tickets", {kTitle}, kCount));
  storeMenu("Loop", serverMenu("Loop"));

  // ZQExpandSSMenu hands back the stored definition as it is.
  ZQCharMenuSSStruct request{};
  setName(request.menuName, "Ticket titles");
  ZQCharMenuStruct out{};
  Status s;
  ASSERT_EQ(ZQExpandSSMenu(&control_, &request, &out, s.fresh()), 0) << messages(s);
  EXPECT_EQ(out.menuType, uint32_t{ZQ_CHAR_MENU_QUERY});
  EXPECT_STREQ(out.u.menuQuery.schemaName, "Tickets");
  FreeZQCharMenuStruct(&out, 0);

  EXPECT_EQ(expand(serverMenu("Priorities")), "High=1, Low=2");
  EXPECT_EQ(expand(serverMenu("Ticket titles")), "Disk=3, Mouse=1, Printer=2");
  // The stored query menu runs with the rights of the user who asks.
  Joe joe(*this);
  storeMenu("Payroll titles", queryMenu("Payroll", {kTitle}, kTitle));
  EXPECT_EQ(expand(&joe.control, serverMenu("Payroll titles")), "error 625");
  EXPECT_EQ(expand(serverMenu("Nowhere")), "error 307");
  EXPECT_EQ(expand(serverMenu("Loop")), "error 321");

  // A menu made through the definition calls expands the same way.
  ASSERT_EQ(ZQCreateCharMenu(&control_, "Created", 1, &priorities, nullptr, nullptr, nullptr,
                             nullptr, s.fresh()),
            0)
      << messages(s);
  EXPECT_EQ(expand(serverMenu("Created")), "High=1, Low=2");
}

TEST_F(ServerMenus, BadRequestsAreRefused) {
  ZQCharMenuStruct noLabel = queryMenu("Tickets", {}, kCount);
  ZQCharMenuStruct badKind = dictionaryMenu(ZQ_MENU_DD_FORM);
  badKind.u.menuDD.menuKind = 3;
  const struct {
    const char* what;
    ZQCharMenuStruct menu;
    const char* expected;
  } cases[] = {
      {"query menu on a missing form", queryMenu("Nowhere", {kTitle}, kTitle), "error 303"},
      {"query menu of a missing field", queryMenu("Tickets", {kTitle}, 99), "error 304"},
      {"query menu without a label", noLabel, "error 130 314"},
      {"query menu without a form", queryMenu("", {kTitle}, kTitle), "error 130 102"},
      {"field menu of a missing form", dictionaryMenu(ZQ_MENU_DD_FIELD, "Nowhere"), "error 303"},
      {"data-dictionary menu of no kind", badKind, "error 130"},
      {"server-side menu without a name", serverMenu(""), "error 130"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(expand(c.menu), c.expected);
  }

  // A list menu nested deeper than 64 levels.
  std::vector<ZQCharMenuStruct> levels(70);
  std::vector<ZQCharMenuItemStruct> items(70);
  for (size_t i = 0; i < levels.size(); ++i) {
    levels[i].menuType = ZQ_CHAR_MENU_LIST;
    setName(items[i].label, "Level");
    if (i + 1 < levels.size()) {
      items[i].type = ZQ_MENU_ITEM_MENU;
      items[i].u.childMenu = &levels[i + 1];
    } else {
      items[i].type = ZQ_MENU_ITEM_VALUE;
      items[i].u.value = const_cast<char*>("bottom");
    }
    levels[i].u.menuList = {1, &items[i]};
  }
  EXPECT_EQ(expand(levels[0]), "error 321");

  // ZQExpandSSMenu's own checks.
  ZQCharMenuSSStruct request{};
  ZQCharMenuStruct out{};
  Status s;
  EXPECT_EQ(ZQExpandSSMenu(&control_, &request, &out, s.fresh()), ZQ_RETURN_ERROR);
  EXPECT_TRUE(s.has(zq::kMsgBadCharMenu));
  EXPECT_EQ(ZQExpandSSMenu(&control_, nullptr, &out, s.fresh()), ZQ_RETURN_ERROR);
  setName(request.menuName, "Priorities");
  request.keywordList.count = 2;  // without items
  EXPECT_EQ(ZQExpandSSMenu(&control_, &request, &out, s.fresh()), ZQ_RETURN_ERROR);
  EXPECT_EQ(out.menuType, 0u);
  EXPECT_EQ(ZQExpandSSMenu(&control_, &request, &out, nullptr), ZQ_RETURN_BAD_STATUS);
}

}  // namespace
