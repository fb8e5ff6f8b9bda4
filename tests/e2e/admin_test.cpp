// Administration against zqserverd on loopback: users, groups and their
// permissions, settings and statistics, SQL, processes, cancel and
// impersonation, and the checks that fail before anything is sent.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "accounts.h"
#include "administration.h"
#include "entry_store.h"
#include "password_hash.h"
#include "sqlite_statement.h"
#include "store.h"
#include "frame/message_numbers.h"
#include "support/field_values.h"
#include "support/server_fixture.h"

using zqtest::Status;

namespace {

constexpr ZQInternalId kTitle = 536870913;
constexpr ZQInternalId kCount = 536870914;
constexpr ZQInternalId kSecret = 536870915;
constexpr ZQInternalId kStaff = 1000;
constexpr const char* kAccessKey = "k3y-for-tests";

using zqtest::integer;
using zqtest::text;

struct Values : ZQFieldValueList {
  Values() : ZQFieldValueList{0, nullptr} {}
  ~Values() { FreeZQFieldValueList(this, 0); }
  const ZQValueStruct* find(ZQInternalId id) const {
    for (uint32_t i = 0; i < count; ++i)
      if (items[i].fieldId == id) return &items[i].value;
    return nullptr;
  }
};

struct Rows : ZQValueListList {
  Rows() : ZQValueListList{0, nullptr} {}
  ~Rows() { FreeZQValueListList(this, 0); }
};

struct Settings : ZQServerInfoList {
  Settings() : ZQServerInfoList{0, nullptr} {}
  ~Settings() { FreeZQServerInfoList(this, 0); }
};

struct Ids {
  ZQEntryIdType id{};
  ZQEntryIdList list{1, &id};
  explicit Ids(const std::string& s) { memcpy(id, s.data(), std::min(s.size(), sizeof id - 1)); }
};

ZQServerInfoStruct intSetting(uint32_t n, int32_t x) {
  ZQServerInfoStruct s{};
  s.operation = n;
  s.value.dataType = ZQ_DATA_TYPE_INTEGER;
  s.value.u.integerValue = x;
  return s;
}

ZQServerInfoStruct textSetting(uint32_t n, const char* t) {
  ZQServerInfoStruct s{};
  s.operation = n;
  s.value.dataType = ZQ_DATA_TYPE_CHAR;
  s.value.u.charValue = strdup(t);  // the call may replace it (password settings)
  return s;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

// Each call empties the list it is given without releasing what it held:
// the list a test reuses is released before every call.
ZQStatusList* fresh(Status& s) {
  s.reset();
  return &s;
}

std::string messageList(const Status& s) {
  std::string out;
  for (uint32_t i = 0; i < s.count; ++i)
    out += std::to_string(s.items[i].messageNumber) + " " +
           (s.items[i].appended ? s.items[i].appended : "") + "; ";
  return out;
}

}  // namespace

// ---- a server with users -----------------------------------------------------------------

// The store gets its users the way an installation would: the first user
// through the private context of an empty store (an administrator), the
// rest with the access key.
class Accounts : public zqtest::ServerTest {
 protected:
  void configure(zqserver::Options& o) override {
    o.accessKey = kAccessKey;
    o.database = dbPath_;
  }

  void SetUp() override {
    dbPath_ = ::testing::TempDir() + "zq-accounts-" + std::to_string(getpid()) + ".db";
    unlink(dbPath_.c_str());
    zqtest::ServerTest::SetUp();
    if (HasFatalFailure()) return;
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store
                    .createForm("Tickets", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"},
                                            {kCount, ZQ_DATA_TYPE_INTEGER, "Count"},
                                            {kSecret, ZQ_DATA_TYPE_CHAR, "Secret"}})
                    .ok());
    ASSERT_TRUE(store.createForm("Payroll", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"}}).ok());
    Status s;
    ZQInternalId admins[] = {zqserver::kGroupAdministrator};
    ZQInternalIdList adminGroups{1, admins};
    ASSERT_EQ(createUser("", "Admin", "Adm1n-pw", &adminGroups, s), 0) << messageList(s);
    ASSERT_EQ(ZQCreateGroup("127.0.0.1", port(), kAccessKey, "Staff", "Staff members", kStaff,
                            ZQ_GROUP_TYPE_CHANGE, "", 0, 0, fresh(s)),
              0)
        << messageList(s);
    ZQInternalId staff[] = {kStaff};
    ZQInternalIdList staffGroups{1, staff};
    ASSERT_EQ(createUser(kAccessKey, "Joe", "Jo3-pw", &staffGroups, s), 0) << messageList(s);
    logIn(&control_, "Admin", "Adm1n-pw");
  }

  void TearDown() override {
    zqtest::ServerTest::TearDown();
    unlink(dbPath_.c_str());
  }

  int32_t port() { return server_->port(); }

  int createUser(const char* key, const char* name, const char* password,
                 const ZQInternalIdList* groups, Status& s) {
    ZQUserLicenseStruct license{};
    return ZQCreateUser("127.0.0.1", port(), key, name, password, "", 0, groups, &license, name, "",
                        fresh(s));
  }

  void logIn(ZQControlStruct* c, const char* user, const char* password) {
    strncpy(c->user, user, sizeof c->user - 1);
    strncpy(c->password, password, sizeof c->password - 1);
  }

  // A control record of its own for a user.
  struct Login {
    ZQControlStruct control = zqtest::makeControl("", "127.0.0.1");
    Login(Accounts& t, const char* user, const char* password) {
      t.logIn(&control, user, password);
      Status s;
      EXPECT_LT(ZQInitialization(&control, fresh(s)), 2);
      t.usePort(&control);
    }
    ~Login() {
      Status s;
      ZQTermination(&control, fresh(s));
    }
  };

  std::string createTicket(ZQControlStruct* c, std::vector<ZQFieldValueStruct> values, Status& s) {
    ZQFieldValueList list{static_cast<uint32_t>(values.size()), values.data()};
    ZQEntryIdType id = "";
    ZQCreateEntry(c, "Tickets", &list, id, fresh(s));
    return id;
  }

  // Permissions travel as parts of the definitions, set by an administrator.
  void setPermissions(const char* form, std::vector<ZQPermissionStruct> perms) {
    ZQPermissionList list{static_cast<uint32_t>(perms.size()), perms.data()};
    Status s;
    ASSERT_EQ(ZQSetSchema(&control_, form, nullptr, nullptr, nullptr, &list, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, 0, fresh(s)),
              0)
        << messageList(s);
  }
  void setFieldPermissions(ZQInternalId field, std::vector<ZQPermissionStruct> perms) {
    ZQPermissionList list{static_cast<uint32_t>(perms.size()), perms.data()};
    Status s;
    ASSERT_EQ(ZQSetField(&control_, "Tickets", field, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, &list, nullptr, nullptr, nullptr, nullptr, nullptr, 0, fresh(s)),
              0)
        << messageList(s);
  }

  std::string dbPath_;
};

TEST_F(Accounts, EveryCallIsAuthenticated) {
  struct Case {
    const char* user;
    const char* password;
    bool admitted;
  } cases[] = {
      {"Admin", "Adm1n-pw", true}, {"Joe", "Jo3-pw", true},   {"JOE", "Jo3-pw", true},
      {"Joe", "Jo3-PW", false},    {"Joe", "", false},        {"Nobody", "Jo3-pw", false},
      {"Admin", "Jo3-pw", false},  {"AccessUser", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.user) + "/" + c.password);
    Login login(*this, c.user, c.password);
    Status s;
    ZQBoolean administrator = 2;
    const int rc = ZQVerifyUser(&login.control, &administrator, nullptr, nullptr, fresh(s));
    if (c.admitted) {
      EXPECT_EQ(rc, 0) << messageList(s);
      EXPECT_EQ(administrator, strcmp(c.user, "Admin") == 0 ? 1 : 0);
    } else {
      EXPECT_EQ(rc, 2);
      EXPECT_TRUE(s.has(zq::kMsgAuthenticationFailed)) << messageList(s);
    }
  }
  // The access user of the private contexts learns settings only.
  Login access(*this, "AccessUser", "");
  Status s;
  EXPECT_EQ(ping(&access.control, s), 0) << messageList(s);
}

