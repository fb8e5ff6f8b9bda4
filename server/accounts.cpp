#include "accounts.h"

#include <algorithm>
#include <cctype>
#include <ctime>

#include "frame/message_numbers.h"
#include "password_hash.h"
#include "sqlite_statement.h"
#include "store.h"

namespace zqserver {
namespace {

constexpr const char* kAccountsSchema =
    "CREATE TABLE IF NOT EXISTS zq_users(name TEXT PRIMARY KEY COLLATE NOCASE,"
    " password_hash TEXT NOT NULL, email TEXT, notify INTEGER, full_name TEXT, locale TEXT,"
    " license TEXT, license_tag INTEGER, license_type INTEGER, license_current INTEGER,"
    " created INTEGER, changed INTEGER);"
    "CREATE TABLE IF NOT EXISTS zq_groups(group_id INTEGER PRIMARY KEY,"
    " name TEXT UNIQUE NOT NULL COLLATE NOCASE, long_name TEXT, type INTEGER,"
    " description TEXT, category INTEGER, flags INTEGER, changed INTEGER);"
    "CREATE TABLE IF NOT EXISTS zq_user_groups(user TEXT COLLATE NOCASE, group_id INTEGER,"
    " PRIMARY KEY(user, group_id));"
    "CREATE TABLE IF NOT EXISTS zq_roles(application TEXT COLLATE NOCASE, role_id INTEGER,"
    " name TEXT, type INTEGER, group_id INTEGER, PRIMARY KEY(application, role_id));"
    "CREATE TABLE IF NOT EXISTS zq_form_permissions(form TEXT COLLATE NOCASE,"
    " group_id INTEGER, access INTEGER, PRIMARY KEY(form, group_id));"
    "CREATE TABLE IF NOT EXISTS zq_field_permissions(form TEXT COLLATE NOCASE,"
    " field_id INTEGER, group_id INTEGER, access INTEGER,"
    " PRIMARY KEY(form, field_id, group_id));"
    "INSERT OR IGNORE INTO zq_groups(group_id, name, long_name, type, changed) VALUES"
    " (0, 'Public', 'Every user', 1, 0),"
    " (1, 'Administrator', 'Administrators', 2, 0),"
    " (2, 'Sub Administrator', 'Sub-administrators', 2, 0),"
    " (3, 'Customize', 'Users who may customize', 2, 0);";

// A user is never a member of group 0 in the table: every user is.
bool builtIn(ZQInternalId group) {
  return group <= kGroupCustomize;
}

Access accessOfValue(uint32_t value) {
  return value >= ZQ_PERMISSIONS_CHANGE ? Access::change
         : value == ZQ_PERMISSIONS_VIEW ? Access::view
                                        : Access::none;
}

}  // namespace

bool Principal::member(ZQInternalId group) const {
  return group == kGroupPublic || std::find(groups.begin(), groups.end(), group) != groups.end();
}

Accounts::Accounts(Store& store) : store_(store) {}

std::string Accounts::key(const std::string& name) {
  std::string k = name;
  for (char& c : k) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return k;
}

bool Accounts::open(std::string& error) {
  if (!store_.exec(kAccountsSchema)) {
    error = store_.error();
    return false;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  if (!load()) {
    error = sqlite3_errmsg(store_.db());
    return false;
  }
  return true;
}

bool Accounts::reload() {
  std::lock_guard<std::mutex> lock(mutex_);
  return load();
}

bool Accounts::load() {
  sqlite3* db = store_.db();
  std::map<std::string, Cached> users;
  SqlStatement u(db, "SELECT name, password_hash FROM zq_users");
  if (!u) return false;
  while (u.step() == SQLITE_ROW) users[key(u.text(0))].hash = u.text(1);
  SqlStatement g(db, "SELECT user, group_id FROM zq_user_groups");
  if (!g) return false;
  while (g.step() == SQLITE_ROW) {
    auto it = users.find(key(g.text(0)));
    if (it != users.end()) it->second.groups.push_back(static_cast<ZQInternalId>(g.integer(1)));
  }
  std::map<std::string, std::map<ZQInternalId, uint32_t>> forms;
  SqlStatement f(db, "SELECT form, group_id, access FROM zq_form_permissions");
  if (!f) return false;
  while (f.step() == SQLITE_ROW)
    forms[key(f.text(0))][static_cast<ZQInternalId>(f.integer(1))] =
        static_cast<uint32_t>(f.integer(2));
  std::map<std::string, std::map<ZQInternalId, std::map<ZQInternalId, uint32_t>>> fields;
  SqlStatement d(db, "SELECT form, field_id, group_id, access FROM zq_field_permissions");
  if (!d) return false;
  while (d.step() == SQLITE_ROW)
    fields[key(d.text(0))][static_cast<ZQInternalId>(d.integer(1))]
          [static_cast<ZQInternalId>(d.integer(2))] = static_cast<uint32_t>(d.integer(3));
  SqlStatement t(
      db, "SELECT (SELECT max(changed) FROM zq_users), (SELECT max(changed) FROM zq_groups)");
  if (t && t.step() == SQLITE_ROW) {
    usersChanged_ = static_cast<ZQTimestamp>(t.integer(0));
    groupsChanged_ = static_cast<ZQTimestamp>(t.integer(1));
  }
  users_ = std::move(users);
  formPermissions_ = std::move(forms);
  fieldPermissions_ = std::move(fields);
  return true;
}

bool Accounts::hasUsers() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return !users_.empty();
}

int32_t Accounts::authenticate(const std::string& user, const std::string& password,
                               Principal& who) {
  who = Principal{};
  std::unique_lock<std::mutex> lock(mutex_);
  if (users_.empty()) {
    who.user = who.realUser = user;
    return 0;
  }
  who.open = false;
  who.administrator = false;
  auto it = users_.find(key(user));
  if (it == users_.end()) {
    // As slow as a wrong password, so that the time taken does not tell
    // which user names exist.
    lock.unlock();
    static const std::string dummy = hashPassword("no such user");
    verifyPassword(password, dummy);
    return zq::kMsgAuthenticationFailed;
  }
  const std::string token = passwordToken(password);
  if (token.empty() || token != it->second.token) {
    // The slow check, once per password: later calls compare the token.
    const std::string hash = it->second.hash;
    lock.unlock();
    const bool ok = verifyPassword(password, hash);
    lock.lock();
    it = users_.find(key(user));
    if (!ok || it == users_.end() || it->second.hash != hash) return zq::kMsgAuthenticationFailed;
    it->second.token = token;
  }
  who.user = who.realUser = user;
  who.groups = it->second.groups;
  who.administrator = who.member(kGroupAdministrator);
  return 0;
}

int32_t Accounts::impersonate(Principal& who, const std::string& user) const {
  if (!who.administrator) return zq::kMsgImpersonationRefused;
  std::lock_guard<std::mutex> lock(mutex_);
  if (who.open) {
    who.user = user;
    return 0;
  }
  auto it = users_.find(key(user));
  if (it == users_.end()) return zq::kMsgImpersonationRefused;
  who.user = user;
  who.groups = it->second.groups;
  who.administrator = who.member(kGroupAdministrator);
  return 0;
}

int32_t Accounts::createUser(const UserAccount& user, const std::string& password) {
  if (user.name.empty()) return zq::kMsgUserRequired;
  const std::string hash = hashPassword(password);
  if (hash.empty()) return zq::kMsgStoreFailure;
  std::lock_guard<std::mutex> lock(mutex_);
  if (users_.count(key(user.name))) return zq::kMsgUserExists;
  std::vector<ZQInternalId> groups;
  for (ZQInternalId g : user.groups)
    if (g != kGroupPublic && std::find(groups.begin(), groups.end(), g) == groups.end())
      groups.push_back(g);
  // Somebody has to administer a server that leaves the open mode.
  if (users_.empty() &&
      std::find(groups.begin(), groups.end(), kGroupAdministrator) == groups.end())
    groups.push_back(kGroupAdministrator);
  sqlite3* db = store_.db();
  for (ZQInternalId g : groups) {
    SqlStatement q(db, "SELECT 1 FROM zq_groups WHERE group_id = ?");
    if (!q || q.bind(1, g).step() != SQLITE_ROW) return zq::kMsgNoSuchGroup;
  }
  const ZQTimestamp t = now();
  if (!store_.exec("SAVEPOINT zq_accounts")) return zq::kMsgStoreFailure;
  SqlStatement insert(
      db,
      "INSERT INTO zq_users(name, password_hash, email, notify, full_name, locale, license,"
      " license_tag, license_type, license_current, created, changed)"
      " VALUES(?,?,?,?,?,?,?,?,?,?,?,?)");
  bool ok = insert && insert.bind(1, user.name)
                          .bind(2, hash)
                          .bind(3, user.email)
                          .bind(4, user.notifyMechanism)
                          .bind(5, user.fullName)
                          .bind(6, user.locale)
                          .bind(7, user.license)
                          .bind(8, user.licenseWords.licenseTag)
                          .bind(9, user.licenseWords.licenseType)
                          .bind(10, user.licenseWords.currentLicenseType)
                          .bind(11, t)
                          .bind(12, t)
                          .run();
  for (ZQInternalId g : groups) {
    SqlStatement member(db, "INSERT INTO zq_user_groups(user, group_id) VALUES(?,?)");
    ok = ok && member && member.bind(1, user.name).bind(2, g).run();
  }
  if (!ok) {
    store_.exec("ROLLBACK TO zq_accounts; RELEASE zq_accounts");
    return zq::kMsgStoreFailure;
  }
  store_.exec("RELEASE zq_accounts");
  Cached& c = users_[key(user.name)];
  c.hash = hash;
  c.groups = groups;
  usersChanged_ = t;
  return 0;
}

int32_t Accounts::deleteUser(const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!users_.count(key(name))) return zq::kMsgNoSuchUser;
  sqlite3* db = store_.db();
  SqlStatement a(db, "DELETE FROM zq_users WHERE name = ?");
  SqlStatement b(db, "DELETE FROM zq_user_groups WHERE user = ?");
  if (!a || !b || !a.bind(1, name).run() || !b.bind(1, name).run()) return zq::kMsgStoreFailure;
  users_.erase(key(name));
  usersChanged_ = now();
  return 0;
}

