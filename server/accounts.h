// zqserverd's users, groups and roles, the authentication of calls and the
// permissions of groups on forms and fields.
//
// SCHEMA (created on first use; every table lives in Store::db())
//   zq_users(name TEXT PRIMARY KEY COLLATE NOCASE, password_hash TEXT NOT NULL,
//            email TEXT, notify INTEGER, full_name TEXT, locale TEXT, license TEXT,
//            license_tag INTEGER, license_type INTEGER, license_current INTEGER,
//            created INTEGER, changed INTEGER)
//     password_hash is a salted PBKDF2-HMAC-SHA256 hash (password_hash.h);
//     no password is ever kept in clear.
//   zq_groups(group_id INTEGER PRIMARY KEY, name TEXT UNIQUE NOT NULL COLLATE NOCASE,
//             long_name TEXT, type INTEGER, description TEXT, category INTEGER,
//             flags INTEGER, changed INTEGER)
//   zq_user_groups(user TEXT COLLATE NOCASE, group_id INTEGER, PRIMARY KEY(user, group_id))
//   zq_roles(application TEXT COLLATE NOCASE, role_id INTEGER, name TEXT, type INTEGER,
//            group_id INTEGER, PRIMARY KEY(application, role_id))
//   zq_form_permissions(form TEXT COLLATE NOCASE, group_id INTEGER, access INTEGER,
//                       PRIMARY KEY(form, group_id))
//   zq_field_permissions(form TEXT COLLATE NOCASE, field_id INTEGER, group_id INTEGER,
//                        access INTEGER, PRIMARY KEY(form, field_id, group_id))
//
// RULES
//   - A store without users is open: every call runs with every right (a
//     demo server; the server says so when it starts).
//   - With users, every call names a user and its password; group 1
//     (Administrator) may do everything, group 2 is the sub-administrators,
//     group 3 may customize; group 0 (Public) holds every user.
//   - A form without permissions is open to every user; with permissions a
//     user sees it through a group with view (1) or change (2). A field
//     without permissions takes the form's; with permissions the user's
//     groups decide whether it is hidden, read-only or changeable.
//   - The definition store records permissions through setFormPermissions
//     and setFieldPermissions when forms and fields are created or changed,
//     and forgetForm when a form goes.
//
// Threads: every method may be called from any thread.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "zqapi/zq_admin.h"

namespace zqserver {

struct Store;

enum class Access : uint8_t { none = 0, view = 1, change = 2 };

inline constexpr ZQInternalId kGroupPublic = 0;
inline constexpr ZQInternalId kGroupAdministrator = 1;
inline constexpr ZQInternalId kGroupSubAdministrator = 2;
inline constexpr ZQInternalId kGroupCustomize = 3;

// The user the private-context calls bind as: it may only ask for the
// settings a client needs on first contact.
inline constexpr const char* kAccessUser = "AccessUser";

// Who a call runs as.
struct Principal {
  std::string user;      // the user whose rights apply (the impersonated one, if any)
  std::string realUser;  // the user who authenticated
  bool open = true;      // a store without users: every right
  bool administrator = true;
  bool accessUser = false;  // the private contexts' first contact
  std::vector<ZQInternalId> groups;
  bool member(ZQInternalId group) const;
};

struct UserAccount {
  std::string name;
  std::string email;
  std::string fullName;
  std::string locale;
  std::string license;
  uint32_t notifyMechanism = 0;
  ZQUserLicenseStruct licenseWords{};
  std::vector<ZQInternalId> groups;
  ZQTimestamp created = 0;
  ZQTimestamp changed = 0;
};

struct GroupAccount {
  ZQInternalId id = 0;
  std::string name;
  std::string longName;
  std::string description;
  uint32_t type = ZQ_GROUP_TYPE_VIEW;
  uint32_t category = 0;
  uint32_t flags = 0;
};

struct RoleAccount {
  std::string application;
  ZQInternalId id = 0;
  std::string name;
  uint32_t type = 0;
  ZQInternalId group = 0;  // the group whose members hold the role
};

class Accounts {
 public:
  explicit Accounts(Store& store);
  Accounts(const Accounts&) = delete;
  Accounts& operator=(const Accounts&) = delete;

  // Creates the tables and the built-in groups, reads the accounts. False
  // with a reason on failure.
  bool open(std::string& error);
  // Reads the accounts again (after changes made behind the server's back).
  bool reload();
  bool hasUsers() const;

  // 0 with who filled, or the message to report (623).
  int32_t authenticate(const std::string& user, const std::string& password, Principal& who);
  // Makes who run as another user: administrators only (627 otherwise, and
  // for a user that does not exist).
  int32_t impersonate(Principal& who, const std::string& user) const;

  // ---- administration: 0 or the message ----------------------------------------------
  // The first user of an empty store is made an administrator.
  int32_t createUser(const UserAccount& user, const std::string& password);
  int32_t deleteUser(const std::string& name);
  int32_t setPassword(const std::string& name, const std::string& password);
  // A group id of 0 takes the next free one.
  int32_t createGroup(const GroupAccount& group);
  int32_t deleteGroup(const std::string& name);
  int32_t setRole(const RoleAccount& role);

  std::vector<UserAccount> users() const;
  std::optional<UserAccount> user(const std::string& name) const;
  std::vector<GroupAccount> groups() const;
  std::vector<GroupAccount> groupsOf(const std::string& user) const;
  std::vector<RoleAccount> rolesOf(const std::string& application, const std::string& user) const;

  // ---- permissions ------------------------------------------------------------------
  Access formAccess(const Principal& who, const std::string& form) const;
  Access fieldAccess(const Principal& who, const std::string& form, ZQInternalId field) const;
  // Hooks of the definition store: a list replaces the previous one; an
  // empty list makes the form or field open again.
  bool setFormPermissions(const std::string& form, const ZQPermissionList& permissions);
  bool setFieldPermissions(const std::string& form, ZQInternalId field,
                           const ZQPermissionList& permissions);
  void forgetForm(const std::string& form);
  void forgetAllForms();
  // True when some field of the form has a permission list of its own.
  bool hasFieldPermissions(const std::string& form) const;

  // When users and groups last changed.
  ZQTimestamp usersChanged() const;
  ZQTimestamp groupsChanged() const;

 private:
  struct Cached {
    std::string hash;
    std::string token;  // keyed digest of the password last verified
    std::vector<ZQInternalId> groups;
  };
  bool load();
  std::vector<ZQInternalId> groupIdsOf(const std::string& user) const;
  static std::string key(const std::string& name);
  Access accessOf(const Principal& who, const std::map<ZQInternalId, uint32_t>& list) const;

  Store& store_;
  mutable std::mutex mutex_;
  std::map<std::string, Cached> users_;  // by lower-case name
  std::map<std::string, std::map<ZQInternalId, uint32_t>> formPermissions_;
  std::map<std::string, std::map<ZQInternalId, std::map<ZQInternalId, uint32_t>>> fieldPermissions_;
  ZQTimestamp usersChanged_ = 0;
  ZQTimestamp groupsChanged_ = 0;
};

}  // namespace zqserver
