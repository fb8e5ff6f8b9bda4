// User and group administration on a context of its own: ZQCreateUser (90),
// ZQDeleteUser (91), ZQCreateGroup (92) and ZQDeleteGroup (93). These
// requests carry no request header; the client host name comes first.
#include <cstring>
#include <string>

#include "call/call.h"
#include "frame/frame.h"
#include "platform/platform.h"
#include "zqapi/zq_admin.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_server.h"

namespace zq::calls {
namespace {

namespace proc = transport::proc;

constexpr const char* kAccessUser = "AccessUser";
constexpr size_t kMaxAccessKey = 16;
constexpr size_t kMaxName = 255;
constexpr size_t kMaxPassword = 31;

// A string argument longer than the wire takes fails before anything starts.
bool tooLong(const char* text, size_t max, const char* what, ZQStatusList* status) {
  if (!text || strlen(text) <= max) return false;
  addError(status, kMsgTooLong, what);
  return true;
}

// Moves the messages of a failed step into the caller's list.
int takeMessages(ZQStatusList* own, ZQStatusList* status) {
  ZQMergeStatusLists(own, status, status);
  FreeZQStatusList(own, 0);
  return returnCode(status);
}

// One request on a private context: initialized, bound to the server as the
// access user, the procedure run, then terminated. fill(args, clientHost)
// fills the arguments behind the host name.
template <class P, class Fill>
int runPrivate(const char* server, int32_t port, ZQStatusList* status, Fill&& fill) {
  ZQControlStruct priv;
  memset(&priv, 0, sizeof priv);
  ZQStatusList own{0, nullptr};
  int rc = ZQInitialization(&priv, &own);
  if (rc >= ZQ_RETURN_ERROR) return takeMessages(&own, status);
  FreeZQStatusList(&own, 0);

  copyName(priv.server, server, sizeof priv.server);
  if (port != 0) {
    rc = ZQSetServerPort(&priv, priv.server, port, 0, &own);
    if (rc >= ZQ_RETURN_ERROR) {
      rc = takeMessages(&own, status);
      ZQTermination(&priv, &own);
      FreeZQStatusList(&own, 0);
      return rc;
    }
    FreeZQStatusList(&own, 0);
  }
  copyName(priv.user, kAccessUser, sizeof priv.user);
  rc = call::bind(&priv, kQueueFast, nullptr, true, &own);
  memset(priv.user, 0, sizeof priv.user);
  if (rc >= ZQ_RETURN_ERROR) {
    rc = takeMessages(&own, status);
  } else {
    FreeZQStatusList(&own, 0);
    std::string host = priv.context->clientHostIdentity[0] ? priv.context->clientHostIdentity
                                                           : platform::localHostName();
    typename P::Args args{};
    args.clientHost = host.data();
    fill(args);
    const call::Send send{&priv, P::row(), kQueueFast, priv.context->settings.timeoutNormal};
    rc = call::sendBound(send, &args, status) ? returnCode(status) : ZQ_RETURN_ERROR;
  }
  ZQTermination(&priv, &own);  // its own messages are not the caller's
  FreeZQStatusList(&own, 0);
  return rc;
}

// The checks every one of these calls starts with.
bool refusedStart(const char* server, const char* accessKey, ZQStatusList* status) {
  if (!server || !server[0]) {
    addError(status, kMsgServerRequired);
    return true;
  }
  return tooLong(server, ZQ_MAX_SERVER_SIZE, "server", status) ||
         tooLong(accessKey, kMaxAccessKey, "accessKey", status);
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQCreateUser(const char* server, int32_t port, const char* accessKey, const char* userName,
                 const char* password, const char* emailAddress, uint32_t notifyMechanism,
                 const ZQInternalIdList* groupIds, const ZQUserLicenseStruct* license,
                 const char* fullName, const char* defaultLocale, ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  clearStatus(status);
  if (refusedStart(server, accessKey, status) || tooLong(userName, kMaxName, "userName", status) ||
      tooLong(password, kMaxPassword, "password", status))
    return returnCode(status);
  if (groupIds && groupIds->count && !groupIds->items)
    return addError(status, kMsgCountWithoutItems);
  return runPrivate<proc::CreateUser>(server, port, status, [&](auto& args) {
    args.accessKey = orEmpty(accessKey);
    args.user = orEmpty(userName);
    args.password = orEmpty(password);
    args.emailAddress = orEmpty(emailAddress);
    args.notifyMechanism = notifyMechanism;
    if (groupIds) args.groupIds = *groupIds;
    if (license) args.license = *license;
    args.fullName = orEmpty(fullName);
    args.defaultLocale = orEmpty(defaultLocale);
  });
}

int ZQDeleteUser(const char* server, int32_t port, const char* accessKey, const char* userName,
                 ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  clearStatus(status);
  if (refusedStart(server, accessKey, status) || tooLong(userName, kMaxName, "userName", status))
    return returnCode(status);
  return runPrivate<proc::DeleteUser>(server, port, status, [&](auto& args) {
    args.accessKey = orEmpty(accessKey);
    args.name = orEmpty(userName);
  });
}

int ZQCreateGroup(const char* server, int32_t port, const char* accessKey, const char* groupName,
                  const char* longName, ZQInternalId groupId, uint32_t groupType,
                  const char* description, uint32_t category, uint32_t flags,
                  ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  clearStatus(status);
  if (refusedStart(server, accessKey, status) ||
      tooLong(groupName, kMaxName, "groupName", status) ||
      tooLong(longName, ZQ_MAX_NAME_SIZE, "longName", status))
    return returnCode(status);
  return runPrivate<proc::CreateGroup>(server, port, status, [&](auto& args) {
    args.accessKey = orEmpty(accessKey);
    args.groupName = orEmpty(groupName);
    copyName(args.longName, longName, sizeof args.longName);
    args.groupId = groupId;
    args.groupType = groupType;
    args.description = orEmpty(description);
    args.category = category;
    args.flags = flags;
  });
}

int ZQDeleteGroup(const char* server, int32_t port, const char* accessKey, const char* groupName,
                  ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  clearStatus(status);
  if (refusedStart(server, accessKey, status) || tooLong(groupName, kMaxName, "groupName", status))
    return returnCode(status);
  return runPrivate<proc::DeleteGroup>(server, port, status, [&](auto& args) {
    args.accessKey = orEmpty(accessKey);
    args.name = orEmpty(groupName);
  });
}

}  // extern "C"