int32_t Accounts::setPassword(const std::string& name, const std::string& password) {
  const std::string hash = hashPassword(password);
  if (hash.empty()) return zq::kMsgStoreFailure;
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = users_.find(key(name));
  if (it == users_.end()) return zq::kMsgNoSuchUser;
  SqlStatement q(store_.db(), "UPDATE zq_users SET password_hash = ?, changed = ? WHERE name = ?");
  if (!q || !q.bind(1, hash).bind(2, now()).bind(3, name).run()) return zq::kMsgStoreFailure;
  it->second.hash = hash;
  it->second.token.clear();
  usersChanged_ = now();
  return 0;
}

int32_t Accounts::createGroup(const GroupAccount& group) {
  if (group.name.empty()) return zq::kMsgNoSuchGroup;
  std::lock_guard<std::mutex> lock(mutex_);
  sqlite3* db = store_.db();
  SqlStatement taken(db, "SELECT 1 FROM zq_groups WHERE name = ? OR group_id = ?");
  if (!taken) return zq::kMsgStoreFailure;
  if (taken.bind(1, group.name).bind(2, group.id ? int64_t{group.id} : -1).step() == SQLITE_ROW)
    return zq::kMsgGroupExists;
  ZQInternalId id = group.id;
  if (id == 0) {
    SqlStatement next(db, "SELECT max(group_id) + 1 FROM zq_groups");
    id = next && next.step() == SQLITE_ROW ? static_cast<ZQInternalId>(next.integer(0)) : 0;
    id = std::max<ZQInternalId>(id, 100);  // leave room for built-in groups
  }
  const ZQTimestamp t = now();
  SqlStatement q(db,
                 "INSERT INTO zq_groups(group_id, name, long_name, type, description, category,"
                 " flags, changed) VALUES(?,?,?,?,?,?,?,?)");
  if (!q || !q.bind(1, id)
                 .bind(2, group.name)
                 .bind(3, group.longName)
                 .bind(4, group.type)
                 .bind(5, group.description)
                 .bind(6, group.category)
                 .bind(7, group.flags)
                 .bind(8, t)
                 .run())
    return zq::kMsgStoreFailure;
  groupsChanged_ = t;
  return 0;
}