TEST_F(Accounts, AdministratorOnlyCallsAreRefusedToOthers) {
  Login joe(*this, "Joe", "Jo3-pw");
  ZQControlStruct* c = &joe.control;
  const std::vector<std::pair<const char*, std::function<int(ZQControlStruct*, Status&)>>> calls = {
      {"ZQSetServerInfo",
       [](ZQControlStruct* c, Status& s) {
         ZQServerInfoStruct item = intSetting(333, 100);
         ZQServerInfoList list{1, &item};
         return ZQSetServerInfo(c, &list, fresh(s));
       }},
      {"ZQGetListSQL",
       [](ZQControlStruct* c, Status& s) {
         Rows rows;
         return ZQGetListSQL(c, "SELECT 1", 0, &rows, nullptr, fresh(s));
       }},
      {"ZQExecuteProcess",
       [](ZQControlStruct* c, Status& s) {
         int32_t status = 0;
         return ZQExecuteProcess(c, "true", &status, nullptr, fresh(s));
       }},
      {"ZQSignal",
       [](ZQControlStruct* c, Status& s) {
         ZQSignalStruct signal{ZQ_SIGNAL_DEFINITIONS_CHANGED, nullptr};
         ZQSignalList list{1, &signal};
         return ZQSignal(c, &list, fresh(s));
       }},
      {"ZQSetApplicationState",
       [](ZQControlStruct* c, Status& s) {
         return ZQSetApplicationState(c, "Desk", "Test", fresh(s));
       }},
      {"ZQGetListExtSchemaCandidates",
       [](ZQControlStruct* c, Status& s) {
         ZQCompoundSchemaList forms{0, nullptr};
         const int rc = ZQGetListExtSchemaCandidates(c, ZQ_SCHEMA_VIEW, &forms, fresh(s));
         FreeZQCompoundSchemaList(&forms, 0);
         return rc;
       }},
      {"ZQGetListGroup of another user",
       [](ZQControlStruct* c, Status& s) {
         ZQGroupInfoList groups{0, nullptr};
         const int rc = ZQGetListGroup(c, "Admin", nullptr, &groups, fresh(s));
         FreeZQGroupInfoList(&groups, 0);
         return rc;
       }},
  };
  for (const auto& [name, call] : calls) {
    SCOPED_TRACE(name);
    Status s;
    EXPECT_EQ(call(c, s), 2);
    EXPECT_TRUE(s.has(zq::kMsgAdministratorRequired)) << messageList(s);
  }
  // Nothing changed: the setting is still unset and the administrator's
  // own call still works.
  Settings out;
  Status s;
  ASSERT_EQ(serverInfo(&control_, {333}, &out, s), 0) << messageList(s);
  EXPECT_NE(out.items[0].value.u.integerValue, 100);
  // Joe may list his own groups, with his password checked.
  ZQGroupInfoList groups{0, nullptr};
  EXPECT_EQ(ZQGetListGroup(c, "Joe", "Jo3-pw", &groups, fresh(s)), 0) << messageList(s);
  std::vector<ZQInternalId> ids;
  for (uint32_t i = 0; i < groups.count; ++i) ids.push_back(groups.items[i].groupId);
  EXPECT_NE(std::find(ids.begin(), ids.end(), kStaff), ids.end());
  EXPECT_EQ(std::find(ids.begin(), ids.end(), zqserver::kGroupAdministrator), ids.end());
  FreeZQGroupInfoList(&groups, 0);
  EXPECT_EQ(ZQGetListGroup(c, "Joe", "wrong", &groups, fresh(s)), 2);
  EXPECT_TRUE(s.has(zq::kMsgAuthenticationFailed));
}

// Filters are definitions: only an administrator creates, changes or
// deletes them, and a refused call leaves the filter as it was.
TEST_F(Accounts, FilterDefinitionsAreForAdministrators) {
  char tickets[sizeof(ZQNameType)] = "Tickets";
  ZQNameList forms{1, reinterpret_cast<ZQNameType*>(tickets)};
  ZQWorkflowConnectStruct connection{};
  connection.type = ZQ_WORKFLOW_CONN_SCHEMA_LIST;
  connection.schemaList = &forms;
  ZQFilterActionStruct message{};
  message.action = ZQ_FILTER_ACTION_MESSAGE;
  message.u.message = {ZQ_MESSAGE_NOTE, 10001, const_cast<char*>("hello")};
  ZQFilterActionList actions{1, &message};
  auto create = [&](ZQControlStruct* c, const char* name, Status& s) {
    return ZQCreateFilter(c, name, 1, &connection, ZQ_OPERATION_CREATE, 1, nullptr, &actions,
                          nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, fresh(s));
  };
  Status s;
  ASSERT_EQ(create(&control_, "Greeting", s), 0) << messageList(s);

  Login joe(*this, "Joe", "Jo3-pw");
  uint32_t order = 7;
  const std::vector<std::pair<const char*, std::function<int(Status&)>>> calls = {
      {"ZQCreateFilter", [&](Status& s) { return create(&joe.control, "Mine", s); }},
      {"ZQSetFilter",
       [&](Status& s) {
         return ZQSetFilter(&joe.control, "Greeting", nullptr, &order, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, fresh(s));
       }},
      {"ZQDeleteFilter",
       [&](Status& s) { return ZQDeleteFilter(&joe.control, "Greeting", 0, fresh(s)); }},
  };
  for (const auto& [name, call] : calls) {
    SCOPED_TRACE(name);
    EXPECT_EQ(call(s), 2);
    EXPECT_TRUE(s.has(zq::kMsgAdministratorRequired)) << messageList(s);
  }
  uint32_t stored = 0;
  ASSERT_EQ(ZQGetFilter(&control_, "Greeting", &stored, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, fresh(s)),
            0)
      << messageList(s);
  EXPECT_EQ(stored, 1u);
  ZQNameList names{0, nullptr};
  ASSERT_EQ(ZQGetListFilter(&control_, nullptr, 0, nullptr, &names, fresh(s)), 0);
  EXPECT_EQ(names.count, 1u) << "nothing was created for Joe";
  FreeZQNameList(&names, 0);
}

