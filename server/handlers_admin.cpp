// Handlers of the administration procedures: settings (44), statistics
// (57), full text (53, 54), the caller's rights (32), users, groups and
// roles (33, 46, 126, and 90 to 93 on the private contexts), localized texts
// (99, 114), currency ratio sets (123), applications (127 to 129), entry
// points (125), change times (163), the form cache check (94) and cache
// events (182).
#include <openssl/crypto.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "access.h"
#include "accounts.h"
#include "administration.h"
#include "calls/admin.h"
#include "call_status.h"
#include "dispatch.h"
#include "entry_store.h"
#include "form_cache_view.h"
#include "frame/alloc.h"
#include "frame/message_numbers.h"
#include "security/key_material.h"
#include "server.h"
#include "sessions.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_security.h"

namespace zqserver {
namespace {

using namespace zq::transport;

constexpr size_t kProtectedPasswordLength = 120;

// Allocates count items for a reply list; false (with 154 added) without memory.
template <class T>
bool allocate(Call& call, uint32_t& count, T*& items, size_t n) {
  count = 0;
  items = nullptr;
  if (n == 0) return true;
  items = static_cast<T*>(ZQCalloc(n, sizeof(T)));
  if (items) return true;
  addError(call, zq::kMsgNoMemory);
  return false;
}

bool copyText(char*& out, const std::string& text) {
  out = zq::dupString(text.c_str());
  return out != nullptr;
}

// A password a client sent with a user or role request: the cipher text of
// the library's key when it is one, else as it came.
std::string recoverPassword(const char* sent, bool& wasProtected) {
  std::string text = textOf(sent);
  wasProtected = false;
  if (text.size() != kProtectedPasswordLength) return text;
  char work[ZQ_PROTECTED_PASSWORD_SIZE + 8] = {};
  memcpy(work, text.data(), text.size());
  wasProtected = DecryptPasswordEx(zq::security::keys::kPasswordKeys[0], work) == 0;
  std::string plain = wasProtected ? work : text;
  explicit_bzero(work, sizeof work);
  std::fill(text.begin(), text.end(), '\0');
  return plain;
}

// Checks a user's password given with a request; false with 623 added.
bool passwordMatches(Call& call, const std::string& user, const char* sent) {
  bool wasProtected = false;
  std::string plain = recoverPassword(sent, wasProtected);
  call.server.faults().lastListPasswordForm = wasProtected ? 2 : 1;
  Principal who;
  const int32_t message = call.server.accounts().authenticate(user, plain, who);
  std::fill(plain.begin(), plain.end(), '\0');
  if (message == 0) return true;
  call.server.administration().count(kStatFailedLogins);
  addError(call, message, user);
  return false;
}

bool selfOrAdministrator(Call& call, const std::string& user) {
  if (user.empty() || strcasecmp(user.c_str(), call.principal.realUser.c_str()) == 0 ||
      strcasecmp(user.c_str(), call.principal.user.c_str()) == 0)
    return true;
  return requireAdministrator(call);
}

// ---- settings, statistics, full text -----------------------------------------------------

void setServerInfo(Request<proc::SetServerInfo>& call) {
  if (!requireAdministrator(call)) return;
  const ZQServerInfoList& settings = call.args().settings;
  Administration& admin = call.server.administration();
  for (uint32_t i = 0; i < settings.count && settings.items; ++i) {
    const ZQServerInfoStruct& item = settings.items[i];
    int32_t message = zq::calls::settingChangeRefusal(item);
    if (!message) message = admin.setSetting(item, call.version);
    if (message) ZQAddStatusNumber(call.status, ZQ_MESSAGE_ERROR, message, item.operation);
  }
}

void getServerStatistics(Request<proc::GetServerStatistics>& call) {
  const ZQServerInfoRequestList& request = call.args().settings;
  ZQServerInfoList& out = call.reply().settings;
  if (!allocate(call, out.count, out.items, request.items ? request.count : 0)) return;
  const size_t users = call.server.accounts().users().size();
  const size_t open = call.server.sessions().count();
  for (uint32_t i = 0; i < request.count && request.items; ++i) {
    out.items[i].operation = request.items[i];
    call.server.administration().statistic(request.items[i], open, users, out.items[i].value);
    out.count = i + 1;
  }
}

void getFullTextInfo(Request<proc::GetFullTextInfo>& call) {
  const ZQFullTextInfoRequestList& request = call.args().request;
  ZQFullTextInfoList& out = call.reply().settings;
  if (!allocate(call, out.count, out.items, request.items ? request.count : 0)) return;
  for (uint32_t i = 0; i < request.count && request.items; ++i) {
    if (!call.server.administration().fullText(request.items[i], out.items[out.count])) {
      FreeZQFullTextInfoList(&out, 0);
      out = ZQFullTextInfoList{0, nullptr};
      return addError(call, zq::kMsgBadFullTextSetting, std::to_string(request.items[i]));
    }
    ++out.count;
  }
}

void setFullTextInfo(Request<proc::SetFullTextInfo>& call) {
  if (!requireAdministrator(call)) return;
  const ZQFullTextInfoList& settings = call.args().settings;
  for (uint32_t i = 0; i < settings.count && settings.items; ++i)
    if (int32_t message = call.server.administration().setFullText(settings.items[i]))
      ZQAddStatusNumber(call.status, ZQ_MESSAGE_ERROR, message, settings.items[i].infoType);
}

// ---- users, groups, roles ------------------------------------------------------------------

void verifyUser(Request<proc::VerifyUser>& call) {
  const Principal& who = call.principal;
  auto& reply = call.reply();
  reply.administrator = who.administrator ? 1 : 0;
  reply.subAdministrator = who.open || who.member(kGroupSubAdministrator) ? 1 : 0;
  reply.customize = who.open || who.administrator || who.member(kGroupCustomize) ? 1 : 0;
}

void getListUser(Request<proc::GetListUser>& call) {
  const auto& args = call.args();
  std::vector<UserAccount> users = call.server.accounts().users();
  std::vector<UserAccount> chosen;
  for (UserAccount& u : users) {
    bool take = false;
    switch (args.listType) {
      case ZQ_USER_LIST_MYSELF:
        take = strcasecmp(u.name.c_str(), call.principal.user.c_str()) == 0;
        break;
      case ZQ_USER_LIST_REGISTERED:
        take = true;
        break;
      case ZQ_USER_LIST_CURRENT:
        take = call.server.sessions().openFor(u.name);
        break;
      case ZQ_USER_LIST_CHANGED:
        take = u.changed >= args.changedSince;
        break;
      default:
        break;
    }
    if (take) chosen.push_back(std::move(u));
  }
  ZQUserInfoList& out = call.reply().users;
  if (!allocate(call, out.count, out.items, chosen.size())) return;
  for (const UserAccount& u : chosen) {
    ZQUserInfoStruct& item = out.items[out.count];
    zq::copyName(item.userName, u.name.c_str(), sizeof item.userName);
    item.connectTime = u.created;
    item.lastAccess = u.changed;
    item.defaultNotifyMechanism = u.notifyMechanism;
    if (!copyText(item.emailAddress, u.email)) return addError(call, zq::kMsgNoMemory);
    item.licenses.items =
        static_cast<ZQUserLicenseStruct*>(ZQCalloc(1, sizeof(ZQUserLicenseStruct)));
    if (!item.licenses.items) return addError(call, zq::kMsgNoMemory);
    item.licenses.items[0] = u.licenseWords;
    item.licenses.count = 1;
    ++out.count;
  }
}

void getListGroup(Request<proc::GetListGroup>& call) {
  const auto& args = call.args();
  const std::string user = textOf(args.user);
  if (!selfOrAdministrator(call, user)) return;
  if (args.password && args.password[0] && !passwordMatches(call, user, args.password)) return;
  Accounts& accounts = call.server.accounts();
  std::vector<GroupAccount> groups = user.empty() ? accounts.groups() : accounts.groupsOf(user);
  ZQGroupInfoList& out = call.reply().groups;
  if (!allocate(call, out.count, out.items, groups.size())) return;
  for (const GroupAccount& g : groups) {
    ZQGroupInfoStruct& item = out.items[out.count];
    item.groupId = g.id;
    item.groupType = g.type;
    item.groupExtra = g.category;
    item.groupNames.items = static_cast<ZQAccessNameType*>(ZQCalloc(1, sizeof(ZQAccessNameType)));
    if (!item.groupNames.items) return addError(call, zq::kMsgNoMemory);
    zq::copyName(item.groupNames.items[0], g.name.c_str(), sizeof(ZQAccessNameType));
    item.groupNames.count = 1;
    ++out.count;
  }
}

void getListRole(Request<proc::GetListRole>& call) {
  const auto& args = call.args();
  const std::string user = textOf(args.user);
  if (!selfOrAdministrator(call, user)) return;
  if (args.password && args.password[0] && !passwordMatches(call, user, args.password)) return;
  std::vector<RoleAccount> roles = call.server.accounts().rolesOf(textOf(args.application), user);
  ZQRoleInfoList& out = call.reply().roles;
  if (!allocate(call, out.count, out.items, roles.size())) return;
  for (const RoleAccount& r : roles) {
    ZQRoleInfoStruct& item = out.items[out.count++];
    item.roleId = r.id;
    zq::copyName(item.roleName, r.name.c_str(), sizeof item.roleName);
    item.roleType = r.type;
  }
}

// The private-context calls carry no credentials: a store with users asks
// for the server's access key instead.
bool accessKeyAccepted(Call& call, const char* key) {
  if (!call.server.accounts().hasUsers()) return true;
  const std::string& expected = call.server.options().accessKey;
  const std::string given = textOf(key);
  if (!expected.empty() && given.size() == expected.size() &&
      CRYPTO_memcmp(given.data(), expected.data(), given.size()) == 0)
    return true;
  addError(call, zq::kMsgAccessKeyRefused);
  return false;
}

void createUser(Request<proc::CreateUser>& call) {
  const auto& args = call.args();
  if (!accessKeyAccepted(call, args.accessKey)) return;
  UserAccount user;
  user.name = textOf(args.user);
  user.email = textOf(args.emailAddress);
  user.fullName = textOf(args.fullName);
  user.locale = textOf(args.defaultLocale);
  user.notifyMechanism = args.notifyMechanism;
  user.licenseWords = args.license;
  for (uint32_t i = 0; i < args.groupIds.count && args.groupIds.items; ++i)
    user.groups.push_back(args.groupIds.items[i]);
  std::string password = textOf(args.password);
  const int32_t message = call.server.accounts().createUser(user, password);
  std::fill(password.begin(), password.end(), '\0');
  if (message) return addError(call, message, user.name);
  call.server.administration().noteChange(kKindUser, ChangeEvent::created);
}

void deleteUser(Request<proc::DeleteUser>& call) {
  const auto& args = call.args();
  if (!accessKeyAccepted(call, args.accessKey)) return;
  if (int32_t message = call.server.accounts().deleteUser(textOf(args.name)))
    return addError(call, message, textOf(args.name));
  call.server.sessions().endUser(textOf(args.name));
  call.server.administration().noteChange(kKindUser, ChangeEvent::deleted);
}

void createGroup(Request<proc::CreateGroup>& call) {
  const auto& args = call.args();
  if (!accessKeyAccepted(call, args.accessKey)) return;
  GroupAccount group;
  group.id = args.groupId;
  group.name = textOf(args.groupName);
  group.longName.assign(args.longName, strnlen(args.longName, sizeof args.longName));
  group.type = args.groupType;
  group.description = textOf(args.description);
  group.category = args.category;
  group.flags = args.flags;
  if (int32_t message = call.server.accounts().createGroup(group))
    return addError(call, message, group.name);
  call.server.administration().noteChange(kKindGroup, ChangeEvent::created);
}

void deleteGroup(Request<proc::DeleteGroup>& call) {
  const auto& args = call.args();
  if (!accessKeyAccepted(call, args.accessKey)) return;
  if (int32_t message = call.server.accounts().deleteGroup(textOf(args.name)))
    return addError(call, message, textOf(args.name));
  call.server.administration().noteChange(kKindGroup, ChangeEvent::deleted);
}

// ---- localized texts and currency ratios ------------------------------------------------------

constexpr uint32_t kWantValue = 1;
constexpr uint32_t kWantTimestamp = 2;

std::string localeOf(const RequestHeader& h) {
  return textOf(h.localeBlock[0]);
}

void getLocalizedValue(Request<proc::GetLocalizedValue>& call) {
  const auto& args = call.args();
  auto& reply = call.reply();
  std::string text;
  ZQTimestamp changed = 0;
  if (int32_t message = call.server.administration().localizedText(
          args.request, localeOf(args.header), text, changed))
    return addError(call, message);
  if (args.wanted & kWantValue) {
    reply.value.dataType = ZQ_DATA_TYPE_CHAR;
    if (!copyText(reply.value.u.charValue, text)) {
      reply.value = ZQValueStruct{};
      return addError(call, zq::kMsgNoMemory);
    }
  }
  if (args.wanted & kWantTimestamp) reply.timestamp = changed;
}

void getMultipleLocalizedValues(Request<proc::GetMultipleLocalizedValues>& call) {
  const auto& args = call.args();
  auto& reply = call.reply();
  const uint32_t n = args.requests.items ? args.requests.count : 0;
  if (args.wanted & kWantValue && !allocate(call, reply.values.count, reply.values.items, n))
    return;
  if (args.wanted & kWantTimestamp &&
      !allocate(call, reply.timestamps.count, reply.timestamps.items, n))
    return;
  for (uint32_t i = 0; i < n; ++i) {
    std::string text;
    ZQTimestamp changed = 0;
    // A request without a text answers the null value.
    const bool found = call.server.administration().localizedText(
                           args.requests.items[i], localeOf(args.header), text, changed) == 0;
    if (args.wanted & kWantValue) {
      ZQValueStruct& v = reply.values.items[i];
      if (found) {
        v.dataType = ZQ_DATA_TYPE_CHAR;
        if (!copyText(v.u.charValue, text)) {
          v = ZQValueStruct{};
          return addError(call, zq::kMsgNoMemory);
        }
      }
      reply.values.count = i + 1;
    }
    if (args.wanted & kWantTimestamp) {
      reply.timestamps.items[i] = changed;
      reply.timestamps.count = i + 1;
    }
  }
}

void getMultipleCurrencyRatioSets(Request<proc::GetMultipleCurrencyRatioSets>& call) {
  const ZQTimestampList& times = call.args().ratioTimes;
  ZQTextStringList& out = call.reply().ratioSets;
  const uint32_t n = times.items && times.count ? times.count : 1;  // none asked: the current set
  if (!allocate(call, out.count, out.items, n)) return;
  for (uint32_t i = 0; i < n; ++i) {
    const ZQTimestamp at = times.items && times.count ? times.items[i] : 0;
    if (!copyText(out.items[i], call.server.administration().ratioSet(at)))
      return addError(call, zq::kMsgNoMemory);
    out.count = i + 1;
  }
}

// ---- applications and entry points -------------------------------------------------------------

void getListApplicationState(Request<proc::GetListApplicationState>& call) {
  const auto& names = Administration::stateNames();
  ZQNameList& out = call.reply().states;
  if (!allocate(call, out.count, out.items, names.size())) return;
  for (const std::string& n : names)
    zq::copyName(out.items[out.count++], n.c_str(), sizeof(ZQNameType));
}

void getApplicationState(Request<proc::GetApplicationState>& call) {
  std::string state;
  const std::string application = textOf(call.args().name);
  if (int32_t message = call.server.administration().applicationState(application, state))
    return addError(call, message, application);
  if (!copyText(call.reply().state, state)) addError(call, zq::kMsgNoMemory);
}

void setApplicationState(Request<proc::SetApplicationState>& call) {
  if (!requireAdministrator(call)) return;
  const std::string application = textOf(call.args().application);
  if (int32_t message =
          call.server.administration().setApplicationState(application, textOf(call.args().state)))
    return addError(call, message, textOf(call.args().state));
  call.server.administration().raise(ZQ_CACHE_EVENT_DEFINITION_CHANGE);
}

// Every form the caller may see is an entry point of type 1 (open a form);
// forms belong to no application.
void getMultipleEntryPoints(Request<proc::GetMultipleEntryPoints>& call) {
  const auto& args = call.args();
  auto& r = call.reply();
  if (args.applications.count) return;  // no application has entry points
  std::vector<std::string> forms;
  {
    EntryStore store(call.server.store());
    for (const std::string& f : store.formNames())
      if (call.server.accounts().formAccess(call.principal, f) != Access::none) forms.push_back(f);
  }
  const ZQTimestamp changed = call.server.administration().lastChange(kKindForm);
  if (changed < args.changedSince) return;
  const size_t n = forms.size();
  if (!allocate(call, r.names.count, r.names.items, n) ||
      !allocate(call, r.types.count, r.types.items, n) ||
      !allocate(call, r.displayLabels.count, r.displayLabels.items, n) ||
      !allocate(call, r.ownerApplications.count, r.ownerApplications.items, n) ||
      !allocate(call, r.ownerApplicationLabels.count, r.ownerApplicationLabels.items, n) ||
      !allocate(call, r.permissions.count, r.permissions.items, n) ||
      !allocate(call, r.ownerObjects.count, r.ownerObjects.items, n) ||
      !allocate(call, r.descriptions.count, r.descriptions.items, n) ||
      !allocate(call, r.references.count, r.references.items, n) ||
      !allocate(call, r.helpTexts.count, r.helpTexts.items, n) ||
      !allocate(call, r.timestamps.count, r.timestamps.items, n) ||
      !allocate(call, r.properties.count, r.properties.items, n))
    return;
  for (size_t i = 0; i < n; ++i) {
    zq::copyName(r.names.items[i], forms[i].c_str(), sizeof(ZQNameType));
    r.types.items[i] = 1;
    if (!copyText(r.displayLabels.items[i], forms[i]) ||
        !copyText(r.ownerApplicationLabels.items[i], "") ||
        !copyText(r.descriptions.items[i], "") || !copyText(r.helpTexts.items[i], ""))
      return addError(call, zq::kMsgNoMemory);
    r.timestamps.items[i] = changed;
    const uint32_t count = static_cast<uint32_t>(i + 1);
    r.names.count = r.types.count = r.displayLabels.count = r.ownerApplications.count = count;
    r.ownerApplicationLabels.count = r.permissions.count = r.ownerObjects.count = count;
    r.descriptions.count = r.references.count = r.helpTexts.count = count;
    r.timestamps.count = r.properties.count = count;
  }
}

// ---- change times, the form cache, cache events
// --------------------------------------------------

void getObjectChangeTimes(Request<proc::GetObjectChangeTimes>& call) {
  const std::vector<ZQObjectChangeTimesStruct> times = call.server.administration().changeTimes();
  ZQObjectChangeTimesList& out = call.reply().times;
  if (!allocate(call, out.count, out.items, times.size())) return;
  std::copy(times.begin(), times.end(), out.items);
  out.count = static_cast<uint32_t>(times.size());
}

void fillNames(Call& call, ZQNameList& out, const std::vector<std::string>& names) {
  if (!allocate(call, out.count, out.items, names.size())) return;
  for (size_t i = 0; i < names.size(); ++i)
    zq::copyName(out.items[i], names[i].c_str(), sizeof(ZQNameType));
  out.count = static_cast<uint32_t>(names.size());
}

void validateFormCache(Request<proc::ValidateFormCache>& call) {
  const std::string form = textOf(call.args().form);
  {
    EntryStore store(call.server.store());
    if (!store.form(form)) return addError(call, zq::kMsgNoSuchForm, form);
  }
  if (!mayRead(call, form)) return;
  auto& reply = call.reply();
  Administration& admin = call.server.administration();
  reply.formLastChanged = admin.lastChange(kKindForm);
  reply.groupsLastChanged =
      std::max(call.server.accounts().groupsChanged(), admin.lastChange(kKindGroup));
  reply.usersLastChanged =
      std::max(call.server.accounts().usersChanged(), admin.lastChange(kKindUser));
  const FormCacheView view = formCacheView(call.server.store(), form, call.args());
  reply.activeLinkCount = view.activeLinks;
  reply.changedActiveLinkCount = view.changedActiveLinks;
  fillNames(call, reply.changedMenus, view.changedMenus);
  fillNames(call, reply.changedGuides, view.changedGuides);
}

void getCacheEvent(Request<proc::GetCacheEvent>& call) {
  const auto& args = call.args();
  std::vector<uint32_t> ids;
  for (uint32_t i = 0; i < args.eventIds.count && args.eventIds.items; ++i)
    ids.push_back(args.eventIds.items[i]);
  const int32_t session = call.reply().header.cacheId;
  const std::vector<uint32_t> occurred = call.server.administration().awaitEvents(
      session, ids, args.returnOption != ZQ_CACHE_EVENT_RETURN_NOW);
  ZQUnsignedIntList& out = call.reply().events;
  if (!allocate(call, out.count, out.items, occurred.size())) return;
  std::copy(occurred.begin(), occurred.end(), out.items);
  out.count = static_cast<uint32_t>(occurred.size());
  call.reply().count = out.count;
}

}  // namespace

void serveAdministration(Handlers& h) {
  h.serve<proc::SetServerInfo, setServerInfo>();
  h.serve<proc::GetServerStatistics, getServerStatistics>();
  h.serve<proc::GetFullTextInfo, getFullTextInfo>();
  h.serve<proc::SetFullTextInfo, setFullTextInfo>();
  h.serve<proc::VerifyUser, verifyUser>();
  h.serve<proc::GetListUser, getListUser>();
  h.serve<proc::GetListGroup, getListGroup>();
  h.serve<proc::GetListRole, getListRole>();
  h.serve<proc::CreateUser, createUser>();
  h.serve<proc::DeleteUser, deleteUser>();
  h.serve<proc::CreateGroup, createGroup>();
  h.serve<proc::DeleteGroup, deleteGroup>();
  h.serve<proc::GetLocalizedValue, getLocalizedValue>();
  h.serve<proc::GetMultipleLocalizedValues, getMultipleLocalizedValues>();
  h.serve<proc::GetMultipleCurrencyRatioSets, getMultipleCurrencyRatioSets>();
  h.serve<proc::GetListApplicationState, getListApplicationState>();
  h.serve<proc::GetApplicationState, getApplicationState>();
  h.serve<proc::SetApplicationState, setApplicationState>();
  h.serve<proc::GetMultipleEntryPoints, getMultipleEntryPoints>();
  h.serve<proc::GetObjectChangeTimes, getObjectChangeTimes>();
  h.serve<proc::ValidateFormCache, validateFormCache>();
  h.serve<proc::GetCacheEvent, getCacheEvent>();
}

}  // namespace zqserver