int32_t Accounts::deleteGroup(const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  sqlite3* db = store_.db();
  SqlStatement find(db, "SELECT group_id FROM zq_groups WHERE name = ?");
  if (!find || find.bind(1, name).step() != SQLITE_ROW) return zq::kMsgNoSuchGroup;
  const ZQInternalId id = static_cast<ZQInternalId>(find.integer(0));
  if (builtIn(id)) return zq::kMsgAdministratorRequired;  // built-in groups stay
  SqlStatement a(db, "DELETE FROM zq_groups WHERE group_id = ?");
  SqlStatement b(db, "DELETE FROM zq_user_groups WHERE group_id = ?");
  if (!a || !b || !a.bind(1, id).run() || !b.bind(1, id).run()) return zq::kMsgStoreFailure;
  for (auto& [name_, cached] : users_)
    cached.groups.erase(std::remove(cached.groups.begin(), cached.groups.end(), id),
                        cached.groups.end());
  groupsChanged_ = now();
  return 0;
}

int32_t Accounts::setRole(const RoleAccount& role) {
  std::lock_guard<std::mutex> lock(mutex_);
  SqlStatement q(store_.db(),
                 "INSERT OR REPLACE INTO zq_roles(application, role_id, name, type, group_id)"
                 " VALUES(?,?,?,?,?)");
  if (!q || !q.bind(1, role.application)
                 .bind(2, role.id)
                 .bind(3, role.name)
                 .bind(4, role.type)
                 .bind(5, role.group)
                 .run())
    return zq::kMsgStoreFailure;
  return 0;
}