TEST_F(Accounts, UserListsByType) {
  Login joe(*this, "Joe", "Jo3-pw");
  Status s;
  ASSERT_EQ(ping(&joe.control, s), 0) << messageList(s);
  struct Case {
    uint32_t type;
    std::vector<std::string> names;
  } cases[] = {
      {ZQ_USER_LIST_MYSELF, {"Admin"}},
      {ZQ_USER_LIST_REGISTERED, {"Admin", "Joe"}},
      {ZQ_USER_LIST_CURRENT, {"Joe"}},  // Admin's own session opens with this call
      {ZQ_USER_LIST_INVALID, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    ZQUserInfoList users{0, nullptr};
    ASSERT_EQ(ZQGetListUser(&control_, c.type, 0, &users, fresh(s)), 0) << messageList(s);
    std::vector<std::string> names;
    for (uint32_t i = 0; i < users.count; ++i) names.push_back(users.items[i].userName);
    std::sort(names.begin(), names.end());
    if (c.type == ZQ_USER_LIST_CURRENT) {
      EXPECT_NE(std::find(names.begin(), names.end(), "Joe"), names.end());
    } else {
      EXPECT_EQ(names, c.names);
    }
    FreeZQUserInfoList(&users, 0);
  }
}

TEST_F(Accounts, PrivateContextsNeedTheAccessKeyOnceUsersExist) {
  Status s;
  ZQInternalId staff[] = {kStaff};
  ZQInternalIdList groups{1, staff};
  EXPECT_EQ(createUser("wrong-key", "Mallory", "x", &groups, s), 2);
  EXPECT_TRUE(s.has(zq::kMsgAccessKeyRefused)) << messageList(s);
  EXPECT_FALSE(server_->accounts().user("Mallory"));
  EXPECT_EQ(ZQDeleteUser("127.0.0.1", port(), "", "Joe", fresh(s)), 2);
  EXPECT_TRUE(server_->accounts().user("Joe"));

  // Deleting a user ends its sessions and its logins.
  Login joe(*this, "Joe", "Jo3-pw");
  ASSERT_EQ(ping(&joe.control, s), 0) << messageList(s);
  ASSERT_EQ(ZQDeleteUser("127.0.0.1", port(), kAccessKey, "Joe", fresh(s)), 0) << messageList(s);
  EXPECT_EQ(ping(&joe.control, s), 2);
  EXPECT_TRUE(s.has(zq::kMsgAuthenticationFailed));
  // A duplicate group and an unknown one are refused.
  EXPECT_EQ(ZQCreateGroup("127.0.0.1", port(), kAccessKey, "Staff", "", 0, ZQ_GROUP_TYPE_VIEW, "",
                          0, 0, fresh(s)),
            2);
  EXPECT_EQ(ZQDeleteGroup("127.0.0.1", port(), kAccessKey, "NoSuchGroup", fresh(s)), 2);
  EXPECT_EQ(ZQDeleteGroup("127.0.0.1", port(), kAccessKey, "Staff", fresh(s)), 0) << messageList(s);
}

TEST_F(Accounts, GroupPermissionsHideFieldsAndGuardChanges) {
  // Tickets: staff may change entries; Title is read-only for staff, Secret
  // administrators only, Count open. Payroll: administrators only.
  setPermissions("Tickets", {{kStaff, ZQ_PERMISSIONS_CHANGE}});
  setPermissions("Payroll", {{zqserver::kGroupAdministrator, ZQ_PERMISSIONS_CHANGE}});
  setFieldPermissions(kTitle, {{kStaff, ZQ_PERMISSIONS_VIEW}});
  setFieldPermissions(kSecret, {{zqserver::kGroupAdministrator, ZQ_PERMISSIONS_CHANGE}});
  Status s;
  const std::string id = createTicket(
      &control_, {text(kTitle, "Printer"), integer(kCount, 1), text(kSecret, "pin")}, s);
  ASSERT_FALSE(id.empty()) << messageList(s);

  Login joe(*this, "Joe", "Jo3-pw");
  Ids ids(id);
  Values v;
  ASSERT_EQ(ZQGetEntry(&joe.control, "Tickets", &ids.list, nullptr, &v, fresh(s)), 0)
      << messageList(s);
  ASSERT_TRUE(v.find(kTitle));
  EXPECT_STREQ(v.find(kTitle)->u.charValue, "Printer");
  EXPECT_FALSE(v.find(kSecret)) << "a hidden field came back";
  // Queries leave it out too: all fields of the first entry, and the values
  // of several entries (the hidden one keeps its place, without a value).
  ZQEntryListFieldValueList entries{0, nullptr};
  uint32_t matches = 0;
  ASSERT_EQ(ZQGetOneEntryWithFields(&joe.control, "Tickets", nullptr, nullptr, nullptr, 0, &entries,
                                    &matches, fresh(s)),
            0)
      << messageList(s);
  ASSERT_EQ(entries.count, 1u);
  bool titleSeen = false;
  for (uint32_t i = 0; i < entries.items[0].fieldValues->count; ++i) {
    const ZQFieldValueStruct& fv = entries.items[0].fieldValues->items[i];
    EXPECT_NE(fv.fieldId, kSecret) << "a hidden field came back from a query";
    titleSeen |= fv.fieldId == kTitle;
  }
  EXPECT_TRUE(titleSeen);
  FreeZQEntryListFieldValueList(&entries, 0);
  ZQEntryIdListList idLists{1, &ids.list};
  ZQInternalId both[] = {kTitle, kSecret};
  ZQInternalIdList wanted{2, both};
  ZQBooleanList exists{0, nullptr};
  ZQFieldValueListList several{0, nullptr};
  ASSERT_EQ(
      ZQGetMultipleEntries(&joe.control, "Tickets", &idLists, &wanted, &exists, &several, fresh(s)),
      0)
      << messageList(s);
  ASSERT_EQ(several.count, 1u);
  ASSERT_EQ(several.items[0].count, 2u);
  EXPECT_STREQ(several.items[0].items[0].value.u.charValue, "Printer");
  EXPECT_EQ(several.items[0].items[1].value.dataType, uint32_t{ZQ_DATA_TYPE_NULL});
  FreeZQFieldValueListList(&several, 0);
  FreeZQBooleanList(&exists, 0);
  // Nor may a query qualify by the hidden field: which entries match would
  // tell its value.
  ZQRelOpStruct relation{};
  relation.operation = ZQ_REL_OP_EQUAL;
  relation.left.tag = ZQ_FIELD;
  relation.left.u.fieldId = kSecret;
  relation.right.tag = ZQ_VALUE;
  relation.right.u.value.dataType = ZQ_DATA_TYPE_CHAR;
  relation.right.u.value.u.charValue = const_cast<char*>("pin");
  ZQQualifierStruct guess{};
  guess.operation = ZQ_COND_OP_REL_OP;
  guess.u.relation = &relation;
  EXPECT_EQ(ZQGetOneEntryWithFields(&joe.control, "Tickets", &guess, nullptr, nullptr, 0, &entries,
                                    &matches, fresh(s)),
            2);
  EXPECT_TRUE(s.has(zq::kMsgNoFormAccess)) << messageList(s);
  EXPECT_EQ(entries.count, 0u);

  struct Change {
    std::vector<ZQFieldValueStruct> values;
    int32_t refusal;  // 0: allowed
  } changes[] = {
      {{integer(kCount, 2)}, 0},
      {{text(kTitle, "Mine")}, zq::kMsgFieldNotChangeable},
      {{integer(kCount, 3), text(kSecret, "guess")}, zq::kMsgFieldNotChangeable},
  };
  for (Change& c : changes) {
    ZQFieldValueList list{static_cast<uint32_t>(c.values.size()), c.values.data()};
    const int rc = ZQSetEntry(&joe.control, "Tickets", &ids.list, &list, 0, 0, fresh(s));
    if (c.refusal) {
      EXPECT_EQ(rc, 2);
      EXPECT_TRUE(s.has(c.refusal)) << messageList(s);
    } else {
      EXPECT_EQ(rc, 0) << messageList(s);
    }
  }
  // Only the allowed change reached the store.
  Values stored;
  ASSERT_EQ(ZQGetEntry(&control_, "Tickets", &ids.list, nullptr, &stored, fresh(s)), 0);
  EXPECT_EQ(stored.find(kCount)->u.integerValue, 2);
  EXPECT_STREQ(stored.find(kTitle)->u.charValue, "Printer");
  EXPECT_STREQ(stored.find(kSecret)->u.charValue, "pin");

  // A form without a permission for the user: neither read nor written.
  ZQEntryIdType created = "";
  ZQFieldValueStruct title = text(kTitle, "raise");
  ZQFieldValueList one{1, &title};
  EXPECT_EQ(ZQCreateEntry(&joe.control, "Payroll", &one, created, fresh(s)), 2);
  EXPECT_TRUE(s.has(zq::kMsgNoFormAccess)) << messageList(s);
  EXPECT_EQ(ZQCreateEntry(&control_, "Payroll", &one, created, fresh(s)), 0) << messageList(s);
  Ids payroll(created);
  Values none;
  EXPECT_EQ(ZQGetEntry(&joe.control, "Payroll", &payroll.list, nullptr, &none, fresh(s)), 2);
  EXPECT_TRUE(s.has(zq::kMsgNoFormAccess)) << messageList(s);
}

TEST_F(Accounts, ImpersonationRunsWithTheOtherUsersRights) {
  Status s;
  ZQBoolean administrator = 0;
  ASSERT_EQ(ZQSetImpersonatedUser(&control_, "Joe", fresh(s)), 0) << messageList(s);
  ASSERT_EQ(ZQVerifyUser(&control_, &administrator, nullptr, nullptr, fresh(s)), 0)
      << messageList(s);
  EXPECT_EQ(administrator, 0);
  std::string user, impersonated;
  ASSERT_TRUE(server_->sessions().owner(control_.cacheId, user, impersonated));
  EXPECT_EQ(user, "Admin");
  EXPECT_EQ(impersonated, "Joe");
  // Entries are submitted in the impersonated name.
  const std::string id = createTicket(&control_, {text(kTitle, "On behalf")}, s);
  ASSERT_FALSE(id.empty()) << messageList(s);
  ZQFieldValueList stored{};
  ASSERT_TRUE(zqserver::EntryStore(server_->store()).get("Tickets", id, nullptr, stored).ok());
  const ZQValueStruct* submitter = nullptr;
  for (uint32_t i = 0; i < stored.count; ++i)
    if (stored.items[i].fieldId == zqserver::kFieldSubmitter) submitter = &stored.items[i].value;
  ASSERT_TRUE(submitter);
  EXPECT_STREQ(submitter->u.charValue, "Joe");
  FreeZQFieldValueList(&stored, 0);

  // Ending it ends the impersonating session (procedure 47).
  const size_t ended = server_->sessions().ended();
  ASSERT_EQ(ZQSetImpersonatedUser(&control_, nullptr, fresh(s)), 0) << messageList(s);
  EXPECT_EQ(server_->sessions().ended(), ended + 1);
  ASSERT_EQ(ZQVerifyUser(&control_, &administrator, nullptr, nullptr, fresh(s)), 0);
  EXPECT_EQ(administrator, 1);

  // Only administrators impersonate.
  Login joe(*this, "Joe", "Jo3-pw");
  const int rc = ZQSetImpersonatedUser(&joe.control, "Admin", fresh(s));
  if (rc == 0) {
    EXPECT_EQ(ZQVerifyUser(&joe.control, &administrator, nullptr, nullptr, fresh(s)), 2);
  }
  EXPECT_TRUE(s.has(zq::kMsgImpersonationRefused)) << messageList(s);
}

TEST_F(Accounts, NoPasswordIsStoredOrLoggedInClear) {
  std::string logPath = dbPath_ + ".log";
  FILE* log = fopen(logPath.c_str(), "w");
  ASSERT_TRUE(log);
  Status s;
  ASSERT_EQ(ZQSetLogging(&control_, 0x13, ZQ_SERVER_LOG_TO_FILE, log, fresh(s)), 0)
      << messageList(s);
  // A password-bearing setting, a password check and a new user.
  ZQServerInfoStruct setting = textSetting(151, "Setting-pw-77");
  ZQServerInfoList list{1, &setting};
  EXPECT_EQ(ZQSetServerInfo(&control_, &list, fresh(s)), 0) << messageList(s);
  FreeZQValueStruct(&setting.value, 0);
  ZQGroupInfoList groups{0, nullptr};
  EXPECT_EQ(ZQGetListGroup(&control_, "Joe", "Jo3-pw", &groups, fresh(s)), 0) << messageList(s);
  FreeZQGroupInfoList(&groups, 0);
  EXPECT_EQ(createUser(kAccessKey, "Ann", "Ann-pw-42", nullptr, s), 0) << messageList(s);
  Settings back;
  ASSERT_EQ(serverInfo(&control_, {151}, &back, s), 0) << messageList(s);
  ASSERT_EQ(back.items[0].value.dataType, uint32_t{ZQ_DATA_TYPE_CHAR});
  EXPECT_EQ(std::string(back.items[0].value.u.charValue).find("Setting-pw"), std::string::npos);
  // The administrator's SQL does not see the hashes either.
  Rows rows;
  ASSERT_EQ(ZQGetListSQL(&control_, "SELECT name, password_hash FROM zq_users", 0, &rows, nullptr,
                         fresh(s)),
            0)
      << messageList(s);
  ASSERT_EQ(rows.count, 3u);
  for (uint32_t i = 0; i < rows.count; ++i)
    EXPECT_EQ(rows.items[i].items[1].dataType, uint32_t{ZQ_DATA_TYPE_NULL});
  ASSERT_EQ(ZQSetLogging(&control_, 0, 0, nullptr, fresh(s)), 0);  // the file is ours to close
  fclose(log);

  server_->stop();  // every write reached the file
  const std::string db = readFile(dbPath_) + readFile(dbPath_ + "-wal");
  const std::string logged = readFile(logPath);
  ASSERT_FALSE(db.empty());
  EXPECT_NE(db.find("pbkdf2-sha256$"), std::string::npos);
  for (const char* password : {"Adm1n-pw", "Jo3-pw", "Ann-pw-42", "Setting-pw-77"}) {
    SCOPED_TRACE(password);
    EXPECT_EQ(db.find(password), std::string::npos);
    EXPECT_EQ(logged.find(password), std::string::npos);
  }
  unlink(logPath.c_str());
}

// Alerts belong to their users: a user who is not an administrator counts
// only the alerts addressed to him.
TEST_F(Accounts, AlertCountIsTheCallersOwnUnlessAdministrator) {
  Status s;
  for (const char* user : {"Joe", "Admin", "Admin"}) {
    ZQEntryIdType id = "";
    ASSERT_EQ(ZQCreateAlertEvent(&control_, user, "disk full", 1, nullptr, nullptr, nullptr,
                                 nullptr, id, fresh(s)),
              0)
        << messageList(s);
  }
  uint32_t count = 0;
  ASSERT_EQ(ZQGetAlertCount(&control_, nullptr, &count, fresh(s)), 0) << messageList(s);
  EXPECT_EQ(count, 3u);
  Login joe(*this, "Joe", "Jo3-pw");
  ASSERT_EQ(ZQGetAlertCount(&joe.control, nullptr, &count, fresh(s)), 0) << messageList(s);
  EXPECT_EQ(count, 1u);
}

// ---- an open server ------------------------------------------------------------------------

class Administration : public zqtest::ServerTest {
 protected:
  uint64_t received() { return server_->faults().callsReceived.load(); }

  int32_t statistic(uint32_t n) {
    ZQServerInfoRequestList request{1, &n};
    Settings out;
    Status s;
    EXPECT_EQ(ZQGetServerStatistics(&control_, &request, &out, fresh(s)), 0) << messageList(s);
    return out.count ? out.items[0].value.u.integerValue : -1;
  }
};

TEST_F(Administration, SettingsAreStoredAndReadBack) {
  Status s;
  ZQServerInfoStruct items[] = {intSetting(333, 4096), textSetting(320, "ops@example.org")};
  ZQServerInfoList list{2, items};
  ASSERT_EQ(ZQSetServerInfo(&control_, &list, fresh(s)), 0) << messageList(s);
  FreeZQValueStruct(&items[1].value, 0);
  Settings out;
  ASSERT_EQ(serverInfo(&control_, {333, 320, 4}, &out, s), 0) << messageList(s);
  ASSERT_EQ(out.count, 3u);
  EXPECT_EQ(out.items[0].value.u.integerValue, 4096);
  EXPECT_STREQ(out.items[1].value.u.charValue, "ops@example.org");
  EXPECT_STREQ(out.items[2].value.u.charValue, "7.5.00 Patch 004");
}

TEST_F(Administration, BadRequestsFailBeforeSending) {
  const uint64_t before = received();
  struct SettingCase {
    ZQServerInfoStruct item;
    int32_t message;
  } settings[] = {
      {textSetting(333, "64"), zq::kMsgSettingWrongType},  // an integer setting
      {intSetting(334, 1), zq::kMsgUnknownServerSetting},  // beyond the last
      {intSetting(312, 1), zq::kMsgSettingReadOnly},       // read-only
      {intSetting(320, 1), zq::kMsgSettingWrongType},      // a text setting
  };
  ZQServerInfoStruct items[4];
  for (int i = 0; i < 4; ++i) items[i] = settings[i].item;
  ZQServerInfoList list{4, items};
  Status s;
  EXPECT_EQ(ZQSetServerInfo(&control_, &list, fresh(s)), 2);
  // Every bad item is reported with its number.
  for (const SettingCase& c : settings) {
    SCOPED_TRACE(c.item.operation);
    bool found = false;
    for (uint32_t i = 0; i < s.count; ++i)
      found |= s.items[i].messageNumber == c.message && s.items[i].appended &&
               std::to_string(c.item.operation) == s.items[i].appended;
    EXPECT_TRUE(found) << messageList(s);
  }
  FreeZQValueStruct(&items[0].value, 0);

  // Settings 0 and 10 asked together: both reported.
  Settings out;
  EXPECT_EQ(serverInfo(&control_, {4, 0, 10}, &out, s), 2);
  EXPECT_TRUE(s.has(zq::kMsgUnknownServerSetting)) << messageList(s);
  EXPECT_TRUE(s.has(zq::kMsgSettingNotReadable)) << messageList(s);

  struct Local {
    const char* name;
    std::function<int(ZQControlStruct*, Status&)> call;
    int32_t message;
  } locals[] = {
      {"statistic 75",
       [](ZQControlStruct* c, Status& s) {
         uint32_t n[] = {74, 75};
         ZQServerInfoRequestList request{2, n};
         Settings out;
         return ZQGetServerStatistics(c, &request, &out, fresh(s));
       },
       zq::kMsgBadServerStatistic},
      {"user list type 5",
       [](ZQControlStruct* c, Status& s) {
         ZQUserInfoList users{0, nullptr};
         return ZQGetListUser(c, 5, 0, &users, fresh(s));
       },
       zq::kMsgBadUserListType},
      {"session configuration 10",
       [](ZQControlStruct* c, Status& s) {
         ZQValueStruct v{};
         v.dataType = ZQ_DATA_TYPE_INTEGER;
         return ZQSetSessionConfiguration(c, 10, &v, fresh(s));
       },
       zq::kMsgUnknownSessionConfiguration},
      {"form type 6",
       [](ZQControlStruct* c, Status& s) {
         ZQCompoundSchemaList forms{0, nullptr};
         return ZQGetListExtSchemaCandidates(c, 6, &forms, fresh(s));
       },
       zq::kMsgNullArgument},
  };
  for (const Local& c : locals) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.call(&control_, s), 2);
    EXPECT_TRUE(s.has(c.message)) << messageList(s);
  }
  EXPECT_EQ(received(), before) << "a refused request reached the server";
}

TEST_F(Administration, LocalAnswersNeedNoServer) {
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);
  const uint64_t before = received();
  ZQLocalizedRequestStruct request{};
  strcpy(request.name, "93");
  request.messageType = ZQ_LOCAL_TEXT_SYSTEM_MESSAGE;
  ZQValueStruct value{};
  ZQTimestamp when = 1;
  EXPECT_EQ(ZQGetLocalizedValue(&control_, &request, &value, &when, fresh(s)), 0) << messageList(s);
  EXPECT_EQ(value.dataType, uint32_t{ZQ_DATA_TYPE_NULL});
  EXPECT_EQ(when, 0);

  // The ratio walk over a set sorted by key.
  const char* set = "USDEUR0.92/USDJPY151.3";
  struct Ratio {
    const char* from;
    const char* to;
    const char* expected;  // null: no ratio
  } ratios[] = {
      {"USD", "EUR", "0.92"},  {"USD", "JPY", "151.3"}, {"USD", "GBP", nullptr},
      {"EUR", "USD", nullptr}, {"AAA", "BBB", nullptr}, {"ZZZ", "ZZZ", nullptr},
  };
  for (const Ratio& r : ratios) {
    SCOPED_TRACE(std::string(r.from) + r.to);
    ZQValueStruct ratio{};
    ASSERT_EQ(ZQGetCurrencyRatio(&control_, set, r.from, r.to, &ratio, fresh(s)), 0)
        << messageList(s);
    if (r.expected) {
      ASSERT_EQ(ratio.dataType, uint32_t{ZQ_DATA_TYPE_DECIMAL});
      EXPECT_STREQ(ratio.u.decimalValue, r.expected);
    } else {
      EXPECT_EQ(ratio.dataType, uint32_t{ZQ_DATA_TYPE_NULL});
    }
    FreeZQValueStruct(&ratio, 0);
  }
  EXPECT_EQ(received(), before);

  // Other texts come from the server, its catalog or its table.
  strcpy(request.name, "624");
  ASSERT_EQ(ZQGetLocalizedValue(&control_, &request, &value, &when, fresh(s)), 0) << messageList(s);
  ASSERT_EQ(value.dataType, uint32_t{ZQ_DATA_TYPE_CHAR});
  EXPECT_GT(strlen(value.u.charValue), 0u);
  FreeZQValueStruct(&value, 0);
}