std::vector<UserAccount> Accounts::users() const {
  std::vector<UserAccount> out;
  std::lock_guard<std::mutex> lock(mutex_);
  SqlStatement q(store_.db(),
                 "SELECT name, email, notify, full_name, locale, license, license_tag,"
                 " license_type, license_current, created, changed FROM zq_users ORDER BY name");
  while (q && q.step() == SQLITE_ROW) {
    UserAccount u;
    u.name = q.text(0);
    u.email = q.text(1);
    u.notifyMechanism = static_cast<uint32_t>(q.integer(2));
    u.fullName = q.text(3);
    u.locale = q.text(4);
    u.license = q.text(5);
    u.licenseWords = {static_cast<uint32_t>(q.integer(6)), static_cast<uint32_t>(q.integer(7)),
                      static_cast<uint32_t>(q.integer(8))};
    u.created = static_cast<ZQTimestamp>(q.integer(9));
    u.changed = static_cast<ZQTimestamp>(q.integer(10));
    auto it = users_.find(key(u.name));
    if (it != users_.end()) u.groups = it->second.groups;
    out.push_back(std::move(u));
  }
  return out;
}

std::optional<UserAccount> Accounts::user(const std::string& name) const {
  for (UserAccount& u : users())
    if (key(u.name) == key(name)) return std::move(u);
  return std::nullopt;
}

std::vector<GroupAccount> Accounts::groups() const {
  std::vector<GroupAccount> out;
  std::lock_guard<std::mutex> lock(mutex_);
  SqlStatement q(store_.db(),
                 "SELECT group_id, name, long_name, type, description, category, flags"
                 " FROM zq_groups ORDER BY group_id");
  while (q && q.step() == SQLITE_ROW) {
    GroupAccount g;
    g.id = static_cast<ZQInternalId>(q.integer(0));
    g.name = q.text(1);
    g.longName = q.text(2);
    g.type = static_cast<uint32_t>(q.integer(3));
    g.description = q.text(4);
    g.category = static_cast<uint32_t>(q.integer(5));
    g.flags = static_cast<uint32_t>(q.integer(6));
    out.push_back(std::move(g));
  }
  return out;
}

std::vector<ZQInternalId> Accounts::groupIdsOf(const std::string& user) const {
  auto it = users_.find(key(user));
  std::vector<ZQInternalId> ids{kGroupPublic};
  if (it != users_.end()) ids.insert(ids.end(), it->second.groups.begin(), it->second.groups.end());
  return ids;
}

std::vector<GroupAccount> Accounts::groupsOf(const std::string& user) const {
  std::vector<ZQInternalId> ids;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ids = groupIdsOf(user);
  }
  std::vector<GroupAccount> out;
  for (GroupAccount& g : groups())
    if (std::find(ids.begin(), ids.end(), g.id) != ids.end()) out.push_back(std::move(g));
  return out;
}

std::vector<RoleAccount> Accounts::rolesOf(const std::string& application,
                                           const std::string& user) const {
  std::vector<RoleAccount> out;
  std::lock_guard<std::mutex> lock(mutex_);
  const std::vector<ZQInternalId> ids = groupIdsOf(user);
  SqlStatement q(store_.db(),
                 "SELECT application, role_id, name, type, group_id FROM zq_roles"
                 " WHERE application = ? OR ? = '' ORDER BY application, role_id");
  if (!q) return out;
  q.bind(1, application).bind(2, application);
  while (q.step() == SQLITE_ROW) {
    RoleAccount r{q.text(0), static_cast<ZQInternalId>(q.integer(1)), q.text(2),
                  static_cast<uint32_t>(q.integer(3)), static_cast<ZQInternalId>(q.integer(4))};
    if (user.empty() || std::find(ids.begin(), ids.end(), r.group) != ids.end())
      out.push_back(std::move(r));
  }
  return out;
}