TEST_F(Administration, StatisticsCountCalls) {
  const int32_t calls = statistic(1);
  const int32_t errors = statistic(7);
  Status s;
  for (int i = 0; i < 3; ++i) ASSERT_EQ(ping(&control_, s), 0);
  ZQEntryIdType id = "";
  ZQFieldValueList none{0, nullptr};
  EXPECT_EQ(ZQCreateEntry(&control_, "NoSuchForm", &none, id, fresh(s)), 2);
  // Three pings, the failed create and the first statistics call itself.
  EXPECT_GE(statistic(1), calls + 5);
  EXPECT_EQ(statistic(7), errors + 1);
  EXPECT_GE(statistic(8), 1);  // sessions opened
  EXPECT_EQ(statistic(74), 0);

  // Entries created, changed and deleted.
  ASSERT_TRUE(zqserver::EntryStore(server_->store())
                  .createForm("Tickets", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"}})
                  .ok());
  const int32_t created = statistic(2), changed = statistic(3), deleted = statistic(4);
  ZQFieldValueStruct title = text(kTitle, "one");
  ZQFieldValueList values{1, &title};
  ASSERT_EQ(ZQCreateEntry(&control_, "Tickets", &values, id, fresh(s)), 0) << messageList(s);
  Ids ids(id);
  ASSERT_EQ(ZQSetEntry(&control_, "Tickets", &ids.list, &values, 0, 0, fresh(s)), 0)
      << messageList(s);
  ASSERT_EQ(ZQDeleteEntry(&control_, "Tickets", &ids.list, 0, fresh(s)), 0) << messageList(s);
  EXPECT_EQ(statistic(2), created + 1);
  EXPECT_EQ(statistic(3), changed + 1);
  EXPECT_EQ(statistic(4), deleted + 1);
}

TEST_F(Administration, SqlReadsTheStoreWithItsTypes) {
  Status s;
  Rows rows;
  uint32_t matches = 0;
  ASSERT_EQ(ZQGetListSQL(&control_, "SELECT 7, 2.5, 'text', NULL, x'00ff', 5000000000", 0, &rows,
                         &matches, fresh(s)),
            0)
      << messageList(s);
  ASSERT_EQ(rows.count, 1u);
  ASSERT_EQ(rows.items[0].count, 6u);
  const ZQValueStruct* v = rows.items[0].items;
  EXPECT_EQ(v[0].dataType, uint32_t{ZQ_DATA_TYPE_INTEGER});
  EXPECT_EQ(v[0].u.integerValue, 7);
  EXPECT_EQ(v[1].dataType, uint32_t{ZQ_DATA_TYPE_REAL});
  EXPECT_DOUBLE_EQ(v[1].u.realValue, 2.5);
  EXPECT_STREQ(v[2].u.charValue, "text");
  EXPECT_EQ(v[3].dataType, uint32_t{ZQ_DATA_TYPE_NULL});
  ASSERT_EQ(v[4].dataType, uint32_t{ZQ_DATA_TYPE_BYTES});
  ASSERT_EQ(v[4].u.byteListValue->count, 2u);
  EXPECT_EQ(v[4].u.byteListValue->bytes[1], 0xff);
  ASSERT_EQ(v[5].dataType, uint32_t{ZQ_DATA_TYPE_DECIMAL});  // wider than 32 bits
  EXPECT_STREQ(v[5].u.decimalValue, "5000000000");

  // The row limit: at most maxRows rows, all matches counted.
  Rows limited;
  ASSERT_EQ(ZQGetListSQL(&control_,
                         "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < "
                         "50) SELECT x FROM n",
                         10, &limited, &matches, fresh(s)),
            0)
      << messageList(s);
  EXPECT_EQ(limited.count, 10u);
  EXPECT_EQ(matches, 50u);
}

TEST_F(Administration, HostileSqlIsRefusedAndChangesNothing) {
  server_->options().sqlTimeLimitMs = 300;
  Status s;
  Rows before;
  ASSERT_EQ(ZQGetListSQL(&control_, "SELECT number, value FROM zq_settings ORDER BY number", 0,
                         &before, nullptr, fresh(s)),
            0)
      << messageList(s);
  const std::string attached = ::testing::TempDir() + "zq-attached-" + std::to_string(getpid());
  struct Case {
    std::string sql;
    int32_t message;
  } cases[] = {
      {"DELETE FROM zq_settings", zq::kMsgSqlRefused},
      {"UPDATE zq_settings SET value = 0", zq::kMsgSqlRefused},
      {"INSERT INTO zq_settings VALUES (9999, 0, 1)", zq::kMsgSqlRefused},
      {"CREATE TABLE t(x)", zq::kMsgSqlRefused},
      {"DROP TABLE zq_settings", zq::kMsgSqlRefused},
      {"ATTACH DATABASE '" + attached + "' AS other", zq::kMsgSqlRefused},
      {"PRAGMA writable_schema = 1", zq::kMsgSqlRefused},
      {"PRAGMA table_info(zq_settings)", zq::kMsgSqlRefused},
      {"SELECT 1; DELETE FROM zq_settings", zq::kMsgSqlRefused},
      {"BEGIN", zq::kMsgSqlRefused},
      {"SELECT load_extension('/tmp/x')", zq::kMsgSqlRefused},
      {"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT count(*) FROM n",
       zq::kMsgSqlLimitReached},
      {"SELECT * FROM no_such_table", zq::kMsgSqlFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sql);
    Rows rows;
    EXPECT_EQ(ZQGetListSQL(&control_, c.sql.c_str(), 0, &rows, nullptr, fresh(s)), 2);
    EXPECT_TRUE(s.has(c.message)) << messageList(s);
    EXPECT_EQ(rows.count, 0u);
  }
  EXPECT_NE(access(attached.c_str(), F_OK), 0) << "ATTACH created a file";
  Rows after;
  ASSERT_EQ(ZQGetListSQL(&control_, "SELECT number, value FROM zq_settings ORDER BY number", 0,
                         &after, nullptr, fresh(s)),
            0);
  EXPECT_EQ(after.count, before.count);

  // Writes need the option, and never touch the server's own tables.
  server_->options().allowSqlWrite = true;
  Rows rows;
  EXPECT_EQ(ZQGetListSQL(&control_, "CREATE TABLE notes(x)", 0, &rows, nullptr, fresh(s)), 0)
      << messageList(s);
  EXPECT_EQ(ZQGetListSQL(&control_, "INSERT INTO notes VALUES (1)", 0, &rows, nullptr, fresh(s)),
            0);
  EXPECT_EQ(ZQGetListSQL(&control_, "DELETE FROM zq_settings", 0, &rows, nullptr, fresh(s)), 2);
  EXPECT_TRUE(s.has(zq::kMsgSqlRefused));
}

// A long statement runs on a connection of its own: while it runs, the
// server's once-a-second work and other clients reach the store, and the
// cancel still gets through.
TEST_F(Administration, CancelEndsARunningQueryOfTheSession) {
  server_->options().sqlTimeLimitMs = 20000;
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);  // the session the query runs in
  std::atomic<bool> done{false};
  int rc = -1;
  Status queryStatus;
  const uint64_t before = received();
  const auto start = std::chrono::steady_clock::now();
  std::thread query([&] {
    Rows rows;
    rc = ZQGetListSQL(&control_,
                      "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT "
                      "count(*) FROM n",
                      0, &rows, nullptr, &queryStatus);
    done = true;
  });
  while (received() == before && !done) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  // Long enough for the server's periodic work to read the store mid-query.
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  {
    ZQControlStruct other = zqtest::makeControl("Demo", "127.0.0.1");
    Status o;
    ASSERT_LT(ZQInitialization(&other, &o), 2);
    usePort(&other);
    Settings out;
    EXPECT_EQ(serverInfo(&other, {333}, &out, o), 0) << messageList(o);
    EXPECT_FALSE(done) << "the other client was served only after the query ended";
    ZQTermination(&other, fresh(o));
  }
  for (int i = 0; i < 200 && !done; ++i) {
    Status c;
    ZQCancel(&control_, &c);
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  query.join();
  EXPECT_EQ(rc, 2);
  EXPECT_TRUE(queryStatus.has(zq::kMsgCancelled)) << messageList(queryStatus);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(12));
  // The session goes on.
  EXPECT_EQ(ping(&control_, s), 0) << messageList(s);
}

// ---- processes ----------------------------------------------------------------------------------

class Processes : public Administration {
 protected:
  void SetUp() override {
    dir_ = ::testing::TempDir() + "zq-programs-" + std::to_string(getpid());
    mkdir(dir_.c_str(), 0700);
    program("greet", "#!/bin/sh\necho \"hello $1\"\nexit 3\n");
    program("sleepy", "#!/bin/sh\nsleep 5\n");
    program("chatty",
            "#!/bin/sh\ni=0\nwhile [ $i -lt 2000 ]; do echo 0123456789; i=$((i+1)); done\n");
    Administration::SetUp();
  }
  void TearDown() override {
    Administration::TearDown();
    for (const char* p : {"greet", "sleepy", "chatty"}) unlink((dir_ + "/" + p).c_str());
    rmdir(dir_.c_str());
  }
  void program(const char* name, const char* body) {
    const std::string path = dir_ + "/" + name;
    FILE* f = fopen(path.c_str(), "w");
    fputs(body, f);
    fclose(f);
    chmod(path.c_str(), 0700);
  }
  int run(const std::string& command, int32_t& status, std::string& output, Status& s) {
    char* out = nullptr;
    const int rc = ZQExecuteProcess(&control_, command.c_str(), &status, &out, fresh(s));
    output = out ? out : "";
    ZQFree(out);
    return rc;
  }
  std::string dir_;
};

TEST_F(Processes, RunOnlyFromTheAllowedDirectoryWithoutAShell) {
  Status s;
  int32_t status = -1;
  std::string output;
  EXPECT_EQ(run("greet world", status, output, s), 2);
  EXPECT_TRUE(s.has(zq::kMsgProcessesDisabled)) << messageList(s);

  server_->options().processDirectory = dir_;
  server_->options().processTimeLimitMs = 500;
  server_->options().processOutputLimit = 1000;
  ASSERT_EQ(run("greet world", status, output, s), 0) << messageList(s);
  EXPECT_EQ(status, 3);
  EXPECT_EQ(output, "hello world\n");
  ASSERT_EQ(run(dir_ + "/greet \"two words\"", status, output, s), 0) << messageList(s);
  EXPECT_EQ(output, "hello two words\n");

  const std::string marker = dir_ + "/pwned";
  const std::string refused[] = {
      "../greet",
      "greet ../../etc/passwd",
      "greet; touch " + marker,
      "greet $(touch " + marker + ")",
      "greet `touch " + marker + "`",
      "greet | touch " + marker,
      "greet > " + marker,
      "/bin/sh -c id",
      "/usr/bin/touch " + marker,
      "greet /etc/passwd",
      "nosuchprogram",
      "",
  };
  for (const std::string& command : refused) {
    SCOPED_TRACE(command);
    EXPECT_EQ(run(command, status, output, s), 2);
    EXPECT_TRUE(s.has(zq::kMsgProcessRefused) || s.has(zq::kMsgNullArgument)) << messageList(s);
  }
  EXPECT_NE(access(marker.c_str(), F_OK), 0);

  // The time limit and the output cap.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(run("sleepy", status, output, s), 2);
  EXPECT_TRUE(s.has(zq::kMsgProcessTimeLimit)) << messageList(s);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
  run("chatty", status, output, s);
  EXPECT_LE(output.size(), 1000u);
  EXPECT_GT(output.size(), 0u);

  // Without outputs the server does not wait.
  server_->options().processTimeLimitMs = 3000;
  const auto noWait = std::chrono::steady_clock::now();
  EXPECT_EQ(ZQExecuteProcess(&control_, "sleepy", nullptr, nullptr, fresh(s)), 0) << messageList(s);
  EXPECT_LT(std::chrono::steady_clock::now() - noWait, std::chrono::seconds(2));
}