Access Accounts::accessOf(const Principal& who,
                          const std::map<ZQInternalId, uint32_t>& list) const {
  Access best = Access::none;
  for (const auto& [group, value] : list)
    if (who.member(group)) best = std::max(best, accessOfValue(value));
  return best;
}

Access Accounts::formAccess(const Principal& who, const std::string& form) const {
  if (who.open || who.administrator) return Access::change;
  if (who.accessUser) return Access::none;
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = formPermissions_.find(key(form));
  if (it == formPermissions_.end() || it->second.empty()) return Access::change;
  return accessOf(who, it->second);
}

Access Accounts::fieldAccess(const Principal& who, const std::string& form,
                             ZQInternalId field) const {
  const Access onForm = formAccess(who, form);
  if (onForm == Access::none || who.open || who.administrator) return onForm;
  std::lock_guard<std::mutex> lock(mutex_);
  auto f = fieldPermissions_.find(key(form));
  if (f == fieldPermissions_.end()) return onForm;
  auto it = f->second.find(field);
  if (it == f->second.end() || it->second.empty()) return onForm;
  return std::min(onForm, accessOf(who, it->second));
}

bool Accounts::setFormPermissions(const std::string& form, const ZQPermissionList& permissions) {
  std::lock_guard<std::mutex> lock(mutex_);
  sqlite3* db = store_.db();
  SqlStatement clear(db, "DELETE FROM zq_form_permissions WHERE form = ?");
  if (!clear || !clear.bind(1, form).run()) return false;
  std::map<ZQInternalId, uint32_t>& list = formPermissions_[key(form)];
  list.clear();
  for (uint32_t i = 0; i < permissions.count && permissions.items; ++i) {
    const ZQPermissionStruct& p = permissions.items[i];
    SqlStatement q(db, "INSERT OR REPLACE INTO zq_form_permissions VALUES(?,?,?)");
    if (!q || !q.bind(1, form).bind(2, p.groupId).bind(3, p.permissions).run()) return false;
    list[p.groupId] = p.permissions;
  }
  return true;
}

bool Accounts::hasFieldPermissions(const std::string& form) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto f = fieldPermissions_.find(key(form));
  if (f == fieldPermissions_.end()) return false;
  for (const auto& [field, list] : f->second)
    if (!list.empty()) return true;
  return false;
}

bool Accounts::setFieldPermissions(const std::string& form, ZQInternalId field,
                                   const ZQPermissionList& permissions) {
  std::lock_guard<std::mutex> lock(mutex_);
  sqlite3* db = store_.db();
  SqlStatement clear(db, "DELETE FROM zq_field_permissions WHERE form = ? AND field_id = ?");
  if (!clear || !clear.bind(1, form).bind(2, field).run()) return false;
  std::map<ZQInternalId, uint32_t>& list = fieldPermissions_[key(form)][field];
  list.clear();
  for (uint32_t i = 0; i < permissions.count && permissions.items; ++i) {
    const ZQPermissionStruct& p = permissions.items[i];
    SqlStatement q(db, "INSERT OR REPLACE INTO zq_field_permissions VALUES(?,?,?,?)");
    if (!q || !q.bind(1, form).bind(2, field).bind(3, p.groupId).bind(4, p.permissions).run())
      return false;
    list[p.groupId] = p.permissions;
  }
  return true;
}

void Accounts::forgetForm(const std::string& form) {
  std::lock_guard<std::mutex> lock(mutex_);
  sqlite3* db = store_.db();
  SqlStatement a(db, "DELETE FROM zq_form_permissions WHERE form = ?");
  SqlStatement b(db, "DELETE FROM zq_field_permissions WHERE form = ?");
  if (a) a.bind(1, form).run();
  if (b) b.bind(1, form).run();
  formPermissions_.erase(key(form));
  fieldPermissions_.erase(key(form));
}

void Accounts::forgetAllForms() {
  std::lock_guard<std::mutex> lock(mutex_);
  store_.exec("DELETE FROM zq_form_permissions; DELETE FROM zq_field_permissions;");
  formPermissions_.clear();
  fieldPermissions_.clear();
}

ZQTimestamp Accounts::usersChanged() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return usersChanged_;
}

ZQTimestamp Accounts::groupsChanged() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return groupsChanged_;
}

}  // namespace zqserver