// ---- the redirect of active-link requests -------------------------------------------------------

// A second zqserverd, as a process of its own (one server per process).
class SecondServer {
 public:
  explicit SecondServer(const std::vector<std::string>& options) {
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string program = n > 0 ? std::string(self, n) : "";
    program = program.substr(0, program.rfind('/') + 1) + "zqserverd";
    std::vector<std::string> args = {program, "--port", "0"};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const int rc = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
      pid_ = -1;
      close(fds[0]);
      return;
    }
    // "listening on N" is its first line.
    FILE* out = fdopen(fds[0], "r");
    char line[128] = {};
    if (out && fgets(line, sizeof line, out)) sscanf(line, "listening on %d", &port_);
    if (out) fclose(out);
  }
  ~SecondServer() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  int port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

class Redirects : public zqtest::ServerTest {
 protected:
  void configure(zqserver::Options& o) override {
    o.workflowServer = "localhost";
    o.workflowPassword = "wf-Pass-1";
  }
  void SetUp() override {
    passwordFile_ = ::testing::TempDir() + "zq-workflow-" + std::to_string(getpid());
    FILE* f = fopen(passwordFile_.c_str(), "w");
    fputs("wf-Pass-1\n", f);
    fclose(f);
    zqtest::ServerTest::SetUp();
  }
  void TearDown() override {
    zqtest::ServerTest::TearDown();
    unlink(passwordFile_.c_str());
  }
  std::string passwordFile_;
};

TEST_F(Redirects, ActiveLinkSqlRunsOnTheServerNamedByTheRedirect) {
  const std::string dir = passwordFile_ + "-programs";
  mkdir(dir.c_str(), 0700);
  const std::string greet = dir + "/greet";
  FILE* f = fopen(greet.c_str(), "w");
  fputs("#!/bin/sh\necho \"hello $1\"\n", f);
  fclose(f);
  chmod(greet.c_str(), 0700);
  SecondServer second({"--setting", "139=second-server", "--workflow-password-file", passwordFile_,
                       "--process-dir", dir});
  ASSERT_GT(second.port(), 0);
  Status s;
  ASSERT_EQ(ZQSetServerPort(&control_, "localhost", second.port(), 0, fresh(s)), 0);
  const char* sql = "SELECT value FROM zq_settings WHERE number = 139";
  Rows rows;
  uint32_t matches = 0;
  ASSERT_LT(ZQGetListSQLForActiveLink(&control_, sql, 0, 0, 0, nullptr, nullptr, 0, &rows, &matches,
                                      nullptr, fresh(s)),
            2)
      << messageList(s);
  ASSERT_EQ(rows.count, 1u) << messageList(s);
  ASSERT_EQ(rows.items[0].count, 1u);
  EXPECT_STREQ(rows.items[0].items[0].u.charValue, "second-server");
  EXPECT_STREQ(control_.server, "127.0.0.1");  // the caller's record is left alone

  // Processes of active links are redirected the same way.
  int32_t status = -1;
  char* output = nullptr;
  ZQFieldValueList noValues{0, nullptr};
  const int processRc =
      ZQExecuteProcessForActiveLink(&control_, "greet there", 0, 0, 0, 0, nullptr, &noValues,
                                    &status, &output, nullptr, fresh(s));
  EXPECT_LT(processRc, 2) << messageList(s);
  EXPECT_STREQ(output, "hello there\n");
  ZQFree(output);
  unlink(greet.c_str());
  rmdir(dir.c_str());

  // The first server answers its own SQL itself.
  Rows own;
  ASSERT_EQ(ZQGetListSQL(&control_, sql, 0, &own, nullptr, fresh(s)), 0) << messageList(s);
  ASSERT_EQ(own.count, 1u);
  EXPECT_STREQ(own.items[0].items[0].u.charValue, "zqserverd");

  // A workflow password the second server does not know is refused there.
  server_->options().workflowPassword = "other-pass";
  Rows refused;
  EXPECT_EQ(ZQGetListSQLForActiveLink(&control_, sql, 0, 0, 0, nullptr, nullptr, 0, &refused,
                                      &matches, nullptr, fresh(s)),
            2);
  EXPECT_TRUE(s.has(zq::kMsgBadWorkflowPassword)) << messageList(s);
  EXPECT_EQ(refused.count, 0u);
}

// ---- the other server calls ---------------------------------------------------------------------

TEST_F(Administration, ApplicationsEventsAndExternalTables) {
  Status s;
  ZQNameList states{0, nullptr};
  ASSERT_EQ(ZQGetListApplicationState(&control_, &states, fresh(s)), 0) << messageList(s);
  EXPECT_EQ(states.count, 3u);
  FreeZQNameList(&states, 0);
  ASSERT_EQ(ZQSetApplicationState(&control_, "Desk", "Test", fresh(s)), 0) << messageList(s);
  ZQNameType state = "";
  ASSERT_EQ(ZQGetApplicationState(&control_, "Desk", state, fresh(s)), 0) << messageList(s);
  EXPECT_STREQ(state, "Test");
  EXPECT_EQ(ZQSetApplicationState(&control_, "Desk", "Broken", fresh(s)), 2);
  EXPECT_EQ(ZQGetApplicationState(&control_, "NoSuchApplication", state, fresh(s)), 2);

  // A cache event is seen once by each session that waits for it.
  uint32_t wanted[] = {ZQ_CACHE_EVENT_DEFINITION_CHANGE, ZQ_CACHE_EVENT_GROUP_CHANGE};
  ZQUnsignedIntList ids{2, wanted};
  ZQUnsignedIntList occurred{0, nullptr};
  uint32_t count = 9;
  ASSERT_EQ(
      ZQGetCacheEvent(&control_, &ids, ZQ_CACHE_EVENT_RETURN_NOW, &occurred, &count, fresh(s)), 0)
      << messageList(s);
  EXPECT_EQ(count, 0u);
  FreeZQUnsignedIntList(&occurred, 0);
  ZQSignalStruct signal{ZQ_SIGNAL_DEFINITIONS_CHANGED, nullptr};
  ZQSignalList signals{1, &signal};
  ASSERT_EQ(ZQSignal(&control_, &signals, fresh(s)), 0) << messageList(s);
  ASSERT_EQ(
      ZQGetCacheEvent(&control_, &ids, ZQ_CACHE_EVENT_RETURN_NOW, &occurred, &count, fresh(s)), 0);
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(occurred.items[0], uint32_t{ZQ_CACHE_EVENT_DEFINITION_CHANGE});
  FreeZQUnsignedIntList(&occurred, 0);
  ASSERT_EQ(
      ZQGetCacheEvent(&control_, &ids, ZQ_CACHE_EVENT_RETURN_NOW, &occurred, &count, fresh(s)), 0);
  EXPECT_EQ(count, 0u);
  FreeZQUnsignedIntList(&occurred, 0);

  // Tables not used by forms are candidates, their columns typed fields.
  server_->options().allowSqlWrite = true;
  Rows rows;
  ASSERT_EQ(ZQGetListSQL(&control_, "CREATE TABLE assets(tag TEXT, cost REAL, qty INTEGER)", 0,
                         &rows, nullptr, fresh(s)),
            0)
      << messageList(s);
  ZQCompoundSchemaList forms{0, nullptr};
  ASSERT_EQ(ZQGetListExtSchemaCandidates(&control_, ZQ_SCHEMA_VIEW, &forms, fresh(s)), 0)
      << messageList(s);
  ASSERT_EQ(forms.count, 1u);
  EXPECT_STREQ(forms.items[0].u.view.viewTableName, "assets");
  ZQFieldMappingList fields{0, nullptr};
  ZQFieldLimitList limits{0, nullptr};
  ZQUnsignedIntList types{0, nullptr};
  ASSERT_EQ(ZQGetMultipleExtFieldCandidates(&control_, &forms.items[0], &fields, &limits, &types,
                                            fresh(s)),
            0)
      << messageList(s);
  ASSERT_EQ(fields.count, 3u);
  EXPECT_STREQ(fields.items[1].u.view.externalFieldName, "cost");
  ASSERT_EQ(types.count, 3u);
  EXPECT_EQ(types.items[0], uint32_t{ZQ_DATA_TYPE_CHAR});
  EXPECT_EQ(types.items[1], uint32_t{ZQ_DATA_TYPE_REAL});
  EXPECT_EQ(types.items[2], uint32_t{ZQ_DATA_TYPE_INTEGER});
  FreeZQCompoundSchemaList(&forms, 0);
  FreeZQFieldMappingList(&fields, 0);
  FreeZQFieldLimitList(&limits, 0);
  FreeZQUnsignedIntList(&types, 0);
}

TEST_F(Administration, LocalizedTextsRatioSetsAndOrdinals) {
  server_->administration().setLocalizedText("Greeting", 1, "", "Hello");
  server_->administration().addRatioSet(1000, "USDEUR0.90");
  server_->administration().addRatioSet(2000, "USDEUR0.95");
  Status s;
  ZQLocalizedRequestStruct request{};
  strcpy(request.name, "Greeting");
  request.messageType = 1;
  ZQValueStruct value{};
  ASSERT_EQ(ZQGetLocalizedValue(&control_, &request, &value, nullptr, fresh(s)), 0)
      << messageList(s);
  EXPECT_STREQ(value.u.charValue, "Hello");
  FreeZQValueStruct(&value, 0);
  strcpy(request.name, "NoSuchText");
  EXPECT_EQ(ZQGetLocalizedValue(&control_, &request, &value, nullptr, fresh(s)), 2);

  ZQTimestamp times[] = {1500, 0, 500};
  ZQTimestampList at{3, times};
  ZQTextStringList sets{0, nullptr};
  ASSERT_EQ(ZQGetMultipleCurrencyRatioSets(&control_, &at, &sets, fresh(s)), 0) << messageList(s);
  ASSERT_EQ(sets.count, 3u);
  EXPECT_STREQ(sets.items[0], "USDEUR0.90");
  EXPECT_STREQ(sets.items[1], "USDEUR0.95");
  EXPECT_STREQ(sets.items[2], "");  // before the first set
  FreeZQTextStringList(&sets, 0);

  // The ordinal exports reach their procedures.
  zqserver::EntryStore store(server_->store());
  ASSERT_TRUE(store.createForm("Tickets", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"}}).ok());
  std::string id;
  ZQFieldValueStruct title = text(kTitle, "one");
  ZQFieldValueList values{1, &title};
  ASSERT_TRUE(store.create("Tickets", values, "Demo", id).ok());
  ASSERT_TRUE(store.create("Tickets", values, "Someone", id).ok());
  using Names = int (*)(ZQControlStruct*, const char*, ZQNameList*, ZQStatusList*);
  using EntryIds = int (*)(ZQControlStruct*, const char*, ZQEntryIdList*, ZQStatusList*);
  using Limit = int (*)(ZQControlStruct*, int32_t*, ZQStatusList*);
  auto names = reinterpret_cast<Names>(ZQGetOrdinal(312));
  auto allIds = reinterpret_cast<EntryIds>(ZQGetOrdinal(845));
  auto ownIds = reinterpret_cast<EntryIds>(ZQGetOrdinal(846));
  auto limit = reinterpret_cast<Limit>(ZQGetOrdinal(840));
  ASSERT_TRUE(names && allIds && ownIds && limit);
  ZQNameList fieldNames{0, nullptr};
  ASSERT_EQ(names(&control_, "Tickets", &fieldNames, fresh(s)), 0) << messageList(s);
  bool hasTitle = false;
  for (uint32_t i = 0; i < fieldNames.count; ++i)
    hasTitle |= strcmp(fieldNames.items[i], "Title") == 0;
  EXPECT_TRUE(hasTitle);
  FreeZQNameList(&fieldNames, 0);
  ZQEntryIdList ids{0, nullptr};
  ASSERT_EQ(allIds(&control_, "Tickets", &ids, fresh(s)), 0) << messageList(s);
  EXPECT_EQ(ids.count, 2u);
  FreeZQEntryIdList(&ids, 0);
  ASSERT_EQ(ownIds(&control_, "Tickets", &ids, fresh(s)), 0) << messageList(s);
  EXPECT_EQ(ids.count, 1u);
  FreeZQEntryIdList(&ids, 0);
  int32_t entryLimit = -1;
  ASSERT_EQ(limit(&control_, &entryLimit, fresh(s)), 0) << messageList(s);
  EXPECT_EQ(entryLimit, 0);
}

class ElevenServer : public zqtest::ServerTest {
 protected:
  void configure(zqserver::Options& o) override { o.maxVersion = 11; }
};

TEST_F(ElevenServer, ImpersonationNeedsProtocolTwelve) {
  Status s;
  EXPECT_EQ(ZQSetImpersonatedUser(&control_, "Joe", fresh(s)), 2);
  EXPECT_TRUE(s.has(zq::kMsgOperationUnsupported)) << messageList(s);
  EXPECT_EQ(ping(&control_, s), 0);
}

// ---- how list requests carry a password
// -----------------------------------------------------------

struct PasswordForm {
  int protocol;
  const char* serverVersion;
  bool groupProtected;
};

class ListPasswords : public zqtest::ServerTest,
                      public ::testing::WithParamInterface<PasswordForm> {
 protected:
  void configure(zqserver::Options& o) override {
    o.maxVersion = GetParam().protocol;
    o.settings[4] = std::string(GetParam().serverVersion);
  }
};

// Groups: never protected up to protocol 7, from 10 always, and in between
// only by servers from a version and patch on; roles always protected.
TEST_P(ListPasswords, ProtectedAsTheServerReadsThem) {
  Status s;
  ZQGroupInfoList groups{0, nullptr};
  ZQGetListGroup(&control_, "Demo", "pw", &groups, fresh(s));
  FreeZQGroupInfoList(&groups, 0);
  EXPECT_EQ(server_->faults().lastListPasswordForm.load(), GetParam().groupProtected ? 2 : 1)
      << messageList(s);
  // A password-bearing setting reaches the server in the form of its
  // protocol (scrambled before 10, enciphered after) and is kept as a hash.
  ZQServerInfoStruct setting = textSetting(152, "mail.example.org: Set-pw-9");
  ZQServerInfoList list{1, &setting};
  EXPECT_EQ(ZQSetServerInfo(&control_, &list, fresh(s)), 0) << messageList(s);
  FreeZQValueStruct(&setting.value, 0);
  std::string stored;
  {
    zqserver::SqlStatement q(server_->store().db(),
                             "SELECT value FROM zq_settings WHERE number = 152");
    ASSERT_TRUE(q && q.step() == SQLITE_ROW);
    stored = q.text(0);
  }
  const std::string prefix = "mail.example.org: ";
  ASSERT_EQ(stored.compare(0, prefix.size(), prefix), 0) << stored;
  EXPECT_TRUE(zqserver::verifyPassword("Set-pw-9", stored.substr(prefix.size()))) << stored;
  if (GetParam().protocol < 10) return;  // roles came with protocol 10
  server_->faults().lastListPasswordForm = 0;
  ZQRoleInfoList roles{0, nullptr};
  ZQGetListRole(&control_, "Desk", "Demo", "pw", &roles, fresh(s));
  FreeZQRoleInfoList(&roles, 0);
  EXPECT_EQ(server_->faults().lastListPasswordForm.load(), 2) << messageList(s);
}

INSTANTIATE_TEST_SUITE_P(Versions, ListPasswords,
                         ::testing::Values(PasswordForm{7, "7.5.00 Patch 004", false},
                                           PasswordForm{8, "5.0.01 Patch 1190", true},
                                           PasswordForm{8, "5.0.01 Patch 1189", false},
                                           PasswordForm{8, "5.0.00 Patch 2000", false},
                                           PasswordForm{9, "5.1.00 Patch 1191", true},
                                           PasswordForm{9, "5.1.00 Patch 1190", false},
                                           PasswordForm{9, "6.0", true},
                                           PasswordForm{10, "4.0.00", true},
                                           PasswordForm{14, "7.5.00", true}));
